#pragma once

#include <QQueue>
#include <QTime>

#include "platform/Clock.h"
#include "platform/RandomSource.h"

class FakeClock : public Clock {
  public:
    QTime time{14, 7, 9};
    QTime currentTime() const override { return time; }
};

// Returns `value` (or the queued values first); counts reseeds.
class FakeRandom : public RandomSource {
  public:
    double value = 0.0;
    QQueue<double> values;
    int reseeds = 0;
    void reseedFromClock() override { ++reseeds; }
    double nextUniform() override { return values.isEmpty() ? value : values.dequeue(); }
};
