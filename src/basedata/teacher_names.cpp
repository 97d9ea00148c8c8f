#include "basedata/teacher_names.h"

#include "store/store.h"

namespace daike {

std::vector<std::string> readTeacherNames(Store& store) {
    std::vector<std::string> names;
    auto rs = store.dkb("select * from 教师姓名");
    for (const auto& row : rs) names.push_back(row["姓名"].text());
    return names;
}

int storeTeacherNames(Store& store, const std::vector<std::string>& boxes) {
    return store.transaction([&] {
        store.emptyTable("教师姓名");
        auto rs = store.dkb("select * from 教师姓名");
        int stored = 0;
        for (const auto& name : boxes) {
            if (name.empty()) break;
            rs.addNew();
            rs.set("姓名", name);
            ++stored;
        }
        rs.update();
        return stored;
    });
}

}  // namespace daike
