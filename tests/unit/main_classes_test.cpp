// The class lists of 教师姓名 and the main-classes window's editing: one- and two-digit class
// numbers, ticking in any order, cleaning, and storing one teacher.
#include "basedata/main_classes.h"

#include "basedata/class_list.h"
#include "engine/ranking.h"
#include "school/resets.h"
#include "test_support.h"

namespace daike {
namespace {

TEST(ClassListText, AddAndRemoveKeepOneAndTwoDigitClassesApart) {
    using classlist::add;
    using classlist::remove;
    EXPECT_EQ(add("", "一(1)"), "一(1)");
    EXPECT_EQ(add("一(1)", "一(3)"), "一(1),一(3)");
    EXPECT_EQ(remove("一(1),一(3)", "一(1)"), "一(3)");
    EXPECT_EQ(remove("一(1),一(3)", "一(3)"), "一(1)");
    EXPECT_EQ(remove("一(1)", "一(1)"), "");
    // 一(10) after 一(1), taken out in either order.
    EXPECT_EQ(add("一(1)", "一(10)"), "一(1),一(10)");
    EXPECT_EQ(remove("一(1),一(10)", "一(1)"), "一(10)");
    EXPECT_EQ(remove("一(1),一(10)", "一(10)"), "一(1)");
    EXPECT_EQ(remove("一(10),一(1),一(2)", "一(1)"), "一(10),一(2)");
    // A class listed already is not added twice; one not listed is not removed from another.
    EXPECT_EQ(add("一(1),一(10)", "一(10)"), "一(1),一(10)");
    EXPECT_EQ(add("一(10)", "一(1)"), "一(10),一(1)");
    EXPECT_EQ(remove("一(10),一(12)", "一(1)"), "一(10),一(12)");
    EXPECT_EQ(remove("一(1,一(2)", "一(1)"), "一(1,一(2)");
    // Text typed by hand: a comma left at the end is not doubled, and pieces around the class
    // taken out stay as typed.
    EXPECT_EQ(add("一(1),", "一(2)"), "一(1),一(2)");
    EXPECT_EQ(remove("一(2), 三(1),一(3)", "三(1)"), "一(2), 三(1),一(3)");
    EXPECT_EQ(remove("一(2),三(1) ,一(3)", "一(3)"), "一(2),三(1) ");
}

TEST(ClassListText, EntriesAndContains) {
    EXPECT_EQ(classlist::entries(",一(1),,一(10),"), (std::vector<std::string>{"一(1)", "一(10)"}));
    EXPECT_TRUE(classlist::entries("").empty());
    EXPECT_TRUE(classlist::contains("一(10),一(1)", "一(1)"));
    EXPECT_FALSE(classlist::contains("一(10),一(11)", "一(1)"));
    EXPECT_FALSE(classlist::contains("一(1)", ""));
    EXPECT_FALSE(classlist::contains(",", ""));
}

TEST(ClassListText, CleaningMakesTheStoredForm) {
    using classlist::clean;
    EXPECT_EQ(clean("三（２）"), "三(2)");
    // A comma typed in Chinese input separates classes as well.
    EXPECT_EQ(clean("三（１２）， 一(1)"), "三(12),一(1)");
    EXPECT_EQ(clean(" 一(1) ,\u3000一(10),,"), "一(1),一(10)");
    // A full-width zero is left as it is.
    EXPECT_EQ(clean("一(１０)"), "一(1０)");
    EXPECT_EQ(clean("  "), "");
}

TEST(MainClassesEditor, TickingFollowsTheChosenSubject) {
    mainclasses::Editor e;
    e.load({"甲", {"一(1)", "一(1),一(10)", "", "", ""}});
    const auto unchosen = e.tick("一(2)", true);
    ASSERT_FALSE(unchosen);
    EXPECT_EQ(unchosen.refusal().message, "请选择修改任科班级的相应学科！");
    EXPECT_FALSE(e.changed());
    EXPECT_FALSE(e.ticked("一(1)"));

    e.choose(1);  // 语文
    EXPECT_TRUE(e.ticked("一(1)"));
    EXPECT_TRUE(e.ticked("一(10)"));
    EXPECT_FALSE(e.ticked("一(2)"));
    // Unticking 一(1) leaves 一(10) ticked, and the other way round.
    (void)e.tick("一(1)", false);
    EXPECT_EQ(e.shown().values[1], "一(10)");
    EXPECT_TRUE(e.ticked("一(10)"));
    EXPECT_TRUE(e.changed());
    (void)e.tick("一(1)", true);
    (void)e.tick("一(10)", false);
    EXPECT_EQ(e.shown().values[1], "一(1)");
    EXPECT_TRUE(e.ticked("一(1)"));
    EXPECT_FALSE(e.ticked("一(10)"));
    // Back to what was loaded, in another order: still a change of the stored text.
    (void)e.tick("一(10)", true);
    EXPECT_EQ(e.shown().values[1], "一(1),一(10)");
    EXPECT_FALSE(e.changed());

    // Another subject: its own list; the head-teacher box takes classes the same way.
    e.choose(0);
    EXPECT_TRUE(e.ticked("一(1)"));
    EXPECT_FALSE(e.ticked("一(10)"));
    (void)e.tick("一(1)", false);
    EXPECT_EQ(e.shown().values[0], "");
    // A name change alone is no change of the five values.
    mainclasses::Editor renamed;
    renamed.load({"甲", {"", "", "", "", ""}});
    renamed.setName("甲乙");
    EXPECT_FALSE(renamed.changed());
}

using MainClassesStore = testing::StoreTest;

TEST_F(MainClassesStore, ReadsClassesByGradeAndTeachersInStoredOrder) {
    store().execScript(
        "INSERT INTO 班级 VALUES ('一(1)'),('二(1)'),('一(10)'),('一(2)'),('坏'),('六(1)');"
        "INSERT INTO 教师姓名 VALUES ('乙','一(1)','一(1),一(10)',NULL,NULL,'二(1)'),"
        "('甲',NULL,NULL,NULL,NULL,NULL)");
    const auto grades = mainclasses::classesByGrade(store());
    EXPECT_EQ(grades[0], (std::vector<std::string>{"一(1)", "一(10)", "一(2)"}));
    EXPECT_EQ(grades[1], (std::vector<std::string>{"二(1)"}));
    EXPECT_TRUE(grades[2].empty());
    EXPECT_EQ(grades[5], (std::vector<std::string>{"六(1)"}));
    const auto t = mainclasses::readTeachers(store());
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].name, "乙");
    EXPECT_EQ(t[0].values[1], "一(1),一(10)");
    EXPECT_EQ(t[0].values[4], "二(1)");
    EXPECT_EQ(t[1].name, "甲");
    EXPECT_EQ(t[1].values[0], "");
}

