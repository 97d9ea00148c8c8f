// .xlsx workbooks, read with libzip and pugixml: no library of the distribution reads them from
// C++. Only what a timetable needs is read: the sheets in the workbook's order, each cell's
// text as last computed by the program that saved it (the cached value of a formula), and the
// merged cells. Styles are not read, so a date shows as its serial number.
#include <charconv>
#include <map>
#include <pugixml.hpp>

#include "documents/document_limits.h"
#include "documents/spreadsheet.h"
#include "documents/spreadsheet_detail.h"
#include "documents/wordml.h"
#include "documents/zip_parts.h"
#include "store/failure.h"

namespace daike::spreadsheet {

namespace {

using namespace detail;
using wordml::attr;
using wordml::child;
using wordml::local;
using zip_parts::Entry;
using zip_parts::findEntry;
namespace limits = document_limits;

// Only the predefined entities and character references are expanded; a document type is
// refused before parsing (its entities could expand without end).
// Merged ranges of one sheet: a timetable has a few dozen, and each cell shown looks through
// all of them.
constexpr int kMerges = 1000;

constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

bool hasDoctype(std::string_view xml) {
    for (std::size_t at = xml.find("<!"); at != std::string_view::npos;
         at = xml.find("<!", at + 2)) {
        const std::string_view rest = xml.substr(at + 2, 7);
        if (rest.size() == 7) {
            std::string upper(rest);
            for (char& c : upper)
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
            if (upper == "DOCTYPE") return true;
        }
    }
    return false;
}

void parsePart(pugi::xml_document& doc, const Entry& part, const std::string& name) {
    const std::string_view xml = part.data;
    if (hasDoctype(xml))
        throw Failure(Failure::Kind::Damaged,
                      "表格" + zip_parts::inQuotes(name) + "中的“" + part.name +
                          "”带有文档类型声明，本程序不读取这样的表格。请在电子表格软件中打开并重新"
                          "保存后再试。");
    if (limits::nestsDeeperThan(xml, limits::kDepth))
        zip_parts::tooLarge(zip_parts::kSpreadsheet, name,
                            "中的元素层层嵌套超过" + std::to_string(limits::kDepth) + "层");
    if (!limits::declaredUtf8(xml)) damaged(name);
    if (const auto bad = limits::invalidUtf8At(xml); bad != std::string_view::npos)
        throw Failure(Failure::Kind::Damaged,
                      "表格" + zip_parts::inQuotes(name) + "中有不是UTF-8编码的文字（“" +
                          part.name + "”第" + std::to_string(bad + 1) +
                          "个字节处），没有读取。请在电子表格软件中打开并重新保存后再试。");
    if (!doc.load_buffer(xml.data(), xml.size(), kParseOptions)) damaged(name);
}

// "_x000D_" and the like: characters the writer could not put into XML as they are.
std::string unescapeX(std::string text) {
    if (text.find("_x") == std::string::npos) return text;
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        unsigned code = 0;
        if (text.compare(i, 2, "_x") == 0 && i + 7 <= text.size() && text[i + 6] == '_' &&
            std::from_chars(text.data() + i + 2, text.data() + i + 6, code, 16).ptr ==
                text.data() + i + 6) {
            if (code < 0x80) {
                out += static_cast<char>(code);
            } else if (code < 0x800) {
                out += static_cast<char>(0xC0 | (code >> 6));
                out += static_cast<char>(0x80 | (code & 0x3F));
            } else if (code < 0xD800 || code > 0xDFFF) {
                out += static_cast<char>(0xE0 | (code >> 12));
                out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (code & 0x3F));
            }
            i += 7;
        } else {
            out += text[i++];
        }
    }
    return out;
}

// The text of a shared or inline string: its <t>, or the <t> of each run; the phonetic guide
// (<rPh>) is not part of it.
std::string stringItem(pugi::xml_node item) {
    std::string out;
    for (auto node : item.children()) {
        if (node.type() != pugi::node_element) continue;
        const auto n = local(node);
        if (n == "t") {
            out += node.text().get();
        } else if (n == "r") {
            for (auto t : node.children())
                if (t.type() == pugi::node_element && local(t) == "t") out += t.text().get();
        }
    }
    out = unescapeX(std::move(out));
    normalizeLineEnds(out);
    return out;
}

