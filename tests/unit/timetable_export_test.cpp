// The timetable as week grids, and the workbook written from them read back as a spreadsheet
// program reads it: unzipped, the workbook's sheet list and each sheet's cells parsed.
#include "basedata/timetable_export.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <map>
#include <pugixml.hpp>

#include "basedata/timetable_grids.h"
#include "store/failure.h"
#include "store/safe_file.h"
#include "store/tables/period_times.h"
#include "test_support.h"
#include "zip_entry.h"

namespace daike {
namespace {

using testing::SchoolBuilder;
using testing::TempStore;

TimetableRow lesson(const std::string& teacher, int weekday, const std::string& cls, int period,
                    const std::string& subject) {
    TimetableRow r;
    r.teacher = teacher;
    r.weekday = weekday;
    r.cls = cls;
    r.period = period;
    r.subject = subject;
    return r;
}

std::vector<std::string> namesOf(const std::vector<WeekGrid>& grids) {
    std::vector<std::string> out;
    for (const auto& g : grids) out.push_back(g.name);
    return out;
}

TEST(TimetableGrids, ClassesInListOrderThenOthersAsTheSchoolCountsThem) {
    auto off = lesson("王五", 2, "三(1)", 1, "美术");
    off.onGrid = false;
    const std::vector<TimetableRow> rows = {lesson("张三", 1, "二(10)", 1, "语文"),
                                            lesson("李四", 1, "一(2)", 2, "数学"),
                                            lesson("张三", 3, "二(2)", 6, "语文"),
                                            lesson("李四", 3, "二(2)", 6, "英语"),
                                            off,
                                            lesson("赵六", 1, "", 1, "体育")};
    const auto grids = classGrids(rows, {"一(1)", "一(2)"});
    // 三(1) has only a lesson off the grid: no class of its own; a lesson without a class
    // goes nowhere.
    EXPECT_EQ(namesOf(grids), (std::vector<std::string>{"一(1)", "一(2)", "二(2)", "二(10)"}));
    EXPECT_EQ(grids[0].lessons, 0);
    EXPECT_EQ(grids[0].title, "一(1)班课表");
    EXPECT_EQ(grids[1].at(1, 2), "数学\n李四");
    // Two lessons in one slot, in table order.
    EXPECT_EQ(grids[2].at(3, 6), "语文\n张三\n英语\n李四");
    EXPECT_EQ(grids[2].lessons, 2);
    EXPECT_EQ(classGrids(rows, {}, kClassCellOneLine)[1].at(3, 6), "语文 张三\n英语 李四");
}

TEST(TimetableGrids, TeachersInListOrderOnceThenNamesOnlyInTheLessons) {
    auto off = lesson("钱七", 9, "一(1)", 1, "美术");
    off.onGrid = false;
    const std::vector<TimetableRow> rows = {
        lesson("孙八", 1, "一(1)", 1, "语文"), lesson("张三", 5, "一(2)", 6, "数学"),
        lesson("周九", 2, "一(1)", 1, "音乐"), lesson("张三", 5, "一(3)", 6, "数学"),
        lesson("孙八", 2, "一(1)", 3, "语文"), off};
    const auto grids = teacherGrids(rows, {"李四", "张三", "", "李四"});
    EXPECT_EQ(namesOf(grids), (std::vector<std::string>{"李四", "张三", "孙八", "周九"}));
    EXPECT_EQ(grids[0].lessons, 0);
    EXPECT_EQ(grids[1].title, "张三老师课表");
    EXPECT_EQ(grids[1].at(5, 6), "一(2)数学\n一(3)数学");
    EXPECT_EQ(grids[2].lessons, 2);
    EXPECT_EQ(grids[2].at(2, 3), "一(1)语文");
    EXPECT_EQ(teacherGrids(rows, {}, "\n")[1].at(5, 6), "一(2)\n数学\n一(3)\n数学");
    EXPECT_FALSE(anyOnGrid({off}));
    EXPECT_TRUE(anyOnGrid(rows));
}

TEST(TimetableSheetNames, ShortenedCleanedAndUnique) {
    timetable_export::SheetNames names;
    EXPECT_EQ(names.add("按教师"), "按教师");
    EXPECT_EQ(names.add("按教师"), "按教师(2)");
    EXPECT_EQ(names.add("按教师"), "按教师(3)");
    EXPECT_EQ(names.add("a[b]:c*d?e/f\\g"), "a_b__c_d_e_f_g");
    EXPECT_EQ(names.add("'引号'"), "_引号_");
    EXPECT_EQ(names.add("Smith"), "Smith");
    EXPECT_EQ(names.add("SMITH"), "SMITH(2)");
    const std::string longName(40, 'x');
    EXPECT_EQ(names.add(longName), std::string(31, 'x'));
    EXPECT_EQ(names.add(longName), std::string(28, 'x') + "(2)");
    // Characters, not bytes, are counted.
    std::string chinese;
    for (int i = 0; i < 35; ++i) chinese += "课";
    const std::string kept = names.add(chinese);
    EXPECT_EQ(kept.size(), 31u * 3);
    EXPECT_EQ(names.add(""), "_");
}

// ---- the workbook read back ----------------------------------------------------------------

using testing::unzip;

// One sheet as a reader sees it: the cells by reference ("B2"), the merged ranges, the page.
struct SheetXml {
    std::map<std::string, std::string> cells;
    std::vector<std::string> merged;
    pugi::xml_document doc;
    // The cell's text, or "(empty)".
    std::string at(const std::string& ref) const {
        const auto it = cells.find(ref);
        return it == cells.end() ? "(empty)" : it->second;
    }
};

class Workbook {
  public:
    explicit Workbook(const std::filesystem::path& file) {
        pugi::xml_document strings;
        strings.load_string(unzip(file, "xl/sharedStrings.xml").c_str());
        for (auto si : strings.child("sst").children("si")) shared_.push_back(si.child_value("t"));
        pugi::xml_document book;
        book.load_string(unzip(file, "xl/workbook.xml").c_str());
        int n = 0;
        for (auto s : book.child("workbook").child("sheets").children("sheet")) {
            names.push_back(s.attribute("name").value());
            files_.push_back("xl/worksheets/sheet" + std::to_string(++n) + ".xml");
        }
        file_ = file;
    }
    SheetXml sheet(const std::string& name) const {
        SheetXml out;
        const auto it = std::find(names.begin(), names.end(), name);
        if (it == names.end()) return out;
        out.doc.load_string(unzip(file_, files_[std::size_t(it - names.begin())]).c_str());
        auto ws = out.doc.child("worksheet");
        for (auto row : ws.child("sheetData").children("row"))
            for (auto c : row.children("c"))
                if (std::string(c.attribute("t").value()) == "s")
                    out.cells[c.attribute("r").value()] =
                        shared_[std::size_t(std::stoi(c.child_value("v")))];
        for (auto m : ws.child("mergeCells").children("mergeCell"))
            out.merged.push_back(m.attribute("ref").value());
        return out;
    }
    std::vector<std::string> names;

