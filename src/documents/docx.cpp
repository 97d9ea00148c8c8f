#include "documents/docx.h"

#include <zip.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "documents/document_limits.h"
#include "documents/docx_package.h"
#include "documents/wordml.h"
#include "documents/zip_parts.h"
#include "store/paths.h"
#include "store/safe_file.h"

namespace daike {

using docx_detail::Entry;
using docx_detail::Package;
using namespace wordml;
namespace limits = document_limits;

namespace {

[[noreturn]] void fail(Failure::Kind kind, const std::string& message) {
    throw Failure(kind, message);
}

using zip_parts::findEntry;
using zip_parts::inQuotes;

[[noreturn]] void notADocument(const std::string& name) {
    zip_parts::notA(zip_parts::kWordDocument, name);
}

[[noreturn]] void damaged(const std::string& name) {
    zip_parts::damaged(zip_parts::kWordDocument, name);
}

[[noreturn]] void tooLarge(const std::string& name, const std::string& what) {
    zip_parts::tooLarge(zip_parts::kWordDocument, name, what);
}

// The main part named by the package relationships, as the format asks; word/document.xml
// when the relationships do not say.
std::string mainPartName(const std::vector<Entry>& entries) {
    if (const Entry* rels = findEntry(entries, "_rels/.rels")) {
        pugi::xml_document doc;
        if (!limits::nestsDeeperThan(rels->data, limits::kDepth) &&
            doc.load_buffer(rels->data.data(), rels->data.size())) {
            for (auto rel : doc.document_element().children()) {
                std::string type = rel.attribute("Type").value();
                if (type.size() >= 15 && type.ends_with("/officeDocument")) {
                    std::string target = rel.attribute("Target").value();
                    if (!target.empty() && target[0] == '/') target.erase(0, 1);
                    if (findEntry(entries, target)) return target;
                }
            }
        }
    }
    return "word/document.xml";
}

std::string serialize(const pugi::xml_document& doc) {
    std::ostringstream out;
    doc.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

// ---- text of cells ------------------------------------------------------------------------

// Walks a paragraph's content, skipping what a word processor does not count as its text.
void paragraphText(pugi::xml_node node, std::string& out) {
    for (auto child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        const std::string_view n = local(child);
        if (n == "t") {
            out += child.text().get();
        } else if (n == "tab" || n == "ptab") {
            if (local(child.parent()) == "r") out += '\t';
        } else if (n == "br" || n == "cr") {
            if (local(child.parent()) == "r") {
                // A page or column break is not a line of text.
                std::string_view type = attr(child, "type");
                if (type.empty() || type == "textWrapping") out += '\n';
            }
        } else if (n == "noBreakHyphen") {
            out += '-';
        } else if (n == "del" || n == "moveFrom" || n == "instrText" || n == "drawing" ||
                   n == "pict" || n == "AlternateContent" || n == "pPr" || n == "rPr" ||
                   n == "object") {
            continue;
        } else {
            paragraphText(child, out);
        }
    }
}

void collectParagraphs(pugi::xml_node node, std::vector<std::string>& lines) {
    for (auto child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        const std::string_view n = local(child);
        if (n == "p") {
            std::string line;
            paragraphText(child, line);
            if (!line.empty()) lines.push_back(std::move(line));
        } else if (n == "tcPr" || n == "tblPr" || n == "trPr" || n == "tblGrid" ||
                   n == "AlternateContent") {
            continue;
        } else {
            collectParagraphs(child, lines);
        }
    }
}

std::string cellTextOf(pugi::xml_node tc) {
    std::vector<std::string> lines;
    collectParagraphs(tc, lines);
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) out += '\n';
        out += lines[i];
    }
    return out;
}

void findTables(pugi::xml_node node, std::vector<pugi::xml_node>& out) {
    for (auto child : node.children()) {
        if (child.type() != pugi::node_element) continue;
        const std::string_view n = local(child);
        if (n == "tbl") {
            out.push_back(child);  // nested tables are not counted: do not descend
        } else if (n == "sdt" || n == "sdtContent" || n == "customXml" || n == "ins" ||
                   n == "moveTo") {
            findTables(child, out);
        }
    }
}

}  // namespace

