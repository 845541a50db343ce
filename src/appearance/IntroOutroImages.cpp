#include "appearance/IntroOutroImages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "appearance/PicFormat32.h"
#include "appearance/PictureFitter.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/FileOps.h"
#include "platform/ScratchFolder.h"

namespace {

constexpr int kJpegQuality = 90;

// What went wrong with a source picture, for the messages. Errors about the source carry its
// path; anything else happened while writing the rendered files.
QString sourceProblem(const AppError& error) {
    return error.number() == AppError::FileNotFound ? QStringLiteral("WAS NOT FOUND")
                                                    : QStringLiteral("IS NOT A READABLE JPEG FILE");
}

// The cause as the system or the picture reader gave it, on a line of its own after the message
// ("Is a FIFO (named pipe), not a regular file", "Permission denied"); nothing when none is known.
QString causeLine(const AppError& error) {
    return error.reason().isEmpty() ? QString() : u'\n' + error.reason();
}

}  // namespace

IntroOutroImages::IntroOutroImages(AppPaths paths, Dialogs& dialogs)
    : m_paths(std::move(paths)), m_dialogs(dialogs) {}

QString& IntroOutroImages::nameOf(Kind kind, ProjectSettings& settings) {
    return kind == Kind::Intro ? settings.IntroImageName : settings.OutroImageName;
}

QString& IntroOutroImages::pathOf(Kind kind, ProjectSettings& settings) {
    return kind == Kind::Intro ? settings.IntroImagePath : settings.OutroImagePath;
}

QString IntroOutroImages::word(Kind kind) {
    return kind == Kind::Intro ? QStringLiteral("INTRO") : QStringLiteral("OUTRO");
}

QString IntroOutroImages::scratch(const QString& name) const {
    return ScratchFolder::file(m_paths, name);
}

// The player knows the rendered files by these fixed names until generation copies them.
QString IntroOutroImages::renderedBitmap(Kind kind) const {
    return scratch(kind == Kind::Intro ? QStringLiteral("temp.fcx") : QStringLiteral("semp.fcx"));
}

QString IntroOutroImages::renderedJpeg(Kind kind) const {
    return scratch(kind == Kind::Intro ? QStringLiteral("temp.jpg") : QStringLiteral("semp.jpg"));
}

bool IntroOutroImages::choose(Kind kind, ProjectSettings& settings, QSize canvas) {
    const std::optional<QStringList> chosen = m_dialogs.openFiles(
        {QStringLiteral("Open Picture File"), QStringLiteral("JPEG files (*.jpg)|*.jpg|"), false});
    if (!chosen || chosen->isEmpty())
        return false;
    const QString path = chosen->first();
    if (isWorkFile(path)) {
        m_dialogs.error(QStringLiteral("THE FILE \"%1\" IS A WORK FILE OF THIS PROGRAM, WHICH "
                                       "REPLACES IT. PLEASE CHOOSE A PICTURE KEPT IN ANOTHER "
                                       "FOLDER. THE %2 IMAGE IS UNCHANGED.")
                            .arg(path, word(kind)));
        return false;
    }
    try {
        render(kind, path, canvas);
    } catch (const AppError& error) {
        if (error.detail() == path) {  // nothing was written: the previous choice still holds
            m_dialogs.error(QStringLiteral("THE FILE \"%1\" %2. THE %3 IMAGE IS UNCHANGED.")
                                .arg(path, sourceProblem(error), word(kind)) +
                            causeLine(error));
            return false;
        }
        drop(kind, settings, path, error);
        return false;
    }
    nameOf(kind, settings) = QFileInfo(path).fileName();
    pathOf(kind, settings) = path;
    return true;
}

void IntroOutroImages::clear(Kind kind, ProjectSettings& settings) {
    nameOf(kind, settings).clear();
    pathOf(kind, settings).clear();
    m_previews[index(kind)] = QImage();
    QFile::remove(renderedBitmap(kind));
    QFile::remove(renderedJpeg(kind));
}

void IntroOutroImages::reload(Kind kind, ProjectSettings& settings, QSize canvas) {
    const QString path = pathOf(kind, settings);
    if (path.isEmpty() && nameOf(kind, settings).isEmpty())
        return;
    if (isWorkFile(path)) {
        clear(kind, settings);
        m_dialogs.error(QStringLiteral("THE %1 IMAGE \"%2\" IS A WORK FILE OF THIS PROGRAM, WHICH "
                                       "REPLACES IT. THE %1 IMAGE HAS BEEN CLEARED.")
                            .arg(word(kind), path));
        return;
    }
    try {
        render(kind, path, canvas);
    } catch (const AppError& error) {
        drop(kind, settings, path, error);
    }
}

// Every rendering is rewritten at each choice and size change: a source that is one of them,
// under its own name or through a link, would be replaced by its fitted copy.
bool IntroOutroImages::isWorkFile(const QString& path) const {
    for (const Kind kind : {Kind::Intro, Kind::Outro})
        if (FileOps::sameFile(path, renderedBitmap(kind)) ||
            FileOps::sameFile(path, renderedJpeg(kind)))
            return true;
    return false;
}

// The source is read completely before anything is written, so a refused picture leaves the
// rendered files of the previous choice alone.
void IntroOutroImages::render(Kind kind, const QString& path, QSize canvas) {
    QSize natural;
    const QImage picture =
        PictureFitter::loadJpeg(path, canvas.expandedTo(m_previewSize), &natural);
    QImage preview = PictureFitter::fit(picture, m_previewSize, natural);
    const QImage rendered = PictureFitter::fit(picture, canvas, natural);
    QDir().mkpath(QFileInfo(renderedBitmap(kind)).path());
    PicFormat32::saveBitmap(rendered, renderedBitmap(kind));
    PicFormat32::convert(renderedBitmap(kind), renderedJpeg(kind), kJpegQuality);
    m_previews[index(kind)] = std::move(preview);
}

void IntroOutroImages::drop(Kind kind, ProjectSettings& settings, const QString& path,
                            const AppError& error) {
    clear(kind, settings);
    if (error.detail() != path) {
        m_dialogs.reportError(error);
        return;
    }
    m_dialogs.error(QStringLiteral("THE %1 IMAGE \"%2\" %3. THE %1 IMAGE HAS BEEN CLEARED.")
                        .arg(word(kind), path, sourceProblem(error)) +
                    causeLine(error));
}
