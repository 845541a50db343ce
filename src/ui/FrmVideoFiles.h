#pragma once

#include <QDialog>
#include <functional>

class VideoFilesDialogModel;

// What the two video-selection windows share: each shows a selection of the controller, forwards
// the events of its controls to it, and hides itself when the selection has closed. Create one
// once and show it again for every use: it holds no state of its own.
class FrmVideoFiles : public QDialog {
    Q_OBJECT

  public:
    FrmVideoFiles(VideoFilesDialogModel& selection, QWidget* parent);

  protected:
    // Runs a command of the selection, shows the outcome, and hides the window (with `result`)
    // when the selection has closed it.
    void forward(const std::function<void()>& command, int result = Rejected);
    // Puts the selection's state into the controls.
    virtual void showState() = 0;
    // Enables an Mp4 or WebM command of the window; disabled because HTML5 support is off, its
    // tool tip says so, and enabled again it gets its own tool tip back.
    void enableHtml5Command(QWidget* command, bool enabled);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;  // Escape: the same as "&Cancel"

  private:
    VideoFilesDialogModel& m_selection;
};
