// The exports read back as a spreadsheet would read them: the workbook unzipped and its sheet
// XML checked for numbers, bold frozen headers and widths; the same workbook opened by
// LibreOffice and compared with our CSV; the CSV parsed again.
#include <gtest/gtest.h>
#include <zip.h>

#include <cstdlib>
#include <fstream>
#include <pugixml.hpp>
#include <sstream>

#include "statistics/exports.h"
#include "store/failure.h"
#include "test_support.h"
#include "zip_entry.h"

namespace daike {
namespace {

using namespace statistics;
using testing::TempDir;
using testing::TempStore;

using testing::unzip;

// A CSV text as rows of fields (quotes undone); the byte-order mark must come first.
std::vector<std::vector<std::string>> parseCsv(std::string s) {
    std::vector<std::vector<std::string>> rows(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (quoted) {
            if (c == '"' && i + 1 < s.size() && s[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            rows.back().push_back(field);
            field.clear();
        } else if (c == '\r') {
        } else if (c == '\n') {
            rows.back().push_back(field);
            field.clear();
            rows.emplace_back();
        } else {
            field += c;
        }
    }
    if (rows.back().empty() && field.empty()) rows.pop_back();
    return rows;
}

std::string readAll(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

// Two weeks of cover in a school of four, one exempt, and a pay rate.
Figures sample(TempStore& db) {
    db->execScript(
        "INSERT INTO 教师姓名 (姓名) VALUES ('张三'),('李四'),('王五'),('赵六');"
        "INSERT INTO 公出表 VALUES ('赵六');"
        "INSERT INTO 代课节数 VALUES ('张三',0,2),('李四',0,1),('王五',0,0),('赵六',0,0);"
        "INSERT INTO 代课记录 VALUES ('王五','病假','张三','1',1,'一(1)','语文',1),"
        "('王五','病假','张三','1',1,'一(1)','数学',2),('张三','外出,学习','李四','2',3,'一(2)','"
        "语文',3);");
    setPayRate(*db, 30);
    return compute(*db, Range::term());
}

struct Sheet {
    pugi::xml_document doc;
    std::vector<std::string> strings;
    // The cell at a reference ("B2"): its value as text (shared strings looked up), whether it
    // is stored as a number, and its style index.
    struct Found {
        std::string value;
        bool number = false;
        int style = 0;
        bool present = false;
    };
    Found cell(const std::string& ref) const {
        Found out;
        auto c = doc.select_node(("//c[@r='" + ref + "']").c_str()).node();
        if (!c) return out;
        out.present = true;
        out.style = c.attribute("s").as_int();
        const std::string v = c.child("v").text().get();
        if (std::string(c.attribute("t").value()) == "s") {
            out.value = strings.at(std::stoul(v));
        } else {
            out.number = true;
            out.value = v;
        }
        return out;
    }
};

TEST(StatisticsExport, WorkbookHoldsNumbersAsNumbersWithABoldFrozenHeader) {
    TempStore db;
    const Figures f = sample(db);
    const auto file = db.dir() / "代课统计-本学期.xlsx";
    ASSERT_NO_THROW(
        writeXlsx(file, {teacherTable(f), weekTable(f), recordTable(f)}, "代课统计（本学期）"));

    pugi::xml_document workbook;
    ASSERT_TRUE(workbook.load_string(unzip(file, "xl/workbook.xml").c_str()));
    std::vector<std::string> names;
    for (auto s : workbook.select_nodes("//sheet"))
        names.push_back(s.node().attribute("name").value());
    EXPECT_EQ(names, (std::vector<std::string>{"按教师", "按周", "代课明细"}));

    Sheet sheet;
    pugi::xml_document shared;
    ASSERT_TRUE(shared.load_string(unzip(file, "xl/sharedStrings.xml").c_str()));
    for (auto si : shared.select_nodes("//si"))
        sheet.strings.push_back(si.node().child("t").text().get());
    ASSERT_TRUE(sheet.doc.load_string(unzip(file, "xl/worksheets/sheet1.xml").c_str()));

    EXPECT_EQ(sheet.cell("A1").value, "教师");
    EXPECT_EQ(sheet.cell("A2").value, "张三");
    EXPECT_FALSE(sheet.cell("A2").number);
    EXPECT_EQ(sheet.cell("B2").value, "2");  // 张三 covered two lessons
    EXPECT_TRUE(sheet.cell("B2").number);
    EXPECT_EQ(sheet.cell("E1").value, "被代·公出");
    EXPECT_EQ(sheet.cell("F1").value, "被代·外出,学习");
    EXPECT_EQ(sheet.cell("F2").value, "1");
    EXPECT_EQ(sheet.cell("J1").value, "酬金(元)");
    EXPECT_EQ(sheet.cell("J2").value, "60");
    EXPECT_TRUE(sheet.cell("J2").number);
    EXPECT_EQ(sheet.cell("A6").value, "合计");
    EXPECT_EQ(sheet.cell("B6").value, "3");
    EXPECT_EQ(sheet.cell("J6").value, "90");
    // The swaps' columns come after the cover's, before the remarks.
    EXPECT_EQ(sheet.cell("K1").value, "调课");
    EXPECT_EQ(sheet.cell("L1").value, "欠课");
    EXPECT_EQ(sheet.cell("M5").value, "免代");
    EXPECT_FALSE(sheet.cell("B7").present);

    // The header row is bold and frozen; every column has a width.
    pugi::xml_document styles;
    ASSERT_TRUE(styles.load_string(unzip(file, "xl/styles.xml").c_str()));
    auto xfs = styles.select_nodes("//cellXfs/xf");
    auto fonts = styles.select_nodes("//fonts/font");
    auto isBold = [&](int style) {
        const int font = xfs[style].node().attribute("fontId").as_int();
        return static_cast<bool>(fonts[font].node().child("b"));
    };
    EXPECT_TRUE(isBold(sheet.cell("A1").style));
    EXPECT_TRUE(isBold(sheet.cell("J1").style));
    EXPECT_FALSE(isBold(sheet.cell("B2").style));
    EXPECT_TRUE(isBold(sheet.cell("B6").style));
    auto pane = sheet.doc.select_node("//sheetView/pane").node();
    EXPECT_STREQ(pane.attribute("state").value(), "frozen");
    EXPECT_STREQ(pane.attribute("ySplit").value(), "1");
    EXPECT_EQ(sheet.doc.select_nodes("//cols/col").size(), 13u);

    // The records sheet: weeks, weekdays and periods as numbers.
    Sheet records;
    records.strings = sheet.strings;
    ASSERT_TRUE(records.doc.load_string(unzip(file, "xl/worksheets/sheet3.xml").c_str()));
    EXPECT_TRUE(records.cell("A2").number);
    EXPECT_EQ(records.cell("B2").value, "1");
    EXPECT_EQ(records.cell("E4").value, "李四");
    EXPECT_EQ(records.cell("H4").value, "3");

    // No temporary file is left beside it.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(db.dir()))
        if (e.path().extension() == ".tmp") ++files;
    EXPECT_EQ(files, 0);
}

TEST(StatisticsExport, SharesAreFractionsShownAsPercentages) {
    TempStore db;
    Table t;
    t.title = "代课公平性";
    t.headers = {"教师", "代课占比"};
    t.rows.push_back({{Cell::of("张三"), Cell{"30.8%", 30.8, 1, true}}});
    t.rows.push_back({{Cell::of("李四"), Cell::of("—")}});
    t.totals = TableRow{{Cell::of("合计"), Cell{"12.5%", 12.5, 1, true}}};
    const auto file = db.dir() / "book.xlsx";
    ASSERT_NO_THROW(writeXlsx(file, {t}, "代课公平性"));

    Sheet sheet;
    pugi::xml_document shared;
    ASSERT_TRUE(shared.load_string(unzip(file, "xl/sharedStrings.xml").c_str()));
    for (auto si : shared.select_nodes("//si"))
        sheet.strings.push_back(si.node().child("t").text().get());
    ASSERT_TRUE(sheet.doc.load_string(unzip(file, "xl/worksheets/sheet1.xml").c_str()));
    EXPECT_TRUE(sheet.cell("B2").number);
    EXPECT_NEAR(std::stod(sheet.cell("B2").value), 0.308, 1e-12);
    EXPECT_EQ(sheet.cell("B3").value, "—");
    EXPECT_NEAR(std::stod(sheet.cell("B4").value), 0.125, 1e-12);

    pugi::xml_document styles;
    ASSERT_TRUE(styles.load_string(unzip(file, "xl/styles.xml").c_str()));
    auto xfs = styles.select_nodes("//cellXfs/xf");
    auto formatOf = [&](int style) {
        const int id = xfs[style].node().attribute("numFmtId").as_int();
        return std::string(
            styles.select_node(("//numFmt[@numFmtId='" + std::to_string(id) + "']").c_str())
                .node()
                .attribute("formatCode")
                .value());
    };
    EXPECT_EQ(formatOf(sheet.cell("B2").style), "0.0%");
    EXPECT_EQ(formatOf(sheet.cell("B4").style), "0.0%");
}

TEST(StatisticsExport, LibreOfficeReadsTheWorkbookAsOurCsvSaysIt) {
    if (std::system("command -v soffice >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "soffice (LibreOffice) is not installed";
    TempStore db;
    const Figures f = sample(db);
    const Table t = teacherTable(f);
    const auto file = db.dir() / "book.xlsx";
    ASSERT_NO_THROW(writeXlsx(file, {t, weekTable(f)}, "代课统计"));
    const auto out = db.dir() / "out";
    const std::string cmd =
        "cd '" + db.dir().string() + "' && soffice -env:UserInstallation=file://" +
        db.dir().string() +
        "/lo --headless --convert-to 'csv:Text - txt - csv (StarCalc):44,34,76' "
        "--outdir '" +
        out.string() + "' book.xlsx >/dev/null 2>&1";
    const int rc = std::system(cmd.c_str());
    const auto csv = out / "book.csv";
    if (rc != 0 || !std::filesystem::exists(csv))
        GTEST_SKIP() << "LibreOffice could not convert spreadsheets here (is libreoffice-calc "
                        "installed?)";
    std::string theirs = readAll(csv);
    if (theirs.rfind("\xEF\xBB\xBF", 0) == 0) theirs.erase(0, 3);
    const std::string ours = toCsv(t).substr(3);
    EXPECT_EQ(parseCsv(theirs), parseCsv(ours));
}

TEST(StatisticsExport, CsvStartsWithTheMarkAndRoundTrips) {
    Table t;
    t.headers = {"教师", "代课节数", "备注"};
    t.rows.push_back({{Cell::of("张三"), Cell::count(3), Cell::of("外出,学习")}});
    t.rows.push_back({{Cell::of("李\"四\""), Cell::count(0), Cell::of("两行\n说明")}});
    TableRow totals;
    totals.cells = {Cell::of("合计"), Cell::count(3), Cell::blank()};
    t.totals = totals;
    const std::string csv = toCsv(t);
    ASSERT_EQ(csv.rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_NE(csv.find("教师,代课节数,备注\r\n"), std::string::npos);
    const auto rows = parseCsv(csv.substr(3));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1], (std::vector<std::string>{"张三", "3", "外出,学习"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"李\"四\"", "0", "两行\n说明"}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"合计", "3", ""}));

    TempDir dir;
    const auto file = dir.path() / "代课统计-第5周.csv";
    ASSERT_NO_THROW(writeFile(file, csv));
    EXPECT_EQ(readAll(file), csv);
}

TEST(StatisticsExport, AFailedSaveLeavesNothingBehindAndSaysWhy) {
    TempDir dir;
    // A folder that is not there.
    const auto missing = dir.path() / "没有的文件夹" / "a.csv";
    EXPECT_THROW(writeFile(missing, "x"), Failure);
    EXPECT_THROW(writeXlsx(missing.parent_path() / "a.xlsx", {}, "t"), Failure);
    // A name taken by a folder: the old folder stays, no temporary file remains.
    std::filesystem::create_directories(dir.path() / "代课统计-本学期.csv" / "里面");
    std::string why;
    try {
        writeFile(dir.path() / "代课统计-本学期.csv", "x");
    } catch (const Failure& e) {
        why = e.what();
    }
    EXPECT_NE(why.find("代课统计-本学期.csv"), std::string::npos) << why;
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "代课统计-本学期.csv" / "里面"));
    int left = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++left;
    EXPECT_EQ(left, 1);

    EXPECT_EQ(defaultFile("/学校", Range::weeks(3, 5), "xlsx"),
              std::filesystem::path("/学校/代课统计-第3至5周.xlsx"));
    EXPECT_EQ(defaultFile("/学校", Range::term(), "pdf").filename(), "代课统计-本学期.pdf");
}

}  // namespace
}  // namespace daike
