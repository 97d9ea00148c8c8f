#include "basedata/timetable_documents.h"

#include <algorithm>
#include <map>
#include <random>

#include "basedata/teacher_names.h"
#include "documents/document_limits.h"
#include "documents/docx.h"
#include "documents/libreoffice.h"
#include "store/paths.h"
#include "store/store.h"
#include "store/tables/timetable.h"
#include "store/text.h"

namespace daike::timetable_import {

namespace fs = std::filesystem;

namespace {

// A name that, put in a path, would point outside the folder or is no file name at all.
bool usableAsFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

fs::path uniqueTempDir(const std::string& stem) {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto p = inFolder(fs::temp_directory_path(), stem + std::to_string(rd()));
        std::error_code ec;
        if (fs::create_directory(p, ec)) return p;
    }
    throw Failure(Failure::Kind::CannotWrite, "无法建立临时文件夹，不能转换.doc文件。");
}

// The runs of a cell text: a "\n" becomes a line break.
std::string runs(std::string_view text) {
    std::string out = "<w:r><w:rPr><w:sz w:val=\"21\"/></w:rPr>";
    std::size_t from = 0;
    while (true) {
        const auto nl = text.find('\n', from);
        out += "<w:t xml:space=\"preserve\">" +
               xmlEscaped(text.substr(from, nl == std::string_view::npos ? nl : nl - from)) +
               "</w:t>";
        if (nl == std::string_view::npos) break;
        out += "<w:br/>";
        from = nl + 1;
    }
    return out + "</w:r>";
}

const char* const kDocumentOpen =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)";
const char* const kDocumentClose =
    R"(<w:sectPr><w:pgSz w:w="11906" w:h="16838"/>)"
    R"(<w:pgMar w:top="1440" w:right="1200" w:bottom="1440" w:left="1200"/></w:sectPr>)"
    "</w:body></w:document>";

// The class information as teachers write it: 一(1) becomes 一年1班.
std::string classInCell(const std::string& className) {
    const auto open = className.find('(');
    const auto close = className.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close < open + 2)
        return className;
    return className.substr(0, open) + "年" + className.substr(open + 1, close - open - 1) + "班";
}

}  // namespace

CellTexts readFirstTable(const WordDocument& document, const std::string& teacher) {
    if (document.tableCount() < 1)
        throw Failure(Failure::Kind::NoSuchCell, teacher + "的课务表中没有表格。");
    const int rows = document.rowCount(1);
    if (rows > document_limits::kTableRows)
        throw Failure(Failure::Kind::TooLarge,
                      teacher + "的课务表第一个表格有" + std::to_string(rows) +
                          "行，应为6行5列，没有读取。请检查是否选错了文件。");
    int columns = 0;
    bool even = true;
    const auto widths = document.gridColumnCounts(1);
    for (std::size_t r = 0; r < widths.size(); ++r) {
        if (r > 0 && widths[r] != columns) even = false;
        columns = std::max(columns, widths[r]);
    }
    if (rows != kPeriods || columns != kWeekdays || !even)
        throw Failure(Failure::Kind::NoSuchCell,
                      teacher + "的课务表第一个表格有" + std::to_string(rows) + "行" +
                          std::to_string(columns) +
                          "列，应为6行5列（第1行为第1节，第1列为星期一，表内不加标题行和标题"
                          "列）。");
    CellTexts cells;
    for (int r = 1; r <= kPeriods; ++r)
        for (int g = 1; g <= kWeekdays; ++g) {
            auto text = document.gridCellText(1, r, g);
            const auto length = document_limits::characterCount(text);
            if (length > static_cast<std::size_t>(document_limits::kCellCharacters))
                throw Failure(Failure::Kind::TooLarge,
                              teacher + "的课务表第" + std::to_string(r) + "行第" +
                                  std::to_string(g) + "列有" + std::to_string(length) +
                                  "个字（一格最多" +
                                  std::to_string(document_limits::kCellCharacters) +
                                  "个字），没有读取。请检查该表格。");
            cells[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(g - 1)] =
                std::move(text);
        }
    return cells;
}

