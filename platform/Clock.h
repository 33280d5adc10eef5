// The local date and time, behind the seam so tests can choose the day.
#pragma once

namespace tv {

struct LocalDate {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
};

struct TimeOfDay {
    int hour = 0;    // 0..23
    int minute = 0;  // 0..59
    int second = 0;  // 0..59
};

struct LocalDateTime {
    LocalDate date;
    TimeOfDay time;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDate Today() const = 0;
    // Date and time of day read together, so they never straddle midnight.
    virtual LocalDateTime Now() const = 0;
};

}  // namespace tv
