#include "models/VideoFilesDialogModel.h"

#include <QFileInfo>

#include "media/CaptionFile.h"
#include "media/CaptionFileError.h"
#include "models/SelectionHost.h"
#include "platform/AppError.h"
#include "platform/Dialogs.h"
#include "platform/Views.h"

QList<Html5CopyJob> VideoFilesDialogModel::makeCopies(QList<Html5CopyJob> jobs, Html5Format format,
                                                      const Html5CopyRunner& runner) {
    if (jobs.isEmpty())
        return {};
    Html5CopyBatch batch(std::move(jobs), format);
    batch.confirmReplacements(m_dialogs);
    runner(batch);
    batch.reportFailures(m_dialogs);
    return batch.ready();
}

void VideoFilesDialogModel::showHtml5Mirror() {
    if (m_host.streamingMode() == StreamingMode::Rtmp)
        setHtml5Files(false);
    else
        setHtml5Files(m_host.html5());
    m_fileButtonsEnabled = m_html5Files;
    m_html5CheckEnabled = false;
    m_visible = true;
}

QString VideoFilesDialogModel::html5CheckToolTip() const {
    if (m_host.streamingMode() == StreamingMode::Rtmp)
        return QStringLiteral("Rtmp streaming has no HTML5 fallback");
    return m_html5Files ? QStringLiteral(
                              "Set by \"HTML5 Support for iOS and Android Devices\" "
                              "in the main window")
                        : QStringLiteral(
                              "\"HTML5 Support for iOS and Android Devices\" is off in "
                              "the main window: turn it on there for Mp4 and WebM files");
}

QString VideoFilesDialogModel::html5FilesToolTip() const {
    if (m_fileButtonsEnabled)
        return {};
    if (m_host.streamingMode() == StreamingMode::Rtmp)
        return QStringLiteral(
            "Rtmp streaming has no HTML5 fallback, so it takes no Mp4 or WebM "
            "files");
    return QStringLiteral(
        "\"HTML5 Support for iOS and Android Devices\" is off in the main "
        "window: turn it on there for Mp4 and WebM files");
}

void VideoFilesDialogModel::setHtml5Files(bool on) {
    if (m_html5Files == on)
        return;
    m_html5Files = on;
    if (m_host.html5() != on)
        m_host.setHtml5(on);
    m_fileButtonsEnabled = on;
}

void VideoFilesDialogModel::save() {
    if (!checkData(false))
        return;
    if (m_host.videoFilesStatusVisible())
        m_host.setVideoFilesStatusVisible(false);
    m_visible = false;
}

void VideoFilesDialogModel::cancel() {
    closeDialog();
}

void VideoFilesDialogModel::remoteClick() {
    closeDialog();
}

void VideoFilesDialogModel::closeRequest() {
    closeDialog();
}

void VideoFilesDialogModel::help() {
    m_views.showQuickHelp(3);
}

void VideoFilesDialogModel::closeDialog() {
    const bool complete = checkData(true);
    if (m_host.videoFilesStatusVisible() == complete)
        m_host.setVideoFilesStatusVisible(!complete);
    m_visible = false;
}

CaptionTracks VideoFilesDialogModel::chooseCaptionTracks() {
    const std::optional<QStringList> answer = m_dialogs.openFiles(
        {QStringLiteral("Add Caption Files"),
         QStringLiteral(
             "Captions (*.vtt *.srt)|*.vtt;*.srt|WebVTT (*.vtt)|*.vtt|SubRip (*.srt)|*.srt"),
         true});
    CaptionTracks tracks;
    for (const QString& path : answer.value_or(QStringList())) {
        try {
            CaptionFile::toWebVtt(path);
            tracks.append({path, CaptionFile::languageFromName(path), QString()});
        } catch (const CaptionFileError& refused) {
            m_dialogs.error(refused.message());
        } catch (const AppError& error) {
            m_dialogs.reportError(error);
        }
    }
    return tracks;
}

bool VideoFilesDialogModel::copyMatchesFlashName(const QString& copyName,
                                                 const QString& flashName) {
    return QFileInfo(copyName).completeBaseName() == QFileInfo(flashName).completeBaseName();
}
