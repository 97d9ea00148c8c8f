// The spreadsheet readers on the timetable files of tests/data/timetables (written by LibreOffice
// Calc and by Gnumeric) and on files made to break them.
#include "documents/spreadsheet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "crafted_zip.h"
#include "store/failure.h"
#include "test_support.h"

namespace daike {
namespace {

namespace fs = std::filesystem;
using namespace spreadsheet;
using testing::craftedPart;
using testing::craftedZip;
using testing::TempDir;
using testing::writeBytes;

fs::path timetable(const std::string& file) {
    return fs::path(DAIKE_TEST_DATA) / "timetables" / file;
}

// Column of a 按教师 / 按班级 slot such as 周五3.
int slotColumn(int day, int period) {
    return 1 + 6 * (day - 1) + (period - 1);
}

// Every cell as a reader sees it, row by row, for comparing two files.
std::vector<std::string> shownCells(const Sheet& sheet, int rows, int columns) {
    std::vector<std::string> out;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c)
            out.push_back(std::to_string(r) + "," + std::to_string(c) + "=" + sheet.shown(r, c));
    return out;
}

void expectSameShown(const Workbook& a, const Workbook& b) {
    ASSERT_EQ(a.sheets.size(), b.sheets.size());
    for (std::size_t s = 0; s < a.sheets.size(); ++s) {
        const int rows = std::max(a.sheets[s].rowCount(), b.sheets[s].rowCount());
        const int columns = std::max(a.sheets[s].columnCount(), b.sheets[s].columnCount());
        EXPECT_EQ(shownCells(a.sheets[s], rows, columns), shownCells(b.sheets[s], rows, columns))
            << "sheet " << s;
    }
}

// ---- the timetable files ----------------------------------------------------------------

TEST(SpreadsheetFixtures, ByTeacherInEveryFormatHoldsTheSameGrid) {
    const Workbook xlsx = read(timetable("by_teacher.xlsx"));
    EXPECT_EQ(xlsx.format, Format::Xlsx);
    EXPECT_EQ(xlsx.encoding, "");
    ASSERT_EQ(xlsx.sheets.size(), 1u);
    const Sheet& s = xlsx.sheets[0];
    EXPECT_EQ(s.name, "教师课表");
    EXPECT_EQ(s.rowCount(), 6);
    EXPECT_EQ(s.columnCount(), 31);
    EXPECT_EQ(s.at(0, 0), "姓名");
    EXPECT_EQ(s.at(0, 30), "周五6");
    EXPECT_EQ(s.at(1, slotColumn(1, 1)), "一(1)语文");
    EXPECT_EQ(s.at(1, slotColumn(3, 5)), "语文（一年级1班）");
    EXPECT_EQ(s.at(2, slotColumn(5, 3)), "一(1)数学\n一(2)数学");
    EXPECT_EQ(s.at(5, slotColumn(5, 6)), "体育\u3000一(2)");
    EXPECT_EQ(s.at(1, slotColumn(1, 3)), "");
    EXPECT_EQ(s.at(99, 99), "");
    EXPECT_TRUE(s.merged.empty());

    // The byte-order mark is no part of the first cell, GBK reads as the same text.
    for (const char* file : {"by_teacher.xls", "by_teacher_gnumeric.xlsx", "by_teacher_utf8.csv",
                             "by_teacher_utf8_bom.csv", "by_teacher_gbk.csv"}) {
        SCOPED_TRACE(file);
        const Workbook other = read(timetable(file));
        expectSameShown(xlsx, other);
    }
    EXPECT_EQ(read(timetable("by_teacher.xls")).format, Format::Xls);
    EXPECT_EQ(read(timetable("by_teacher.xls")).sheets[0].name, "教师课表");
}

TEST(SpreadsheetFixtures, CsvEncodingsAreFoundAndTheSheetIsNamedAfterTheFile) {
    const Workbook utf8 = read(timetable("by_teacher_utf8.csv"));
    EXPECT_EQ(utf8.format, Format::Csv);
    EXPECT_EQ(utf8.encoding, "UTF-8");
    EXPECT_EQ(utf8.sheets.at(0).name, "by_teacher_utf8");
    const Workbook bom = read(timetable("by_teacher_utf8_bom.csv"));
    EXPECT_EQ(bom.encoding, "UTF-8");
    const Workbook gbk = read(timetable("by_teacher_gbk.csv"));
    EXPECT_EQ(gbk.encoding, "GBK");
}

TEST(SpreadsheetFixtures, TwoHeaderRowsShowTheMergedWeekdayOverItsPeriods) {
    const Sheet s = read(timetable("by_teacher_two_header_rows.xlsx")).sheets.at(0);
    EXPECT_EQ(s.at(0, 1), "早读");
    EXPECT_EQ(s.at(0, 2), "星期一");
    EXPECT_EQ(s.at(0, 5), "");
    EXPECT_EQ(s.shown(0, 7), "星期一");
    EXPECT_EQ(s.shown(0, 8), "星期二");
    EXPECT_EQ(s.shown(0, 31), "星期五");
    EXPECT_EQ(s.at(1, 2), "第1节");
    EXPECT_EQ(s.at(1, 31), "第6节");
    EXPECT_EQ(s.shown(1, 0), "姓名");  // merged over both header rows
    EXPECT_EQ(s.at(2, 1), "");         // 早读 is empty
    EXPECT_EQ(s.at(3, 1 + slotColumn(5, 3)), "一(1)数学\n一(2)数学");
    const std::vector<Range> expected{
        {0, 2, 0, 7}, {0, 8, 0, 13}, {0, 14, 0, 19}, {0, 20, 0, 25}, {0, 26, 0, 31}};
    for (const Range& r : expected)
        EXPECT_NE(std::find(s.merged.begin(), s.merged.end(), r), s.merged.end())
            << r.firstColumn << "-" << r.lastColumn;
    EXPECT_NE(std::find(s.merged.begin(), s.merged.end(), Range{0, 0, 1, 0}), s.merged.end());
}

TEST(SpreadsheetFixtures, ByClassReadsTheSameFromXlsxAndXls) {
    const Workbook xlsx = read(timetable("by_class.xlsx"));
    const Sheet& s = xlsx.sheets.at(0);
    EXPECT_EQ(s.name, "班级课表");
    EXPECT_EQ(s.at(0, 0), "班级");
    EXPECT_EQ(s.at(3, 0), "二(10)");
    EXPECT_EQ(s.at(1, slotColumn(1, 1)), "语文 张三");
    EXPECT_EQ(s.at(2, slotColumn(1, 1)), "数学/李四");
    EXPECT_EQ(s.at(3, slotColumn(2, 1)), "英语(王五)");
    EXPECT_EQ(s.at(3, slotColumn(3, 2)), "科学\n赵六");
    EXPECT_EQ(s.at(1, slotColumn(5, 3)), "数学 李四");
    EXPECT_EQ(s.at(2, slotColumn(5, 3)), "数学 李四");
    expectSameShown(xlsx, read(timetable("by_class.xls")));
}

TEST(SpreadsheetFixtures, ClassSheetsKeepTheirMergedTitlesAndHalfDays) {
    const Workbook xlsx = read(timetable("class_sheets.xlsx"));
    ASSERT_EQ(xlsx.sheets.size(), 3u);
    EXPECT_EQ(xlsx.sheets[0].name, "一(1)班");
    EXPECT_EQ(xlsx.sheets[1].name, "一(2)班");
    EXPECT_EQ(xlsx.sheets[2].name, "二(10)班");
    const Sheet& s = xlsx.sheets[0];
    EXPECT_EQ(s.at(0, 0), "一(1)班课表");  // written in runs of two fonts
    EXPECT_EQ(s.shown(0, 6), "一(1)班课表");
    EXPECT_EQ(s.at(1, 1), "节次");
    EXPECT_EQ(s.at(1, 6), "周五");
    EXPECT_EQ(s.shown(4, 0), "上午");
    EXPECT_EQ(s.shown(8, 0), "下午");
    EXPECT_EQ(s.shown(5, 6), "午休");
    EXPECT_EQ(s.at(2, 1), "第1节");
    EXPECT_EQ(s.at(2, 2), "语文 张三");                // 周一1
    EXPECT_EQ(s.at(4, 6), "数学 李四");                // 周五3
    EXPECT_EQ(s.at(7, 4), "语文 张三");                // 周三5
    EXPECT_EQ(xlsx.sheets[2].at(3, 4), "科学\n赵六");  // 周三2
    for (const Range& r :
         {Range{0, 0, 0, 6}, Range{2, 0, 4, 0}, Range{5, 1, 5, 6}, Range{6, 0, 8, 0}})
        EXPECT_NE(std::find(s.merged.begin(), s.merged.end(), r), s.merged.end());

    expectSameShown(xlsx, read(timetable("class_sheets_gnumeric.xlsx")));
    // FreeXL does not give the merges of an .xls: its cells are the same, but a merged range
    // shows only in its first cell.
    const Workbook xls = read(timetable("class_sheets.xls"));
    ASSERT_EQ(xls.sheets.size(), 3u);
    EXPECT_EQ(xls.sheets[1].name, "一(2)班");
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(xls.sheets[i].merged.empty());
        EXPECT_EQ(xls.sheets[i].rows, xlsx.sheets[i].rows);
    }
}

