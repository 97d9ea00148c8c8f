// The candidate computation: who is eligible, how each is scored, and the order of the list.
#include "engine/ranking.h"

#include <gtest/gtest.h>

#include "school/resets.h"
#include "test_support.h"

namespace daike {
namespace {

using testing::TempStore;

std::string names(const std::vector<ranking::Candidate>& rows) {
    std::string out;
    for (const auto& r : rows) out += (out.empty() ? "" : " ") + r.name;
    return out;
}
std::string names(const std::vector<std::string>& v) {
    std::string out;
    for (const auto& n : v) out += (out.empty() ? "" : " ") + n;
    return out;
}

// A school of the given teachers (name, head class, 语文, 数学, 英语, 科学 lists; "" = Null),
// their lessons, and the initialisations run.
struct School {
    TempStore db;
    void teacher(const char* name, const char* head = "", const char* yu = "", const char* shu = "",
                 const char* ying = "", const char* ke = "") {
        auto v = [](const char* s) { return *s ? Value(s) : Value(); };
        db->exec("INSERT INTO 教师姓名 VALUES (?, ?, ?, ?, ?, ?)",
                 {name, v(head), v(yu), v(shu), v(ying), v(ke)});
    }
    void lesson(const char* name, int w, int p, const char* cls = "六(3)") {
        db->exec("INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES (?, ?, ?, ?, '美术')",
                 {name, w, cls, p});
    }
    void initialise() {
        buildFreeTeachers(*db);
        countDailyLessons(*db);
        resetCoverCounts(*db);
    }
    void tallies(const char* name, int today, int term) {
        db->exec("UPDATE 代课节数 SET 当日代课 = ?, 学期代课 = ? WHERE 姓名 = ?",
                 {today, term, name});
    }
};

TEST(ClassList, WholeNamesBetweenCommas) {
    using ranking::classListContains;
    EXPECT_FALSE(classListContains(Value(), "一(1)"));
    EXPECT_TRUE(classListContains(Value("一(1)"), "一(1)"));
    EXPECT_TRUE(classListContains(Value("一(1),二(3)"), "二(3)"));
    EXPECT_FALSE(classListContains(Value("一(1),二(3)"), "二(1)"));
    // Commas typed twice or left at the end are harmless; a piece cut short never matches.
    EXPECT_TRUE(classListContains(Value("一(1),"), "一(1)"));
    EXPECT_TRUE(classListContains(Value("一(1),,二(3)"), "二(3)"));
    EXPECT_FALSE(classListContains(Value("一(1),二(1"), "二(1)"));
    // Two-digit class numbers are read whole and never taken for their one-digit prefix.
    EXPECT_TRUE(classListContains(Value("一(10),一(2)"), "一(2)"));
    EXPECT_FALSE(classListContains(Value("一(10),一(2)"), "一(1)"));
    EXPECT_TRUE(classListContains(Value("一(2),一(10)"), "一(10)"));
    EXPECT_FALSE(classListContains(Value("一(1)"), "一(10)"));
}

TEST(Affinity, LettersAndMark) {
    auto row = [](const char* head, const char* yu, const char* shu, const char* ying,
                  const char* ke) {
        auto v = [](const char* s) { return *s ? Value(s) : Value(); };
        return std::vector<Value>{Value("甲"), v(head), v(yu), v(shu), v(ying), v(ke)};
    };
    auto a = ranking::affinity(row("一(1)", "一(1)", "一(1),一(2)", "", ""), "一(1)");
    EXPECT_EQ(a.letters, "班语数");
    EXPECT_EQ(a.mark, 2);
    a = ranking::affinity(row("一(2)", "", "一(2),一(1)", "", ""), "一(1)");
    EXPECT_EQ(a.letters, "数");
    EXPECT_EQ(a.mark, 1);
    a = ranking::affinity(row("一(1)", "", "", "", ""), "一(1)");
    EXPECT_EQ(a.letters, "班");
    EXPECT_EQ(a.mark, 2);
    a = ranking::affinity(row("", "二(1)", "", "一(1)", "一(1)"), "一(1)");
    EXPECT_EQ(a.letters, "英科");
    EXPECT_EQ(a.mark, 1);
    a = ranking::affinity(row("", "二(1)", "", "", ""), "一(1)");
    EXPECT_EQ(a.letters, "");
    EXPECT_EQ(a.mark, 0);
}

// A grade of ten or more classes: 一(1), 一(10) and 一(2) in one list are three classes, each
// found for itself and for nobody else, wherever it stands in the list.
TEST(Affinity, TwoDigitClassNumbers) {
    auto row = [](const char* head, const char* yu, const char* shu) {
        auto v = [](const char* s) { return *s ? Value(s) : Value(); };
        return std::vector<Value>{Value("甲"), v(head), v(yu), v(shu), Value(), Value()};
    };
    for (const char* list : {"一(1),一(10),一(2)", "一(10),一(2),一(1)", "一(2),一(1),一(10)"}) {
        SCOPED_TRACE(list);
        for (const char* cls : {"一(1)", "一(10)", "一(2)"}) {
            SCOPED_TRACE(cls);
            auto a = ranking::affinity(row("", list, ""), cls);
            EXPECT_EQ(a.letters, "语");
            EXPECT_EQ(a.mark, 1);
        }
        EXPECT_EQ(ranking::affinity(row("", list, ""), "一(11)").letters, "");
        EXPECT_EQ(ranking::affinity(row("", list, ""), "一(3)").letters, "");
    }
    // Head teacher of 一(10) is not head teacher of 一(1), nor the other way round.
    EXPECT_EQ(ranking::affinity(row("一(10)", "", "一(1)"), "一(1)").letters, "数");
    EXPECT_EQ(ranking::affinity(row("一(10)", "", "一(1)"), "一(10)").letters, "班");
    EXPECT_EQ(ranking::affinity(row("一(1)", "一(10)", ""), "一(10)").mark, 1);
}

TEST(Affinity, ATeacherRowReadsAsItsStoredValues) {
    const std::vector<Value> values{"甲", Value(), "一(1),一(2)", Value(), "一(2)", "一(10)"};
    const TeacherRow row = ranking::teacherOf(values);
    EXPECT_EQ(row.nameText(), "甲");
    EXPECT_FALSE(row.headOf);
    EXPECT_FALSE(row.subjectClasses[1]);
    for (const char* cls : {"一(1)", "一(2)", "一(10)", "二(1)"}) {
        EXPECT_EQ(ranking::affinity(row, cls).letters, ranking::affinity(values, cls).letters);
        EXPECT_EQ(ranking::affinity(row, cls).mark, ranking::affinity(values, cls).mark);
    }
    EXPECT_EQ(ranking::affinity(row, "一(2)").letters, "语英");
    // A short row (older callers) leaves the missing classes unset.
    EXPECT_FALSE(ranking::teacherOf({"乙", "一(1)"}).subjectClasses[0]);
    EXPECT_EQ(ranking::affinity(std::vector<Value>{"乙", "一(1)"}, "一(1)").mark, 2);
}

TEST(Eligible, ExemptAwayAndEndOfList) {
    School s;
    for (const char* n : {"甲", "乙", "丙", "丁"}) s.teacher(n);
    s.initialise();
    s.db->execScript("INSERT INTO 公出表 VALUES ('乙')");
    s.db->execScript("INSERT INTO 代课教师 (\"3\") VALUES ('丙')");
    EXPECT_EQ(names(ranking::eligibleTeachers(*s.db, "2", 3)), "甲 丁");
    EXPECT_EQ(s.db.column("SELECT 姓名 FROM 可代教师 ORDER BY rowid"), "甲|丁");
    // Away in period 3 only: a candidate again in period 4.
    EXPECT_EQ(names(ranking::eligibleTeachers(*s.db, "2", 4)), "甲 丙 丁");
    // A cell "0" ends the list even with names after it.
    s.db->execScript("UPDATE 空课教师表 SET \"24\" = '0' WHERE \"24\" = '丙'");
    EXPECT_EQ(names(ranking::eligibleTeachers(*s.db, "2", 4)), "甲");
    // A weekend day has no free list.
    EXPECT_EQ(names(ranking::eligibleTeachers(*s.db, "6", 1)), "");
    EXPECT_EQ(s.db.count("可代教师"), 0);
}

// After 新的一天 on the same day the bookings are gone but the term still holds the morning's
// cover: its substitute is busy then in that week, and only then.
TEST(Eligible, ACoverOfTheTermOnTheSameDayKeepsHimBusy) {
    School s;
    for (const char* n : {"甲", "乙", "丙"}) s.teacher(n);
    s.initialise();
    s.db->execScript(
        "INSERT INTO 代课记录 VALUES ('丙','病假','甲','5',2,'一(1)','语文',3),"
        "('丙','病假','乙','4',2,'一(1)','语文',3)");
    EXPECT_EQ(names(ranking::eligibleTeachers(*s.db, "2", 3, "5")), "乙 丙");
    EXPECT_EQ(names(ranking::eligibleTeachers(*s.db, "2", 4, "5")), "甲 乙 丙");
    // With the week unknown, every week's records of the weekday look alike: none counts.
    EXPECT_EQ(names(ranking::eligibleTeachers(*s.db, "2", 3)), "甲 乙 丙");
    EXPECT_EQ(names(ranking::rank(*s.db, "2", 3, "一(1)", "5").rows), "乙 丙");
    ranking::Ranker ranker(*s.db);
    EXPECT_EQ(names(ranker.rank("2", 3, "一(1)", "5").rows), "乙 丙");
    EXPECT_EQ(names(ranker.rank("2", 3, "一(1)", "4").rows), "甲 丙");
}

TEST(Rank, TheFirstRowOfATeacherCountsInEveryTable) {
    School s;
    s.teacher("甲");
    s.teacher("乙");
    s.initialise();
    s.tallies("甲", 1, 4);
    // Second rows of 甲, typed in by other means: never the ones read.
    s.teacher("甲", "一(1)");
    s.db->execScript(
        "INSERT INTO 每日节数表 (姓名, \"2\") VALUES ('甲', 5);"
        "INSERT INTO 代课节数 (姓名, 当日代课, 学期代课) VALUES ('甲', 9, 9);"
        "INSERT INTO 代课节数 (姓名, 当日代课, 学期代课) VALUES (NULL, 7, 7);");
    const auto r = ranking::rank(*s.db, "2", 3, "一(1)");
    EXPECT_TRUE(r.missing.empty());
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[1].name, "甲");
    EXPECT_EQ(r.rows[1].affinity, "");
    EXPECT_EQ(r.rows[1].lessonsToday.toInt(), 1);  // no lesson that day, one cover
    EXPECT_EQ(r.rows[1].coversThisTerm.toInt(), 4);
}

TEST(Rank, ExemptTeacherNeverCandidate) {
    School s;
    s.teacher("甲", "一(1)");  // the head teacher of the class would come first
    s.teacher("乙");
    s.initialise();
    s.db->execScript("INSERT INTO 公出表 VALUES ('甲')");
    for (int w = 1; w <= 5; ++w)
        for (int p = 1; p <= 6; ++p)
            EXPECT_EQ(names(ranking::rank(*s.db, std::to_string(w), p, "一(1)").rows), "乙");
}

TEST(Rank, ScoresWrittenToWorkingTable) {
    School s;
    s.teacher("甲", "一(1)", "一(1)", "一(1)");
    s.teacher("乙", "", "", "二(1),一(1)");
    s.teacher("丙");
    s.lesson("甲", 3, 1);
    s.lesson("甲", 3, 2);
    s.lesson("乙", 3, 3);
    s.lesson("丙", 3, 5);
    s.initialise();
    s.tallies("乙", 2, 5);
    auto r = ranking::rank(*s.db, "3", 4, "一(1)");
    EXPECT_TRUE(r.missing.empty());
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(
        s.db.column("SELECT 姓名||','||任课情况||','||本日节数||','||本日代课||','||连课情况||"
                    "','||总节数||','||coalesce(班幅标记, 'NULL') FROM 临时运算表 ORDER BY rowid"),
        "甲,班语数,2,0,否,0,2|乙,数,3,2,是,5,1|丙,,1,0,否,0,NULL");
    EXPECT_EQ(r.rows[1].affinity, "数");
    EXPECT_EQ(r.rows[1].lessonsToday.toInt(), 3);
    EXPECT_EQ(r.rows[1].adjacent, "是");
    EXPECT_EQ(r.rows[1].coversThisTerm.toInt(), 5);
}

TEST(Rank, AdjacentLooksOnlyAtThePeriodBefore) {
    School s;
    for (const char* n : {"甲", "乙", "丙"}) s.teacher(n);
    s.lesson("甲", 1, 3);
    s.lesson("乙", 1, 5);
    s.lesson("丙", 1, 2);
    s.initialise();
    auto adjacent = [&](int period) {
        std::string out;
        for (const auto& c : ranking::rank(*s.db, "1", period, "一(1)").rows)
            out += c.name + c.adjacent;
        return out;
    };
    EXPECT_EQ(adjacent(4), "乙否丙否甲是");  // 乙 teaching period 5 does not count
    EXPECT_EQ(adjacent(1), "甲否乙否丙否");
    EXPECT_EQ(adjacent(3), "乙否丙是");
}

// A cover recorded today keeps the substitute in a class as his own lesson would: the period
// after it counts as consecutive, and ranks him after those who have a break.
TEST(Rank, ACoverTodayInThePeriodBeforeIsConsecutive) {
    School s;
    for (const char* n : {"甲", "乙", "丙"}) s.teacher(n);
    s.initialise();
    s.db->execScript(
        "INSERT INTO 当天代课记录 VALUES ('张老师','病假','甲','3',1,'一(1)','语文',2),"
        "('张老师','病假','乙','3',1,'一(1)','数学',4),"    // the period after: no
        "('李老师','事假','丙','3',2,'一(2)','语文',2);");  // another weekday: no
    s.tallies("甲", 1, 1);
    s.tallies("乙", 1, 1);
    s.tallies("丙", 1, 1);
    auto adjacent = [&](int period) {
        std::string out;
        for (const auto& c : ranking::rank(*s.db, "1", period, "一(1)").rows)
            out += c.name + c.adjacent;
        return out;
    };
    EXPECT_EQ(adjacent(3), "乙否丙否甲是");
    EXPECT_EQ(adjacent(1), "甲否乙否丙否");
    EXPECT_EQ(adjacent(5), "甲否丙否乙是");
    EXPECT_EQ(s.db.column("SELECT 连课情况 FROM 临时运算表 ORDER BY rowid"), "否|是|否");
}

TEST(Rank, HeadTeacherFirstDespiteMoreLessons) {
    School s;
    s.teacher("甲");
    s.teacher("乙", "", "", "一(1)");
    s.teacher("丙", "一(1)");
    for (int p : {1, 2, 3, 5, 6}) s.lesson("丙", 2, p);
    s.initialise();
    EXPECT_EQ(names(ranking::rank(*s.db, "2", 4, "一(1)").rows), "丙 乙 甲");
}

TEST(Rank, TiesBrokenByLessonsCoversAdjacencyAndTerm) {
    School s;
    // All without affinity; each pair differs in one key only.
    for (const char* n : {"多课", "少课", "代多", "代少", "连课", "不连", "学期多", "学期少"})
        s.teacher(n);
    s.lesson("多课", 1, 5);
    s.lesson("多课", 1, 6);
    s.lesson("少课", 1, 6);
    s.lesson("连课", 1, 3);
    s.lesson("不连", 1, 6);
    s.initialise();
    // 本日节数 includes today's covers: 代多 has 2 + 0 lessons, 代少 1 + 1.
    s.tallies("代多", 2, 0);
    s.tallies("代少", 1, 0);
    s.lesson("代少", 1, 6);
    s.db->execScript("UPDATE 每日节数表 SET \"1\" = 1 WHERE 姓名 = '代少'");
    s.tallies("学期多", 0, 9);
    s.tallies("学期少", 0, 3);
    s.db->execScript("UPDATE 每日节数表 SET \"1\" = 1 WHERE 姓名 IN ('学期多', '学期少')");
    s.db->execScript("UPDATE 每日节数表 SET \"1\" = 1 WHERE 姓名 IN ('连课', '不连')");
    auto order = names(ranking::rank(*s.db, "1", 4, "一(1)").rows);
    // 本日节数 0: none. 1: 少课, 连课, 不连, 学期多, 学期少 -> by 本日代课 (all 0), then 否 before
    // 是, then 总节数. 2: 多课, 代多, 代少 -> 本日代课 0, 1, 2.
    EXPECT_EQ(order, "少课 不连 学期少 学期多 连课 多课 代少 代多");
}

TEST(Rank, AffinityStringsSortDescendingInPinyinOrder) {
    School s;
    s.teacher("一", "一(1)");
    s.teacher("二", "一(1)", "一(1)");
    s.teacher("三", "一(1)", "一(1)", "一(1)");
    s.teacher("语", "", "一(1)");
    s.teacher("数", "", "", "一(1)");
    s.teacher("英", "", "", "", "一(1)");
    s.teacher("科", "", "", "", "", "一(1)");
    s.teacher("无");
    s.initialise();
    // Descending: a longer string before the shorter one it begins with, and among the subject
    // letters the pinyin order yu > ying > shu > ke.
    EXPECT_EQ(names(ranking::rank(*s.db, "1", 1, "一(1)").rows), "三 二 一 语 英 数 科 无");
}

TEST(Rank, MissingBaseDataScoredZeroAndReported) {
    School s;
    s.teacher("甲", "一(1)");
    s.teacher("乙");
    s.lesson("乙", 1, 2);
    s.initialise();
    // 丙 is free in the slot but was never entered as a teacher; 乙 lost his tallies.
    s.db->execScript("UPDATE 空课教师表 SET \"11\" = '丙' WHERE rowid = 3");
    s.db->execScript("DELETE FROM 代课节数 WHERE 姓名 = '乙'");
    auto r = ranking::rank(*s.db, "1", 1, "一(1)");
    EXPECT_EQ(names(r.rows), "甲 丙 乙");
    EXPECT_EQ(names(r.missing), "乙 丙");
    EXPECT_EQ(s.db.column("SELECT 本日节数||总节数 FROM 临时运算表 WHERE 姓名 IN ('乙', '丙') "
                          "ORDER BY rowid"),
              "10|00");
}

TEST(Rank, NoCandidateEmptiesWorkingTables) {
    School s;
    s.teacher("甲");
    s.initialise();
    ranking::rank(*s.db, "1", 1, "一(1)");
    EXPECT_EQ(s.db.count("临时运算表"), 1);
    s.db->execScript("INSERT INTO 公出表 VALUES ('甲')");
    auto r = ranking::rank(*s.db, "1", 1, "一(1)");
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(s.db.count("临时运算表"), 0);
    EXPECT_EQ(s.db.count("可代教师"), 0);
    // Paging reads the same order again.
    s.db->execScript("DELETE FROM 公出表");
    auto again = ranking::rank(*s.db, "1", 1, "一(1)");
    EXPECT_EQ(names(ranking::rankedRows(*s.db)), names(again.rows));
}

}  // namespace
}  // namespace daike
