// The slips on paper: painted into a PDF as the office saves them, every slip stays above the
// page's foot, a page of a busy day holds its slips whole, and the text read back holds every
// lesson of a full day. Only slips that reached paper or a file tell the substitutes.
#include <gtest/gtest.h>

#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

#include "../unit/test_support.h"
#include "documents/notices.h"
#include "engine/telling.h"
#include "platform/scripted_platform.h"
#include "test_application.h"
#include "ui/run_context.h"
#include "windows/main/slip_output.h"

namespace daike {
namespace {

Slip slipOf(const std::string& name, int lessons) {
    Slip s{name, "12月9日 星期三", {}, SlipKind::Whole, {}};
    for (int i = 0; i < lessons; ++i) {
        const int p = 1 + i % 6;
        s.lessons.push_back(
            {p, "第" + std::to_string(p) + "节（9:50–10:30）", "三(2)", "语文", "程静", "病假"});
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

TEST(SlipLayout, SwapsAreToldInTwoLinesEachWithinTheSlipsHeight) {
    testing::app();
    QTemporaryDir dir;
    // A slip of swaps alone, then one with a lesson and a swap: each slip alone on its page
    // reaches no lower than its height says.
    Slip alone{"李老师", "12月9日 星期三", {}, SlipKind::Whole, {}};
    alone.swaps = {"12月9日第3节 您代张老师上一(1)语文；张老师于12月11日第2节上您的一(1)数学",
                   "12月9日第5节 您代吴老师上一(1)美术；吴老师日后还课"};
    Slip both = slipOf("赵晶超", 2);
    both.swaps = {"12月10日第1节 孙老师代您上一(1)科学；您于12月11日第4节上孙老师的一(1)美术"};
    for (const Slip& slip : {alone, both}) {
        const QString path = dir.filePath(QString::fromStdString(slip.substitute) + ".pdf");
        const auto painted = paintToPdf(path, {slip});
        ASSERT_EQ(painted.pages, 1);
        const double perTenth = painted.pageHeight / static_cast<double>(SlipPageLayout::kHeight);
        EXPECT_LE(painted.lowest[0], SlipPageLayout::heightOf(slip) * perTenth + 1)
            << slip.substitute;
        QProcess text;
        text.start("pdftotext", {"-layout", path, "-"});
        ASSERT_TRUE(text.waitForFinished(30000));
        const QString read = QString::fromUtf8(text.readAllStandardOutput())
                                 .normalized(QString::NormalizationForm_KC)
                                 .remove(QChar(' '));
        EXPECT_EQ(read.contains(QStringLiteral("调课通知单")), slip.lessons.empty());
        EXPECT_TRUE(read.contains(QStringLiteral("调课(不计代课):")));
        for (const auto& swap : slip.swaps) {
            const auto [given, back] = swapSlipLines(swap);
            EXPECT_TRUE(read.contains(QString::fromStdString(given)
                                          .normalized(QString::NormalizationForm_KC)
                                          .remove(QChar(' '))))
                << given;
            EXPECT_TRUE(read.contains(QString::fromStdString(back)
                                          .normalized(QString::NormalizationForm_KC)
                                          .remove(QChar(' '))))
                << back;
        }
    }
}

TEST(SlipOutput, OnlySlipsThatReachedPaperOrAFileTellTheSubstitutes) {
    testing::app();
    testing::TempStore db;
    ScriptedPlatform desk;
    QTemporaryDir printed;
    desk.printer.setDirectory(printed.path());
    RunContext ctx{*db, desk.platform(), {}, db.dir()};
    auto lastMessage = [&] {
        return desk.boxes.shown().empty() ? QString() : desk.boxes.shown().back().text;
    };

    outputSlips(ctx, nullptr, SlipOutput::Print);
    EXPECT_EQ(lastMessage(), QString::fromUtf8(kNoCoverToday));
    EXPECT_TRUE(desk.printer.jobs().empty());

    covers::append(*db, CoverTable::Today, {"程静", "病假", "赵三", "3", 3, "三(2)", "语文", 2});
    desk.printer.setAvailable(false);
    outputSlips(ctx, nullptr, SlipOutput::Print);
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("没有找到可用的打印机，代课单没有打印。")));
    EXPECT_EQ(db.count("已通知代课"), 0);
    // A PDF that could not be written (no such folder) tells nobody either.
    desk.files.queue(QString::fromStdString((db.dir() / "无此文件夹" / "代课单.pdf").string()));
    outputSlips(ctx, nullptr, SlipOutput::Pdf);
    EXPECT_EQ(db.count("已通知代课"), 0);
    EXPECT_FALSE(telling::sinceTold(*db).toldBefore);

    desk.printer.setAvailable(true);
    const auto before = desk.boxes.shown().size();
    outputSlips(ctx, nullptr, SlipOutput::Print);
    EXPECT_EQ(desk.boxes.shown().size(), before);  // printed without a word
    ASSERT_EQ(desk.printer.jobs().size(), 1u);
    EXPECT_EQ(desk.printer.jobs()[0].name, QStringLiteral("代课单"));
    EXPECT_EQ(db.count("已通知代课"), 1);
}

}  // namespace
}  // namespace daike
