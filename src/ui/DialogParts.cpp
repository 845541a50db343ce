#include "ui/DialogParts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace DialogParts {

QString toolTip(const QString& text) {
    return text.isEmpty() ? QString() : QLatin1Char(' ') + text + QLatin1Char(' ');
}

QPushButton* button(QWidget* owner, const QString& name, const QString& caption,
                    const QString& tip) {
    auto* b = new QPushButton(caption, owner);
    b->setObjectName(name);
    b->setToolTip(toolTip(tip));
    b->setAutoDefault(false);
    return b;
}

QLabel* label(QWidget* owner, const QString& name, const QString& caption) {
    auto* l = new QLabel(caption, owner);
    l->setObjectName(name);
    return l;
}

QLineEdit* lineEdit(QWidget* owner, const QString& name, const QString& tip) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(name);
    e->setToolTip(toolTip(tip));
    return e;
}

QPlainTextEdit* textBox(QWidget* owner, const QString& name, const QString& tip) {
    auto* t = new QPlainTextEdit(owner);
    t->setObjectName(name);
    t->setToolTip(toolTip(tip));
    return t;
}

QFont courierNew() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

QString forDisplay(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

}  // namespace DialogParts
