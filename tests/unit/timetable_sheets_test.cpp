#include "basedata/timetable_sheets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

#include "basedata/demo_school.h"
#include "basedata/sheet_import.h"
#include "basedata/timetable_export.h"
#include "store/tables/timetable.h"
#include "store/week.h"
#include "test_support.h"

namespace daike {
namespace {

using namespace timetable_sheets;
using spreadsheet::Range;
using spreadsheet::Sheet;
using spreadsheet::Workbook;
using timetable_import::LessonRow;
using Rows = std::vector<std::vector<std::string>>;

Sheet sheetOf(std::string name, Rows rows, std::vector<Range> merged = {}) {
    Sheet s;
    s.name = std::move(name);
    s.rows = std::move(rows);
    s.merged = std::move(merged);
    return s;
}

Workbook bookOf(std::vector<Sheet> sheets) {
    Workbook b;
    b.sheets = std::move(sheets);
    return b;
}

// ---- the fixture school ---------------------------------------------------------------------

School fixtureSchool() {
    return {{"张三", "李四", "王五", "钱七"},
            {"一(1)", "一(2)", "二(10)"},
            {"语文", "数学", "英语", "科学", "体育"}};
}

struct FixtureLesson {
    const char* teacher;
    int weekday;
    int period;
    const char* cls;
    const char* subject;
    const char* teacherText;  // the 按教师 cell
};
// 李四's 周五3 is one cell holding two lessons: the second row's text is empty.
const std::vector<FixtureLesson> kLessons = {
    {"张三", 1, 1, "一(1)", "语文", "一(1)语文"},
    {"张三", 1, 2, "一(2)", "语文", "语文 一(2)"},
    {"张三", 3, 5, "一(1)", "语文", "语文（一年级1班）"},
    {"李四", 1, 1, "一(2)", "数学", "1(2)数学"},
    {"李四", 2, 6, "二(10)", "数学", "二(10)数学"},
    {"李四", 5, 3, "一(1)", "数学", "一(1)数学\n一(2)数学"},
    {"李四", 5, 3, "一(2)", "数学", ""},
    {"王五", 2, 1, "二(10)", "英语", "英语（二年级10班）"},
    {"王五", 4, 4, "一(1)", "英语", "1(1)英语"},
    {"赵六", 3, 2, "二(10)", "科学", "科学 二(10)"},
    {"钱七", 5, 6, "一(2)", "体育", "体育\u3000一(2)"},
    {"钱七", 4, 1, "一(1)", "体育", "一(1)体育"},
};
const std::vector<std::string> kTeacherRows = {"张三", "李四", "王五", "赵六", "钱七"};
const std::vector<std::string> kClassRows = {"一(1)", "一(2)", "二(10)"};

std::string slotHeader(int weekday, int period) {
    return "周" + std::string(week::weekdayNumeral(weekday)) + std::to_string(period);
}

// Column of a slot in the one-row-header grids, from 0 (column 0 holds the names).
int slotColumn(int weekday, int period) {
    return 1 + week::slotIndex(weekday, period);
}

std::vector<std::string> slotHeaderRow(const std::string& first) {
    std::vector<std::string> row{first};
    for (int w = 1; w <= week::kDays; ++w)
        for (int p = 1; p <= week::kPeriods; ++p) row.push_back(slotHeader(w, p));
    return row;
}

// A 按班级 cell in the rotating forms of the fixture files.
std::string classText(const FixtureLesson& l, bool subjectsOnly) {
    const std::string subject = l.subject, teacher = l.teacher;
    if (subjectsOnly) return subject;
    if (l.weekday == 5 && l.period == 3) return "数学 李四";
    if (subject == "语文") return "语文 张三";
    if (subject == "数学") return "数学/李四";
    if (subject == "英语") return "英语(王五)";
    if (subject == "科学") return "科学\n赵六";
    return "体育 钱七";
}

void put(Rows& rows, int r, int c, const std::string& text) {
    if (rows.size() <= static_cast<std::size_t>(r)) rows.resize(r + 1);
    auto& row = rows[static_cast<std::size_t>(r)];
    if (row.size() <= static_cast<std::size_t>(c)) row.resize(c + 1);
    row[static_cast<std::size_t>(c)] = text;
}

Sheet byTeacherSheet(const std::string& name = "按教师") {
    Rows rows{slotHeaderRow("姓名")};
    for (std::size_t t = 0; t < kTeacherRows.size(); ++t) put(rows, t + 1, 0, kTeacherRows[t]);
    for (const auto& l : kLessons) {
        if (!*l.teacherText) continue;
        const auto t = std::find(kTeacherRows.begin(), kTeacherRows.end(), l.teacher);
        put(rows, 1 + static_cast<int>(t - kTeacherRows.begin()), slotColumn(l.weekday, l.period),
            l.teacherText);
    }
    return sheetOf(name, rows);
}

// Two header rows: 星期一 … merged over its periods, 第1节 … below, an empty 早读 column
// before 星期一's first period.
Sheet twoRowTeacherSheet() {
    Rows rows(2);
    std::vector<Range> merged{{0, 0, 1, 0}};
    put(rows, 0, 0, "姓名");
    put(rows, 1, 1, "早读");
    merged.push_back({0, 1, 1, 1});
    put(rows, 0, 1, "早读");
    auto column = [](int w, int p) { return 1 + 1 + week::slotIndex(w, p); };
    for (int w = 1; w <= week::kDays; ++w) {
        put(rows, 0, column(w, 1), "星期" + std::string(week::weekdayNumeral(w)));
        merged.push_back({0, column(w, 1), 0, column(w, week::kPeriods)});
        for (int p = 1; p <= week::kPeriods; ++p)
            put(rows, 1, column(w, p), "第" + std::to_string(p) + "节");
    }
    for (std::size_t t = 0; t < kTeacherRows.size(); ++t) put(rows, t + 2, 0, kTeacherRows[t]);
    for (const auto& l : kLessons) {
        if (!*l.teacherText) continue;
        const auto t = std::find(kTeacherRows.begin(), kTeacherRows.end(), l.teacher);
        put(rows, 2 + static_cast<int>(t - kTeacherRows.begin()), column(l.weekday, l.period),
            l.teacherText);
    }
    return sheetOf("Sheet1", rows, merged);
}

Sheet byClassSheet(const std::string& name, bool subjectsOnly) {
    Rows rows{slotHeaderRow("班级")};
    for (std::size_t c = 0; c < kClassRows.size(); ++c) put(rows, c + 1, 0, kClassRows[c]);
    for (const auto& l : kLessons) {
        const auto c = std::find(kClassRows.begin(), kClassRows.end(), l.cls);
        put(rows, 1 + static_cast<int>(c - kClassRows.begin()), slotColumn(l.weekday, l.period),
            classText(l, subjectsOnly));
    }
    return sheetOf(name, rows);
}

// One class's table from `top`: title, weekday row, periods 1-3, 午休, periods 4-6.
void classBlock(Rows& rows, std::vector<Range>& merged, int top, const std::string& cls,
                bool subjectsOnly) {
    put(rows, top, 0, cls + "班课表");
    merged.push_back({top, 0, top, 6});
    const std::vector<std::string> header{"", "节次", "周一", "周二", "周三", "周四", "周五"};
    for (int c = 0; c < 7; ++c) put(rows, top + 1, c, header[static_cast<std::size_t>(c)]);
    auto rowOf = [&](int period) { return top + 1 + period + (period > 3 ? 1 : 0); };
    put(rows, rowOf(1), 0, "上午");
    merged.push_back({rowOf(1), 0, rowOf(3), 0});
    put(rows, rowOf(4), 0, "下午");
    merged.push_back({rowOf(4), 0, rowOf(6), 0});
    put(rows, top + 5, 1, "午休");
    merged.push_back({top + 5, 1, top + 5, 6});
    for (int p = 1; p <= week::kPeriods; ++p)
        put(rows, rowOf(p), 1, "第" + std::to_string(p) + "节");
    for (const auto& l : kLessons)
        if (l.cls == cls) put(rows, rowOf(l.period), 1 + l.weekday, classText(l, subjectsOnly));
}

std::vector<Sheet> classSheets(bool subjectsOnly) {
    std::vector<Sheet> sheets;
    for (const auto& cls : kClassRows) {
        Rows rows;
        std::vector<Range> merged;
        classBlock(rows, merged, 0, cls, subjectsOnly);
        sheets.push_back(sheetOf(cls + "班", rows, merged));
    }
    return sheets;
}

Sheet blocksSheet() {
    Rows rows;
    std::vector<Range> merged;
    int top = 0;
    for (const auto& cls : kClassRows) {
        classBlock(rows, merged, top, cls, false);
        top = static_cast<int>(rows.size()) + 1;  // an empty row between blocks
    }
    return sheetOf("总表", rows, merged);
}

Sheet assignmentsSheet() {
    return sheetOf("任课安排", {{"班级", "语文", "数学", "英语", "科学", "体育"},
                                {"一(1)", "张三", "李四", "王五", "", "钱七"},
                                {"一(2)", "张三", "李四", "", "", "钱七"},
                                {"二(10)", "", "李四", "王五", "赵六", ""}});
}

// The lessons sorted, to compare with the fixture whatever the layout's order.
using Key = std::tuple<std::string, int, int, std::string, std::string>;
std::vector<Key> sorted(const std::vector<LessonRow>& lessons) {
    std::vector<Key> keys;
    for (const auto& l : lessons)
        keys.emplace_back(l.teacher, l.weekday, l.period, l.className, l.subject);
    std::sort(keys.begin(), keys.end());
    return keys;
}
std::vector<Key> fixtureKeys() {
    std::vector<Key> keys;
    for (const auto& l : kLessons)
        keys.emplace_back(l.teacher, l.weekday, l.period, l.cls, l.subject);
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::string kinds(const Reading& r) {
    std::string out;
    for (const auto& p : r.problems) {
        if (!out.empty()) out += "; ";
        out += p.line(true);
    }
    return out;
}

// The fixture's two problems, wherever the layout puts them.
void expectFixtureProblems(const Reading& r) {
    ASSERT_EQ(r.problems.size(), 2u) << kinds(r);
    int twice = 0, unknown = 0;
    for (const auto& p : r.problems) {
        if (p.kind == Problem::Kind::TeacherTwice) {
            ++twice;
            EXPECT_EQ(p.text, "李四星期五第3节同时在一(1)、一(2)上课");
        }
        if (p.kind == Problem::Kind::UnknownTeacher) {
            ++unknown;
            EXPECT_EQ(p.text, "“赵六”不在教师名单中");
        }
    }
    EXPECT_EQ(twice, 1) << kinds(r);
    EXPECT_EQ(unknown, 1) << kinds(r);
    EXPECT_EQ(r.newTeachers, std::vector<std::string>{"赵六"});
}

// ---- the pieces -----------------------------------------------------------------------------

TEST(TimetableSheetsClassName, EveryFormGivesTheStoredName) {
    const std::vector<std::pair<const char*, const char*>> forms = {
        {"一(1)", "一(1)"},       {"一（1）", "一(1)"},        {"1(1)", "一(1)"},
        {"一年级1班", "一(1)"},   {"一年1班", "一(1)"},        {"一1班", "一(1)"},
        {"(一年级1班)", "一(1)"}, {"（六年级３班）", "六(3)"}, {"一(10)", "一(10)"},
        {"二（１０）", "二(10)"}, {" 三 ( 2 ) ", "三(2)"},     {"6(99)", "六(99)"},
        {"一(1)班", "一(1)"},     {"四年级12班", "四(12)"},    {"一(01)", "一(1)"},
        {"一年级二班", "一(2)"},  {"六年九班", "六(9)"},
    };
    for (const auto& [text, name] : forms) EXPECT_EQ(className(text), name) << text;
}

TEST(TimetableSheetsClassName, NoClassOfThisSchoolGivesNothing) {
    for (const char* text : {"一二班", "七(1)", "0(1)", "一(0)", "一(100)", "八年级1班", "语文", "",
                             "一", "一(1)语文", "(1)", "一()", "张三"})
        EXPECT_FALSE(className(text)) << text;
}

TEST(TimetableSheetsSlot, HeadersOfEveryFormNameTheirSlot) {
    const std::vector<std::pair<const char*, Slot>> headers = {
        {"周一1", {1, 1}},    {"周一第1节", {1, 1}}, {"星期一第一节", {1, 1}},
        {"星期一 1", {1, 1}}, {"一1", {1, 1}},       {"1-1", {1, 1}},
        {"5-6", {5, 6}},      {"周五６", {5, 6}},    {"星期三第５节", {3, 5}},
        {"Mon1", {1, 1}},     {"Fri6", {5, 6}},      {"周二第六节课", {2, 6}},
        {"礼拜四3", {4, 3}},  {"一第2节", {1, 2}},   {"５－４", {5, 4}},
    };
    for (const auto& [text, slot] : headers) EXPECT_EQ(slotOf(text), slot) << text;
    for (const char* text : {"早读", "午休", "课外活动", "姓名", "班级", "周六1", "周一7", "周一0",
                             "6-1", "1-7", "第1节", "周一", "1", "", "一一", "11"})
        EXPECT_FALSE(slotOf(text)) << text;
}

TEST(TimetableSheetsTeacherCell, ClassAndSubjectInEitherOrder) {
    const std::vector<std::pair<const char*, CellLesson>> cells = {
        {"一(1)语文", {"一(1)", "语文", ""}},
        {"语文 一(2)", {"一(2)", "语文", ""}},
        {"语文（一年级1班）", {"一(1)", "语文", ""}},
        {"1(2)数学", {"一(2)", "数学", ""}},
        {"英语（二年级10班）", {"二(10)", "英语", ""}},
        {"体育\u3000一（２）", {"一(2)", "体育", ""}},
        {"劳动与技术(六年2班)", {"六(2)", "劳动与技术", ""}},
        {"[一(1)] 美术", {"一(1)", "美术", ""}},
        // The class with its 班, and the class meeting whose name begins with 班.
        {"一(1)班语文", {"一(1)", "语文", ""}},
        {"二(1)班队", {"二(1)", "班队", ""}},
        {"三(10)班会", {"三(10)", "班会", ""}},
        {"语文一(1)班", {"一(1)", "语文", ""}},
        {"一(1)班 语文", {"一(1)", "语文", ""}},
        {"班会 三(2)", {"三(2)", "班会", ""}},
    };
    for (const auto& [text, lesson] : cells) {
        const auto read = teacherCell(text);
        ASSERT_TRUE(read) << text;
        EXPECT_EQ(*read, std::vector<CellLesson>{lesson}) << text;
    }
}

TEST(TimetableSheetsTeacherCell, TwoLessonsEmptyCellsAndUnreadableOnes) {
    const std::vector<CellLesson> two = {{"一(1)", "数学", ""}, {"一(2)", "数学", ""}};
    for (const char* text : {"一(1)数学\n一(2)数学", "一(1)数学/一(2)数学",
                             "一(1)数学 ／ 一(2)数学", "一(1)数学\r\n\r\n一(2)数学"})
        EXPECT_EQ(teacherCell(text), two) << text;
    for (const char* text : {"", "  ", "\u3000", "\n", "早读", "-", "/", "——", "无"})
        EXPECT_EQ(teacherCell(text), std::vector<CellLesson>{}) << text;
    // A part without a class spoils the whole cell; so does a class without a subject.
    for (const char* text : {"语文", "一(1)语文/数学", "一(1)", "语文一(1)数学", "张三"})
        EXPECT_FALSE(teacherCell(text)) << text;
    // A class of no primary school is still read: the check against the school reports it.
    EXPECT_EQ(teacherCell("七(1)语文"), (std::vector<CellLesson>{{"七(1)", "语文", ""}}));
}

TEST(TimetableSheetsClassCell, SubjectAndTeacherInEveryForm) {
    const School school = fixtureSchool();
    const std::vector<std::pair<const char*, CellLesson>> cells = {
        {"语文 张三", {"", "语文", "张三"}},
        {"语文/张三", {"", "语文", "张三"}},
        {"语文(张三)", {"", "语文", "张三"}},
        {"语文（张三）", {"", "语文", "张三"}},
        {"语文\n张三", {"", "语文", "张三"}},
        {"语文　张三", {"", "语文", "张三"}},
        // a known teacher first
        {"张三 语文", {"", "语文", "张三"}},
        // not a known teacher, but the other part is a known subject
        {"赵六 科学", {"", "科学", "赵六"}},
        {"科学 赵六", {"", "科学", "赵六"}},
        // neither known: the second part
        {"音乐 孙八", {"", "音乐", "孙八"}},
        // no separator: a known subject in front, or a known teacher behind
        {"数学李四", {"", "数学", "李四"}},
        {"书法钱七", {"", "书法", "钱七"}},
    };
    for (const auto& [text, lesson] : cells)
        EXPECT_EQ(classCell(text, school, false), lesson) << text;
    for (const char* text : {"", "语文", "孙八音乐", "午休", "a b c", "-", "无"})
        EXPECT_FALSE(classCell(text, school, false)) << text;
    // 科目总表: the whole cell is the subject.
    EXPECT_EQ(classCell(" 语 文\n", school, true), (CellLesson{"", "语文", ""}));
    EXPECT_FALSE(classCell(" ", school, true));
}

// ---- each layout on the fixture school -------------------------------------------------------

TEST(TimetableSheetsLayouts, ByTeacherReadsTheFixtureInSheetOrder) {
    const auto r = read(bookOf({byTeacherSheet()}), Layout::ByTeacher, fixtureSchool());
    ASSERT_EQ(r.lessons.size(), kLessons.size()) << kinds(r);
    for (std::size_t i = 0; i < kLessons.size(); ++i) {
        // The fixture lists 钱七's lessons later slot first; the sheet reads them by slot.
        const auto& l = kLessons[i < 10 ? i : 21 - i];
        EXPECT_EQ(r.lessons[i], (LessonRow{l.teacher, l.weekday, l.period, l.subject, l.cls})) << i;
    }
    expectFixtureProblems(r);
    // 李四's one cell holds both classes; 赵六 is reported at his name.
    const auto& twice =
        r.problems[0].kind == Problem::Kind::TeacherTwice ? r.problems[0] : r.problems[1];
    EXPECT_EQ(twice.line(true), "工作表“按教师”第3行第28列：李四星期五第3节同时在一(1)、一(2)上课");
    EXPECT_EQ(r.problems[1].line(false), "第5行第1列：“赵六”不在教师名单中");
    EXPECT_EQ(r.sheetsRead, std::vector<std::string>{"按教师"});
}

TEST(TimetableSheetsLayouts, EveryLayoutGivesTheSameTwelveLessons) {
    std::vector<Sheet> subjects = classSheets(true);
    subjects.push_back(assignmentsSheet());
    const std::vector<std::tuple<const char*, Workbook, Layout>> books = {
        {"按教师", bookOf({byTeacherSheet("课表")}), Layout::ByTeacher},
        {"按教师, two header rows", bookOf({twoRowTeacherSheet()}), Layout::ByTeacher},
        {"按班级", bookOf({byClassSheet("Sheet1", false)}), Layout::ByClass},
        {"每班一表", bookOf(classSheets(false)), Layout::ClassSheets},
        {"每班一表, one sheet", bookOf({blocksSheet()}), Layout::ClassSheets},
        {"科目总表", bookOf({byClassSheet("科目总表", true), assignmentsSheet()}),
         Layout::SubjectsAndAssignments},
        {"科目总表 per class", bookOf(subjects), Layout::SubjectsAndAssignments},
    };
    for (const auto& [what, book, layout] : books) {
        SCOPED_TRACE(what);
        EXPECT_EQ(detect(book), layout);
        const auto r = read(book, layout, fixtureSchool());
        EXPECT_EQ(r.layout, layout);
        EXPECT_EQ(sorted(r.lessons), fixtureKeys()) << kinds(r);
        expectFixtureProblems(r);
    }
}

TEST(TimetableSheetsLayouts, ProblemsStandAtTheirCellsInEachLayout) {
    const auto byClass =
        read(bookOf({byClassSheet("按班级", false)}), Layout::ByClass, fixtureSchool());
    ASSERT_EQ(byClass.problems.size(), 2u) << kinds(byClass);
    // The clash stands at the second of 李四's cells (一(2)), then 赵六's cell (二(10), 周三2).
    EXPECT_EQ(byClass.problems[0].line(false),
              "第3行第28列：李四星期五第3节同时在一(1)、一(2)上课");
    EXPECT_EQ(byClass.problems[1].line(false), "第4行第15列：“赵六”不在教师名单中");

    const auto subjects = read(bookOf({byClassSheet("科目总表", true), assignmentsSheet()}),
                               Layout::SubjectsAndAssignments, fixtureSchool());
    ASSERT_EQ(subjects.problems.size(), 2u);
    EXPECT_EQ(subjects.problems[0].line(true),
              "工作表“科目总表”第3行第28列：李四星期五第3节同时在一(1)、一(2)上课");
    EXPECT_EQ(subjects.problems[1].line(true), "工作表“任课安排”第4行第5列：“赵六”不在教师名单中");
    EXPECT_EQ(subjects.sheetsRead, (std::vector<std::string>{"任课安排", "科目总表"}));
}

// ---- detection ------------------------------------------------------------------------------

TEST(TimetableSheetsDetect, OurOwnExportIsReadFromItsFirstSheets) {
    // The export: 按教师, 按班级, then one sheet per teacher and one per class.
    Rows teacherTable{{"张三老师课表"},
                      {"", "节次", "周一", "周二", "周三", "周四", "周五"},
                      {"上午", "第1节", "一(1)语文", "", "", "", ""}};
    std::vector<Sheet> sheets{byTeacherSheet(), byClassSheet("按班级", false),
                              sheetOf("张三老师课表", teacherTable)};
    for (auto& s : classSheets(false)) {
        s.name += "课表";
        sheets.push_back(s);
    }
    const Workbook book = bookOf(sheets);
    EXPECT_EQ(detect(book), Layout::ByTeacher);
    std::swap(sheets[0], sheets[1]);
    EXPECT_EQ(detect(bookOf(sheets)), Layout::ByClass);

    // Read as any layout, the export gives the fixture: the teachers' own tables are passed by.
    for (Layout layout : {Layout::ByTeacher, Layout::ByClass, Layout::ClassSheets}) {
        const auto r = read(book, layout, fixtureSchool());
        EXPECT_EQ(sorted(r.lessons), fixtureKeys()) << layoutName(layout) << ": " << kinds(r);
    }
    const auto perClass = read(book, Layout::ClassSheets, fixtureSchool());
    EXPECT_EQ(perClass.sheetsRead,
              (std::vector<std::string>{"一(1)班课表", "一(2)班课表", "二(10)班课表"}));
}

TEST(TimetableSheetsDetect, RowsOfNamesOrOfClassesAndNothingLikeATimetable) {
    // No header says which: the name column's cells do.
    Sheet teachers = byTeacherSheet("Sheet1");
    teachers.rows[0][0] = "";
    EXPECT_EQ(detect(bookOf({teachers})), Layout::ByTeacher);
    Sheet classes = byClassSheet("Sheet1", false);
    classes.rows[0][0] = "";
    EXPECT_EQ(detect(bookOf({classes})), Layout::ByClass);
    // A title row above the header is looked past.
    classes.rows.insert(classes.rows.begin(), {"2026学年第一学期总课表"});
    EXPECT_EQ(detect(bookOf({classes})), Layout::ByClass);

    const Workbook notes = bookOf({sheetOf("通讯录", {{"姓名", "电话"}, {"张三", "123"}})});
    EXPECT_EQ(detect(notes), std::nullopt);
    EXPECT_EQ(detect(Workbook{}), std::nullopt);
    const auto r = read(notes, Layout::ByClass, fixtureSchool());
    EXPECT_TRUE(r.lessons.empty());
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(r.problems[0].row, 0);
    EXPECT_EQ(r.problems[0].line(true),
              "工作簿中没有读到按“按班级”格式排列的课，课表可能是另一种格式");
    // Without 任课安排 the subjects alone say nothing of the teachers.
    const auto alone = read(bookOf({byClassSheet("科目总表", true)}),
                            Layout::SubjectsAndAssignments, fixtureSchool());
    ASSERT_EQ(alone.problems.size(), 1u);
    EXPECT_NE(alone.problems[0].text.find("任课安排"), std::string::npos);
}

// ---- the checks -----------------------------------------------------------------------------

TEST(TimetableSheetsChecks, UnknownClassUnreadableCellAndClassTwice) {
    Rows rows{slotHeaderRow("姓名"),
              {"张三", "一(1)语文", "七(1)语文"},
              {"李四", "语文"},
              {"王五", "一(1)英语", "", "三(1)英语"}};
    const auto r = read(bookOf({sheetOf("按教师", rows)}), Layout::ByTeacher, fixtureSchool());
    EXPECT_EQ(r.lessons.size(), 2u);
    std::vector<std::string> lines;
    for (const auto& p : r.problems) lines.push_back(p.line(false));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "第2行第3列：班级“七(1)”不在本校的班级名单中，这节课没有导入",
                         "第3行第2列：无法识别“语文”，这一格没有导入",
                         "第4行第2列：一(1)星期一第1节有两节课：语文（张三）、英语（王五）",
                         "第4行第4列：班级“三(1)”不在本校的班级名单中，这节课没有导入",
                     }));
    EXPECT_EQ(r.problems[0].kind, Problem::Kind::UnknownClass);
    EXPECT_EQ(r.problems[1].kind, Problem::Kind::Unreadable);
    EXPECT_EQ(r.problems[2].kind, Problem::Kind::ClassTwice);
    // Both lessons of the clash are kept.
    EXPECT_EQ(r.lessons[0].subject, "语文");
    EXPECT_EQ(r.lessons[1].subject, "英语");

