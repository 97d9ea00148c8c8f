#include "windows/main/day_sheet_picture.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <memory>
#include <vector>

#include "school/calendar.h"
#include "school/term_start.h"
#include "store/failure.h"
#include "store/safe_file.h"
#include "store/week.h"
#include "ui/run_context.h"
#include "ui/widgets.h"
#include "windows/main/day_board_view.h"

namespace daike {

QString periodOnBoard(const board::Board& b, int period) {
    return qs(b.times.label(period));
}

namespace {

using picture::kTextPixels;
using picture::kWidth;

constexpr int kMargin = 36;
constexpr int kTitlePixels = 52;
constexpr qreal kPadX = 10;
constexpr qreal kPadY = 8;
constexpr qreal kGap = 18;  // between the parts of the sheet
constexpr qreal kRule = 2;  // the table's lines
const QColor kInk(0x11, 0x11, 0x11);
const QColor kWaiting(0xc0, 0x00, 0x00);
const QColor kSwapped(0x1f, 0x5f, 0xbf);  // 调课: taught by the colleague of the exchange
const QColor kQuiet(0x55, 0x55, 0x55);
const QColor kHeaderFill(0xe0, 0xe0, 0xe0);

QFont fontOf(int pixels, bool bold) {
    QFont f;
    f.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Microsoft YaHei"),
                   QStringLiteral("PingFang SC"), QStringLiteral("SimHei")});
    f.setPixelSize(pixels);
    f.setBold(bold);
    // The same glyph positions on the picture and on any other device it is drawn on.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// One piece of text laid out at a width: wrapped where it must, never made smaller.
class Text {
  public:
    Text(const QString& text, const QFont& font, qreal width, Qt::Alignment align, QColor color,
         int boldPrefix = 0)
        : layout_(text, font), color_(color) {
        QTextOption option(align);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout_.setTextOption(option);
        if (boldPrefix > 0) {
            QTextLayout::FormatRange bold;
            bold.start = 0;
            bold.length = boldPrefix;
            bold.format.setFontWeight(QFont::Bold);
            layout_.setFormats({bold});
        }
        layout_.beginLayout();
        for (QTextLine line = layout_.createLine(); line.isValid(); line = layout_.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height_));
            height_ += line.height();
        }
        layout_.endLayout();
    }
    qreal height() const { return height_; }
    void draw(QPainter& p, QPointF at) const {
        p.setPen(color_);
        layout_.draw(&p, at);
    }

  private:
    QTextLayout layout_;
    QColor color_;
    qreal height_ = 0;
};

constexpr int kColumns = 6;
const std::array<QString, kColumns> kHeads = {"节次",     "班级", "课目",
                                              "请假教师", "事由", "代课教师"};

std::array<QString, kColumns> cellsOf(const board::Board& b, const board::Line& l) {
    return {periodOnBoard(b, l.period), qs(l.cls), qs(l.subject), qs(l.absent), qs(l.reason),
            qs(board::takerText(l))};
}

// Each column as wide as its longest text when the row fits the width; else the widest columns
// give way (their texts wrap) down to what their title needs.
std::array<qreal, kColumns> columnWidths(const board::Board& b, qreal room) {
    const QFontMetricsF plain(fontOf(kTextPixels, false));
    const QFontMetricsF bold(fontOf(kTextPixels, true));
    std::array<qreal, kColumns> least{}, natural{};
    for (int c = 0; c < kColumns; ++c)
        least[c] = natural[c] = bold.horizontalAdvance(kHeads[c]) + 2 * kPadX + 1;
    for (const auto& l : b.lines) {
        const auto cells = cellsOf(b, l);
        const QFontMetricsF& m = l.waiting ? bold : plain;
        for (int c = 0; c < kColumns; ++c)
            natural[c] = std::max(natural[c], m.horizontalAdvance(cells[c]) + 2 * kPadX + 1);
    }
    const auto total = [](const std::array<qreal, kColumns>& w) {
        qreal s = 0;
        for (qreal x : w) s += x;
        return s;
    };
    std::array<qreal, kColumns> w = natural;
    if (total(natural) > room) {
        // The largest cap that lets the row fit.
        qreal lo = 0, hi = *std::max_element(natural.begin(), natural.end());
        for (int i = 0; i < 40; ++i) {
            const qreal cap = (lo + hi) / 2;
            for (int c = 0; c < kColumns; ++c) w[c] = std::max(least[c], std::min(natural[c], cap));
            (total(w) > room ? hi : lo) = cap;
        }
        for (int c = 0; c < kColumns; ++c) w[c] = std::max(least[c], std::min(natural[c], lo));
    }
    // What is left spreads over the columns as they are.
    const qreal sum = total(w);
    for (auto& x : w) x += (room - sum) * x / sum;
    return w;
}

