// What a document looks like on paper, read from its .docx: paragraphs and runs with their
// formatting resolved (defaults, styles, direct formatting), tables with their grid, merged
// cells and borders, page size and margins, page breaks. The renderer (ui/document_renderer.h)
// lays this out on pages; nothing here knows about fonts on this machine.
//
// All lengths are in twips (1/20 point), as a word processor stores them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace daike {

class WordDocument;

namespace page {

struct RunStyle {
    std::string asciiFont = "Times New Roman";  // Latin letters and digits
    std::string eastAsiaFont = "宋体";          // Chinese characters
    int halfPoints = 21;                        // 五号 (10.5 pt), the word processor's default
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::uint32_t color = 0x000000;
};

struct Run {
    std::string text;  // "\n" a line break, "\t" a tab
    RunStyle style;
};

enum class Align { Left, Center, Right, Justify };

struct Paragraph {
    std::vector<Run> runs;
    RunStyle markStyle;  // the paragraph mark's: gives an empty paragraph its height
    Align align = Align::Left;
    int spaceBefore = 0, spaceAfter = 0;
    // Line spacing: Auto = `line`/240 times single; Exact / AtLeast = `line` twips.
    enum class LineRule { Auto, Exact, AtLeast } lineRule = LineRule::Auto;
    int line = 240;
    int indentLeft = 0, indentRight = 0, firstLine = 0;  // firstLine < 0: hanging
    bool pageBreakBefore = false;
};

struct Border {
    bool present = false;
    int eighthPoints = 4;  // w:sz
    std::uint32_t color = 0x000000;
    bool dashed = false;
    bool doubled = false;
};

struct Borders {
    Border top, left, bottom, right, insideH, insideV;
};

struct Block;

enum class VAlign { Top, Center, Bottom };

struct Cell {
    std::vector<Block> blocks;
    int gridSpan = 1;
    enum class Merge { None, Restart, Continue } vMerge = Merge::None;
    // Borders set on the cell itself; `has*` says which override the table's.
    Border top, left, bottom, right;
    bool hasTop = false, hasLeft = false, hasBottom = false, hasRight = false;
    VAlign vAlign = VAlign::Top;
    std::int64_t fill = -1;  // shading colour, -1 none
    int width = 0;           // tcW in twips, 0 when not given
};

struct Row {
    std::vector<Cell> cells;
    int gridBefore = 0;
    int height = 0;  // trHeight
    bool exactHeight = false;
};

struct Table {
    std::vector<int> grid;  // column widths
    std::vector<Row> rows;
    Borders borders;
    Align align = Align::Left;
    int indent = 0;
    int marginLeft = 108, marginRight = 108, marginTop = 0, marginBottom = 0;
};

struct PageBreak {};

struct Block {
    enum class Kind { Paragraph, Table, PageBreak } kind = Kind::Paragraph;
    Paragraph paragraph;
    std::shared_ptr<Table> table;  // shared: a table holds blocks in turn
};

struct PageSetup {
    int width = 11906, height = 16838;  // A4 portrait
    int marginTop = 1440, marginBottom = 1440, marginLeft = 1800, marginRight = 1800;
};

struct Document {
    PageSetup page;
    std::vector<Block> blocks;
};

}  // namespace page

page::Document pageModel(const WordDocument& doc);

}  // namespace daike
