#include "engine/swaps.h"

#include <algorithm>

#include "engine/ranking.h"
#include "school/name_search.h"
#include "school/term_start.h"
#include "store/store.h"
#include "store/tables/away.h"
#include "store/tables/covers.h"
#include "store/tables/exempt_list.h"
#include "store/tables/queue.h"
#include "store/tables/teachers.h"
#include "store/tables/timetable.h"
#include "store/text.h"
#include "store/week.h"

namespace daike::swapping {

namespace {

// The school day after (week, weekday): Friday is followed by the next week's Monday.
Slot nextDay(Slot s) {
    if (s.weekday >= week::kDays) {
        ++s.week;
        s.weekday = 1;
    } else {
        ++s.weekday;
    }
    return s;
}

// How many school days lie from a's day to b's (0 for the same day or an earlier one).
int schoolDaysBetween(const Slot& a, const Slot& b) {
    return std::max(0, (b.week - a.week) * week::kDays + (b.weekday - a.weekday));
}

bool coversSlot(const CoverRecord& r, const Slot& s) {
    return r.weekday == s.weekday && r.period == s.period &&
           static_cast<int>(leadingNumber(r.week)) == s.week;
}

// What is known of the term once, for one question about many slots.
class Term {
  public:
    Term(Store& store, const SchoolDay& workingDay)
        : store_(store), working_(workingDay), start_(readTermStartText(store).value_or("")) {
        swaps_ = swaps::ofTerm(store, start_);
        for (auto& n : exemptlist::names(store)) exempt_.insert(std::move(n));
    }

    const std::vector<SwapRecord>& swaps() const { return swaps_; }
    const std::string& start() const { return start_; }

    bool onWorkingDay(const Slot& s) const {
        return working_.weekKnown && working_.week == s.week && working_.weekday == s.weekday;
    }

    // The swap that takes this lesson of `owner` away in the slot, if any.
    const SwapRecord* swappedAway(const std::string& owner, const std::string& cls,
                                  const Slot& s) const {
        for (const auto& w : swaps_) {
            if (w.cls != cls) continue;
            if (w.first == s && w.teacher == owner) return &w;
            if (w.second && *w.second == s && w.colleague == owner) return &w;
        }
        return nullptr;
    }

    bool takingBySwap(const std::string& teacher, const Slot& s) const {
        for (const auto& w : swaps_) {
            if (w.first == s && w.colleague == teacher) return true;
            if (w.second && *w.second == s && w.teacher == teacher) return true;
        }
        return false;
    }

    bool ownLessonAt(const std::string& teacher, const Slot& s) const {
        LessonFilter f;
        f.teacher = teacher;
        f.weekday = s.weekday;
        f.period = s.period;
        for (const auto& l : timetable::read(store_, f))
            if (!swappedAway(teacher, l.cls, s)) return true;
        return false;
    }

    bool covering(const std::string& teacher, const Slot& s) const {
        CoverFilter f;
        f.substitute = teacher;
        f.weekday = s.weekday;
        f.period = s.period;
        for (const auto& r : covers::read(store_, CoverTable::Term, f))
            if (coversSlot(r, s)) return true;
        if (onWorkingDay(s)) {
            if (covers::any(store_, CoverTable::Today, f)) return true;
            if (away::isBooked(store_, s.period, teacher)) return true;
        }
        return false;
    }

    // Absent on the slot's day: a lesson of his swapped away or covered for an absence that
    // day, or, on the working day, a lesson of his waiting in the queue.
    bool absentOn(const std::string& teacher, const Slot& s) const {
        for (const auto& w : swaps_)
            if (w.teacher == teacher && !w.reason.empty() && w.first.sameDay(s)) return true;
        CoverFilter f;
        f.absent = teacher;
        f.weekday = s.weekday;
        for (const auto& r : covers::read(store_, CoverTable::Term, f))
            if (static_cast<int>(leadingNumber(r.week)) == s.week) return true;
        if (onWorkingDay(s)) {
            LessonFilter q;
            q.teacher = teacher;
            q.weekday = s.weekday;
            if (!queue::read(store_, q).empty()) return true;
            CoverFilter today;
            today.absent = teacher;
            if (covers::any(store_, CoverTable::Today, today)) return true;
        }
        return false;
    }

