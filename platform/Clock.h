// The local date and time, behind the seam so tests can choose the day.
#pragma once

namespace tv {

struct LocalDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDate Today() const = 0;
};

}  // namespace tv