TEST(SpreadsheetFixtures, ClassBlocksAndTheSubjectSheets) {
    const Workbook blocks = read(timetable("class_blocks.xlsx"));
    ASSERT_EQ(blocks.sheets.size(), 1u);
    const Sheet& b = blocks.sheets[0];
    EXPECT_EQ(b.name, "总表");
    EXPECT_EQ(b.at(0, 0), "一(1)班课表");
    EXPECT_EQ(b.rowCount(), 29);
    EXPECT_TRUE(b.rows[9].empty());
    EXPECT_EQ(b.at(10, 0), "一(2)班课表");
    EXPECT_EQ(b.shown(10, 5), "一(2)班课表");
    EXPECT_EQ(b.at(20, 0), "二(10)班课表");
    EXPECT_EQ(b.shown(23, 0), "上午");
    EXPECT_EQ(b.at(23, 4), "科学\n赵六");
    // Each block is the sheet of its class.
    const Workbook sheets = read(timetable("class_sheets.xlsx"));
    for (int block = 0; block < 3; ++block)
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 7; ++c)
                EXPECT_EQ(b.shown(10 * block + r, c), sheets.sheets[block].shown(r, c));

    const Workbook subjects = read(timetable("subjects_and_assignments.xlsx"));
    ASSERT_EQ(subjects.sheets.size(), 2u);
    EXPECT_EQ(subjects.sheets[0].name, "科目总表");
    EXPECT_EQ(subjects.sheets[0].at(1, slotColumn(1, 1)), "语文");
    EXPECT_EQ(subjects.sheets[0].at(3, slotColumn(3, 2)), "科学");
    const Sheet& a = subjects.sheets[1];
    EXPECT_EQ(a.name, "任课安排");
    const std::vector<std::vector<std::string>> assignments{
        {"班级", "语文", "数学", "英语", "科学", "体育"},
        {"一(1)", "张三", "李四", "王五", "", "钱七"},
        {"一(2)", "张三", "李四", "", "", "钱七"},
        {"二(10)", "", "李四", "王五", "赵六"},
    };
    EXPECT_EQ(a.rows, assignments);
}

