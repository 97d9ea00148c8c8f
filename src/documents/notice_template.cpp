#include "documents/notice_template.h"

#include <algorithm>
#include <vector>

#include "documents/libreoffice.h"
#include "store/paths.h"

namespace daike {

namespace {

// ---- the default template ----------------------------------------------------------------

struct Cell {
    int width;            // twips
    std::string text;     // fixed wording; empty for a cell the program fills
    bool filled = false;  // the program writes here: underlined, like a blank on a form
    const char* align = "center";
};

std::string run(const std::string& text, const std::string& rPr) {
    return "<w:r>" + (rPr.empty() ? "" : "<w:rPr>" + rPr + "</w:rPr>") +
           "<w:t xml:space=\"preserve\">" + xmlEscaped(text) + "</w:t></w:r>";
}

std::string cellXml(const Cell& c, int gridSpan, const std::string& extraRPr) {
    std::string tcPr = "<w:tcW w:w=\"" + std::to_string(c.width) + "\" w:type=\"dxa\"/>";
    if (gridSpan > 1) tcPr += "<w:gridSpan w:val=\"" + std::to_string(gridSpan) + "\"/>";
    tcPr += "<w:vAlign w:val=\"bottom\"/>";
    const std::string rPr = extraRPr + (c.filled ? "<w:u w:val=\"single\"/>" : "");
    std::string pPr = "<w:jc w:val=\"" + std::string(c.align) + "\"/>";
    if (!rPr.empty()) pPr += "<w:rPr>" + rPr + "</w:rPr>";
    return "<w:tc><w:tcPr>" + tcPr + "</w:tcPr><w:p><w:pPr>" + pPr + "</w:pPr>" + run(c.text, rPr) +
           "</w:p></w:tc>";
}

// The notice: rows of cells whose widths add up to the table's width; the grid is the union of
// every row's cell edges, and a cell spans the grid columns between its edges.
std::string noticeTable() {
    using R = std::vector<Cell>;
    const std::vector<R> rows = {
        {{9000, "代 课 通 知 单"}},
        {{1800, "", true}, {7200, "老师：", false, "left"}},
        {{1000, "兹因", false, "right"},
         {1300, "", true},
         {700, "老师"},
         {1900, "", true},
         {4100, "，特请您代课：", false, "left"}},
        {{900, "代", false, "right"},
         {1100, "", true},
         {350, "班"},
         {700, "", true},
         {350, "日"},
         {800, "", true},
         {350, "第"},
         {600, "", true},
         {350, "节"},
         // Wide enough for the lesson's clock time before the subject: "（10:40–11:20）语文".
         {2900, "", true},
         {600, "课", false, "left"}},
        {{900, "（", false, "right"},
         {800, "", true},
         {7300, "），请准时到班上课，谢谢！", false, "left"}},
        {{9000, "教导处", false, "right"}},
        {{900, ""}, {900, ""}, {3700, ""}, {3500, "", false, "right"}},
    };
    std::vector<int> edges{0};
    for (const auto& r : rows) {
        int x = 0;
        for (const auto& c : r) {
            x += c.width;
            edges.push_back(x);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());

    std::string xml =
        "<w:tbl><w:tblPr><w:tblW w:w=\"9000\" w:type=\"dxa\"/><w:jc w:val=\"center\"/>"
        "<w:tblBorders>"
        "<w:top w:val=\"single\" w:sz=\"8\" w:space=\"0\" w:color=\"000000\"/>"
        "<w:left w:val=\"single\" w:sz=\"8\" w:space=\"0\" w:color=\"000000\"/>"
        "<w:bottom w:val=\"single\" w:sz=\"8\" w:space=\"0\" w:color=\"000000\"/>"
        "<w:right w:val=\"single\" w:sz=\"8\" w:space=\"0\" w:color=\"000000\"/>"
        "<w:insideH w:val=\"nil\"/><w:insideV w:val=\"nil\"/></w:tblBorders>"
        "<w:tblLayout w:type=\"fixed\"/>"
        "<w:tblCellMar><w:left w:w=\"40\" w:type=\"dxa\"/><w:right w:w=\"40\" w:type=\"dxa\"/>"
        "</w:tblCellMar><w:tblLook w:val=\"0000\"/></w:tblPr><w:tblGrid>";
    for (std::size_t i = 1; i < edges.size(); ++i)
        xml += "<w:gridCol w:w=\"" + std::to_string(edges[i] - edges[i - 1]) + "\"/>";
    xml += "</w:tblGrid>";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const bool title = r == 0;
        const int height = title ? 1000 : r == 5 ? 800 : 680;
        xml += "<w:tr><w:trPr><w:cantSplit/><w:trHeight w:val=\"" + std::to_string(height) +
               "\" w:hRule=\"atLeast\"/></w:trPr>";
        int x = 0;
        for (const auto& c : rows[r]) {
            const auto from = std::find(edges.begin(), edges.end(), x);
            const auto to = std::find(edges.begin(), edges.end(), x + c.width);
            xml += cellXml(c, static_cast<int>(to - from),
                           title ? "<w:rFonts w:ascii=\"SimHei\" w:hAnsi=\"SimHei\" "
                                   "w:eastAsia=\"黑体\"/><w:b/><w:sz w:val=\"36\"/>"
                                   "<w:szCs w:val=\"36\"/>"
                                 : "");
            x += c.width;
        }
        xml += "</w:tr>";
    }
    return xml + "</w:tbl>";
}

const char* kStyles =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<w:styles xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">)"
    R"(<w:docDefaults><w:rPrDefault><w:rPr>)"
    R"(<w:rFonts w:ascii="Times New Roman" w:hAnsi="Times New Roman" w:eastAsia="宋体" w:cs="Times New Roman"/>)"
    R"(<w:sz w:val="28"/><w:szCs w:val="28"/><w:lang w:val="en-US" w:eastAsia="zh-CN"/>)"
    R"(</w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:spacing w:after="0" w:line="240" w:lineRule="auto"/>)"
    R"(</w:pPr></w:pPrDefault></w:docDefaults>)"
    R"(<w:style w:type="paragraph" w:default="1" w:styleId="Normal"><w:name w:val="Normal"/></w:style>)"
    R"(<w:style w:type="table" w:default="1" w:styleId="TableNormal"><w:name w:val="Normal Table"/>)"
    R"(<w:tblPr><w:tblInd w:w="0" w:type="dxa"/><w:tblCellMar><w:top w:w="0" w:type="dxa"/>)"
    R"(<w:left w:w="108" w:type="dxa"/><w:bottom w:w="0" w:type="dxa"/><w:right w:w="108" w:type="dxa"/>)"
    R"(</w:tblCellMar></w:tblPr></w:style></w:styles>)";

}  // namespace

WordDocument defaultNoticeTemplate() {
    const std::string table = noticeTable();
    const std::string cutLine =
        "<w:p><w:pPr><w:spacing w:before=\"900\" w:after=\"900\"/><w:jc w:val=\"center\"/>"
        "</w:pPr>" +
        run("－ － － － － － － － － － － 沿此线剪开 － － － － － － － － － － －",
            "<w:color w:val=\"808080\"/><w:sz w:val=\"18\"/><w:szCs w:val=\"18\"/>") +
        "</w:p>";
    const std::string doc =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)"
        R"(<w:p><w:pPr><w:spacing w:after="240"/></w:pPr></w:p>)" +
        table + cutLine + table +
        R"(<w:p/><w:sectPr><w:pgSz w:w="11906" w:h="16838"/>)"
        R"(<w:pgMar w:top="1134" w:right="1134" w:bottom="1134" w:left="1134" w:header="567" w:footer="567" w:gutter="0"/>)"
        R"(</w:sectPr></w:body></w:document>)";
    return WordDocument::fromXml(doc, kStyles, kNoticeTemplate);
}

