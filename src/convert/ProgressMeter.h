#pragma once

#include <chrono>

#include "convert/Html5Copy.h"

// Hands a copy's progress to its callback: at every whole per cent and at least four times a
// second while it moves, so a window stays lively and a Cancel is heard soon.
class ProgressMeter {
  public:
    explicit ProgressMeter(CopyProgressCallback callback);

    // Reports `fraction` when it is due; false when the callback asked to cancel.
    bool update(double fraction);
    // The end: reports 1 with nothing left.
    void finish();

    // What remains at this pace; none while too little is done to tell (the first second, or less
    // than a hundredth), since the first moments of a copy say little about its speed.
    static std::optional<double> secondsLeft(double fraction, double elapsedSeconds);

  private:
    using Clock = std::chrono::steady_clock;

    CopyProgressCallback m_callback;
    Clock::time_point m_start = Clock::now();
    Clock::time_point m_lastReport = m_start;
    double m_lastFraction = -1;
};
