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

Checked<> logIn(Store& store, const std::string& typed) {
    if (!checkPassword(store, typed)) return Refusal{"您没有系统管理的权限！"};
    return {};
}

Checked<> changePassword(Store& store, const std::string& oldPassword,
                         const std::string& newPassword, const std::string& repeated) {
    if (newPassword.empty() || repeated.empty() || oldPassword.empty())
        return Refusal{"有未输入的项目！"};
    const Value stored = settings::password(store);
    if (stored.isNull() || stored.text() != oldPassword) return Refusal{"您输入的旧密码有误！"};
    if (newPassword != repeated) return Refusal{"您输入的新密码有待确认！"};
    if (trimBlanks(newPassword) != newPassword) return Refusal{"新密码的开头和结尾不能是空格！"};
    if (text::length(newPassword) > static_cast<std::size_t>(kPasswordMaxLength))
        return Refusal{"新密码不能超过" + std::to_string(kPasswordMaxLength) + "个字符！"};
    store.transaction([&] { settings::setPassword(store, newPassword); });
    return {};
}

}  // namespace daike