    bool freeAndPresent(const std::string& teacher, const Slot& s) const {
        return !exempt_.count(teacher) && !ownLessonAt(teacher, s) && !takingBySwap(teacher, s) &&
               !covering(teacher, s) && !absentOn(teacher, s);
    }

    // A lesson still taught by its own teacher in the slot: neither covered nor swapped away.
    bool lessonOpen(const std::string& owner, const std::string& cls, const std::string& subject,
                    const Slot& s) const {
        if (swappedAway(owner, cls, s)) return false;
        CoverFilter f;
        f.absent = owner;
        f.weekday = s.weekday;
        f.cls = cls;
        f.period = s.period;
        f.subject = subject;
        for (const auto& r : covers::read(store_, CoverTable::Term, f))
            if (coversSlot(r, s)) return false;
        if (onWorkingDay(s) && covers::any(store_, CoverTable::Today, f)) return false;
        return true;
    }

    // Who covers the lesson in the slot (the term's record, or today's on the working day).
    std::string substituteOf(const std::string& owner, const std::string& cls,
                             const std::string& subject, const Slot& s) const {
        CoverFilter f;
        f.absent = owner;
        f.weekday = s.weekday;
        f.cls = cls;
        f.period = s.period;
        f.subject = subject;
        for (const auto& r : covers::read(store_, CoverTable::Term, f))
            if (coversSlot(r, s)) return r.substitute;
        if (onWorkingDay(s)) {
            const auto today = covers::read(store_, CoverTable::Today, f);
            if (!today.empty()) return today.front().substitute;
        }
        return {};
    }

    std::optional<calendar::Day> dateOf(const Slot& s) const {
        const auto start = calendar::parseDate(start_);
        if (!start || s.week < 1) return std::nullopt;
        return calendar::dateOf(*start, s.week, s.weekday);
    }

  private:
    Store& store_;
    SchoolDay working_;
    std::string start_;
    std::vector<SwapRecord> swaps_;
    std::set<std::string> exempt_;
};

std::string monthDay(calendar::Day day) {
    const std::chrono::year_month_day ymd{day};
    return std::to_string(static_cast<unsigned>(ymd.month())) + "月" +
           std::to_string(static_cast<unsigned>(ymd.day())) + "日";
}

std::string slotName(const Term& term, const Slot& s) {
    if (const auto d = term.dateOf(s)) return monthDay(*d) + week::periodName(s.period);
    return "第" + std::to_string(s.week) + "周" + week::weekdayName(s.weekday) +
           week::periodName(s.period);
}

std::string affinityOf(Store& store, const std::string& teacher, const std::string& cls) {
    if (auto row = teachers::find(store, teacher)) return ranking::affinity(*row, cls).letters;
    return {};
}

// The colleague's lessons of the class in the days from `from` on (its own day's other periods
// included unless `skipFirstDay`) that the first teacher could take.
std::vector<Candidate> openReturns(Store& store, const Term& term, const std::string& teacher,
                                   const std::string& cls, const Slot& from, int days,
                                   bool skipFirstDay, const std::string* onlyColleague) {
    std::vector<Slot> daySlots;
    Slot d{from.week, from.weekday, 0};
    if (!skipFirstDay) daySlots.push_back(d);
    for (int i = 0; i < days; ++i) {
        d = nextDay(d);
        daySlots.push_back(d);
    }
    LessonFilter ofClass;
    ofClass.cls = cls;
    const auto lessons = timetable::byPeriod(store, ofClass);
    std::vector<Candidate> out;
    for (const auto& day : daySlots) {
        for (const auto& l : lessons) {
            if (!l.onGrid || l.weekday != day.weekday || l.teacher == teacher) continue;
            if (onlyColleague && l.teacher != *onlyColleague) continue;
            const Slot s{day.week, day.weekday, l.period};
            if (s == from) continue;
            if (!term.lessonOpen(l.teacher, l.cls, l.subject, s)) continue;
            if (!term.freeAndPresent(teacher, s)) continue;
            out.push_back({l.teacher, l.subject, s, slotName(term, s), {}});
        }
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Candidate& a, const Candidate& b) { return a.slot < b.slot; });
    for (auto& c : out) c.affinity = affinityOf(store, c.colleague, cls);
    return out;
}

bool teachesClass(Store& store, const std::string& teacher, const std::string& cls) {
    LessonFilter f;
    f.teacher = teacher;
    f.cls = cls;
    return timetable::any(store, f);
}

std::optional<Refusal> lessonRefusal(Store& store, const Term& term, const LessonAt& lesson) {
    if (term.start().empty())
        return Refusal{"尚未设定学期首日，无法调课：请先在“学期首日”中设定。"};
    LessonFilter f;
    f.teacher = lesson.teacher;
    f.weekday = lesson.slot.weekday;
    f.cls = lesson.cls;
    f.period = lesson.slot.period;
    f.subject = lesson.subject;
    if (!timetable::any(store, f))
        return Refusal{lesson.teacher + "在" + slotName(term, lesson.slot) + "没有" + lesson.cls +
                       lesson.subject + "课，无法调课。"};
    if (term.swappedAway(lesson.teacher, lesson.cls, lesson.slot))
        return Refusal{"这节课已经调课了。"};
    if (!term.lessonOpen(lesson.teacher, lesson.cls, lesson.subject, lesson.slot))
        return Refusal{"这节课已经有人代课了，不能再调课。"};
    return std::nullopt;
}

}  // namespace

