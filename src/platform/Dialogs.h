#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Everything the core asks of the user goes through here; each front end implements it (message
// boxes and native dialogs in the desktop program, standard error in vidlark-cli, scripted fakes
// in tests). A cancel is an empty optional, never an error.
class Dialogs {
  public:
    enum class Icon { Critical, Question, Exclamation, Information };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    struct FileRequest {
        FileRequest(QString title_ = {}, QString filter_ = {}, bool multiple_ = false,
                    QString folder_ = {})
            : title(std::move(title_)),
              filter(std::move(filter_)),
              multiple(multiple_),
              folder(std::move(folder_)) {}

        QString title;
        QString filter;  // description|pattern pairs joined by "|": "FLV (*.flv)|*.flv"
        bool multiple = false;
        QString folder;  // where the dialog opens; empty: the platform's choice
    };

    virtual ~Dialogs() = default;

    virtual Answer message(const QString& text, Icon icon, Buttons buttons,
                           const QString& title) = 0;
    // Full paths of the chosen existing files.
    virtual std::optional<QStringList> openFiles(const FileRequest& request) = 0;
    // The full path as the user typed or picked it: no suffix added and no question about an
    // existing file (saveFile below does both).
    virtual std::optional<QString> chooseSaveFile(const FileRequest& request) = 0;
    virtual std::optional<QString> browseFolder(const QString& title) = 0;
    // Colour numbers are red + 256 * green + 65536 * blue.
    virtual std::optional<quint32> chooseColour(quint32 initial) = 0;

    // The house styles of message box.
    void error(const QString& text) {
        message(text, Icon::Critical, Buttons::Ok, QStringLiteral("Error"));
    }
    void warning(const QString& text) {
        message(text, Icon::Exclamation, Buttons::Ok, QStringLiteral("Warning"));
    }
    void inform(const QString& text, const QString& title = QStringLiteral("Message")) {
        message(text, Icon::Information, Buttons::Ok, title);
    }
    bool confirm(const QString& text) {
        return message(text, Icon::Question, Buttons::YesNo, QStringLiteral("Confirm")) ==
               Answer::Yes;
    }
    // The common error message of every error trap.
    void reportError(const class AppError& error);

    // The file to save to: the chosen name with the suffix of the filter added when it has none
    // (SaveFileName). An existing file under that final name is replaced only when the user says
    // Yes; No asks for another name, starting at the one refused.
    std::optional<QString> saveFile(const FileRequest& request);
};
