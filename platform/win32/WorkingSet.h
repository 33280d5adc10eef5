#pragma once

namespace tv {

// Removes as many pages as possible from the process's working set.
void TrimWorkingSet();

}  // namespace tv