Slot slotOf(const SchoolDay& day, int period) {
    return {day.week, day.weekday, period};
}

std::string slotText(Store& store, const Slot& slot) {
    return slotName(Term(store, SchoolDay{}), slot);
}

std::vector<Candidate> candidates(Store& store, const LessonAt& lesson, const SchoolDay& workingDay,
                                  int days, bool absent) {
    return store.transaction([&] {
        const Term term(store, workingDay);
        if (lessonRefusal(store, term, lesson)) return std::vector<Candidate>{};
        auto all = openReturns(store, term, lesson.teacher, lesson.cls, lesson.slot, days, absent,
                               nullptr);
        std::erase_if(all, [&](const Candidate& c) {
            return !term.freeAndPresent(c.colleague, lesson.slot);
        });
        return all;
    });
}

std::vector<std::string> oneWayColleagues(Store& store, const LessonAt& lesson,
                                          const SchoolDay& workingDay) {
    return store.transaction([&] {
        const Term term(store, workingDay);
        std::vector<std::string> out;
        if (lessonRefusal(store, term, lesson)) return out;
        LessonFilter ofClass;
        ofClass.cls = lesson.cls;
        for (const auto& l : timetable::read(store, ofClass)) {
            if (l.teacher == lesson.teacher ||
                std::find(out.begin(), out.end(), l.teacher) != out.end())
                continue;
            if (term.freeAndPresent(l.teacher, lesson.slot)) out.push_back(l.teacher);
        }
        return out;
    });
}

std::string question(Store& store, const LessonAt& lesson, const std::string& colleague,
                     const std::optional<Candidate>& ret) {
    const Term term(store, SchoolDay{});
    std::string q = "是否确定：" + slotName(term, lesson.slot) + lesson.cls + lesson.subject +
                    "由“" + colleague + "”老师上";
    if (ret)
        q += "，“" + lesson.teacher + "”老师于" + ret->when + "上“" + colleague + "”老师的" +
             lesson.cls + ret->subject + "，两节课互换，是否确定？";
    else
        q += "，“" + lesson.teacher + "”老师日后还课（记入欠课表），是否确定？";
    return q;
}

Checked<std::int64_t> record(Store& store, const LessonAt& lesson, const std::string& colleague,
                             const std::optional<Candidate>& ret, const std::string& reason,
                             const SchoolDay& workingDay, const std::string& now) {
    return store.transaction([&]() -> Checked<std::int64_t> {
        const Term term(store, workingDay);
        if (auto r = lessonRefusal(store, term, lesson)) return *r;
        if (colleague == lesson.teacher) return Refusal{"不能与自己调课。"};
        if (!teachesClass(store, colleague, lesson.cls))
            return Refusal{"“" + colleague + "”老师不教" + lesson.cls + "，不能调课。"};
        if (!term.freeAndPresent(colleague, lesson.slot))
            return Refusal{"“" + colleague + "”老师在" + slotName(term, lesson.slot) +
                           "没有空，不能调课。"};
        SwapRecord s;
        s.termStart = term.start();
        s.first = lesson.slot;
        s.cls = lesson.cls;
        s.teacher = lesson.teacher;
        s.subject = lesson.subject;
        s.colleague = colleague;
        s.reason = reason;
        s.recorded = now;
        if (ret) {
            const auto open =
                openReturns(store, term, lesson.teacher, lesson.cls, lesson.slot,
                            schoolDaysBetween(lesson.slot, ret->slot), false, &colleague);
            const bool found = std::any_of(open.begin(), open.end(), [&](const Candidate& c) {
                return c.slot == ret->slot && c.subject == ret->subject;
            });
            if (!found || ret->colleague != colleague)
                return Refusal{"“" + lesson.teacher + "”老师在" + ret->when + "不能上“" +
                               colleague + "”老师的课，请另选。"};
            s.second = ret->slot;
            s.colleagueSubject = ret->subject;
            s.paidBack = true;
        }
        const auto id = swaps::add(store, s);
        queue::removeOne(store, {lesson.teacher, lesson.slot.weekday, lesson.cls,
                                 lesson.slot.period, lesson.subject});
        return id;
    });
}