TEST_F(MainClassesStore, StoringCleansEveryValueAndFindsTheRowUnderTheLoadedName) {
    store().execScript(
        "INSERT INTO 教师姓名 VALUES ('甲',NULL,NULL,NULL,NULL,NULL),"
        "('乙','一(1)','一(1)','一(1)','一(1)','一(1)'),('丙',NULL,NULL,NULL,NULL,NULL)");
    mainclasses::Teacher shown{" 乙 乙", {"三（２）", "一(1),一(10),", "", " ", "二（１）"}};
    EXPECT_TRUE(mainclasses::storeTeacher(store(), 2, "乙", shown));
    EXPECT_EQ(column("SELECT 姓名||'|'||班主任||'|'||语文||'|'||ifnull(数学,'NULL')||'|'||"
                     "ifnull(英语,'NULL')||'|'||科学 FROM 教师姓名 WHERE rowid=2"),
              "乙|三(2)|一(1),一(10)|NULL|NULL|二(1)");
    EXPECT_EQ(column("SELECT 姓名 FROM 教师姓名 ORDER BY rowid"), "甲,乙,丙");

    // The teacher moved to another place (the list was changed meanwhile): found by name.
    store().execScript("DELETE FROM 教师姓名 WHERE 姓名='甲'");
    shown = {"丙", {"一(3)", "", "", "", ""}};
    EXPECT_TRUE(mainclasses::storeTeacher(store(), 3, "丙", shown));
    EXPECT_EQ(column("SELECT 班主任 FROM 教师姓名 WHERE 姓名='丙'"), "一(3)");
    // A name box emptied keeps the teacher's name; a teacher no longer listed is not stored.
    shown = {" ", {"一(4)", "", "", "", ""}};
    EXPECT_TRUE(mainclasses::storeTeacher(store(), 2, "丙", shown));
    EXPECT_EQ(column("SELECT 姓名||班主任 FROM 教师姓名 ORDER BY rowid"), "乙三(2),丙一(4)");
    const auto gone = mainclasses::storeTeacher(store(), 1, "丁", shown);
    ASSERT_FALSE(gone);
    EXPECT_EQ(gone.refusal().message, "教师“丁”已不在教师名单中，改动未能保存！");
    EXPECT_EQ(column("SELECT count(*) FROM 教师姓名"), "2");
}

