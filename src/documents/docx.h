// A word-processor document (.docx) read and written by the program itself, so that the office
// needs no word processor to fill and print its notices or to read a timetable typed in a table.
//
// What a .docx is to us: a zip archive whose main part (word/document.xml, found through
// _rels/.rels) holds the body. Every other part of the archive is kept byte for byte on save.
//
// Counting, as a word processor reports it (all numbers from 1):
// - Tables: the tables of the body in document order, not counting tables nested inside a cell
//   (a nested table belongs to its cell: its text is part of the cell's text). Tables inside a
//   content control at body level count like any other.
// - Rows: the rows of the table, top to bottom.
// - Columns: the cells of that row, left to right. A cell merged across several columns
//   (gridSpan) counts once, so the cells after it move left. A cell merged down from the row
//   above (vMerge continuation) keeps its place in the count; reading it gives the text of the
//   cell where the merge starts, and writing it writes that cell.
//   gridCellText() counts by the table's column grid instead (a cell spanning three grid columns
//   answers for each of them), for readers that want fixed positions.
//
// Text of a cell: the text of its paragraphs (also those of nested tables), in order, joined by
// "\n"; a paragraph with no text (empty lines typed in the cell) is left out. Within a
// paragraph, runs are joined as they stand (a word split over several runs comes out whole),
// a line break (<w:br/>, <w:cr/>) is "\n", a tab "\t". Deleted revisions, field codes and
// drawings or text boxes are not part of the text. Blanks are kept as typed.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/failure.h"

namespace daike {

namespace docx_detail {
struct Package;
}
namespace page {
struct Document;
}

class WordDocument {
  public:
    // Reads the file into memory. Throws Failure.
    static WordDocument open(const std::filesystem::path& path);
    // The same from the bytes of a .docx; `name` is only used in messages.
    static WordDocument fromBytes(std::string bytes, const std::string& name);
    // A document made of the given main-part XML and the few parts every .docx needs; the
    // program writes its default templates this way. `stylesXml` may be empty.
    static WordDocument fromXml(const std::string& documentXml, const std::string& stylesXml,
                                const std::string& name);

    WordDocument(WordDocument&&) noexcept;
    WordDocument& operator=(WordDocument&&) noexcept;
    ~WordDocument();

    // Tables of the body (see the counting rules above).
    int tableCount() const;
    int rowCount(int table) const;
    // Cells of a row as a word processor counts them (a horizontally merged cell once).
    int cellCount(int table, int row) const;
    // Text of cell (row, column) of table `table`. Throws NoSuchCell when it is not there.
    std::string cellText(int table, int row, int column) const;
    // Same, counting columns by the table's grid; "" where a row has no cell at that grid column.
    std::string gridCellText(int table, int row, int gridColumn) const;
    // How many grid columns the cells of a row cover (cells before it skipped included), so that
    // a reader by grid can tell a row of the expected width.
    int gridColumnCount(int table, int row) const;
    // The same for every row of the table, in one pass.
    std::vector<int> gridColumnCounts(int table) const;

    // Replaces whatever the cell held with `text` ("\n" becomes a line break, "\t" a tab). The
    // new text takes the properties of the cell's first run (font, size, bold, underline…) and
    // the first paragraph's alignment; nothing else in the document changes.
    void setCellText(int table, int row, int column, std::string_view text);

    // Appends `copies` copies of the last page after it, each on a new page. The last page is
    // the body from the last page break before the next-to-last table (or from the start) to
    // the end. Returns the number of tables the document has then.
    int appendLastPageCopies(int copies);

    // Writes the document to `path` (a new file written beside it, then renamed over it, so a
    // failure leaves the old file as it was). Throws CannotWrite.
    void save(const std::filesystem::path& path) const;
    // The whole .docx as bytes.
    std::string toBytes() const;

    // The main part and the style part as XML text, for the page layout (documents/layout.h).
    std::string documentXml() const;
    std::string stylesXml() const;
    const std::string& name() const;

  private:
    friend page::Document pageModel(const WordDocument& doc);
    explicit WordDocument(std::unique_ptr<docx_detail::Package> package);
    std::unique_ptr<docx_detail::Package> p_;
};

// Text made safe to stand inside an XML element or attribute of a document we write.
std::string xmlEscaped(std::string_view text);

}  // namespace daike