DocConverter libreOfficeConverter() {
    return [](const std::vector<fs::path>& docs,
              const fs::path& outDir) -> std::optional<std::string> {
        switch (libreoffice::convert(docs, outDir, "docx")) {
            case libreoffice::Outcome::NotInstalled:
                return "本机没有安装LibreOffice，不能读取.doc文件。请用文字处理软件把它另存为."
                       "docx格式"
                       "（Word 2007及以后的格式）后再导入。";
            case libreoffice::Outcome::NotStarted:
                return "LibreOffice未能启动，请把该文件另存为.docx格式后再导入。";
            case libreoffice::Outcome::TimedOut:
                return "LibreOffice转换超时，请把该文件另存为.docx格式后再导入。";
            case libreoffice::Outcome::Converted:
            case libreoffice::Outcome::Failed:
                // A file it could not convert is missing from the folder; reading it says so.
                break;
        }
        return std::nullopt;
    };
}

FolderDocuments::FolderDocuments(fs::path folder, std::vector<std::string> teachers,
                                 DocConverter convert)
    : folder_(fs::absolute(folder)), teachers_(std::move(teachers)), convert_(std::move(convert)) {}

FolderDocuments::~FolderDocuments() {
    if (!outDir_.empty()) {
        std::error_code ec;
        fs::remove_all(outDir_, ec);
    }
}

void FolderDocuments::convertDocs() {
    converted_ = true;
    std::vector<fs::path> docs;
    for (const auto& name : teachers_) {
        if (!usableAsFileName(name)) continue;
        std::error_code ec;
        if (fs::exists(inFolder(folder_, name + ".docx"), ec)) continue;
        const auto doc = inFolder(folder_, name + ".doc");
        if (fs::is_regular_file(doc, ec)) docs.push_back(doc);
    }
    if (docs.empty()) return;
    if (!convert_) {
        conversionFailure_ = "不能转换.doc文件，请把它另存为.docx格式后再导入。";
        return;
    }
    try {
        outDir_ = uniqueTempDir("daike-doc-");
        conversionFailure_ = convert_(docs, outDir_);
    } catch (const std::exception& e) {
        conversionFailure_ = e.what();
    }
}

TeacherDocument FolderDocuments::read(const std::string& teacher) {
    TeacherDocument d;
    if (!usableAsFileName(teacher)) {
        d.path = utf8(folder_ / fs::path()) + teacher;
        d.problem = "教师姓名“" + teacher + "”不能用作文件名，找不到该教师的课务表。";
        return d;
    }
    const fs::path docx = inFolder(folder_, teacher + ".docx");
    const fs::path doc = inFolder(folder_, teacher + ".doc");
    std::error_code ec;
    fs::path file = docx;
    d.path = utf8(docx);
    if (!fs::exists(docx, ec)) {
        if (!fs::is_regular_file(doc, ec)) {
            d.problem = d.path + kNotFound;
            return d;
        }
        d.path = utf8(doc);
        if (!converted_) convertDocs();
        if (conversionFailure_) {
            d.problem = d.path + "无法读取：" + *conversionFailure_;
            return d;
        }
        file = inFolder(outDir_, teacher + ".docx");
        if (!fs::exists(file, ec)) {
            d.problem = d.path +
                        "无法读取：LibreOffice未能转换该文件（文件可能已损坏），请用文字处理软件"
                        "把它另存为.docx格式后再导入。";
            return d;
        }
    }
    try {
        d.cells = readFirstTable(WordDocument::open(file), teacher);
    } catch (const std::exception& e) {
        d.problem = d.path + "无法读取：" + e.what();
    }
    return d;
}

std::optional<ReadAhead> ReadAhead::of(TimetableDocuments& source,
                                       const std::vector<std::string>& teachers,
                                       const Progress& progress, const std::atomic<bool>& stop) {
    ReadAhead ahead;
    const int n = static_cast<int>(teachers.size());
    for (int t = 0; t < n; ++t) {
        if (stop) return std::nullopt;
        const auto& teacher = teachers[static_cast<std::size_t>(t)];
        if (!ahead.documents_.count(teacher)) ahead.documents_[teacher] = source.read(teacher);
        if (progress) progress(percentDone(t + 1, n));
    }
    if (stop) return std::nullopt;
    return ahead;
}

TeacherDocument ReadAhead::read(const std::string& teacher) {
    const auto it = documents_.find(teacher);
    if (it != documents_.end()) return it->second;
    TeacherDocument d;
    d.path = teacher;
    d.problem = "没有读取" + teacher + "的课务表，请重新导入。";
    return d;
}