namespace docx_detail {

pugi::xml_node body(const Package& p) {
    return child(p.document.document_element(), "body");
}

void Package::indexTables() {
    tables.clear();
    findTables(body(*this), tables);
}

}  // namespace docx_detail

// ---- locating cells -----------------------------------------------------------------------

namespace {

struct CellRef {
    pugi::xml_node tc;
    int gridStart = 0;  // 0-based grid column where the cell begins
};

// Grid columns a cell covers; a span beyond what a word processor allows counts as that many.
int spanOf(pugi::xml_node tc) {
    return std::clamp(intAttr(child(child(tc, "tcPr"), "gridSpan"), "val", 1), 1,
                      document_limits::kGridColumns);
}

std::vector<CellRef> cellsOf(pugi::xml_node tr) {
    std::vector<CellRef> cells;
    int grid = 0;
    if (auto pr = child(tr, "trPr"))
        grid = std::clamp(intAttr(child(pr, "gridBefore"), "val", 0), 0,
                          document_limits::kGridColumns);
    for (auto tc : rowCells(tr)) {
        cells.push_back({tc, grid});
        grid += spanOf(tc);
    }
    return cells;
}

bool continuesMerge(pugi::xml_node tc) {
    auto vm = child(child(tc, "tcPr"), "vMerge");
    if (!vm) return false;
    std::string_view v = attr(vm, "val");
    return v.empty() || v == "continue";
}

// For a vMerge continuation, the cell above where the merge starts.
pugi::xml_node mergeStart(const std::vector<pugi::xml_node>& rows, int rowIndex, CellRef cell) {
    pugi::xml_node tc = cell.tc;
    for (int r = rowIndex - 1; r >= 0 && continuesMerge(tc); --r) {
        bool found = false;
        for (const auto& above : cellsOf(rows[r]))
            if (above.gridStart == cell.gridStart) {
                tc = above.tc;
                found = true;
                break;
            }
        if (!found) break;
    }
    return tc;
}

}  // namespace

WordDocument::WordDocument(std::unique_ptr<Package> package) : p_(std::move(package)) {}
WordDocument::WordDocument(WordDocument&&) noexcept = default;
WordDocument& WordDocument::operator=(WordDocument&&) noexcept = default;
WordDocument::~WordDocument() = default;

WordDocument WordDocument::open(const std::filesystem::path& path) {
    const std::string name = fileNameText(path);
    return fromBytes(zip_parts::readFile(path, name, zip_parts::kWordDocument, limits::kFileBytes),
                     name);
}