enum class List { Absent, Away, Swaps };

QString listOf(const board::Board& b, List which) {
    QString list;
    if (which == List::Swaps) {
        for (const auto& l : b.lines)
            if (l.swapped) list += (list.isEmpty() ? "" : "；") + qs(l.swapText);
    } else if (which == List::Absent) {
        for (const auto& a : b.absent)
            list += (list.isEmpty() ? "" : "；") + qs(a.name) +
                    (a.reason.empty() ? QString() : "（" + qs(a.reason) + "）");
    } else {
        for (const auto& a : b.away)
            list += (list.isEmpty() ? "" : "；") + qs(a.name) + "（" +
                    qs(board::periodList(a.periods)) + "）";
    }
    return list;
}

// The whole sheet laid out once: measuring and drawing read the same layout.
class Sheet {
  public:
    Sheet(const board::Board& b, const QString& dateText) {
        const qreal room = kWidth - 2 * kMargin;
        add(std::make_unique<Text>(QStringLiteral("当日代课安排表"), fontOf(kTitlePixels, true),
                                   room, Qt::AlignHCenter, kInk));
        QString day = b.week > 0 ? QStringLiteral("第%1周　").arg(b.week) : QString();
        day += QStringLiteral("星期") + qs(week::weekdayNumeral(b.weekday));
        if (!dateText.isEmpty()) day += "　" + dateText;
        y_ += 6;
        add(std::make_unique<Text>(day, fontOf(kTextPixels, false), room, Qt::AlignHCenter, kInk));
        add(std::make_unique<Text>(qs(board::countsText(b)), fontOf(kTextPixels, false), room,
                                   Qt::AlignHCenter, kInk));
        y_ += kGap;
        if (b.lines.empty()) {
            add(std::make_unique<Text>(QStringLiteral("今天还没有代课安排。"),
                                       fontOf(kTextPixels, false), room, Qt::AlignHCenter, kQuiet));
        } else {
            table(b, room);
        }
        const struct {
            const char* label;
            List which;
            bool shown;
        } lists[] = {{"调课：", List::Swaps, b.swapped() > 0},
                     {"请假教师：", List::Absent, !b.absent.empty()},
                     {"空课时间外出：", List::Away, !b.away.empty()}};
        for (const auto& l : lists) {
            if (!l.shown) continue;
            y_ += kGap / 2;
            const QString label = QString::fromUtf8(l.label);
            add(std::make_unique<Text>(label + listOf(b, l.which), fontOf(kTextPixels, false), room,
                                       Qt::AlignLeft, l.which == List::Swaps ? kSwapped : kInk,
                                       label.size()));
        }
        y_ += kGap;
        add(std::make_unique<Text>(QStringLiteral("教导处"), fontOf(kTextPixels, false), room,
                                   Qt::AlignRight, kInk));
        y_ += kMargin;
    }

    int height() const { return static_cast<int>(std::ceil(y_)); }

    void paint(QPainter& p) const {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.fillRect(QRectF(0, 0, kWidth, height()), Qt::white);
        for (const auto& r : fills_) p.fillRect(r, kHeaderFill);
        p.setPen(QPen(kInk, kRule));
        for (const auto& l : rules_) p.drawLine(l);
        for (const auto& t : texts_) t.text->draw(p, t.at);
        p.restore();
    }

  private:
    struct Placed {
        std::unique_ptr<Text> text;
        QPointF at;
    };

    void add(std::unique_ptr<Text> t) {
        const qreal h = t->height();
        texts_.push_back({std::move(t), QPointF(kMargin, y_)});
        y_ += h;
    }

