#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include "settings/ProfileFile.h"

// The settings of a profile by the line that stores them.
enum class ProfileLine {
    Mode = 1,
    IsLive,
    Html5,
    PlayerStyle,
    PlayerSize,
    PlayerColorNumber,
    PlayerColor,
    AutoPlay,
    AutoProgress,
    AudioLevel,
    ShowBigPlayButton,
    IntroImageName,
    IntroImagePath,
    OutroImageName,
    OutroImagePath,
    ServerPath,
    VideoPath,
    OutDir,
    Encrypt,
    RedirectURL,
    AffiliateLink,
    ActionCode,
    ShowEmbedCode,
    SocialShare,
    ShareTitle,
    ShareURL,
};

// A profile as the desktop program saves it: a single Flash video in Normal mode on the first
// skin and size, pages on www.example.com, no output folder.
class TestProfile {
  public:
    QStringList values{QStringLiteral("SIN1"),
                       QStringLiteral("0"),
                       QStringLiteral("0"),
                       QStringLiteral("0"),
                       QStringLiteral("0"),
                       QStringLiteral("16777215"),
                       QStringLiteral("FFFFFF"),
                       QStringLiteral("0"),
                       QStringLiteral("0"),
                       QStringLiteral("80"),
                       QStringLiteral("1"),
                       QString(),
                       QString(),
                       QString(),
                       QString(),
                       QStringLiteral("http://www.example.com/player/"),
                       QString(),
                       QString(),
                       QStringLiteral("0"),
                       QString(),
                       QString(),
                       QString(),
                       QStringLiteral("0"),
                       QStringLiteral("0"),
                       QString(),
                       QString()};

    TestProfile& set(ProfileLine line, const QString& value) {
        values[static_cast<int>(line) - 1] = value;
        return *this;
    }

    // Writes the profile to `path` and returns the path.
    QString writeTo(const QString& path) const {
        ProfileFile::write(path, values);
        return path;
    }
};

// Writes a small file standing in for a video (the run reads only its name) and returns its path.
inline QString writeVideo(const QString& folder, const QString& name) {
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    // A Flash file is an FLV without tags, which the injector accepts; other files' contents are
    // never read.
    if (file.open(QIODevice::WriteOnly))
        file.write(name.endsWith(QLatin1String(".flv"))
                       ? QByteArray("FLV\x01\x05\x00\x00\x00\x09\x00\x00\x00\x00", 13)
                       : QByteArray("video"));
    return path;
}