namespace {

// A compound file of the old Office formats: an encrypted .docx is kept in one, and so is a
// .doc that was given the name of a .docx.
void refuseCompoundFile(const std::string& bytes, const std::string& name) {
    static const std::string magic("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (bytes.compare(0, magic.size(), magic) != 0) return;
    static const std::string encrypted = [] {
        std::string out;
        for (char c : std::string("EncryptedPackage")) out += {c, '\0'};
        return out;
    }();
    if (bytes.find(encrypted) != std::string::npos)
        fail(Failure::Kind::Encrypted, "文档" + inQuotes(name) +
                                           "设置了密码（已加密），无法读取。请在文字处理软件中取消"
                                           "密码后另存为.docx格式，再试一次。");
    fail(Failure::Kind::NotADocument, "文件" + inQuotes(name) +
                                          "是旧版Word格式（.doc），只是名字为."
                                          "docx。请在文字处理软件中把它另存为.docx格式后再试。");
}

// Parses one XML part after checking what the parser and our walks over the tree cannot be
// trusted with: nesting without end and bytes that are not UTF-8.
bool parsePart(pugi::xml_document& doc, std::string_view xml, const std::string& name,
               unsigned options) {
    if (limits::nestsDeeperThan(xml, limits::kDepth))
        tooLarge(name, "中的元素层层嵌套超过" + std::to_string(limits::kDepth) + "层");
    if (limits::declaredUtf8(xml)) {
        const auto bad = limits::invalidUtf8At(xml);
        if (bad != std::string_view::npos)
            fail(Failure::Kind::Damaged,
                 "文档" + inQuotes(name) + "中有不是UTF-8编码的文字（第" + std::to_string(bad + 1) +
                     "个字节处），没有读取。请在文字处理软件中打开并重新保存后再试。");
    }
    return static_cast<bool>(doc.load_buffer(xml.data(), xml.size(), options));
}

}  // namespace

WordDocument WordDocument::fromBytes(std::string bytes, const std::string& name) {
    if (bytes.size() > limits::kFileBytes)
        tooLarge(name, "有" + limits::sizeText(bytes.size()) + "（最多" +
                           limits::sizeText(limits::kFileBytes) + "）");
    refuseCompoundFile(bytes, name);
    auto p = std::make_unique<Package>();
    p->name = name;
    p->entries = zip_parts::readZip(bytes, name, zip_parts::kWordDocument);
    bytes = std::string();  // the parts are out: the archive's memory is no longer needed
    p->mainPart = mainPartName(p->entries);
    const Entry* main = findEntry(p->entries, p->mainPart);
    if (!main) notADocument(name);
    if (!parsePart(p->document, main->data, name,
                   pugi::parse_default | pugi::parse_ws_pcdata_single) ||
        local(p->document.document_element()) != "document" || !docx_detail::body(*p))
        damaged(name);
    if (const Entry* styles = findEntry(p->entries, "word/styles.xml"))
        if (!parsePart(p->styles, styles->data, name, pugi::parse_default)) p->styles.reset();
    p->indexTables();
    return WordDocument(std::move(p));
}

WordDocument WordDocument::fromXml(const std::string& documentXml, const std::string& stylesXml,
                                   const std::string& name) {
    std::vector<Entry> entries;
    std::string types =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
        R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
        R"(<Default Extension="xml" ContentType="application/xml"/>)"
        R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)";
    if (!stylesXml.empty())
        types +=
            R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)";
    types += "</Types>";
    entries.push_back({"[Content_Types].xml", types});
    entries.push_back(
        {"_rels/.rels",
         R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
         R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
         R"(</Relationships>)"});
    std::string docRels =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)";
    if (!stylesXml.empty())
        docRels +=
            R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)";
    docRels += "</Relationships>";
    entries.push_back({"word/_rels/document.xml.rels", docRels});
    entries.push_back({"word/document.xml", documentXml});
    if (!stylesXml.empty()) entries.push_back({"word/styles.xml", stylesXml});

    auto p = std::make_unique<Package>();
    p->name = name;
    p->entries = std::move(entries);
    p->mainPart = "word/document.xml";
    if (!parsePart(p->document, documentXml, name,
                   pugi::parse_default | pugi::parse_ws_pcdata_single) ||
        !docx_detail::body(*p))
        damaged(name);
    if (!stylesXml.empty() && !parsePart(p->styles, stylesXml, name, pugi::parse_default))
        p->styles.reset();
    p->indexTables();
    return WordDocument(std::move(p));
}

const std::string& WordDocument::name() const {
    return p_->name;
}

int WordDocument::tableCount() const {
    return static_cast<int>(p_->tables.size());
}

