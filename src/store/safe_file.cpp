#include "store/safe_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <regex>

#include "store/failure.h"
#include "store/os_files.h"
#include "store/paths.h"

namespace daike::safefile {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const fs::path& temp, const std::string& message) {
    std::error_code ec;
    fs::remove(temp, ec);
    throw Failure(Failure::Kind::CannotWrite, message);
}

// Whether the file starts with `head` and ends with `tail` (blanks after it allowed); false when
// it cannot be read.
bool endsAre(const fs::path& file, std::uintmax_t size, const std::string& head,
             const std::string& tail) {
    if (size < head.size() + tail.size()) return false;
    std::ifstream in(file, std::ios::binary);
    std::string h(head.size(), '\0');
    if (!in.read(h.data(), static_cast<std::streamsize>(h.size())) || h != head) return false;
    // A writer may end the file with a line break after the trailer.
    const std::uintmax_t window = std::min<std::uintmax_t>(size, 32);
    std::string t(static_cast<std::size_t>(window), '\0');
    in.seekg(static_cast<std::streamoff>(size - window));
    if (!in.read(t.data(), static_cast<std::streamsize>(t.size()))) return false;
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r' || t.back() == ' ')) t.pop_back();
    return t.size() >= tail.size() && t.compare(t.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

fs::path temporaryBeside(const fs::path& target) {
    static std::mt19937 random{std::random_device{}()};
    const auto number = std::to_string(random() % 1000000);
    return inFolder(target.parent_path(), ".~" + fileNameText(target) + "." + number + ".tmp");
}

std::string cannotWriteText(const fs::path& file, int error) {
    const std::string name = "“" + utf8(file) + "”";
    std::string what;
    if (diskFull(error)) {
        what = "无法保存文件" + name +
               "：磁盘空间不足。请腾出磁盘空间或换一个文件夹后再试，原有的同名文件没有改变。";
    } else if (error == EACCES || error == EPERM || error == EROFS) {
        what = "无法保存文件" + name + "：没有在这个文件夹中写入的权限。请换一个文件夹后再试。";
    } else {
        what = "无法保存文件" + name + "，原有的同名文件没有改变。";
    }
    return what + (error ? "（" + std::string(std::strerror(error)) + "）" : std::string());
}

bool diskFull(int error) {
#ifdef EDQUOT
    if (error == EDQUOT) return true;
#endif
    return error == ENOSPC;
}

int errnoOf(const std::error_code& code) {
    // A std::filesystem error holds the system's own number (on Windows a Win32 one); its
    // generic condition is the errno value.
    return code.default_error_condition().category() == std::generic_category()
               ? code.default_error_condition().value()
               : EIO;
}

bool almostFull(const fs::path& folder, std::uintmax_t bytes) {
    std::error_code ec;
    const auto space = fs::space(folder, ec);
    return !ec && space.available < bytes;
}

void putInPlace(const fs::path& temp, const fs::path& target, Content content) {
    std::error_code sizeError;
    const std::uintmax_t size = fs::file_size(temp, sizeError);
    if (sizeError) fail(temp, cannotWriteText(target, errnoOf(sizeError)));
    bool whole = size > 0;
    if (whole && content == Content::Pdf) whole = endsAre(temp, size, "%PDF-", "%%EOF");
    // The IEND chunk: no data, its type, and the checksum of the type.
    if (whole && content == Content::Png)
        whole = endsAre(temp, size, "\x89PNG\r\n\x1a\n",
                        std::string("\0\0\0\0IEND\xae\x42\x60\x82", 12));
    if (!whole) {
        // A writer cut short by a full disk often says nothing: ask the disk.
        fail(temp, size == 0 || almostFull(target.parent_path())
                       ? cannotWriteText(target, ENOSPC)
                       : "无法保存文件“" + utf8(target) +
                             "”：写出的文件不完整，原有的同名文件没有改变。请再试一次。");
    }
    if (const int synced = os_files::syncFile(temp)) fail(temp, cannotWriteText(target, synced));
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fail(temp, "无法保存文件“" + utf8(target) +
                       "”：文件可能正被其他程序打开，请关闭后再试。（" + ec.message() + "）");
    }
    os_files::syncDirectory(target.parent_path());
}

void write(const fs::path& target, const std::function<void(const fs::path& temp)>& writeTo,
           Content content) {
    const auto temp = temporaryBeside(target);
    try {
        writeTo(temp);
    } catch (...) {
        std::error_code ec;
        fs::remove(temp, ec);
        throw;
    }
    putInPlace(temp, target, content);
}

bool isLeftover(const std::string& name) {
    static const std::regex ours(R"(^\.~.+\.[0-9]{1,6}\.tmp$|^.+\.db\.part(-journal)?$)");
    return std::regex_match(name, ours);
}

int removeLeftovers(const fs::path& folder) {
    int removed = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        std::error_code fec;
        if (!e.is_regular_file(fec) || !isLeftover(fileNameText(e.path()))) continue;
        if (fs::remove(e.path(), fec)) ++removed;
    }
    return removed;
}

}  // namespace daike::safefile
