#include "documents/docx.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "test_support.h"

namespace daike {
namespace {

const std::string kOpen =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main" )"
    R"(xmlns:w14="http://schemas.microsoft.com/office/word/2010/wordml"><w:body>)";
const std::string kClose =
    R"(<w:sectPr><w:pgSz w:w="11906" w:h="16838"/></w:sectPr></w:body></w:document>)";

std::string cell(const std::string& inner, const std::string& tcPr = "") {
    return "<w:tc>" + (tcPr.empty() ? "" : "<w:tcPr>" + tcPr + "</w:tcPr>") + inner + "</w:tc>";
}
std::string para(const std::string& text) {
    return "<w:p><w:r><w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>";
}
std::string table(const std::string& rows) {
    return "<w:tbl><w:tblGrid><w:gridCol w:w=\"1000\"/><w:gridCol w:w=\"1000\"/>"
           "<w:gridCol w:w=\"1000\"/></w:tblGrid>" +
           rows + "</w:tbl>";
}

// A timetable as word processors write it: a word split over runs, empty paragraphs, line
// breaks, a cell spanning two columns, a cell merged down, a nested table, a content control.
WordDocument awkwardTable() {
    const std::string rows =
        "<w:tr>" +
        cell(
            "<w:p><w:r><w:rPr><w:b/></w:rPr><w:t>语</w:t></w:r>"
            "<w:proofErr w:type=\"spellStart\"/><w:r><w:t>文</w:t></w:r></w:p>") +
        cell("<w:p/>" + para("数学") + "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr></w:p>") +
        cell("<w:p><w:r><w:t>三(1)</w:t><w:br/><w:t>三(2)</w:t></w:r></w:p>") + "</w:tr>" +
        "<w:tr>" + cell(para("跨两列"), "<w:gridSpan w:val=\"2\"/>") +
        cell(para("上"), "<w:vMerge w:val=\"restart\"/>") + "</w:tr>" + "<w:tr>" + cell(para("A")) +
        cell("<w:tbl><w:tr>" + cell(para("内")) + "</w:tr></w:tbl><w:p/>") +
        cell("<w:p/>", "<w:vMerge/>") + "</w:tr>" + "<w:tr><w:sdt><w:sdtContent>" +
        cell(para("控件")) + "</w:sdtContent></w:sdt>" + cell(para("<![CDATA[a&b]]>")) +
        cell(
            "<w:p><w:r><w:delText>删</w:delText></w:r><w:ins><w:r><w:t>增</w:t></w:r></w:ins>"
            "<w:r><w:instrText>PAGE</w:instrText></w:r></w:p>") +
        "</w:tr>";
    return WordDocument::fromXml(kOpen + para("标题") + table(rows) + para("") + kClose, "",
                                 "课表.docx");
}

TEST(WordDocument, ReadsCellsAsAWordProcessorCountsThem) {
    auto doc = awkwardTable();
    ASSERT_EQ(doc.tableCount(), 1);  // the nested table belongs to its cell
    EXPECT_EQ(doc.rowCount(1), 4);
    EXPECT_EQ(doc.cellText(1, 1, 1), "语文");          // split runs come out whole
    EXPECT_EQ(doc.cellText(1, 1, 2), "数学");          // empty paragraphs left out
    EXPECT_EQ(doc.cellText(1, 1, 3), "三(1)\n三(2)");  // a line break
    // A cell spanning two columns counts once: the next cell is column 2.
    EXPECT_EQ(doc.cellCount(1, 2), 2);
    EXPECT_EQ(doc.cellText(1, 2, 1), "跨两列");
    EXPECT_EQ(doc.cellText(1, 2, 2), "上");
    // Merged down: the lower place reads the cell where the merge starts.
    EXPECT_EQ(doc.cellText(1, 3, 3), "上");
    EXPECT_EQ(doc.cellText(1, 3, 2), "内");
    EXPECT_EQ(doc.cellText(1, 4, 1), "控件");
    EXPECT_EQ(doc.cellText(1, 4, 2), "a&b");
    EXPECT_EQ(doc.cellText(1, 4, 3), "增");  // no deleted text, no field code
    // By grid column the spanning cell answers for both of its columns.
    EXPECT_EQ(doc.gridCellText(1, 2, 1), "跨两列");
    EXPECT_EQ(doc.gridCellText(1, 2, 2), "跨两列");
    EXPECT_EQ(doc.gridCellText(1, 2, 3), "上");
    EXPECT_EQ(doc.gridCellText(1, 2, 4), "");
}

TEST(WordDocument, AskingForACellThatIsNotThereSaysWhichInChinese) {
    auto doc = awkwardTable();
    auto kindOf = [&](auto f) {
        try {
            f();
        } catch (const Failure& e) {
            EXPECT_NE(std::string(e.what()).find("课表.docx"), std::string::npos) << e.what();
            return e.kind();
        }
        ADD_FAILURE() << "no error";
        return Failure::Kind::Damaged;
    };
    EXPECT_EQ(kindOf([&] { doc.cellText(2, 1, 1); }), Failure::Kind::NoSuchCell);
    EXPECT_EQ(kindOf([&] { doc.cellText(1, 5, 1); }), Failure::Kind::NoSuchCell);
    EXPECT_EQ(kindOf([&] { doc.cellText(1, 2, 3); }), Failure::Kind::NoSuchCell);
    EXPECT_EQ(kindOf([&] { doc.setCellText(0, 1, 1, "x"); }), Failure::Kind::NoSuchCell);
    try {
        doc.cellText(3, 1, 1);
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("没有第3个表格（只有1个）"), std::string::npos);
    }
}

TEST(WordDocument, WritingACellKeepsItsFormattingAndNothingElseChanges) {
    auto doc = awkwardTable();
    const std::string before = doc.documentXml();
    doc.setCellText(1, 1, 1, "  英语\n第二行 ");
    EXPECT_EQ(doc.cellText(1, 1, 1), "  英语\n第二行 ");
    const std::string after = doc.documentXml();
    // The first run's bold stays with the new text.
    EXPECT_NE(
        after.find("<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">  英语</w:t><w:br/>"),
        std::string::npos)
        << after;
    // The merged-down place writes the cell where the merge starts.
    doc.setCellText(1, 3, 3, "下");
    EXPECT_EQ(doc.cellText(1, 2, 2), "下");
    // Every other cell reads as before.
    auto original = awkwardTable();
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= doc.cellCount(1, r); ++c) {
            if ((r == 1 && c == 1) || (r == 2 && c == 2) || (r == 3 && c == 3)) continue;
            EXPECT_EQ(doc.cellText(1, r, c), original.cellText(1, r, c)) << r << "," << c;
        }
    // An empty cell takes the paragraph mark's formatting, which is what typing there uses.
    auto plain = WordDocument::fromXml(
        kOpen +
            table("<w:tr>" +
                  cell("<w:p><w:pPr><w:jc w:val=\"center\"/><w:rPr><w:u w:val=\"single\"/>"
                       "</w:rPr></w:pPr></w:p>") +
                  "</w:tr>") +
            kClose,
        "", "x.docx");
    plain.setCellText(1, 1, 1, "王芳");
    EXPECT_NE(plain.documentXml().find("<w:r><w:rPr><w:u w:val=\"single\"/></w:rPr><w:t "),
              std::string::npos)
        << plain.documentXml();
    EXPECT_NE(plain.documentXml().find("<w:jc w:val=\"center\"/>"), std::string::npos);
    EXPECT_NE(before, after);
}

TEST(WordDocument, SavesAndReadsBackEveryPartOfThePackage) {
    testing::TempDir dir;
    auto doc = awkwardTable();
    doc.setCellText(1, 4, 2, "<&>\"");
    const auto path = (dir.path() / "输出.docx").string();
    doc.save(path);
    auto again = WordDocument::open(path);
    EXPECT_EQ(again.cellText(1, 4, 2), "<&>\"");
    EXPECT_EQ(again.cellText(1, 1, 1), "语文");
    EXPECT_EQ(again.documentXml(), doc.documentXml());
    EXPECT_FALSE(std::filesystem::exists(path + ".写入中"));
    // Saving into a folder that does not exist fails with a message and writes nothing.
    try {
        doc.save((dir.path() / "没有" / "x.docx").string());
        ADD_FAILURE();
    } catch (const Failure& e) {
        EXPECT_EQ(e.kind(), Failure::Kind::CannotWrite);
    }
}

TEST(WordDocument, ForeignOrDamagedFilesAreRefusedWithAMessage) {
    testing::TempDir dir;
    auto kindOf = [](auto f) {
        try {
            f();
        } catch (const Failure& e) {
            EXPECT_FALSE(std::string(e.what()).empty());
            return e.kind();
        }
        ADD_FAILURE() << "no error";
        return Failure::Kind::CannotWrite;
    };
    EXPECT_EQ(kindOf([&] { WordDocument::open((dir.path() / "无.docx").string()); }),
              Failure::Kind::NotFound);
    EXPECT_EQ(kindOf([] { WordDocument::fromBytes("not a zip at all", "a.docx"); }),
              Failure::Kind::NotADocument);
    // A zip without a document part (a spreadsheet, say).
    std::string bytes = awkwardTable().toBytes();
    auto noMain = bytes;
    for (std::size_t at; (at = noMain.find("word/document.xml")) != std::string::npos;)
        noMain.replace(at, 17, "word/documenX.xml");
    EXPECT_EQ(kindOf([&] { WordDocument::fromBytes(noMain, "b.docx"); }),
              Failure::Kind::NotADocument);
    // Truncated in the middle.
    EXPECT_NE(kindOf([&] { WordDocument::fromBytes(bytes.substr(0, bytes.size() / 2), "c"); }),
              Failure::Kind::CannotWrite);
    // A document part that is not XML.
    EXPECT_EQ(kindOf([&] { WordDocument::fromXml("<w:document><w:body>", "", "d"); }),
              Failure::Kind::Damaged);
}

TEST(WordDocument, RepeatsTheLastPageForMoreTables) {
    // Two pages, the second begun by a page break inside a paragraph.
    const std::string page1 = para("第一页") + table("<w:tr>" + cell(para("甲")) + "</w:tr>") +
                              table("<w:tr>" + cell(para("乙")) + "</w:tr>") +
                              "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>";
    const std::string page2 =
        "<w:p w14:paraId=\"1A2B3C4D\"><w:bookmarkStart w:id=\"0\" w:name=\"x\"/>"
        "<w:r><w:t>第二页</w:t></w:r><w:bookmarkEnd w:id=\"0\"/></w:p>" +
        table("<w:tr>" + cell(para("丙")) + "</w:tr>") + para("") +
        table("<w:tr>" + cell(para("丁")) + "</w:tr>");
    auto doc = WordDocument::fromXml(kOpen + page1 + page2 + kClose, "", "t.docx");
    ASSERT_EQ(doc.tableCount(), 4);
    EXPECT_EQ(doc.appendLastPageCopies(2), 8);
    EXPECT_EQ(doc.cellText(1, 1, 1), "甲");
    for (int t = 3; t <= 8; t += 2) {
        EXPECT_EQ(doc.cellText(t, 1, 1), "丙");
        EXPECT_EQ(doc.cellText(t + 1, 1, 1), "丁");
    }
    const std::string xml = doc.documentXml();
    EXPECT_EQ(xml.rfind("<w:sectPr>"), xml.find("<w:sectPr>"));  // still one, at the end
    EXPECT_TRUE(xml.ends_with("</w:sectPr></w:body></w:document>"));
    // Each copy starts on a new page; bookmarks and paragraph ids stay unique.
    std::size_t breaks = 0;
    for (std::size_t at = 0; (at = xml.find("<w:pageBreakBefore/>", at)) != std::string::npos; ++at)
        ++breaks;
    EXPECT_EQ(breaks, 2u);
    EXPECT_EQ(xml.find("w:name=\"x\""), xml.rfind("w:name=\"x\""));
    EXPECT_EQ(xml.find("1A2B3C4D"), xml.rfind("1A2B3C4D"));
    // A one-page document whose page starts with a table is copied whole.
    auto single =
        WordDocument::fromXml(kOpen + table("<w:tr>" + cell(para("A")) + "</w:tr>") + para("") +
                                  table("<w:tr>" + cell(para("B")) + "</w:tr>") + para("") + kClose,
                              "", "s.docx");
    EXPECT_EQ(single.appendLastPageCopies(1), 4);
    EXPECT_EQ(single.cellText(3, 1, 1), "A");
    EXPECT_EQ(single.cellText(4, 1, 1), "B");
    EXPECT_NE(single.documentXml().find("<w:pageBreakBefore/>"), std::string::npos);
    EXPECT_EQ(single.appendLastPageCopies(0), 4);
}

}  // namespace
}  // namespace daike
