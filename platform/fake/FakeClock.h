// A clock that reports whatever day the test sets.
#pragma once

#include "platform/Clock.h"

namespace tv {

class FakeClock : public Clock {
public:
    explicit FakeClock(LocalDate today = {2009, 10, 25}) : today_(today) {}
    LocalDate Today() const override { return today_; }
    void SetToday(LocalDate today) { today_ = today; }

private:
    LocalDate today_;
};

}  // namespace tv
