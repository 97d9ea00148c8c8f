// Cover statistics: the figures per teacher and week from crafted records, the spread, the
// tallies checked against the records, the pay per lesson, sorting, and the store's older files.
#include <gtest/gtest.h>

#include "school/resets.h"
#include "statistics/figures.h"
#include "statistics/tables.h"
#include "test_support.h"

namespace daike {
namespace {

using namespace statistics;
using testing::SchoolBuilder;
using testing::TempStore;

// A small school: 张三, 李四, 王五 on the list, 赵六 exempt; 钱七 has left but covered in week 2.
void school(TempStore& db) {
    db->execScript(
        "INSERT INTO 教师姓名 (姓名) VALUES ('张三'),('李四'),('王五'),('赵六');"
        "INSERT INTO 公出表 VALUES ('赵六');"
        "INSERT INTO 代课节数 VALUES ('张三',0,3),('李四',1,2),('王五',0,0),('赵六',0,0);"
        // week 2 Monday: 王五 ill, covered by 张三 twice and 钱七 once
        "INSERT INTO 代课记录 VALUES ('王五','病假','张三','2',1,'一(1)','语文',1),"
        "('王五','病假','张三','2',1,'一(1)','数学',2),('王五','病假','钱七','2',1,'一(2)','语文',"
        "3),"
        // week 3 Wednesday: 李四 on a course (a reason typed by hand), 张三 covers
        "('李四','培训','张三','3',3,'一(2)','数学',4),"
        // week 3 Thursday: 张三 away on business, covered by 李四 twice
        "('张三','公出','李四','3',4,'一(1)','科学',5),('张三','公出','李四','3',4,'一(1)','语文',"
        "6),"
        // week 4 with no reason stored, and a week that is not a number
        "('赵六','','王五',4,2,'一(1)','音乐',1),('王五','事假','张三','?',5,'一(1)','语文',2);");
}

const TeacherFigures& teacher(const Figures& f, const std::string& name) {
    for (const auto& t : f.teachers)
        if (t.name == name) return t;
    ADD_FAILURE() << "no " << name;
    static TeacherFigures none;
    return none;
}

TEST(CoverFigures, WholeTermPerTeacherAndReason) {
    TempStore db;
    school(db);
    const Figures f = compute(*db, Range::term());
    // The office's reasons first, then the texts as recorded, in the order first met.
    EXPECT_EQ(f.reasons, (std::vector<std::string>{"病假", "事假", "公出", "培训", "未注明"}));
    ASSERT_EQ(f.teachers.size(), 5u);
    EXPECT_EQ(f.teachers[4].name, "钱七");
    EXPECT_FALSE(f.teachers[4].onList);
    EXPECT_EQ(f.covered, 8);

    const auto& zhang = teacher(f, "张三");
    EXPECT_EQ(zhang.covered, 4);
    EXPECT_EQ(zhang.away, (std::vector<int>{0, 0, 2, 0, 0}));
    EXPECT_EQ(zhang.awayTotal, 2);
    const auto& wang = teacher(f, "王五");
    EXPECT_EQ(wang.covered, 1);
    EXPECT_EQ(wang.away, (std::vector<int>{3, 1, 0, 0, 0}));
    EXPECT_TRUE(teacher(f, "赵六").exempt);
    EXPECT_EQ(teacher(f, "赵六").away, (std::vector<int>{0, 0, 0, 0, 1}));
    EXPECT_EQ(teacher(f, "钱七").covered, 1);

    // Tallies against the records: 张三 3 stored, 4 recorded; 王五 0 stored, 1 recorded.
    EXPECT_TRUE(zhang.tallyDiffers);
    EXPECT_EQ(zhang.tally, 3);
    EXPECT_EQ(zhang.termCovered, 4);
    EXPECT_FALSE(teacher(f, "李四").tallyDiffers);
    EXPECT_TRUE(wang.tallyDiffers);
    EXPECT_FALSE(teacher(f, "钱七").tallyDiffers);  // has left: no tally row expected
    EXPECT_EQ(f.mismatches, 2);
    EXPECT_EQ(f.missingTallies, 0);
    EXPECT_NE(tallyNote(f).find("代课节数初始化"), std::string::npos);
    EXPECT_NE(tallyNote(f).find("代课明细清零"), std::string::npos);
}

TEST(CoverFigures, RangesTakeTheirRecordsOnly) {
    TempStore db;
    school(db);
    // Today: week 3, Thursday.
    Figures f = compute(*db, Range::today(3, 4));
    EXPECT_EQ(f.covered, 2);
    EXPECT_EQ(teacher(f, "李四").covered, 2);
    EXPECT_EQ(teacher(f, "张三").covered, 0);
    EXPECT_EQ(f.teachers.size(), 4u);  // 钱七 did nothing that day
    // The term's columns stay the term's, whatever the range.
    EXPECT_EQ(teacher(f, "张三").termCovered, 4);

    f = compute(*db, Range::thisWeek(3));
    EXPECT_EQ(f.covered, 3);
    EXPECT_EQ(teacher(f, "张三").covered, 1);
    EXPECT_EQ(teacher(f, "李四").away[3], 1);

    f = compute(*db, Range::weeks(2, 3));
    EXPECT_EQ(f.covered, 6);
    EXPECT_EQ(teacher(f, "钱七").covered, 1);
    EXPECT_EQ(Range::weeks(2, 3).label(), "第2至3周");
    EXPECT_EQ(Range::weeks(4, 4).label(), "第4周");
    EXPECT_EQ(Range::today(3, 4).label(), "第3周星期四");
    EXPECT_EQ(Range::thisWeek(3).spoken(), "本周");

    // A week that does not read as a number counts for the term only.
    f = compute(*db, Range::weeks(1, 100));
    EXPECT_EQ(f.covered, 7);
    const auto span = weeksInRecords(*db);
    EXPECT_EQ(span.first, 2);
    EXPECT_EQ(span.last, 4);
}

TEST(CoverFigures, SpreadLeavesOutExemptAndFormerTeachers) {
    TempStore db;
    school(db);
    const Figures f = compute(*db, Range::term());
    const Spread s = spread(f);
    // 张三 4, 李四 2, 王五 1: 赵六 is exempt and 钱七 has left.
    EXPECT_EQ(s.teachers, 3);
    EXPECT_EQ(s.highest, 4);
    EXPECT_EQ(s.lowest, 1);
    EXPECT_NEAR(s.mean, 7.0 / 3, 1e-9);
    EXPECT_EQ(spreadSentence(f),
              "本学期代课最多 4 节（张三），最少 1 节（王五），平均 2.3 节，标准差 1.2 节。");

    const Table t = teacherTable(f);
    const Chart c = chartOf(f, t);
    ASSERT_EQ(c.bars.size(), 4u);  // the four on the list; the exempt one last
    EXPECT_EQ(c.bars[3].name, "赵六");
    EXPECT_TRUE(c.bars[3].exempt);
    EXPECT_EQ(c.title, "本学期各教师代课节数");
}

TEST(CoverFigures, SentencesForEmptyAndTiedSchools) {
    TempStore db;
    EXPECT_EQ(spreadSentence(compute(*db, Range::term())),
              "本学期没有可以统计的教师（教师名单为空，或都是免代教师）。");
    SchoolBuilder(*db)
        .teachers({"甲", "乙", "丙", "丁", "戊"})
        .tallies({"甲", "乙", "丙", "丁"})
        .build();
    Figures f = compute(*db, Range::thisWeek(1));
    EXPECT_EQ(spreadSentence(f), "本周没有代课记录。");
    // 戊 has no tally row: flagged with what to run.
    EXPECT_EQ(f.missingTallies, 1);
    EXPECT_NE(tallyNote(f).find("代课节数初始化"), std::string::npos);
    SchoolBuilder(*db).cover("代课记录", "甲", "病假", "乙", "1", 1, "一(1)", "语文", 1).build();
    f = compute(*db, Range::thisWeek(1));
    EXPECT_EQ(
        spreadSentence(f),
        "本周代课最多 1 节（乙），最少 0 节（甲、丙、丁等4人），平均 0.2 节，标准差 0.4 节。");
}

TEST(CoverTables, TeacherTableTotalsPayAndSorting) {
    TempStore db;
    school(db);
    setPayRate(*db, 25.5);
    Figures f = compute(*db, Range::term());
    Table t = teacherTable(f);
    ASSERT_EQ(t.headers.size(), 14u);
    EXPECT_EQ(t.headers[1], "代课节数");
    EXPECT_EQ(t.headers[2], "被代·病假");
    EXPECT_EQ(t.headers[10], "酬金(元)");
    // Swaps stand apart from the cover and its pay.
    EXPECT_EQ(t.headers[11], "调课");
    EXPECT_EQ(t.headers[12], "欠课");
    EXPECT_EQ(t.headers[13], "备注");
    EXPECT_EQ(t.rows[0].cells[10].text, "102.00");
    EXPECT_EQ(t.rows[0].cells[13].text, "学期累计与记录不符");
    EXPECT_TRUE(t.rows[0].mismatch);
    EXPECT_EQ(t.rows[3].cells[13].text, "免代");
    EXPECT_EQ(t.rows[4].cells[13].text, "已不在教师名单");
    EXPECT_EQ(t.rows[4].cells[8].text, "");  // no tally for 钱七
    ASSERT_TRUE(t.totals);
    EXPECT_EQ(t.totals->cells[1].number, 8);
    EXPECT_EQ(t.totals->cells[7].number, 8);  // 被代合计
    EXPECT_EQ(t.totals->cells[10].text, "204.00");

    sortTable(t, 1, true);
    std::vector<std::string> order;
    for (const auto& r : t.rows) order.push_back(r.cells[0].text);
    EXPECT_EQ(order, (std::vector<std::string>{"张三", "李四", "王五", "钱七", "赵六"}));
    // Names in pinyin order: li, qian, wang, zhang, zhao.
    sortTable(t, 0, false);
    order.clear();
    for (const auto& r : t.rows) order.push_back(r.cells[0].text);
    EXPECT_EQ(order, (std::vector<std::string>{"李四", "钱七", "王五", "张三", "赵六"}));
    // A blank tally sorts last both ways.
    sortTable(t, 8, false);
    EXPECT_EQ(t.rows.back().cells[0].text, "钱七");
    sortTable(t, 8, true);
    EXPECT_EQ(t.rows.back().cells[0].text, "钱七");
    EXPECT_EQ(t.totals->cells[0].text, "合计");

    // No rate: no pay column.
    setPayRate(*db, std::nullopt);
    f = compute(*db, Range::term());
    EXPECT_EQ(teacherTable(f).headers.size(), 13u);
}

TEST(CoverTables, WeeksAndRecords) {
    TempStore db;
    school(db);
    const Figures f = compute(*db, Range::weeks(2, 5));
    const Table w = weekTable(f);
    // Every week of the range, a quiet one too.
    ASSERT_EQ(w.rows.size(), 4u);
    EXPECT_EQ(w.rows[0].cells[0].number, 2);
    EXPECT_EQ(w.rows[0].cells[1].number, 3);
    EXPECT_EQ(w.rows[0].cells[2].number, 3);  // 病假
    EXPECT_EQ(w.rows[1].cells[7].number, 2);  // 李四 and 张三 away in week 3
    EXPECT_EQ(w.rows[3].cells[1].number, 0);
    EXPECT_EQ(w.totals->cells[1].number, 7);

    const Table r = recordTable(f);
    ASSERT_EQ(r.rows.size(), 7u);
    EXPECT_EQ(r.rows[0].cells[1].text, "星期一");
    EXPECT_EQ(r.rows[0].cells[1].number, 1);
    EXPECT_EQ(r.rows[0].cells[7].number, 1);
}

TEST(PayRate, TypedAmounts) {
    const auto rate = [](const char* typed) {
        const auto r = parseRate(typed);
        return r ? (*r ? formatNumber(**r, 2) : "空") : r.refusal().message;
    };
    const std::string refused =
        "每节酬金请输入不超过10000的金额（元），例如 30 或 25.5；不计酬金请留空。";
    EXPECT_EQ(rate(""), "空");
    EXPECT_EQ(rate("  "), "空");
    EXPECT_EQ(rate("30"), "30");
    EXPECT_EQ(rate(" 25.5 元"), "25.50");
    EXPECT_EQ(rate("12.50元/节"), "12.50");
    for (const char* bad : {"三十", "-5", "1.2.3", "0.125", "20000", "."})
        EXPECT_EQ(rate(bad), refused) << bad;
    EXPECT_EQ(formatNumber(30, 2), "30");
    EXPECT_EQ(formatNumber(2.0 / 3), "0.7");
}

TEST(PayRate, KeptWithTheSchoolAndThroughTheResets) {
    TempStore db;
    EXPECT_FALSE(payRate(*db));
    setPayRate(*db, 30);
    setPayRate(*db, 32);
    EXPECT_EQ(db.count("代课酬金"), 1);
    EXPECT_EQ(payRate(*db), 32);
    // The rate is the school's setting, like the password: 所有数据清空 keeps it.
    emptyAllData(*db);
    EXPECT_EQ(payRate(*db), 32);
}

TEST(PayRate, AnOlderFileGainsTheTableAndKeepsItsData) {
    testing::TempDir dir;
    {
        auto s = Store::open(dir.path());
        s->execScript(
            "INSERT INTO 教师姓名 (姓名) VALUES ('张三');"
            "DROP TABLE 代课酬金; DROP TABLE 作息时间; DROP TABLE 已通知代课; DROP TABLE 代课规则; "
            "DROP TABLE 程序版本; DROP TABLE 代课存档; DROP TABLE 代课费标准; DROP TABLE 修改记录; "
            "DROP TABLE 调课记录; DROP TABLE 调课设置; DROP TABLE 已通知调课; "
            "PRAGMA user_version = 1;");
    }
    auto s = Store::open(dir.path());
    EXPECT_EQ(s->select("PRAGMA user_version")[0][0].toInt(), schema::kVersion);
    EXPECT_EQ(s->select("SELECT 姓名 FROM 教师姓名")[0][0].text(), "张三");
    EXPECT_FALSE(payRate(*s));
    setPayRate(*s, 20);
    EXPECT_EQ(payRate(*s), 20);
}

}  // namespace
}  // namespace daike
