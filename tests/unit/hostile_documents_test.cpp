// Documents made to hurt the reader: nesting without end, parts that inflate to gigabytes, a
// table of a hundred thousand rows, pipes and devices in place of files, bytes that are not
// text, numbers no table can have. Each is refused with a message naming the file, and none
// takes the memory, the stack or the afternoon.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>

#include "basedata/timetable_documents.h"
#include "crafted_zip.h"
#include "documents/document_limits.h"
#include "documents/docx.h"
#include "documents/notice_template.h"
#include "documents/page_model.h"
#include "test_support.h"

namespace daike {
namespace {

namespace fs = std::filesystem;
using testing::bytesOf;
using testing::craftedPart;
using testing::craftedZip;
using testing::docxFrame;
using testing::TempDir;
using testing::writeBytes;

const std::string kOpen =
    R"(<?xml version="1.0" encoding="UTF-8"?><w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)";
const std::string kClose = "</w:body></w:document>";

std::string cell(const std::string& inner, const std::string& tcPr = "") {
    return "<w:tc>" + (tcPr.empty() ? "" : "<w:tcPr>" + tcPr + "</w:tcPr>") + "<w:p>" + inner +
           "</w:p></w:tc>";
}

std::string run(const std::string& text) {
    return "<w:r><w:t>" + text + "</w:t></w:r>";
}

// A 6 × 5 timetable whose first cell holds `first` (the rest 语文(一年1班)).
std::string timetableXml(const std::string& first, int rows = 6, const std::string& tcPr = "") {
    std::string xml = kOpen + "<w:tbl>";
    for (int r = 0; r < rows; ++r) {
        xml += "<w:tr>";
        for (int c = 0; c < 5; ++c)
            xml += r == 0 && c == 0 ? cell(first, tcPr) : cell(run("语文(一年1班)"));
        xml += "</w:tr>";
    }
    return xml + "</w:tbl>" + kClose;
}

std::string docxOf(const std::string& documentXml) {
    auto parts = docxFrame();
    parts.push_back(craftedPart("word/document.xml", documentXml));
    return craftedZip(parts);
}

// What reading 任课表/张老师.docx says: its problem, or "" with the cells.
struct Reading {
    std::string problem;
    timetable_import::CellTexts cells;
};

Reading readTimetable(const fs::path& folder) {
    timetable_import::FolderDocuments docs(folder, {"张老师"}, nullptr);
    auto d = docs.read("张老师");
    return {d.problem, d.cells.value_or(timetable_import::CellTexts{})};
}

Reading readTimetableBytes(const std::string& bytes) {
    TempDir dir;
    writeBytes(dir.path() / "张老师.docx", bytes);
    return readTimetable(dir.path());
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The peak memory, in MB, of `read` run in a child process; -1 when the child died. Under the
// address sanitizer the figure includes its shadow memory and says nothing of ours.
long peakMegabytes(const std::function<void()>& read) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            read();
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss / 1024;
}

constexpr bool kSanitized =
#if defined(__SANITIZE_ADDRESS__)
    true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    true;
#else
    false;
#endif
#else
    false;
#endif

TEST(DocumentLimits, NestingIsCountedAsTheParserWouldSeeIt) {
    using document_limits::nestsDeeperThan;
    EXPECT_FALSE(nestsDeeperThan("<a><b/><c></c></a>", 2));
    EXPECT_TRUE(nestsDeeperThan("<a><b><c/></b></a>", 1));
    // Markup inside comments, CDATA, declarations and quoted values is not markup.
    EXPECT_FALSE(nestsDeeperThan(
        "<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY x \"<b>\">]><a t=\"<b>\" u='>'>"
        "<!-- <b><b><b> --><![CDATA[<b><b>]]></a>",
        1));
    EXPECT_FALSE(nestsDeeperThan("<a x=\"/>\"></a>", 1));
    // Broken text is left to the parser, and never read past its end.
    EXPECT_FALSE(nestsDeeperThan("<a><b", 2));
    EXPECT_FALSE(nestsDeeperThan("<!-- never closed <a><a><a>", 1));

    using document_limits::invalidUtf8At;
    EXPECT_EQ(invalidUtf8At("语文(一年1班) 😀"), std::string_view::npos);
    EXPECT_EQ(invalidUtf8At("ab\xff"), 2u);
    EXPECT_EQ(invalidUtf8At("a\xc0\xaf"), 1u);         // overlong "/"
    EXPECT_EQ(invalidUtf8At("\xed\xa0\x80"), 0u);      // a surrogate
    EXPECT_EQ(invalidUtf8At("\xf4\x90\x80\x80"), 0u);  // above U+10FFFF
    EXPECT_EQ(invalidUtf8At("x\xe8\xaf"), 1u);         // cut short
}

TEST(HostileDocuments, NestingWithoutEndIsRefusedAndDeepButRealNestingReads) {
    auto nested = [](int depth, const std::string& inside) {
        std::string open, close;
        for (int i = 0; i < depth; ++i) open += "<w:x>", close += "</w:x>";
        return open + inside + close;
    };
    const auto deep = readTimetableBytes(docxOf(timetableXml(nested(100000, run("语文")))));
    EXPECT_TRUE(has(deep.problem, "嵌套")) << deep.problem;
    EXPECT_TRUE(has(deep.problem, "张老师.docx")) << deep.problem;

    const auto wrapped =
        readTimetableBytes(docxOf(timetableXml(nested(150, run("数学(二年2班)")))));
    EXPECT_EQ(wrapped.problem, "");
    EXPECT_EQ(wrapped.cells[0][0], "数学(二年2班)");

    // The notice template is read by the same reader before it is filled and printed.
    TempDir dir;
    std::string xml = defaultNoticeTemplate().documentXml();
    xml.insert(xml.find("<w:tbl>"), "<w:p>" + nested(10000, run("x")) + "</w:p>");
    writeBytes(dir.path() / kNoticeTemplate, docxOf(xml));
    try {
        loadNoticeTemplate(dir.path());
        ADD_FAILURE() << "a template nested 10000 deep was read";
    } catch (const Failure& e) {
        EXPECT_EQ(e.kind(), Failure::Kind::TooLarge);
        EXPECT_TRUE(has(e.what(), kNoticeTemplate)) << e.what();
    }
}

TEST(HostileDocuments, SizesAreRefusedBeforeTheyTakeTheMemory) {
    TempDir dir;
    const auto file = dir.path() / "张老师.docx";
    const auto valid = timetableXml(run("语文(一年1班)"));

    // A zip bomb: sixteen parts of 64 MB of zeros each, 1 GB in all, in a few hundred KB.
    {
        auto parts = docxFrame();
        parts.push_back(craftedPart("word/document.xml", valid));
        const auto zeros = craftedPart("word/media/image.bin", "", '\0', 64u << 20);
        for (int i = 0; i < 16; ++i) {
            parts.push_back(zeros);
            parts.back().name = "word/media/image" + std::to_string(i) + ".bin";
        }
        writeBytes(file, craftedZip(parts));
        EXPECT_LT(fs::file_size(file), 2u << 20);
        const auto r = readTimetable(dir.path());
        EXPECT_TRUE(has(r.problem, "16 MB")) << r.problem;
        const long peak = peakMegabytes([&] { readTimetable(dir.path()); });
        EXPECT_GE(peak, 0);
        RecordProperty("zip_bomb_peak_mb", static_cast<int>(peak));
        if (!kSanitized) {
            EXPECT_LT(peak, 300) << "MB for the zip bomb";
        }
    }
    // One cell of 100 MB.
    {
        auto parts = docxFrame();
        const auto at = valid.find("语文(一年1班)");
        parts.push_back(craftedPart("word/document.xml", valid.substr(0, at), 'x', 100u << 20,
                                    valid.substr(at)));
        writeBytes(file, craftedZip(parts));
        EXPECT_LT(fs::file_size(file), 1u << 20);
        const auto r = readTimetable(dir.path());
        EXPECT_TRUE(has(r.problem, "document.xml")) << r.problem;
        const long peak = peakMegabytes([&] { readTimetable(dir.path()); });
        EXPECT_GE(peak, 0);
        RecordProperty("big_cell_peak_mb", static_cast<int>(peak));
        if (!kSanitized) {
            EXPECT_LT(peak, 300) << "MB for the 100 MB cell";
        }
    }
    // A cell longer than any lesson, small enough to pass every size of the file.
    {
        const auto r = readTimetableBytes(docxOf(timetableXml(run(std::string(300, 'x')))));
        EXPECT_TRUE(has(r.problem, "第1行第1列")) << r.problem;
        EXPECT_TRUE(has(r.problem, "200")) << r.problem;
    }
    // Thousands of parts.
    {
        auto parts = docxFrame();
        parts.push_back(craftedPart("word/document.xml", valid));
        for (int i = 0; i < 3000; ++i) parts.push_back(craftedPart("p/" + std::to_string(i), "x"));
        const auto r = readTimetableBytes(craftedZip(parts));
        EXPECT_TRUE(has(r.problem, "3003个部分")) << r.problem;
    }
    // A directory that claims less than the part inflates to.
    {
        auto parts = docxFrame();
        parts.push_back(craftedPart("word/document.xml", valid));
        const auto r = readTimetableBytes(craftedZip(parts, 100));
        EXPECT_NE(r.problem, "");
        EXPECT_TRUE(has(r.problem, "张老师.docx")) << r.problem;
    }
    // A file far too large to be a timetable is not read at all.
    {
        writeBytes(file, "PK");
        fs::resize_file(file, 40u << 20);  // sparse: takes no disk
        const auto r = readTimetable(dir.path());
        EXPECT_TRUE(has(r.problem, "32 MB")) << r.problem;
    }
}

TEST(HostileDocuments, ATableOfThousandsOfRowsIsRefusedAtOnce) {
    for (int rows : {30000, 100000}) {
        // Rows as short as rows can be: 100000 of them take 3 MB.
        std::string xml = kOpen + "<w:tbl>";
        for (int i = 0; i < rows; ++i) xml += "<w:tr><w:tc><w:p/></w:tc></w:tr>";
        xml += "</w:tbl>" + kClose;
        const auto r = readTimetableBytes(docxOf(xml));
        EXPECT_TRUE(has(r.problem, std::to_string(rows) + "行")) << r.problem;
    }
    // The table of the right size still reads, and one row too many is still named exactly.
    EXPECT_EQ(readTimetableBytes(docxOf(timetableXml(run("语文")))).problem, "");
    EXPECT_TRUE(has(readTimetableBytes(docxOf(timetableXml(run("语文"), 7))).problem, "7行5列"));
}

TEST(HostileDocuments, OnlyRegularFilesInTheFolderAreOpened) {
    TempDir dir, elsewhere;
    const auto file = dir.path() / "张老师.docx";
    const auto good = docxOf(timetableXml(run("语文(一年1班)")));

    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    auto r = readTimetable(dir.path());
    EXPECT_TRUE(has(r.problem, "不是普通文件")) << r.problem;
    fs::remove(file);

    fs::create_symlink("/dev/zero", file);
    r = readTimetable(dir.path());
    EXPECT_NE(r.problem, "");
    fs::remove(file);

    writeBytes(elsewhere.path() / "other.docx", good);
    fs::create_symlink(elsewhere.path() / "other.docx", file);
    r = readTimetable(dir.path());
    EXPECT_TRUE(has(r.problem, "链接")) << r.problem;
    fs::remove(file);

    writeBytes(dir.path() / "张老师-本学期.docx", good);
    fs::create_symlink("张老师-本学期.docx", file);
    r = readTimetable(dir.path());
    EXPECT_EQ(r.problem, "");
    EXPECT_EQ(r.cells[0][0], "语文(一年1班)");
    fs::remove(file);

    fs::create_directory(file);
    EXPECT_NE(readTimetable(dir.path()).problem, "");
    fs::remove(file);

    // The notice template as a pipe: refused, not waited on.
    ASSERT_EQ(::mkfifo((dir.path() / kNoticeTemplate).c_str(), 0600), 0);
    EXPECT_THROW(loadNoticeTemplate(dir.path()), Failure);
}

TEST(HostileDocuments, TextAndNumbersNoRealDocumentHasAreNamed) {
    // Bytes that are not UTF-8 in a cell are refused, not stored.
    auto r = readTimetableBytes(docxOf(timetableXml(run("语文\xff\xfe(一年1班)"))));
    EXPECT_TRUE(has(r.problem, "UTF-8")) << r.problem;
    r = readTimetableBytes(docxOf(timetableXml(run("\xed\xa0\x80"))));
    EXPECT_TRUE(has(r.problem, "UTF-8")) << r.problem;

    // An encrypted .docx is an old-format compound file holding an "EncryptedPackage".
    std::string compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    compound += std::string(512, '\0');
    std::string encrypted = compound;
    for (char c : std::string("EncryptedPackage")) encrypted += {c, '\0'};
    r = readTimetableBytes(encrypted);
    EXPECT_TRUE(has(r.problem, "密码")) << r.problem;
    r = readTimetableBytes(compound);
    EXPECT_TRUE(has(r.problem, ".doc")) << r.problem;
    EXPECT_FALSE(has(r.problem, "密码")) << r.problem;

    // A span no table can have is counted as the widest a word processor allows.
    for (const char* span : {"2147483647", "99999999999999999999", "-5"}) {
        r = readTimetableBytes(docxOf(
            timetableXml(run("语文"), 6, std::string("<w:gridSpan w:val=\"") + span + "\"/>")));
        EXPECT_FALSE(has(r.problem, "2147483")) << r.problem;
        EXPECT_FALSE(has(r.problem, "行-")) << r.problem;
    }
    r = readTimetableBytes(
        docxOf(timetableXml(run("语文"), 6, "<w:gridSpan w:val=\"2147483647\"/>")));
    EXPECT_TRUE(has(r.problem, "6行68列")) << r.problem;
}

}  // namespace
}  // namespace daike
