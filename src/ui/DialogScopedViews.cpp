#include "ui/DialogScopedViews.h"

#include <QWidget>

void DialogScopedViews::focusControl(const QString& name) {
    if (auto* control = m_dialog.findChild<QWidget*>(name)) {
        control->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_views.focusControl(name);
}