    // Without a class list every well-formed class of a primary school is accepted.
    School open = fixtureSchool();
    open.classes.clear();
    const auto any = read(bookOf({sheetOf("按教师", rows)}), Layout::ByTeacher, open);
    EXPECT_EQ(any.lessons.size(), 3u);
    EXPECT_EQ(any.problems.size(), 3u) << kinds(any);
}

TEST(TimetableSheetsChecks, TwoLessonsOnTwoLinesOfAClassCell) {
    // As the export writes a class with two lessons at once; "科学⏎赵六" stays one lesson.
    Rows rows{{"节次", "周一", "周二", "周三"},
              {"第1节\n08:00-08:40", "语文 张三\n数学 李四", "科学\n赵六"},
              {"第2节\n08:50-09:30", "", "英语 王五"}};
    const auto r =
        read(bookOf({sheetOf("一(1)班课表", rows)}), Layout::ClassSheets, fixtureSchool());
    EXPECT_EQ(sorted(r.lessons), (std::vector<Key>{{"张三", 1, 1, "一(1)", "语文"},
                                                   {"李四", 1, 1, "一(1)", "数学"},
                                                   {"王五", 2, 2, "一(1)", "英语"},
                                                   {"赵六", 2, 1, "一(1)", "科学"}}));
    ASSERT_EQ(r.problems.size(), 2u) << kinds(r);
    EXPECT_EQ(r.problems[0].line(false),
              "第2行第2列：一(1)星期一第1节有两节课：语文（张三）、数学（李四）");
    EXPECT_EQ(r.problems[0].kind, Problem::Kind::ClassTwice);
}

