#include "engine/teacher_picker.h"

#include "store/tables/teachers.h"

namespace daike::picker {

std::vector<std::string> teacherNames(Store& store) {
    return teachers::namesInChineseOrder(store);
}

int placesFor(std::size_t names) {
    const int n = static_cast<int>(names);
    if (n <= kPlaces) return kPlaces;
    return (n + kColumns - 1) / kColumns * kColumns;
}

}  // namespace daike::picker
