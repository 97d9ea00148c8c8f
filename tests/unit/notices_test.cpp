#include "documents/notices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "documents/docx.h"
#include "documents/notice_template.h"
#include "test_support.h"

namespace daike {
namespace {

using calendar::makeDay;

CoverRecord record(std::string substitute, int week, int weekday, int period) {
    return {"李老师", "病假", std::move(substitute), std::to_string(week), weekday, "三(2)",
            "语文",   period};
}

TEST(Notices, ValuesOfANotice) {
    const auto start = makeDay(2026, 3, 2);  // Monday of week 1
    // Week 3, Thursday: the 19th of March.
    auto n = noticeOf(record("王芳", 3, 4, 2), start, {});
    EXPECT_EQ(n.half, "上午");
    EXPECT_EQ(n.period, "2");
    ASSERT_TRUE(n.date);
    EXPECT_EQ(*n.date, makeDay(2026, 3, 19));
    auto cells = noticeCells(n);
    auto at = [&](int r, int c) {
        for (const auto& cell : cells)
            if (cell.row == r && cell.column == c) return cell.text;
        return std::string("(none)");
    };
    EXPECT_EQ(cells.size(), 10u);
    EXPECT_EQ(at(2, 1), " 王芳 ");
    EXPECT_EQ(at(3, 2), "李老师");
    EXPECT_EQ(at(3, 4), "   病假   ");
    EXPECT_EQ(at(4, 2), " 三(2) ");
    EXPECT_EQ(at(4, 4), " 19 ");
    EXPECT_EQ(at(4, 6), "上午");
    EXPECT_EQ(at(4, 8), " 2 ");
    EXPECT_EQ(at(4, 10), "  语文  ");
    EXPECT_EQ(at(7, 4), "2026年3月19日");
    EXPECT_EQ(at(5, 2), "周四");
    // The cells go in the order they were always typed.
    EXPECT_EQ(cells[7].row * 10 + cells[7].column, 44);
    EXPECT_EQ(cells[9].row * 10 + cells[9].column, 52);

    auto afternoon = noticeOf(record("王芳", 1, 1, 5), start, {});
    EXPECT_EQ(afternoon.half, "下午");
    EXPECT_EQ(afternoon.period, "2");
    // Single-digit month and day carry no leading zero.
    EXPECT_EQ(noticeCells(afternoon)[8].text, "2026年3月2日");
    EXPECT_EQ(noticeCells(afternoon)[7].text, " 2 ");
    // No numeral for a weekday outside Monday–Friday.
    EXPECT_EQ(noticeCells(noticeOf(record("王芳", 1, 6, 1), start, {}))[9].text, "周");
    EXPECT_EQ(noticeCells(noticeOf(record("王芳", 1, 0, 1), start, {}))[9].text, "周");
    // Without a first day of term (or a week) there is no date to print.
    auto undated = noticeOf(record("王芳", 3, 4, 2), std::nullopt, {});
    EXPECT_FALSE(undated.date);
    EXPECT_EQ(noticeCells(undated)[8].text, "");
    auto noWeek = record("王芳", 3, 4, 2);
    noWeek.week = "";
    EXPECT_FALSE(noticeOf(noWeek, start, {}).date);
}

TEST(Notices, TheLessonLineCarriesItsClockTimeWhenThePeriodHasOne) {
    const auto start = makeDay(2026, 3, 2);
    week::PerPeriod<periodtimes::StoredTimes> stored{};
    stored[1] = {"8:50", "9:30"};    // period 2
    stored[4] = {"14:00", ""};       // period 5: the end missing, so no time at all
    stored[5] = {"15:40", "15:00"};  // period 6: ends before it starts, not a time either
    const auto times = periodTimesOf(stored);

    auto subjectCell = [](const Notice& n) {
        for (const auto& cell : noticeCells(n))
            if (cell.row == 4 && cell.column == 10) return cell.text;
        return std::string("(none)");
    };
    const auto timed = noticeOf(record("王芳", 3, 4, 2), start, times);
    EXPECT_EQ(timed.times, "8:50–9:30");
    // "…第 2 节（8:50–9:30）语文课": the other cells do not change.
    EXPECT_EQ(subjectCell(timed), "（8:50–9:30）语文");
    auto untimedCells = noticeCells(noticeOf(record("王芳", 3, 4, 2), start, {}));
    auto timedCells = noticeCells(timed);
    ASSERT_EQ(untimedCells.size(), timedCells.size());
    for (std::size_t i = 0; i < timedCells.size(); ++i) {
        if (timedCells[i].column != 10 || timedCells[i].row != 4) {
            EXPECT_EQ(timedCells[i].text, untimedCells[i].text) << i;
        }
    }

    // A period the times leave out reads exactly as without times.
    for (int period : {1, 5, 6}) {
        const auto n = noticeOf(record("王芳", 3, 4, period), start, times);
        EXPECT_EQ(n.times, "") << period;
        EXPECT_EQ(subjectCell(n), "  语文  ") << period;
    }
}

TEST(Notices, ViewerSentenceOfARecord) {
    auto cells = viewerCells(record("王芳", 1, 2, 6));
    std::string sentence;
    for (const auto& c : cells) sentence += c;
    EXPECT_EQ(sentence, "李老师老师因病假特请王芳老师代三(2)班下午第3节语文课1节");
    EXPECT_EQ(cells[8], "下午");
    EXPECT_EQ(cells[10], "3");
}

TEST(Notices, ReadInOrderOfTheSubstitute) {
    testing::Db db;
    db->execScript(
        "INSERT INTO 临时代课记录 VALUES ('甲','病假','张三','3',4,'一(1)','语文',2),"
        "('乙','事假','李四','3',4,'一(2)','数学',5),('丙','公出','王五','3',5,'二(1)','科学',1);");
    auto rows = readSessionCover(*db);
    ASSERT_EQ(rows.size(), 3u);
    // Pinyin order: 李四, 王五, 张三.
    EXPECT_EQ(rows[0].substitute, "李四");
    EXPECT_EQ(rows[1].substitute, "王五");
    EXPECT_EQ(rows[2].substitute, "张三");
    EXPECT_EQ(rows[0].period, 5);
    EXPECT_EQ(rows[0].weekday, 4);
    EXPECT_EQ(rows[0].week, "3");
}

TEST(Notices, TheWholeDayIsReadFromTodaysRecordsAndThisVisitFromItsOwn) {
    testing::Db db;
    db->execScript(
        "INSERT INTO 当天代课记录 VALUES ('甲','病假','张三','3',4,'一(1)','语文',2),"
        "('乙','事假','李四','3',4,'一(2)','数学',5);"
        "INSERT INTO 临时代课记录 VALUES ('乙','事假','李四','3',4,'一(2)','数学',5);"
        "INSERT INTO 代课记录 VALUES ('丙','公出','王五','2',5,'二(1)','科学',1);");
    const auto today = readCover(*db, NoticeScope::Today);
    ASSERT_EQ(today.size(), 2u);
    EXPECT_EQ(today[0].substitute, "李四");
    EXPECT_EQ(today[1].substitute, "张三");
    EXPECT_EQ(readCover(*db, NoticeScope::Session), readSessionCover(*db));
    EXPECT_EQ(readCover(*db, NoticeScope::Session).size(), 1u);
}

// Every cell of every table, as text, to compare documents before and after filling.
std::vector<std::string> allCells(const WordDocument& doc, int table) {
    std::vector<std::string> out;
    for (int r = 1; r <= doc.rowCount(table); ++r)
        for (int c = 1; c <= doc.cellCount(table, r); ++c)
            out.push_back(std::to_string(r) + "," + std::to_string(c) + "=" +
                          doc.cellText(table, r, c));
    return out;
}

TEST(Notices, FillingWritesTheListedCellsOfBothTablesOfEachPageAndNothingElse) {
    const auto start = makeDay(2026, 3, 2);
    std::vector<Notice> notices;
    for (int i = 0; i < 3; ++i)
        notices.push_back(
            noticeOf(record("老师" + std::to_string(i), 3, 1 + i, 1 + 2 * i), start, {}));
    auto blank = defaultNoticeTemplate();
    ASSERT_EQ(blank.tableCount(), 2);  // one page
    auto doc = defaultNoticeTemplate();
    fillNotices(doc, notices);
    ASSERT_EQ(doc.tableCount(), 6);  // extended to three pages
    const auto empty = allCells(blank, 1);
    for (int i = 0; i < 3; ++i) {
        const auto cells = noticeCells(notices[static_cast<std::size_t>(i)]);
        for (int t : {2 * i + 1, 2 * i + 2}) {
            // The expected table: the empty one with the listed cells written.
            auto expected = empty;
            for (const auto& cell : cells)
                for (auto& e : expected)
                    if (e.starts_with(std::to_string(cell.row) + "," + std::to_string(cell.column) +
                                      "="))
                        e = std::to_string(cell.row) + "," + std::to_string(cell.column) + "=" +
                            cell.text;
            EXPECT_EQ(allCells(doc, t), expected) << "table " << t;
        }
    }
    EXPECT_EQ(doc.cellText(5, 2, 1), " 老师2 ");
    EXPECT_EQ(doc.cellText(6, 4, 6), "下午");
    EXPECT_EQ(doc.cellText(6, 1, 1), "代 课 通 知 单");
    // An empty day fills nothing.
    auto untouched = defaultNoticeTemplate();
    fillNotices(untouched, {});
    EXPECT_EQ(untouched.documentXml(), blank.documentXml());
}

TEST(Notices, TemplatesTheProgramCannotFillAreRefused) {
    const auto start = makeDay(2026, 3, 2);
    std::vector<Notice> one{noticeOf(record("王芳", 1, 1, 1), start, {})};
    const std::string open =
        R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)";
    auto noTables = WordDocument::fromXml(open + "<w:p/></w:body></w:document>", "", "t.docx");
    EXPECT_THROW(fillNotices(noTables, one), Failure);
    // Tables too small for the notice's cells.
    auto small = WordDocument::fromXml(
        open +
            "<w:tbl><w:tr><w:tc><w:p/></w:tc></w:tr></w:tbl><w:p/>"
            "<w:tbl><w:tr><w:tc><w:p/></w:tc></w:tr></w:tbl></w:body></w:document>",
        "", "t.docx");
    try {
        fillNotices(small, one);
        ADD_FAILURE();
    } catch (const Failure& e) {
        EXPECT_EQ(e.kind(), Failure::Kind::NoSuchCell);
        EXPECT_NE(std::string(e.what()).find("第1个表格没有第2行"), std::string::npos) << e.what();
    }
}

TEST(NoticeTemplate, WrittenWhenMissingAndKeptAfterwards) {
    testing::TempDir dir;
    auto first = loadNoticeTemplate(dir.path());
    EXPECT_EQ(first.origin, TemplateOrigin::WrittenDefault);
    ASSERT_TRUE(std::filesystem::exists(dir.path() / kNoticeTemplate));
    // The office's own edits are kept: the program only reads the template from then on.
    first.document.setCellText(1, 6, 1, "某某小学教导处");
    first.document.save((dir.path() / kNoticeTemplate).string());
    auto second = loadNoticeTemplate(dir.path());
    EXPECT_EQ(second.origin, TemplateOrigin::Existing);
    EXPECT_EQ(second.document.cellText(1, 6, 1), "某某小学教导处");
    // The cells the notice needs are all there, in both tables.
    for (int t : {1, 2})
        for (const auto& cell : noticeCells(Notice{}))
            EXPECT_NO_THROW(second.document.cellText(t, cell.row, cell.column));
}

TEST(NoticeTemplate, AnOldDocTemplateIsConvertedOrExplained) {
    testing::TempDir dir;
    // An office's template saved under the old name: LibreOffice (when installed) reads it
    // whatever its format and writes 输出文件.docx, which we then read as a word processor
    // wrote it; without LibreOffice the message says how to save it as .docx.
    auto office = defaultNoticeTemplate();
    office.setCellText(1, 6, 1, "某某小学教导处");
    office.setCellText(2, 4, 2, "三(2)");
    {
        std::ofstream out(dir.path() / kOldNoticeTemplate, std::ios::binary);
        out << office.toBytes();
    }
    try {
        auto t = loadNoticeTemplate(dir.path());
        EXPECT_EQ(t.origin, TemplateOrigin::ConvertedFromDoc);
        EXPECT_TRUE(std::filesystem::exists(dir.path() / kOldNoticeTemplate));
        ASSERT_EQ(t.document.tableCount(), 2);
        EXPECT_EQ(t.document.cellText(1, 6, 1), "某某小学教导处");
        EXPECT_EQ(t.document.cellText(2, 4, 2), "三(2)");
        EXPECT_EQ(t.document.cellText(1, 3, 5), "，特请您代课：");
        // And it still takes the notices in the same cells.
        const auto start = makeDay(2026, 3, 2);
        fillNotices(t.document, {noticeOf(record("王芳", 3, 4, 2), start, {})});
        EXPECT_EQ(t.document.cellText(2, 7, 4), "2026年3月19日");
        EXPECT_EQ(t.document.cellText(1, 2, 1), " 王芳 ");
    } catch (const Failure& e) {
        EXPECT_FALSE(libreOfficeInstalled()) << e.what();
        EXPECT_NE(std::string(e.what()).find("另存为"), std::string::npos) << e.what();
        EXPECT_FALSE(std::filesystem::exists(dir.path() / kNoticeTemplate));
    }
}

}  // namespace
}  // namespace daike
