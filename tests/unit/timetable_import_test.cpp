#include "basedata/timetable_import.h"

#include <atomic>
#include <map>

#include "basedata/timetable_documents.h"
#include "store/tables/timetable.h"
#include "test_support.h"

namespace daike {
namespace {

using namespace timetable_import;

const KeyPositions k536{5, 3, 6};

std::string shown(const std::optional<Reading>& r) {
    return r ? r->subject + " / " + r->className : "失败";
}
std::string shown(const Checked<Reading>& r) {
    return r ? r->subject + " / " + r->className : r.refusal().message;
}

TEST(ImportReading, FourSamplesWithTheOfficesPositions) {
    const auto t = sampleTest(k536);
    ASSERT_TRUE(t.ok);
    ASSERT_EQ(t.results.size(), 4u);
    EXPECT_EQ(t.results[0], (Reading{"管理2", "二(3)"}));
    EXPECT_EQ(t.results[1], (Reading{"劳动与技术", "六(2)"}));
    EXPECT_EQ(t.results[2], (Reading{"科学", "六(2)"}));
    EXPECT_EQ(t.results[3], (Reading{"品德社会", "四(3)"}));
}

TEST(ImportReading, PositionsBeyondTheTextFail) {
    // "科学(六年2班)" has 8 characters: a length of 9 or a grade at 9 lies before its start.
    EXPECT_FALSE(sampleTest({9, 3, 6}).ok);
    const auto partly = sampleTest({5, 3, 9});  // the first two samples are long enough
    EXPECT_FALSE(partly.ok);
    EXPECT_EQ(partly.results.size(), 2u);
    EXPECT_EQ(shown(customTest("科学(六年2班)", {9, 3, 6})), kPositionTooLarge);
    EXPECT_EQ(shown(customTest("科学(六年2班)", {5, 9, 6})), kPositionTooLarge);
    // Exactly the whole text is still inside; a position 0 or past the right end reads "".
    EXPECT_EQ(shown(customTest("科学(六年2班)", {8, 3, 8})), " / 科(2)");
    EXPECT_EQ(shown(customTest("科学(六年2班)", {0, 0, 0})), "科学(六年2班) / ()");
    EXPECT_EQ(positionsFrom("5", " 3 ", "6.4").length, 6);
    EXPECT_EQ(positionsFrom("", "abc", "2.5").grade, 0);
    EXPECT_EQ(positionValue("abc"), 0);
    EXPECT_EQ(positionValue("2.5"), 2);
    EXPECT_EQ(positionValue("3.5"), 4);
}

TEST(ImportReading, CleaningOfWhatADocumentCellCarries) {
    EXPECT_EQ(cleanCell(" 科 学\u3000(六年2班)\r\a"), "科学(六年2班)");
    EXPECT_EQ(cleanCell("科学\v(六年\n2班)\r"), "科学(六年2班)");
    EXPECT_EQ(cleanCell("数学（３年２班）"), "数学(3年2班)");
    EXPECT_EQ(cleanCell("音乐（一年１０班）"), "音乐(一年1０班)");  // a full-width zero stays
    EXPECT_TRUE(isLessonCell("体育(一"));
    EXPECT_FALSE(isLessonCell(cleanCell(" 早 读 \r\a")));
    EXPECT_FALSE(isLessonCell(""));
}

TEST(ImportReading, TheImportTurnsADigitGradeIntoTheClassName) {
    const auto s = cleanCell("数学（３年２班）");
    EXPECT_EQ(shown(readLesson(s, k536, true)), "数学 / 三(2)");
    EXPECT_EQ(shown(readLesson(s, k536, false)), "数学 / 3(2)");
    EXPECT_EQ(shown(customTest("数学（３年２班）", k536)), "数学 / 3(2)");
    EXPECT_EQ(shown(readLesson("体育(一年1班)", k536, true)), "体育 / 一(1)");
    EXPECT_EQ(shown(readLesson("体育(7年1班)", k536, true)), "体育 / 7(1)");
    // Two lessons in one cell: the subject is all that stands left of the class information.
    EXPECT_EQ(shown(readLesson(cleanCell("语文(一年1班) 数学(一年2班)"), k536, true)),
              "语文(一年1班)数学 / 一(2)");
}

TEST(ImportReading, TwoDigitClassNumbers) {
    EXPECT_EQ(shown(readLesson("科学(六年10班)", k536, true)), "科学 / 六(10)");
    EXPECT_EQ(shown(readLesson("科学(6年12班)", k536, true)), "科学 / 六(12)");
    EXPECT_EQ(shown(readLesson("劳动与技术(六年11班)", k536, false)), "劳动与技术 / 六(11)");
    // A compact format has nothing between grade and number: 32 is grade 3, class 2.
    EXPECT_EQ(shown(readLesson("语文(32)", {3, 2, 4}, true)), "语文 / 三(2)");
    // The panel's tests read as the office's form always did.
    EXPECT_EQ(shown(customTest("科学(六年10班)", k536)), "科学( / 年(0)");
    // No room to move left: the reading stays as it was.
    EXPECT_EQ(shown(readLesson("(10班)", {5, 3, 5}, false)), " / ((0)");
}

// Documents given by the test: a teacher's table, or missing.
class FakeDocuments : public TimetableDocuments {
  public:
    std::map<std::string, CellTexts> tables;
    std::vector<std::string> asked;
    TeacherDocument read(const std::string& teacher) override {
        asked.push_back(teacher);
        const std::string path = "/学校/任课表/" + teacher + ".docx";
        auto it = tables.find(teacher);
        if (it == tables.end()) return {path, std::nullopt, path + kNotFound};
        return {path, it->second, ""};
    }
    void put(const std::string& teacher, std::map<std::pair<int, int>, std::string> cells) {
        CellTexts t;
        for (const auto& [at, text] : cells) t[at.second - 1][at.first - 1] = text;  // (星期, 节次)
        tables[teacher] = t;
    }
};

class Import : public testing::StoreTest {
  protected:
    void teachers(std::initializer_list<const char*> names) {
        for (const char* n : names) store().exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {n});
    }
    std::string timetable() {
        return column(
            "SELECT 姓名||'|'||星期||'|'||节次||'|'||课目||'|'||班级 FROM 任课情况 ORDER BY rowid");
    }
    FakeDocuments docs;
};

TEST_F(Import, ReadsEveryDocumentThenReplacesTheWholeTimetable) {
    store().exec(
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目, 标记) VALUES ('旧', 1, '一(1)', 1, "
        "'语文', 1)");
    teachers({"张 三", "李四"});
    docs.put("张 三", {{{1, 1}, "早读"},
                       {{1, 2}, "科学（六年２班）\r\a"},
                       {{3, 6}, "科 学\u3000(六年10班)"},
                       {{2, 1}, "体育(一)"}});
    docs.put("李四", {{{1, 2}, "数学(六年2班)"}, {{5, 4}, "美术(一年1班)"}});
    std::vector<int> shownProgress;
    const auto read =
        readDocuments(store(), k536, docs, [&](int p) { shownProgress.push_back(p); });
    ASSERT_TRUE(read);
    const auto& plan = *read;
    EXPECT_EQ(shownProgress, (std::vector<int>{50, 100}));
    EXPECT_EQ(plan.teachers, 2);
    EXPECT_EQ(plan.rows.size(), 4u);
    // Read, but nothing replaced until asked.
    EXPECT_EQ(timetable(), "旧|1|1|语文|一(1)");

    ASSERT_EQ(plan.doubles.size(), 1u);
    EXPECT_EQ(plan.doubles[0].className, "六(2)");
    EXPECT_EQ(plan.doubles[0].lessons, (std::vector<std::string>{"张 三 科学", "李四 数学"}));
    EXPECT_NE(plan.summary("/学校/课务导入明细.txt").find("共4节课"), std::string::npos);
    EXPECT_NE(plan.details().find("六(2)  星期一第2节：张 三 科学；李四 数学"), std::string::npos);

    bool backedUp = false;
    replaceTimetable(store(), plan, [&] {
        backedUp = true;
        EXPECT_EQ(column("SELECT count(*) FROM 任课情况"), "1");  // still the old one
    });
    EXPECT_TRUE(backedUp);
    EXPECT_EQ(timetable(),
              "张 三|1|2|科学|六(2),张 三|3|6|科学|六(10),李四|1|2|数学|六(2),李四|5|4|美术|一(1)");
    EXPECT_EQ(
        column("SELECT count(*) FROM 任课情况 WHERE 标记 IS NOT NULL OR 已代标记 IS NOT NULL"),
        "0");
}

// An import during the day: a lesson that is the same afterwards keeps today's marks, so what
// was covered this morning is not offered again; the question says what is kept and lost.
TEST_F(Import, TodaysMarksStayWithTheLessonsThatAreTheSame) {
    store().execScript(
        "INSERT INTO 任课情况 VALUES "
        "('张老师',3,'一(1)',1,'语文',1,1),"     // covered, the same after the import
        "('张老师',3,'一(1)',2,'数学',1,1),"     // covered, taught as 英语 after it
        "('张老师',3,'一(1)',3,'语文',1,NULL),"  // held back from cover
        "('李四',3,'一(2)',1,'数学',NULL,NULL),"
        "('李四',4,'一(2)',5,'美术',NULL,NULL),"  // held twice, the second copy covered
        "('李四',4,'一(2)',5,'美术',1,1);");
    teachers({"张老师", "李四"});
    docs.put("张老师",
             {{{3, 1}, "语文(一年1班)"}, {{3, 2}, "英语(一年1班)"}, {{3, 3}, "语文(一年1班)"}});
    docs.put("李四",
             {{{3, 1}, "数学(一年2班)"}, {{3, 4}, "数学(一年2班)"}, {{4, 5}, "美术(一年2班)"}});
    const auto read = readDocuments(store(), k536, docs);
    ASSERT_TRUE(read);
    const auto& plan = *read;
    EXPECT_EQ(plan.coveredKept, 2);
    ASSERT_EQ(plan.coveredGone.size(), 1u);
    const auto summary = plan.summary("");
    EXPECT_NE(summary.find("今天已代课的2节课在新课表中不变，代课标记将保留。"), std::string::npos);
    EXPECT_NE(summary.find("以下今天已代课的课已不在新课表中：张老师 星期三第2节 一(1) 数学。"),
              std::string::npos);

    // A lesson covered after the documents were read still keeps its marks: they are read
    // again when the timetable is replaced.
    store().execScript("UPDATE 任课情况 SET 标记=1, 已代标记=1 WHERE 姓名='李四' AND 节次=1");
    replaceTimetable(store(), plan, {});
    EXPECT_EQ(column("SELECT 姓名||星期||节次||课目||':'||ifnull(标记,'-')||ifnull(已代标记,'-') "
                     "FROM 任课情况 ORDER BY rowid"),
              "张老师31语文:11,张老师32英语:--,张老师33语文:1-,李四31数学:11,李四34数学:--,"
              "李四45美术:11");
}

TEST_F(Import, WithoutCoverTodayTheQuestionSaysNothingOfIt) {
    teachers({"张老师"});
    docs.put("张老师", {{{3, 1}, "语文(一年1班)"}});
    store().execScript("INSERT INTO 任课情况 VALUES ('张老师',3,'一(1)',1,'语文',1,NULL)");
    auto read = readDocuments(store(), k536, docs);
    ASSERT_TRUE(read);
    auto& plan = *read;
    EXPECT_EQ(plan.coveredKept, 0);
    EXPECT_TRUE(plan.coveredGone.empty());
    EXPECT_EQ(plan.summary("").find("今天已代课"), std::string::npos);
    EXPECT_EQ(plan.summary("").find("已不在新课表中"), std::string::npos);

    // Many lessons gone: the first five are named, then how many in all.
    for (int p = 1; p <= 6; ++p) plan.coveredGone.push_back({"王五", 2, p, "数学", "二(1)"});
    const auto summary = plan.summary("");
    EXPECT_NE(summary.find("王五 星期二第5节 二(1) 数学等共6节。"), std::string::npos);
    EXPECT_EQ(summary.find("第6节"), std::string::npos);
}

TEST(CarryTodaysMarks, MarksGoToTheFirstSameLessonWithoutMarks) {
    auto lesson = [](const char* teacher, int period, bool dealtWith, bool covered) {
        TimetableRow l;
        l.teacher = teacher;
        l.weekday = 2;
        l.cls = "一(1)";
        l.period = period;
        l.subject = "语文";
        l.dealtWith = dealtWith;
        l.covered = covered;
        return l;
    };
    const std::vector<TimetableRow> old{lesson("甲", 1, true, true), lesson("甲", 1, true, true),
                                        lesson("乙", 1, true, true), lesson("甲", 2, true, false)};
    std::vector<TimetableRow> fresh{lesson("甲", 2, false, false), lesson("甲", 1, false, false)};
    const auto gone = carryTodaysMarks(old, fresh);
    // Only one copy of 甲's period 1 is left: the second cover and 乙's are gone.
    ASSERT_EQ(gone.size(), 2u);
    EXPECT_EQ(gone[0].teacher + std::to_string(gone[0].period), "甲1");
    EXPECT_EQ(gone[1].teacher + gone[1].className + gone[1].subject, "乙一(1)语文");
    EXPECT_TRUE(fresh[1].dealtWith && fresh[1].covered);
    EXPECT_TRUE(fresh[0].dealtWith);
    EXPECT_FALSE(fresh[0].covered);
}

TEST_F(Import, MissingDocumentsAreAllNamedAndTheOldTimetableStaysWhole) {
    store().exec(
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES ('旧', 1, '一(1)', 1, '语文')");
    teachers({"一", "二", "三", "四", "五"});
    for (const char* n : {"一", "二", "四"}) docs.put(n, {{{1, 1}, "语文(一年1班)"}});
    const auto plan = readDocuments(store(), k536, docs);
    ASSERT_FALSE(plan);
    EXPECT_EQ(docs.asked.size(), 5u);  // the documents after the missing one are read too
    EXPECT_EQ(plan.refusal().message,
              "/学校/任课表/三.docx找不到该文件！\n/学校/任课表/五.docx找不到该文件！\n"
              "原有的课务情况未作任何改动。");
    EXPECT_EQ(timetable(), "旧|1|1|语文|一(1)");
}

TEST_F(Import, AFailedBackupReplacesNothing) {
    store().exec(
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES ('旧', 1, '一(1)', 1, '语文')");
    teachers({"甲"});
    docs.put("甲", {{{1, 1}, "语文(一年1班)"}});
    const auto plan = readDocuments(store(), k536, docs);
    ASSERT_TRUE(plan);
    EXPECT_THROW(replaceTimetable(store(), *plan, [] { throw std::runtime_error("磁盘已满"); }),
                 std::runtime_error);
    EXPECT_EQ(timetable(), "旧|1|1|语文|一(1)");
}

TEST_F(Import, CellsThePositionsCannotReadAreCountedNotStored) {
    teachers({"甲"});
    docs.put("甲", {{{1, 1}, "班会课"}, {{1, 2}, "兴趣小组"}, {{2, 3}, "语文(一年1班)"}});
    const auto read = readDocuments(store(), {5, 3, 6}, docs);
    ASSERT_TRUE(read);
    const auto& plan = *read;
    ASSERT_EQ(plan.skipped.size(), 1u);  // 班会课 is no lesson; 兴趣小组 is too short to read
    EXPECT_EQ(plan.skipped[0].text, "兴趣小组");
    EXPECT_NE(plan.summary("").find("有1个单元格"), std::string::npos);
    EXPECT_NE(plan.details().find("甲  星期一第2节：“兴趣小组”"), std::string::npos);
    replaceTimetable(store(), plan, {});
    EXPECT_EQ(timetable(), "甲|2|3|语文|一(1)");
}

TEST_F(Import, NoTeachersOrNoPositionsReadNoDocument) {
    EXPECT_EQ(readDocuments(store(), k536, docs).refusal().message, kNoTeachers);
    EXPECT_EQ(checkPass(store(), k536, docs).message, kNoTeachers);
    store().exec("INSERT INTO 教师姓名 (姓名) VALUES (''), (NULL)");
    EXPECT_EQ(readDocuments(store(), k536, docs).refusal().message, kNoTeachers);
    teachers({"甲"});
    const auto unset = readDocuments(store(), {5, 0, 6}, docs);
    ASSERT_FALSE(unset);
    EXPECT_EQ(unset.refusal().message, checkPass(store(), {5, 0, 6}, docs).message);
    EXPECT_EQ(checkPass(store(), {0, 3, 6}, docs).kind, CheckOutcome::Kind::BadPositions);
    EXPECT_TRUE(docs.asked.empty());
}

TEST_F(Import, NamesWithBlanksAskForTheirOwnDocument) {
    teachers({" 王 五", "赵六 "});
    docs.put(" 王 五", {{{2, 2}, "语文(二年1班)"}});
    docs.put("赵六 ", {});
    const auto plan = readDocuments(store(), k536, docs);
    EXPECT_EQ(docs.asked, (std::vector<std::string>{" 王 五", "赵六 "}));
    ASSERT_TRUE(plan);
    replaceTimetable(store(), *plan, {});
    EXPECT_EQ(timetable(), " 王 五|2|2|语文|二(1)");
}

TEST_F(Import, TheCheckPassStopsAtTheFirstLessonAndWritesNothing) {
    store().exec(
        "INSERT INTO 任课情况 (姓名, 星期, 班级, 节次, 课目) VALUES ('旧', 1, '一(1)', 1, '语文')");
    teachers({"甲", "乙", "丙"});
    docs.put("甲", {{{1, 1}, "早读"}});
    // Weekday before period: Tuesday's first period comes after Monday's sixth.
    docs.put("乙", {{{2, 1}, "数学(３年２班)"}, {{1, 6}, "科学(六年10班)"}});
    std::vector<int> progress;
    const auto c = checkPass(store(), k536, docs, [&](int p) { progress.push_back(p); });
    EXPECT_EQ(c.kind, CheckOutcome::Kind::FirstLesson);
    EXPECT_EQ(c.lesson, (Reading{"科学", "六(10)"}));
    EXPECT_EQ(c.teacher, "乙");
    EXPECT_EQ(c.weekday, 1);
    EXPECT_EQ(c.period, 6);
    EXPECT_EQ(docs.asked, (std::vector<std::string>{"甲", "乙"}));
    EXPECT_EQ(progress, (std::vector<int>{33}));
    EXPECT_EQ(timetable(), "旧|1|1|语文|一(1)");

    docs.put("乙", {{{2, 1}, "数学(３年２班)"}});
    EXPECT_EQ(checkPass(store(), k536, docs).lesson, (Reading{"数学", "3(2)"}));
}

TEST_F(Import, TheCheckPassOverDocumentsWithoutLessonsWalksThemAll) {
    teachers({"甲", "乙"});
    docs.put("甲", {{{1, 1}, "早读"}, {{5, 6}, "午 休"}});
    docs.put("乙", {});
    const auto c = checkPass(store(), k536, docs);
    EXPECT_EQ(c.kind, CheckOutcome::Kind::NoLesson);
    EXPECT_EQ(c.message, "所有课目已输入！");
    EXPECT_EQ(docs.asked.size(), 2u);
    EXPECT_EQ(column("SELECT count(*) FROM 任课情况"), "0");

    docs.tables.erase("乙");
    EXPECT_EQ(checkPass(store(), k536, docs).message, "/学校/任课表/乙.docx找不到该文件！");
    docs.put("乙", {{{1, 1}, "兴趣小组"}});
    EXPECT_EQ(checkPass(store(), k536, docs).message,
              "乙的课务表（/学校/任课表/乙.docx）星期一第1节“兴趣小组”："
              "位置信息的数值可能大于整个字符串的字符总数");
}

TEST_F(Import, DocumentsReadAheadGiveTheSameImportAndAStopGivesNothing) {
    teachers({"甲", "乙", "丙"});
    docs.put("甲", {{{1, 1}, "科学(六年2班)"}});
    docs.put("乙", {{{2, 3}, "语文(一年1班)"}});
    docs.put("丙", {});
    const auto names = importTeachers(store());
    std::atomic<bool> stop{false};
    std::vector<int> told;
    auto ahead = ReadAhead::of(docs, names, [&](int p) { told.push_back(p); }, stop);
    ASSERT_TRUE(ahead);
    EXPECT_EQ(told, (std::vector<int>{33, 67, 100}));
    const auto asked = docs.asked.size();
    const auto plan = readDocuments(store(), k536, *ahead);
    EXPECT_EQ(docs.asked.size(), asked) << "a document was read twice";
    ASSERT_TRUE(plan);
    EXPECT_EQ(plan->rows.size(), 2u);
    EXPECT_EQ(checkPass(store(), k536, *ahead).teacher, "甲");

    // Stopped after the first document: no more are read and nothing comes of it.
    docs.asked.clear();
    EXPECT_FALSE(ReadAhead::of(docs, names, [&](int) { stop = true; }, stop));
    EXPECT_EQ(docs.asked, std::vector<std::string>{"甲"});
    EXPECT_EQ(column("SELECT count(*) FROM 任课情况"), "0");
}

TEST(ImportProgress, RoundsHalvesToTheEvenPercent) {
    EXPECT_EQ(percentDone(1, 8), 12);  // 12.5
    EXPECT_EQ(percentDone(3, 8), 38);  // 37.5
    EXPECT_EQ(percentDone(1, 3), 33);
    EXPECT_EQ(percentDone(2, 3), 67);
    EXPECT_EQ(percentDone(54, 54), 100);
}

}  // namespace
}  // namespace daike
