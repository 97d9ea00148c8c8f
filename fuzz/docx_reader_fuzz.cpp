// Any bytes as a .docx: reading, walking every table and cell, and laying the pages out either
// succeed or refuse with a Failure; nothing else may happen.
#include <cstddef>
#include <cstdint>
#include <string>

#include "documents/docx.h"
#include "documents/page_model.h"
#include "fuzz_input.h"
#include "store/failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        auto doc = daike::fuzzing::documentOf(data, size, "fuzz.docx");
        for (int t = 0; t < doc.tableCount(); ++t)
            for (int r = 0; r < doc.rowCount(t); ++r) {
                for (int c = 0; c < doc.cellCount(t, r); ++c) (void)doc.cellText(t, r, c);
                for (int g = 0; g < doc.gridColumnCount(t, r); ++g) (void)doc.gridCellText(t, r, g);
            }
        (void)daike::pageModel(doc);
    } catch (const daike::Failure&) {
    }
    return 0;
}
