// Past terms kept: 代课明细清零 and 所有数据清空 copy the term's cover into 代课存档 first.
#include "school/term_archive.h"

#include <gtest/gtest.h>

#include "school/resets.h"
#include "store/store.h"
#include "store/tables/archive.h"
#include "store/tables/covers.h"
#include "store/tables/swaps.h"
#include "test_support.h"

namespace daike {
namespace {

using calendar::makeDay;
using testing::TempStore;

CoverRecord cover(const char* week, int weekday, const char* substitute, int period = 2) {
    return {"李明", "病假", substitute, week, weekday, "三(2)", "语文", period};
}

TEST(TermArchive, TermsAreNamedBySeasonAndRecordsDatedByTheirWeek) {
    EXPECT_EQ(termName(makeDay(2024, 2, 26)), "2024年春季学期");
    EXPECT_EQ(termName(makeDay(2024, 7, 1)), "2024年春季学期");
    EXPECT_EQ(termName(makeDay(2024, 9, 2)), "2024年秋季学期");
    EXPECT_EQ(termName(makeDay(2024, 8, 26)), "2024年秋季学期");
    EXPECT_EQ(termName(std::nullopt), "未设学期首日的学期");

    const auto start = makeDay(2024, 9, 2);
    EXPECT_EQ(recordDate(start, cover("1", 1, "王芳")), "2024-09-02");
    EXPECT_EQ(recordDate(start, cover("3", 2, "王芳")), "2024-09-17");
    // Across the month and the year's end.
    EXPECT_EQ(recordDate(start, cover("18", 5, "王芳")), "2025-01-03");
    // A week typed with full-width digits is the same week.
    EXPECT_EQ(recordDate(start, cover("３", 2, "王芳")), "2024-09-17");
    // No date for what is not a teaching week or a school day, or without a first day of term.
    for (const auto& r : {cover("", 2, "王芳"), cover("0", 2, "王芳"), cover("第3周", 2, "王芳"),
                          cover("3", 6, "王芳"), cover("3", 0, "王芳")})
        EXPECT_EQ(recordDate(start, r), "") << r.week << " " << r.weekday;
    EXPECT_EQ(recordDate(std::nullopt, cover("3", 2, "王芳")), "");
}

TEST(TermArchive, ClearingTheTermKeepsItsRecordsWithTheirDatesInOrder) {
    TempStore db;
    db->exec("INSERT INTO 开学第一天 VALUES ('2024/9/2')");
    const std::vector<CoverRecord> term = {cover("3", 2, "王芳"), cover("1", 1, "赵六", 4),
                                           cover("", 3, "王芳")};
    for (const auto& r : term) covers::append(*db, CoverTable::Term, r);
    covers::append(*db, CoverTable::Today, term[0]);

    clearTermRecords(*db);
    EXPECT_EQ(db.count("代课记录"), 0);
    EXPECT_EQ(db.count("当天代课记录"), 1);  // the day is not the term's to clear
    const auto kept = archive::all(*db);
    ASSERT_EQ(kept.size(), 3u);
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(kept[i].record, term[i]);
        EXPECT_EQ(kept[i].term, "2024年秋季学期");
        EXPECT_EQ(kept[i].termStart, "2024/9/2");
    }
    EXPECT_EQ(kept[0].date, "2024-09-17");
    EXPECT_EQ(kept[1].date, "2024-09-02");
    EXPECT_EQ(kept[2].date, "");

    // Clearing again adds nothing; the next term's records join under their own name.
    clearTermRecords(*db);
    EXPECT_EQ(archive::count(*db), 3u);
    db->exec("UPDATE 开学第一天 SET 日期 = '2025/2/17'");
    covers::append(*db, CoverTable::Term, cover("2", 4, "孙七"));
    clearTermRecords(*db);
    EXPECT_EQ(archive::terms(*db), (std::vector<std::string>{"2024年秋季学期", "2025年春季学期"}));
    ASSERT_EQ(archive::ofTerm(*db, "2025年春季学期").size(), 1u);
    EXPECT_EQ(archive::ofTerm(*db, "2025年春季学期")[0].date, "2025-02-27");

