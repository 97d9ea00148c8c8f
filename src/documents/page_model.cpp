#include "documents/page_model.h"

#include <map>

#include "documents/docx.h"
#include "documents/docx_package.h"
#include "documents/wordml.h"

namespace daike {

using namespace wordml;

namespace {

std::uint32_t colorOf(std::string_view hex, std::uint32_t fallback) {
    if (hex.size() != 6) return fallback;  // "auto" and anything odd
    std::uint32_t v = 0;
    for (char c : hex) {
        v <<= 4;
        if (c >= '0' && c <= '9')
            v |= static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            v |= static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            v |= static_cast<std::uint32_t>(c - 'A' + 10);
        else
            return fallback;
    }
    return v;
}

class Styles {
  public:
    explicit Styles(const pugi::xml_document& doc) {
        auto root = doc.document_element();
        if (!root) return;
        auto defaults = child(root, "docDefaults");
        defaultRPr_ = child(child(defaults, "rPrDefault"), "rPr");
        defaultPPr_ = child(child(defaults, "pPrDefault"), "pPr");
        for (auto s : children(root, "style")) {
            std::string id(attr(s, "styleId"));
            byId_[id] = s;
            if (attr(s, "default") == "1" || attr(s, "default") == "true") {
                std::string_view type = attr(s, "type");
                if (type == "paragraph") defaultParagraph_ = s;
                if (type == "table") defaultTable_ = s;
            }
        }
    }

    pugi::xml_node find(std::string_view id) const {
        auto it = byId_.find(std::string(id));
        return it == byId_.end() ? pugi::xml_node() : it->second;
    }
    // The style and those it is based on, the base first.
    std::vector<pugi::xml_node> chain(pugi::xml_node style) const {
        std::vector<pugi::xml_node> out;
        for (int guard = 0; style && guard < 20; ++guard) {
            out.insert(out.begin(), style);
            style = find(attr(child(style, "basedOn"), "val"));
        }
        return out;
    }
    pugi::xml_node paragraphStyle(pugi::xml_node pPr) const {
        auto id = attr(child(pPr, "pStyle"), "val");
        auto s = id.empty() ? pugi::xml_node() : find(id);
        return s ? s : defaultParagraph_;
    }
    pugi::xml_node tableStyle(pugi::xml_node tblPr) const {
        auto id = attr(child(tblPr, "tblStyle"), "val");
        auto s = id.empty() ? pugi::xml_node() : find(id);
        return s ? s : defaultTable_;
    }
    pugi::xml_node defaultRPr() const { return defaultRPr_; }
    pugi::xml_node defaultPPr() const { return defaultPPr_; }

