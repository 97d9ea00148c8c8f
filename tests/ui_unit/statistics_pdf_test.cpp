// The statistics page as the headmaster receives it: the PDF's own text, read back by
// pdftotext, holds the heading with the range, the date, the spread and the totals, and a long
// staff list runs on to further pages under the table's header.
#include "windows/statistics/statistics_pdf.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "../unit/test_support.h"
#include "statistics/tables.h"
#include "store/failure.h"
#include "ui_test_support.h"

namespace daike {
namespace {

using testing::TempStore;

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    // The CJK font maps some characters to their look-alike radicals (⽇ for 日); a reader
    // folds them back the same way.
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

// Whether the text holds the words, both folded the same way.
bool has(const QString& text, const QString& words) {
    return text.contains(words.normalized(QString::NormalizationForm_KC));
}

StatisticsPage pageOf(TempStore& db) {
    const auto f = statistics::compute(*db, statistics::Range::weeks(1, 2));
    StatisticsPage page;
    page.heading = QStringLiteral("代课统计（%1）").arg(QString::fromStdString(f.range.label()));
    page.dateLine = QStringLiteral("制表日期：2026年9月30日");
    page.note = QString::fromStdString(statistics::tallyNote(f));
    page.table = statistics::teacherTable(f);
    page.chart = statistics::chartOf(f, page.table);
    return page;
}

TEST(StatisticsPdf, TextHoldsHeadingDateSpreadAndTotals) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    TempStore db;
    db->execScript(
        "INSERT INTO 教师姓名 (姓名) VALUES ('张三'),('李四'),('王五');"
        "INSERT INTO 代课节数 VALUES ('张三',0,2),('李四',0,0),('王五',0,0);"
        "INSERT INTO 代课记录 VALUES ('王五','病假','张三','1',1,'一(1)','语文',1),"
        "('王五','病假','张三','2',1,'一(1)','数学',2);");
    const QString file = QString::fromStdString((db.dir() / "代课统计-第1至2周.pdf").string());
    ASSERT_NO_THROW(writeStatisticsPdf(file, pageOf(db)));
    const QString text = run("pdftotext", {"-layout", "-enc", "UTF-8", file, "-"}).simplified();
    EXPECT_TRUE(has(text, QStringLiteral("代课统计（第1至2周）"))) << text.toStdString();
    EXPECT_TRUE(has(text, QStringLiteral("制表日期：2026年9月30日")));
    EXPECT_TRUE(has(text, QStringLiteral("最多 2 节（张三）"))) << text.toStdString();
    EXPECT_TRUE(has(text, QStringLiteral("合计 2 2 0 0 2 2 2"))) << text.toStdString();
    // 页 comes back as its radical look-alike ⻚, which no normal form folds.
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("第\\s*1\\s*[页⻚]"))));
    const QString info = run("pdfinfo", {file});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\\b"))) << info.toStdString();
    EXPECT_TRUE(info.contains("595.276 x 841.89") || info.contains("595 x 842"))
        << info.toStdString();
}

TEST(StatisticsPdf, ALongStaffListRunsOnWithItsHeader) {
    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    TempStore db;
    for (int i = 0; i < 120; ++i)
        db->exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {"教师" + std::to_string(i)});
    const QString file = QString::fromStdString((db.dir() / "long.pdf").string());
    ASSERT_NO_THROW(writeStatisticsPdf(file, pageOf(db)));
    const QString page3 = run("pdftotext", {"-enc", "UTF-8", "-f", "3", "-l", "3", file, "-"});
    EXPECT_TRUE(has(page3, QStringLiteral("被代合计"))) << page3.toStdString();
    EXPECT_TRUE(page3.contains(QRegularExpression(QStringLiteral("第\\s*3\\s*[页⻚]"))));
    const QString all = run("pdftotext", {"-enc", "UTF-8", file, "-"});
    EXPECT_TRUE(has(all, QStringLiteral("教师119")));
    EXPECT_TRUE(has(all, QStringLiteral("合计")));
}

TEST(StatisticsPdf, AFolderThatIsNotThereIsReportedAndNothingWritten) {
    TempStore db;
    const QString file = QString::fromStdString((db.dir() / "无此文件夹" / "a.pdf").string());
    EXPECT_THROW(writeStatisticsPdf(file, pageOf(db)), Failure);
    EXPECT_FALSE(QFile::exists(file));
}

}  // namespace
}  // namespace daike
