// Any bytes as the notice template 输出文件.docx: three notices are filled in and the filled
// document written and read again, or the template is refused with a Failure.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "documents/docx.h"
#include "documents/notices.h"
#include "documents/page_model.h"
#include "fuzz_input.h"
#include "store/failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        auto doc = daike::fuzzing::documentOf(data, size, "输出文件.docx");
        std::vector<daike::Notice> notices;
        for (const char* who : {"赵三", "钱四", "孙五"})
            notices.push_back({"张老师", "病假", who, "一(1)", "上午", "2", "语文",
                               daike::calendar::makeDay(2026, 9, 16), 3, "9:50–10:30"});
        daike::fillNotices(doc, notices);
        (void)daike::pageModel(doc);
        (void)daike::WordDocument::fromBytes(doc.toBytes(), "输出文件.docx");
    } catch (const daike::Failure&) {
    }
    return 0;
}
