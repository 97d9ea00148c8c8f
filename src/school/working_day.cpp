#include "school/working_day.h"

#include "school/resets.h"
#include "school/term_start.h"
#include "store/store.h"
#include "store/tables/away.h"
#include "store/tables/covers.h"
#include "store/tables/tallies.h"
#include "store/tables/timetable.h"
#include "store/value.h"
#include "store/week.h"

namespace daike {

bool SchoolDay::sameAs(const SchoolDay& other) const {
    if (weekday != other.weekday) return false;
    return !(weekKnown && other.weekKnown) || week == other.week;
}

std::string SchoolDay::weekText() const {
    return weekKnown ? std::to_string(week) : std::string();
}

namespace {

// A record's 周次 as a week: the number it starts with; text without one says nothing.
SchoolDay dayOf(const CoverRecord& r) {
    SchoolDay d;
    d.weekday = r.weekday;
    const auto digits = r.week.find_first_not_of(" \t");
    if (digits != std::string::npos && r.week[digits] >= '0' && r.week[digits] <= '9') {
        d.week = static_cast<int>(leadingNumber(r.week));
        d.weekKnown = true;
    }
    return d;
}

bool holdsAnotherDay(Store& store, const SchoolDay& day) {
    for (const auto& r : covers::read(store, CoverTable::Today))
        if (!dayOf(r).sameAs(day)) return true;
    return false;
}

}  // namespace

std::optional<SchoolDay> recordedDay(Store& store) {
    const auto today = covers::read(store, CoverTable::Today);
    if (today.empty()) return std::nullopt;
    return dayOf(today.front());
}

int recordedCovers(Store& store) {
    return static_cast<int>(covers::read(store, CoverTable::Today).size());
}

void WorkingDay::set(const SchoolDay& day) {
    const bool moved =
        day.week != day_.week || day.weekKnown != day_.weekKnown || day.weekday != day_.weekday;
    day_ = day;
    if (moved) changes_.announce(Change::Calendar);
}

void WorkingDay::startUp(Store& store, calendar::Day today) {
    const auto now = calendarNow(store, today);
    handChosen_ = false;
    set({now.当前周次, now.termStartKnown, now.当前星期});
}

SchoolDay WorkingDay::stepped(int delta) const {
    SchoolDay d = day_;
    d.weekday = delta > 0 ? week::nextWeekday(d.weekday) : week::previousWeekday(d.weekday);
    return d;
}

SchoolDay WorkingDay::withWeek(int week) const {
    SchoolDay d = day_;
    d.week = week;
    d.weekKnown = true;
    return d;
}

SchoolDay WorkingDay::withWeekday(int weekday) const {
    SchoolDay d = day_;
    d.weekday = weekday;
    return d;
}

MoveCost WorkingDay::costOfMove(Store& store, const SchoolDay& to) const {
    MoveCost cost;
    if (to.sameAs(day_) && to.weekKnown == day_.weekKnown) return cost;
    const auto today = covers::read(store, CoverTable::Today);
    for (const auto& r : today) {
        // Records of another day are an earlier run's: the stale-day check takes them.
        if (!dayOf(r).sameAs(day_)) return cost;
    }
    // A week typed where none was known names the records' own day: nothing goes.
    for (const auto& r : today)
        if (!dayOf(r).sameAs(to)) ++cost.covers;
    return cost;
}

std::string WorkingDay::moveQuestion(Store& store, const SchoolDay& to) const {
    const auto cost = costOfMove(store, to);
    if (!cost.asks()) return {};
    std::string where = to.weekKnown ? "第" + std::to_string(to.week) + "周" : std::string();
    where += week::weekdayName(to.weekday);
    return newDayClears(cost.covers) + "，再转到" + where + "。是否继续？";
}

namespace {

void takeUpAgain(Store& store, const SchoolDay& day) {
    // Only into an empty day: nothing recorded, booked or waiting of another.
    if (!day.weekKnown || covers::any(store, CoverTable::Today) || away::anyone(store)) return;
    store.transaction([&] {
        for (const auto& r : covers::read(store, CoverTable::Term)) {
            const SchoolDay of = dayOf(r);
            if (!of.weekKnown || of.week != day.week || of.weekday != day.weekday) continue;
            covers::append(store, CoverTable::Today, r);
            for (const auto& l : timetable::read(store, lessonOf(r))) {
                if (l.covered) continue;
                timetable::setMarks(store, l.row, true, true);
                break;
            }
            if (week::isPeriod(r.period) && !away::isBooked(store, r.period, r.substitute))
                away::book(store, r.period, r.substitute);
            tallies::addToday(store, r.substitute);
        }
    });
}

}  // namespace

void WorkingDay::moveTo(Store& store, const SchoolDay& to) {
    if (costOfMove(store, to).asks()) store.transaction([&] { newDay(store); });
    takeUpAgain(store, to);
    set(to);
}

void WorkingDay::followTermStart(Store& store, calendar::Day today) {
    const auto now = calendarNow(store, today);
    if (!now.termStartKnown) return;
    SchoolDay d = day_;
    d.week = now.当前周次;
    d.weekKnown = true;
    set(d);
}

std::optional<SchoolDay> WorkingDay::followRestoredFile(Store& store, calendar::Day today) {
    const auto now = calendarNow(store, today);
    SchoolDay d{now.当前周次, now.termStartKnown, handChosen_ ? day_.weekday : now.当前星期};
    set(d);
    if (!holdsAnotherDay(store, day_)) return std::nullopt;
    return recordedDay(store);
}

bool WorkingDay::staleDayPending(Store& store) const {
    return holdsAnotherDay(store, day_);
}

void WorkingDay::clearStaleDay(Store& store) {
    // The store announces what was cleared.
    store.transaction([&] {
        if (holdsAnotherDay(store, day_)) newDay(store);
    });
}

}  // namespace daike
