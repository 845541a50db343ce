#include "ui/InputRulesFilter.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "settings/InputRules.h"

namespace {

// A key that would insert a character (rather than edit, move or run a shortcut).
bool typesCharacter(const QKeyEvent& key) {
    if (key.text().size() != 1)
        return false;
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QChar c = key.text().front();
    return c == InputRules::kBackspace || c.isPrint();
}

}  // namespace

void InputRulesFilter::watch(QLineEdit* box) {
    if (InputRules::ruleFor(box->objectName()))
        box->installEventFilter(this);
}

bool InputRulesFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* box = qobject_cast<QLineEdit*>(watched);
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (box == nullptr || !typesCharacter(*key))
        return false;
    return !InputRules::accepts(box->objectName(), box->text(), key->text().front(),
                                box->selectedText().size());
}
