#include "engine/group_text.h"

#include <algorithm>
#include <map>

#include "basedata/classes.h"
#include "engine/day_board.h"
#include "engine/swap_notice.h"
#include "school/term_start.h"
#include "school/working_day.h"
#include "store/tables/teachers.h"
#include "store/value.h"
#include "store/week.h"

namespace daike::grouptext {

namespace {

const std::string kHead = "【代课】";
const std::string kChangesHead = "【代课变更】";
const std::string kSwapWithdrawnHead = "【调课取消】";
const std::string kBetween = "、";
const std::string kNoLongerNeeded = "不用代了";

// The records grouped by `key`, groups in the order their key first appears, each group's
// records in period order (ties as given).
template <class Key>
std::vector<std::vector<CoverRecord>> groupsBy(const std::vector<CoverRecord>& records, Key key) {
    std::vector<std::vector<CoverRecord>> groups;
    std::vector<std::string> keys;
    for (const auto& r : records) {
        const std::string k = key(r);
        auto at = std::find(keys.begin(), keys.end(), k);
        if (at == keys.end()) {
            keys.push_back(k);
            groups.emplace_back();
            at = keys.end() - 1;
        }
        groups[static_cast<std::size_t>(at - keys.begin())].push_back(r);
    }
    for (auto& g : groups)
        std::stable_sort(g.begin(), g.end(), [](const CoverRecord& a, const CoverRecord& b) {
            return a.period < b.period;
        });
    return groups;
}

std::vector<std::vector<CoverRecord>> bySubstitute(const std::vector<CoverRecord>& records) {
    return groupsBy(records, [](const CoverRecord& r) { return r.substitute; });
}

std::vector<std::vector<CoverRecord>> byClass(const std::vector<CoverRecord>& records) {
    auto groups = groupsBy(records, [](const CoverRecord& r) { return r.cls; });
    std::stable_sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) {
        return classBefore(a.front().cls, b.front().cls);
    });
    return groups;
}

// "三(2)班"; a class already named so ("兴趣班") keeps its name.
std::string className(const std::string& cls) {
    return cls.ends_with("班") ? cls : cls + "班";
}

// One lesson as the substitute reads it: "第1节 三(2)语文（程静）".
std::string forSubstitute(const CoverRecord& r, const PeriodTimes& times, bool withdrawn) {
    std::string s = times.label(r.period) + " " + r.cls + r.subject;
    return withdrawn ? s : s + "（" + r.absent + "）";
}

// One lesson as the head teacher reads it: "第1节 语文 赵晶超代（程静）".
std::string forClass(const CoverRecord& r, const PeriodTimes& times, bool withdrawn) {
    const std::string s = times.label(r.period) + " " + r.subject + " " + r.substitute;
    return withdrawn ? s + kNoLongerNeeded : s + "代（" + r.absent + "）";
}

std::string substituteLine(const std::vector<CoverRecord>& lessons, const PeriodTimes& times,
                           bool withdrawn) {
    std::string s = lessons.front().substitute + "：";
    for (std::size_t i = 0; i < lessons.size(); ++i)
        s += (i ? kBetween : "") + forSubstitute(lessons[i], times, withdrawn);
    return withdrawn ? s + " " + kNoLongerNeeded : s;
}

std::string classLine(const std::vector<CoverRecord>& lessons, const PeriodTimes& times,
                      bool withdrawn) {
    std::string s = className(lessons.front().cls) + "：";
    for (std::size_t i = 0; i < lessons.size(); ++i)
        s += (i ? kBetween : "") + forClass(lessons[i], times, withdrawn);
    return s;
}

std::vector<std::string> lines(const std::vector<CoverRecord>& records, Form form,
                               const PeriodTimes& times, bool withdrawn) {
    std::vector<std::string> out;
    if (form == Form::ByTeacher)
        for (const auto& g : bySubstitute(records))
            out.push_back(substituteLine(g, times, withdrawn));
    else
        for (const auto& g : byClass(records)) out.push_back(classLine(g, times, withdrawn));
    return out;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string s;
    for (std::size_t i = 0; i < lines.size(); ++i) s += (i ? "\n" : "") + lines[i];
    return s;
}

// The records of the working day (records of a day not yet cleared by 新的一天 are not its cover).
std::vector<CoverRecord> ofDay(std::vector<CoverRecord> records, const Day& day) {
    std::erase_if(records,
                  [&](const CoverRecord& r) { return !board::onDay(r, day.week, day.weekday); });
    return records;
}

