#pragma once

#include <QChar>
#include <QString>
#include <optional>

// The key filters of the numeric and hexadecimal boxes. A refused key is swallowed silently by
// the window; pasted text does not pass through here.
class InputRules {
  public:
    static constexpr QChar kBackspace = QChar(u'\b');

    struct KeyRule {
        QString allowed;  // the characters that may be typed
        int maxLength;
    };

    // The rule of a box by its objectName ("txtAudioLevel"); none for a box without a filter.
    static std::optional<KeyRule> ruleFor(const QString& control);

    // Whether typing `typed` into a box holding `current` (of which `selected` characters are
    // selected and would be replaced) goes through. Backspace always does.
    static bool accepts(const KeyRule& rule, const QString& current, QChar typed,
                        qsizetype selected = 0);
    // The same by objectName; a box without a filter takes every key.
    static bool accepts(const QString& control, const QString& current, QChar typed,
                        qsizetype selected = 0);
};
