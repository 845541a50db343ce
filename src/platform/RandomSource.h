#pragma once

#include <random>

// Uniform random numbers in [0, 1), injected so that the video-mode code is predictable in tests.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void reseedFromClock() = 0;
    virtual double nextUniform() = 0;
};

class SystemRandom : public RandomSource {
  public:
    void reseedFromClock() override;
    double nextUniform() override;

  private:
    std::mt19937 m_engine{5489u};
};
