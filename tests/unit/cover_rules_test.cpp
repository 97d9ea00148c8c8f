// 代课规则 in the file: stored and read back, refused choices writing nothing, a file or a backup
// from before the rules taking the defaults and keeping its data, 所有数据清空 keeping them.
#include "school/cover_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "school/resets.h"
#include "store/changes.h"
#include "store/layout_check.h"
#include "store/safekeeping.h"
#include "store/schema.h"
#include "store/week.h"
#include "test_support.h"

namespace daike {
namespace {

namespace fs = std::filesystem;
using testing::Db;
using testing::TempDir;

// What a file of the program before the rules looked like.
constexpr const char* kLayoutThree =
    "DROP TABLE 代课规则; DROP TABLE 程序版本; DROP TABLE 代课存档; DROP TABLE 代课费标准; DROP "
    "TABLE 修改记录; DROP TABLE 调课记录; DROP TABLE 调课设置; DROP TABLE 已通知调课; PRAGMA "
    "user_version = 3;";

TEST(CoverRulesSetting, NothingStoredIsThePlainRules) {
    Db db;
    EXPECT_TRUE(rules::load(*db).plain());
    EXPECT_EQ(db.one("SELECT count(*) FROM 代课规则"), "0");
}

TEST(CoverRulesSetting, WhatIsSavedIsReadBackAsOneRowAndAnnounced) {
    Db db;
    std::vector<Change> heard;
    ChangeNotifier changes;
    changes.listen([&](Change c) { heard.push_back(c); });
    db->announceTo(&changes);

    const rules::CoverRules chosen{2, 5, false, true};
    ASSERT_TRUE(rules::save(*db, chosen));
    EXPECT_EQ(rules::load(*db), chosen);
    EXPECT_EQ(db.all("SELECT * FROM 代课规则"), "2|5|0|1");
    EXPECT_EQ(heard, std::vector<Change>{Change::BaseData});

    // Saved again with no limits: still one row, the limits Null.
    const rules::CoverRules open{std::nullopt, std::nullopt, true, false};
    ASSERT_TRUE(rules::save(*db, open));
    EXPECT_EQ(db.all("SELECT * FROM 代课规则"), "NULL|NULL|1|0");
    EXPECT_TRUE(rules::load(*db).plain());

    // The limits at their ends are kept.
    ASSERT_TRUE(rules::save(*db, {week::kPeriods, week::kSlots, true, false}));
    EXPECT_EQ(rules::load(*db).perDay, week::kPeriods);
    EXPECT_EQ(rules::load(*db).perWeek, week::kSlots);
    db->announceTo(nullptr);
}

TEST(CoverRulesSetting, RefusedChoicesWriteNothing) {
    Db db;
    const rules::CoverRules kept{3, 10, true, true};
    ASSERT_TRUE(rules::save(*db, kept));
    const struct {
        rules::CoverRules chosen;
        const char* said;
    } cases[] = {
        {{0, std::nullopt, true, false}, "每日上限应为1至6节，或选“不限”。"},
        {{week::kPeriods + 1, 20, true, false}, "每日上限应为1至6节，或选“不限”。"},
        {{std::nullopt, 0, true, false}, "每周上限应为1至30节，或选“不限”。"},
        {{2, week::kSlots + 1, true, false}, "每周上限应为1至30节，或选“不限”。"},
        {{2, 1, false, false}, "每周上限不能少于每日上限。"},
    };
    for (const auto& c : cases) {
        const auto refused = rules::save(*db, c.chosen);
        ASSERT_FALSE(refused) << c.said;
        EXPECT_EQ(refused.refusal().message, c.said);
        EXPECT_EQ(rules::load(*db), kept) << c.said;
    }
    // A week's limit equal to the day's is not below it.
    EXPECT_TRUE(rules::save(*db, {4, 4, true, false}));
}

TEST(CoverRulesSetting, ALimitNoSettingCouldStoreLimitsNothing) {
    Db db;
    db->exec("INSERT INTO 代课规则 VALUES (9, -1, 0, NULL)");
    const auto read = rules::load(*db);
    EXPECT_EQ(read.perDay, std::nullopt);
    EXPECT_EQ(read.perWeek, std::nullopt);
    EXPECT_FALSE(read.inARow);
    EXPECT_FALSE(read.balanced);
}

TEST(CoverRulesSetting, EmptyingAllDataKeepsTheRules) {
    Db db;
    ASSERT_TRUE(rules::save(*db, {2, 5, false, false}));
    emptyAllData(*db);
    EXPECT_EQ(rules::load(*db), (rules::CoverRules{2, 5, false, false}));
}

// 调课's settings are saved with the rules at the window's 确定: both or neither.
TEST(CoverRulesSetting, SwapSettingsAreSavedWithTheRulesOrNotAtAll) {
    Db db;
    EXPECT_EQ(rules::swapSettings(*db).days, 5);
    EXPECT_FALSE(rules::swapSettings(*db).preferSwaps);

    ASSERT_TRUE(rules::save(*db, {2, 5, true, false}, {rules::kMostSwapDays, true}));
    EXPECT_EQ(db.all("SELECT * FROM 代课规则"), "2|5|1|0");
    EXPECT_EQ(db.all("SELECT * FROM 调课设置"), "20|1");

    // Days out of range, or rules refused: neither table changes.
    for (int days : {0, rules::kMostSwapDays + 1}) {
        const auto refused = rules::save(*db, {1, 1, false, true}, {days, false});
        ASSERT_FALSE(refused);
        EXPECT_EQ(refused.refusal().message, "调课向后找的上课日应为1至20天。");
    }
    EXPECT_FALSE(rules::save(*db, {3, 2, true, false}, {7, false}));
    EXPECT_EQ(db.all("SELECT * FROM 代课规则"), "2|5|1|0");
    EXPECT_EQ(db.all("SELECT * FROM 调课设置"), "20|1");

    // A number of days no setting could store (a file mended by hand) is the default; the
    // settings outlast 所有数据清空 as the rules do.
    db->exec("UPDATE 调课设置 SET 天数 = 99");
    EXPECT_EQ(rules::swapSettings(*db).days, 5);
    EXPECT_TRUE(rules::swapSettings(*db).preferSwaps);
    ASSERT_TRUE(rules::save(*db, {2, 5, true, false}, {3, true}));
    emptyAllData(*db);
    EXPECT_EQ(rules::swapSettings(*db).days, 3);
    EXPECT_EQ(db.one("SELECT count(*) FROM 调课设置"), "1");
}

TEST(CoverRulesLayout, AFileOfLayoutThreeGainsTheTableAndKeepsItsData) {
    TempDir dir;
    {
        auto s = Store::open(dir.path());
        s->exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {"王芳"});
        s->exec("INSERT INTO 代课酬金 VALUES (25)");
        s->exec("INSERT INTO 作息时间 (\"1开始\", \"1结束\") VALUES ('8:00', '8:40')");
        s->execScript(kLayoutThree);
    }
    auto s = Store::open(dir.path());
    EXPECT_EQ(s->select("PRAGMA user_version")[0][0].toInt(), schema::kVersion);
    EXPECT_EQ(layoutDifference(*s, schema::kVersion), "");
    EXPECT_TRUE(rules::load(*s).plain());
    EXPECT_EQ(s->select("SELECT 姓名 FROM 教师姓名")[0][0].text(), "王芳");
    EXPECT_EQ(s->select("SELECT 每节金额 FROM 代课酬金")[0][0].toInt(), 25);
    EXPECT_EQ(s->select("SELECT \"1结束\" FROM 作息时间")[0][0].text(), "8:40");
    ASSERT_TRUE(rules::save(*s, {1, 2, true, true}));
    EXPECT_EQ(rules::load(*s), (rules::CoverRules{1, 2, true, true}));
}

TEST(CoverRulesLayout, ABackupOfLayoutThreeIsRestoredWithTheDefaults) {
    TempDir dir, elsewhere;
    auto s = Store::open(dir.path());
    s->exec("INSERT INTO 教师姓名 (姓名) VALUES (?)", {"李明"});
    const auto folder = elsewhere.path() / "three";
    fs::create_directories(folder);
    s->backupTo(folder / Store::kFileName);
    Store::open(folder)->execScript(kLayoutThree);
    // The rules set since the backup go with the rest of the file it replaces.
    ASSERT_TRUE(rules::save(*s, {2, 5, false, true}));

    s->replaceWith(safekeeping::prepareRestore(folder / Store::kFileName, dir.path()));
    EXPECT_EQ(s->select("PRAGMA user_version")[0][0].toInt(), schema::kVersion);
    EXPECT_EQ(s->select("SELECT 姓名 FROM 教师姓名")[0][0].text(), "李明");
    EXPECT_TRUE(rules::load(*s).plain());
    ASSERT_TRUE(rules::save(*s, {2, 5, false, true}));
    EXPECT_EQ(rules::load(*s).perWeek, 5);

    // A layout-3 file that has the table anyway is not of layout 3.
    const auto odd = elsewhere.path() / "odd";
    fs::create_directories(odd);
    s->backupTo(odd / Store::kFileName);
    Store::open(odd)->execScript("PRAGMA user_version = 3;");
    EXPECT_THROW(safekeeping::prepareRestore(odd / Store::kFileName, dir.path()), Failure);
}

}  // namespace
}  // namespace daike
