#include "engine/swap_notice.h"

#include "engine/swaps.h"
#include "school/term_start.h"

namespace daike::swapping {

std::vector<SwapRecord> touchingDay(Store& store, int week, int weekday) {
    const auto start = readTermStartText(store);
    if (!start) return {};
    return swaps::ofDay(store, *start, week, weekday);
}

std::string toldTo(Store& store, const SwapRecord& s, const std::string& reader) {
    auto who = [&](const std::string& name) { return name == reader ? std::string("您") : name; };
    std::string text = slotText(store, s.first) + " " + who(s.colleague) + "代" + who(s.teacher) +
                       "上" + s.cls + s.subject + "；" + who(s.teacher);
    if (s.second)
        return text + "于" + slotText(store, *s.second) + "上" + who(s.colleague) + "的" + s.cls +
               s.colleagueSubject;
    return text + "日后还课";
}

std::vector<ToldSwap> notesOfDay(Store& store, int week, int weekday) {
    std::vector<ToldSwap> out;
    for (const auto& s : touchingDay(store, week, weekday))
        out.push_back({s.colleague + "、" + s.teacher, s.cls, toldTo(store, s, {})});
    return out;
}

}  // namespace daike::swapping
