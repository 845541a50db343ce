#include "ui/FrmVideoFilesSingle.h"

#include "app/MainController.h"
#include "models/SingleVideoDialogModel.h"
#include "ui/FrmHtml5Copies.h"

FrmVideoFilesSingle::FrmVideoFilesSingle(MainController& controller, QWidget* parent)
    : FrmVideoFiles(controller.singleVideo(), parent), m_selection(controller.singleVideo()) {
    setupUi(this);
    m_fields = {{lblFlvVideoFilePath, &SingleVideo::FlvVideoFilePath},
                {lblFlvVideoFileName, &SingleVideo::FlvVideoFileName},
                {lblFlvVideoFilePathOnly, &SingleVideo::FlvVideoFilePathOnly},
                {lblFlvVideoFileNameRTMP, &SingleVideo::FlvVideoFileNameRTMP},
                {lblMp4VideoFilePath, &SingleVideo::Mp4VideoFilePath},
                {lblMp4VideoFileName, &SingleVideo::Mp4VideoFileName},
                {lblMp4VideoFilePathOnly, &SingleVideo::Mp4VideoFilePathOnly},
                {lblWebmVideoFilePath, &SingleVideo::WebmVideoFilePath},
                {lblWebmVideoFileName, &SingleVideo::WebmVideoFileName},
                {lblWebmVideoFilePathOnly, &SingleVideo::WebmVideoFilePathOnly}};
    alignValues();
    // As high as the groups need at the form's width, whatever the fonts make of them.
    resize(width(), sizeHint().height());
    takeCommonControls({chkHtml5, cmdSave, cmdCancel, cmdHelp});
    connectCommands();
    refresh();
}

// Each group lays out its own captions; one width for all of them puts the values of the three
// groups at one left edge.
void FrmVideoFilesSingle::alignValues() {
    QLabel* const captions[] = {lblFlvFileNameCaption,     lblFlvFilePathCaption,
                                lblFlvFilePathOnlyCaption, lblFlvFileNameRTMPCaption,
                                lblMp4FileNameCaption,     lblMp4FilePathCaption,
                                lblMp4FilePathOnlyCaption, lblWebmFileNameCaption,
                                lblWebmFilePathCaption,    lblWebmFilePathOnlyCaption};
    int widest = 0;
    for (const QLabel* caption : captions)
        widest = qMax(widest, caption->sizeHint().width());
    for (QLabel* caption : captions)
        caption->setMinimumWidth(widest);
}

void FrmVideoFilesSingle::showCaptions() {
    const CaptionTracks& tracks = m_selection.video().Captions;
    grdCaptions->showTracks(tracks);
    cmdRemoveCaption->setEnabled(!tracks.isEmpty());
}

void FrmVideoFilesSingle::connectCommands() {
    // Held as functions, as the playlist window holds its commands.
    const QList<std::pair<QPushButton*, std::function<void()>>> commands{
        {cmdFLVFile, [this] { m_selection.chooseFlashFile(); }},
        {cmdMp4File, [this] { m_selection.chooseMp4File(); }},
        {cmdWebmFile, [this] { m_selection.chooseWebmFile(); }},
        {cmdMakeMp4, [this] { makeFromFlash(Html5Format::Mp4); }},
        {cmdMakeWebm, [this] { makeFromFlash(Html5Format::WebM); }},
        {cmdAddCaptions, [this] { m_selection.addCaptionFiles(); }},
        {cmdRemoveCaption,
         [this] { m_selection.removeCaption(qMax(grdCaptions->currentRow(), 0)); }},
    };
    for (const auto& [button, command] : commands)
        connect(button, &QPushButton::clicked, this, [this, command] { forward(command); });
    // A typed language or label goes to the selection, which keeps it without control codes.
    connect(grdCaptions, &CaptionTable::languageEdited, this, [this](int row, const QString& text) {
        forward([this, row, text] { m_selection.setCaptionLanguage(row, text); });
    });
    connect(grdCaptions, &CaptionTable::labelEdited, this, [this](int row, const QString& text) {
        forward([this, row, text] { m_selection.setCaptionLabel(row, text); });
    });
}

void FrmVideoFilesSingle::makeFromFlash(Html5Format format) {
    m_selection.makeFromFlash(format, [this](Html5CopyBatch& batch) {
        FrmHtml5Copies progress(this);
        progress.run(batch, m_selection.video().FlvVideoFileName);
    });
}

void FrmVideoFilesSingle::showState() {
    const SingleVideo& video = m_selection.video();
    for (const auto& [value, field] : m_fields)
        value->setText(video.*field);
    enableHtml5Command(cmdMp4File, m_selection.mp4FileEnabled());
    enableHtml5Command(cmdWebmFile, m_selection.webmFileEnabled());
    enableHtml5Command(cmdMakeMp4, m_selection.makeFromFlashEnabled());
    enableHtml5Command(cmdMakeWebm, m_selection.makeWebmFromFlashEnabled());
    showCaptions();
}
