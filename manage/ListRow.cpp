#include "manage/ListRow.h"

#include <algorithm>
#include <cstdlib>

namespace tv {

const char kSafeYes[] = "是";
const char kSafeNo[] = "[UN]";

void SortBySafeFlag(std::vector<ListRow>* rows, size_t flagColumn) {
    for (auto& row : *rows) row.itemData = std::atoi(row[flagColumn].c_str());
    std::stable_sort(rows->begin(), rows->end(),
                     [](const ListRow& a, const ListRow& b) { return a.itemData < b.itemData; });
}

}  // namespace tv
