#pragma once

#include <QStringList>
#include <functional>
#include <vector>

class MainWindowModel;
class QWidget;

// Ties the main window's controls to the settings by the profile's table: each row that names a
// control (ProfileSetting::control) is found in the window by its object name and, by the
// control's type, forwards the user's change to the window's model (MainWindowModel::change) and
// shows the setting again on refresh. A check box holds a check, a list an index, a text box or
// the multi-line box a text, a label a text that commands set. A new setting with its control is
// bound by its row alone.
class SettingsBinder {
  public:
    // Runs a change the way the window runs every handler: errors reported, then refreshed.
    using Run = std::function<void(const std::function<void()>&)>;

    SettingsBinder(QWidget& window, MainWindowModel& model, Run run);

    // Shows every bound setting in its control. The caller blocks the controls' signals, so
    // showing a value is never taken for the user's change.
    void refresh() const;
    // The rows whose control the window lacks or whose control cannot hold their kind of value,
    // each as "Key: control"; such a row is left unbound.
    const QStringList& unbound() const { return m_unbound; }

  private:
    MainWindowModel& m_model;
    Run m_run;
    std::vector<std::function<void()>> m_refreshers;
    QStringList m_unbound;
};
