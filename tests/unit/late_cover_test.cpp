// 补登 and 改事由: cover recorded after the fact counts in the term and not today; a corrected
// reason changes nothing else; both are logged.
#include "engine/late_cover.h"

#include <gtest/gtest.h>

#include "school/resets.h"
#include "store/store.h"
#include "store/tables/change_log.h"
#include "store/tables/covers.h"
#include "store/tables/tallies.h"
#include "test_support.h"

namespace daike::latecover {
namespace {

using calendar::makeDay;
using testing::TempStore;

const auto kToday = makeDay(2026, 9, 20);  // a Sunday of week 3

void school(TempStore& db) {
    db->execScript(R"(
        INSERT INTO 教师姓名 (姓名) VALUES ('张三'),('李四'),('王五'),('宋燕');
        INSERT INTO 开学第一天 VALUES ('2026/8/31');
        INSERT INTO 任课情况 VALUES ('张三',2,'三(2)',2,'语文',NULL,NULL);
        INSERT INTO 任课情况 VALUES ('张三',2,'三(2)',3,'数学',NULL,NULL);
        INSERT INTO 任课情况 VALUES ('王五',2,'四(1)',2,'英语',NULL,NULL);
        INSERT INTO 任课情况 VALUES ('李四',2,'一(1)',3,'科学',NULL,NULL);
    )");
    resetCoverCounts(*db);
}

Request request(const char* date = "2026-09-15", int period = 2, const char* substitute = "李四") {
    return {"张三", date, period, substitute, "病假"};
}

std::string refusalOf(Store& store, const Request& r) {
    const auto e = check(store, r, kToday);
    return e ? std::string() : e.refusal().message;
}

TEST(LateCover, CountsInTheTermAndNotTodayAndIsLogged) {
    TempStore db;
    school(db);
    const auto lessons = lessonsOn(*db, "张三", "2026年9月15日", kToday);
    ASSERT_TRUE(lessons);
    ASSERT_EQ(lessons->size(), 2u);
    EXPECT_EQ((*lessons)[0].period, 2);

    const auto e = check(*db, request(), kToday);
    ASSERT_TRUE(e) << e.refusal().message;
    EXPECT_EQ(e->record, (CoverRecord{"张三", "病假", "李四", "3", 2, "三(2)", "语文", 2}));
    EXPECT_EQ(question(*e),
              "补登：2026年9月15日（第3周星期二）第2节，张三（病假）的三(2)语文由李四代。"
              "计入本学期的代课记录和李四的学期代课节数，不计入今天。是否确定？（是/否）");
    record(*db, *e, "2026-09-20 08:15");
    EXPECT_EQ(covers::read(*db, CoverTable::Term), std::vector<CoverRecord>{e->record});
    EXPECT_TRUE(covers::read(*db, CoverTable::Today).empty());
    const auto tally = tallies::find(*db, "李四");
    ASSERT_TRUE(tally);
    EXPECT_EQ(tally->term, 1);
    EXPECT_EQ(tally->today, 0);
    const auto log = changelog::newestFirst(*db);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].what, "补登");
    EXPECT_EQ(log[0].when, "2026-09-20 08:15");
    EXPECT_EQ(log[0].after, "第3周星期二第2节 三(2)语文：张三（病假），李四代（2026-09-15）");

    // The same lesson again, or the same substitute elsewhere in that period, is refused.
    EXPECT_EQ(refusalOf(*db, request("2026-09-15", 2, "宋燕")),
              "这节课已有代课记录：第3周星期二第2节 三(2)语文：张三（病假），李四代。"
              "要改事由请用“改事由”。");
    EXPECT_EQ(refusalOf(*db, {"王五", "2026-09-15", 2, "李四", "事假"}),
              "李四2026年9月15日（星期二）第2节已经代了张三的三(2)语文，不能同时代两节课。");
    // Another week's same lesson is another lesson.
    EXPECT_EQ(refusalOf(*db, request("2026-09-08")), "");
}

