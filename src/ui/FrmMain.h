#pragma once

#include <QHash>
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

class FrmAdvancedOptions;
class InputRulesFilter;
class MainController;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class SettingsBinder;
class TintSwatches;
struct ControlStates;
struct ProjectSettings;

// The main window. It holds no settings of its own: every user change is forwarded to the
// controller, and refresh() then shows the controller's state again. The controller is passed
// in, so tests can drive the window with scripted dialogs and views.
class FrmMain : public QMainWindow {
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
    void buildMenus();
    QWidget* buildSettingsColumn();
    QWidget* buildSettingsFrame();
    QWidget* buildVideoSource();
    QWidget* buildPaths();
    QWidget* buildAppearance();
    QWidget* buildTintBoxes();
    QWidget* buildOptions();
    QWidget* buildImageCommands();
    QWidget* buildCommands();
    QWidget* buildTabs();
    QWidget* buildMarketingTab();
    QWidget* buildPreviewTab();
    QWidget* buildImageTab(int index);

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

    QMenu* mnuFile = nullptr;
    QAction* mnuSaveProfile = nullptr;
    QAction* mnuLoadProfile = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuVideoPlayerSizes = nullptr;
    QAction* mnuAdvancedOptions = nullptr;
    QMenu* mnuStreamingMode = nullptr;
    QAction* mnuNormalStreaming = nullptr;
    QAction* mnuRtmpStreaming = nullptr;
    QAction* mnuPseudoStreaming = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuDocumentation = nullptr;
    QAction* mnuSupport = nullptr;
    QAction* mnuAbout = nullptr;

    QGroupBox* Frame1 = nullptr;
    QRadioButton* optSingle = nullptr;
    QRadioButton* optMultiple = nullptr;
    QPushButton* cmdVideoFiles = nullptr;
    QLabel* lblVideoFilesStatus = nullptr;
    QLineEdit* txtServerPath = nullptr;
    QPushButton* cmdHelpServerPath = nullptr;
    QLineEdit* txtVideoPath = nullptr;
    QPushButton* cmdHelpVideoPath = nullptr;
    QPushButton* cmdOutput = nullptr;
    QLabel* lblOutDir = nullptr;

    QComboBox* cmbPlayerStyle = nullptr;
    QComboBox* cmbPlayerSize = nullptr;
    QLineEdit* txtPlayerColor = nullptr;
    QFrame* shpPlayerColor = nullptr;
    QPushButton* cmdChangePlayerColor = nullptr;
    QLabel* lblPlayerTintMessage = nullptr;
    TintSwatches* pctPlayerColorTint = nullptr;

    QCheckBox* chkHtml5 = nullptr;
    QCheckBox* chkShowBigPlayButton = nullptr;
    QLineEdit* txtAudioLevel = nullptr;
    QCheckBox* chkAutoPlay = nullptr;
    QCheckBox* chkAutoProgress = nullptr;
    QCheckBox* chkIsLive = nullptr;
    QCheckBox* chkEncrypt = nullptr;
    QCheckBox* chkPlaysInline = nullptr;
    QCheckBox* chkMutedAutoPlay = nullptr;
    QCheckBox* chkFluidSize = nullptr;

    QPushButton* cmdIntroImage = nullptr;
    QPushButton* cmdClearIntroImage = nullptr;
    QLabel* lblIntroImageName = nullptr;
    QPushButton* cmdOutroImage = nullptr;
    QPushButton* cmdClearOutroImage = nullptr;
    QLabel* lblOutroImageName = nullptr;

    QPushButton* cmdGenerate = nullptr;
    QPushButton* cmdSupportTicket = nullptr;
    QLabel* imgFBLike = nullptr;

    QTabWidget* sstThis = nullptr;
    QLabel* lblRedirectURL = nullptr;
    QLineEdit* txtRedirectURL = nullptr;
    QLineEdit* txtAffiliateLink = nullptr;
    QLabel* lblActionCode = nullptr;
    QPlainTextEdit* txtActionCode = nullptr;
    QCheckBox* chkShowEmbedCode = nullptr;
    QCheckBox* chkSocialShare = nullptr;
    QLabel* imgVideoPlayerStyle = nullptr;

    QLabel* pctShowIntroImage = nullptr;
    QPushButton* cmdIntroImage2 = nullptr;
    QPushButton* cmdClearIntroImage2 = nullptr;
    QPushButton* cmdShowIntroImage = nullptr;
    QLabel* lblIntroImagePath = nullptr;
    QLabel* pctShowOutroImage = nullptr;
    QPushButton* cmdOutroImage2 = nullptr;
    QPushButton* cmdClearOutroImage2 = nullptr;
    QPushButton* cmdShowOutroImage = nullptr;
    QLabel* lblOutroImagePath = nullptr;
    std::array<QLabel*, 2> lblImageMsg{};
};
