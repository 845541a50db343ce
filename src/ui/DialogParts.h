#pragma once

#include <QFont>
#include <QString>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

// The building blocks every dialog of the program is made of. Each control gets its name as
// objectName, so the windows can be driven and tested by name.
namespace DialogParts {

// Tool tips are shown with one blank before and one after their text.
QString toolTip(const QString& text);

// Buttons never become the dialog's default button: Enter in a text box must not press one.
QPushButton* button(QWidget* owner, const QString& name, const QString& caption,
                    const QString& tip = {});
QLabel* label(QWidget* owner, const QString& name, const QString& caption);
QLineEdit* lineEdit(QWidget* owner, const QString& name, const QString& tip = {});
QPlainTextEdit* textBox(QWidget* owner, const QString& name, const QString& tip = {});

// Courier New, or the closest fixed-pitch font where it is not installed.
QFont courierNew();

// The program's texts end their lines in CR LF; a text box shows each as one line break.
QString forDisplay(const QString& text);

}  // namespace DialogParts
