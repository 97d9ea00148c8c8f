// The day's sheet as the teachers' group receives it. The PNG cannot be read back as text, so
// the same drawing is also made on a PDF page of the picture's size (one point a pixel):
// pdftotext reads every cover line from the PDF, and pdftoppm's rendering of that page at
// 72 dpi matches the PNG pixel for pixel within a small difference — the picture holds the
// same text in the same places. The staff room's screen keeps its rows readable and pages a
// long day.
#include "windows/main/day_sheet_picture.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHeaderView>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>

#include "../unit/test_support.h"
#include "platform/scripted_platform.h"
#include "school/calendar.h"
#include "store/store.h"
#include "ui/run_context.h"
#include "ui_test_support.h"
#include "windows/main/staff_room_board.h"

namespace daike {
namespace {

const QString kDate = QStringLiteral("2026年12月9日");

board::Board busyDay(int covers) {
    board::Board b;
    b.week = 15;
    b.weekday = 3;
    const char* classes[] = {"一(1)", "二(3)", "三(2)", "四(4)", "五(1)", "六(2)"};
    const char* subjects[] = {"语文", "数学", "英语", "科学", "音乐", "美术", "体育"};
    for (int i = 0; i < covers; ++i) {
        board::Line l;
        l.period = 1 + i * 6 / covers;
        l.cls = classes[i % 6];
        l.subject = subjects[i % 7];
        l.absent = "缺课" + std::to_string(i / 3 + 1);
        l.reason = i % 2 ? "事假" : "病假";
        l.substitute = "代课" + std::to_string(i + 1);
        l.waiting = i % 9 == 4;
        if (l.waiting) l.reason = l.substitute = "";
        b.lines.push_back(l);
    }
    for (int i = 0; i < covers / 3; ++i)
        b.absent.push_back({"缺课" + std::to_string(i + 1), i % 2 ? "事假" : "病假"});
    b.away.push_back({"外出老师", {2, 5}});
    return b;
}

QString cellText(const board::Line& l) {
    return QString::fromStdString(l.cls + l.subject + l.absent + l.reason +
                                  (l.waiting ? "待安排" : l.substitute));
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Folded as pdftotext's output needs (the CJK face's look-alike radicals, full-width forms),
// blanks and line breaks dropped.
QString plain(QString t) {
    t = t.normalized(QString::NormalizationForm_KC);
    t.remove(QRegularExpression("\\s"));
    return t;
}

void writePdf(const QString& path, const board::Board& b, int height) {
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QSizeF(picture::kWidth, height), QPageSize::Point));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(72);
    QPainter p(&pdf);
    ASSERT_EQ(pdf.width(), picture::kWidth);
    paintDaySheet(p, b, kDate);
}

bool havePoppler() {
    return !QStandardPaths::findExecutable("pdftotext").isEmpty() &&
           !QStandardPaths::findExecutable("pdftoppm").isEmpty();
}

TEST(DaySheetPicture, ThePngHoldsEveryCoverLineOfTheSameSheetAsItsPdf) {
    if (!havePoppler()) GTEST_SKIP() << "pdftotext/pdftoppm (poppler-utils) are not installed";
    const auto b = busyDay(30);
    const QImage png = QImage::fromData(daySheetPng(b, kDate), "PNG");
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.width(), 1080);
    EXPECT_EQ(png.height(), daySheetHeight(b, kDate));

    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheet.pdf");
    writePdf(pdf, b, png.height());
    const QString text = plain(run("pdftotext", {"-raw", "-enc", "UTF-8", pdf, "-"}));
    for (const char* words :
         {"当日代课安排表", "第15周星期三2026年12月9日", "代课27节，待安排3节",
          "请假教师：缺课1（病假）；缺课2（事假）", "空课时间外出：外出老师（第2、5节）", "教导处"})
        EXPECT_TRUE(text.contains(plain(QString::fromUtf8(words)))) << words;
    // Each cover line in the table's order, every cell of it.
    qsizetype from = 0;
    for (const auto& l : b.lines) {
        const QString line = plain(periodOnBoard(b, l.period) + cellText(l));
        const auto at = text.indexOf(line, from);
        EXPECT_GE(at, 0) << line.toStdString();
        if (at >= 0) from = at + line.size();
    }

    // The PDF page drawn as pixels at one pixel a point: the same picture.
    ASSERT_EQ(QProcess::execute("pdftoppm",
                                {"-r", "72", "-png", "-singlefile", pdf, dir.filePath("page")}),
              0);
    QImage page(dir.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    ASSERT_EQ(page.size(), png.size());
    page = page.convertToFormat(QImage::Format_RGB32);
    const QImage ours = png.convertToFormat(QImage::Format_RGB32);
    long long close = 0, inked = 0, red = 0;
    for (int y = 0; y < ours.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(ours.constScanLine(y));
        const auto* c = reinterpret_cast<const QRgb*>(page.constScanLine(y));
        for (int x = 0; x < ours.width(); ++x) {
            const int d =
                std::max({std::abs(qRed(a[x]) - qRed(c[x])), std::abs(qGreen(a[x]) - qGreen(c[x])),
                          std::abs(qBlue(a[x]) - qBlue(c[x]))});
            if (d <= 48) ++close;
            if (qGray(a[x]) < 128) ++inked;
            if (qRed(a[x]) > 150 && qGreen(a[x]) < 60 && qBlue(a[x]) < 60) ++red;
        }
    }
    const double total = double(ours.width()) * ours.height();
    // 99.5 % here; antialiased edges differ between the two rasterisers.
    EXPECT_GE(close / total, 0.99) << close / total;
    // Not a blank page that trivially agrees; the waiting lessons stand out in red.
    EXPECT_GE(inked / total, 0.02);
    EXPECT_GT(red, 500);
}

