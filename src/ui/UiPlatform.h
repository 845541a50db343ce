#pragma once

#include <QString>

// The desktop's own services as the windows use them: clipboard, the default program for a file
// or a web address, and the file manager. Each opener says whether a program took what it was
// given; the caller decides whether the user hears of a failure.
namespace UiPlatform {

// Clears the clipboard, then puts `text` on it as plain text.
void setClipboardText(const QString& text);

// Opens a web address in the default browser.
bool openUrl(const QString& address);

// Opens a local file with the program the desktop associates with it.
bool openWithDefaultProgram(const QString& path);

// Shows the folder holding `filePath` in the file manager: on Windows with the file selected, on
// macOS revealed in the Finder, elsewhere by opening the folder itself.
bool showFileInFolder(const QString& filePath);

}  // namespace UiPlatform
