#include "basedata/teacher_names.h"

#include "store/store.h"
#include "store/tables/teachers.h"
#include "store/text.h"

namespace daike {

std::vector<std::string> readTeacherNames(Store& store) {
    return teachers::names(store);
}

Checked<> checkTeacherNames(const std::vector<std::string>& boxes) {
    for (std::size_t i = 0; i < boxes.size() && !boxes[i].empty(); ++i) {
        const std::string_view core = text::trimmed(boxes[i]);
        for (std::size_t k = 0; k < i; ++k) {
            // A name of blanks only is matched only as it stands, as the look-ups do.
            if (boxes[k] != boxes[i] && (core.empty() || text::trimmed(boxes[k]) != core)) continue;
            return Refusal{"教师姓名“" + std::string(core.empty() ? boxes[i] : core) +
                           "”输入了两次（第" + std::to_string(k + 1) + "个和第" +
                           std::to_string(i + 1) +
                           "个格子），同一位教师只能输入一次。请修改后再按“确定”！"};
        }
    }
    return {};
}

Checked<int> storeTeacherNames(Store& store, const std::vector<std::string>& boxes,
                               const BackupStep& backup) {
    if (auto checked = checkTeacherNames(boxes); !checked) return checked.refusal();
    if (backup) backup();
    return store.transaction([&] {
        // The rows as they stand, so that a name kept keeps its classes. A name an older list
        // holds twice keeps its first row.
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