namespace {

[[noreturn]] void noSuchCell(const std::string& name, const std::string& what) {
    fail(Failure::Kind::NoSuchCell,
         "文档" + inQuotes(name) + "中" + what + "。请检查文档中的表格是否被删除或改动。");
}

pugi::xml_node tableAt(const Package& p, int table) {
    if (table < 1 || table > static_cast<int>(p.tables.size()))
        noSuchCell(p.name, "没有第" + std::to_string(table) + "个表格（只有" +
                               std::to_string(p.tables.size()) + "个）");
    return p.tables[static_cast<std::size_t>(table - 1)];
}

std::vector<pugi::xml_node> rowsAt(const Package& p, int table) {
    return tableRows(tableAt(p, table));
}

pugi::xml_node rowAt(const Package& p, const std::vector<pugi::xml_node>& rows, int table,
                     int row) {
    if (row < 1 || row > static_cast<int>(rows.size()))
        noSuchCell(p.name,
                   "第" + std::to_string(table) + "个表格没有第" + std::to_string(row) + "行");
    return rows[static_cast<std::size_t>(row - 1)];
}

pugi::xml_node cellAt(const Package& p, int table, int row, int column) {
    auto rows = rowsAt(p, table);
    auto tr = rowAt(p, rows, table, row);
    auto cells = cellsOf(tr);
    if (column < 1 || column > static_cast<int>(cells.size()))
        noSuchCell(p.name, "第" + std::to_string(table) + "个表格的第" + std::to_string(row) +
                               "行没有第" + std::to_string(column) + "列");
    return mergeStart(rows, row - 1, cells[static_cast<std::size_t>(column - 1)]);
}

}  // namespace

int WordDocument::rowCount(int table) const {
    return static_cast<int>(rowsAt(*p_, table).size());
}

int WordDocument::cellCount(int table, int row) const {
    auto rows = rowsAt(*p_, table);
    return static_cast<int>(cellsOf(rowAt(*p_, rows, table, row)).size());
}

std::string WordDocument::cellText(int table, int row, int column) const {
    return cellTextOf(cellAt(*p_, table, row, column));
}

std::string WordDocument::gridCellText(int table, int row, int gridColumn) const {
    auto rows = rowsAt(*p_, table);
    auto tr = rowAt(*p_, rows, table, row);
    const int g = gridColumn - 1;
    for (const auto& cell : cellsOf(tr)) {
        const int span = spanOf(cell.tc);
        if (g >= cell.gridStart && g < cell.gridStart + span)
            return cellTextOf(mergeStart(rows, row - 1, cell));
    }
    return "";
}

int WordDocument::gridColumnCount(int table, int row) const {
    auto rows = rowsAt(*p_, table);
    auto cells = cellsOf(rowAt(*p_, rows, table, row));
    if (cells.empty()) return 0;
    const auto& last = cells.back();
    return last.gridStart + spanOf(last.tc);
}

std::vector<int> WordDocument::gridColumnCounts(int table) const {
    std::vector<int> out;
    for (auto tr : rowsAt(*p_, table)) {
        const auto cells = cellsOf(tr);
        out.push_back(cells.empty() ? 0 : cells.back().gridStart + spanOf(cells.back().tc));
    }
    return out;
}

