// Any bytes as the school's timetable spreadsheet: read as .xlsx (when they start "PK") or as a
// .csv, then looked at in every layout against a small school. Reading either gives sheets or
// refuses with a Failure; the layouts take whatever the sheets hold. Nothing else may happen.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "basedata/timetable_sheets.h"
#include "documents/spreadsheet.h"
#include "store/failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace daike;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        const auto book = bytes.starts_with("PK") ? spreadsheet::readXlsx(bytes, "fuzz.xlsx")
                                                  : spreadsheet::readCsv(bytes, "fuzz.csv");
        const timetable_sheets::School school{
            {"张三", "李四", "王五"}, {"一(1)", "一(2)"}, {"语文", "数学"}};
        (void)timetable_sheets::detect(book);
        for (const auto layout : timetable_sheets::kLayouts)
            (void)timetable_sheets::read(book, layout, school);
    } catch (const Failure&) {
    }
    return 0;
}
