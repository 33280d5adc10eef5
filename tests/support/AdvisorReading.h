// The install advisor's verdict worked out by the tests themselves from the
// drives' own calls, to compare the program's report with.
#pragma once

#include <functional>
#include <string>

namespace tv::testing {

std::string IndependentAdvice();

// Runs `report` until it matches a reading taken just before or just after
// it (at most a few tries): drives that share one host disk (Wine's C: and
// Z:) change their free space together while other programs write, and
// whichever was larger at the moment of reading wins a near tie. The last
// report goes to *last.
bool ReportMatchesTheDrives(const std::function<std::string()>& report, std::string* last);

}  // namespace tv::testing