    void table(const board::Board& b, qreal room) {
        const auto widths = columnWidths(b, room);
        std::array<qreal, kColumns + 1> x{};
        x[0] = kMargin;
        for (int c = 0; c < kColumns; ++c) x[c + 1] = x[c] + widths[c];
        const qreal top = y_;
        const auto row = [&](const std::array<QString, kColumns>& cells, bool bold, QColor color) {
            qreal h = 0;
            std::array<std::unique_ptr<Text>, kColumns> texts;
            for (int c = 0; c < kColumns; ++c) {
                texts[c] = std::make_unique<Text>(cells[c], fontOf(kTextPixels, bold),
                                                  widths[c] - 2 * kPadX, Qt::AlignHCenter, color);
                h = std::max(h, texts[c]->height());
            }
            h += 2 * kPadY;
            for (int c = 0; c < kColumns; ++c) {
                // Short texts in the middle of a tall row.
                const qreal down = (h - texts[c]->height()) / 2;
                texts_.push_back({std::move(texts[c]), QPointF(x[c] + kPadX, y_ + down)});
            }
            y_ += h;
            rules_.push_back(QLineF(x[0], y_, x[kColumns], y_));
        };
        rules_.push_back(QLineF(x[0], top, x[kColumns], top));
        const qreal headTop = y_;
        row(kHeads, true, kInk);
        fills_.push_back(QRectF(x[0], headTop, x[kColumns] - x[0], y_ - headTop));
        for (const auto& l : b.lines)
            row(cellsOf(b, l), l.waiting, l.waiting ? kWaiting : l.swapped ? kSwapped : kInk);
        for (qreal at : x) rules_.push_back(QLineF(at, top, at, y_));
    }

    std::vector<Placed> texts_;
    std::vector<QLineF> rules_;
    std::vector<QRectF> fills_;
    qreal y_ = kMargin;
};

}  // namespace

int daySheetHeight(const board::Board& b, const QString& dateText) {
    return Sheet(b, dateText).height();
}

void paintDaySheet(QPainter& p, const board::Board& b, const QString& dateText) {
    Sheet(b, dateText).paint(p);
}

QImage daySheetImage(const board::Board& b, const QString& dateText) {
    const Sheet sheet(b, dateText);
    QImage image(kWidth, sheet.height(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    sheet.paint(p);
    p.end();
    return image;
}

QByteArray daySheetPng(const board::Board& b, const QString& dateText) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!daySheetImage(b, dateText).save(&buffer, "PNG"))
        throw Failure(Failure::Kind::CannotWrite, "当日代课安排表的图片没有生成，请再试一次。");
    return bytes;
}

QString daySheetPictureName(RunContext& ctx, const board::Board& b) {
    const auto day = boardDay(ctx, b).value_or(ctx.platform.clock.today());
    return QStringLiteral("当日代课安排表-%1.png").arg(qs(calendar::stamp(day)));
}

void saveDaySheetPicture(RunContext& ctx) {
    const auto b = board::load(ctx.store, ctx.day.week(), ctx.day.weekday());
    const QString dateText = boardDate(ctx, b);
    const QString suggested = qpath(ctx.programDir / fspath(daySheetPictureName(ctx, b)));
    const auto path = ctx.platform.files.saveFile(QStringLiteral("保存为图片"), suggested,
                                                  QStringLiteral("PNG 图片 (*.png)"));
    if (!path) return;
    // A name typed without the ending still opens as a picture on the phone.
    QString chosen = *path;
    if (!chosen.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive)) chosen += ".png";
    try {
        const QByteArray png = daySheetPng(b, dateText);
        const std::filesystem::path target = fspath(chosen);
        // Put in place only when whole: a full disk leaves an older picture as it was.
        safefile::write(
            target,
            [&](const std::filesystem::path& temp) {
                QFile f(qpath(temp));
                if (!f.open(QIODevice::WriteOnly) || f.write(png) != png.size() || !f.flush())
                    throw Failure(
                        Failure::Kind::CannotWrite,
                        safefile::cannotWriteText(
                            target, safefile::almostFull(target.parent_path()) ? ENOSPC : 0));
            },
            safefile::Content::Png);
    } catch (const Failure& e) {
        ctx.platform.boxes.ok(QString::fromUtf8(e.what()));
    }
}

}  // namespace daike
