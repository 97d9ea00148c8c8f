// 每日节数表: each teacher's number of lessons on each weekday and in the week.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/week.h"

namespace daike {

class Store;

struct DailyCount {
    std::optional<std::string> name;
    week::PerDay<double> lessons{};  // columns "1" to "5"
    double total = 0;                // 总和
};

namespace dailycounts {

std::vector<DailyCount> all(Store& store);
std::optional<DailyCount> find(Store& store, std::string_view name);
// Replaces every row with these, in this order.
void replaceAll(Store& store, const std::vector<DailyCount>& rows);

}  // namespace dailycounts
}  // namespace daike
