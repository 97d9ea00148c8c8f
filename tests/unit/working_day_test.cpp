// The working day: one owner of the week and weekday, moves that clear today's cover only when
// it is the working day's, the stale-day check, the first day of term and a restored file; and
// the store's announcements of what every committed action changed.
#include "school/working_day.h"

#include <gtest/gtest.h>

#include <vector>

#include "school/term_start.h"
#include "test_support.h"

namespace daike {
namespace {

using calendar::makeDay;

class WorkingDayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db->announceTo(&changes);
        token = changes.listen([this](Change c) { heard.push_back(c); });
    }
    void TearDown() override { db->announceTo(nullptr); }
    void sql(const std::string& s) { db->execScript(s); }
    void coverOnWednesdayOfWeek3() {
        sql("INSERT INTO 当天代课记录 VALUES ('甲','病假','乙','3',3,'一(1)','语文',1);"
            "INSERT INTO 代课记录 SELECT * FROM 当天代课记录;"
            "INSERT INTO 代课教师 (\"1\") VALUES ('乙');"
            "INSERT INTO 代课节数 VALUES ('乙',1,5);");
    }
    bool heardOf(Change c) const { return std::find(heard.begin(), heard.end(), c) != heard.end(); }

    testing::Db db;
    ChangeNotifier changes;
    int token = 0;
    std::vector<Change> heard;
    WorkingDay day{changes};
};

TEST_F(WorkingDayTest, StartsOnTheCalendarsDay) {
    day.startUp(*db, makeDay(2009, 9, 16));
    EXPECT_FALSE(day.weekKnown());
    EXPECT_EQ(day.weekday(), 3);
    storeTermStart(*db, "2009/8/31");
    day.startUp(*db, makeDay(2009, 9, 20));  // a Sunday still counts the week before
    EXPECT_EQ(day.knownWeek(), 3);
    EXPECT_EQ(day.weekday(), 7);
    EXPECT_TRUE(heardOf(Change::Calendar));
}

TEST_F(WorkingDayTest, MovingOffTodaysCoverAsksAndClearsTheDayButKeepsTheTerm) {
    storeTermStart(*db, "2009/8/31");
    day.startUp(*db, makeDay(2009, 9, 16));
    coverOnWednesdayOfWeek3();
    EXPECT_EQ(day.moveQuestion(*db, day.withWeekday(3)), "");
    const auto thursday = day.stepped(1);
    EXPECT_EQ(day.costOfMove(*db, thursday).covers, 1);
    EXPECT_EQ(day.moveQuestion(*db, thursday),
              "将清除今天已安排的1节代课（学期记录保留），再转到第3周星期四。是否继续？");
    EXPECT_EQ(day.costOfMove(*db, day.withWeek(4)).covers, 1);

    heard.clear();
    day.moveTo(*db, thursday);
    EXPECT_EQ(day.weekday(), 4);
    EXPECT_EQ(db.all("SELECT count(*) FROM 当天代课记录"), "0");
    EXPECT_EQ(db.all("SELECT count(*) FROM 代课教师"), "0");
    EXPECT_EQ(db.all("SELECT count(*) FROM 代课记录"), "1");
    EXPECT_EQ(db.all("SELECT 当日代课,学期代课 FROM 代课节数"), "0|5");
    EXPECT_TRUE(heardOf(Change::Cover));
    EXPECT_TRUE(heardOf(Change::Calendar));
    // Back on Wednesday nothing is left to clear.
    EXPECT_FALSE(day.costOfMove(*db, day.stepped(-1)).asks());
}

TEST_F(WorkingDayTest, BackOnADayMovedAwayFromItsCoverIsTakenUpAgain) {
    storeTermStart(*db, "2009/8/31");
    day.startUp(*db, makeDay(2009, 9, 16));
    sql("INSERT INTO 任课情况 VALUES ('甲',3,'一(1)',1,'语文',1,1);");
    coverOnWednesdayOfWeek3();
    day.moveTo(*db, day.stepped(1));
    EXPECT_EQ(db.all("SELECT 标记 FROM 任课情况"), "NULL");
    day.moveTo(*db, day.stepped(-1));
    // Wednesday's lesson is covered already: its record, booking, marks and tally are back.
    EXPECT_EQ(db.all("SELECT 被代,代者,节次 FROM 当天代课记录"), "甲|乙|1");
    EXPECT_EQ(db.all("SELECT 标记,已代标记 FROM 任课情况"), "1|1");
    EXPECT_EQ(db.all("SELECT \"1\" FROM 代课教师"), "乙");
    EXPECT_EQ(db.all("SELECT 当日代课,学期代课 FROM 代课节数"), "1|5");
    EXPECT_EQ(db.all("SELECT count(*) FROM 代课记录"), "1");
}

TEST_F(WorkingDayTest, ArrowsGoRoundTheSchoolWeek) {
    day.startUp(*db, makeDay(2009, 9, 18));  // Friday
    EXPECT_EQ(day.stepped(1).weekday, 1);
    day.startUp(*db, makeDay(2009, 9, 14));  // Monday
    EXPECT_EQ(day.stepped(-1).weekday, 5);
}

