// 调课记录: the lessons two teachers of one class exchanged, one row per swap: the first slot
// (the lesson of the teacher who gave it up, taught by the colleague), the return slot (a
// lesson of the colleague's, taught by the first teacher; none while the return is still to
// be fixed), the class, both teachers and subjects, the reason, whether the lesson was paid
// back, and when it was recorded. 调课设置: how far ahead a return is looked for and whether the
// day's proposal tries a swap first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace daike {

class Store;

// A teaching slot of the term: week, weekday (1 to 5) and period.
struct Slot {
    int week = 0;
    int weekday = 0;
    int period = 0;

    bool operator==(const Slot&) const = default;
    auto operator<=>(const Slot&) const = default;
    bool sameDay(const Slot& o) const { return week == o.week && weekday == o.weekday; }
};

struct SwapRecord {
    std::int64_t id = 0;    // where it is stored; 0 for one not stored yet
    std::string termStart;  // the first day of term as stored when it was recorded
    Slot first;             // the lesson given up: the first teacher's, taught by the colleague
    std::optional<Slot> second;  // the colleague's lesson the first teacher takes in return
    std::string cls;
    std::string teacher;  // the first teacher (absent, or agreeing to the swap)
    std::string subject;  // his subject in the first slot
    std::string colleague;
    std::string colleagueSubject;  // the colleague's subject in the return slot
    std::string reason;            // the first teacher's absence; "" for a swap agreed between them
    bool paidBack = false;         // the return slot is fixed
    std::string recorded;          // "2026-12-09 08:15"

    bool oneWay() const { return !second.has_value(); }
};

struct SwapSettings {
    int days = 5;              // school days after the lesson's own in which a return is sought
    bool preferSwaps = false;  // 短假优先调课: the day's proposal offers a swap first
};

// A swap of a day as its teachers were told of it (已通知调课).
struct ToldSwap {
    std::string teachers;  // "李老师、张老师"
    std::string cls;
    std::string text;  // the swap in words, as the group's text has it
    bool operator==(const ToldSwap&) const = default;
};

namespace swaps {

// Every swap of the term that starts on this stored first day, in recording order.
std::vector<SwapRecord> ofTerm(Store& store, const std::string& termStart);
// Those of the term with a slot on that day (the first or the return), in recording order.
std::vector<SwapRecord> ofDay(Store& store, const std::string& termStart, int week, int weekday);
// Every swap kept, of any term, in recording order (the statistics over dates across terms).
std::vector<SwapRecord> all(Store& store);
std::optional<SwapRecord> find(Store& store, std::int64_t id);
std::int64_t add(Store& store, const SwapRecord& swap);
bool remove(Store& store, std::int64_t id);
// Fixes the return slot of a one-way swap: the colleague's lesson and subject then.
void setReturn(Store& store, std::int64_t id, const Slot& second, const std::string& subject);
void clear(Store& store);
// The swaps of one term (its first day as stored) go; those of other terms stay.
void clearTerm(Store& store, const std::string& termStart);

// What the teachers were told of the day's swaps, in the order told; nothing when that was of
// another day.
std::vector<ToldSwap> toldOf(Store& store, int week, int weekday);
// Whether they were told of any swap of that day.
bool toldAny(Store& store, int week, int weekday);
// The day's swaps are what they were told now (the rows of another day go).
void replaceTold(Store& store, int week, int weekday, const std::vector<ToldSwap>& told);
void clearTold(Store& store);

SwapSettings settings(Store& store);
void setSettings(Store& store, const SwapSettings& settings);

}  // namespace swaps
}  // namespace daike
