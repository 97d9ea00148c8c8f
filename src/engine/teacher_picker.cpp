#include "engine/teacher_picker.h"

#include "store/store.h"

namespace daike::picker {

std::vector<std::string> teacherNames(Store& store) {
    return store.dkb("select * from 教师姓名 order by 姓名 asc").columnText(0);
}

int placesFor(std::size_t names) {
    const int n = static_cast<int>(names);
    if (n <= kPlaces) return kPlaces;
    return (n + kColumns - 1) / kColumns * kColumns;
}

}  // namespace daike::picker
