// The POSIX side of os_files.h (Linux). os_files_windows.cpp is its Win32 counterpart.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <thread>

#include "store/os_files.h"

extern char** environ;

namespace daike::os_files {

namespace fs = std::filesystem;

FileLock::~FileLock() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));  // releases the lock
}

FileLock::Outcome FileLock::take(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error_ = errno;
        return Outcome::CannotOpen;
    }
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    handle_ = fd;
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 ? Outcome::Taken : Outcome::HeldByAnother;
}

bool canWriteIn(const fs::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool canReadAndWrite(const fs::path& file) {
    return ::access(file.c_str(), R_OK | W_OK) == 0;
}

std::optional<long> ownerWhenAnotherAccount(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || st.st_uid == ::geteuid()) return std::nullopt;
    return static_cast<long>(st.st_uid);
}

namespace {

int syncPath(const fs::path& p, int flags) {
    const int fd = ::open(p.c_str(), flags | O_CLOEXEC);
    if (fd < 0) return errno;
    const int synced = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return synced;
}

}  // namespace

int syncFile(const fs::path& file) {
    return syncPath(file, O_RDONLY);
}

void syncDirectory(const fs::path& folder) {
    syncPath(folder, O_RDONLY | O_DIRECTORY);
}

std::tm localTime(std::time_t t) {
    std::tm tm{};
    ::localtime_r(&t, &tm);
    return tm;
}

std::optional<std::time_t> modifiedAt(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return std::nullopt;
    return st.st_mtime;
}

FileBytes readRegularFile(const fs::path& file, std::uint64_t maxBytes) {
    using P = FileBytes::Problem;
    FileBytes out;
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        out.problem = errno == ENOENT ? P::NotFound : P::NoAccess;
        return out;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        out.problem = P::NotRegular;
        return out;
    }
    out.size = static_cast<std::uint64_t>(st.st_size);
    if (out.size > maxBytes) {
        out.problem = P::TooLarge;
        return out;
    }
    out.bytes.reserve(static_cast<std::size_t>(out.size));
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            out.problem = P::ReadError;
            out.bytes.clear();
            return out;
        }
        if (n == 0) break;
        out.bytes.append(buffer, static_cast<std::size_t>(n));
        if (out.bytes.size() > maxBytes) {  // it grew while being read
            out.problem = P::TooLarge;
            out.bytes.clear();
            return out;
        }
    }
    return out;
}

std::string nameForFopen(const fs::path& file) {
    return file.native();
}

std::optional<fs::path> findProgram(std::string_view name, std::string_view) {
    const char* path = std::getenv("PATH");
    if (!path) return std::nullopt;
    const std::string_view dirs = path;
    std::size_t from = 0;
    while (from <= dirs.size()) {
        const auto colon = dirs.find(':', from);
        const auto dir = dirs.substr(
            from, colon == std::string_view::npos ? std::string_view::npos : colon - from);
        if (!dir.empty()) {
            // The PATH holds the system's own bytes.
            const fs::path candidate = fs::path(std::string(dir)) / std::string(name);
            if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        }
        if (colon == std::string_view::npos) break;
        from = colon + 1;
    }
    return std::nullopt;
}

RunOutcome runQuietly(const fs::path& program, const std::vector<std::string>& args,
                      std::chrono::milliseconds limit) {
    std::vector<std::string> texts = {program.native()};
    texts.insert(texts.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : texts) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return RunOutcome::NotStarted;

    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (true) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? RunOutcome::Succeeded
                                                                 : RunOutcome::Failed;
        if (done < 0 && errno != EINTR) return RunOutcome::Failed;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return RunOutcome::TimedOut;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace daike::os_files
