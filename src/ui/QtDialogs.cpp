#include "ui/QtDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>

#include "ui/NormalPointer.h"

namespace {

// Ctrl+C copies the title and the message as they were given: the box shows the text with
// invisible break points, which must not travel into a support ticket.
class CopyableMessageBox : public QMessageBox {
  public:
    CopyableMessageBox(QString plain, Icon icon, const QString& title, StandardButtons buttons,
                       QWidget* parent)
        : QMessageBox(icon, title, QString(), buttons, parent), m_plain(std::move(plain)) {}

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(windowTitle() + QStringLiteral("\n\n") + m_plain);
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

  private:
    QString m_plain;
};

QMessageBox::Icon boxIcon(Dialogs::Icon icon) {
    switch (icon) {
        case Dialogs::Icon::Critical:
            return QMessageBox::Critical;
        case Dialogs::Icon::Question:
            return QMessageBox::Question;
        case Dialogs::Icon::Exclamation:
            return QMessageBox::Warning;
        case Dialogs::Icon::Information:
            break;
    }
    return QMessageBox::Information;
}

// "FLV (*.flv)" already names its pattern; a bare description gets it appended.
QString filterEntry(const QString& description, QString pattern) {
    pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
    const QString named = QStringLiteral("(%1)").arg(pattern);
    if (description.trimmed().endsWith(named))
        return description.trimmed();
    return QStringLiteral("%1 %2").arg(description.trimmed(), named);
}

}  // namespace

QString QtDialogs::qtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (!parts[i + 1].trimmed().isEmpty())
            entries.append(filterEntry(parts[i], parts[i + 1].trimmed()));
    }
    return entries.join(QStringLiteral(";;"));
}

QWidget* QtDialogs::parentWindow() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_owner;
}

// A zero-width space: a place where a line may break that shows nothing.
constexpr char16_t kBreak = u'\u200B';

QString QtDialogs::shownText(const QString& text) {
    QString shown;
    shown.reserve(text.size() + text.size() / 8);
    int run = 0;  // characters since the last place a line may break
    for (const QChar c : text) {
        shown += c;
        if (c.isSpace()) {
            run = 0;
            continue;
        }
        ++run;
        const bool separator = c == u'/' || c == u'\\';
        if ((separator || run >= kLongestRun) && !c.isHighSurrogate()) {
            shown += kBreak;
            run = 0;
        }
    }
    return shown;
}

std::unique_ptr<QMessageBox> QtDialogs::messageBox(const QString& text, Icon icon, Buttons buttons,
                                                   const QString& title, QWidget* parent) {
    auto box = std::make_unique<CopyableMessageBox>(
        text, boxIcon(icon), title,
        buttons == Buttons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    // Plain text: a path may hold "<" or "&", which rich text would swallow.
    box->setTextFormat(Qt::PlainText);
    box->setText(shownText(text));
    return box;
}

Dialogs::Answer QtDialogs::message(const QString& text, Icon icon, Buttons buttons,
                                   const QString& title) {
    const NormalPointer pointer;
    const std::unique_ptr<QMessageBox> box = messageBox(text, icon, buttons, title, parentWindow());
    const int pressed = box->exec();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::optional<QStringList> QtDialogs::openFiles(const FileRequest& request) {
    const NormalPointer pointer;
    QStringList chosen;
    if (request.multiple) {
        chosen = QFileDialog::getOpenFileNames(parentWindow(), request.title, request.folder,
                                               qtFilter(request.filter));
    } else {
        const QString one = QFileDialog::getOpenFileName(parentWindow(), request.title,
                                                         request.folder, qtFilter(request.filter));
        if (!one.isEmpty())
            chosen.append(one);
    }
    if (chosen.isEmpty())
        return std::nullopt;
    for (QString& path : chosen)
        path = QDir::toNativeSeparators(path);
    return chosen;
}

// The dialog does not ask about an existing file: the name it returns may still get the filter's
// suffix, and the question is about the file that would be replaced (Dialogs::saveFile asks it).
std::optional<QString> QtDialogs::chooseSaveFile(const FileRequest& request) {
    const NormalPointer pointer;
    const QString path = QFileDialog::getSaveFileName(parentWindow(), request.title, request.folder,
                                                      qtFilter(request.filter), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(path);
}

std::optional<QString> QtDialogs::browseFolder(const QString& title) {
    const NormalPointer pointer;
    const QString folder = QFileDialog::getExistingDirectory(parentWindow(), title);
    if (folder.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(folder);
}

std::optional<quint32> QtDialogs::chooseColour(quint32 initial) {
    const NormalPointer pointer;
    const QColor start(static_cast<int>(initial & 0xFF), static_cast<int>((initial >> 8) & 0xFF),
                       static_cast<int>((initial >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(start, parentWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return static_cast<quint32>(chosen.red()) + 256u * static_cast<quint32>(chosen.green()) +
           65536u * static_cast<quint32>(chosen.blue());
}