TEST(TimetableSheetsChecks, NoTeacherInTheAssignmentsLeavesTheLessonOut) {
    Sheet subjects = byClassSheet("科目总表", true);
    subjects.rows[1][slotColumn(2, 2)] = "科学";  // 一(1) has no 科学 teacher
    const auto r = read(bookOf({subjects, assignmentsSheet()}), Layout::SubjectsAndAssignments,
                        fixtureSchool());
    EXPECT_EQ(r.lessons.size(), kLessons.size());
    ASSERT_EQ(r.problems.size(), 3u) << kinds(r);
    EXPECT_EQ(r.problems[0].kind, Problem::Kind::NoTeacher);
    EXPECT_EQ(r.problems[0].line(true),
              "工作表“科目总表”第2行第9列：任课安排中没有一(1)科学的任课教师，这节课没有导入");
}

TEST(TimetableSheetsChecks, TeachersTakeTheStoredSpellingAndNewOnesAreToldOnce) {
    School school = fixtureSchool();
    school.teachers = {"张三 ", "李四", "李四 ", "王\u3000五"};
    Rows rows{slotHeaderRow("姓名"),
              {"张三", "一(1)语文"},
              {" 李四 ", "", "一(1)数学"},
              {"赵六", "", "", "一(1)科学"},
              {"赵六 ", "", "", "", "一(2)科学"},
              {"王\u3000五", "", "", "", "", "一(2)英语"}};
    const auto r = read(bookOf({sheetOf("按教师", rows)}), Layout::ByTeacher, school);
    ASSERT_EQ(r.lessons.size(), 5u);
    EXPECT_EQ(r.lessons[0].teacher, "张三 ");
    EXPECT_EQ(r.lessons[1].teacher, "李四");  // the first name equal without blanks
    EXPECT_EQ(r.lessons[2].teacher, "赵六");
    EXPECT_EQ(r.lessons[3].teacher, "赵六");
    EXPECT_EQ(r.lessons[4].teacher, "王\u3000五");  // a blank inside a name counts
    EXPECT_EQ(r.newTeachers, std::vector<std::string>{"赵六"});
    ASSERT_EQ(r.problems.size(), 1u);
    EXPECT_EQ(r.problems[0].line(false), "第4行第1列：“赵六”不在教师名单中");

    // A 序号 column before the names, no header to say which; "钱七老师" is 钱七.
    Rows numbered{
        slotHeaderRow(""), {"1", "钱七老师", "一(1)体育"}, {"2", "李四", "-", "一(2)数学"}};
    numbered[0].insert(numbered[0].begin(), "");
    const auto withNumbers =
        read(bookOf({sheetOf("Sheet1", numbered)}), Layout::ByTeacher, fixtureSchool());
    EXPECT_EQ(sorted(withNumbers.lessons),
              (std::vector<Key>{{"李四", 1, 2, "一(2)", "数学"}, {"钱七", 1, 1, "一(1)", "体育"}}))
        << kinds(withNumbers);
    EXPECT_TRUE(withNumbers.problems.empty()) << kinds(withNumbers);
}