void WordDocument::setCellText(int table, int row, int column, std::string_view text) {
    pugi::xml_node tc = cellAt(*p_, table, row, column);
    const std::string w = prefixOf(p_->document.document_element());

    // The formatting the office gave the cell: the first paragraph's properties and the first
    // run's (or, in an empty cell, the paragraph mark's, which is what typing there would use).
    pugi::xml_document keep;
    pugi::xml_node firstP = descendant(tc, "p");
    pugi::xml_node pPr = child(firstP, "pPr");
    pugi::xml_node rPr;
    for (auto r : descendants(firstP ? tc : pugi::xml_node(), "r")) {
        if (auto pr = child(r, "rPr")) {
            rPr = pr;
            break;
        }
        if (child(r, "t")) break;  // first run with text has no properties of its own
    }
    if (!rPr && pPr) rPr = child(pPr, "rPr");
    pugi::xml_node keptP = pPr ? keep.append_copy(pPr) : pugi::xml_node();
    pugi::xml_node keptR = rPr ? keep.append_copy(rPr) : pugi::xml_node();
    if (keptR) {
        keptR.set_name((w + "rPr").c_str());
        // Revision marks of the old text do not belong to the new one.
        while (auto del = child(keptR, "rPrChange")) keptR.remove_child(del);
    }

    // Remove everything but the cell's own properties.
    for (auto c = tc.first_child(); c;) {
        auto next = c.next_sibling();
        if (local(c) != "tcPr") tc.remove_child(c);
        c = next;
    }
    auto p = tc.append_child((w + "p").c_str());
    if (keptP) p.append_copy(keptP);
    auto r = p.append_child((w + "r").c_str());
    if (keptR) r.append_copy(keptR);
    std::string piece;
    auto flush = [&] {
        if (piece.empty()) return;
        auto t = r.append_child((w + "t").c_str());
        t.append_attribute("xml:space") = "preserve";
        t.text().set(piece.c_str());
        piece.clear();
    };
    for (char ch : text) {
        if (ch == '\n') {
            flush();
            r.append_child((w + "br").c_str());
        } else if (ch == '\t') {
            flush();
            r.append_child((w + "tab").c_str());
        } else if (ch != '\r') {
            piece += ch;
        }
    }
    flush();
}

namespace {

bool breaksPageAfter(pugi::xml_node p) {
    if (local(p) != "p") return false;
    for (auto br : descendants(p, "br"))
        if (attr(br, "type") == "page") return true;
    return static_cast<bool>(child(child(p, "pPr"), "sectPr"));  // a section ends here
}

bool breaksPageBefore(pugi::xml_node p) {
    if (local(p) != "p") return false;
    auto pbb = child(child(p, "pPr"), "pageBreakBefore");
    if (!pbb) return false;
    std::string_view v = attr(pbb, "val");
    return v.empty() || v == "1" || v == "true" || v == "on";
}

// The body child that holds a table (the table itself, or a content control around it).
pugi::xml_node holderOf(pugi::xml_node body, pugi::xml_node node) {
    while (node && node.parent() != body) node = node.parent();
    return node;
}

void stripIds(pugi::xml_node node) {
    node.remove_attribute("w14:paraId");
    node.remove_attribute("w14:textId");
    for (auto c = node.first_child(); c;) {
        auto next = c.next_sibling();
        const std::string_view n = local(c);
        if (n == "bookmarkStart" || n == "bookmarkEnd") {
            node.remove_child(c);  // a bookmark's name may stand only once
        } else if (c.type() == pugi::node_element) {
            stripIds(c);
        }
        c = next;
    }
}

}  // namespace

