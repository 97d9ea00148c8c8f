#include "school/admin.h"

#include "test_support.h"

namespace daike {
namespace {

using AdminPassword = testing::StoreTest;

// What the window would say: "" when the operation went through.
std::string said(const Checked<>& r) {
    return r ? "" : r.refusal().message;
}

TEST_F(AdminPassword, LoginComparesExactlyAfterTrimmingBlanks) {
    EXPECT_TRUE(checkPassword(store(), "580417"));
    EXPECT_TRUE(checkPassword(store(), "  580417 "));
    EXPECT_FALSE(checkPassword(store(), "5804170"));
    EXPECT_FALSE(checkPassword(store(), ""));
    EXPECT_EQ(said(logIn(store(), " 580417")), "");
    EXPECT_EQ(said(logIn(store(), "5804170")), "您没有系统管理的权限！");
    store().exec("UPDATE 注册码 SET 密码 = 'AbC'");
    EXPECT_TRUE(checkPassword(store(), "AbC"));
    EXPECT_FALSE(checkPassword(store(), "abc"));
    // A missing password row or a Null password lets nobody in, not even an empty box.
    store().exec("UPDATE 注册码 SET 密码 = NULL");
    EXPECT_FALSE(checkPassword(store(), ""));
    store().exec("DELETE FROM 注册码");
    EXPECT_FALSE(checkPassword(store(), ""));
}

TEST_F(AdminPassword, RefusalsLeaveTheOldPasswordInForce) {
    EXPECT_EQ(said(changePassword(store(), "", "a", "a")), "有未输入的项目！");
    EXPECT_EQ(said(changePassword(store(), "580417", "", "a")), "有未输入的项目！");
    EXPECT_EQ(said(changePassword(store(), "580417", "a", "")), "有未输入的项目！");
    EXPECT_EQ(said(changePassword(store(), "580418", "a", "a")), "您输入的旧密码有误！");
    // The change window compares the old password as typed, without trimming.
    EXPECT_EQ(said(changePassword(store(), "580417 ", "a", "a")), "您输入的旧密码有误！");
    EXPECT_EQ(said(changePassword(store(), "580417", "a", "b")), "您输入的新密码有待确认！");
    // Passwords that the login box could never give back.
    EXPECT_EQ(said(changePassword(store(), "580417", " a", " a")),
              "新密码的开头和结尾不能是空格！");
    EXPECT_EQ(said(changePassword(store(), "580417", "a ", "a ")),
              "新密码的开头和结尾不能是空格！");
    EXPECT_EQ(said(changePassword(store(), "580417", "   ", "   ")),
              "新密码的开头和结尾不能是空格！");
    const std::string long51(51, 'x');
    EXPECT_EQ(said(changePassword(store(), "580417", long51, long51)), "新密码不能超过50个字符！");
    EXPECT_EQ(column("SELECT 密码 FROM 注册码"), "580417");
    EXPECT_TRUE(checkPassword(store(), "580417"));
}

TEST_F(AdminPassword, ChangedPasswordIsTheOnlyOneAccepted) {
    // Fifty characters, counted as characters rather than bytes, still fit the login box.
    const std::string fifty = "密码" + std::string(48, '9');
    ASSERT_EQ(said(changePassword(store(), "580417", fifty, fifty)), "");
    EXPECT_TRUE(checkPassword(store(), fifty));
    EXPECT_FALSE(checkPassword(store(), "580417"));
    ASSERT_EQ(said(changePassword(store(), fifty, "新 密码'1", "新 密码'1")), "");
    EXPECT_TRUE(checkPassword(store(), " 新 密码'1"));
    EXPECT_EQ(column("SELECT count(*) FROM 注册码"), "1");
}

}  // namespace
}  // namespace daike
