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
        // The rows as they stand, so that a name kept keeps its classes. A name stored twice
        // hands its rows out in stored order.
        std::vector<std::pair<std::string, std::vector<Value>>> old;
        int columns = 0;
        {
            auto rs = store.dkb("select * from 教师姓名");
            columns = rs.fieldCount();
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
                std::vector<Value> row;
                for (int i = 0; i < columns; ++i) row.push_back(rs[i]);
                old.emplace_back(rs["姓名"].text(), std::move(row));
            }
        }
        std::vector<bool> used(old.size(), false);
        store.emptyTable("教师姓名");
        auto rs = store.dkb("select * from 教师姓名");
        int stored = 0;
        for (const auto& name : boxes) {
            if (name.empty()) break;
            rs.addNew();
            rs.set("姓名", name);
            for (std::size_t k = 0; k < old.size(); ++k) {
                if (used[k] || old[k].first != name) continue;
                used[k] = true;
                for (int i = 1; i < columns; ++i)
                    rs.set(i, old[k].second[static_cast<std::size_t>(i)]);
                break;
            }
            ++stored;
        }
        rs.update();
        return stored;
    });
}

std::vector<std::string> namesAfterFirstGap(const std::vector<std::string>& boxes) {
    std::vector<std::string> dropped;
    bool gap = false;
    for (const auto& name : boxes) {
        if (name.empty())
            gap = true;
        else if (gap)
            dropped.push_back(name);
    }
    return dropped;
}

}  // namespace daike
