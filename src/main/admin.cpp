#include "main/admin.h"

#include "store/store.h"

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
    auto rs = store.dkb("select * from 注册码");
    if (rs.empty()) return false;
    rs.moveFirst();
    const auto& stored = rs["密码"];
    return !stored.isNull() && stored.text() == trimBlanks(typed);
}

}  // namespace daike