Checked<> withdraw(Store& store, std::int64_t id, const SchoolDay& workingDay) {
    return store.transaction([&]() -> Checked<> {
        const auto s = swaps::find(store, id);
        if (!s) return Refusal{"这次调课已不在记录中。"};
        const Term term(store, workingDay);
        const Slot today = slotOf(workingDay, 0);
        if (workingDay.weekKnown && Slot{s->first.week, s->first.weekday, 0} < today)
            return Refusal{"这次调课的第一节课（" + slotName(term, s->first) +
                           "）已经上过，不能撤销。"};
        swaps::remove(store, id);
        if (!s->reason.empty() && term.onWorkingDay(s->first)) {
            LessonFilter f;
            f.teacher = s->teacher;
            f.weekday = s->first.weekday;
            f.cls = s->cls;
            f.period = s->first.period;
            f.subject = s->subject;
            if (timetable::any(store, f) && queue::read(store, f).empty())
                queue::add(store,
                           {s->teacher, s->first.weekday, s->cls, s->first.period, s->subject});
        }
        return {};
    });
}

std::vector<Candidate> returnSlots(Store& store, const SwapRecord& swap,
                                   const SchoolDay& workingDay, int days) {
    return store.transaction([&] {
        const Term term(store, workingDay);
        if (!swap.oneWay()) return std::vector<Candidate>{};
        Slot from = swap.first;
        if (workingDay.weekKnown && Slot{from.week, from.weekday, 0} < slotOf(workingDay, 0))
            from = slotOf(workingDay, 0);
        return openReturns(store, term, swap.teacher, swap.cls, from, days, false, &swap.colleague);
    });
}

Checked<> payBack(Store& store, std::int64_t id, const Candidate& ret, const SchoolDay& workingDay,
                  int days) {
    return store.transaction([&]() -> Checked<> {
        const auto s = swaps::find(store, id);
        if (!s) return Refusal{"这次调课已不在记录中。"};
        if (!s->oneWay()) return Refusal{"这节课已经还过了。"};
        const auto open = returnSlots(store, *s, workingDay, days);
        const bool found = std::any_of(open.begin(), open.end(), [&](const Candidate& c) {
            return c.slot == ret.slot && c.subject == ret.subject;
        });
        if (!found)
            return Refusal{"“" + s->teacher + "”老师在" + ret.when + "不能上“" + s->colleague +
                           "”老师的课，请另选。"};
        swaps::setReturn(store, id, ret.slot, ret.subject);
        return {};
    });
}

std::vector<Taken> inSlot(Store& store, const Slot& slot) {
    std::vector<Taken> out;
    for (const auto& t : onDay(store, slot.week, slot.weekday))
        if (t.period == slot.period) out.push_back(t);
    return out;
}

std::vector<Taken> onDay(Store& store, int week, int weekday) {
    std::vector<Taken> out;
    const auto start = readTermStartText(store);
    if (!start) return out;
    for (const auto& s : swaps::ofDay(store, *start, week, weekday)) {
        if (s.first.week == week && s.first.weekday == weekday)
            out.push_back(
                {s.id, s.cls, s.teacher, s.subject, s.colleague, false, s.first.period, s.reason});
        if (s.second && s.second->week == week && s.second->weekday == weekday)
            out.push_back({s.id,
                           s.cls,
                           s.colleague,
                           s.colleagueSubject,
                           s.teacher,
                           true,
                           s.second->period,
                           {}});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Taken& a, const Taken& b) { return a.period < b.period; });
    return out;
}

