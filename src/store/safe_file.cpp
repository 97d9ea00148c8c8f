#include "store/safe_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>
#include <regex>

#include "store/failure.h"

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
bool endsAre(int fd, off_t size, const std::string& head, const std::string& tail) {
    if (size < static_cast<off_t>(head.size() + tail.size())) return false;
    std::string h(head.size(), '\0');
    if (::pread(fd, h.data(), h.size(), 0) != static_cast<ssize_t>(h.size()) || h != head)
        return false;
    // A writer may end the file with a line break after the trailer.
    const off_t window = std::min<off_t>(size, 32);
    std::string t(static_cast<std::size_t>(window), '\0');
    if (::pread(fd, t.data(), t.size(), size - window) != window) return false;
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r' || t.back() == ' ')) t.pop_back();
    return t.size() >= tail.size() && t.compare(t.size() - tail.size(), tail.size(), tail) == 0;
}

void syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

fs::path temporaryBeside(const fs::path& target) {
    static std::mt19937 random{std::random_device{}()};
    const auto number = std::to_string(random() % 1000000);
    return target.parent_path() / (".~" + target.filename().string() + "." + number + ".tmp");
}

std::string cannotWriteText(const fs::path& file, int error) {
    const std::string name = "“" + file.string() + "”";
    std::string what;
    if (error == ENOSPC || error == EDQUOT) {
        what = "无法保存文件" + name +
               "：磁盘空间不足。请腾出磁盘空间或换一个文件夹后再试，原有的同名文件没有改变。";
    } else if (error == EACCES || error == EPERM || error == EROFS) {
        what = "无法保存文件" + name + "：没有在这个文件夹中写入的权限。请换一个文件夹后再试。";
    } else {
        what = "无法保存文件" + name + "，原有的同名文件没有改变。";
    }
    return what + (error ? "（" + std::string(std::strerror(error)) + "）" : std::string());
}

bool almostFull(const fs::path& folder, std::uintmax_t bytes) {
    std::error_code ec;
    const auto space = fs::space(folder, ec);
    return !ec && space.available < bytes;
}

void putInPlace(const fs::path& temp, const fs::path& target, Content content) {
    const int fd = ::open(temp.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) fail(temp, cannotWriteText(target, errno));
    const off_t size = ::lseek(fd, 0, SEEK_END);
    bool whole = size > 0;
    if (whole && content == Content::Pdf) whole = endsAre(fd, size, "%PDF-", "%%EOF");
    // The IEND chunk: no data, its type, and the checksum of the type.
    if (whole && content == Content::Png)
        whole =
            endsAre(fd, size, "\x89PNG\r\n\x1a\n", std::string("\0\0\0\0IEND\xae\x42\x60\x82", 12));
    if (!whole) {
        ::close(fd);
        // A writer cut short by a full disk often says nothing: ask the disk.
        fail(temp, size == 0 || almostFull(target.parent_path())
                       ? cannotWriteText(target, ENOSPC)
                       : "无法保存文件“" + target.string() +
                             "”：写出的文件不完整，原有的同名文件没有改变。请再试一次。");
    }
    const int synced = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    if (synced) fail(temp, cannotWriteText(target, synced));
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fail(temp, "无法保存文件“" + target.string() +
                       "”：文件可能正被其他程序打开，请关闭后再试。（" + ec.message() + "）");
    }
    syncFolder(target.parent_path());
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
        if (!e.is_regular_file(fec) || !isLeftover(e.path().filename().string())) continue;
        if (fs::remove(e.path(), fec)) ++removed;
    }
    return removed;
}

}  // namespace daike::safefile
