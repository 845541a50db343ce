#include "ui/DialogParts.h"

namespace DialogParts {

QString toolTip(const QString& text) {
    return text.isEmpty() ? QString() : QLatin1Char(' ') + text + QLatin1Char(' ');
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
