#include "platform/RandomSource.h"

#include <chrono>

void SystemRandom::reseedFromClock() {
    const auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    m_engine.seed(static_cast<std::mt19937::result_type>(ticks));
}

double SystemRandom::nextUniform() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine);
}