// ---- workbooks written here -------------------------------------------------------------

const char* const kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

// A workbook of the given sheets (name, sheetData and what follows it) and shared strings.
std::string workbookBytes(const std::vector<std::pair<std::string, std::string>>& sheets,
                          const std::string& sharedStrings = "") {
    std::string book = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook xmlns=\"") +
                       kMain +
                       "\" xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                       "relationships\"><sheets>";
    std::string rels =
        R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
    std::vector<testing::CraftedPart> parts{craftedPart(
        "_rels/.rels",
        R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)")};
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        book +=
            "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n +
                "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
                "worksheet\" Target=\"worksheets/sheet" +
                n + ".xml\"/>";
        parts.push_back(craftedPart("xl/worksheets/sheet" + n + ".xml",
                                    std::string("<?xml version=\"1.0\"?><worksheet xmlns=\"") +
                                        kMain + "\">" + sheets[i].second + "</worksheet>"));
    }
    rels += "</Relationships>";
    parts.push_back(craftedPart("xl/workbook.xml", book + "</sheets></workbook>"));
    parts.push_back(craftedPart("xl/_rels/workbook.xml.rels", rels));
    if (!sharedStrings.empty())
        parts.push_back(craftedPart("xl/sharedStrings.xml", std::string("<sst xmlns=\"") + kMain +
                                                                "\">" + sharedStrings + "</sst>"));
    return craftedZip(parts);
}

