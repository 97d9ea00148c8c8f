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

TEST(TermStart, TheBoxesGiveAMondayOrAReasonToTypeAgain) {
    EXPECT_EQ(*termStartFromBoxes("2009", "8", "31"), makeDay(2009, 8, 31));
    EXPECT_EQ(termStartText(*termStartFromBoxes(" 2009 ", "08", "31")), "2009/8/31");
    // Full-width digits, the zero included, and full-width blanks are what the office meant.
    EXPECT_EQ(*termStartFromBoxes("２０２４", "３", "４\u3000"), makeDay(2024, 3, 4));

    auto refusal = [](std::string_view y, std::string_view m, std::string_view d) {
        const auto r = termStartFromBoxes(y, m, d);
        return r ? std::string("accepted") : r.refusal().message;
    };
    EXPECT_EQ(refusal("2024", "", "4"), "请把开学第一周星期一的年、月、日都填上！");
    EXPECT_EQ(refusal("abc", "x", "y"), "“abc/x/y”不是日期：年、月、日都请用数字填写！");
    EXPECT_EQ(refusal("2024", "3", "4.0"), "“2024/3/4.0”不是日期：年、月、日都请用数字填写！");
    EXPECT_EQ(refusal("2024", "-3", "4"), "“2024/-3/4”不是日期：年、月、日都请用数字填写！");
    EXPECT_EQ(refusal("99999", "1", "1"), "年份“99999”不对，请输入四位数的年份！");
    EXPECT_EQ(refusal("24", "3", "4"), "年份“24”不对，请输入四位数的年份！");
    // Days that do not exist, however far off.
    EXPECT_EQ(refusal("2024", "2", "30"), "2024年2月30日不存在，请重新输入！");
    EXPECT_EQ(refusal("2024", "13", "1"), "2024年13月1日不存在，请重新输入！");
    EXPECT_EQ(refusal("2024", "3", "257"), "2024年3月257日不存在，请重新输入！");
    EXPECT_EQ(refusal("2024", "0", "4"), "2024年0月4日不存在，请重新输入！");
    EXPECT_EQ(refusal("2024", "3", "0"), "2024年3月0日不存在，请重新输入！");
    EXPECT_EQ(refusal("2024", "999999999", "1"), "2024年999999999月1日不存在，请重新输入！");
    // Another weekday is refused with the Monday of its week, also across a month's end.
    EXPECT_EQ(
        refusal("2010", "9", "1"),
        "2010年9月1日是星期三。这里要填开学报名那一周的星期一，即2010年8月30日，请重新输入！");
    EXPECT_EQ(
        refusal("2024", "3", "3"),
        "2024年3月3日是星期日。这里要填开学报名那一周的星期一，即2024年2月26日，请重新输入！");
    EXPECT_EQ(
        refusal("2024", "2", "29"),
        "2024年2月29日是星期四。这里要填开学报名那一周的星期一，即2024年2月26日，请重新输入！");
    EXPECT_EQ(chineseDate(makeDay(2009, 8, 31)), "2009年8月31日");
}

TEST(Calendar, FileNameStampPadsMonthAndDay) {
    EXPECT_EQ(calendar::stamp(makeDay(2026, 3, 9)), "20260309");
    EXPECT_EQ(calendar::stamp(makeDay(2026, 12, 10)), "20261210");
}

}  // namespace
}  // namespace daike
