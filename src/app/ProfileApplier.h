#pragma once

#include <QString>
#include <QStringList>

class MainController;

// Applies the values of a profile to the main window by their line number, each through the
// handler of its control, exactly as if the user had made the change. Lines past the last known
// one are ignored; a shorter profile changes only the settings whose lines are present.
class ProfileApplier {
  public:
    explicit ProfileApplier(MainController& controller) : m_controller(controller) {}

    // Raises AppError on a value its control cannot take; earlier lines stay applied.
    void apply(const QStringList& values);

  private:
    void applyLine(int number, const QString& value);
    void applyModeLine(const QString& value);
    void applyCheckLine(int number, bool on);
    void applyTextLine(int number, const QString& value);

    MainController& m_controller;
};
