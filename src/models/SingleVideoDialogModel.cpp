#include "models/SingleVideoDialogModel.h"

#include <QDir>
#include <algorithm>

#include "media/Html5CopyTargets.h"
#include "models/CaptionTrackEdits.h"
#include "models/SelectionHost.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/Views.h"

namespace {

const QString H264Filter =
    QStringLiteral("H.264 Mp4(*.mp4)|*.mp4|H.264 F4V(*.f4v)|*.f4v|H.264 M4V (*.m4v)|*.m4v");
const QString FlvFilter = QStringLiteral("FLV (*.flv)|*.flv");

// The seek script of Pseudo mode serves FLV files only.
QString flashFilter(StreamingMode mode) {
    return mode == StreamingMode::Pseudo ? FlvFilter : FlvFilter + QLatin1Char('|') + H264Filter;
}

// Index of the last folder separator, whichever way the path was written.
qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator()));
}

}  // namespace

SingleVideoDialogModel::SingleVideoDialogModel(SelectionHost& host, Dialogs& dialogs, Views& views)
    : VideoFilesDialogModel(host, dialogs, views) {}

void SingleVideoDialogModel::show() {
    showHtml5Mirror();
}

std::optional<SingleVideoDialogModel::ChosenFile> SingleVideoDialogModel::chooseFile(
    const QString& title, const QString& filter) {
    const std::optional<QStringList> answer =
        m_dialogs.openFiles({title, filter, /*multiple=*/false});
    if (!answer || answer->isEmpty())
        return std::nullopt;
    return split(answer->first());
}

SingleVideoDialogModel::ChosenFile SingleVideoDialogModel::split(const QString& path) {
    const qsizetype cut = lastSeparator(path) + 1;
    return ChosenFile{path, path.mid(cut), path.left(cut)};
}

void SingleVideoDialogModel::chooseFlashFile() {
    const auto file =
        chooseFile(QStringLiteral("Open Video File"), flashFilter(m_host.streamingMode()));
    if (!file)
        return;
    const bool another =
        !m_video.FlvVideoFilePath.isEmpty() && m_video.FlvVideoFilePath != file->path;
    m_video.FlvVideoFileName = file->name;
    m_video.FlvVideoFilePath = file->path;
    m_video.FlvVideoFilePathOnly = file->folder;
    if (another)
        dropWhatBelongsToAnotherVideo();
    if (m_host.streamingMode() == StreamingMode::Rtmp)
        buildRTMPFilename();
}

void SingleVideoDialogModel::dropWhatBelongsToAnotherVideo() {
    // The tracks were timed to the previous video; a run would otherwise list them in the new
    // video's `cc` attribute.
    m_video.Captions.clear();
    if (!copyMatchesFlashName(m_video.Mp4VideoFileName, m_video.FlvVideoFileName))
        useMp4File(QString());
    if (!copyMatchesFlashName(m_video.WebmVideoFileName, m_video.FlvVideoFileName))
        useWebmFile(QString());
}

void SingleVideoDialogModel::chooseMp4File() {
    if (const auto file = chooseFile(QStringLiteral("Select Mp4 Video File"), H264Filter))
        useMp4File(file->path);
}

void SingleVideoDialogModel::chooseWebmFile() {
    if (const auto file = chooseFile(QStringLiteral("Select Webm Video File"),
                                     QStringLiteral("WebM files (*.webm)|*.webm")))
        useWebmFile(file->path);
}

void SingleVideoDialogModel::useMp4File(const QString& path) {
    const ChosenFile file = split(path);
    m_video.Mp4VideoFileName = file.name;
    m_video.Mp4VideoFilePath = file.path;
    m_video.Mp4VideoFilePathOnly = file.folder;
}

void SingleVideoDialogModel::useWebmFile(const QString& path) {
    const ChosenFile file = split(path);
    m_video.WebmVideoFilePath = file.path;
    m_video.WebmVideoFileName = file.name;
    m_video.WebmVideoFilePathOnly = file.folder;
}

bool SingleVideoDialogModel::makeFromFlashEnabled() const {
    return fileButtonsEnabled() && !m_video.FlvVideoFileName.isEmpty() &&
           !m_video.FlvVideoFileName.endsWith(QLatin1String(".mp4"), Qt::CaseInsensitive);
}

bool SingleVideoDialogModel::makeWebmFromFlashEnabled() const {
    return fileButtonsEnabled() && !m_video.FlvVideoFileName.isEmpty();
}

void SingleVideoDialogModel::makeFromFlash(Html5Format format, const Html5CopyRunner& runner) {
    const bool webm = format == Html5Format::WebM;
    if (!(webm ? makeWebmFromFlashEnabled() : makeFromFlashEnabled()))
        return;
    const QList<Html5CopyJob> ready =
        makeCopies(Html5CopyTargets::forSingleVideo(m_video, format), format, runner);
    for (const Html5CopyJob& job : ready)
        webm ? useWebmFile(job.target) : useMp4File(job.target);
}

void SingleVideoDialogModel::buildRTMPFilename() {
    const QString& name = m_video.FlvVideoFileName;
    if (name.isEmpty())
        return;
    // H.264 streams are addressed with their kind as prefix; FLV streams by the bare name. The
    // comparison is exact: the media server tells "clip.MP4" apart from "clip.mp4".
    const QString kind = name.right(3);
    if (kind == u"mp4" || kind == u"f4v" || kind == u"m4v") {
        m_video.FlvVideoFileNameRTMP = kind + QLatin1Char(':') + name;
    } else if (name.size() < 4) {
        m_dialogs.reportError(AppError(AppError::InvalidCall, name));
    } else {
        m_video.FlvVideoFileNameRTMP = name.chopped(4);
    }
}

void SingleVideoDialogModel::addCaptionFiles() {
    m_video.Captions += chooseCaptionTracks();
}

void SingleVideoDialogModel::addCaption(const CaptionTrack& track) {
    m_video.Captions.append(track);
}

void SingleVideoDialogModel::removeCaption(int index) {
    if (index >= 0 && index < m_video.Captions.size())
        m_video.Captions.removeAt(index);
}

void SingleVideoDialogModel::setCaptionLanguage(int index, const QString& language) {
    CaptionTrackEdits::setLanguage(m_video.Captions, index, language);
}

void SingleVideoDialogModel::setCaptionLabel(int index, const QString& label) {
    CaptionTrackEdits::setLabel(m_video.Captions, index, label);
}

bool SingleVideoDialogModel::checkData(bool silent) {
    if (m_video.FlvVideoFileName.isEmpty()) {
        if (!silent) {
            m_dialogs.error(QStringLiteral("FLV FILE MISSING"));
            chooseFlashFile();
        }
        return false;
    }
    if (html5Files() && m_video.Mp4VideoFileName.isEmpty()) {
        if (!silent) {
            m_dialogs.error(QStringLiteral("MP4 FILE MISSING"));
            chooseMp4File();
        }
        return false;
    }
    return true;
}