std::string oneSheet(const std::string& sheetData, const std::string& sharedStrings = "") {
    return workbookBytes({{"Sheet1", "<sheetData>" + sheetData + "</sheetData>"}}, sharedStrings);
}

TEST(SpreadsheetXlsx, CellValuesReadAsTheyAreShown) {
    const std::string sst =
        "<si><t>甲</t></si>"
        "<si><r><t>一(1)</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\">班 </t></r>"
        "<rPh><t>ban</t></rPh></si>"
        "<si><t>第一行_x000D_\n第二行\r\n第三行</t></si>";
    const Sheet s =
        readXlsx(
            oneSheet("<row r=\"1\">"
                     "<c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
                     "<c r=\"C1\" t=\"s\"><v>2</v></c></row>"
                     "<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"B2\"><v>2.5</v></c>"
                     "<c r=\"C2\"><v>0.30000000000000004</v></c><c r=\"D2\"><v>1000000</v></c>"
                     "<c r=\"E2\" t=\"n\"><v>-3.0</v></c><c r=\"F2\"><v>1.5E+20</v></c></row>"
                     "<row r=\"3\"><c r=\"A3\" t=\"b\"><v>1</v></c><c r=\"B3\" t=\"b\"><v>0</v></c>"
                     "<c r=\"C3\" t=\"str\"><f>A1&amp;\"x\"</f><v>甲x</v></c>"
                     "<c r=\"D3\" t=\"inlineStr\"><is><t>内联</t></is></c>"
                     "<c r=\"E3\" t=\"e\"><v>#N/A</v></c><c r=\"F3\"><f>1+1</f></c></row>"
                     // rows and cells without references follow on
                     "<row><c><v>7</v></c><c t=\"inlineStr\"><is><t>后</t></is></c></row>"
                     "<row r=\"7\"><c r=\"AB7\"><v>8</v></c></row>",
                     sst),
            "x.xlsx")
            .sheets.at(0);
    EXPECT_EQ(s.at(0, 0), "甲");
    EXPECT_EQ(s.at(0, 1), "一(1)班 ");  // runs joined, the phonetic guide left out
    EXPECT_EQ(s.at(0, 2), "第一行\n第二行\n第三行");
    EXPECT_EQ(s.rows[1], (std::vector<std::string>{"1", "2.5", "0.3", "1000000", "-3", "1.5E+20"}));
    EXPECT_EQ(s.rows[2], (std::vector<std::string>{"TRUE", "FALSE", "甲x", "内联", "#N/A"}));
    EXPECT_EQ(s.rows[3], (std::vector<std::string>{"7", "后"}));
    EXPECT_TRUE(s.rows[4].empty());
    EXPECT_EQ(s.at(6, 27), "8");
    EXPECT_EQ(s.rowCount(), 7);
    EXPECT_EQ(s.columnCount(), 28);
}

