// Any bytes as a backup chosen for 数据恢复: the checked copy is made or the file is refused with
// a Failure, and the data folder's own database is never touched.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "store/failure.h"
#include "store/safekeeping.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fs::path dir = [] {
        std::string pattern = (fs::temp_directory_path() / "daike-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return fs::path(pattern);
    }();
    const fs::path candidate = dir / "备份.db";
    {
        std::ofstream out(candidate, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    try {
        (void)daike::safekeeping::prepareRestore(candidate, dir);
    } catch (const daike::Failure&) {
    }
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dir, ec))
        if (e.path() != candidate) fs::remove_all(e.path(), ec);
    return 0;
}
