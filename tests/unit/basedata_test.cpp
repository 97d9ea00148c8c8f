#include <filesystem>
#include <tuple>

#include "basedata/classes.h"
#include "basedata/full_width.h"
#include "basedata/teacher_names.h"
#include "basedata/timetable.h"
#include "store/failure.h"
#include "store/safekeeping.h"
#include "test_support.h"

namespace daike {
namespace {

using TeacherNames = testing::StoreTest;

TEST_F(TeacherNames, ReplacesTheListUpToTheFirstEmptyPlace) {
    store().execScript(
        "INSERT INTO 教师姓名 VALUES ('旧', '一(1)', '一(1)', NULL, NULL, NULL);"
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) "
        "VALUES ('旧', 1, '一(1)', 1, '语文');");
    EXPECT_EQ(*storeTeacherNames(store(), {"张三", " 李 四 ", "", "王五"}, {}), 2);
    EXPECT_EQ(readTeacherNames(store()), (std::vector<std::string>{"张三", " 李 四 "}));
    EXPECT_EQ(column("SELECT count(*) FROM 教师姓名 WHERE 班主任 IS NOT NULL"), "0");
    EXPECT_EQ(column("SELECT count(*) FROM 任课情况"), "1");
    EXPECT_EQ(*storeTeacherNames(store(), {""}, {}), 0);
    EXPECT_TRUE(readTeacherNames(store()).empty());
}

TEST_F(TeacherNames, AFailureLeavesTheOldListInPlace) {
    store().execScript(
        "INSERT INTO 教师姓名 (姓名) VALUES ('甲'), ('乙');"
        "CREATE TRIGGER refuse BEFORE INSERT ON 教师姓名 WHEN NEW.姓名 = '坏' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    EXPECT_THROW((void)storeTeacherNames(store(), {"丙", "坏"}, {}), Failure);
    EXPECT_EQ(readTeacherNames(store()), (std::vector<std::string>{"甲", "乙"}));
}

TEST_F(TeacherNames, StoringKeepsTheClassesOfTeachersWhoStay) {
    store().execScript(
        "INSERT INTO 教师姓名 VALUES ('甲', '一(1)', '一(1)', '一(2)', NULL, NULL),"
        "('乙', NULL, NULL, NULL, '二(1),二(2)', NULL), ('丙', '三(1)', NULL, NULL, NULL, '三(1)'),"
        "('乙', '四(1)', NULL, NULL, NULL, NULL);");
    // An older list that holds a name twice is not stored back as it stands: every row as it
    // was.
    const std::string before = column(
        "SELECT 姓名||'/'||ifnull(班主任,'')||'/'||ifnull(语文,'')"
        "||'/'||ifnull(英语,'')||'/'||ifnull(科学,'') "
        "FROM 教师姓名 ORDER BY rowid");
    const auto asItStands = storeTeacherNames(store(), readTeacherNames(store()), {});
    ASSERT_FALSE(asItStands);
    EXPECT_EQ(asItStands.refusal().message,
              "教师姓名“乙”输入了两次（第2个和第4个格子），同一位教师只能输入一次。"
              "请修改后再按“确定”！");
    EXPECT_EQ(column("SELECT 姓名||'/'||ifnull(班主任,'')||'/'||ifnull(语文,'')"
                     "||'/'||ifnull(英语,'')||'/'||ifnull(科学,'') FROM 教师姓名 ORDER BY rowid"),
              before);
    // Reordered, one removed, one added: rows follow their names, in the order of the places; a
    // name the old list held twice keeps its first row.
    EXPECT_EQ(*storeTeacherNames(store(), {"丙", "丁", "乙", "甲"}, {}), 4);
    EXPECT_EQ(column("SELECT 姓名 FROM 教师姓名 ORDER BY rowid"), "丙,丁,乙,甲");
    EXPECT_EQ(column("SELECT ifnull(班主任,'-') FROM 教师姓名 ORDER BY rowid"), "三(1),-,-,一(1)");
    EXPECT_EQ(column("SELECT ifnull(数学,'-') FROM 教师姓名 ORDER BY rowid"), "-,-,-,一(2)");
    EXPECT_EQ(column("SELECT ifnull(英语,'-') FROM 教师姓名 ORDER BY rowid"), "-,-,二(1),二(2),-");
    EXPECT_EQ(column("SELECT ifnull(科学,'-') FROM 教师姓名 ORDER BY rowid"), "三(1),-,-,-");
}

TEST_F(TeacherNames, ANameTypedTwiceIsRefusedAndNothingIsStored) {
    store().exec("INSERT INTO 教师姓名 (姓名) VALUES ('甲')");
    int backups = 0;
    const BackupStep counted = [&] { ++backups; };
    // Exactly the same, and the same but for the blanks at its ends (ASCII or full-width): one
    // teacher to every look-up.
    const std::vector<std::vector<std::string>> twice = {
        {"张三", "李四", "张三"}, {"张三", "李四", " 张三\u3000"}, {"\u3000张三", "李四", "张三 "}};
    for (const auto& boxes : twice) {
        const auto stored = storeTeacherNames(store(), boxes, counted);
        ASSERT_FALSE(stored);
        EXPECT_EQ(stored.refusal().message,
                  "教师姓名“张三”输入了两次（第1个和第3个格子），同一位教师只能输入一次。"
                  "请修改后再按“确定”！");
    }
    EXPECT_EQ(backups, 0);
    EXPECT_EQ(readTeacherNames(store()), std::vector<std::string>{"甲"});
    // Blanks inside a name make another name; a name after the first empty place is not
    // stored, so it repeats nothing.
    EXPECT_TRUE(checkTeacherNames({"张三", "张 三", "张　三"}));
    EXPECT_TRUE(checkTeacherNames({"张三", "", "张三"}));
    const auto kept = storeTeacherNames(store(), {"张三", "张 三", "", "张三"}, counted);
    ASSERT_TRUE(kept);
    EXPECT_EQ(*kept, 2);
    EXPECT_EQ(backups, 1);
}

TEST_F(TeacherNames, NamesAfterAGapAreNamedBeforeTheyAreDropped) {
    EXPECT_TRUE(namesAfterFirstGap({"甲", "乙", "", ""}).empty());
    EXPECT_EQ(namesAfterFirstGap({"甲", "", "乙", "", "丙"}),
              (std::vector<std::string>{"乙", "丙"}));
    EXPECT_EQ(namesAfterFirstGap({"", "甲"}), (std::vector<std::string>{"甲"}));
}

using Classes = testing::StoreTest;

TEST_F(Classes, CountsAreWholeNumbersUpTo99) {
    EXPECT_EQ(classCount("0"), 0);
    EXPECT_EQ(classCount("00"), 0);
    EXPECT_EQ(classCount("99"), 99);
    EXPECT_EQ(classCount(" 12\u3000"), 12);
    // Full-width digits, the zero too, are the digits the office meant.
    EXPECT_EQ(classCount("３"), 3);
    EXPECT_EQ(classCount("１０"), 10);
    // Nothing else reads as a count: taken as 0 it would remove the grade's classes.
    for (const char* box : {"两个", "2.7", "2.9", " 3个班", "-2", "-3", "+3", "abc", "1e3", "100",
                            "12345678901234567890", "3 4", "０x"})
        EXPECT_FALSE(classCount(box)) << box;
}

TEST_F(Classes, NamesGoGradeByGradeInClassOrder) {
    store().exec("INSERT INTO 班级 VALUES ('六(9)')");
    EXPECT_TRUE(writeClasses(store(), {"2", "3", "0", "1", "0", "0"}, {}));
    EXPECT_EQ(column("SELECT 班级 FROM 班级 ORDER BY rowid"),
              "一(1),一(2),二(1),二(2),二(3),四(1)");
    EXPECT_TRUE(writeClasses(store(), {"0", "0", "0", "0", "0", "10"}, {}));
    EXPECT_EQ(column("SELECT 班级 FROM 班级 ORDER BY rowid"),
              "六(1),六(2),六(3),六(4),六(5),六(6),六(7),六(8),六(9),六(10)");
}

// The backup step as the window gives it: a real automatic backup, counted.
struct CountedBackup {
    Store& store;
    int made = 0;
    std::filesystem::path last;
    BackupStep step() {
        return [this] {
            ++made;
            last = safekeeping::automaticBackup(store, "班级数目保存前", {2024, 3, 20, 8, made, 0});
        };
    }
};

std::size_t automaticBackups(Store& store) {
    std::size_t n = 0;
    for (const auto& b : safekeeping::listBackups(store.directory())) n += b.automatic;
    return n;
}

TEST_F(Classes, ARefusedEntryIsNeitherBackedUpNorWritten) {
    store().exec("INSERT INTO 班级 VALUES ('一(1)')");
    CountedBackup backup{store(), 0, {}};
    const auto missing = writeClasses(store(), {"2", "", "1", "1", "1", "1"}, backup.step());
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.refusal().message, "您还没有输入班级数！");
    // Blanks are no count either.
    const auto blank = writeClasses(store(), {"2", "1", "1", "1", "\u3000 ", "1"}, backup.step());
    ASSERT_FALSE(blank);
    EXPECT_EQ(blank.refusal().message, "您还没有输入班级数！");
    // A count that is not one names its grade, even a number too long for any count.
    const auto tooMany = writeClasses(store(), {"2", "1", "1", "100", "1", "1"}, backup.step());
    ASSERT_FALSE(tooMany);
    EXPECT_EQ(tooMany.refusal().message, "四年级的班级数必须是0到99之间的整数。");
    const auto huge =
        writeClasses(store(), {"2", "1", "12345678901234567890", "1", "1", "1"}, backup.step());
    ASSERT_FALSE(huge);
    EXPECT_EQ(huge.refusal().message, "三年级的班级数必须是0到99之间的整数。");
    for (const char* box : {"-3", "abc", "2.9", "1e9"}) {
        const auto wrong = writeClasses(store(), {"2", "1", "1", "1", "1", box}, backup.step());
        ASSERT_FALSE(wrong) << box;
        EXPECT_EQ(wrong.refusal().message, "六年级的班级数必须是0到99之间的整数。");
    }
    EXPECT_EQ(backup.made, 0);
    EXPECT_EQ(automaticBackups(store()), 0u);
    EXPECT_EQ(column("SELECT 班级 FROM 班级"), "一(1)");
    // Full-width digits are written as the classes they count.
    EXPECT_TRUE(writeClasses(store(), {"２", "1", "1", "0", "1", "１０"}, backup.step()));
    EXPECT_EQ(column("SELECT count(*) FROM 班级"), "15");
    EXPECT_EQ(column("SELECT 班级 FROM 班级 ORDER BY rowid DESC LIMIT 1"), "六(10)");
}

TEST_F(Classes, AnAcceptedEntryIsBackedUpOnceBeforeItIsWritten) {
    store().exec("INSERT INTO 班级 VALUES ('六(9)')");
    CountedBackup backup{store(), 0, {}};
    EXPECT_TRUE(writeClasses(store(), {"1", "0", "0", "0", "0", "0"}, backup.step()));
    EXPECT_EQ(backup.made, 1);
    EXPECT_EQ(automaticBackups(store()), 1u);
    EXPECT_EQ(column("SELECT 班级 FROM 班级"), "一(1)");
    // The backup holds the classes as they were.
    testing::TempDir elsewhere;
    std::filesystem::copy_file(backup.last, elsewhere.path() / "代课.db");
    auto old = Store::open(elsewhere.path());
    EXPECT_EQ(old->selectText("SELECT group_concat(班级) FROM 班级")[0][0], "六(9)");
}

TEST_F(Classes, AFailedBackupWritesNothing) {
    store().exec("INSERT INTO 班级 VALUES ('六(9)')");
    const BackupStep failing = [] { throw Failure(Failure::Kind::CannotWrite, "备份失败"); };
    EXPECT_THROW((void)writeClasses(store(), {"1", "0", "0", "0", "0", "0"}, failing), Failure);
    EXPECT_EQ(column("SELECT 班级 FROM 班级"), "六(9)");
}

TEST_F(TeacherNames, TheBackupIsTakenBeforeTheListIsReplaced) {
    store().exec("INSERT INTO 教师姓名 (姓名) VALUES ('甲')");
    CountedBackup backup{store(), 0, {}};
    EXPECT_EQ(*storeTeacherNames(store(), {"乙", "丙"}, backup.step()), 2);
    EXPECT_EQ(backup.made, 1);
    testing::TempDir elsewhere;
    std::filesystem::copy_file(backup.last, elsewhere.path() / "代课.db");
    EXPECT_EQ(
        Store::open(elsewhere.path())->selectText("SELECT group_concat(姓名) FROM 教师姓名")[0][0],
        "甲");
    const BackupStep failing = [] { throw Failure(Failure::Kind::CannotWrite, "备份失败"); };
    EXPECT_THROW((void)storeTeacherNames(store(), {"丁"}, failing), Failure);
    EXPECT_EQ(readTeacherNames(store()), (std::vector<std::string>{"乙", "丙"}));
}

using Courses = testing::StoreTest;

TEST_F(Courses, EachTickedGradeTakesItsFirstFreePlace) {
    EXPECT_FALSE(gradeCourses(store(), 0).has_value());
    EXPECT_TRUE(addCourse(store(), "语文", {true, false, false, false, false, false}));
    EXPECT_TRUE(addCourse(store(), "科学", {true, false, true, false, false, false}));
    EXPECT_TRUE(addCourse(store(), "书法", {}));
    const auto blank = addCourse(store(), " 　", {true, true, true, true, true, true});
    ASSERT_FALSE(blank);
    EXPECT_EQ(blank.refusal().message, "请输入开设课程的名称！");
    EXPECT_EQ(column("SELECT 课程 FROM 开设课程 ORDER BY rowid"), "语文,科学,书法");
    EXPECT_EQ(column("SELECT 一年级 FROM 开设课程 ORDER BY rowid"), "语文,科学,NULL");
    EXPECT_EQ(column("SELECT 三年级 FROM 开设课程 ORDER BY rowid"), "科学,NULL,NULL");
    EXPECT_EQ(*gradeCourses(store(), 0), (std::vector<std::string>{"语文", "科学"}));
    EXPECT_EQ(*gradeCourses(store(), 2), (std::vector<std::string>{"科学"}));
    EXPECT_TRUE(gradeCourses(store(), 5)->empty());
    // An empty cell ends a grade's list and is the next free place.
    store().exec("UPDATE 开设课程 SET 一年级 = '' WHERE 课程 = '语文'");
    EXPECT_TRUE(gradeCourses(store(), 0)->empty());
    EXPECT_TRUE(addCourse(store(), "音乐", {true, false, false, false, false, false}));
    EXPECT_EQ(*gradeCourses(store(), 0), (std::vector<std::string>{"音乐", "科学"}));
}

TEST(ClassNames, GradeOfAClassComesFromItsFirstCharacter) {
    EXPECT_EQ(className(2, 2), "三(2)");
    EXPECT_EQ(className(0, 12), "一(12)");
    EXPECT_EQ(gradeOfClass("三(2)"), 2);
    EXPECT_EQ(gradeOfClass(" 六(1)"), 5);
    EXPECT_EQ(gradeOfClass("七(1)"), -1);
    EXPECT_EQ(gradeOfClass(""), -1);
}

TEST(ClassNames, ClassesGoInTheSchoolsOrder) {
    // Code point order would put 三 before 二 and 五 before 四, and 一(10) before 一(2).
    std::vector<std::string> classes = {"五(1)", "一(10)", "三(3)",  "二(2)",
                                        "一(2)", "四(1)",  "兴趣班", "六(1)"};
    std::sort(classes.begin(), classes.end(), classBefore);
    EXPECT_EQ(classes, (std::vector<std::string>{"一(2)", "一(10)", "二(2)", "三(3)", "四(1)",
                                                 "五(1)", "六(1)", "兴趣班"}));
}

TEST(FullWidth, BracketsDigitsAndBlanksAreCleaned) {
    EXPECT_EQ(cleanFullWidth("三（２）"), "三(2)");
    EXPECT_EQ(cleanFullWidth(" 一 (1)\u3000"), "一(1)");
    EXPECT_EQ(cleanFullWidth("四（１０）"), "四(1０)");
    EXPECT_EQ(cleanFullWidth("品德与社会"), "品德与社会");
}

class Timetable : public testing::StoreTest {
  protected:
    void SetUp() override {
        StoreTest::SetUp();
        store().execScript(
            "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES "
            "('李二', 2, '一(1)', 2, '语文'), ('李二', 5, '二(1)', 6, '数学');");
    }
    std::string rows(const std::string& teacher) {
        std::string out;
        for (const auto& r : store().selectText(
                 "SELECT 星期 || '-' || 节次 || ' ' || 班级 || ' ' || 课目 FROM 任课情况 "
                 "WHERE 姓名 = '" +
                 teacher + "' ORDER BY rowid")) {
            if (!out.empty()) out += ",";
            out += *r[0];
        }
        return out;
    }
};

TEST_F(Timetable, CellsStandForWeekdayAndPeriod) {
    const auto r = saveLessons(store(), "王一", "一(2)", "数学", {0, 7, 29});
    EXPECT_EQ(r->saved, (std::vector<int>{0, 7, 29}));
    EXPECT_EQ(r->clashCell, -1);
    EXPECT_EQ(rows("王一"), "1-1 一(2) 数学,2-2 一(2) 数学,5-6 一(2) 数学");
    const auto week = teacherWeek(store(), "王一");
    EXPECT_EQ(week.lessons, 3);
    EXPECT_EQ(week.cells[29].className, "一(2)");
    EXPECT_EQ(week.cells[7].subject, "数学");
    EXPECT_EQ(week.cells[1].subject, "");
}

TEST_F(Timetable, SelectedCellsNeedTeacherClassAndSubject) {
    for (const auto& [teacher, cls, subject] :
         {std::tuple{"", "一(2)", "数学"}, {"王一", "", "数学"}, {"王一", "一(2)", ""}}) {
        const auto r = saveLessons(store(), teacher, cls, subject, {0});
        ASSERT_FALSE(r);
        EXPECT_EQ(r.refusal().message, "请先选择教师、班级和任课！");
    }
    EXPECT_EQ(rows("王一"), "");
    // Nothing selected: nothing to refuse, nothing added.
    EXPECT_TRUE(saveLessons(store(), "", "", "", {}));
    EXPECT_EQ(column("SELECT count(*) FROM 任课情况"), "2");
}

TEST(TimetableClash, TwoLinesAtMostTheSecondCountingTheRest) {
    const Clash a{"甲", 1, 1, "一(1)"}, b{"乙", 2, 3, "一(2)"}, c{"丙", 5, 6, "二(1)"};
    EXPECT_TRUE(clashLines({}).empty());
    EXPECT_EQ(clashLines({a}),
              (std::vector<std::string>{"甲老师星期一第1节在一(1)班中已有课务！"}));
    EXPECT_EQ(clashLines({a, b}),
              (std::vector<std::string>{"甲老师星期一第1节在一(1)班中已有课务！",
                                        "乙老师星期二第3节在一(2)班中已有课务！"}));
    EXPECT_EQ(clashLines({a, b, c, c}),
              (std::vector<std::string>{"甲老师星期一第1节在一(1)班中已有课务！",
                                        "乙老师星期二第3节在一(2)班中已有课务！（另有2条）"}));
}

TEST_F(Timetable, AClashStopsTheSaveWhereItIs) {
    const auto r = saveLessons(store(), "王一", "一(1)", "数学", {3, 7, 8});
    EXPECT_EQ(r->saved, (std::vector<int>{3}));
    EXPECT_EQ(r->clashCell, 7);
    ASSERT_EQ(r->clashes.size(), 1u);
    EXPECT_EQ(clashLine(r->clashes[0]), "李二老师星期二第2节在一(1)班中已有课务！");
    EXPECT_EQ(rows("王一"), "1-4 一(1) 数学");
    // Only the class counts: the same teacher may be given two classes in one period.
    EXPECT_EQ(saveLessons(store(), "李二", "三(1)", "科学", {7})->clashCell, -1);
    EXPECT_EQ(column("SELECT count(*) FROM 任课情况 WHERE 姓名 = '李二' AND 星期 = 2 AND 节次 = 2"),
              "2");
}

TEST_F(Timetable, EveryClashingRowIsReported) {
    store().exec(
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES "
        "('赵三', 2, '一(1)', 2, '美术')");
    const auto r = saveLessons(store(), "王一", "一(1)", "数学", {7});
    ASSERT_EQ(r->clashes.size(), 2u);
    EXPECT_EQ(r->clashes[1].teacher, "赵三");
    EXPECT_TRUE(r->saved.empty());
}

TEST_F(Timetable, DeletingAOneRowSlotTakesThatRowWhoeverTeachesIt) {
    // The cell is keyed on class, weekday and period only.
    EXPECT_EQ(deleteLessons(store(), {{7, {"任意", "一(1)"}}}), 1);
    EXPECT_EQ(rows("李二"), "5-6 二(1) 数学");
    // No row there: nothing goes.
    EXPECT_EQ(deleteLessons(store(), {{8, {"数学", "二(1)"}}}), 0);
    EXPECT_EQ(rows("李二"), "5-6 二(1) 数学");
}

TEST_F(Timetable, DeletingAmongSeveralRowsTakesOnlyTheMatchingSubject) {
    store().exec(
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES "
        "('赵三', 2, '一(1)', 2, '美术'), ('钱五', 2, '一(1)', 2, '语文')");
    EXPECT_EQ(deleteLessons(store(), {{7, {"语文", "一(1)"}}, {29, {"数学", "二(1)"}}}), 3);
    EXPECT_EQ(column("SELECT 姓名 || 课目 FROM 任课情况 ORDER BY rowid"), "赵三美术");
}

TEST_F(Timetable, RowsOutsideTheWeekHaveNoCell) {
    store().exec(
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES "
        "('李二', 6, '一(1)', 1, '语文'), ('李二', 1, '一(1)', 0, '语文'), "
        "('李二', 1, '一(1)', 7, '语文'), ('李二', NULL, '一(1)', 1, '语文')");
    const auto week = teacherWeek(store(), "李二");
    EXPECT_EQ(week.lessons, 6);
    EXPECT_EQ(week.outsideGrid, 4);
    int shown = 0;
    for (const auto& c : week.cells) shown += c.className.empty() ? 0 : 1;
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(teacherWeek(store(), "王一").lessons, 0);
}

TEST_F(Timetable, NamesAndClassesWithQuotesAreStoredAsGiven) {
    (void)saveLessons(store(), "O'Neil", "一(1)'", "x\"y", {0});
    EXPECT_EQ(rows("O''Neil"), "1-1 一(1)' x\"y");
    EXPECT_EQ(teacherWeek(store(), "O'Neil").cells[0].className, "一(1)'");
    EXPECT_EQ(deleteLessons(store(), {{0, {"x\"y", "一(1)'"}}}), 1);
}

}  // namespace
}  // namespace daike
