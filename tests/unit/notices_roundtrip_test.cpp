// The office opens the template and the filled notices in its own word processor: LibreOffice
// (when installed) must read both and show the filled values.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>

#include "documents/docx.h"
#include "documents/notice_template.h"
#include "documents/notices.h"
#include "test_support.h"

namespace daike {
namespace {

std::string pdfText(const std::filesystem::path& pdf) {
    std::string out;
    const std::string cmd = "pdftotext -layout '" + pdf.string() + "' - 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(cmd.c_str(), "r"), pclose);
    if (!pipe) return out;
    std::array<char, 4096> buf;
    while (auto n = fread(buf.data(), 1, buf.size(), pipe.get())) out.append(buf.data(), n);
    std::erase(out, ' ');
    return out;
}

TEST(NoticesRoundTrip, LibreOfficeOpensTheTemplateAndTheFilledNotices) {
    if (!libreOfficeInstalled()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    testing::TempDir dir;
    defaultNoticeTemplate().save((dir.path() / "template.docx").string());
    auto filled = defaultNoticeTemplate();
    std::vector<Notice> notices;
    notices.push_back(noticeOf({"李明", "病假", "王芳", "3", 4, "三(2)", "语文", 2},
                               calendar::makeDay(2026, 3, 2), {}));
    notices.push_back(noticeOf({"赵强", "事假", "陈静", "3", 5, "五(1)", "数学", 5},
                               calendar::makeDay(2026, 3, 2), {}));
    fillNotices(filled, notices);
    filled.save((dir.path() / "filled.docx").string());

    ASSERT_TRUE(convertWithLibreOffice({dir.path() / "template.docx", dir.path() / "filled.docx"},
                                       dir.path(), "pdf"));
    const std::string blank = pdfText(dir.path() / "template.pdf");
    EXPECT_NE(blank.find("特请您代课"), std::string::npos) << blank;
    const std::string text = pdfText(dir.path() / "filled.pdf");
    if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_NE(text.find("王芳"), std::string::npos) << text;
    EXPECT_NE(text.find("2026年3月19日"), std::string::npos) << text;
    EXPECT_NE(text.find("2026年3月20日"), std::string::npos) << text;
    EXPECT_NE(text.find("五(1)"), std::string::npos) << text;
    // Two notices, two pages: the page break of the repeated page holds in LibreOffice too.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2) << text;
}

}  // namespace
}  // namespace daike
