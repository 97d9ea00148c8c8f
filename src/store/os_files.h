// What the program asks of the operating system about files and programs beyond
// std::filesystem, in one place: os_files_posix.cpp (Linux, and any POSIX system) and
// os_files_windows.cpp (Win32), chosen by CMake. Every path here is a std::filesystem::path,
// every text UTF-8 (store/paths.h).
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace daike::os_files {

// An exclusive lock on a file (made when missing), held until the object goes. POSIX: flock
// on an open descriptor; Windows: LockFileEx on a handle. Either way the system lets it go when
// the program ends, however it ends.
class FileLock {
  public:
    enum class Outcome {
        Taken,
        HeldByAnother,  // another process holds it
        CannotOpen,     // the file could not be opened or made; error() says why
    };
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    Outcome take(const std::filesystem::path& file);
    // The system's error as an errno value (EACCES, ENOSPC, …) after CannotOpen.
    int error() const { return error_; }

  private:
    std::intptr_t handle_ = -1;
    int error_ = 0;
};

// Whether the account may make and remove files in `folder` (POSIX: access W_OK | X_OK;
// Windows: a folder without the read-only attribute that a probe file can be made in).
bool canWriteIn(const std::filesystem::path& folder);
// Whether the account may read and write `file` (POSIX: access R_OK | W_OK; Windows:
// _waccess).
bool canReadAndWrite(const std::filesystem::path& file);
// The user number of the account owning `file` when that is not the running account (a lock
// file left by another account). Nothing when it is ours, cannot be read, or on Windows, where
// a file of another account shows as an access refusal.
std::optional<long> ownerWhenAnotherAccount(const std::filesystem::path& file);

// Writes a file's data, or a directory's entries (a rename made lasting), to the disk.
// Returns 0 or the system's error as an errno value. On NTFS a directory needs no sync.
int syncFile(const std::filesystem::path& file);
void syncDirectory(const std::filesystem::path& folder);

// The local time of a moment (localtime_r / localtime_s) and a file's time of last change.
std::tm localTime(std::time_t t);
std::optional<std::time_t> modifiedAt(const std::filesystem::path& file);

// The bytes of a regular file, at most `maxBytes`. A link is not followed, and a pipe or
// device is not opened for reading (it could block for ever).
struct FileBytes {
    enum class Problem { None, NotFound, NoAccess, NotRegular, TooLarge, ReadError };
    Problem problem = Problem::None;
    std::uint64_t size = 0;  // as the system gave it (TooLarge: more than maxBytes, or grew)
    std::string bytes;
};
FileBytes readRegularFile(const std::filesystem::path& file, std::uint64_t maxBytes);

// A file name for a C library that opens files with fopen (FreeXL): POSIX: the path's own
// bytes; Windows: the short (8.3) form in the local code page, since fopen there reads that
// code page and a Chinese name would not survive it.
std::string nameForFopen(const std::filesystem::path& file);

// A program by name on the PATH (Windows: also name.exe, and under %ProgramFiles% and
// %ProgramFiles(x86)% in `windowsFolder`, e.g. "LibreOffice\\program"); POSIX ignores that.
std::optional<std::filesystem::path> findProgram(std::string_view name,
                                                 std::string_view windowsFolder = {});

// Runs a program with UTF-8 arguments, its output discarded, and waits at most `limit`; a run
// past it is stopped.
enum class RunOutcome { Succeeded, Failed, NotStarted, TimedOut };
RunOutcome runQuietly(const std::filesystem::path& program, const std::vector<std::string>& args,
                      std::chrono::milliseconds limit);

}  // namespace daike::os_files