SlotPeople people(Store& store, const Slot& slot) {
    return people(onDay(store, slot.week, slot.weekday), slot.period);
}

SlotPeople people(const std::vector<Taken>& day, int period) {
    SlotPeople p;
    for (const auto& t : day) {
        if (t.period != period) continue;
        p.busy.insert(t.taker);
        if (t.returnSlot || t.reason.empty()) p.freed.insert(t.owner);
    }
    // A teacher freed by one swap and taking a lesson by another is busy.
    for (const auto& b : p.busy) p.freed.erase(b);
    return p;
}

std::string boardText(const Taken& t) {
    return t.cls + " " + week::periodName(t.period) + " " + t.taker + "（与" + t.owner + "调课）";
}

std::vector<SwapRecord> ofTerm(Store& store) {
    const auto start = readTermStartText(store);
    if (!start) return {};
    return swaps::ofTerm(store, *start);
}

std::vector<Owed> owed(Store& store, calendar::Day today) {
    const Term term(store, SchoolDay{});
    std::vector<Owed> out;
    for (const auto& s : term.swaps()) {
        if (!s.oneWay()) continue;
        Owed o{s, slotName(term, s.first), 0};
        if (const auto d = term.dateOf(s.first))
            o.age = std::max(0, static_cast<int>((today - *d).count()));
        out.push_back(std::move(o));
    }
    return out;
}

namespace {

// A weekday typed as "3", "三", "星期三" or "周三"; 0 for anything else.
int weekdayTyped(std::string_view typed) {
    std::string t(text::trimmed(typed));
    for (const std::string_view prefix : {"星期", "周"})
        if (t.starts_with(prefix)) t = t.substr(prefix.size());
    if (const auto n = text::wholeNumber(t, 1)) return static_cast<int>(*n);
    for (int d = 1; d <= week::kDays; ++d)
        if (week::weekdayName(d) == "星期" + t) return d;
    return 0;
}

}  // namespace

Checked<std::vector<DayLesson>> lessonsOfDay(Store& store, const std::string& typedTeacher,
                                             const std::string& typedWeek,
                                             const std::string& typedWeekday,
                                             const SchoolDay& workingDay) {
    return store.transaction([&]() -> Checked<std::vector<DayLesson>> {
        const auto teacher = names::knownTeacher(store, typedTeacher);
        if (!teacher) return teacher.refusal();
        const Term term(store, workingDay);
        if (term.start().empty())
            return Refusal{"尚未设定学期首日，无法调课：请先在“学期首日”中设定。"};
        const auto weekNo = text::wholeNumber(typedWeek, 2);
        if (!weekNo || *weekNo < 1) return Refusal{"请输入周次（本学期的第几周，例如 15）。"};
        const int weekday = weekdayTyped(typedWeekday);
        if (!week::isWeekday(weekday)) return Refusal{"请输入星期（1 到 5，星期一到星期五）。"};
        LessonFilter f;
        f.teacher = *teacher;
        f.weekday = weekday;
        std::vector<DayLesson> out;
        for (const auto& l : timetable::byPeriod(store, f)) {
            if (!l.onGrid) continue;
            DayLesson d{
                {l.teacher, l.cls, l.subject, {static_cast<int>(*weekNo), weekday, l.period}},
                DayLesson::State::Open,
                {}};
            if (const auto* w = term.swappedAway(l.teacher, l.cls, d.lesson.slot)) {
                d.state = DayLesson::State::Swapped;
                d.by = w->teacher == l.teacher ? w->colleague : w->teacher;
            } else if (!term.lessonOpen(l.teacher, l.cls, l.subject, d.lesson.slot)) {
                d.state = DayLesson::State::Covered;
                d.by = term.substituteOf(l.teacher, l.cls, l.subject, d.lesson.slot);
            }
            out.push_back(std::move(d));
        }
        return out;
    });
}

std::string describe(Store& store, const SwapRecord& s) {
    const Term term(store, SchoolDay{});
    std::string text = slotName(term, s.first) + " " + s.cls + " " + s.colleague + "代" +
                       s.teacher + "上" + s.subject;
    if (s.second)
        text += "；" + s.teacher + "于" + slotName(term, s.second.value()) + "上" + s.colleague +
                "的" + s.colleagueSubject;
    else
        text += "；" + s.teacher + "日后还课";
    return text;
}

}  // namespace daike::swapping
