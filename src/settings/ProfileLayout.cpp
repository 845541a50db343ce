#include "settings/ProfileLayout.h"

#include <QRegularExpression>

#include "platform/AppError.h"
#include "platform/Int16.h"

namespace {

using K = ProfileSetting::Kind;
using S = ProjectSettings;

// Line n of a profile holds row n; the labels follow the controls' captions. A row ends with the
// main window's control that shows it, except the mode line (the radio buttons and the streaming
// menu together), the tint's number (the swatch its text paints) and the social dialog's two.
const ProfileSetting kSettings[] = {
    {1, "StreamingMode", "single or playlist and streaming mode", K::Mode, {}},
    {2, "IsLive", "Live Video Setup", K::Check, &S::IsLive, "chkIsLive"},
    {3, "Html5", "HTML5 Support", K::Check, &S::Html5, "chkHtml5"},
    {4, "PlayerStyle", "player style", K::Index, &S::PlayerStyle, "cmbPlayerStyle"},
    {5, "PlayerSize", "player size", K::Index, &S::PlayerSize, "cmbPlayerSize"},
    {6, "PlayerColorNumber", "player tint colour", K::ColourNumber, &S::PlayerColorNumber},
    {7, "PlayerColor", "player tint", K::Text, &S::PlayerColor, "txtPlayerColor"},
    {8, "AutoPlay", "Auto Start Video", K::Check, &S::AutoPlay, "chkAutoPlay"},
    {9, "AutoProgress", "Auto Progress for Multiple Videos", K::Check, &S::AutoProgress,
     "chkAutoProgress"},
    {10, "AudioLevel", "Initialize Audio at", K::Text, &S::AudioLevel, "txtAudioLevel"},
    {11, "ShowBigPlayButton", "Big Play Button on Video Player", K::Check, &S::ShowBigPlayButton,
     "chkShowBigPlayButton"},
    {12, "IntroImageName", "intro image name", K::FileName, &S::IntroImageName,
     "lblIntroImageName"},
    {13, "IntroImagePath", "intro image path", K::Text, &S::IntroImagePath, "lblIntroImagePath"},
    {14, "OutroImageName", "outro image name", K::FileName, &S::OutroImageName,
     "lblOutroImageName"},
    {15, "OutroImagePath", "outro image path", K::Text, &S::OutroImagePath, "lblOutroImagePath"},
    {16, "ServerPath", "HTML Files Path", K::Text, &S::ServerPath, "txtServerPath"},
    {17, "VideoPath", "Video File(s) Path", K::Text, &S::VideoPath, "txtVideoPath"},
    {18, "OutDir", "Output Folder", K::Text, &S::OutDir, "lblOutDir"},
    {19, "Encrypt", "Encrypt HTML", K::Check, &S::Encrypt, "chkEncrypt"},
    {20, "RedirectURL", "Video On End URL", K::Text, &S::RedirectURL, "txtRedirectURL"},
    {21, "AffiliateLink", "Video On Click URL", K::Text, &S::AffiliateLink, "txtAffiliateLink"},
    {22, "ActionCode", "Video On End HTML code", K::MultiLineText, &S::ActionCode, "txtActionCode"},
    {23, "ShowEmbedCode", "Allow Video to be Embedded", K::Check, &S::ShowEmbedCode,
     "chkShowEmbedCode"},
    {24, "SocialShare", "Share Video", K::Check, &S::SocialShare, "chkSocialShare"},
    {25, "ShareTitle", "Title of Content", K::Text, &S::ShareTitle},
    {26, "ShareURL", "Web Link", K::Text, &S::ShareURL},
    // Lines added later. A video's caption files belong to the video (the single-video choice,
    // the playlist's rows), not to these lines.
    {27, "PlaysInline", "Play Inline on Phones", K::Check, &S::PlaysInline, "chkPlaysInline"},
    {28, "MutedAutoPlay", "Start Muted with an Unmute Button", K::Check, &S::MutedAutoPlay,
     "chkMutedAutoPlay"},
    {29, "FluidSize", "Fit Player to Page Width", K::Check, &S::FluidSize, "chkFluidSize"},
};

// Every profile written before the later lines existed has this many lines.
constexpr int kClassicLines = 26;

QString modeText(const ProjectSettings& s) {
    return (s.Multiple ? QStringLiteral("MUL") : QStringLiteral("SIN")) +
           QString::number(static_cast<int>(s.streamingMode));
}

struct FieldText {
    const ProjectSettings& s;
    QString operator()(std::monostate) const { return modeText(s); }
    QString operator()(bool S::*field) const {
        return s.*field ? QStringLiteral("1") : QStringLiteral("0");
    }
    QString operator()(int S::*field) const { return QString::number(s.*field); }
    // The colour is stored as the signed 32-bit number the platform gives it.
    QString operator()(quint32 S::*field) const {
        return QString::number(static_cast<qint32>(s.*field));
    }
    QString operator()(QString S::*field) const { return s.*field; }
};

}  // namespace

