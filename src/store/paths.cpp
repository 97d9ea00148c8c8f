#include "store/paths.h"

namespace daike {

namespace fs = std::filesystem;

fs::path pathFromUtf8(std::string_view utf8) {
    // A std::u8string is read as UTF-8 on every system; a std::string would be read in the
    // system's narrow encoding.
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path inFolder(const fs::path& folder, std::string_view utf8Name) {
    return folder / pathFromUtf8(utf8Name);
}

fs::path withSuffix(const fs::path& path, std::string_view utf8Suffix) {
    std::string text = utf8(path);
    text += utf8Suffix;
    return pathFromUtf8(text);
}

std::string fileNameText(const fs::path& path) {
    return utf8(path.filename());
}

std::string stemText(const fs::path& path) {
    return utf8(path.stem());
}

}  // namespace daike
