// The working day: the teaching week and weekday whose cover is being entered. It has one
// owner (the run's context) and one way to change; the status line, today's board, the cover
// windows, the stale-day check and every record written read it from here, and every change is
// announced (store/changes.h).
//
// Today's records (当天代课记录) belong to one day. Moving the working day away from the day
// they hold means a new day (today's records, bookings, queue and marks cleared): the caller
// asks the operator first and backs the data up (ui/working_day_moves.h), then moves.
#pragma once

#include <optional>
#include <string>

#include "school/calendar.h"
#include "store/changes.h"

namespace daike {

class Store;

// A teaching week and weekday. The week is unknown while there is no first day of term and
// the operator has typed none; only the weekday then tells one day from another.
struct SchoolDay {
    int week = 0;
    bool weekKnown = false;
    int weekday = 0;  // Monday = 1 … Sunday = 7 (the calendar's at the weekend)

    std::optional<int> knownWeek() const {
        return weekKnown ? std::optional<int>(week) : std::nullopt;
    }
    // The same day as far as both can tell: the weekday, and the week when both know it.
    bool sameAs(const SchoolDay& other) const;
    // The 周次 a record of this day carries: the number, or nothing while it is unknown.
    std::string weekText() const;
};

// The day the records of 当天代课记录 were written for (the first record's), if there are any.
std::optional<SchoolDay> recordedDay(Store& store);
// How many records 当天代课记录 holds.
int recordedCovers(Store& store);

// What a move of the working day would clear.
struct MoveCost {
    int covers = 0;  // today's records that go
    bool asks() const { return covers > 0; }
};

class WorkingDay {
  public:
    explicit WorkingDay(ChangeNotifier& changes) : changes_(changes) {}

    // Where the calendar stands at the start of a run: today's weekday, the week counted from
    // the stored first day of term. Records of another day left from an earlier run are
    // cleared before cover is entered (clearStaleDay).
    void startUp(Store& store, calendar::Day today);

    const SchoolDay& day() const { return day_; }
    int week() const { return day_.week; }
    bool weekKnown() const { return day_.weekKnown; }
    std::optional<int> knownWeek() const { return day_.knownWeek(); }
    int weekday() const { return day_.weekday; }
    // The operator chose the weekday at start-up instead of covering today's lessons.
    bool handChosen() const { return handChosen_; }

    // The day one arrow further on or back (Monday to Friday, round the week).
    SchoolDay stepped(int delta) const;
    // The day with this week typed, or with the week that starts on a new first day of term.
    SchoolDay withWeek(int week) const;
    SchoolDay withWeekday(int weekday) const;

    // What moving to `to` clears: today's records when they are of the working day and `to`
    // is another day. Records of another day are not the working day's: they go at the
    // stale-day check, not here.
    MoveCost costOfMove(Store& store, const SchoolDay& to) const;
    // The question the operator is asked before such a move (nothing when it costs nothing).
    std::string moveQuestion(Store& store, const SchoolDay& to) const;
    // Moves, clearing what costOfMove names in one transaction first. The caller has asked.
    // Arriving on a day whose cover the term's records already hold (the day moved away from
    // and back to), with nothing of another day in hand, takes that day up again: its records,
    // bookings, marks and today's tallies come back, so no lesson of it is covered twice.
    void moveTo(Store& store, const SchoolDay& to);
    // The operator declined at start-up to cover today's lessons: the weekday is chosen by hand
    // (the chooser moves the working day), and a restored file keeps it.
    void chooseByHand() { handChosen_ = true; }
    // A new first day of term was stored: the week follows it (the weekday stays).
    void followTermStart(Store& store, calendar::Day today);
    // After a restore the working day follows the restored file: the week from its first day
    // of term; the weekday as chosen, or today's. Returns the day its records hold when that
    // is another day (the caller asks whether to start a new day or to work on that one).
    std::optional<SchoolDay> followRestoredFile(Store& store, calendar::Day today);

    // The stale-day check before cover is entered: records of another day than the working day
    // are cleared. They can only be an earlier run's, since every move of the working day
    // clears or keeps them with the operator's consent. Whether it would clear, and the
    // clearing (the caller backs up in between).
    bool staleDayPending(Store& store) const;
    void clearStaleDay(Store& store);

  private:
    void set(const SchoolDay& day);

    ChangeNotifier& changes_;
    SchoolDay day_;
    bool handChosen_ = false;
};

}  // namespace daike
