#include "ui/FrmVideoFilesSingle.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/MainController.h"
#include "models/SingleVideoDialogModel.h"
#include "ui/CaptionTable.h"
#include "ui/DialogParts.h"
#include "ui/FrmHtml5Copies.h"

using DialogParts::button;

FrmVideoFilesSingle::FrmVideoFilesSingle(MainController& controller, QWidget* parent)
    : FrmVideoFiles(controller.singleVideo(), parent), m_selection(controller.singleVideo()) {
    setObjectName(QStringLiteral("frmVideoFilesSingle"));
    setWindowTitle(QStringLiteral("Select Video File(s)"));
    setModal(true);

    chkHtml5 = new QCheckBox(QStringLiteral("Additional Video Files for HTML5 Support"), this);
    chkHtml5->setObjectName(QStringLiteral("chkHtml5"));
    cmdFLVFile = button(this, QStringLiteral("cmdFLVFile"), QStringLiteral("&Flash Video File"),
                        QStringLiteral("Primary video file for Flash player in any of the two "
                                       "formats FLV or Mp4 (extensions Mp4/F4V/M4V)"));
    cmdMp4File = button(this, QStringLiteral("cmdMp4File"), QStringLiteral("&Mp4 Video File"),
                        QStringLiteral("iOS and Android compatible Mp4 (extensions Mp4/F4V/M4V)"));
    cmdWebmFile = button(this, QStringLiteral("cmdWebmFile"), QStringLiteral("&WebM Video File"),
                         QStringLiteral("WebM video file for support on browsers like Firefox IF "
                                        "Flash is turned off (optional)"));
    cmdMakeMp4 =
        button(this, QStringLiteral("cmdMakeMp4"), QStringLiteral("Ma&ke from Flash video"),
               QStringLiteral("Make an Mp4 copy of the Flash video beside it and use it"));
    cmdMakeWebm =
        button(this, QStringLiteral("cmdMakeWebm"), QStringLiteral("Make fr&om Flash video"),
               QStringLiteral("Make a WebM copy of the Flash video beside it and use it"));
    cmdSave = button(this, QStringLiteral("cmdSave"), QStringLiteral("Save and E&xit"),
                     QStringLiteral("Save"));
    cmdCancel = button(this, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"),
                       QStringLiteral("Close this window"));
    cmdHelp = button(this, QStringLiteral("cmdHelp"), QStringLiteral("&Help"),
                     QStringLiteral("Quick help on selecting video files"));

    cmdAddCaptions =
        button(this, QStringLiteral("cmdAddCaptions"), QStringLiteral("Add Capt&ions..."),
               QStringLiteral("Add WebVTT (.vtt) or SubRip (.srt) caption files; the first "
                              "track is shown by default"));
    cmdRemoveCaption =
        button(this, QStringLiteral("cmdRemoveCaption"), QStringLiteral("R&emove Captions"),
               QStringLiteral("Remove the selected caption track"));
    grdCaptions = new CaptionTable(this, 2);

    lblFlvVideoFilePath =
        fieldLabel(QStringLiteral("lblFlvVideoFilePath"), &SingleVideo::FlvVideoFilePath);
    lblFlvVideoFileName =
        fieldLabel(QStringLiteral("lblFlvVideoFileName"), &SingleVideo::FlvVideoFileName);
    lblFlvVideoFilePathOnly =
        fieldLabel(QStringLiteral("lblFlvVideoFilePathOnly"), &SingleVideo::FlvVideoFilePathOnly);
    lblFlvVideoFileNameRTMP =
        fieldLabel(QStringLiteral("lblFlvVideoFileNameRTMP"), &SingleVideo::FlvVideoFileNameRTMP);
    lblMp4VideoFilePath =
        fieldLabel(QStringLiteral("lblMp4VideoFilePath"), &SingleVideo::Mp4VideoFilePath);
    lblMp4VideoFileName =
        fieldLabel(QStringLiteral("lblMp4VideoFileName"), &SingleVideo::Mp4VideoFileName);
    lblMp4VideoFilePathOnly =
        fieldLabel(QStringLiteral("lblMp4VideoFilePathOnly"), &SingleVideo::Mp4VideoFilePathOnly);
    lblWebmVideoFilePath =
        fieldLabel(QStringLiteral("lblWebmVideoFilePath"), &SingleVideo::WebmVideoFilePath);
    lblWebmVideoFileName =
        fieldLabel(QStringLiteral("lblWebmVideoFileName"), &SingleVideo::WebmVideoFileName);
    lblWebmVideoFilePathOnly =
        fieldLabel(QStringLiteral("lblWebmVideoFilePathOnly"), &SingleVideo::WebmVideoFilePathOnly);

    buildLayout();
    connectCommands();
    showState();
}

