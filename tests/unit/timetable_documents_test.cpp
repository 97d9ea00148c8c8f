#include "basedata/timetable_documents.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "basedata/demo_school.h"
#include "documents/docx.h"
#include "documents/libreoffice.h"
#include "test_support.h"

namespace daike {
namespace {

using namespace timetable_import;
namespace fs = std::filesystem;

const KeyPositions k536{5, 3, 6};

// Builds a .docx whose body is the given XML, as a word processor would have saved it.
void writeDocx(const fs::path& file, const std::string& body) {
    fs::create_directories(file.parent_path());
    const std::string xml =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
        "<w:body>" +
        body + "<w:p/><w:sectPr/></w:body></w:document>";  // a body always ends in a paragraph
    WordDocument::fromXml(xml, "", file.filename().string()).save(file.string());
}

std::string tc(const std::string& inner, const std::string& tcPr = "") {
    return "<w:tc>" + (tcPr.empty() ? "" : "<w:tcPr>" + tcPr + "</w:tcPr>") +
           (inner.empty() ? "<w:p/>" : inner) + "</w:tc>";
}
std::string p(const std::string& text) {
    return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>";
}
// A table of plain cells: rows of columns, each cell one paragraph ("" an empty cell).
std::string grid(const std::vector<std::vector<std::string>>& rows) {
    std::string xml = "<w:tbl><w:tblGrid>";
    for (std::size_t c = 0; c < rows.at(0).size(); ++c) xml += "<w:gridCol w:w=\"1000\"/>";
    xml += "</w:tblGrid>";
    for (const auto& row : rows) {
        xml += "<w:tr>";
        for (const auto& cell : row) xml += tc(cell.empty() ? "" : p(cell));
        xml += "</w:tr>";
    }
    return xml + "</w:tbl>";
}
std::vector<std::vector<std::string>> week(std::map<std::pair<int, int>, std::string> lessons) {
    std::vector<std::vector<std::string>> rows(6, std::vector<std::string>(5));
    for (const auto& [at, text] : lessons)
        rows[at.second - 1][at.first - 1] = text;  // (星期, 节次)
    return rows;
}

class Documents : public testing::StoreTest {
  protected:
    testing::TempDir program;
    fs::path folder() const { return program.path() / kDocumentFolder; }
    void teachers(std::initializer_list<const char*> names) {
        for (const char* n : names) store().exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {n});
    }
    std::vector<std::string> names() { return importTeachers(store()); }
    std::string timetable() {
        return column(
            "SELECT 姓名||'|'||星期||'|'||节次||'|'||课目||'|'||班级 FROM 任课情况 ORDER BY rowid");
    }
};

TEST_F(Documents, TablesAsTheOfficesWordProcessorWritesThem) {
    // Row 1: a subject split over runs mid-word, with an empty paragraph before it.
    // Row 2: a line break inside the class information; a cell spanning Tuesday and Wednesday.
    // Row 3-4: Monday's cell merged down over two periods.
    const std::string rows =
        "<w:tr>" +
        tc("<w:p/><w:p><w:r><w:t>劳动与</w:t></w:r><w:r><w:rPr><w:b/></w:rPr><w:t>技术</w:t>"
           "</w:r><w:r><w:t>(六年2班)</w:t></w:r></w:p><w:p/>") +
        tc("") + tc("") + tc("") + tc(p("早读")) + "</w:tr><w:tr>" +
        tc("<w:p><w:r><w:t>科学</w:t><w:br/><w:t>(六年</w:t></w:r></w:p>" + p(" 2班)")) +
        tc(p("体育(三年1班)"), "<w:gridSpan w:val=\"2\"/>") + tc("") + tc("") + "</w:tr><w:tr>" +
        tc(p("美术(一年3班)"), "<w:vMerge w:val=\"restart\"/>") + tc("") + tc("") + tc("") +
        tc("") + "</w:tr><w:tr>" + tc("", "<w:vMerge/>") + tc("") + tc("") + tc("") + tc("") +
        "</w:tr>";
    std::string empty = "<w:tr>" + tc("") + tc("") + tc("") + tc("") + tc("") + "</w:tr>";
    writeDocx(folder() / "甲.docx",
              p("甲老师课务表") + "<w:tbl><w:tblGrid>" +
                  "<w:gridCol/><w:gridCol/><w:gridCol/><w:gridCol/><w:gridCol/></w:tblGrid>" +
                  rows + empty + empty + "</w:tbl>" + grid({{"第二个表格"}}));
    teachers({"甲"});
    FolderDocuments docs(folder(), names());
    const auto plan = readDocuments(store(), k536, docs);
    ASSERT_TRUE(plan) << plan.refusal().message;
    replaceTimetable(store(), *plan, {});
    EXPECT_EQ(timetable(),
              "甲|1|1|劳动与技术|六(2),甲|1|2|科学|六(2),甲|1|3|美术|一(3),甲|1|4|美术|一(3),"
              "甲|2|2|体育|三(1),甲|3|2|体育|三(1)");
}

TEST_F(Documents, AFirstTableOfAnotherShapeIsNamedWithTheTeacher) {
    auto headed = week({{{1, 1}, "语文(一年1班)"}});
    headed.insert(headed.begin(), {"星期一", "星期二", "星期三", "星期四", "星期五"});
    writeDocx(folder() / "王 老师.docx", grid(headed));
    writeDocx(folder() / "李四.docx", p("没有表格"));
    teachers({"王 老师", "李四"});
    FolderDocuments docs(folder(), names());
    const auto plan = readDocuments(store(), k536, docs);
    ASSERT_FALSE(plan);
    EXPECT_EQ(plan.refusal().message,
              (folder() / "王 老师.docx").string() +
                  "无法读取：王 老师的课务表第一个表格有7行5列，应为6行5列（第1"
                  "行为第1节，第1列为星期一，表内不加标题行和标题列）。\n" +
                  (folder() / "李四.docx").string() + "无法读取：李四的课务表中没有表格。\n" +
                  "原有的课务情况未作任何改动。");
}

TEST_F(Documents, FiveTeachersWithTheThirdDocumentMissing) {
    store().exec(
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES ('旧', 1, '一(1)', 1, '语文')");
    teachers({"一号", "二号", "三号", "四号", "五号"});
    for (const char* n : {"一号", "二号", "四号", "五号"})
        writeDocx(folder() / (std::string(n) + ".docx"), grid(week({{{1, 1}, "语文(一年1班)"}})));
    {
        std::ofstream(folder() / "五号.docx") << "这不是文档";  // damaged
    }
    FolderDocuments docs(folder(), names());
    const auto plan = readDocuments(store(), k536, docs);
    ASSERT_FALSE(plan);
    const auto& said = plan.refusal().message;
    EXPECT_EQ(said.rfind((folder() / "三号.docx").string() + "找不到该文件！\n" +
                             (folder() / "五号.docx").string() + "无法读取：",
                         0),
              0u);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2);
    EXPECT_EQ(timetable(), "旧|1|1|语文|一(1)");
}

TEST_F(Documents, DocFilesAreConvertedTogetherOnceAndADocxComesFirst) {
    teachers({"甲", "乙", "丙", "../丁"});
    writeDocx(folder() / "甲.docx", grid(week({{{1, 1}, "语文(一年1班)"}})));
    std::ofstream(folder() / "甲.doc") << "旧";
    std::ofstream(folder() / "乙.doc") << "乙";
    std::ofstream(folder() / "丙.doc") << "丙";
    std::vector<std::vector<std::string>> calls;
    FolderDocuments docs(folder(), names(), [&](const auto& files, const fs::path& out) {
        calls.push_back({});
        for (const auto& f : files) calls.back().push_back(f.filename().string());
        // Converts 乙 only, as if 丙 were damaged.
        writeDocx(out / "乙.docx", grid(week({{{2, 2}, "数学(二年1班)"}})));
        return std::optional<std::string>();
    });
    EXPECT_TRUE(docs.read("甲").cells);
    EXPECT_TRUE(calls.empty());
    const auto b = docs.read("乙");
    EXPECT_EQ(b.path, (folder() / "乙.doc").string());
    ASSERT_TRUE(b.cells);
    EXPECT_EQ((*b.cells)[1][1], "数学(二年1班)");
    EXPECT_NE(docs.read("丙").problem.find("另存为.docx"), std::string::npos);
    EXPECT_EQ(calls, (std::vector<std::vector<std::string>>{{"乙.doc", "丙.doc"}}));
    // A name that would lead out of the folder is not looked for.
    EXPECT_EQ(docs.read("../丁").problem, "教师姓名“../丁”不能用作文件名，找不到该教师的课务表。");

    FolderDocuments without(folder(), names(), [](const auto&, const auto&) {
        return std::optional<std::string>("本机没有安装LibreOffice，请另存为.docx");
    });
    EXPECT_EQ(without.read("乙").problem,
              (folder() / "乙.doc").string() + "无法读取：本机没有安装LibreOffice，请另存为.docx");
}

TEST_F(Documents, DocConvertedByLibreOffice) {
    if (!libreoffice::find())
        GTEST_SKIP() << "LibreOffice (soffice) is not on the PATH; scripts/install-deps installs "
                        "libreoffice-writer-nogui";
    // Make a .doc the way an office would have one: our .docx saved as .doc by LibreOffice.
    testing::TempDir made;
    writeDocx(made.path() / "张 三.docx", grid(week({{{3, 4}, "科学（六年２班）"}})));
    const auto soffice = libreoffice::find()->string();
    const std::string cmd = "\"" + soffice + "\" -env:UserInstallation=file://" +
                            (made.path() / "profile").string() +
                            " --headless --convert-to doc --outdir \"" + folder().string() +
                            "\" \"" + (made.path() / "张 三.docx").string() + "\" >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    ASSERT_TRUE(fs::exists(folder() / "张 三.doc"));
    teachers({"张 三"});
    FolderDocuments docs(folder(), names());
    const auto plan = readDocuments(store(), k536, docs);
    ASSERT_TRUE(plan) << plan.refusal().message;
    replaceTimetable(store(), *plan, {});
    EXPECT_EQ(timetable(), "张 三|3|4|科学|六(2)");
}

TEST_F(Documents, TheDemoSchoolExportedWipedAndImportedIsTheSameTimetable) {
    demo::fillSchool(store(), demo::demoPlan());
    const std::string rows =
        "SELECT 姓名||'|'||星期||'|'||节次||'|'||课目||'|'||班级 FROM 任课情况 ORDER BY 1";
    const auto before = column(rows);
    const int teacherCount = static_cast<int>(names().size());
    EXPECT_EQ(exportTimetableDocuments(store(), program.path()), teacherCount);
    store().exec("DELETE FROM 任课情况");
    FolderDocuments docs(folder(), names());
    const auto plan = readDocuments(store(), k536, docs);
    ASSERT_TRUE(plan) << plan.refusal().message;
    EXPECT_TRUE(plan->skipped.empty());
    EXPECT_TRUE(plan->doubles.empty());
    replaceTimetable(store(), *plan, {});
    EXPECT_EQ(column(rows), before);
}

TEST_F(Documents, TheSampleDocumentIsMadeWhenMissingAndReadsBack) {
    ASSERT_TRUE(ensureSampleDocuments(program.path()));
    const auto file = program.path() / kSampleFolder / kSampleFile;
    const auto cells = readFirstTable(WordDocument::open(file.string()), "样表");
    EXPECT_EQ(cells, sampleTimetable());
    { std::ofstream(file) << "office's own"; }
    EXPECT_TRUE(ensureSampleDocuments(program.path()));  // an existing one is left alone
    std::ifstream in(file);
    std::string kept;
    std::getline(in, kept);
    EXPECT_EQ(kept, "office's own");
}

}  // namespace
}  // namespace daike
