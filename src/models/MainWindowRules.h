#pragma once

#include <QString>
#include <span>

#include "models/ControlStates.h"
#include "settings/ProfileSetting.h"

class MainWindowModel;

// The main window's reactive rules, one row per setting that a change makes others follow: what
// it enables, disables, clears or fills, and the text boxes whose tool tip shows their text.
// MainWindowModel::change stores a new value and then runs its row, so a user's change of a
// control and a profile's line take the same path. A setting without a row is only stored.
//
// The skin, the player size and the tint text have no row here: their rules read the
// installation (skin list, palettes, sizes file), so the controller keeps them and hands them to
// the model with MainWindowModel::takeChanges, which calls them in place of storing the value.
class MainWindowRules {
  public:
    struct Rule {
        ProfileSetting::Field field;
        void (*follow)(MainWindowModel& window);  // after the value is stored; may be null
        QString ControlStates::*toolTip;          // shows the text with a blank each side
    };

    static std::span<const Rule> rules();
    // nullptr for a setting that is only stored.
    static const Rule* of(const ProfileSetting::Field& field);

  private:
    static void liveVideo(MainWindowModel& window);
    static void autoStart(MainWindowModel& window);
    static void socialShare(MainWindowModel& window);
    static void marketingTabForward(MainWindowModel& window);
};
