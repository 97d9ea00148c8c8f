// 代课节数: each teacher's cover tally, lessons covered today and this term. A teacher who may
// be a candidate needs a row; the first row of a name is the one that counts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace daike {

class Store;

struct Tally {
    std::string name;
    double today = 0;  // 当日代课
    double term = 0;   // 学期代课
};

namespace tallies {

// Every row in table order.
std::vector<Tally> all(Store& store);
std::optional<Tally> find(Store& store, std::string_view name);
// One more lesson covered today and this term; false when the teacher has no row.
bool addCover(Store& store, std::string_view name);
// One more lesson covered this term only (a cover of an earlier day recorded afterwards).
bool addTermCover(Store& store, std::string_view name);
// One more lesson covered today, already counted in the term (a day taken up again).
bool addToday(Store& store, std::string_view name);
// One lesson fewer, today and this term, neither going below 0; false when no row.
bool takeCover(Store& store, std::string_view name);
// One lesson fewer this term only (a term record replaced), not below 0; false when no row.
bool takeTermCover(Store& store, std::string_view name);
// A new day: nobody has covered anything today.
void resetToday(Store& store);
// One row per name, 0 and 0, in this order.
void rebuild(Store& store, const std::vector<std::optional<std::string>>& names);

}  // namespace tallies
}  // namespace daike