TEST(LateCover, RefusesWhatCannotHaveHappenedAsTyped) {
    TempStore db;
    school(db);
    EXPECT_EQ(refusalOf(*db, request("2026-09-20")),
              "补登只能记今天以前的代课；今天的代课请用“单人代课”或“多人代课”。");
    EXPECT_EQ(refusalOf(*db, request("2026-09-25")),
              "补登只能记今天以前的代课；今天的代课请用“单人代课”或“多人代课”。");
    EXPECT_EQ(refusalOf(*db, request("2026-09-13")), "2026年9月13日是星期日，不是上课日。");
    EXPECT_EQ(refusalOf(*db, request("2026-08-25")),
              "补登只能记本学期的代课：2026年8月25日在本学期第一天（2026年8月31日）之前。");
    EXPECT_EQ(refusalOf(*db, request("九月")), "请输入要补登的日期，例如 2026-09-15。");
    EXPECT_EQ(refusalOf(*db, request("2026-09-15", 4)),
              "张三2026年9月15日（星期二）第4节没有课，不能补登。");
    EXPECT_EQ(refusalOf(*db, request("2026-09-15", 3)),
              "李四2026年9月15日（星期二）第3节自己有课，不能代课。");
    EXPECT_EQ(refusalOf(*db, request("2026-09-15", 2, "张三")), "代课教师不能是请假的教师本人。");
    EXPECT_EQ(refusalOf(*db, request("2026-09-15", 2, "")), "请输入代课教师。");
    EXPECT_EQ(refusalOf(*db, request("2026-09-15", 2, "宋艳")),
              "没有名为“宋艳”的教师。是不是：宋燕？");
    // Swaps of that Tuesday: 王五 took 张三's second period, 宋燕 李四's third.
    db->exec(
        "INSERT INTO 调课记录 VALUES "
        "('2026/8/31',3,2,2,NULL,NULL,NULL,'三(2)','张三','语文','王五',"
        "NULL,'病假',0,''),('2026/8/"
        "31',3,2,3,NULL,NULL,NULL,'一(1)','李四','科学','宋燕',NULL,'',0,"
        "'')");
    EXPECT_EQ(refusalOf(*db, request("2026-09-15", 2, "宋燕")),
              "这节课已调课，由王五上，不能再补登代课。");
    EXPECT_EQ(refusalOf(*db, request("2026-09-15", 3, "宋燕")),
              "宋燕2026年9月15日（星期二）第3节因调课在一(1)上课，不能代课。");
    db->exec("DELETE FROM 调课记录");
    Request blank = request();
    blank.reason = " ";
    EXPECT_EQ(refusalOf(*db, blank), "请选择或填写事由。");
    db->exec("DELETE FROM 开学第一天");
    EXPECT_EQ(refusalOf(*db, request()),
              "学期首日尚未设定，不能补登。请先在“学期首日设定”中设定本学期的第一天。");
    EXPECT_TRUE(covers::read(*db, CoverTable::Term).empty());
    EXPECT_TRUE(changelog::newestFirst(*db).empty());
}

TEST(ChangeReason, ChangesOnlyTheReasonEverywhereTheCoverIsAndLogsIt) {
    TempStore db;
    school(db);
    const CoverRecord cover{"张三", "病假", "李四", "3", 2, "三(2)", "语文", 2};
    covers::appendEverywhere(*db, cover);
    tallies::addCover(*db, "李四");
    const auto tallyBefore = tallies::find(*db, "李四");

    EXPECT_EQ(changeReason(*db, cover, "病假", "t").refusal().message, "事由没有改变。");
    EXPECT_EQ(changeReason(*db, cover, "", "t").refusal().message, "请选择或填写新的事由。");
    ASSERT_TRUE(changeReason(*db, cover, "事假", "2026-09-20 08:20"));

    CoverRecord after = cover;
    after.reason = "事假";
    for (auto t : {CoverTable::Term, CoverTable::Today, CoverTable::Session})
        EXPECT_EQ(covers::read(*db, t), std::vector<CoverRecord>{after});
    EXPECT_EQ(tallies::find(*db, "李四")->term, tallyBefore->term);
    EXPECT_EQ(tallies::find(*db, "李四")->today, tallyBefore->today);
    const auto log = changelog::newestFirst(*db);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].what, "改事由");
    EXPECT_EQ(log[0].before, "第3周星期二第2节 三(2)语文：张三（病假），李四代");
    EXPECT_EQ(log[0].after, "第3周星期二第2节 三(2)语文：张三（事假），李四代");

    // The old record is gone: nothing changes and nothing is logged.
    EXPECT_EQ(changeReason(*db, cover, "公出", "t").refusal().message,
              "找不到这条代课记录，它可能已被删除。");
    EXPECT_EQ(changelog::newestFirst(*db).size(), 1u);
}

}  // namespace
}  // namespace daike::latecover
