#include "app/ProfileApplier.h"

#include "app/MainController.h"
#include "platform/AppError.h"
#include "platform/FileOps.h"
#include "platform/Int16.h"

namespace {

// Lines holding a check state (0 or 1).
bool isCheckLine(int number) {
    switch (number) {
        case 2:
        case 3:
        case 8:
        case 9:
        case 11:
        case 19:
        case 23:
        case 24:
            return true;
        default:
            return false;
    }
}

bool checkState(const QString& value) {
    const qint16 state = Int16::fromText(value);
    if (state != 0 && state != 1)
        throw AppError(AppError::InvalidCall, value);
    return state == 1;
}

quint32 colourNumber(const QString& value) {
    bool ok = false;
    const qlonglong number = value.trimmed().toLongLong(&ok);
    if (!ok)
        throw AppError(AppError::TypeMismatch, value);
    if (number < -2147483648LL || number > 2147483647LL)
        throw AppError(AppError::Overflow, value);
    return static_cast<quint32>(number);
}

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
    LoadingFlag flag(m_controller.window());
    for (int i = 0; i < values.size(); ++i)
        applyLine(i + 1, values[i]);
}

void ProfileApplier::applyLine(int number, const QString& value) {
    if (number == 1)
        applyModeLine(value);
    else if (isCheckLine(number))
        applyCheckLine(number, checkState(value));
    else if (number == 4)
        m_controller.selectSkin(Int16::fromText(value));
    else if (number == 5)
        m_controller.selectPlayerSize(Int16::fromText(value));
    else if (number == 6)
        m_controller.setPlayerColorNumber(colourNumber(value));
    else
        applyTextLine(number, value);
}

void ProfileApplier::applyModeLine(const QString& value) {
    MainWindowModel& window = m_controller.window();
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

void ProfileApplier::applyCheckLine(int number, bool on) {
    MainWindowModel& window = m_controller.window();
    switch (number) {
        case 2:
            window.setIsLive(on);
            break;
        case 3:
            window.setHtml5(on);
            break;
        case 8:
            window.setAutoPlay(on);
            break;
        case 9:
            window.setAutoProgress(on);
            break;
        case 11:
            window.setShowBigPlayButton(on);
            break;
        case 19:
            window.setEncrypt(on);
            break;
        case 23:
            window.setShowEmbedCode(on);
            break;
        case 24:
            window.setSocialShare(on);
            break;
        default:
            break;
    }
}

void ProfileApplier::applyTextLine(int number, const QString& value) {
    MainWindowModel& window = m_controller.window();
    ProjectSettings& s = window.settings();
    switch (number) {
        case 7:
            m_controller.setPlayerColorText(value);
            break;
        case 10:
            window.setAudioLevel(value);
            break;
        case 12:
            s.IntroImageName = value;
            break;
        case 13:
            s.IntroImagePath = value;
            break;
        case 14:
            s.OutroImageName = value;
            break;
        case 15:
            s.OutroImagePath = value;
            break;
        case 16:
            window.setServerPath(value);
            break;
        case 17:
            window.setVideoPath(value);
            break;
        case 18:  // a folder text ends in its separator, also in a profile written by hand
            window.setOutDir(FileOps::withTrailingSeparator(value));
            break;
        case 20:
            window.setRedirectURL(value);
            break;
        case 21:
            window.setAffiliateLink(value);
            break;
        case 22:
            window.setActionCode(value);
            break;
        case 25:
            s.ShareTitle = value;
            break;
        case 26:
            s.ShareURL = value;
            break;
        default:
            break;  // lines after the last known one are read and ignored
    }
}
