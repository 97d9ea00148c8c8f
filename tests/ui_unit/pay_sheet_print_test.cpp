// The 代课费发放表 as the finance office receives it, read back from the PDF by pdftotext: every
// teacher of a full page on one A4 sheet with the totals and the total in words; more teachers
// run on to a second page, the totals and signature lines on the last.
#include "windows/statistics/pay_sheet_print.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "ui/pdf_file.h"
#include "ui_test_support.h"

namespace daike {
namespace {

using statistics::PaySheet;

QString pdfText(const QString& file, int page = 0) {
    QStringList args = {"-layout", "-enc", "UTF-8"};
    if (page > 0) args << "-f" << QString::number(page) << "-l" << QString::number(page);
    QProcess p;
    p.start("pdftotext", args << file << "-");
    p.waitForFinished(30000);
    // The CJK font maps some characters to their look-alike radicals: some fold back in NFKC,
    // 民, 页 and 角 come back as ⺠, ⻚ and ⻆, which no normal form folds.
    QString t =
        QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    return t.replace(QChar(0x2EA0), QChar(0x6C11))
        .replace(QChar(0x2EDA), QChar(0x9875))
        .replace(QChar(0x2EC6), QChar(0x89D2));
}

QString squeezed(QString t) {
    return t.remove(QRegularExpression("\\s"));
}

// Whether the text, blanks left out, holds the words folded the same way (（ reads as ().
bool has(const QString& flat, const QString& words) {
    return flat.contains(squeezed(words.normalized(QString::NormalizationForm_KC)));
}
bool has(const QString& flat, const std::string& words) {
    return has(flat, QString::fromStdString(words));
}
bool has(const QString& flat, const char* words) {
    return has(flat, QString::fromUtf8(words));
}

// `teachers` who covered: 正课 and some 早读, the last of them gone from the list.
PaySheet sheetOf(int teachers) {
    PaySheet s;
    s.range = statistics::DateRange::custom(calendar::makeDay(2026, 9, 1),
                                            calendar::makeDay(2026, 9, 30));
    s.school = "城关第二小学";
    s.kinds = {"正课", "早读"};
    s.rateFen = {3000, 1250};
    s.kindTotals = {0, 0};
    for (int i = 0; i < teachers; ++i) {
        statistics::PayRow r;
        r.name = "教师" + std::to_string(i + 1);
        r.onList = i + 1 < teachers;
        r.covers = {i % 7 + 1, i % 3};
        r.fen = r.covers[0] * 3000LL + r.covers[1] * 1250LL;
        s.kindTotals[0] += r.covers[0];
        s.kindTotals[1] += r.covers[1];
        s.covers += r.totalCovers();
        s.fen += r.fen;
        s.rows.push_back(r);
    }
    return s;
}

int pagesOf(const QString& file) {
    return static_cast<int>(pdfText(file).count(QChar('\f')));
}

TEST(PaySheetPdf, FortyFiveTeachersOnOnePageWithTotalsAndWords) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    const QString file = dir.filePath("代课费发放表.pdf");
    const PaySheet s = sheetOf(45);
    EXPECT_EQ(paySheetPages(s), 1);
    writePdfFile(file, QString::fromStdString(s.title()), paySheetPageLayout(),
                 [&](QPagedPaintDevice& d) { ASSERT_TRUE(paintPaySheet(d, s)); });
    EXPECT_EQ(pagesOf(file), 1);
    const QString text = pdfText(file);
    const QString flat = squeezed(text);
    EXPECT_TRUE(has(flat, "城关第二小学代课费发放表")) << text.toStdString();
    EXPECT_TRUE(has(flat, "发放期间：2026年9月1日至9月30日"));
    EXPECT_TRUE(has(flat, "序号姓名正课早读金额（元）领款人签字单价30元单价12.50元"))
        << text.toStdString();
    // Every teacher on his own line with his covers and pay.
    const QStringList lines = text.split('\n');
    for (int i = 0; i < 45; ++i) {
        const auto& r = s.rows[static_cast<std::size_t>(i)];
        QString want = QString::number(i + 1) + QString::fromStdString(r.shownName()) +
                       QString::number(r.covers[0]) +
                       (r.covers[1] ? QString::number(r.covers[1]) : QString()) +
                       QString::fromStdString(statistics::yuanText(r.fen));
        bool found = false;
        for (const auto& l : lines)
            found = found || squeezed(l) == want.normalized(QString::NormalizationForm_KC);
        EXPECT_TRUE(found) << want.toStdString();
    }
    EXPECT_TRUE(has(flat, "教师45（已离校）"));
    EXPECT_TRUE(has(flat, QStringLiteral("合计%1%2%3")
                              .arg(s.kindTotals[0])
                              .arg(s.kindTotals[1])
                              .arg(QString::fromStdString(statistics::yuanText(s.fen)))))
        << text.toStdString();
    EXPECT_TRUE(has(flat, s.totalInWords())) << text.right(400).toStdString();
    EXPECT_TRUE(has(flat, "制表：") && has(flat, "审核：") && has(flat, "日期："));
}

TEST(PaySheetPdf, MoreTeachersRunOnWithTheTotalsOnTheLastPage) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    const QString file = dir.filePath("long.pdf");
    PaySheet s = sheetOf(100);
    // One kind alone: 节数 and 单价 columns.
    s.kinds = {"正课"};
    s.rateFen = {3000};
    s.kindTotals.resize(1);
    s.fen = 0;
    for (auto& r : s.rows) {
        r.covers.resize(1);
        r.fen = r.covers[0] * 3000LL;
        s.fen += r.fen;
    }
    EXPECT_EQ(paySheetPages(s), 3);
    writePdfFile(file, "t", paySheetPageLayout(),
                 [&](QPagedPaintDevice& d) { paintPaySheet(d, s); });
    EXPECT_EQ(pagesOf(file), 3);
    const QString second = squeezed(pdfText(file, 2));
    EXPECT_TRUE(has(second, "序号姓名正课节数单价（元）金额（元）领款人签字"));
    EXPECT_TRUE(has(second, "46教师46")) << second.toStdString();
    EXPECT_FALSE(has(second, "合计（大写）"));
    EXPECT_TRUE(has(second, "第2页共3页"));
    const QString last = squeezed(pdfText(file, 3));
    EXPECT_TRUE(has(last, "100教师100（已离校）"));
    EXPECT_TRUE(has(last, s.totalInWords())) << last.toStdString();
    EXPECT_EQ(paySheetFileName(s, "pdf"), "代课费发放表-20260901-20260930.pdf");
}

}  // namespace
}  // namespace daike
