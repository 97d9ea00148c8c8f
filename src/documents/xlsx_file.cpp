#include "documents/xlsx_file.h"

#include <cerrno>

#include "store/failure.h"
#include "store/paths.h"
#include "store/safe_file.h"

namespace daike::xlsx_file {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void cannotWrite(const std::string& message) {
    throw Failure(Failure::Kind::CannotWrite, message);
}

int likelyError(const fs::path& folder) {
    return safefile::almostFull(folder, 256 * 1024) ? ENOSPC : 0;
}

}  // namespace

void write(const fs::path& file, const std::string& title,
           const std::function<void(lxw_workbook*)>& fill) {
    const fs::path temp = safefile::temporaryBeside(file);
    // libxlsxwriter takes UTF-8 file names (on Windows it opens them through _wfopen).
    lxw_workbook* wb = workbook_new(utf8(temp).c_str());
    if (!wb) cannotWrite("无法在“" + utf8(file.parent_path()) + "”中建立文件，请换一个文件夹。");
    std::string titleText = title, author = "代课";
    lxw_doc_properties props{};
    props.title = titleText.data();
    props.author = author.data();
    workbook_set_properties(wb, &props);
    try {
        fill(wb);
    } catch (...) {
        workbook_close(wb);
        std::error_code ec;
        fs::remove(temp, ec);
        throw;
    }
    const lxw_error e = workbook_close(wb);
    if (e != LXW_NO_ERROR) {
        std::error_code ec;
        fs::remove(temp, ec);
        const std::string why = safefile::cannotWriteText(file, likelyError(file.parent_path()));
        cannotWrite(why + "（" + lxw_strerror(e) + "）");
    }
    safefile::putInPlace(temp, file);
}

}  // namespace daike::xlsx_file