// Parts named in a relationships part, by id, as archive paths.
std::map<std::string, std::pair<std::string, std::string>> relationships(
    const std::vector<Entry>& entries, const std::string& part, const std::string& name) {
    std::map<std::string, std::pair<std::string, std::string>> out;  // id → (type, path)
    const auto slash = part.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
    const std::string relsName =
        folder + "_rels/" + (slash == std::string::npos ? part : part.substr(slash + 1)) + ".rels";
    const Entry* rels = findEntry(entries, relsName);
    if (!rels) return out;
    pugi::xml_document doc;
    parsePart(doc, *rels, name);
    for (auto rel : doc.document_element().children()) {
        if (rel.type() != pugi::node_element || local(rel) != "Relationship") continue;
        if (std::string_view(rel.attribute("TargetMode").value()) == "External") continue;
        std::string target = rel.attribute("Target").value();
        std::string path;
        if (!target.empty() && target[0] == '/') {
            path = target.substr(1);
        } else {
            path = folder;
            while (target.starts_with("../")) {
                target.erase(0, 3);
                if (!path.empty()) path.pop_back();
                const auto up = path.rfind('/');
                path = up == std::string::npos ? "" : path.substr(0, up + 1);
            }
            path += target;
        }
        out[rel.attribute("Id").value()] = {rel.attribute("Type").value(), path};
    }
    return out;
}

std::string workbookPart(const std::vector<Entry>& entries, const std::string& name) {
    for (const auto& [id, rel] : relationships(entries, "", name))
        if (rel.first.ends_with("/officeDocument") && findEntry(entries, rel.second))
            return rel.second;
    return "xl/workbook.xml";
}

// Row and column numbers stop counting here, far beyond any limit, so that none overflows and
// a message still gives the number as written.
constexpr std::int64_t kNumberCap = 1'000'000'000'000;

// A cell reference "AB12": its column and row from 0.
bool parseRef(std::string_view ref, std::int64_t& row, std::int64_t& column) {
    std::size_t i = 0;
    std::int64_t c = 0, r = 0;
    for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z'; ++i)
        if (c <= kNumberCap) c = c * 26 + (ref[i] - 'A' + 1);
    if (i == 0 || i == ref.size()) return false;
    for (; i < ref.size(); ++i) {
        if (ref[i] < '0' || ref[i] > '9') return false;
        if (r <= kNumberCap) r = r * 10 + (ref[i] - '0');
    }
    if (r == 0) return false;
    row = r - 1;
    column = c - 1;
    return true;
}

std::int64_t rowNumber(std::string_view text) {  // 0 when not a number
    std::int64_t r = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9') return 0;
        if (r <= kNumberCap) r = r * 10 + (ch - '0');
    }
    return r;
}

std::string cellText(pugi::xml_node c, const std::vector<std::string>& shared,
                     const std::string& name) {
    const std::string_view type = attr(c, "t");
    if (type == "inlineStr") return stringItem(child(c, "is"));
    const auto v = child(c, "v");
    if (!v) return "";
    const std::string_view value = v.text().get();
    if (type == "s") {
        std::size_t index = 0;
        if (std::from_chars(value.data(), value.data() + value.size(), index).ptr !=
                value.data() + value.size() ||
            index >= shared.size())
            damaged(name);
        return shared[index];
    }
    if (type == "b") return value == "1" ? "TRUE" : value == "0" ? "FALSE" : std::string(value);
    if (type == "str" || type == "e" || type == "d") {
        std::string out = unescapeX(std::string(value));
        normalizeLineEnds(out);
        return out;
    }
    double number = 0;
    auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (ec != std::errc() || ptr != value.data() + value.size()) return std::string(value);
    return numberText(number);
}