// Blanks inside a name (a full-width one is common) are the teacher's own: his lessons and
// tallies carry the name as stored, so storing his classes must not clean it.
TEST_F(MainClassesStore, StoringClassesNeverChangesTheName) {
    store().execScript(
        "INSERT INTO 教师姓名 VALUES ('张　三',NULL,NULL,NULL,NULL,NULL),"
        "(' 李 四 ',NULL,NULL,NULL,NULL,NULL);"
        "INSERT INTO 任课情况 (姓名,星期,班级,节次,课目) VALUES ('张　三',3,'一(2)',1,'数学')");
    EXPECT_TRUE(
        mainclasses::storeTeacher(store(), 1, "张　三", {"张　三", {"", "", "一（２）", "", ""}}));
    EXPECT_TRUE(
        mainclasses::storeTeacher(store(), 2, " 李 四 ", {"王五", {"一(1)", "", "", "", ""}}));
    EXPECT_EQ(column("SELECT 姓名||'|'||ifnull(班主任,'')||'|'||ifnull(数学,'') FROM 教师姓名 "
                     "ORDER BY rowid"),
              "张　三||一(2), 李 四 |一(1)|");
    // The free-teacher build still sees his lesson: he is not free in Wednesday's period 1.
    buildFreeTeachers(store());
    EXPECT_EQ(column("SELECT count(*) FROM 空课教师表 WHERE \"31\"='张　三'"), "0");
    EXPECT_EQ(column("SELECT count(*) FROM 空课教师表 WHERE \"32\"='张　三'"), "1");
}

TEST_F(MainClassesStore, TwoTeachersOfOneNameStoreTheOneOnScreen) {
    store().execScript(
        "INSERT INTO 教师姓名 VALUES ('甲',NULL,NULL,NULL,NULL,NULL),"
        "('甲',NULL,NULL,NULL,NULL,NULL)");
    (void)mainclasses::storeTeacher(store(), 2, "甲", {"甲", {"一(2)", "", "", "", ""}});
    EXPECT_EQ(column("SELECT ifnull(班主任,'-') FROM 教师姓名 ORDER BY rowid"), "-,一(2)");
}

// What the window stores is what the next ranking reads: a teacher given 一(10)'s 数学 comes
// before the others for 一(10), but not for 一(1).
TEST_F(MainClassesStore, StoredMainClassesOrderTheNextRanking) {
    store().execScript(
        "INSERT INTO 教师姓名 (姓名) VALUES ('甲'),('乙'),('丙');"
        "INSERT INTO 任课情况 (姓名,星期,班级,节次,课目) VALUES "
        "('甲',1,'六(1)',2,'美术'),('甲',1,'六(1)',3,'美术'),('乙',1,'六(1)',3,'美术')");
    buildFreeTeachers(store());
    countDailyLessons(store());
    resetCoverCounts(store());
    auto order = [&](const char* cls) {
        std::string out;
        for (const auto& c : ranking::rank(store(), "1", 4, cls).rows) out += c.name + c.affinity;
        return out;
    };
    EXPECT_EQ(order("一(10)"), "丙乙甲");
    (void)mainclasses::storeTeacher(store(), 1, "甲", {"甲", {"", "", "一(1０),一(10)", "", ""}});
    (void)mainclasses::storeTeacher(store(), 2, "乙", {"乙", {"一(10)", "", "", "", ""}});
    EXPECT_EQ(order("一(10)"), "乙班甲数丙");
    EXPECT_EQ(order("一(1)"), "丙乙甲");
}

}  // namespace
}  // namespace daike
