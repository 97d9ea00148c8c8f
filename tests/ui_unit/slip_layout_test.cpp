// The slips on paper: painted into a PDF as the office saves them, every slip stays above the
// page's foot, a page of a busy day holds its slips whole, and the text read back holds every
// lesson of a full day.
#include <gtest/gtest.h>

#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include "test_application.h"
#include "windows/main/slip_output.h"

namespace daike {
namespace {

Slip slipOf(const std::string& name, int lessons) {
    Slip s{name, "12月9日 星期三", {}, SlipKind::Whole};
    for (int i = 0; i < lessons; ++i) {
        const int p = 1 + i % 6;
        s.lessons.push_back({p, "第" + std::to_string(p) + "节（9:50–10:30）", "三(2)", "语文",
                             "程静", "病假"});
    }
    return s;
}

SlipPainting paintToPdf(const QString& path, const std::vector<Slip>& slips) {
    QPdfWriter pdf(path);
    pdf.setPageLayout(slipPageLayout());
    pdf.setResolution(300);
    return paintSlips(pdf, slips);
}

TEST(SlipLayout, ABusyDaysSlipsStayWholeAboveThePageFoot) {
    testing::app();
    QTemporaryDir dir;
    // A substitute with a whole day of six lessons among twenty-four others: thirty covers.
    std::vector<Slip> slips{slipOf("赵晶超", 6)};
    for (int i = 0; i < 24; ++i) slips.push_back(slipOf("教师" + std::to_string(i), 1));
    // One more that fits no page (a day's records run past six) is drawn shrunk to its page.
    slips.push_back(slipOf("王芳", 40));
    const QString path = dir.filePath("slips.pdf");
    const auto painted = paintToPdf(path, slips);
    const auto pages = SlipPageLayout::pages(slips);
    ASSERT_EQ(painted.pages, static_cast<int>(pages.size()));
    ASSERT_EQ(painted.lowest.size(), pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_GT(painted.lowest[i], 0) << "page " << i + 1;
        EXPECT_LE(painted.lowest[i], painted.pageHeight) << "page " << i + 1;
    }
    // A page of four one-lesson slips uses most of the sheet: the slips are not squeezed into
    // its top.
    EXPECT_GT(painted.lowest[1], 0.9 * painted.pageHeight);

    QProcess text;
    text.start("pdftotext", {"-layout", "-f", "1", "-l", "1", path, "-"});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString first = QString::fromUtf8(text.readAllStandardOutput())
                              .normalized(QString::NormalizationForm_KC)
                              .remove(QChar(' '));
    EXPECT_TRUE(first.contains(QStringLiteral("赵晶超老师")));
    for (int p = 1; p <= 6; ++p)
        EXPECT_TRUE(first.contains(QStringLiteral("第%1节(9:50").arg(p))) << p;
}

}  // namespace
}  // namespace daike