TEST(TimetableSheetsChecks, ClassTablesWithoutLabelsCountTheirRows) {
    // No period labels: the lesson rows count 1, 2, …; 午休 and 眼保健操 rows are passed by.
    Rows rows{{"一(2)班"},
              {"周一", "周二", "周三", "周四", "周五"},
              {"语文 张三"},
              {"眼保健操", "眼保健操", "眼保健操", "眼保健操", "眼保健操"},
              {"", "数学 李四"},
              {"午休"},
              {"", "", "", "体育 钱七"}};
    const auto r = read(bookOf({sheetOf("Sheet1", rows)}), Layout::ClassSheets, fixtureSchool());
    EXPECT_EQ(sorted(r.lessons), (std::vector<Key>{{"张三", 1, 1, "一(2)", "语文"},
                                                   {"李四", 2, 2, "一(2)", "数学"},
                                                   {"钱七", 4, 3, "一(2)", "体育"}}))
        << kinds(r);
    EXPECT_TRUE(r.problems.empty()) << kinds(r);

    // The class may stand in the weekday row's corner instead.
    Rows corner(rows.begin() + 1, rows.end());
    corner[0].insert(corner[0].begin(), "一（2）班");
    for (std::size_t i = 1; i < corner.size(); ++i) corner[i].insert(corner[i].begin(), "");
    EXPECT_EQ(sorted(read(bookOf({sheetOf("Sheet1", corner)}), Layout::ClassSheets, fixtureSchool())
                         .lessons),
              sorted(r.lessons));

    // A table with no class in its title or its sheet's name is not guessed at.
    rows[0] = {"课程表"};
    const auto unknown =
        read(bookOf({sheetOf("Sheet1", rows)}), Layout::ClassSheets, fixtureSchool());
    ASSERT_EQ(unknown.problems.size(), 1u);
    EXPECT_EQ(unknown.problems[0].row, 2);
    EXPECT_TRUE(unknown.lessons.empty());
}

