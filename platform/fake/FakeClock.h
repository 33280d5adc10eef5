// A clock that reports whatever day and time the test sets.
#pragma once

#include "platform/Clock.h"

namespace tv {

class FakeClock : public Clock {
public:
    explicit FakeClock(LocalDate today = {2009, 10, 25}) : today_(today) {}
    LocalDate Today() const override { return today_; }
    LocalDateTime Now() const override { return {today_, time_}; }
    void SetToday(LocalDate today) { today_ = today; }
    void SetTime(TimeOfDay time) { time_ = time; }

private:
    LocalDate today_;
    TimeOfDay time_{12, 0, 0};
};

}  // namespace tv
