#pragma once

#include <QString>

// The keyed character shift that every line of a profile and of a playlist file goes through.
// Characters are taken by their Windows-1252 code, so each character of a result is exactly one
// byte of the file and a stored line reads back byte for byte.
class Scrambler {
  public:
    // The key of profiles and playlist files.
    static inline const QString kScrambleKey = QStringLiteral("morvelquist");

    // Longer texts raise error 6: positions were counted in 16 bits in every file ever written.
    static constexpr qsizetype kMaxLength = 32767;

    // Text character i (from 1) is shifted by key character (i mod m) + 1, so a one-character
    // text uses the second key character. An empty key leaves the text unchanged.
    static QString scramble(const QString& text, const QString& key);
    static QString unscramble(const QString& text, const QString& key);

    // A value whose scrambled form holds CR or LF would split its line in the file and shift
    // every later line; writers refuse such values.
    static bool scramblesToLineBreak(const QString& text, const QString& key);
    // Index (in Windows-1252 characters) of the first character that scrambles to CR or LF, or -1.
    static qsizetype lineBreakIndex(const QString& text, const QString& key);
    // Index of the first character a writer must refuse, or -1: one Windows-1252 does not have
    // (the file would hold "?" instead), or one that scrambles to CR or LF.
    static qsizetype unstorableIndex(const QString& text, const QString& key);

  private:
    static QString shift(const QString& text, const QString& key, int direction);
};
