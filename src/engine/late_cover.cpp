#include "engine/late_cover.h"

#include "engine/swaps.h"
#include "school/name_search.h"
#include "school/names.h"
#include "school/term_archive.h"
#include "school/term_start.h"
#include "store/store.h"
#include "store/tables/tallies.h"
#include "store/text.h"
#include "store/week.h"

namespace daike::latecover {

namespace {

struct Day {
    calendar::Day day{};
    calendar::Day termStart{};
    int week = 0;
    int weekday = 0;
};

// The date of a 补登: a school day of this term before today.
Checked<Day> dayOf(Store& store, const std::string& typed, calendar::Day today) {
    const auto start = readTermStart(store);
    if (!start)
        return Refusal{"学期首日尚未设定，不能补登。请先在“学期首日设定”中设定本学期的第一天。"};
    const auto day = calendar::parseDate(typed);
    if (!day) return Refusal{"请输入要补登的日期，例如 2026-09-15。"};
    if (*day < *start)
        return Refusal{"补登只能记本学期的代课：" + chineseDate(*day) + "在本学期第一天（" +
                       chineseDate(*start) + "）之前。"};
    if (*day >= today)
        return Refusal{"补登只能记今天以前的代课；今天的代课请用“单人代课”或“多人代课”。"};
    const int weekday = calendar::weekdayNumber(*day);
    if (weekday > week::kDays)
        return Refusal{chineseDate(*day) + "是" + week::weekdayName(weekday) + "，不是上课日。"};
    return Day{*day, *start, calendar::weekNumber(*start, *day), weekday};
}

std::string trimmed(std::string_view s) {
    return std::string(text::trimmed(s));
}

}  // namespace

std::string describe(const CoverRecord& c) {
    const std::string when =
        (c.week.empty() ? std::string() : "第" + c.week + "周") +
        (c.weekday >= 1 && c.weekday <= week::kCalendarDays ? week::weekdayName(c.weekday)
                                                            : std::string()) +
        week::periodName(c.period);
    return when + " " + c.cls + c.subject + "：" + c.absent + "（" + c.reason + "），" +
           c.substitute + "代";
}

Checked<std::vector<TimetableRow>> lessonsOn(Store& store, const std::string& absent,
                                             const std::string& date, calendar::Day today) {
    const auto teacher = names::knownTeacher(store, absent);
    if (!teacher) return teacher.refusal();
    const auto day = dayOf(store, date, today);
    if (!day) return day.refusal();
    LessonFilter f;
    f.teacher = *teacher;
    f.weekday = day->weekday;
    return timetable::byPeriod(store, f);
}

Checked<Entry> check(Store& store, const Request& r, calendar::Day today) {
    const auto absent = names::knownTeacher(store, r.absent);
    if (!absent) return absent.refusal();
    const auto day = dayOf(store, r.date, today);
    if (!day) return day.refusal();
    if (!week::isPeriod(r.period)) return Refusal{"请选择要补登的节次。"};
    LessonFilter lesson;
    lesson.teacher = *absent;
    lesson.weekday = day->weekday;
    lesson.period = r.period;
    const auto lessons = timetable::read(store, lesson);
    const std::string slot = chineseDate(day->day) + "（" + week::weekdayName(day->weekday) + "）" +
                             week::periodName(r.period);
    if (lessons.empty()) return Refusal{*absent + slot + "没有课，不能补登。"};
    if (trimmed(r.substitute).empty()) return Refusal{"请输入代课教师。"};
    const auto substitute = names::knownTeacher(store, r.substitute);
    if (!substitute) return substitute.refusal();
    if (*substitute == *absent) return Refusal{"代课教师不能是请假的教师本人。"};
    LessonFilter own;
    own.teacher = *substitute;
    own.weekday = day->weekday;
    own.period = r.period;
    if (timetable::any(store, own)) return Refusal{*substitute + slot + "自己有课，不能代课。"};
    const std::string reason = trimmed(r.reason);
    if (reason.empty()) return Refusal{"请选择或填写事由。"};

    const std::string weekText = std::to_string(day->week);
    CoverFilter busy;
    busy.substitute = *substitute;
    busy.weekday = day->weekday;
    busy.period = r.period;
    for (const auto& c : covers::read(store, CoverTable::Term, busy))
        if (c.week == weekText)
            return Refusal{*substitute + slot + "已经代了" + c.absent + "的" + c.cls + c.subject +
                           "，不能同时代两节课。"};
    const auto& l = lessons.front();
    CoverFilter same = CoverFilter::of(l);
    for (const auto& c : covers::read(store, CoverTable::Term, same))
        if (c.week == weekText)
            return Refusal{"这节课已有代课记录：" + describe(c) + "。要改事由请用“改事由”。"};
    // A swap puts its teachers in a class: the lesson it gives away needs no cover, and its
    // taker was teaching then.
    for (const auto& t : swapping::inSlot(store, {day->week, day->weekday, r.period})) {
        if (t.owner == *absent && t.cls == l.cls)
            return Refusal{"这节课已调课，由" + t.taker + "上，不能再补登代课。"};
        if (t.taker == *substitute)
            return Refusal{*substitute + slot + "因调课在" + t.cls + "上课，不能代课。"};
    }
    return Entry{{*absent, reason, *substitute, weekText, day->weekday, l.cls, l.subject, r.period},
                 day->day};
}

std::string question(const Entry& e) {
    const auto& c = e.record;
    return "补登：" + chineseDate(e.day) + "（第" + c.week + "周" + week::weekdayName(c.weekday) +
           "）" + week::periodName(c.period) + "，" + c.absent + "（" + c.reason + "）的" + c.cls +
           c.subject + "由" + c.substitute + "代。计入本学期的代课记录和" + c.substitute +
           "的学期代课节数，不计入今天。是否确定？（是/否）";
}

void record(Store& store, const Entry& e, const std::string& when) {
    store.transaction([&] {
        covers::append(store, CoverTable::Term, e.record);
        tallies::addTermCover(store, e.record.substitute);
        changelog::append(store,
                          {when, "补登", "", describe(e.record) + "（" + isoDate(e.day) + "）"});
    });
}

std::vector<CoverRecord> termCovers(Store& store) {
    return covers::read(store, CoverTable::Term);
}

Checked<> changeReason(Store& store, const CoverRecord& cover, const std::string& typed,
                       const std::string& when) {
    const std::string reason = trimmed(typed);
    if (reason.empty()) return Refusal{"请选择或填写新的事由。"};
    if (reason == cover.reason) return Refusal{"事由没有改变。"};
    bool found = false;
    store.transaction([&] {
        found = covers::changeReason(store, CoverTable::Term, cover, reason);
        if (!found) return;
        // Today's copies of the same cover, where they are.
        for (auto t : {CoverTable::Today, CoverTable::Session, CoverTable::Told})
            covers::changeReason(store, t, cover, reason);
        CoverRecord after = cover;
        after.reason = reason;
        changelog::append(store, {when, "改事由", describe(cover), describe(after)});
    });
    if (!found) return Refusal{"找不到这条代课记录，它可能已被删除。"};
    return {};
}

}  // namespace daike::latecover