Sheet readSheet(const Entry& part, const std::string& sheetName,
                const std::vector<std::string>& shared, const std::string& name, Totals& totals) {
    pugi::xml_document doc;
    parsePart(doc, part, name);
    Grid grid(name, sheetName, totals);
    const auto root = doc.document_element();
    std::int64_t row = -1;
    for (auto r : child(root, "sheetData").children()) {
        if (r.type() != pugi::node_element || local(r) != "row") continue;
        const auto number = rowNumber(attr(r, "r"));
        row = number > 0 ? number - 1 : row + 1;
        grid.checkRow(row);
        std::int64_t column = -1;
        for (auto c : r.children()) {
            if (c.type() != pugi::node_element || local(c) != "c") continue;
            std::int64_t refRow = row, refColumn = column + 1;
            const std::string_view ref = attr(c, "r");
            if (!ref.empty() && !parseRef(ref, refRow, refColumn)) damaged(name);
            grid.checkRow(refRow);
            grid.checkColumn(refColumn);
            column = refColumn;
            grid.set(refRow, refColumn, cellText(c, shared, name));
        }
    }
    Sheet sheet = std::move(grid).finish();
    const auto merges = wordml::children(child(root, "mergeCells"), "mergeCell");
    if (merges.size() > static_cast<std::size_t>(kMerges))
        beyondLimit(
            whereText(name, sheetName) + "有" + std::to_string(merges.size()) + "处合并单元格",
            std::to_string(kMerges) + "处");
    for (auto m : merges) {
        const std::string_view ref = attr(m, "ref");
        const auto colon = ref.find(':');
        std::int64_t r1, c1, r2, c2;
        // A merge is only how the cells look: a broken one, or one beyond the sheet that is
        // read, is left out.
        if (colon == std::string_view::npos || !parseRef(ref.substr(0, colon), r1, c1) ||
            !parseRef(ref.substr(colon + 1), r2, c2) || r2 < r1 || c2 < c1 || r1 >= kRows ||
            c1 >= kColumns)
            continue;
        sheet.merged.push_back({static_cast<int>(r1), static_cast<int>(c1),
                                static_cast<int>(std::min<std::int64_t>(r2, kRows - 1)),
                                static_cast<int>(std::min<std::int64_t>(c2, kColumns - 1))});
    }
    return sheet;
}

}  // namespace

Workbook readXlsx(std::string_view bytes, const std::string& name) {
    refuseLargerThanAFile(bytes, name);
    const std::vector<Entry> entries = zip_parts::readZip(bytes, name, zip_parts::kSpreadsheet);
    const std::string workbookName = workbookPart(entries, name);
    const Entry* workbook = findEntry(entries, workbookName);
    if (!workbook) notASpreadsheet(name);
    pugi::xml_document doc;
    parsePart(doc, *workbook, name);
    if (local(doc.document_element()) != "workbook") notASpreadsheet(name);
    const auto rels = relationships(entries, workbookName, name);

    std::vector<std::string> shared;
    const Entry* sst = nullptr;
    for (const auto& [id, rel] : rels)
        if (rel.first.ends_with("/sharedStrings")) sst = findEntry(entries, rel.second);
    if (!sst) sst = findEntry(entries, "xl/sharedStrings.xml");
    if (sst) {
        pugi::xml_document sstDoc;
        parsePart(sstDoc, *sst, name);
        for (auto si : sstDoc.document_element().children())
            if (si.type() == pugi::node_element && local(si) == "si")
                shared.push_back(stringItem(si));
    }

    Workbook book;
    book.format = Format::Xlsx;
    Totals totals;
    const auto sheets = wordml::children(child(doc.document_element(), "sheets"), "sheet");
    if (sheets.size() > static_cast<std::size_t>(kSheets))
        beyondLimit(whereText(name, "") + "有" + std::to_string(sheets.size()) + "张工作表",
                    std::to_string(kSheets) + "张");
    for (auto s : sheets) {
        const std::string sheetName = s.attribute("name").value();
        const auto rel = rels.find(std::string(attr(s, "id")));
        if (rel == rels.end()) damaged(name);
        if (!rel->second.first.ends_with("/worksheet")) {  // a chart sheet holds no cells
            book.sheets.push_back(Sheet{sheetName, {}, {}});
            continue;
        }
        const Entry* part = findEntry(entries, rel->second.second);
        if (!part) damaged(name);
        book.sheets.push_back(readSheet(*part, sheetName, shared, name, totals));
    }
    if (book.sheets.empty()) notASpreadsheet(name);
    return book;
}

}  // namespace daike::spreadsheet
