#pragma once

#include "platform/Clock.h"

namespace tv {

// GetLocalTime.
class Win32Clock : public Clock {
public:
    LocalDate Today() const override;
    LocalDateTime Now() const override;
};

}  // namespace tv
