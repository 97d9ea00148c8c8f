// Any bytes as a teacher's timetable document: the first table is read as 6 × 5 cells or
// refused with a Failure naming the teacher.
#include <cstddef>
#include <cstdint>
#include <string>

#include "basedata/timetable_documents.h"
#include "documents/docx.h"
#include "fuzz_input.h"
#include "store/failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const auto doc = daike::fuzzing::documentOf(data, size, "张老师.docx");
        (void)daike::timetable_import::readFirstTable(doc, "张老师");
    } catch (const daike::Failure&) {
    }
    return 0;
}
