#include "basedata/teacher_names.h"

#include "store/store.h"
#include "store/tables/teachers.h"

namespace daike {

std::vector<std::string> readTeacherNames(Store& store) {
    return teachers::names(store);
}

int storeTeacherNames(Store& store, const std::vector<std::string>& boxes,
                      const BackupStep& backup) {
    if (backup) backup();
    return store.transaction([&] {
        // The rows as they stand, so that a name kept keeps its classes. A name stored twice
        // hands its rows out in stored order.
        const std::vector<TeacherRow> old = teachers::all(store);
        std::vector<bool> used(old.size(), false);
        std::vector<TeacherRow> rows;
        for (const auto& name : boxes) {
            if (name.empty()) break;
            TeacherRow row;
            for (std::size_t k = 0; k < old.size(); ++k) {
                if (used[k] || old[k].nameText() != name) continue;
                used[k] = true;
                row = old[k];
                break;
            }
            row.row = 0;
            row.name = name;
            rows.push_back(std::move(row));
        }
        teachers::replaceAll(store, rows);
        return static_cast<int>(rows.size());
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
