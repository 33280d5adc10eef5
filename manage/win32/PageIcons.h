// Icon resources of the service and process pages.
#pragma once

namespace tv {

constexpr int kServiceRowIcon = 160;
constexpr int kPlainWindowIcon = 176;
constexpr int kRefreshIcon = 177;
constexpr int kDeleteIcon = 178;

}  // namespace tv