  private:
    std::map<std::string, pugi::xml_node> byId_;
    pugi::xml_node defaultRPr_, defaultPPr_, defaultParagraph_, defaultTable_;
};

void applyRPr(page::RunStyle& s, pugi::xml_node rPr) {
    if (!rPr) return;
    if (auto f = child(rPr, "rFonts")) {
        if (auto a = attr(f, "ascii"); !a.empty()) s.asciiFont = a;
        if (auto e = attr(f, "eastAsia"); !e.empty()) s.eastAsiaFont = e;
    }
    if (auto b = child(rPr, "b")) s.bold = isOn(b);
    if (auto i = child(rPr, "i")) s.italic = isOn(i);
    if (auto u = child(rPr, "u")) s.underline = isOn(u);
    if (auto st = child(rPr, "strike")) s.strike = isOn(st);
    if (auto sz = child(rPr, "sz")) s.halfPoints = std::max(2, intAttr(sz, "val", s.halfPoints));
    if (auto c = child(rPr, "color")) s.color = colorOf(attr(c, "val"), s.color);
}

void applyPPr(page::Paragraph& p, pugi::xml_node pPr, int fontHalfPoints) {
    if (!pPr) return;
    if (auto jc = child(pPr, "jc")) {
        std::string_view v = attr(jc, "val");
        if (v == "center")
            p.align = page::Align::Center;
        else if (v == "right" || v == "end")
            p.align = page::Align::Right;
        else if (v == "both" || v == "distribute")
            p.align = page::Align::Justify;
        else
            p.align = page::Align::Left;
    }
    if (auto sp = child(pPr, "spacing")) {
        p.spaceBefore = intAttr(sp, "before", p.spaceBefore);
        p.spaceAfter = intAttr(sp, "after", p.spaceAfter);
        if (!attr(sp, "line").empty()) {
            p.line = intAttr(sp, "line", p.line);
            std::string_view rule = attr(sp, "lineRule");
            p.lineRule = rule == "exact"     ? page::Paragraph::LineRule::Exact
                         : rule == "atLeast" ? page::Paragraph::LineRule::AtLeast
                                             : page::Paragraph::LineRule::Auto;
        }
    }
    if (auto ind = child(pPr, "ind")) {
        p.indentLeft = intAttr(ind, "left", intAttr(ind, "start", p.indentLeft));
        p.indentRight = intAttr(ind, "right", intAttr(ind, "end", p.indentRight));
        if (!attr(ind, "firstLine").empty()) p.firstLine = intAttr(ind, "firstLine", 0);
        if (!attr(ind, "hanging").empty()) p.firstLine = -intAttr(ind, "hanging", 0);
        // Indents in characters (首行缩进 2 字符), as Chinese word processors write them.
        const int charTwips = fontHalfPoints * 10;
        if (!attr(ind, "firstLineChars").empty())
            p.firstLine = intAttr(ind, "firstLineChars", 0) * charTwips / 100;
        if (!attr(ind, "leftChars").empty())
            p.indentLeft = intAttr(ind, "leftChars", 0) * charTwips / 100;
    }
    if (auto pbb = child(pPr, "pageBreakBefore")) p.pageBreakBefore = isOn(pbb);
}

page::Border borderOf(pugi::xml_node b) {
    page::Border out;
    std::string_view v = attr(b, "val");
    out.present = !(v.empty() || v == "nil" || v == "none");
    out.eighthPoints = std::max(2, intAttr(b, "sz", 4));
    out.color = colorOf(attr(b, "color"), 0);
    out.dashed =
        v.find("dash") != std::string_view::npos || v.find("dot") != std::string_view::npos;
    out.doubled = v == "double";
    return out;
}

void applyBorders(page::Borders& out, pugi::xml_node tblBorders) {
    if (!tblBorders) return;
    if (auto b = child(tblBorders, "top")) out.top = borderOf(b);
    if (auto b = child(tblBorders, "left"); b || (b = child(tblBorders, "start")))
        out.left = borderOf(b);
    if (auto b = child(tblBorders, "bottom")) out.bottom = borderOf(b);
    if (auto b = child(tblBorders, "right"); b || (b = child(tblBorders, "end")))
        out.right = borderOf(b);
    if (auto b = child(tblBorders, "insideH")) out.insideH = borderOf(b);
    if (auto b = child(tblBorders, "insideV")) out.insideV = borderOf(b);
}

void applyCellMargins(page::Table& t, pugi::xml_node mar) {
    if (!mar) return;
    if (auto m = child(mar, "left"); m || (m = child(mar, "start")))
        t.marginLeft = intAttr(m, "w", t.marginLeft);
    if (auto m = child(mar, "right"); m || (m = child(mar, "end")))
        t.marginRight = intAttr(m, "w", t.marginRight);
    if (auto m = child(mar, "top")) t.marginTop = intAttr(m, "w", t.marginTop);
    if (auto m = child(mar, "bottom")) t.marginBottom = intAttr(m, "w", t.marginBottom);
}

class Reader {
  public:
    explicit Reader(const Styles& styles) : styles_(styles) {}

    void blocks(pugi::xml_node parent, std::vector<page::Block>& out) {
        for (auto c : parent.children()) {
            if (c.type() != pugi::node_element) continue;
            const std::string_view n = local(c);
            if (n == "p")
                paragraph(c, out);
            else if (n == "tbl")
                out.push_back(table(c));
            else if (n == "sdt")
                blocks(child(c, "sdtContent"), out);
            else if (n == "customXml" || n == "ins" || n == "moveTo")
                blocks(c, out);
        }
    }