// The speed is the benchmark's business (bench/sheet_import_bench.cpp); here, that a large
// school is read whole and every shared slot told.
TEST(TimetableSheetsChecks, AThousandTeachersAreReadWholeAndEverySharedSlotTold) {
    School school = fixtureSchool();
    school.classes.clear();
    Rows rows{slotHeaderRow("姓名")};
    for (int t = 0; t < 1024; ++t) {
        school.teachers.push_back("教师" + std::to_string(t));
        std::vector<std::string> row{school.teachers.back()};
        for (int s = 0; s < week::kSlots; ++s)
            row.push_back(std::string(week::kGradeNames[static_cast<std::size_t>(t % 6)]) + "(" +
                          std::to_string(t / 6 % 99 + 1) + ")语文");
        rows.push_back(std::move(row));
    }
    const auto r = read(bookOf({sheetOf("按教师", rows)}), Layout::ByTeacher, school);
    EXPECT_EQ(r.lessons.size(), 1024u * week::kSlots);
    // Teachers t and t + 594 share a class: each of its slots holds two lessons.
    EXPECT_EQ(r.problems.size(), (1024u - 594u) * week::kSlots);
}

// ---- the fixture files, as LibreOffice and Gnumeric write them --------------------------------

#ifdef DAIKE_TEST_DATA
TEST(TimetableSheetsFiles, EveryFixtureFileGivesTheTwelveLessonsAndTwoProblems) {
    const std::vector<std::pair<const char*, Layout>> files = {
        {"by_teacher.xlsx", Layout::ByTeacher},
        {"by_teacher.xls", Layout::ByTeacher},
        {"by_teacher_utf8.csv", Layout::ByTeacher},
        {"by_teacher_utf8_bom.csv", Layout::ByTeacher},
        {"by_teacher_gbk.csv", Layout::ByTeacher},
        {"by_teacher_two_header_rows.xlsx", Layout::ByTeacher},
        {"by_teacher_gnumeric.xlsx", Layout::ByTeacher},
        {"by_class.xlsx", Layout::ByClass},
        {"by_class.xls", Layout::ByClass},
        {"class_sheets.xlsx", Layout::ClassSheets},
        {"class_sheets.xls", Layout::ClassSheets},
        {"class_sheets_gnumeric.xlsx", Layout::ClassSheets},
        {"class_blocks.xlsx", Layout::ClassSheets},
        {"subjects_and_assignments.xlsx", Layout::SubjectsAndAssignments},
    };
    for (const auto& [file, layout] : files) {
        SCOPED_TRACE(file);
        const auto book =
            spreadsheet::read(std::filesystem::path(DAIKE_TEST_DATA) / "timetables" / file);
        EXPECT_EQ(detect(book), layout);
        const auto r = read(book, layout, fixtureSchool());
        EXPECT_EQ(sorted(r.lessons), fixtureKeys()) << kinds(r);
        expectFixtureProblems(r);
    }
}
#endif