TEST_F(WorkingDayTest, RecordsOfAnotherDayAreTheStaleDayChecksNotAMovesCost) {
    storeTermStart(*db, "2009/8/31");
    coverOnWednesdayOfWeek3();
    day.startUp(*db, makeDay(2009, 9, 17));  // Thursday: yesterday's cover is still there
    EXPECT_FALSE(day.costOfMove(*db, day.stepped(1)).asks());
    // Going back to the records' own day continues it.
    EXPECT_FALSE(day.costOfMove(*db, day.stepped(-1)).asks());
    EXPECT_TRUE(day.staleDayPending(*db));
    day.clearStaleDay(*db);
    EXPECT_EQ(db.all("SELECT count(*) FROM 当天代课记录"), "0");
    EXPECT_FALSE(day.staleDayPending(*db));
}

TEST_F(WorkingDayTest, WithoutAKnownWeekOnlyTheWeekdayTellsTheDays) {
    coverOnWednesdayOfWeek3();
    day.startUp(*db, makeDay(2009, 9, 16));
    EXPECT_FALSE(day.staleDayPending(*db));
    // Typing the records' own week costs nothing; another week clears them.
    EXPECT_FALSE(day.costOfMove(*db, day.withWeek(3)).asks());
    EXPECT_TRUE(day.costOfMove(*db, day.withWeek(2)).asks());
    day.startUp(*db, makeDay(2009, 9, 17));
    EXPECT_TRUE(day.staleDayPending(*db));
}

TEST_F(WorkingDayTest, ANewFirstDayOfTermMovesTheWeekAndKeepsTheWeekday) {
    day.startUp(*db, makeDay(2009, 9, 16));
    day.moveTo(*db, day.withWeekday(2));
    storeTermStart(*db, "2009/9/7");
    day.followTermStart(*db, makeDay(2009, 9, 16));
    EXPECT_EQ(day.knownWeek(), 2);
    EXPECT_EQ(day.weekday(), 2);
    storeTermStart(*db, "/8/");  // not a date: the week stays
    day.followTermStart(*db, makeDay(2009, 9, 23));
    EXPECT_EQ(day.knownWeek(), 2);
}

TEST_F(WorkingDayTest, ARestoredFileSetsTheWeekAndNamesTheDayOfItsCover) {
    storeTermStart(*db, "2009/8/31");
    day.startUp(*db, makeDay(2009, 9, 16));
    day.chooseByHand();
    day.moveTo(*db, day.withWeekday(1));
    // The restored file's term began a week later, and its cover is of week 2, Wednesday.
    sql("UPDATE 开学第一天 SET 日期='2009/9/7';"
        "INSERT INTO 当天代课记录 VALUES ('甲','病假','乙','2',3,'一(1)','语文',1);");
    const auto other = day.followRestoredFile(*db, makeDay(2009, 9, 16));
    EXPECT_EQ(day.knownWeek(), 2);
    EXPECT_EQ(day.weekday(), 1);  // chosen by hand, kept
    ASSERT_TRUE(other);
    EXPECT_EQ(other->week, 2);
    EXPECT_EQ(other->weekday, 3);
    EXPECT_EQ(recordedCovers(*db), 1);
    // Working on the restored day itself costs nothing and leaves nothing stale.
    EXPECT_FALSE(day.costOfMove(*db, *other).asks());
    day.moveTo(*db, *other);
    EXPECT_FALSE(day.staleDayPending(*db));
    EXPECT_EQ(recordedCovers(*db), 1);
}

TEST_F(WorkingDayTest, TheStoreAnnouncesEachCommittedActionOncePerFamily) {
    heard.clear();
    db->transaction([&] {
        sql("INSERT INTO 代课节数 VALUES ('乙',0,0); INSERT INTO 代课教师 (\"1\") VALUES ('乙');");
        sql("INSERT INTO 代课节数 VALUES ('丙',0,0)");
        EXPECT_TRUE(heard.empty());  // nothing while the action runs
    });
    EXPECT_EQ(heard, (std::vector<Change>{Change::Cover, Change::Absences}));

    // A rolled-back action announces nothing.
    heard.clear();
    EXPECT_THROW(db->transaction([&] {
        sql("INSERT INTO 教师姓名 (姓名) VALUES ('丁')");
        throw Failure(Failure::Kind::Usage, "x");
    }),
                 Failure);
    EXPECT_TRUE(heard.empty());

    // A table emptied in one statement is announced too, and a write outside any action.
    heard.clear();
    sql("DELETE FROM 代课教师");
    EXPECT_EQ(heard, std::vector<Change>{Change::Absences});
    EXPECT_EQ(db.all("SELECT count(*) FROM 代课教师"), "0");
    heard.clear();
    sql("DELETE FROM 临时运算表");  // the ranking's own table: nobody shows it
    EXPECT_TRUE(heard.empty());
}

TEST_F(WorkingDayTest, AListenerThatLeavesWhileHearingDoesNotDisturbTheOthers) {
    int second = 0;
    int leaving = 0;
    leaving = changes.listen([&](Change) { changes.forget(leaving); });
    changes.listen([&](Change) { ++second; });
    changes.announce(Change::Cover);
    changes.announce(Change::Cover);
    EXPECT_EQ(second, 2);
}

}  // namespace
}  // namespace daike
