#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>
#include <memory>

#include "ui_FrmMain.h"

class FrmAdvancedOptions;
class InputRulesFilter;
class MainController;
class SettingsBinder;
struct ControlStates;
struct ProjectSettings;

// The main window. It holds no settings of its own: every user change is forwarded to the
// controller, and refresh() then shows the controller's state again. The controller is passed
// in, so tests can drive the window with scripted dialogs and views.
class FrmMain : public QMainWindow, private Ui::FrmMainForm {
    Q_OBJECT

  public:
    explicit FrmMain(MainController& controller, QWidget* parent = nullptr);
    ~FrmMain() override;

    // Copies the settings and the dependent control states into the widgets, with their
    // signals blocked so that showing a value is never mistaken for a user change.
    void refresh();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The parts of the form that depend on the fonts, the installation or the controller.
    void fitSymbolButtons();
    void keepSettingsColumnWhole();
    void showLikeButton();
    void watchControls();

    void connectMenus();
    void connectVideoSource();
    // The settings' own controls, through the profile's table (SettingsBinder).
    void connectSettings();
    void connectAppearance();
    void connectCommands();

    // Runs a handler of the controller, reports an error the way every error trap does, and
    // shows the resulting state.
    void forward(const std::function<void()>& handler);

    // Sets every control property of the states' rows (ControlStates::flagRows, textRows).
    void refreshControlStates(const ControlStates& states);
    void refreshVideoSource(const ProjectSettings& s);
    // The lists' entries, the swatches and the preview; the chosen entry is a setting's.
    void refreshAppearance(const ProjectSettings& s, const ControlStates& states);
    void refreshImages(const ProjectSettings& s);
    void refreshPreview();

    void showPlayerSizesDialog();
    void showAdvancedOptionsDialog();
    void showAboutWindow();
    void openPage(const QString& address);

    MainController& m_controller;
    QList<QObject*> m_controls;        // every control whose signals refresh() blocks
    QHash<QString, QObject*> m_named;  // the same controls by objectName
    QString m_previewShown;            // the skin and tint of the picture imgVideoPlayerStyle shows
    FrmAdvancedOptions* m_advancedOptions = nullptr;  // kept: its edits last for the whole run
    InputRulesFilter* m_keyFilter = nullptr;
    std::unique_ptr<SettingsBinder> m_binder;
};
