#pragma once

#include <QList>
#include <utility>

#include "convert/Html5Format.h"
#include "media/SingleVideo.h"
#include "ui/FrmVideoFiles.h"

class CaptionTable;
class MainController;
class QCheckBox;
class QLabel;
class QPushButton;
class SingleVideoDialogModel;

// frmVideoFilesSingle, "Select Video File(s)": shows the single-video selection of the controller
// and forwards its buttons to it. The selection decides when the dialog closes; the dialog hides
// itself then. Create it once and show it again for every use: it holds no state of its own.
class FrmVideoFilesSingle : public FrmVideoFiles {
    Q_OBJECT

  public:
    explicit FrmVideoFilesSingle(MainController& controller, QWidget* parent = nullptr);

  protected:
    void showState() override;

  private:
    void buildLayout();
    QWidget* fileGroup(const QString& title, const QList<QPushButton*>& commands,
                       const QList<std::pair<QString, QLabel*>>& rows);
    QLabel* fieldLabel(const QString& name, QString SingleVideo::*field);
    QWidget* captionGroup();
    void connectCommands();
    void showCaptions();
    // The Flash file's HTML5 copy, made behind a progress window.
    void makeFromFlash(Html5Format format);

    SingleVideoDialogModel& m_selection;
    QList<std::pair<QLabel*, QString SingleVideo::*>> m_fields;
    QList<QLabel*> m_captions;  // of every group, one width, so the values line up

    QCheckBox* chkHtml5;
    QPushButton* cmdFLVFile;
    QPushButton* cmdMp4File;
    QPushButton* cmdWebmFile;
    QPushButton* cmdMakeMp4;
    QPushButton* cmdMakeWebm;
    QPushButton* cmdSave;
    QPushButton* cmdCancel;
    QPushButton* cmdHelp;
    QPushButton* cmdAddCaptions;
    QPushButton* cmdRemoveCaption;
    CaptionTable* grdCaptions;
    QLabel* lblFlvVideoFilePath;
    QLabel* lblFlvVideoFileName;
    QLabel* lblFlvVideoFilePathOnly;
    QLabel* lblFlvVideoFileNameRTMP;
    QLabel* lblMp4VideoFilePath;
    QLabel* lblMp4VideoFileName;
    QLabel* lblMp4VideoFilePathOnly;
    QLabel* lblWebmVideoFilePath;
    QLabel* lblWebmVideoFileName;
    QLabel* lblWebmVideoFilePathOnly;
};