// Substitutes in the order of the school's teacher list read in Chinese order; names not in it
// after those, in code point order; each substitute's records as they were.
void inChineseOrder(std::vector<CoverRecord>& records, const std::map<std::string, int>& rank) {
    auto rankOf = [&](const std::string& name) {
        const auto at = rank.find(name);
        return at == rank.end() ? static_cast<int>(rank.size()) : at->second;
    };
    std::stable_sort(
        records.begin(), records.end(), [&](const CoverRecord& a, const CoverRecord& b) {
            const int ra = rankOf(a.substitute), rb = rankOf(b.substitute);
            return ra != rb ? ra < rb
                            : ra == static_cast<int>(rank.size()) && a.substitute < b.substitute;
        });
}

}  // namespace

std::string dayText(const Day& day) {
    const std::string weekday = "周" + std::string(week::weekdayNumeral(day.weekday));
    if (day.date) {
        const std::chrono::year_month_day d{*day.date};
        return std::to_string(static_cast<unsigned>(d.month())) + "月" +
               std::to_string(static_cast<unsigned>(d.day())) + "日（" + weekday + "）";
    }
    if (day.week > 0) return "第" + std::to_string(day.week) + "周" + weekday;
    return weekday;
}

std::string wholeDay(const std::vector<CoverRecord>& cover, Form form, const Day& day,
                     const PeriodTimes& times) {
    auto out = lines(cover, form, times, false);
    const std::string head = kHead + dayText(day);
    for (auto& l : out) l = head + l;
    return joined(out);
}

std::string changesOnly(const std::vector<CoverRecord>& added,
                        const std::vector<CoverRecord>& withdrawn, Form form, const Day& day,
                        const PeriodTimes& times) {
    if (added.empty() && withdrawn.empty()) return {};
    std::vector<std::string> out{kChangesHead + dayText(day)};
    for (auto& l : lines(added, form, times, false)) out.push_back(std::move(l));
    for (auto& l : lines(withdrawn, form, times, true)) out.push_back(std::move(l));
    return joined(out);
}

std::string swapLines(const std::vector<SwapNote>& swaps, Form form, const Day& day,
                      const std::string& head) {
    std::vector<const SwapNote*> order;
    for (const auto& n : swaps) order.push_back(&n);
    if (form == Form::ByClass)
        std::stable_sort(order.begin(), order.end(), [](const SwapNote* a, const SwapNote* b) {
            return classBefore(a->cls, b->cls);
        });
    std::vector<std::string> out;
    for (const auto* n : order)
        out.push_back(head + dayText(day) +
                      (form == Form::ByTeacher ? n->teachers : className(n->cls)) + "：" + n->text);
    return joined(out);
}

std::string DayTexts::text(Form form, bool onlyChanges) const {
    if (onlyChanges && offersChanges()) {
        std::vector<std::string> parts;
        for (auto part : {changesOnly(changes.added, changes.withdrawn, form, day, times),
                          swapLines(swapChanges.added, form, day),
                          swapLines(swapChanges.withdrawn, form, day, kSwapWithdrawnHead)})
            if (!part.empty()) parts.push_back(std::move(part));
        return joined(parts);
    }
    const std::string covers = wholeDay(cover, form, day, times);
    const std::string swapped = swapLines(swaps, form, day);
    return covers.empty() || swapped.empty() ? covers + swapped : covers + "\n" + swapped;
}

DayTexts read(Store& store, const SchoolDay& workingDay) {
    DayTexts t;
    t.day.week = workingDay.knownWeek().value_or(0);
    t.day.weekday = workingDay.weekday;
    if (const auto start = readTermStart(store); start && t.day.week >= 1)
        t.day.date = calendar::dateOf(*start, t.day.week, t.day.weekday);
    t.times = readPeriodTimes(store);
    std::map<std::string, int> rank;
    for (const auto& name : teachers::namesInChineseOrder(store))
        rank.emplace(name, static_cast<int>(rank.size()));
    t.cover = ofDay(covers::read(store, CoverTable::Today), t.day);
    inChineseOrder(t.cover, rank);
    t.swaps = swapping::notesOfDay(store, t.day.week, t.day.weekday);
    t.changes = telling::sinceTold(store);
    t.swapChanges = telling::swapsSinceTold(store, t.day.week, t.day.weekday);
    t.changes.added = ofDay(std::move(t.changes.added), t.day);
    t.changes.withdrawn = ofDay(std::move(t.changes.withdrawn), t.day);
    inChineseOrder(t.changes.added, rank);
    inChineseOrder(t.changes.withdrawn, rank);
    return t;
}

}  // namespace daike::grouptext