TEST(DaySheetPicture, LongTextsWrapAtTheSameWidthAndAnEmptyDaySaysSo) {
    auto b = busyDay(3);
    const int before = daySheetHeight(b, kDate);
    b.lines[0].substitute = "一位名字非常非常多字而且还带着说明的代课教师";
    const int after = daySheetHeight(b, kDate);
    // Wrapped onto more lines of the same size, never shrunk to fit.
    EXPECT_GE(after - before, picture::kTextPixels);
    const QImage wide = daySheetImage(b, kDate);
    EXPECT_EQ(wide.width(), 1080);

    if (!havePoppler()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    writePdf(dir.filePath("long.pdf"), b, after);
    const QString text = plain(run("pdftotext", {"-raw", dir.filePath("long.pdf"), "-"}));
    EXPECT_TRUE(text.contains(plain(QString::fromStdString(b.lines[0].substitute))))
        << text.toStdString();
    board::Board empty;
    empty.week = 15;
    empty.weekday = 3;
    writePdf(dir.filePath("empty.pdf"), empty, daySheetHeight(empty, kDate));
    EXPECT_TRUE(plain(run("pdftotext", {"-raw", dir.filePath("empty.pdf"), "-"}))
                    .contains(plain(QStringLiteral("今天还没有代课安排。"))));
}

TEST(DaySheetPicture, ASwappedLessonReadsAsTaughtByTheColleagueWithItsCount) {
    auto b = busyDay(3);
    board::Line swap;
    swap.period = 3;
    swap.cls = "一(1)";
    swap.subject = "语文";
    swap.absent = "张老师";
    swap.reason = "病假";
    swap.substitute = "李老师";
    swap.swapped = true;
    swap.swapText = "一(1) 第3节 李老师（与张老师调课）";
    b.lines.push_back(swap);
    if (!havePoppler()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    writePdf(dir.filePath("swap.pdf"), b, daySheetHeight(b, kDate));
    const QString text = plain(run("pdftotext", {"-raw", dir.filePath("swap.pdf"), "-"}));
    // Not counted as a cover: three covers and the swap apart.
    EXPECT_TRUE(text.contains(plain(QString::fromStdString(board::countsText(b)))))
        << text.toStdString();
    EXPECT_EQ(board::countsText(b), "代课3节，待安排0节，调课1节");
    EXPECT_TRUE(text.contains(plain(QStringLiteral("调：李老师")))) << text.toStdString();
    EXPECT_TRUE(text.contains(plain(QStringLiteral("调课：一(1) 第3节 李老师（与张老师调课）"))))
        << text.toStdString();
}

// The staff room's screen on the office's store: 25 lessons of today.
class StaffRoomBoardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        db->execScript(
            "INSERT INTO 开学第一天 VALUES ('2026/3/2');"
            "WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k+1 FROM n WHERE k<25) "
            "INSERT INTO 当天代课记录 SELECT '缺'||k,'病假',printf('代%02d',k),'3',4,'三(2)',"
            "'语文',1 + k % 6 FROM n;");
        ctx.day.startUp(*db, calendar::makeDay(2026, 3, 19));
    }
    testing::TempStore db;
    ScriptedPlatform desktop;
    RunContext ctx{*db, desktop.platform(), {}, db.dir()};
};

TEST_F(StaffRoomBoardTest, RowsStayReadableAndALongDayTurnsItsPages) {
    auto* board = new StaffRoomBoard(ctx, nullptr);
    for (const QRect area : {QRect(0, 0, 1920, 1080), QRect(0, 0, 1024, 768)}) {
        board->fitTo(area);
        board->setGeometry(area);
        board->show();
        QCoreApplication::processEvents();
        EXPECT_GE(board->textPixels(), 40);
        EXPECT_GE(board->rowHeight(), 48);
        auto* grid = board->findChild<QTableWidget*>("Grid");
        ASSERT_TRUE(grid);
        for (int r = 0; r < grid->rowCount(); ++r) EXPECT_GE(grid->rowHeight(r), 48);
        // Every row on a page is whole on the screen, and the pages hold the day between them.
        EXPECT_LE(grid->rowCount() * board->rowHeight() + grid->horizontalHeader()->height(),
                  grid->height());
        EXPECT_EQ(board->pages(), (25 + board->rowsPerPage() - 1) / board->rowsPerPage());
        EXPECT_GT(board->pages(), 1);
    }
    // Turning round to the first page again.
    QStringList firsts;
    for (int i = 0; i <= board->pages(); ++i) {
        firsts << board->findChild<QTableWidget*>("Grid")->item(0, 5)->text();
        board->turnPage();
    }
    EXPECT_EQ(firsts.first(), firsts.last());
    EXPECT_EQ(QSet<QString>(firsts.begin(), firsts.end()).size(), board->pages());
    // A cover withdrawn elsewhere while the last page shows: the page stays, shorter.
    while (board->page() + 1 < board->pages()) board->turnPage();
    db->execScript("DELETE FROM 当天代课记录 WHERE 代者 > '代20'");
    board->refresh();
    EXPECT_LT(board->page(), board->pages());
    delete board;
}

}  // namespace
}  // namespace daike
