// The exempt list: what may be added, what a removal takes away, and its effect on candidates.
#include "engine/exempt.h"

#include <gtest/gtest.h>

#include "engine/ranking.h"
#include "school/resets.h"
#include "test_support.h"

namespace daike {
namespace {

// What the window would say: "" when the operation went through.
std::string said(const Checked<>& r) {
    return r ? "" : r.refusal().message;
}
using testing::TempStore;

TEST(Exempt, AddChecksTheName) {
    TempStore db;
    EXPECT_EQ(said(exempt::add(*db, "")), "您还没有输入教师姓名！");
    EXPECT_EQ(said(exempt::add(*db, " 　")), "您还没有输入教师姓名！");
    EXPECT_EQ(said(exempt::add(*db, "欧阳小明")), "您输入教师不正确！");
    EXPECT_EQ(db.count("公出表"), 0);
    EXPECT_EQ(said(exempt::add(*db, "王")), "");
    EXPECT_EQ(said(exempt::add(*db, "王五")), "");
    // Blanks typed around the name are not part of it.
    EXPECT_EQ(said(exempt::add(*db, " 欧阳明　")), "");
    EXPECT_EQ(db.column("SELECT 姓名 FROM 公出表 ORDER BY rowid"), "王|王五|欧阳明");
}

TEST(Exempt, DuplicatesAndRemoval) {
    TempStore db;
    EXPECT_EQ(said(exempt::remove(*db, "王五")), "找不到该教师！");  // empty list
    EXPECT_EQ(said(exempt::remove(*db, "")), "您还没有输入教师姓名！");
    (void)exempt::add(*db, "王五");
    (void)exempt::add(*db, "李四");
    (void)exempt::add(*db, "王五");
    EXPECT_EQ(exempt::list(*db), (std::vector<std::string>{"王五", "李四", "王五"}));
    EXPECT_EQ(said(exempt::remove(*db, "张三")), "找不到该教师！");
    EXPECT_EQ(said(exempt::remove(*db, "王五")), "");
    EXPECT_EQ(exempt::list(*db), (std::vector<std::string>{"李四", "王五"}));

    // Still exempt until the second row goes too.
    db->execScript("INSERT INTO 教师姓名 (姓名) VALUES ('王五'), ('李四'), ('张三')");
    buildFreeTeachers(*db);
    countDailyLessons(*db);
    resetCoverCounts(*db);
    auto candidates = [&] {
        std::string out;
        for (const auto& c : ranking::rank(*db, "2", 2, "一(1)").rows) out += c.name;
        return out;
    };
    EXPECT_EQ(candidates(), "张三");
    (void)exempt::remove(*db, "王五");
    EXPECT_EQ(candidates(), "王五张三");
}

}  // namespace
}  // namespace daike
