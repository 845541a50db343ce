#include "convert/ProgressMeter.h"

#include <algorithm>

namespace {

constexpr double Step = 0.01;
constexpr auto Interval = std::chrono::milliseconds(250);

}  // namespace

ProgressMeter::ProgressMeter(CopyProgressCallback callback) : m_callback(std::move(callback)) {}

bool ProgressMeter::update(double fraction) {
    if (!m_callback)
        return true;
    fraction = std::clamp(fraction, 0.0, 1.0);
    const Clock::time_point now = Clock::now();
    if (fraction < m_lastFraction + Step && now - m_lastReport < Interval)
        return true;
    m_lastFraction = fraction;
    m_lastReport = now;
    const double elapsed = std::chrono::duration<double>(now - m_start).count();
    return m_callback({fraction, secondsLeft(fraction, elapsed)});
}

void ProgressMeter::finish() {
    if (m_callback)
        m_callback({1.0, 0.0});
}

std::optional<double> ProgressMeter::secondsLeft(double fraction, double elapsedSeconds) {
    if (fraction >= 1)
        return 0.0;
    if (fraction < Step || elapsedSeconds < 1)
        return std::nullopt;
    return elapsedSeconds * (1 - fraction) / fraction;
}