TEST(SpreadsheetXlsx, TrailingEmptyCellsAndRowsAreDroppedAndBrokenMergesLeftOut) {
    const Sheet s = readXlsx(workbookBytes({{"表",
                                             "<sheetData><row r=\"1\"><c r=\"A1\" "
                                             "t=\"inlineStr\"><is><t>a</t></is></c><c "
                                             "r=\"B1\"/><c r=\"C1\" t=\"inlineStr\"><is><t>"
                                             "</t></is></c></row><row r=\"5\"><c r=\"A5\"/>"
                                             "</row></sheetData><mergeCells><mergeCell "
                                             "ref=\"A1:B2\"/><mergeCell ref=\"C3\"/>"
                                             "<mergeCell ref=\"B2:A1\"/><mergeCell "
                                             "ref=\"A1:ZZZ1\"/><mergeCell ref=\"A30000:B30001\"/>"
                                             "</mergeCells>"}}),
                             "x.xlsx")
                        .sheets.at(0);
    EXPECT_EQ(s.name, "表");
    EXPECT_EQ(s.rows, (std::vector<std::vector<std::string>>{{"a"}}));
    EXPECT_EQ(s.merged, (std::vector<Range>{{0, 0, 1, 1}, {0, 0, 0, kColumns - 1}}));
    EXPECT_EQ(s.shown(1, 1), "a");
    EXPECT_EQ(s.shown(2, 2), "");
}

// ---- csv ----------------------------------------------------------------------------------

TEST(SpreadsheetCsv, QuotingSeparatorsAndLineEnds) {
    const Sheet quoted =
        readCsv("a,\"b,c\",\"he said \"\"hi\"\"\"\r\n\"two\r\nlines\",,x\r\r\nlast\r", "q.csv")
            .sheets.at(0);
    EXPECT_EQ(quoted.name, "q");
    EXPECT_EQ(quoted.rows,
              (std::vector<std::vector<std::string>>{
                  {"a", "b,c", "he said \"hi\""}, {"two\nlines", "", "x"}, {}, {"last"}}));

    EXPECT_EQ(readCsv("班级\t周一1\n一(1)\t语文,张三\n", "t.csv").sheets.at(0).rows,
              (std::vector<std::vector<std::string>>{{"班级", "周一1"}, {"一(1)", "语文,张三"}}));
    EXPECT_EQ(readCsv("a;b\n1;2", "s.csv").sheets.at(0).rows,
              (std::vector<std::vector<std::string>>{{"a", "b"}, {"1", "2"}}));
    // Commas on the first line win over tabs.
    EXPECT_EQ(readCsv("a,b\tc\n", "c.csv").sheets.at(0).rows,
              (std::vector<std::vector<std::string>>{{"a", "b\tc"}}));
    // Empty lines at the end are no rows; an unclosed quote runs to the end.
    EXPECT_EQ(readCsv("a\n\n\n", "e.csv").sheets.at(0).rowCount(), 1);
    EXPECT_EQ(readCsv("\"open\nend", "o.csv").sheets.at(0).at(0, 0), "open\nend");
}

// ---- files made to break the readers ------------------------------------------------------

std::string failureOf(const fs::path& file) {
    try {
        read(file);
    } catch (const Failure& e) {
        return e.what();
    }
    return "(read without complaint)";
}

// The message is Chinese, names the file and contains `part`.
void expectRefused(const fs::path& file, const std::string& part) {
    SCOPED_TRACE(file.filename().string());
    const std::string message = failureOf(file);
    EXPECT_NE(message.find("“" + file.filename().string() + "”"), std::string::npos) << message;
    EXPECT_NE(message.find(part), std::string::npos) << message;
    EXPECT_TRUE(message.find("表格") != std::string::npos ||
                message.find("文件") != std::string::npos)
        << message;
}