  private:
    std::vector<std::string> shared_;
    std::vector<std::string> files_;
    std::filesystem::path file_;
};

class TimetableExport : public ::testing::Test {
  protected:
    void SetUp() override {
        SchoolBuilder(*db)
            .teachers({"张三", "李四", "王五"})
            .row("班级", {std::string("一(1)")})
            .row("班级", {std::string("一(2)")})
            .lesson("张三", 1, "一(1)", 1, "语文")
            .lesson("李四", 1, "一(2)", 1, "数学")
            .lesson("张三", 5, "一(1)", 6, "语文")
            .lesson("张三", 5, "一(2)", 6, "书法")
            .lesson("赵六", 3, "二(1)", 4, "体育")
            .build();
    }
    TempStore db;
    std::filesystem::path file() const { return db.dir() / "课表.xlsx"; }
};

TEST_F(TimetableExport, SheetsInOrderWithTheirHeadersAndCells) {
    timetable_export::write(*db, file());
    const Workbook book(file());
    EXPECT_EQ(book.names, (std::vector<std::string>{"按教师", "按班级", "张三", "李四", "王五",
                                                    "赵六", "一(1)班", "一(2)班", "二(1)班"}));

    const auto teachersSheet = book.sheet("按教师");
    const auto& t = teachersSheet;
    EXPECT_EQ(t.at("A1"), "姓名");
    EXPECT_EQ(t.at("B1"), "周一1");
    EXPECT_EQ(t.at("G1"), "周一6");
    EXPECT_EQ(t.at("H1"), "周二1");
    EXPECT_EQ(t.at("AE1"), "周五6");
    EXPECT_EQ(t.at("AF1"), "(empty)");
    EXPECT_EQ(t.at("A2"), "张三");
    EXPECT_EQ(t.at("B2"), "一(1)语文");
    EXPECT_EQ(t.at("AE2"), "一(1)语文\n一(2)书法");
    // Every teacher of the list has a row, one with no lessons too; a name only in the
    // lessons comes after them.
    EXPECT_EQ(t.at("A4"), "王五");
    EXPECT_EQ(t.at("A5"), "赵六");
    EXPECT_EQ(t.at("Q5"), "二(1)体育");  // 周三4

    const auto classesSheet = book.sheet("按班级");
    const auto& c = classesSheet;
    EXPECT_EQ(c.at("A1"), "班级");
    EXPECT_EQ(c.at("A2"), "一(1)");
    EXPECT_EQ(c.at("B2"), "语文 张三");
    EXPECT_EQ(c.at("AE3"), "书法 张三");
    EXPECT_EQ(c.at("A4"), "二(1)");
}

TEST_F(TimetableExport, PrintableSheetIsOneA4PageWithItsTitleMergedOverTheGrid) {
    periodtimes::StoredTimes first{"8:00", "8:40"};
    week::PerPeriod<periodtimes::StoredTimes> times{};
    times[0] = first;
    periodtimes::write(*db, times);
    timetable_export::write(*db, file());
    const Workbook book(file());
    const auto sheet = book.sheet("一(2)班");
    const auto& c = sheet;
    EXPECT_EQ(c.at("A1"), "一(2)班课表");
    EXPECT_EQ(c.at("A2"), "节次");
    EXPECT_EQ(c.at("B2"), "周一");
    EXPECT_EQ(c.at("F2"), "周五");
    EXPECT_EQ(c.at("A3"), "第1节\n8:00–8:40");
    EXPECT_EQ(c.at("B3"), "数学\n李四");
    EXPECT_EQ(c.at("A5"), "第3节");
    EXPECT_EQ(c.at("A6"), "午休");
    EXPECT_EQ(c.at("A7"), "第4节");
    EXPECT_EQ(c.at("A9"), "第6节");
    EXPECT_EQ(c.at("F9"), "书法\n张三");
    EXPECT_EQ(sheet.merged, (std::vector<std::string>{"A1:F1", "A6:F6"}));

    auto ws = sheet.doc.child("worksheet");
    EXPECT_STREQ(ws.child("pageSetup").attribute("paperSize").value(), "9");
    EXPECT_STREQ(ws.child("pageSetup").attribute("orientation").value(), "portrait");
    EXPECT_STREQ(ws.child("pageSetup").attribute("fitToHeight").value(), "");  // 1 is the default
    EXPECT_STREQ(ws.child("sheetPr").child("pageSetUpPr").attribute("fitToPage").value(), "1");
    EXPECT_STREQ(ws.child("printOptions").attribute("horizontalCentered").value(), "1");

    const auto teacher = book.sheet("张三");
    EXPECT_EQ(teacher.at("A1"), "张三老师课表");
    EXPECT_EQ(teacher.at("F9"), "一(1)语文\n一(2)书法");
}

TEST_F(TimetableExport, ATargetThatCannotBeWrittenIsAFailureAndLeavesNothingBehind) {
    EXPECT_THROW(timetable_export::write(*db, db.dir() / "没有的文件夹" / "课表.xlsx"), Failure);
    // A folder where the file should go: the workbook is written beside it, then cannot
    // take its place.
    std::filesystem::create_directory(file());
    try {
        timetable_export::write(*db, file());
        ADD_FAILURE() << "a folder replaced by the workbook";
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("课表.xlsx"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(std::filesystem::is_directory(file()));
    for (const auto& entry : std::filesystem::directory_iterator(db.dir()))
        EXPECT_FALSE(safefile::isLeftover(entry.path().filename().string())) << entry.path();
}

}  // namespace
}  // namespace daike
