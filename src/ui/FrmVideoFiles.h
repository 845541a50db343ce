#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QPushButton;
class VideoFilesDialogModel;

// What the two video-selection windows share: each shows a selection of the controller, forwards
// the events of its controls to it, and hides itself when the selection has closed. The controls
// both have, which each form lays out in its own place, are run here: the HTML5 mirror and
// "Save and E&xit", "&Cancel" and "&Help". Create one once and show it again for every use: it
// holds no state of its own.
class FrmVideoFiles : public QDialog {
    Q_OBJECT

  public:
    FrmVideoFiles(VideoFilesDialogModel& selection, QWidget* parent);

  protected:
    struct CommonControls {
        QCheckBox* html5;  // chkHtml5
        QPushButton* save;
        QPushButton* cancel;
        QPushButton* help;
    };

    // Connects the common controls to the selection; called once the window's form is set up.
    void takeCommonControls(const CommonControls& controls);
    // Runs a command of the selection, shows the outcome, and hides the window (with `result`)
    // when the selection has closed it.
    void forward(const std::function<void()>& command, int result = Rejected);
    // Puts the selection's state into the common controls, then into the window's own.
    void refresh();
    virtual void showState() = 0;
    // Enables an Mp4 or WebM command of the window; disabled because HTML5 support is off, its
    // tool tip says so, and enabled again it gets its own tool tip back.
    void enableHtml5Command(QWidget* command, bool enabled);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;  // Escape: the same as "&Cancel"

  private:
    VideoFilesDialogModel& m_selection;
    CommonControls m_common{};
};