std::span<const ProfileSetting> ProfileLayout::settings() {
    return kSettings;
}

const ProfileSetting* ProfileLayout::atLine(int line) {
    for (const ProfileSetting& setting : kSettings) {
        if (setting.line == line)
            return &setting;
    }
    return nullptr;
}

const ProfileSetting* ProfileLayout::byKey(const QString& key) {
    for (const ProfileSetting& setting : kSettings) {
        if (key == QLatin1String(setting.key))
            return &setting;
    }
    return nullptr;
}

QString ProfileLayout::textOf(const ProfileSetting& setting, const ProjectSettings& settings) {
    return std::visit(FieldText{settings}, setting.field);
}

QStringList ProfileLayout::values(const ProjectSettings& settings) {
    QStringList values;
    for (const ProfileSetting& setting : kSettings)
        values.append(textOf(setting, settings));
    return withoutTrailingStartValues(values);
}

QString ProfileLayout::startText(const ProfileSetting& setting) {
    return textOf(setting, ProjectSettings{});
}

QStringList ProfileLayout::withoutTrailingStartValues(QStringList values) {
    // A profile saved with the later options off must stay the file older versions wrote and
    // read, so those lines are written only up to the last one that differs from its start.
    while (values.size() > kClassicLines) {
        const ProfileSetting* setting = atLine(int(values.size()));
        if (setting && values.last() != startText(*setting))
            break;
        values.removeLast();
    }
    return values;
}

QMap<int, QString> ProfileLayout::leftOutLines(qsizetype storedLines) {
    QMap<int, QString> lines;
    for (const ProfileSetting& setting : kSettings) {
        if (setting.line > kClassicLines && setting.line > storedLines)
            lines.insert(setting.line, startText(setting));
    }
    return lines;
}

bool ProfileLayout::checkState(const QString& value) {
    const qint16 state = Int16::fromText(value);
    if (state != 0 && state != 1)
        throw AppError(AppError::InvalidCall, value);
    return state == 1;
}

qint16 ProfileLayout::index(const QString& value) {
    return Int16::fromText(value);
}

quint32 ProfileLayout::colourNumber(const QString& value) {
    bool ok = false;
    const qlonglong number = value.trimmed().toLongLong(&ok);
    if (!ok)
        throw AppError(AppError::TypeMismatch, value);
    if (number < -2147483648LL || number > 2147483647LL)
        throw AppError(AppError::Overflow, value);
    return static_cast<quint32>(number);
}

void ProfileLayout::checkKind(const ProfileSetting& setting, const QString& value) {
    switch (setting.kind) {
        case K::Mode: {
            static const QRegularExpression mode(QStringLiteral("^(SIN|MUL)[123]$"));
            if (!mode.match(value).hasMatch())
                throw AppError(AppError::InvalidCall, value);
            break;
        }
        case K::Check:
            checkState(value);
            break;
        case K::Index:
            index(value);
            break;
        case K::ColourNumber:
            colourNumber(value);
            break;
        case K::Text:
        case K::MultiLineText:
        case K::FileName:
            break;  // the profile file's own checks apply to every text
    }
}