TEST(SpreadsheetHostile, ArchivesThatInflateTooFar) {
    TempDir dir;
    const fs::path bomb = dir.path() / "bomb.xlsx";
    writeBytes(bomb, craftedZip({craftedPart("xl/worksheets/sheet1.xml", "<worksheet>", ' ',
                                             std::uint64_t{17} << 20, "</worksheet>")}));
    expectRefused(bomb, "解压后有");
    // The directory lies about the size: found while inflating.
    const fs::path liar = dir.path() / "liar.xlsx";
    writeBytes(
        liar,
        craftedZip({craftedPart("xl/workbook.xml", "<workbook>", ' ', 1 << 16, "</workbook>")},
                   100));
    expectRefused(liar, "已损坏");
}

TEST(SpreadsheetHostile, SheetsBeyondTheLimitsAreRefusedBeforeTheyAreKept) {
    TempDir dir;
    const fs::path rows = dir.path() / "rows.xlsx";
    writeBytes(rows, oneSheet("<row r=\"1000000\"><c r=\"A1000000\"><v>1</v></c></row>"));
    EXPECT_EQ(failureOf(rows),
              "表格“rows.xlsx”中的工作表“Sheet1”有1000000行，超出了本程序能读取的范围（最多20000"
              "行），没有读取。请检查是否选错了文件。");
    const fs::path ref = dir.path() / "ref.xlsx";
    writeBytes(ref, oneSheet("<row><c r=\"A99999999999999999999\"><v>1</v></c></row>"));
    expectRefused(ref, "行，超出了本程序能读取的范围");
    const fs::path columns = dir.path() / "columns.xlsx";
    writeBytes(columns, oneSheet("<row r=\"1\"><c r=\"XFD1\"><v>1</v></c></row>"));
    expectRefused(columns, "列，超出了本程序能读取的范围（最多500列）");
    const fs::path cell = dir.path() / "cell.xlsx";
    writeBytes(cell, oneSheet("<row r=\"1\"><c r=\"B1\" t=\"inlineStr\"><is><t>" +
                              std::string(1001, 'x') + "</t></is></c></row>"));
    expectRefused(cell, "第1行第2列的单元格有1001个字");
    const fs::path sheets = dir.path() / "sheets.xlsx";
    std::string list;
    for (int i = 0; i <= kSheets; ++i) list += "<sheet name=\"s\" r:id=\"rId1\"/>";
    writeBytes(sheets,
               craftedZip({craftedPart("xl/workbook.xml", "<workbook xmlns:r=\"r\"><sheets>" +
                                                              list + "</sheets></workbook>")}));
    expectRefused(sheets, "有" + std::to_string(kSheets + 1) + "张工作表");
    std::string merges;
    for (int r = 1; r <= 1001; ++r)
        merges += "<mergeCell ref=\"A" + std::to_string(r) + ":B" + std::to_string(r) + "\"/>";
    const fs::path merged = dir.path() / "merges.xlsx";
    writeBytes(merged,
               workbookBytes({{"S", "<sheetData/><mergeCells>" + merges + "</mergeCells>"}}));
    expectRefused(merged, "有1001处合并单元格");
}

TEST(SpreadsheetHostile, EmptyPlacesBeforeFarCellsCount) {
    TempDir dir;
    // One cell far to the right in each of many rows: the empty places before them count.
    std::string sparse;
    for (int r = 1; r <= 5000; ++r) {
        const std::string n = std::to_string(r);
        sparse += "<row r=\"" + n + "\"><c r=\"SE" + n + "\"><v>1</v></c></row>";
    }
    const fs::path wide = dir.path() / "sparse.xlsx";
    writeBytes(wide, oneSheet(sparse));
    expectRefused(wide, "的工作表连同其中的空单元格超过2000000格");
}

