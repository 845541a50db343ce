#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

class MainController;

// Applies the values of a profile to the main window by their line number (ProfileLayout), each
// as its control's change (MainWindowModel::change), exactly as if the user had made it. Lines past
// the last known one are ignored; a shorter profile changes only the settings whose lines are
// present.
class ProfileApplier {
  public:
    explicit ProfileApplier(MainController& controller) : m_controller(controller) {}

    // Raises AppError on a value its control cannot take; earlier lines stay applied.
    void apply(const QStringList& values);
    // The same for the lines given, by line number, in line order.
    void apply(const QMap<int, QString>& lines);

  private:
    MainController& m_controller;
};
