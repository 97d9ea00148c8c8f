#include "engine/telling.h"

#include <gtest/gtest.h>

#include "school/period_times.h"
#include "school/resets.h"
#include "store/tables/period_times.h"
#include "store/tables/wipe.h"
#include "test_support.h"

namespace daike {
namespace {

using testing::Db;

CoverRecord cover(std::string substitute, int period, std::string cls = "三(2)") {
    return {"程静", "病假", std::move(substitute), "3", 3, std::move(cls), "语文", period};
}

TEST(PeriodTimes, ClockTimesAsTheOfficeTypesThem) {
    EXPECT_EQ(parseClock("8:00"), 480);
    EXPECT_EQ(parseClock(" 08:05 "), 485);
    EXPECT_EQ(parseClock("9：50"), 590);
    EXPECT_EQ(parseClock("13.30"), 810);
    for (const char* bad : {"", "8", "8:5", "24:00", "8:60", "８:00", "-1:00", "8:00pm", ":30"})
        EXPECT_EQ(parseClock(bad), std::nullopt) << bad;
    EXPECT_EQ(clockText(590), "9:50");
    EXPECT_EQ(clockText(13 * 60 + 5), "13:05");
}

TEST(PeriodTimes, LabelsWithAndWithoutTimesAndTheStoredRow) {
    Db db;
    EXPECT_EQ(readPeriodTimes(*db).label(3), "第3节");
    EXPECT_FALSE(readPeriodTimes(*db).any());
    week::PerPeriod<periodtimes::StoredTimes> typed{};
    typed[2] = {"9:50", "10:30"};
    typed[3] = {"10:40", "bad"};  // unreadable: the period has no times
    periodtimes::write(*db, typed);
    periodtimes::write(*db, typed);  // still one row
    EXPECT_EQ(db.one("SELECT count(*) FROM 作息时间"), "1");
    const auto times = readPeriodTimes(*db);
    EXPECT_EQ(times.label(3), "第3节（9:50–10:30）");
    EXPECT_EQ(times.label(4), "第4节");
    EXPECT_EQ(times.label(1), "第1节");
    // 所有数据清空 keeps the school's times, as it keeps the password.
    tables::emptyAllButSettings(*db);
    EXPECT_EQ(readPeriodTimes(*db).label(3), "第3节（9:50–10:30）");
}

TEST(PeriodTimes, TypedTimesThatCannotBeKept) {
    week::PerPeriod<periodtimes::StoredTimes> t{};
    EXPECT_EQ(periodTimesProblem(t), std::nullopt);  // none set: the labels stay "第3节"
    t[0] = {"8:00", "8:40"};
    t[1] = {"8:50", "9:30"};
    EXPECT_EQ(periodTimesProblem(t), std::nullopt);
    auto with = [&](int period, std::string start, std::string end) {
        auto c = t;
        c[static_cast<std::size_t>(period - 1)] = {std::move(start), std::move(end)};
        return periodTimesProblem(c).value_or("");
    };
    EXPECT_EQ(with(3, "9:40", ""), "第3节只填了开始时间，请把结束时间也填上，或两个都空着。");
    EXPECT_EQ(with(3, "9:4O", "10:20"), "第3节的开始时间“9:4O”不是时间，请按“8:00”的样子填写。");
    EXPECT_EQ(with(3, "10:20", "9:40"), "第3节的结束时间应晚于开始时间。");
    EXPECT_EQ(with(2, "8:30", "9:10"), "第2节的开始时间早于第1节的结束时间。");
}

TEST(Telling, ChangesSinceTheSubstitutesWereTold) {
    Db db;
    covers::appendEverywhere(*db, cover("赵晶超", 1));
    covers::appendEverywhere(*db, cover("王芳", 4));
    // Before anyone was told, everything is to be told; nothing is marked on the board.
    auto c = telling::sinceTold(*db);
    EXPECT_FALSE(c.toldBefore);
    ASSERT_EQ(c.added.size(), 2u);
    EXPECT_TRUE(c.withdrawn.empty());
    EXPECT_FALSE(telling::untold(c, cover("王芳", 4)));

    telling::markTold(*db);
    c = telling::sinceTold(*db);
    EXPECT_TRUE(c.toldBefore);
    EXPECT_FALSE(c.any());

    // 王芳's lesson re-assigned to 李明, and a late cover: the new substitutes to tell, and
    // the one no longer needed.
    ASSERT_TRUE(covers::removeOne(*db, CoverTable::Today, cover("王芳", 4)));
    covers::append(*db, CoverTable::Today, cover("李明", 4));
    covers::append(*db, CoverTable::Today, cover("赵晶超", 5, "四(1)"));
    c = telling::sinceTold(*db);
    ASSERT_EQ(c.added.size(), 2u);
    EXPECT_EQ(c.added[0], cover("李明", 4));
    EXPECT_EQ(c.added[1], cover("赵晶超", 5, "四(1)"));
    ASSERT_EQ(c.withdrawn.size(), 1u);
    EXPECT_EQ(c.withdrawn[0], cover("王芳", 4));
    EXPECT_TRUE(telling::untold(c, cover("李明", 4)));
    EXPECT_FALSE(telling::untold(c, cover("赵晶超", 1)));

    // A new day forgets what was told with the day's cover.
    newDay(*db);
    EXPECT_EQ(db.one("SELECT count(*) FROM 已通知代课"), "0");
}

}  // namespace
}  // namespace daike
