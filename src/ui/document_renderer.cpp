#include "ui/document_renderer.h"

#include <QFile>
#include <QFontDatabase>
#include <QHash>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <filesystem>
#include <memory>

#include "store/failure.h"
#include "store/safe_file.h"
#include "ui/path_text.h"

namespace daike {

namespace {

const QString kSerifSC = QStringLiteral("Noto Serif CJK SC");
const QString kSansSC = QStringLiteral("Noto Sans CJK SC");

bool installed(const QString& family) {
    static QHash<QString, bool> known;
    auto it = known.find(family);
    if (it != known.end()) return *it;
    const bool has = QFontDatabase::families().contains(family, Qt::CaseInsensitive);
    known.insert(family, has);
    return has;
}

}  // namespace

QString screenFamily(const std::string& documentFamily, bool eastAsia) {
    const QString name = QString::fromStdString(documentFamily);
    if (!name.isEmpty() && installed(name)) return name;
    static const QStringList sans = {
        "黑体",    "SimHei", "微软雅黑", "Microsoft YaHei", "等线",  "DengXian", "华文黑体",
        "STHeiti", "幼圆",   "YouYuan",  "PingFang SC",     "Arial", "Calibri",  "Helvetica"};
    for (const auto& s : sans)
        if (name.compare(s, Qt::CaseInsensitive) == 0) return kSansSC;
    // 宋体, 仿宋, 楷体 and everything unknown: a serif face, as printed school forms use.
    (void)eastAsia;
    return kSerifSC;
}

namespace {

constexpr double kTwipsPerPoint = 20.0;

QFont fontOf(const page::RunStyle& s) {
    QFont f;
    // Latin letters and digits in the Latin face, Chinese in the Chinese one: the first family
    // that has a character draws it, and a Simplified Chinese face always comes before any
    // other CJK face the system might pick.
    const QString latin = screenFamily(s.asciiFont, false);
    const QString chinese = screenFamily(s.eastAsiaFont, true);
    QStringList families;
    if (installed(latin)) families << latin;
    families << chinese << kSerifSC << kSansSC;
    families.removeDuplicates();
    f.setFamilies(families);
    f.setPixelSize(std::max(1, s.halfPoints * 10));  // twips: 1 pt = 20
    f.setBold(s.bold);
    f.setItalic(s.italic);
    f.setUnderline(s.underline);
    f.setStrikeOut(s.strike);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

QColor colorOf(std::uint32_t rgb) {
    return QColor((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

// One paragraph laid out at a width, lines positioned from its own top.
struct LaidParagraph {
    std::unique_ptr<QTextLayout> layout;
    struct Line {
        int index;
        double top;     // from the paragraph's top (after the space before)
        double height;  // the line's box
        double offset;  // where the text sits in the box
    };
    std::vector<Line> lines;
    double spaceBefore = 0, spaceAfter = 0;
    double textHeight = 0;
    bool pageBreakBefore = false;
    double height() const { return spaceBefore + textHeight + spaceAfter; }
};

LaidParagraph layParagraph(const page::Paragraph& p, double width) {
    LaidParagraph out;
    out.spaceBefore = p.spaceBefore;
    out.spaceAfter = p.spaceAfter;
    out.pageBreakBefore = p.pageBreakBefore;
    QString text;
    QList<QTextLayout::FormatRange> formats;
    for (const auto& r : p.runs) {
        QString piece = QString::fromStdString(r.text);
        piece.replace(QLatin1Char('\n'), QChar::LineSeparator);
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(text.size());
        range.length = static_cast<int>(piece.size());
        range.format.setFont(fontOf(r.style), QTextCharFormat::FontPropertiesAll);
        range.format.setForeground(colorOf(r.style.color));
        formats.push_back(range);
        text += piece;
    }
    out.layout = std::make_unique<QTextLayout>(text, fontOf(p.markStyle));
    out.layout->setFormats(formats);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(420);  // the word processor's default: two characters
    switch (p.align) {
        case page::Align::Left:
            option.setAlignment(Qt::AlignLeft);
            break;
        case page::Align::Center:
            option.setAlignment(Qt::AlignHCenter);
            break;
        case page::Align::Right:
            option.setAlignment(Qt::AlignRight);
            break;
        case page::Align::Justify:
            option.setAlignment(Qt::AlignJustify);
            break;
    }
    option.setUseDesignMetrics(true);
    out.layout->setTextOption(option);
    out.layout->setCacheEnabled(true);

    double y = 0;
    out.layout->beginLayout();
    for (int i = 0;; ++i) {
        QTextLine line = out.layout->createLine();
        if (!line.isValid()) break;
        const double indent = p.indentLeft + (i == 0 ? p.firstLine : 0);
        line.setLineWidth(std::max(1.0, width - indent - p.indentRight));
        line.setPosition(QPointF(indent, 0));
        const double natural = line.ascent() + line.descent();
        double box = natural;
        switch (p.lineRule) {
            case page::Paragraph::LineRule::Auto:
                box = natural * p.line / 240.0;
                break;
            case page::Paragraph::LineRule::Exact:
                box = p.line;
                break;
            case page::Paragraph::LineRule::AtLeast:
                box = std::max(natural, double(p.line));
                break;
        }
        // Extra height of a multiple or "at least" spacing goes above the text, as in the
        // word processor; an exact height cuts below.
        const double offset = p.lineRule == page::Paragraph::LineRule::Exact
                                  ? std::min(0.0, box - natural) / 2
                                  : box - natural;
        out.lines.push_back({i, y, box, offset});
        y += box;
    }
    out.layout->endLayout();
    out.textHeight = y;
    return out;
}

void drawLine(QPainter& painter, const LaidParagraph& p, const LaidParagraph::Line& l, double x,
              double top) {
    QTextLine line = p.layout->lineAt(l.index);
    // draw() puts the line at pos + its own position; its own y is 0.
    line.draw(&painter, QPointF(x, top + l.offset));
}

// ---- tables ------------------------------------------------------------------------------

struct LaidTable;
struct LaidBlock {
    std::unique_ptr<LaidParagraph> paragraph;
    std::unique_ptr<LaidTable> table;
    double height() const;
};

struct LaidCell {
    const page::Cell* cell = nullptr;
    int gridStart = 0;
    double x = 0, width = 0;
    std::vector<LaidBlock> blocks;
    double contentHeight = 0;
    int rowSpan = 1;  // rows covered by a vertical merge starting here
};

struct LaidRow {
    std::vector<LaidCell> cells;
    double height = 0;
};

struct LaidTable {
    const page::Table* table = nullptr;
    std::vector<double> colX;  // grid edges, from the table's left
    double left = 0;           // table's left from the column's left
    std::vector<LaidRow> rows;
    double height() const {
        double h = 0;
        for (const auto& r : rows) h += r.height;
        return h;
    }
};

double LaidBlock::height() const {
    return paragraph ? paragraph->height() : table->height();
}

std::unique_ptr<LaidTable> layTable(const page::Table& t, double width);

std::vector<LaidBlock> layBlocks(const std::vector<page::Block>& blocks, double width) {
    std::vector<LaidBlock> out;
    for (const auto& b : blocks) {
        LaidBlock lb;
        if (b.kind == page::Block::Kind::Paragraph)
            lb.paragraph = std::make_unique<LaidParagraph>(layParagraph(b.paragraph, width));
        else if (b.kind == page::Block::Kind::Table)
            lb.table = layTable(*b.table, width);
        else
            continue;  // a page break inside a cell does not break the page
        out.push_back(std::move(lb));
    }
    return out;
}

std::unique_ptr<LaidTable> layTable(const page::Table& t, double width) {
    auto out = std::make_unique<LaidTable>();
    out->table = &t;
    out->colX.push_back(0);
    for (int w : t.grid) out->colX.push_back(out->colX.back() + w);
    const double total = out->colX.back();
    switch (t.align) {
        case page::Align::Center:
            out->left = (width - total) / 2;
            break;
        case page::Align::Right:
            out->left = width - total;
            break;
        default:
            out->left = t.indent;
            break;
    }
    auto edge = [&](int g) {
        if (g < static_cast<int>(out->colX.size())) return out->colX[static_cast<std::size_t>(g)];
        // More cells than grid columns: make room at the old width of a column.
        return out->colX.back() + 1000.0 * (g - static_cast<int>(out->colX.size()) + 1);
    };
    for (const auto& row : t.rows) {
        LaidRow lr;
        int g = row.gridBefore;
        for (const auto& cell : row.cells) {
            LaidCell lc;
            lc.cell = &cell;
            lc.gridStart = g;
            lc.x = edge(g);
            lc.width = edge(g + cell.gridSpan) - lc.x;
            g += cell.gridSpan;
            if (cell.vMerge != page::Cell::Merge::Continue) {
                lc.blocks =
                    layBlocks(cell.blocks, std::max(1.0, lc.width - t.marginLeft - t.marginRight));
                for (const auto& b : lc.blocks) lc.contentHeight += b.height();
                lc.contentHeight += t.marginTop + t.marginBottom;
            }
            lr.cells.push_back(std::move(lc));
        }
        out->rows.push_back(std::move(lr));
    }
    // Rows: as tall as their tallest cell (a merged cell counts in its last row).
    for (std::size_t r = 0; r < out->rows.size(); ++r) {
        auto& lr = out->rows[r];
        for (auto& c : lr.cells) {
            if (c.cell->vMerge != page::Cell::Merge::Restart) continue;
            for (std::size_t below = r + 1; below < out->rows.size(); ++below) {
                bool continues = false;
                for (const auto& bc : out->rows[below].cells)
                    if (bc.gridStart == c.gridStart &&
                        bc.cell->vMerge == page::Cell::Merge::Continue)
                        continues = true;
                if (!continues) break;
                ++c.rowSpan;
            }
        }
        double h = 0;
        for (const auto& c : lr.cells)
            if (c.cell->vMerge == page::Cell::Merge::None ||
                (c.cell->vMerge == page::Cell::Merge::Restart && c.rowSpan == 1))
                h = std::max(h, c.contentHeight);
        const auto& row = t.rows[r];
        if (row.exactHeight && row.height > 0)
            h = row.height;
        else
            h = std::max(h, double(row.height));
        lr.height = std::max(h, 1.0);
    }
    for (std::size_t r = 0; r < out->rows.size(); ++r)
        for (const auto& c : out->rows[r].cells) {
            if (c.rowSpan <= 1) continue;
            double spanned = 0;
            for (int k = 0; k < c.rowSpan; ++k) spanned += out->rows[r + k].height;
            if (c.contentHeight > spanned)
                out->rows[r + c.rowSpan - 1].height += c.contentHeight - spanned;
        }
    return out;
}

void drawBorder(QPainter& painter, const page::Border& b, QPointF from, QPointF to) {
    if (!b.present) return;
    QPen pen(colorOf(b.color));
    pen.setWidthF(b.eighthPoints * kTwipsPerPoint / 8.0 * (b.doubled ? 2.5 : 1.0));
    pen.setStyle(b.dashed ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
    painter.drawLine(from, to);
}

void drawBlocks(QPainter& painter, const std::vector<LaidBlock>& blocks, double x, double y,
                double width);

// Draws rows [first, last) of a table with their top at y.
void drawRows(QPainter& painter, const LaidTable& lt, std::size_t first, std::size_t last, double x,
              double y) {
    const page::Table& t = *lt.table;
    const double left = x + lt.left;
    const std::size_t lastRow = lt.rows.size() - 1;
    double rowTop = y;
    for (std::size_t r = first; r < last; ++r) {
        const auto& row = lt.rows[r];
        for (const auto& c : row.cells) {
            if (c.cell->vMerge == page::Cell::Merge::Continue) continue;
            double h = 0;
            for (int k = 0; k < c.rowSpan && r + k < lt.rows.size(); ++k)
                h += lt.rows[r + k].height;
            const QRectF box(left + c.x, rowTop, c.width, h);
            if (c.cell->fill >= 0)
                painter.fillRect(box, colorOf(static_cast<std::uint32_t>(c.cell->fill)));
            double content = c.contentHeight - t.marginTop - t.marginBottom;
            double top = rowTop + t.marginTop;
            const double room = h - t.marginTop - t.marginBottom;
            if (c.cell->vAlign == page::VAlign::Center) top += (room - content) / 2;
            if (c.cell->vAlign == page::VAlign::Bottom) top += room - content;
            painter.save();
            painter.setClipRect(box.adjusted(-2, -2, 2, 2));
            drawBlocks(painter, c.blocks, left + c.x + t.marginLeft, top,
                       c.width - t.marginLeft - t.marginRight);
            painter.restore();

            const bool firstCol = c.gridStart == 0;
            const bool lastCol = c.x + c.width >= lt.colX.back() - 1;
            const bool bottomRow = r + static_cast<std::size_t>(c.rowSpan) - 1 >= lastRow;
            const auto& tb = t.borders;
            const page::Border top_ = c.cell->hasTop ? c.cell->top : (r == 0 ? tb.top : tb.insideH);
            const page::Border bottom =
                c.cell->hasBottom ? c.cell->bottom : (bottomRow ? tb.bottom : tb.insideH);
            const page::Border leftB =
                c.cell->hasLeft ? c.cell->left : (firstCol ? tb.left : tb.insideV);
            const page::Border right =
                c.cell->hasRight ? c.cell->right : (lastCol ? tb.right : tb.insideV);
            // A table split over pages is closed at the foot of each page.
            const page::Border pageBottom =
                (r + c.rowSpan >= last && !bottomRow) ? tb.bottom : bottom;
            drawBorder(painter, r == first && r != 0 && !c.cell->hasTop ? tb.top : top_,
                       box.topLeft(), box.topRight());
            drawBorder(painter, pageBottom.present ? pageBottom : bottom, box.bottomLeft(),
                       box.bottomRight());
            drawBorder(painter, leftB, box.topLeft(), box.bottomLeft());
            drawBorder(painter, right, box.topRight(), box.bottomRight());
        }
        rowTop += row.height;
    }
}

void drawBlocks(QPainter& painter, const std::vector<LaidBlock>& blocks, double x, double y,
                double width) {
    for (const auto& b : blocks) {
        if (b.paragraph) {
            const auto& p = *b.paragraph;
            for (const auto& l : p.lines) drawLine(painter, p, l, x, y + p.spaceBefore + l.top);
        } else {
            drawRows(painter, *b.table, 0, b.table->rows.size(), x, y);
        }
        (void)width;
        y += b.height();
    }
}

// The body, page by page.
class Pager {
  public:
    Pager(const page::Document& doc, QPainter& painter, QPagedPaintDevice& device, int lastTable)
        : doc_(doc), painter_(painter), device_(device), lastTable_(lastTable) {
        top_ = doc.page.marginTop;
        bottom_ = doc.page.height - doc.page.marginBottom;
        left_ = doc.page.marginLeft;
        width_ = doc.page.width - doc.page.marginLeft - doc.page.marginRight;
        y_ = top_;
    }

    int run() {
        for (const auto& b : doc_.blocks) {
            if (done_) break;
            switch (b.kind) {
                case page::Block::Kind::PageBreak:
                    newPage();
                    break;
                case page::Block::Kind::Paragraph:
                    paragraph(b.paragraph);
                    break;
                case page::Block::Kind::Table:
                    table(*b.table);
                    // The pages after the last table asked for are not printed, however many
                    // pages the tables before it took.
                    if (++tables_ == lastTable_) done_ = true;
                    break;
            }
        }
        return failed_ ? 0 : pages_;
    }

  private:
    bool atTop() const { return y_ <= top_ + 0.5; }
    void newPage() {
        if (!device_.newPage()) {
            failed_ = done_ = true;  // a page that cannot be started: the job is incomplete
            return;
        }
        ++pages_;
        y_ = top_;
    }

    void paragraph(const page::Paragraph& source) {
        LaidParagraph p = layParagraph(source, width_);
        if (p.pageBreakBefore && !atTop()) newPage();
        if (done_) return;
        y_ += p.spaceBefore;
        for (const auto& l : p.lines) {
            if (y_ + l.height > bottom_ && !atTop()) newPage();
            if (done_) return;
            drawLine(painter_, p, l, left_, y_);
            y_ += l.height;
        }
        y_ += p.spaceAfter;
    }

    void table(const page::Table& source) {
        auto lt = layTable(source, width_);
        std::size_t first = 0;
        double top = y_;
        for (std::size_t r = 0; r < lt->rows.size(); ++r) {
            const double h = lt->rows[r].height;
            if (y_ + h > bottom_ && !(atTop() && r == first)) {
                // The rows so far go on this page; the rest start the next one.
                drawRows(painter_, *lt, first, r, left_, top);
                newPage();
                if (done_) return;
                first = r;
                top = y_;
            }
            y_ += h;
        }
        drawRows(painter_, *lt, first, lt->rows.size(), left_, top);
    }

    const page::Document& doc_;
    QPainter& painter_;
    QPagedPaintDevice& device_;
    int lastTable_;
    double top_, bottom_, left_, width_, y_;
    int pages_ = 1;
    int tables_ = 0;
    bool done_ = false;
    bool failed_ = false;
};

}  // namespace

DocumentRenderer::DocumentRenderer(page::Document document) : doc_(std::move(document)) {}

QPageLayout DocumentRenderer::pageLayout() const {
    const double w = doc_.page.width / kTwipsPerPoint, h = doc_.page.height / kTwipsPerPoint;
    const bool landscape = w > h;
    QPageSize size(landscape ? QSizeF(h, w) : QSizeF(w, h), QPageSize::Point);
    QPageLayout layout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    layout.setMode(QPageLayout::FullPageMode);
    return layout;
}

int DocumentRenderer::paint(QPagedPaintDevice& device, int lastTable) const {
    QPainter painter;
    if (!painter.begin(&device)) return 0;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    // Twips as the unit: the layout is the same on every device.
    painter.scale(device.logicalDpiX() / 1440.0, device.logicalDpiY() / 1440.0);
    const int pages = Pager(doc_, painter, device, lastTable).run();
    painter.end();
    return pages;
}

bool DocumentRenderer::writePdf(const QString& path, const QString& title, int lastTable,
                                QString* why) const {
    // Written beside the target and put in place only when whole: a full disk or a writer that
    // cannot open the file leaves an older PDF of that name as it was.
    try {
        safefile::write(
            fspath(path),
            [&](const std::filesystem::path& temp) {
                const QString tempName = qpath(temp);
                bool painted = false;
                {
                    QPdfWriter pdf(tempName);
                    pdf.setTitle(title);
                    pdf.setCreator(QStringLiteral("代课"));
                    pdf.setResolution(600);
                    pdf.setPageLayout(pageLayout());
                    painted = paint(pdf, lastTable) > 0;
                }
                if (!painted) {
                    throw Failure(Failure::Kind::CannotWrite,
                                  "无法写入文件“" + path.toStdString() +
                                      "”，请检查文件夹是否存在、能否写入，"
                                      "或文件是否正被其他程序打开。");
                }
            },
            safefile::Content::Pdf);
        return true;
    } catch (const Failure& e) {
        if (why) *why = QString::fromUtf8(e.what());
        return false;
    }
}

}  // namespace daike
