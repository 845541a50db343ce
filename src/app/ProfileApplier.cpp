#include "app/ProfileApplier.h"

#include "app/MainController.h"
#include "platform/FileOps.h"
#include "settings/ProfileLayout.h"

namespace {

using S = ProjectSettings;

// A setting whose control reacts to a change: its value goes through the control's handler,
// exactly as if the user had made the change. Every other setting is stored as it stands.
template <typename T>
struct Handler {
    T S::*field;
    void (*set)(MainController&, const T&);
};

const Handler<bool> kCheckHandlers[] = {
    {&S::IsLive, [](MainController& c, const bool& on) { c.window().setIsLive(on); }},
    {&S::Html5, [](MainController& c, const bool& on) { c.window().setHtml5(on); }},
    {&S::AutoPlay, [](MainController& c, const bool& on) { c.window().setAutoPlay(on); }},
    {&S::SocialShare, [](MainController& c, const bool& on) { c.window().setSocialShare(on); }},
};

const Handler<int> kIndexHandlers[] = {
    {&S::PlayerStyle, [](MainController& c, const int& index) { c.selectSkin(index); }},
    {&S::PlayerSize, [](MainController& c, const int& index) { c.selectPlayerSize(index); }},
};

const Handler<QString> kTextHandlers[] = {
    {&S::PlayerColor, [](MainController& c, const QString& t) { c.setPlayerColorText(t); }},
    {&S::ServerPath, [](MainController& c, const QString& t) { c.window().setServerPath(t); }},
    {&S::VideoPath, [](MainController& c, const QString& t) { c.window().setVideoPath(t); }},
    // A folder text ends in its separator, also in a profile written by hand.
    {&S::OutDir, [](MainController& c,
                    const QString& t) { c.window().setOutDir(FileOps::withTrailingSeparator(t)); }},
    {&S::RedirectURL, [](MainController& c, const QString& t) { c.window().setRedirectURL(t); }},
    {&S::AffiliateLink,
     [](MainController& c, const QString& t) { c.window().setAffiliateLink(t); }},
};

template <typename T, std::size_t N>
void store(MainController& controller, const Handler<T> (&handlers)[N], T S::*field,
           const T& value) {
    for (const Handler<T>& handler : handlers) {
        if (handler.field == field) {
            handler.set(controller, value);
            return;
        }
    }
    controller.window().settings().*field = value;
}

void applyMode(MainWindowModel& window, const QString& value) {
    if (value.left(3) == QLatin1String("SIN"))
        window.selectSingle();
    else if (value.left(3) == QLatin1String("MUL"))
        window.selectMultiple();
    const QString digit = value.right(1);
    if (digit == QLatin1String("1"))
        window.selectStreamingMode(StreamingMode::Normal);
    else if (digit == QLatin1String("2"))
        window.selectStreamingMode(StreamingMode::Rtmp);
    else if (digit == QLatin1String("3"))
        window.selectStreamingMode(StreamingMode::Pseudo);
}

// Converts the stored text as its field's type and stores it.
struct Apply {
    MainController& c;
    const QString& value;

    void operator()(std::monostate) const { applyMode(c.window(), value); }
    void operator()(bool S::*field) const {
        store(c, kCheckHandlers, field, ProfileLayout::checkState(value));
    }
    void operator()(int S::*field) const {
        store(c, kIndexHandlers, field, int(ProfileLayout::index(value)));
    }
    void operator()(quint32 S::*field) const {
        c.window().settings().*field = ProfileLayout::colourNumber(value);
    }
    void operator()(QString S::*field) const { store(c, kTextHandlers, field, value); }
};

// Clears the loading flag however the load ends.
class LoadingFlag {
  public:
    explicit LoadingFlag(MainWindowModel& window) : m_window(window) {
        m_window.setLoadingProfile(true);
    }
    ~LoadingFlag() { m_window.setLoadingProfile(false); }
    LoadingFlag(const LoadingFlag&) = delete;
    LoadingFlag& operator=(const LoadingFlag&) = delete;

  private:
    MainWindowModel& m_window;
};

}  // namespace

void ProfileApplier::apply(const QStringList& values) {
    QMap<int, QString> lines;
    for (int i = 0; i < values.size(); ++i)
        lines.insert(i + 1, values[i]);
    apply(lines);
}

void ProfileApplier::apply(const QMap<int, QString>& lines) {
    LoadingFlag flag(m_controller.window());
    for (auto it = lines.cbegin(); it != lines.cend(); ++it) {
        // Lines after the last known one are read and ignored.
        if (const ProfileSetting* setting = ProfileLayout::atLine(it.key()))
            std::visit(Apply{m_controller, it.value()}, setting->field);
    }
}