bool libreOfficeInstalled() {
    return libreoffice::find().has_value();
}

bool convertWithLibreOffice(const std::filesystem::path& doc, const std::filesystem::path& outDir,
                            const std::string& format) {
    return convertWithLibreOffice(std::vector<std::filesystem::path>{doc}, outDir, format);
}

bool convertWithLibreOffice(const std::vector<std::filesystem::path>& docs,
                            const std::filesystem::path& outDir, const std::string& format) {
    return !docs.empty() &&
           libreoffice::convert(docs, outDir, format) == libreoffice::Outcome::Converted;
}

NoticeTemplate loadNoticeTemplate(const std::filesystem::path& programDir) {
    const auto docx = inFolder(programDir, kNoticeTemplate);
    const auto doc = inFolder(programDir, kOldNoticeTemplate);
    std::error_code ec;
    if (std::filesystem::exists(docx, ec))
        return {WordDocument::open(docx), TemplateOrigin::Existing};
    if (std::filesystem::exists(doc, ec)) {
        if (convertWithLibreOffice(doc, programDir) && std::filesystem::exists(docx, ec))
            return {WordDocument::open(docx), TemplateOrigin::ConvertedFromDoc};
        const std::string why = libreOfficeInstalled()
                                    ? "，LibreOffice 也未能转换它（文件可能已损坏）。\n"
                                    : "，本机也没有可用来转换的 LibreOffice。\n";
        throw Failure(Failure::Kind::NotADocument,
                      std::string("通知模板“") + kOldNoticeTemplate +
                          "”是旧的 Word 格式，本程序不能直接读取" + why +
                          "请用 Word 或 WPS 打开它，选择“另存为”，保存类型选“Word 文档 "
                          "(*.docx)”，以“" +
                          kNoticeTemplate + "”为名保存在程序目录中，然后再打印。");
    }
    auto fresh = defaultNoticeTemplate();
    fresh.save(docx);
    return {std::move(fresh), TemplateOrigin::WrittenDefault};
}

}  // namespace daike
