#pragma once

#include <QList>
#include <utility>

#include "convert/Html5Format.h"
#include "media/SingleVideo.h"
#include "ui/FrmVideoFiles.h"
#include "ui_FrmVideoFilesSingle.h"

class MainController;
class SingleVideoDialogModel;

// frmVideoFilesSingle, "Select Video File(s)": shows the single-video selection of the controller
// and forwards its buttons to it. The selection decides when the dialog closes; the dialog hides
// itself then. Create it once and show it again for every use: it holds no state of its own.
class FrmVideoFilesSingle : public FrmVideoFiles, private Ui::FrmVideoFilesSingleForm {
    Q_OBJECT

  public:
    explicit FrmVideoFilesSingle(MainController& controller, QWidget* parent = nullptr);

  protected:
    void showState() override;

  private:
    void alignValues();
    void connectCommands();
    void showCaptions();
    // The Flash file's HTML5 copy, made behind a progress window.
    void makeFromFlash(Html5Format format);

    SingleVideoDialogModel& m_selection;
    QList<std::pair<QLabel*, QString SingleVideo::*>> m_fields;
};
