#include "ui/document_renderer.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "documents/notice_template.h"
#include "documents/notices.h"
#include "test_application.h"

namespace daike {
namespace {

using testing::app;

QString pdfText(const QString& pdf, int page) {
    QProcess p;
    p.start("pdftotext",
            {"-f", QString::number(page), "-l", QString::number(page), "-layout", pdf, "-"});
    if (!p.waitForFinished(20000)) return {};
    // CJK faces may map some characters to radicals: compare in NFKC.
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

std::vector<Notice> someNotices(int n) {
    std::vector<Notice> out;
    for (int i = 0; i < n; ++i) {
        CoverRecord r{"李明", "病假",   "王芳" + std::to_string(i), "3", 1 + i % 5, "三(2)",
                      "语文", 1 + i % 6};
        out.push_back(noticeOf(r, calendar::makeDay(2026, 3, 2), {}));
    }
    return out;
}

TEST(DocumentRenderer, TheFilledTemplatePrintsOnePagePerNoticeWithItsValues) {
    app();
    auto doc = defaultNoticeTemplate();
    fillNotices(doc, someNotices(3));
    DocumentRenderer renderer(pageModel(doc));
    const auto layout = renderer.pageLayout();
    EXPECT_NEAR(layout.fullRect(QPageLayout::Millimeter).width(), 210, 1);
    EXPECT_NEAR(layout.fullRect(QPageLayout::Millimeter).height(), 297, 1);
    QTemporaryDir dir;
    const QString pdf = dir.filePath("notices.pdf");
    ASSERT_TRUE(renderer.writePdf(pdf, "代课通知"));
    if (QProcess::execute("pdftotext", {"-v"}) < 0) GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_TRUE(pdfText(pdf, 4).trimmed().isEmpty());  // exactly three pages
    const QString page2 = pdfText(pdf, 2);
    EXPECT_EQ(page2.count("王芳1"), 2) << page2.toStdString();
    EXPECT_EQ(page2.count("2026年3月17日"), 2) << page2.toStdString();
    EXPECT_TRUE(page2.contains("周二"));
    EXPECT_TRUE(QString(page2).remove(' ').contains("代课通知单"));
    EXPECT_FALSE(page2.contains("王芳0"));
    // A directory that cannot be written gives false, not a crash.
    EXPECT_FALSE(renderer.writePdf(dir.filePath("无/x.pdf"), "x"));
}

// Every notice reaches the paper, whatever the template's pages look like: a page break before
// the first table, or rows so tall that a notice pair takes two pages.
TEST(DocumentRenderer, EveryNoticeIsPaintedWhateverTheTemplatesPages) {
    app();
    if (QProcess::execute("pdftotext", {"-v"}) < 0) GTEST_SKIP() << "pdftotext is not installed";
    const std::string plain = defaultNoticeTemplate().documentXml();
    std::string breakFirst = plain;
    breakFirst.insert(breakFirst.find("<w:tbl>"), "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>");
    std::string tall = plain;
    for (std::size_t at = 0; (at = tall.find("w:val=\"680\"", at)) != std::string::npos;)
        tall.replace(at, 11, "w:val=\"1900\"");
    // A template of one notice table: each notice takes a page of its own for each half.
    std::string oneTable = plain;
    {
        const auto second = oneTable.find("<w:tbl>", oneTable.find("</w:tbl>"));
        oneTable.erase(second, oneTable.find("</w:tbl>", second) + 8 - second);
    }
    const std::string styles = defaultNoticeTemplate().stylesXml();
    for (const auto& [shape, xml] : {std::pair{"plain", plain},
                                     {"break first", breakFirst},
                                     {"tall rows", tall},
                                     {"one table", oneTable}})
        for (int n : {1, 2, 7, 33}) {
            if (n == 33 && std::string(shape) != "plain") continue;  // a full day, once
            auto doc = WordDocument::fromXml(xml, styles, kNoticeTemplate);
            const auto notices = someNotices(n);
            fillNotices(doc, notices);
            QTemporaryDir dir;
            const QString pdf = dir.filePath("n.pdf");
            ASSERT_TRUE(DocumentRenderer(pageModel(doc)).writePdf(pdf, "x", 2 * n));
            // The shapes that broke printing take more pages than there are notices.
            if (std::string(shape) != "plain") {
                EXPECT_FALSE(pdfText(pdf, n + 1).trimmed().isEmpty()) << shape;
            }
            const QString text = pdfText(pdf, 1).isNull() ? QString() : [&] {
                QProcess p;
                p.start("pdftotext", {"-layout", pdf, "-"});
                p.waitForFinished(20000);
                return QString::fromUtf8(p.readAllStandardOutput());
            }();
            for (int i = 0; i < n; ++i)
                EXPECT_EQ(text.count(QRegularExpression(
                              QString::fromStdString(notices[i].substitute) + "(?!\\d)")),
                          2)
                    << shape << " n=" << n << " notice " << i;
        }
}

TEST(DocumentRenderer, APdfCutShortByTheSystemLeavesTheOlderOneAndSaysWhy) {
    app();
    auto doc = defaultNoticeTemplate();
    fillNotices(doc, someNotices(6));
    DocumentRenderer renderer(pageModel(doc));
    QTemporaryDir dir;
    const QString pdf = dir.filePath("代课通知.pdf");
    const std::string old = "%PDF-1.4 an older, good file\n%%EOF\n";
    std::ofstream(pdf.toStdString(), std::ios::binary) << old;

    // Writes past 8 KB fail as on a full disk; the writer itself reports nothing.
    rlimit before{};
    ::getrlimit(RLIMIT_FSIZE, &before);
    auto* const oldSignal = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 8 * 1024;
    ::setrlimit(RLIMIT_FSIZE, &small);
    QString why;
    const bool written = renderer.writePdf(pdf, "代课通知", 0, &why);
    ::setrlimit(RLIMIT_FSIZE, &before);
    ::signal(SIGXFSZ, oldSignal);

    EXPECT_FALSE(written);
    EXPECT_TRUE(why.contains("无法保存文件")) << why.toStdString();
    std::ifstream in(pdf.toStdString(), std::ios::binary);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(in), {}) == old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"代课通知.pdf"});
}

TEST(DocumentRenderer, OfficeFacesBecomeSimplifiedChineseFaces) {
    app();
    EXPECT_EQ(screenFamily("黑体", true), "Noto Sans CJK SC");
    EXPECT_EQ(screenFamily("微软雅黑", true), "Noto Sans CJK SC");
    EXPECT_EQ(screenFamily("宋体", true), "Noto Serif CJK SC");
    EXPECT_EQ(screenFamily("仿宋_GB2312", true), "Noto Serif CJK SC");
}

}  // namespace
}  // namespace daike
