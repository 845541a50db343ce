#include "settings/InputRules.h"

namespace {

const QString kDigits = QStringLiteral("0123456789");

}  // namespace

std::optional<InputRules::KeyRule> InputRules::ruleFor(const QString& control) {
    if (control == u"txtAudioLevel")
        return KeyRule{kDigits, 3};
    if (control == u"txtPlayerColor")
        return KeyRule{QStringLiteral("0123456789ABCDEFabcdef"), 6};
    if (control == u"txtVideoBuffer")
        return KeyRule{QStringLiteral("123456789"), 2};  // a buffer of 0 seconds makes no sense
    if (control == u"txtItemsPlaylist")
        return KeyRule{QStringLiteral("23456789"), 2};
    if (control == u"txtWidthPlaylist")
        return KeyRule{kDigits, 3};
    if (control == u"txtPlayListFontSize")
        return KeyRule{kDigits, 3};
    return std::nullopt;
}

bool InputRules::accepts(const KeyRule& rule, const QString& current, QChar typed,
                         qsizetype selected) {
    if (typed == kBackspace)
        return true;
    if (!rule.allowed.contains(typed))
        return false;
    return current.size() - selected < rule.maxLength;
}

bool InputRules::accepts(const QString& control, const QString& current, QChar typed,
                         qsizetype selected) {
    const std::optional<KeyRule> rule = ruleFor(control);
    return !rule || accepts(*rule, current, typed, selected);
}