// Our own export read back in each layout its sheets are in: the same lessons every time.
TEST(TimetableSheetsFiles, TheExportReadsBackInEachOfItsLayouts) {
    for (std::uint32_t seed : {7u, 20261209u}) {
        SCOPED_TRACE(seed);
        testing::Db db;
        auto plan = demo::planFor(40);
        plan.seed = seed;
        demo::fillSchool(*db, plan);
        std::vector<Key> expected;
        for (const auto& l : timetable::read(*db))
            expected.emplace_back(l.teacher, l.weekday, l.period, l.cls, l.subject);
        std::sort(expected.begin(), expected.end());
        const auto file = db.dir.path() / "课表.xlsx";
        timetable_export::write(*db, file);
        const auto book = spreadsheet::read(file);
        EXPECT_EQ(detect(book), Layout::ByTeacher);
        for (Layout layout : {Layout::ByTeacher, Layout::ByClass, Layout::ClassSheets}) {
            const auto r = read(book, layout, sheet_import::schoolOf(*db));
            EXPECT_EQ(sorted(r.lessons), expected) << layoutName(layout) << ": " << kinds(r);
            EXPECT_TRUE(r.problems.empty()) << layoutName(layout) << ": " << kinds(r);
        }
    }
}

}  // namespace
}  // namespace daike