TEST(SpreadsheetHostile, CraftedXmlIsRefusedBeforeParsing) {
    TempDir dir;
    // A billion laughs: ten entities of ten references each, in the sheet part.
    const fs::path laughs = dir.path() / "laughs.xlsx";
    std::string doctype = "<!DOCTYPE worksheet [<!ENTITY a \"ha\">";
    for (char c = 'b'; c <= 'j'; ++c) {
        doctype += std::string("<!ENTITY ") + c + " \"";
        for (int i = 0; i < 10; ++i) doctype += std::string("&") + static_cast<char>(c - 1) + ";";
        doctype += "\">";
    }
    doctype += "]>";
    std::string sheet = doctype +
                        "<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>&j;</t>"
                        "</is></c></row></sheetData></worksheet>";
    writeBytes(
        laughs,
        craftedZip(
            {craftedPart(
                 "_rels/.rels",
                 R"(<Relationships><Relationship Id="rId1" Type="x/officeDocument" Target="xl/workbook.xml"/></Relationships>)"),
             craftedPart(
                 "xl/workbook.xml",
                 R"(<workbook xmlns:r="r"><sheets><sheet name="S" r:id="rId1"/></sheets></workbook>)"),
             craftedPart(
                 "xl/_rels/workbook.xml.rels",
                 R"(<Relationships><Relationship Id="rId1" Type="x/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)"),
             craftedPart("xl/worksheets/sheet1.xml", sheet)}));
    expectRefused(laughs, "文档类型声明");

    const fs::path deep = dir.path() / "deep.xlsx";
    std::string nested;
    for (int i = 0; i < 300; ++i) nested += "<a>";
    writeBytes(deep, oneSheet("<row r=\"1\"><c r=\"A1\">" + nested + "</c></row>"));
    expectRefused(deep, "层层嵌套超过200层");
    const fs::path latin1 = dir.path() / "latin1.xlsx";
    writeBytes(latin1, oneSheet("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>caf\xE9</t></is>"
                                "</c></row>"));
    expectRefused(latin1, "不是UTF-8编码");
    const fs::path badIndex = dir.path() / "index.xlsx";
    writeBytes(badIndex, oneSheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>5</v></c></row>",
                                  "<si><t>a</t></si>"));
    expectRefused(badIndex, "已损坏");
    const fs::path noWorkbook = dir.path() / "other.xlsx";
    writeBytes(noWorkbook, craftedZip({craftedPart("word/document.xml", "<document/>")}));
    expectRefused(noWorkbook, "不是电子表格（.xlsx、.xls 或 .csv）");
}

