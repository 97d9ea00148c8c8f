#include "school/admin.h"

#include "test_support.h"

namespace daike {
namespace {

using AdminPassword = testing::StoreTest;

TEST_F(AdminPassword, LoginComparesExactlyAfterTrimmingBlanks) {
    EXPECT_TRUE(checkPassword(store(), "580417"));
    EXPECT_TRUE(checkPassword(store(), "  580417 "));
    EXPECT_FALSE(checkPassword(store(), "5804170"));
    EXPECT_FALSE(checkPassword(store(), ""));
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
    EXPECT_EQ(changePassword(store(), "", "a", "a"), PasswordChange::Missing);
    EXPECT_EQ(changePassword(store(), "580417", "", "a"), PasswordChange::Missing);
    EXPECT_EQ(changePassword(store(), "580417", "a", ""), PasswordChange::Missing);
    EXPECT_EQ(changePassword(store(), "580418", "a", "a"), PasswordChange::WrongOld);
    // The change window compares the old password as typed, without trimming.
    EXPECT_EQ(changePassword(store(), "580417 ", "a", "a"), PasswordChange::WrongOld);
    EXPECT_EQ(changePassword(store(), "580417", "a", "b"), PasswordChange::Unconfirmed);
    // Passwords that the login box could never give back.
    EXPECT_EQ(changePassword(store(), "580417", " a", " a"), PasswordChange::BlankEnds);
    EXPECT_EQ(changePassword(store(), "580417", "a ", "a "), PasswordChange::BlankEnds);
    EXPECT_EQ(changePassword(store(), "580417", "   ", "   "), PasswordChange::BlankEnds);
    const std::string long51(51, 'x');
    EXPECT_EQ(changePassword(store(), "580417", long51, long51), PasswordChange::TooLong);
    EXPECT_EQ(column("SELECT 密码 FROM 注册码"), "580417");
    EXPECT_TRUE(checkPassword(store(), "580417"));
}

TEST_F(AdminPassword, ChangedPasswordIsTheOnlyOneAccepted) {
    // Fifty characters, counted as characters rather than bytes, still fit the login box.
    const std::string fifty = "密码" + std::string(48, '9');
    ASSERT_EQ(changePassword(store(), "580417", fifty, fifty), PasswordChange::Changed);
    EXPECT_TRUE(checkPassword(store(), fifty));
    EXPECT_FALSE(checkPassword(store(), "580417"));
    ASSERT_EQ(changePassword(store(), fifty, "新 密码'1", "新 密码'1"), PasswordChange::Changed);
    EXPECT_TRUE(checkPassword(store(), " 新 密码'1"));
    EXPECT_EQ(column("SELECT count(*) FROM 注册码"), "1");
}

}  // namespace
}  // namespace daike
