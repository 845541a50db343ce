#pragma once

#include <QTime>

// The time of day, injected so that a run's tag is predictable in tests.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual QTime currentTime() const = 0;
};

class SystemClock : public Clock {
  public:
    QTime currentTime() const override { return QTime::currentTime(); }
};
