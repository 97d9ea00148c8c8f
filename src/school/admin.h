// The administrator password, kept in the first row of 注册码.
#pragma once

#include <string>

namespace daike {

class Store;

// The login box holds at most this many characters, so no longer password could ever be typed.
inline constexpr int kPasswordMaxLength = 50;

// Whether the typed password, with blanks removed at both ends, is the stored one.
bool checkPassword(Store& store, const std::string& typed);

enum class PasswordChange {
    Missing,      // one of the three boxes is empty
    WrongOld,     // the old password is not the stored one
    BlankEnds,    // the new password starts or ends with a blank
    TooLong,      // the new password is longer than the login box takes
    Unconfirmed,  // the repeated password differs from the new one
    Changed,      // stored
};

// Changes the password. The boxes are compared and stored as typed. A new password that the
// login could never accept (blanks at either end, which the login removes, or more characters
// than the login box takes) is refused.
PasswordChange changePassword(Store& store, const std::string& oldPassword,
                              const std::string& newPassword, const std::string& repeated);

// What the password window shows for each outcome.
const char* passwordChangeMessage(PasswordChange outcome);

}  // namespace daike
