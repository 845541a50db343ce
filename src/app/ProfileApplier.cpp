#include "app/ProfileApplier.h"

#include "app/MainController.h"
#include "platform/FileOps.h"
#include "settings/ProfileLayout.h"

namespace {

using S = ProjectSettings;

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

// Converts the stored text as its field's type and hands it to the window as its control's
// change.
struct Apply {
    MainWindowModel& window;
    const QString& value;

    void operator()(std::monostate) const { applyMode(window, value); }
    void operator()(bool S::*field) const {
        window.change(field, ProfileLayout::checkState(value));
    }
    void operator()(int S::*field) const { window.change(field, int(ProfileLayout::index(value))); }
    void operator()(quint32 S::*field) const {
        window.change(field, ProfileLayout::colourNumber(value));
    }
    // A folder text ends in its separator, also in a profile written by hand.
    void operator()(QString S::*field) const {
        window.change(field, field == &S::OutDir ? FileOps::withTrailingSeparator(value) : value);
    }
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
            std::visit(Apply{m_controller.window(), it.value()}, setting->field);
    }
}
