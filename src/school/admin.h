// The administrator password, kept in the first row of 注册码.
#pragma once

#include <string>

#include "store/refusal.h"

namespace daike {

class Store;

// The operations behind the administrator login, by the code the main menu leaves in
// 管理操作码 for the login to run (a menu item of its own for 8 and 11 is ours).
enum class LoginCode : int {
    None = 0,               // the item acts at once
    MainClasses = 1,        // 主课班级输入
    TimetableImport = 3,    // 课务自动导入
    Classes = 7,            // 班级数目输入
    Courses = 8,            // 课程输入
    ResetCoverCounts = 9,   // 代课节数初始化
    ClearTermRecords = 10,  // 代课明细清零
    ManualTimetable = 11,   // 手动输入课务情况
    EmptyAllData = 12,      // 所有数据清空
    PeriodTimes = 13,       // 作息时间设定 (ours)
    CoverRules = 14,        // 代课规则 (ours)
};

// The login box holds at most this many characters, so no longer password could ever be typed.
inline constexpr int kPasswordMaxLength = 50;

// Whether the typed password, with blanks removed at both ends, is the stored one.
bool checkPassword(Store& store, const std::string& typed);

// The login: refused unless the typed password is the stored one (checkPassword).
Checked<> logIn(Store& store, const std::string& typed);

// Changes the password. The boxes are compared and stored as typed. Refused when a box is
// empty, the old password is wrong or the repeated one differs, and for a new password that
// the login could never accept (blanks at either end, which the login removes, or more
// characters than the login box takes).
Checked<> changePassword(Store& store, const std::string& oldPassword,
                         const std::string& newPassword, const std::string& repeated);

// What the password window says when the password was changed.
inline constexpr const char* kPasswordChanged = "密码修改成功！";

}  // namespace daike