int WordDocument::appendLastPageCopies(int copies) {
    if (copies <= 0) return tableCount();
    pugi::xml_node b = docx_detail::body(*p_);
    const std::string w = prefixOf(p_->document.document_element());
    std::vector<pugi::xml_node> children;
    for (auto c : b.children())
        if (c.type() == pugi::node_element) children.push_back(c);
    // The section properties at the end stay last.
    pugi::xml_node sectPr;
    if (!children.empty() && local(children.back()) == "sectPr") {
        sectPr = children.back();
        children.pop_back();
    }
    if (children.empty()) return tableCount();

    std::size_t start = 0;
    if (tableCount() >= 1) {
        const int anchorTable = std::max(1, tableCount() - 1);
        pugi::xml_node anchor = holderOf(b, p_->tables[static_cast<std::size_t>(anchorTable - 1)]);
        std::size_t anchorIndex = 0;
        while (anchorIndex < children.size() && children[anchorIndex] != anchor) ++anchorIndex;
        for (std::size_t i = anchorIndex + 1; i-- > 0;) {
            if (i < anchorIndex && breaksPageAfter(children[i])) {
                start = i + 1;
                break;
            }
            if (breaksPageBefore(children[i])) {
                start = i;
                break;
            }
        }
    }
    std::vector<pugi::xml_node> page(children.begin() + static_cast<std::ptrdiff_t>(start),
                                     children.end());

    for (int k = 0; k < copies; ++k) {
        std::vector<pugi::xml_node> added;
        for (auto node : page) {
            auto copy = sectPr ? b.insert_copy_before(node, sectPr) : b.append_copy(node);
            stripIds(copy);
            added.push_back(copy);
        }
        // Each copy begins on a new page: unless the page already starts with a break, or ends
        // with one (then a second break would leave a blank page between).
        if (!breaksPageBefore(page.front()) && !breaksPageAfter(page.back())) {
            pugi::xml_node first = added.front();
            if (local(first) != "p") {
                // A page that starts with a table: a tiny empty line carries the break.
                first = b.insert_child_before((w + "p").c_str(), added.front());
                auto ppr = first.append_child((w + "pPr").c_str());
                auto sp = ppr.append_child((w + "spacing").c_str());
                sp.append_attribute((w + "before").c_str()) = "0";
                sp.append_attribute((w + "after").c_str()) = "0";
                sp.append_attribute((w + "line").c_str()) = "20";
                sp.append_attribute((w + "lineRule").c_str()) = "exact";
            }
            pugi::xml_node ppr = child(first, "pPr");
            if (!ppr) ppr = first.prepend_child((w + "pPr").c_str());
            // pageBreakBefore follows pStyle, keepNext and keepLines in the schema's order.
            pugi::xml_node after;
            for (auto c : ppr.children()) {
                const std::string_view n = local(c);
                if (n == "pStyle" || n == "keepNext" || n == "keepLines") after = c;
            }
            if (after)
                ppr.insert_child_after((w + "pageBreakBefore").c_str(), after);
            else
                ppr.prepend_child((w + "pageBreakBefore").c_str());
        }
    }
    p_->indexTables();
    return tableCount();
}

std::string WordDocument::documentXml() const {
    return serialize(p_->document);
}

std::string WordDocument::stylesXml() const {
    return p_->styles.document_element() ? serialize(p_->styles) : std::string();
}

std::string WordDocument::toBytes() const {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &error);
    auto cannot = [&](const char* why) {
        zip_error_fini(&error);
        fail(Failure::Kind::CannotWrite, "无法生成文档" + inQuotes(p_->name) + "（" + why + "）。");
    };
    if (!out) cannot("内存不足");
    zip_source_keep(out);
    zip_t* archive = zip_open_from_source(out, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(out);
        cannot("压缩失败");
    }
    const std::string main = serialize(p_->document);
    bool ok = true;
    for (const auto& e : p_->entries) {
        const std::string& data = e.name == p_->mainPart ? main : e.data;
        zip_source_t* src = zip_source_buffer(archive, data.data(), data.size(), 0);
        if (!src || zip_file_add(archive, e.name.c_str(), src, ZIP_FL_ENC_UTF_8) < 0) {
            if (src) zip_source_free(src);
            ok = false;
            break;
        }
    }
    if (!ok || zip_close(archive) < 0) {
        if (ok) zip_discard(archive);
        zip_source_free(out);
        cannot("压缩失败");
    }
    std::string bytes;
    if (zip_source_open(out) == 0) {
        zip_stat_t st;
        zip_source_stat(out, &st);
        bytes.resize(static_cast<std::size_t>(st.size));
        zip_int64_t n = zip_source_read(out, bytes.data(), bytes.size());
        zip_source_close(out);
        if (n < 0 || static_cast<std::size_t>(n) != bytes.size()) ok = false;
    } else {
        ok = false;
    }
    zip_source_free(out);
    zip_error_fini(&error);
    if (!ok) cannot("压缩失败");
    return bytes;
}

void WordDocument::save(const std::filesystem::path& path) const {
    const std::string bytes = toBytes();
    // Beside the target and renamed when whole: a failure leaves an older document as it was.
    safefile::write(path, [&](const std::filesystem::path& temp) {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) fail(Failure::Kind::CannotWrite, safefile::cannotWriteText(path, errno));
    });
}

std::string xmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

}  // namespace daike
