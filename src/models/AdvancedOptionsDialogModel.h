#pragma once

#include <QString>

#include "settings/AdvancedOptions.h"

class Dialogs;
class Views;

// What frmAdvancedOptions does apart from drawing itself: load the options file, check and save
// the values of the boxes. The values in the boxes stay in force whether saved or not.
class AdvancedOptionsDialogModel {
  public:
    AdvancedOptionsDialogModel(Dialogs& dialogs, Views& views, QString configFolder);

    // The options of the file; when the file cannot be used the defaults, after a warning.
    AdvancedOptions load();
    // Checks the three required boxes in order (message and focus on the first empty one) and
    // that the file can hold every character, asks "DO YOU WANT TO SAVE?", writes and confirms.
    // True when the file was written.
    bool save(const AdvancedOptions& options);

  private:
    bool checkRequired(const AdvancedOptions& options);
    bool checkStorable(const AdvancedOptions& options);

    Dialogs& m_dialogs;
    Views& m_views;
    QString m_configFolder;
};
