// A clock that reports whatever day and time the test sets.
#pragma once

#include "platform/Clock.h"

namespace tv {

class FakeClock : public Clock {
public:
    explicit FakeClock(LocalDate today = {2009, 10, 25}) : today_(today) {}
    LocalDate Today() const override { return today_; }
    // A ticking clock moves on a second after each reading (within the
    // minute), as a slow machine's clock does between two readings.
    LocalDateTime Now() const override {
        const LocalDateTime now{today_, time_};
        if (ticking_ && time_.second < 59) ++time_.second;
        return now;
    }
    void SetToday(LocalDate today) { today_ = today; }
    void SetTime(TimeOfDay time) { time_ = time; }
    void SetTicking(bool ticking) { ticking_ = ticking; }

private:
    LocalDate today_;
    mutable TimeOfDay time_{12, 0, 0};
    bool ticking_ = false;
};

}  // namespace tv
