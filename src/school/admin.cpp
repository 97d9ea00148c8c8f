#include "school/admin.h"

#include "store/store.h"
#include "store/tables/settings.h"
#include "store/text.h"

namespace daike {

namespace {
std::string trimBlanks(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(' ');
    return s.substr(first, last - first + 1);
}
}  // namespace

bool checkPassword(Store& store, const std::string& typed) {
    const Value stored = settings::password(store);
    return !stored.isNull() && stored.text() == trimBlanks(typed);
}

PasswordChange changePassword(Store& store, const std::string& oldPassword,
                              const std::string& newPassword, const std::string& repeated) {
    if (newPassword.empty() || repeated.empty() || oldPassword.empty())
        return PasswordChange::Missing;
    const Value stored = settings::password(store);
    if (stored.isNull() || stored.text() != oldPassword) return PasswordChange::WrongOld;
    if (newPassword != repeated) return PasswordChange::Unconfirmed;
    if (trimBlanks(newPassword) != newPassword) return PasswordChange::BlankEnds;
    if (text::length(newPassword) > static_cast<std::size_t>(kPasswordMaxLength))
        return PasswordChange::TooLong;
    store.transaction([&] { settings::setPassword(store, newPassword); });
    return PasswordChange::Changed;
}

const char* passwordChangeMessage(PasswordChange outcome) {
    switch (outcome) {
        case PasswordChange::Missing:
            return "有未输入的项目！";
        case PasswordChange::WrongOld:
            return "您输入的旧密码有误！";
        case PasswordChange::BlankEnds:
            return "新密码的开头和结尾不能是空格！";
        case PasswordChange::TooLong:
            return "新密码不能超过50个字符！";
        case PasswordChange::Unconfirmed:
            return "您输入的新密码有待确认！";
        case PasswordChange::Changed:
            return "密码修改成功！";
    }
    return "";
}

}  // namespace daike