    // A range reads across terms in date order; undated records are in none.
    const auto range = archive::between(*db, "2024-09-01", "2025-03-01");
    ASSERT_EQ(range.size(), 3u);
    EXPECT_EQ(range[0].date, "2024-09-02");
    EXPECT_EQ(range[1].date, "2024-09-17");
    EXPECT_EQ(range[2].date, "2025-02-27");
    EXPECT_EQ(archive::between(*db, "2024-09-03", "2024-09-16").size(), 0u);
    EXPECT_EQ(archive::between(*db, "2024-09-17", "2024-09-17").size(), 1u);
}

TEST(TermArchive, CoversOfARangeComeFromThePastTermsAndThisOne) {
    TempStore db;
    db->exec("INSERT INTO 开学第一天 VALUES ('2024/9/2')");
    covers::append(*db, CoverTable::Term, cover("3", 2, "王芳"));
    clearTermRecords(*db);
    db->exec("UPDATE 开学第一天 SET 日期 = '2025/2/17'");
    covers::append(*db, CoverTable::Term, cover("1", 3, "赵六"));
    covers::append(*db, CoverTable::Term, cover("x", 3, "孙七"));  // no date: in no range
    const auto year = coversBetween(*db, "2024-09-01", "2025-08-31");
    ASSERT_EQ(year.size(), 2u);
    EXPECT_EQ(year[0].record.substitute, "王芳");
    EXPECT_TRUE(year[0].archived);
    EXPECT_EQ(year[0].term, "2024年秋季学期");
    EXPECT_EQ(year[1].record.substitute, "赵六");
    EXPECT_FALSE(year[1].archived);
    EXPECT_EQ(year[1].date, "2025-02-19");
    EXPECT_EQ(year[1].term, "2025年春季学期");
    EXPECT_EQ(coversBetween(*db, "2025-02-01", "2025-02-28").size(), 1u);
}

TEST(TermArchive, EmptyingAllDataKeepsThePastTermsUnlessTold) {
    TempStore db;
    db->exec("INSERT INTO 开学第一天 VALUES ('2024/9/2')");
    covers::append(*db, CoverTable::Term, cover("3", 2, "王芳"));
    clearTermRecords(*db);
    covers::append(*db, CoverTable::Term, cover("4", 2, "赵六"));
    EXPECT_EQ(archiveSize(*db).archived, 1u);
    EXPECT_EQ(archiveSize(*db).term, 1u);
    // A swap of a past term and one of this term.
    SwapRecord swap;
    swap.termStart = "2024/2/26";
    swap.first = {3, 2, 1};
    swaps::add(*db, swap);
    swap.termStart = "2024/9/2";
    swaps::add(*db, swap);

    emptyAllData(*db);
    EXPECT_EQ(db.count("代课记录"), 0);
    EXPECT_EQ(archive::count(*db), 2u);
    // This term's swap named teachers and lessons that are gone; the past term's is kept.
    EXPECT_EQ(swaps::all(*db).size(), 1u);
    EXPECT_EQ(swaps::all(*db)[0].termStart, "2024/2/26");

    covers::append(*db, CoverTable::Term, cover("5", 2, "赵六"));
    emptyAllData(*db, PastTerms::Drop);
    EXPECT_EQ(db.count("代课记录"), 0);
    EXPECT_EQ(archive::count(*db), 0u);
    EXPECT_TRUE(swaps::all(*db).empty());
}

TEST(TermArchive, AFailedClearKeepsNeitherCopyNorLoss) {
    TempStore db;
    db->exec("INSERT INTO 开学第一天 VALUES ('2024/9/2')");
    covers::append(*db, CoverTable::Term, cover("3", 2, "王芳"));
    // The archive and the clearing are one user action: when the action fails after the copy,
    // the term's records are still where they were and the archive holds no half copy.
    EXPECT_THROW(db->transaction([&] {
        clearTermRecords(*db);
        throw Failure(Failure::Kind::Query, "断电");
    }),
                 Failure);
    EXPECT_EQ(db.count("代课记录"), 1);
    EXPECT_EQ(archive::count(*db), 0u);
}

}  // namespace
}  // namespace daike
