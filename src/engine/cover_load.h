// A teacher's cover load as the office weighs it at the moment of choosing: which periods of
// the day he teaches and covers, and how much he has covered today, this week and this term;
// and what the school's rules (代课规则) make of it: a limit reached, two lessons in a row, the
// order of 均衡安排.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/ranking.h"
#include "school/cover_rules.h"
#include "store/week.h"

namespace daike {

class Store;

namespace coverload {

enum class Slot : char { Free, Taught, Covered };

struct Load {
    week::PerPeriod<Slot> periods{};  // the day's periods
    int today = 0;                    // covers today (当日代课)
    int week = 0;                     // covers this teaching week, today's among them
    int term = 0;                     // covers this term (学期代课)
};

// The day as a strip: the period's number where he is free, "■" where he teaches, "□" where he
// covers: "1 2 ■ 4 □ 6".
std::string strip(const Load& load);

// The loads of every teacher on one day: his lessons of the weekday, today's cover of that
// weekday, the week's cover from the term's records (those stored with this 周次), the tallies.
class DayLoads {
  public:
    static DayLoads read(Store& store, std::string_view weekText, int weekday);
    // A teacher the tables do not know has no load.
    Load of(const std::string& name) const;
    // One more cover in the period, as recording it would count it.
    void addCover(const std::string& name, int period);

  private:
    std::unordered_map<std::string, Load> loads_;
};

enum class Limit { None, Day, Week };

// The limit the teacher has reached (one more cover would pass it), the day's first.
Limit reached(const rules::CoverRules& rules, const Load& load);
// "已达每日上限", "已达每周上限", "" for none.
std::string limitText(Limit limit);
// The question before the operator gives such a teacher one more cover by hand:
// "已代2节，超过每日上限，仍然安排？"; "" when no limit is reached.
std::string overLimitQuestion(Limit limit, const Load& load);
// Covering the period would put him in two lessons in a row: he teaches or covers the period
// just before or just after it.
bool inARow(const Load& load, int period);

// A candidate as the list shows him beside his ranking values.
struct Standing {
    Load load;
    Limit limit = Limit::None;
};

// The ranked candidates as the rules show them: those who reached a limit after the others,
// each part in ranking order; with 均衡安排 (`balanced`) the proposal's order within each
// affinity class (head teacher of the class, a main subject in it, the others): fewer covers
// today first, then fewer this week, then the ranking's. Returns the standings in the new
// order of the rows. With the plain rules nothing moves.
std::vector<Standing> arrange(std::vector<ranking::Candidate>& ranked, const DayLoads& loads,
                              const rules::CoverRules& rules, bool balanced);

// The first candidate the proposal may give the lesson of `period` under the rules: no limit
// reached and, unless allowed, not two lessons in a row; -1 when there is none.
int firstAllowed(const std::vector<Standing>& standings, const rules::CoverRules& rules,
                 int period);

}  // namespace coverload
}  // namespace daike