WordDocument timetableDocument(const std::string& heading, const CellTexts& cells) {
    std::string xml = kDocumentOpen;
    xml +=
        "<w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr><w:r><w:rPr><w:b/><w:sz w:val=\"32\"/>"
        "</w:rPr><w:t xml:space=\"preserve\">" +
        xmlEscaped(heading) + "</w:t></w:r></w:p>";
    xml += "<w:p><w:r><w:t xml:space=\"preserve\">" +
           xmlEscaped("（第1行至第6行为第1至6节，第1列至第5列为星期一至星期五）") +
           "</w:t></w:r></w:p>";
    xml += "<w:tbl><w:tblPr><w:tblW w:w=\"9500\" w:type=\"dxa\"/><w:tblBorders>";
    for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"})
        xml += std::string("<w:") + side + " w:val=\"single\" w:sz=\"4\" w:space=\"0\" " +
               "w:color=\"000000\"/>";
    xml += "</w:tblBorders></w:tblPr><w:tblGrid>";
    for (int g = 0; g < kWeekdays; ++g) xml += "<w:gridCol w:w=\"1900\"/>";
    xml += "</w:tblGrid>";
    for (int r = 0; r < kPeriods; ++r) {
        xml += "<w:tr><w:trPr><w:trHeight w:val=\"900\"/></w:trPr>";
        for (int g = 0; g < kWeekdays; ++g)
            xml +=
                "<w:tc><w:tcPr><w:tcW w:w=\"1900\" w:type=\"dxa\"/><w:vAlign "
                "w:val=\"center\"/></w:tcPr><w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr>" +
                runs(cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(g)]) +
                "</w:p></w:tc>";
        xml += "</w:tr>";
    }
    xml += "</w:tbl><w:p/>";
    xml += kDocumentClose;
    return WordDocument::fromXml(xml, "", heading);
}

const CellTexts& sampleTimetable() {
    static const CellTexts sample = [] {
        CellTexts t;
        t[0] = {"科学(六年2班)", "管理2(二年3班)", "", "科学(六年2班)", "品德社会(四年3班)"};
        t[1] = {"劳动与技术(六年2班)", "科学(六年2班)", "品德社会(四年3班)", "", "管理2(二年3班)"};
        t[2] = {"", "早读", "科学(六年2班)", "劳动与技术(六年2班)", ""};
        t[3] = {"品德社会(四年3班)", "", "管理2(二年3班)", "科学(六年2班)", ""};
        t[4] = {"管理2(二年3班)", "劳动与技术(六年2班)", "", "品德社会(四年3班)", "科学(六年2班)"};
        t[5] = {"", "品德社会(四年3班)", "劳动与技术(六年2班)", "", ""};
        return t;
    }();
    return sample;
}

bool ensureSampleDocuments(const fs::path& programDir) {
    const fs::path file = inFolder(inFolder(programDir, kSampleFolder), kSampleFile);
    std::error_code ec;
    if (fs::exists(file, ec)) return true;
    fs::create_directories(file.parent_path(), ec);
    try {
        timetableDocument("课务表样表（某某老师）", sampleTimetable()).save(file);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

int exportTimetableDocuments(Store& store, const fs::path& programDir) {
    std::vector<std::string> teachers;
    for (auto& name : readTeacherNames(store)) {
        if (name.empty()) continue;
        if (!usableAsFileName(name))
            throw Failure(Failure::Kind::CannotWrite,
                          "教师姓名“" + name + "”不能用作文件名，课务表没有写出。");
        teachers.push_back(std::move(name));
    }
    std::map<std::string, CellTexts> weeks;
    for (const auto& name : teachers) weeks[name];
    for (const auto& lesson : timetable::read(store)) {
        auto it = weeks.find(lesson.teacher);
        const int w = lesson.weekday, p = lesson.period;
        if (it == weeks.end() || w < 1 || w > kWeekdays || p < 1 || p > kPeriods) continue;
        auto& cell = it->second[static_cast<std::size_t>(p - 1)][static_cast<std::size_t>(w - 1)];
        if (!cell.empty()) cell += "\n";
        cell += lesson.subject + "(" + classInCell(lesson.cls) + ")";
    }
    const fs::path folder = inFolder(programDir, kDocumentFolder);
    std::error_code ec;
    fs::create_directories(folder, ec);
    int written = 0;
    for (const auto& name : teachers) {
        timetableDocument(name + "老师课务表", weeks[name]).save(inFolder(folder, name + ".docx"));
        ++written;
    }
    return written;
}

}  // namespace daike::timetable_import
