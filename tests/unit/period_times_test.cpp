#include "school/period_times.h"

#include <gtest/gtest.h>

#include "store/tables/period_times.h"
#include "test_support.h"

namespace daike {
namespace {

using testing::Db;
using Typed = week::PerPeriod<periodtimes::StoredTimes>;

TEST(PeriodTimesSetting, AcceptedTimesAreStoredAsClockTimesAndBlanksStayBlank) {
    Db db;
    Typed typed{};
    typed[0] = {" 08:00", "8：40 "};
    typed[2] = {"9.50", "10:30"};
    ASSERT_TRUE(storePeriodTimes(*db, typed));
    const auto stored = periodtimes::read(*db);
    EXPECT_EQ(stored[0].start, "8:00");
    EXPECT_EQ(stored[0].end, "8:40");
    EXPECT_EQ(stored[1].start, "");
    EXPECT_EQ(stored[2].start, "9:50");
    EXPECT_EQ(db.one("SELECT count(*) FROM 作息时间 WHERE \"2开始\" IS NULL"), "1");
    EXPECT_EQ(readPeriodTimes(*db).label(3), "第3节（9:50–10:30）");

    // Every box emptied: the periods are named without times again.
    ASSERT_TRUE(storePeriodTimes(*db, Typed{}));
    EXPECT_FALSE(readPeriodTimes(*db).any());
    EXPECT_EQ(db.one("SELECT count(*) FROM 作息时间"), "1");
}

TEST(PeriodTimesSetting, RefusedTimesWriteNothing) {
    Db db;
    Typed good{};
    good[0] = {"8:00", "8:40"};
    ASSERT_TRUE(storePeriodTimes(*db, good));

    Typed bad = good;
    bad[1] = {"8:30", "9:10"};  // begins before period 1 ends
    bad[3] = {"10:40", "11:20"};
    const auto refused = storePeriodTimes(*db, bad);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.refusal().message, "第2节的开始时间早于第1节的结束时间。");
    const auto kept = readPeriodTimes(*db);
    EXPECT_EQ(kept.span(1), "8:00–8:40");
    EXPECT_EQ(kept.span(2), "");
    EXPECT_EQ(kept.span(4), "");
}

}  // namespace
}  // namespace daike