  private:
    void paragraph(pugi::xml_node p, std::vector<page::Block>& out) {
        pugi::xml_node pPr = child(p, "pPr");
        page::Block block;
        page::Paragraph& para = block.paragraph;
        page::RunStyle base;
        applyRPr(base, styles_.defaultRPr());
        const auto chain = styles_.chain(styles_.paragraphStyle(pPr));
        for (auto s : chain) applyRPr(base, child(s, "rPr"));
        applyPPr(para, styles_.defaultPPr(), base.halfPoints);
        for (auto s : chain) applyPPr(para, child(s, "pPr"), base.halfPoints);
        applyPPr(para, pPr, base.halfPoints);
        para.markStyle = base;
        applyRPr(para.markStyle, child(pPr, "rPr"));
        base_ = base;
        current_ = &out;
        pending_ = std::move(block);
        content(p);
        out.push_back(std::move(pending_));
    }

    // Runs of a paragraph, looking through hyperlinks, insertions, fields and the like.
    void content(pugi::xml_node node) {
        for (auto c : node.children()) {
            if (c.type() != pugi::node_element) continue;
            const std::string_view n = local(c);
            if (n == "r")
                run(c);
            else if (n == "pPr" || n == "del" || n == "moveFrom" || n == "AlternateContent")
                continue;
            else
                content(c);
        }
    }

    void run(pugi::xml_node r) {
        page::RunStyle style = base_;
        pugi::xml_node rPr = child(r, "rPr");
        if (auto id = attr(child(rPr, "rStyle"), "val"); !id.empty())
            for (auto s : styles_.chain(styles_.find(id))) applyRPr(style, child(s, "rPr"));
        applyRPr(style, rPr);
        std::string text;
        auto flush = [&] {
            if (text.empty()) return;
            auto& runs = pending_.paragraph.runs;
            if (!runs.empty() && sameStyle(runs.back().style, style))
                runs.back().text += text;
            else
                runs.push_back({text, style});
            text.clear();
        };
        for (auto c : r.children()) {
            if (c.type() != pugi::node_element) continue;
            const std::string_view n = local(c);
            if (n == "t") {
                text += c.text().get();
            } else if (n == "tab" || n == "ptab") {
                text += '\t';
            } else if (n == "br" || n == "cr") {
                std::string_view type = attr(c, "type");
                if (type == "page") {
                    flush();
                    pageBreak();
                } else {
                    text += '\n';
                }
            } else if (n == "noBreakHyphen") {
                text += '-';
            } else if (n == "sym") {
                text += "□";
            }
        }
        flush();
    }

    // A page break inside a paragraph: what came before stays on this page, the rest of the
    // paragraph (with the same formatting) starts the next one.
    void pageBreak() {
        page::Block rest;
        rest.paragraph = pending_.paragraph;
        rest.paragraph.runs.clear();
        rest.paragraph.pageBreakBefore = false;
        rest.paragraph.spaceBefore = 0;
        pending_.paragraph.spaceAfter = 0;
        current_->push_back(std::move(pending_));
        page::Block br;
        br.kind = page::Block::Kind::PageBreak;
        current_->push_back(br);
        pending_ = std::move(rest);
    }

    static bool sameStyle(const page::RunStyle& a, const page::RunStyle& b) {
        return a.asciiFont == b.asciiFont && a.eastAsiaFont == b.eastAsiaFont &&
               a.halfPoints == b.halfPoints && a.bold == b.bold && a.italic == b.italic &&
               a.underline == b.underline && a.strike == b.strike && a.color == b.color;
    }

