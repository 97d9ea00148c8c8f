#include "store/data_directory.h"

#include "store/paths.h"
#include "store/store.h"

namespace daike {

namespace fs = std::filesystem;

bool isSystemDirectory(const fs::path& directory) {
    const auto normal = directory.lexically_normal();
    auto it = normal.begin();
    if (it == normal.end() || *it != "/") return false;
    if (++it == normal.end()) return false;
    return *it == "usr" || *it == "opt" || *it == "bin" || *it == "sbin";
}

fs::path chooseDataDirectory(const fs::path& programDirectory, bool programDirectoryWritable,
                             const fs::path& userDirectory) {
    std::error_code ec;
    if (fs::exists(inFolder(programDirectory, Store::kFileName), ec)) return programDirectory;
    if (programDirectoryWritable && !isSystemDirectory(programDirectory)) return programDirectory;
    return userDirectory;
}

}  // namespace daike