QLabel* FrmVideoFilesSingle::fieldLabel(const QString& name, QString SingleVideo::*field) {
    QLabel* value = DialogParts::label(this, name, QString());
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path is cut off at the dialog's edge instead of widening the dialog past the screen.
    value->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_fields.append({value, field});
    return value;
}

QWidget* FrmVideoFilesSingle::fileGroup(const QString& title, const QList<QPushButton*>& commands,
                                        const QList<std::pair<QString, QLabel*>>& rows) {
    auto* group = new QGroupBox(title, this);
    auto* form = new QFormLayout(group);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* command : commands)
        buttons->addWidget(command);
    buttons->addStretch();
    form->addRow(buttons);
    for (const auto& [caption, value] : rows) {
        auto* label = new QLabel(caption, group);
        m_captions.append(label);
        form->addRow(label, value);
    }
    return group;
}

void FrmVideoFilesSingle::buildLayout() {
    const QString path = QStringLiteral("Full path:");
    const QString name = QStringLiteral("File name:");
    const QString folder = QStringLiteral("Folder:");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdHelp);
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fileGroup(QStringLiteral("Flash player"), {cmdFLVFile},
                                {{name, lblFlvVideoFileName},
                                 {path, lblFlvVideoFilePath},
                                 {folder, lblFlvVideoFilePathOnly},
                                 {QStringLiteral("RTMP stream name:"), lblFlvVideoFileNameRTMP}}));
    layout->addWidget(chkHtml5);
    layout->addWidget(fileGroup(QStringLiteral("iOS and Android"), {cmdMp4File, cmdMakeMp4},
                                {{name, lblMp4VideoFileName},
                                 {path, lblMp4VideoFilePath},
                                 {folder, lblMp4VideoFilePathOnly}}));
    layout->addWidget(fileGroup(QStringLiteral("Browsers without Flash"),
                                {cmdWebmFile, cmdMakeWebm},
                                {{name, lblWebmVideoFileName},
                                 {path, lblWebmVideoFilePath},
                                 {folder, lblWebmVideoFilePathOnly}}));
    layout->addWidget(captionGroup());
    layout->addStretch();
    layout->addLayout(buttons);
    // Each group lays out its own captions; one width for all of them puts the values of the
    // three groups at one left edge.
    int widest = 0;
    for (const QLabel* caption : std::as_const(m_captions))
        widest = qMax(widest, caption->sizeHint().width());
    for (QLabel* caption : std::as_const(m_captions))
        caption->setMinimumWidth(widest);
    resize(620, sizeHint().height());
}

QWidget* FrmVideoFilesSingle::captionGroup() {
    auto* group = new QGroupBox(QStringLiteral("Captions"), this);
    // The commands beside the table rather than above it: the window stays low enough for a
    // small screen.
    auto* layout = new QHBoxLayout(group);
    auto* commands = new QVBoxLayout;
    commands->addWidget(cmdAddCaptions);
    commands->addWidget(cmdRemoveCaption);
    commands->addStretch();
    layout->addWidget(grdCaptions);
    layout->addLayout(commands);
    return group;
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
        {cmdCancel, [this] { m_selection.cancel(); }},
        {cmdHelp, [this] { m_selection.help(); }},
        {cmdAddCaptions, [this] { m_selection.addCaptionFiles(); }},
        {cmdRemoveCaption,
         [this] { m_selection.removeCaption(qMax(grdCaptions->currentRow(), 0)); }},
    };
    for (const auto& [button, command] : commands)
        connect(button, &QPushButton::clicked, this, [this, command] { forward(command); });
    connect(cmdSave, &QPushButton::clicked, this,
            [this] { forward([this] { m_selection.save(); }, Accepted); });
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
    chkHtml5->setChecked(m_selection.html5Files());
    chkHtml5->setEnabled(m_selection.html5CheckEnabled());
    enableHtml5Command(cmdMp4File, m_selection.mp4FileEnabled());
    enableHtml5Command(cmdWebmFile, m_selection.webmFileEnabled());
    enableHtml5Command(cmdMakeMp4, m_selection.makeFromFlashEnabled());
    enableHtml5Command(cmdMakeWebm, m_selection.makeWebmFromFlashEnabled());
    showCaptions();
}