    page::Block table(pugi::xml_node tbl) {
        page::Block block;
        block.kind = page::Block::Kind::Table;
        block.table = std::make_shared<page::Table>();
        page::Table& t = *block.table;
        pugi::xml_node tblPr = child(tbl, "tblPr");
        for (auto s : styles_.chain(styles_.tableStyle(tblPr))) {
            auto sp = child(s, "tblPr");
            applyBorders(t.borders, child(sp, "tblBorders"));
            applyCellMargins(t, child(sp, "tblCellMar"));
        }
        applyBorders(t.borders, child(tblPr, "tblBorders"));
        applyCellMargins(t, child(tblPr, "tblCellMar"));
        if (auto jc = child(tblPr, "jc")) {
            std::string_view v = attr(jc, "val");
            t.align = v == "center"                  ? page::Align::Center
                      : (v == "right" || v == "end") ? page::Align::Right
                                                     : page::Align::Left;
        }
        t.indent = intAttr(child(tblPr, "tblInd"), "w", 0);
        for (auto g : children(child(tbl, "tblGrid"), "gridCol"))
            t.grid.push_back(intAttr(g, "w", 0));

        // Saved state: the cell's paragraphs are read with the same machinery.
        auto savedBase = base_;
        for (auto tr : tableRows(tbl)) {
            page::Row row;
            if (auto trPr = child(tr, "trPr")) {
                row.gridBefore = intAttr(child(trPr, "gridBefore"), "val", 0);
                if (auto h = child(trPr, "trHeight")) {
                    row.height = intAttr(h, "val", 0);
                    row.exactHeight = attr(h, "hRule") == "exact";
                }
            }
            for (auto tc : rowCells(tr)) {
                page::Cell cell;
                pugi::xml_node tcPr = child(tc, "tcPr");
                cell.gridSpan = std::max(1, intAttr(child(tcPr, "gridSpan"), "val", 1));
                cell.width = intAttr(child(tcPr, "tcW"), "w", 0);
                if (auto vm = child(tcPr, "vMerge")) {
                    std::string_view v = attr(vm, "val");
                    cell.vMerge =
                        v == "restart" ? page::Cell::Merge::Restart : page::Cell::Merge::Continue;
                }
                if (auto va = child(tcPr, "vAlign")) {
                    std::string_view v = attr(va, "val");
                    cell.vAlign = v == "center"   ? page::VAlign::Center
                                  : v == "bottom" ? page::VAlign::Bottom
                                                  : page::VAlign::Top;
                }
                if (auto shd = child(tcPr, "shd")) {
                    std::string_view fill = attr(shd, "fill");
                    if (fill.size() == 6) cell.fill = colorOf(fill, 0xffffff);
                }
                if (auto b = child(tcPr, "tcBorders")) {
                    if (auto x = child(b, "top")) cell.top = borderOf(x), cell.hasTop = true;
                    if (auto x = child(b, "bottom"))
                        cell.bottom = borderOf(x), cell.hasBottom = true;
                    if (auto x = child(b, "left"); x || (x = child(b, "start")))
                        cell.left = borderOf(x), cell.hasLeft = true;
                    if (auto x = child(b, "right"); x || (x = child(b, "end")))
                        cell.right = borderOf(x), cell.hasRight = true;
                }
                Reader inner(styles_);
                inner.blocks(tc, cell.blocks);
                row.cells.push_back(std::move(cell));
            }
            t.rows.push_back(std::move(row));
        }
        base_ = savedBase;
        // No grid (some generators leave it out): the first row's cell widths give it.
        if (t.grid.empty() && !t.rows.empty())
            for (const auto& c : t.rows.front().cells)
                for (int k = 0; k < c.gridSpan; ++k) t.grid.push_back(c.width / c.gridSpan);
        return block;
    }

    const Styles& styles_;
    page::RunStyle base_;
    page::Block pending_;
    std::vector<page::Block>* current_ = nullptr;
};

}  // namespace

page::Document pageModel(const WordDocument& doc) {
    const auto& pkg = *doc.p_;
    Styles styles(pkg.styles);
    page::Document out;
    auto body = docx_detail::body(pkg);
    Reader(styles).blocks(body, out.blocks);
    // The last section's page: size and margins.
    pugi::xml_node sect = child(body, "sectPr");
    if (auto sz = child(sect, "pgSz")) {
        out.page.width = intAttr(sz, "w", out.page.width);
        out.page.height = intAttr(sz, "h", out.page.height);
    }
    if (auto m = child(sect, "pgMar")) {
        out.page.marginTop = std::abs(intAttr(m, "top", out.page.marginTop));
        out.page.marginBottom = std::abs(intAttr(m, "bottom", out.page.marginBottom));
        out.page.marginLeft = intAttr(m, "left", out.page.marginLeft);
        out.page.marginRight = intAttr(m, "right", out.page.marginRight);
    }
    return out;
}

}  // namespace daike