TEST(SpreadsheetHostile, FilesThatAreNoSpreadsheetOrBroken) {
    TempDir dir;
    const fs::path empty = dir.path() / "empty.csv";
    writeBytes(empty, "");
    expectRefused(empty, "是空的");
    const fs::path png = dir.path() / "picture.xlsx";
    writeBytes(png, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20));
    EXPECT_EQ(failureOf(png),
              "文件“picture.xlsx”不是电子表格（.xlsx、.xls 或 .csv），或者已经损坏，无法读取。");
    const fs::path noise = dir.path() / "noise.csv";
    std::string bytes;
    std::uint32_t x = 12345;
    for (int i = 0; i < 4096; ++i) {
        x = x * 1103515245 + 12345;
        bytes += static_cast<char>((x >> 16) | 0x80);  // high bytes, never a NUL
    }
    writeBytes(noise, bytes);
    expectRefused(noise, "不是电子表格");

    const fs::path truncated = dir.path() / "truncated.xlsx";
    const std::string whole = testing::bytesOf(timetable("by_teacher.xlsx"));
    writeBytes(truncated, whole.substr(0, whole.size() / 2));
    expectRefused(truncated, "");

    const fs::path encrypted = dir.path() / "secret.xlsx";
    std::string compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    compound += std::string(504, '\0');
    for (char c : std::string("EncryptionInfo")) compound += {c, '\0'};
    writeBytes(encrypted, compound + std::string(1024, '\0'));
    EXPECT_EQ(failureOf(encrypted),
              "表格“secret.xlsx”设置了密码，无法读取。请在电子表格软件中取消"
              "密码后另存，再试一次。");
    // An .xls with a password: its writer's record turned into the one that says so.
    std::string locked = testing::bytesOf(timetable("by_class.xls"));
    const auto writeAccess = locked.find(std::string("\x5c\x00\x70\x00", 4));
    ASSERT_NE(writeAccess, std::string::npos);
    locked[writeAccess] = '\x2f';
    const fs::path lockedXls = dir.path() / "locked.xls";
    writeBytes(lockedXls, locked);
    expectRefused(lockedXls, "设置了密码");
    const fs::path brokenXls = dir.path() / "broken.xls";
    const std::string xls = testing::bytesOf(timetable("by_teacher.xls"));
    writeBytes(brokenXls, xls.substr(0, 1536));
    expectRefused(brokenXls, "");

    // FreeXL sizes a sheet by its dimensions record: one that claims more rows than the cells
    // have is refused as well.
    std::string tall = xls;
    const auto dimensions = tall.find(std::string("\x00\x02\x0e\x00", 4));
    ASSERT_NE(dimensions, std::string::npos);
    tall[dimensions + 8] = '\x30';  // rows up to 0x7530 = 30000
    tall[dimensions + 9] = '\x75';
    const fs::path tallXls = dir.path() / "tall.xls";
    writeBytes(tallXls, tall);
    expectRefused(tallXls, "有30000行，超出了本程序能读取的范围（最多20000行）");
    // Sheets that claim more cells than is safe to set aside are refused before FreeXL sees them.
    std::string huge = xls;
    huge.replace(dimensions + 4, 12, std::string("\0\0\0\0\0\0\1\0\0\0\0\1", 12));
    const fs::path hugeXls = dir.path() / "huge.xls";
    writeBytes(hugeXls, huge);
    expectRefused(hugeXls, "的工作表共占16777216个单元格");
    // A compound document without a workbook, and one whose chains leave the file.
    std::string document = xls;
    const std::string workbookName("W\0o\0r\0k\0b\0o\0o\0k\0", 16);
    document.replace(document.find(workbookName), 2, std::string("X\0", 2));
    const fs::path word = dir.path() / "word.xls";
    writeBytes(word, document);
    expectRefused(word, "不是电子表格");
    std::string chains = xls;
    chains.replace(0x30, 4, std::string("\xF0\xFF\xFF\x7F", 4));  // the directory's first sector
    const fs::path brokenChains = dir.path() / "chains.xls";
    writeBytes(brokenChains, chains);
    expectRefused(brokenChains, "已损坏");

    const fs::path missing = dir.path() / "missing.xlsx";
    const std::string message = failureOf(missing);
    EXPECT_NE(message.find(missing.string()), std::string::npos) << message;
    EXPECT_NE(message.find("找不到文件"), std::string::npos) << message;
}

TEST(SpreadsheetHostile, CsvOfAMillionLinesIsRefusedWithItsCount) {
    TempDir dir;
    const fs::path lines = dir.path() / "lines.csv";
    std::string text;
    text.reserve(4'000'000);
    for (int i = 0; i < 1'000'000; ++i) text += "1,\n";
    writeBytes(lines, text);
    EXPECT_EQ(failureOf(lines),
              "表格“lines.csv”有1000000行，超出了本程序能读取的范围（最多20000行），没有读取。"
              "请检查是否选错了文件。");
    const fs::path wide = dir.path() / "wide.csv";
    writeBytes(wide, std::string(600, ','));
    expectRefused(wide, "列，超出了本程序能读取的范围（最多500列）");
    const fs::path utf16 = dir.path() / "utf16.csv";
    writeBytes(utf16, std::string("\xFF\xFE"
                                  "a\0,\0b\0",
                                  8));
    expectRefused(utf16, "不是电子表格");
}

}  // namespace
}  // namespace daike
