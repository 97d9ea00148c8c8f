#include "school/calendar.h"

#include <gtest/gtest.h>

#include "school/term_start.h"
#include "test_support.h"

namespace daike {
namespace {

using calendar::makeDay;

TEST(Calendar, WeekCountsMondaysAfterTheFirstDay) {
    const auto start = makeDay(2009, 8, 31);  // a Monday
    EXPECT_EQ(calendar::weekNumber(start, start), 1);
    EXPECT_EQ(calendar::weekNumber(start, makeDay(2009, 9, 16)), 3);  // Wednesday, 16 days on
    EXPECT_EQ(calendar::weekdayNumber(makeDay(2009, 9, 16)), 3);
    // Sunday still belongs to the week that began on the Monday before.
    EXPECT_EQ(calendar::weekNumber(start, makeDay(2009, 9, 6)), 1);
    EXPECT_EQ(calendar::weekdayNumber(makeDay(2009, 9, 6)), 7);
    EXPECT_EQ(calendar::weekNumber(start, makeDay(2009, 9, 7)), 2);
    // Before the start of term: 0 or less.
    EXPECT_EQ(calendar::weekNumber(start, makeDay(2009, 8, 30)), 0);
    EXPECT_EQ(calendar::weekNumber(start, makeDay(2009, 8, 20)), -1);
}

TEST(Calendar, AFirstDayThatIsNotAMondayCountsFromItsCalendarWeek) {
    const auto wednesday = makeDay(2010, 9, 1);
    EXPECT_EQ(calendar::weekNumber(wednesday, makeDay(2010, 8, 30)), 1);  // its own Monday
    EXPECT_EQ(calendar::weekNumber(wednesday, makeDay(2010, 9, 6)), 2);
}

TEST(Calendar, WeekAndWeekdayGiveBackTheDate) {
    const auto start = makeDay(2024, 2, 26);
    EXPECT_EQ(calendar::dateOf(start, 3, 5), makeDay(2024, 3, 15));
}

TEST(Calendar, ReadsDatesAsTheOfficeTypesThem) {
    EXPECT_EQ(calendar::parseDate("2009/8/31"), makeDay(2009, 8, 31));
    EXPECT_EQ(calendar::parseDate("2009-08-31"), makeDay(2009, 8, 31));
    EXPECT_EQ(calendar::parseDate("2009年8月31日"), makeDay(2009, 8, 31));
    EXPECT_EQ(calendar::parseDate(" 2009 / 8 / 31 "), makeDay(2009, 8, 31));
    EXPECT_FALSE(calendar::parseDate("//"));
    EXPECT_FALSE(calendar::parseDate("2009/2/30"));
    EXPECT_FALSE(calendar::parseDate("2009/8"));
    EXPECT_FALSE(calendar::parseDate("2009/8/31x"));
}

TEST(TermStart, StoredAsTypedAndReadForTheCalendar) {
    testing::Db db;
    EXPECT_FALSE(readTermStartText(*db));
    auto unknown = calendarNow(*db, makeDay(2009, 9, 16));
    EXPECT_FALSE(unknown.termStartKnown);
    EXPECT_EQ(unknown.当前周次, 0);
    EXPECT_EQ(unknown.当前星期, 3);

    storeTermStart(*db, "2009/8/31");
    storeTermStart(*db, "2009/8/31");  // overwrites the one row
    EXPECT_EQ(db.all("SELECT * FROM 开学第一天"), "2009/8/31");
    auto now = calendarNow(*db, makeDay(2009, 9, 16));
    EXPECT_TRUE(now.termStartKnown);
    EXPECT_EQ(now.当前周次, 3);

    storeTermStart(*db, "/8/");  // not a date: kept as typed, the week is unknown
    EXPECT_FALSE(calendarNow(*db, makeDay(2009, 9, 16)).termStartKnown);
}

}  // namespace
}  // namespace daike
