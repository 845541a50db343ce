#pragma once

#include <QFont>
#include <QString>

// What the windows' forms cannot say themselves. (Their buttons set autoDefault off in the form:
// Enter in a text box must not press one.)
namespace DialogParts {

// Tool tips are shown with one blank before and one after their text.
QString toolTip(const QString& text);

// Courier New, or the closest fixed-pitch font where it is not installed.
QFont courierNew();

// The program's texts end their lines in CR LF; a text box shows each as one line break.
QString forDisplay(const QString& text);

}  // namespace DialogParts
