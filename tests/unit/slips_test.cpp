#include "documents/slips.h"

#include <gtest/gtest.h>

#include <map>

#include "engine/telling.h"
#include "school/term_start.h"
#include "store/tables/period_times.h"
#include "test_support.h"

namespace daike {
namespace {

using testing::Db;

CoverRecord cover(std::string substitute, int period, std::string cls = "三(2)",
                  std::string absent = "程静") {
    return {
        std::move(absent), "病假", std::move(substitute), "3", 3, std::move(cls), "语文", period};
}

std::string periods(const Slip& s) {
    std::string out;
    for (const auto& l : s.lessons) out += std::to_string(l.period);
    return out;
}

TEST(Slips, OneSlipPerSubstituteWithHisLessonsInPeriodOrder) {
    Db db;
    storeTermStart(*db, "2009/8/31");
    // Recorded in no particular order; 赵三 covers a fifth period before his second.
    covers::append(*db, CoverTable::Today, cover("赵三", 5, "二(2)", "李老师"));
    covers::append(*db, CoverTable::Today, cover("钱四", 4));
    covers::append(*db, CoverTable::Today, cover("孙五", 3));
    covers::append(*db, CoverTable::Today, cover("赵三", 2, "一(1)", "张老师"));
    covers::append(*db, CoverTable::Today, cover("钱四", 1));
    const auto slips = todaysSlips(*db);
    ASSERT_EQ(slips.size(), 3u);
    // The substitutes as the store sorts their names (the notices' order).
    EXPECT_EQ(slips[0].substitute, "钱四");
    EXPECT_EQ(slips[1].substitute, "孙五");
    EXPECT_EQ(slips[2].substitute, "赵三");
    std::map<std::string, std::string> got;
    for (const auto& s : slips) {
        EXPECT_EQ(s.kind, SlipKind::Whole);
        EXPECT_EQ(s.dateLine, "9月16日 星期三");
        if (s.substitute == "赵三") {
            EXPECT_EQ(periods(s), "25");
            EXPECT_EQ(s.lessons[0].cls, "一(1)");
            EXPECT_EQ(s.lessons[0].absent, "张老师");
            EXPECT_EQ(s.lessons[1].absent, "李老师");
            EXPECT_EQ(s.lessons[1].reason, "病假");
        }
        got[s.substitute] = periods(s);
    }
    EXPECT_EQ(got,
              (std::map<std::string, std::string>{{"赵三", "25"}, {"钱四", "14"}, {"孙五", "3"}}));
}

TEST(Slips, PeriodTimesAndTheDateWhereTheyAreKnown) {
    PeriodTimes times;
    times.spans[1] = PeriodSpan{8 * 60 + 50, 9 * 60 + 30};
    const auto slips = slipsOf({cover("赵三", 2), cover("赵三", 3)}, times, std::nullopt);
    ASSERT_EQ(slips.size(), 1u);
    EXPECT_EQ(slips[0].lessons[0].periodLabel, "第2节（8:50–9:30）");
    EXPECT_EQ(slips[0].lessons[1].periodLabel, "第3节");
    // Without the first day of term the week and weekday stand for the date; a blank week (no
    // first day of term when recorded) leaves the weekday alone.
    EXPECT_EQ(slips[0].dateLine, "第3周 星期三");
    auto blank = cover("赵三", 2);
    blank.week = "";
    EXPECT_EQ(slipDateLine(blank, calendar::makeDay(2009, 8, 31)), "星期三");
    EXPECT_EQ(slipDateLine(cover("赵三", 2), calendar::makeDay(2026, 11, 23)), "12月9日 星期三");
}

TEST(Slips, ARecordLeftFromAnotherDayHasASlipOfItsOwn) {
    auto older = cover("赵三", 1);
    older.weekday = 2;
    const auto slips =
        slipsOf({cover("赵三", 4), older, cover("赵三", 2)}, {}, calendar::makeDay(2009, 8, 31));
    ASSERT_EQ(slips.size(), 2u);
    EXPECT_EQ(periods(slips[0]), "24");
    EXPECT_EQ(slips[1].dateLine, "9月15日 星期二");
}

TEST(Slips, AfterTellingOnlyTheChangesWithACancellingSlip) {
    Db db;
    storeTermStart(*db, "2009/8/31");
    covers::append(*db, CoverTable::Today, cover("赵三", 1));
    covers::append(*db, CoverTable::Today, cover("孙五", 2));
    covers::append(*db, CoverTable::Today, cover("孙五", 5, "四(1)"));
    telling::markTold(*db);
    // 孙五's fifth period re-assigned to 钱四, and a late cover for 赵三.
    ASSERT_TRUE(covers::removeOne(*db, CoverTable::Today, cover("孙五", 5, "四(1)")));
    covers::append(*db, CoverTable::Today, cover("钱四", 5, "四(1)"));
    covers::append(*db, CoverTable::Today, cover("赵三", 6));
    const auto c = telling::sinceTold(*db);
    const auto slips = changedSlips(*db, c.added, c.withdrawn);
    ASSERT_EQ(slips.size(), 3u);
    // The added cover first, the substitutes in the store's order of names (pinyin, not the
    // order of their bytes, which would put 赵三 first), each with only the added lessons;
    // then the cancelling slip, with only the withdrawn lesson.
    EXPECT_EQ(slips[0].substitute, "钱四");
    EXPECT_EQ(periods(slips[0]), "5");
    EXPECT_EQ(slips[1].substitute, "赵三");
    EXPECT_EQ(periods(slips[1]), "6");
    EXPECT_EQ(slips[0].kind, SlipKind::Added);
    EXPECT_EQ(slips[1].kind, SlipKind::Added);
    EXPECT_EQ(slips[2].substitute, "孙五");
    EXPECT_TRUE(slips[2].withdrawn());
    EXPECT_EQ(periods(slips[2]), "5");
    EXPECT_EQ(slips[2].lessons[0].cls, "四(1)");
    EXPECT_EQ(slips[2].dateLine, "9月16日 星期三");
}

TEST(Slips, PagesHoldWholeSlipsOnly) {
    using L = SlipPageLayout;
    auto total = [](const std::vector<Slip>& slips, const std::vector<std::size_t>& page) {
        int h = 0;
        for (std::size_t k = 0; k < page.size(); ++k)
            h += (k ? L::kCutGap : 0) + L::heightOf(slips[page[k]]);
        return h;
    };
    // Thirty substitutes with one lesson each: four slips to a page.
    std::vector<Slip> thirty(30);
    for (auto& s : thirty) s.lessons.resize(1);
    auto pages = L::pages(thirty);
    ASSERT_EQ(pages.size(), 8u);
    EXPECT_EQ(pages[0].size(), 4u);
    std::size_t next = 0;
    for (const auto& page : pages) {
        EXPECT_LE(total(thirty, page), L::kHeight);
        for (auto i : page) EXPECT_EQ(i, next++);  // in order, none left out
    }
    EXPECT_EQ(next, 30u);
    // A whole day's six lessons fit, two to a page; a slip that fits no page goes alone.
    std::vector<Slip> mixed(4);
    mixed[0].lessons.resize(6);
    mixed[1].lessons.resize(6);
    mixed[2].lessons.resize(40);
    mixed[3].lessons.resize(1);
    pages = L::pages(mixed);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], (std::vector<std::size_t>{0, 1}));
    EXPECT_LE(total(mixed, pages[0]), L::kHeight);
    EXPECT_EQ(pages[1], (std::vector<std::size_t>{2}));
    EXPECT_EQ(pages[2], (std::vector<std::size_t>{3}));
}

}  // namespace
}  // namespace daike
