// The Win32 side of os_files.h, chosen by CMake when building for Windows (os_files_posix.cpp
// is the POSIX one). Every call takes the path's own wide text, so Chinese names pass whole.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "store/os_files.h"
#include "store/paths.h"

namespace daike::os_files {

namespace fs = std::filesystem;

namespace {

HANDLE asHandle(std::intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

// The errno value the rest of the program reads (cannotWriteText, describeAccessProblem).
int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        default:
            return EIO;
    }
}

std::wstring wide(std::string_view utf8Text) {
    if (utf8Text.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(),
                                      static_cast<int>(utf8Text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8Text.data(), static_cast<int>(utf8Text.size()), out.data(),
                        n);
    return out;
}

}  // namespace

FileLock::~FileLock() {
    // Closing the handle releases the lock.
    if (handle_ != -1) CloseHandle(asHandle(handle_));
}

FileLock::Outcome FileLock::take(const fs::path& file) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error_ = errnoOf(GetLastError());
        return Outcome::CannotOpen;
    }
    if (handle_ != -1) CloseHandle(asHandle(handle_));
    handle_ = reinterpret_cast<std::intptr_t>(h);
    OVERLAPPED at{};
    return LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)
               ? Outcome::Taken
               : Outcome::HeldByAnother;
}

bool canWriteIn(const fs::path& folder) {
    // _waccess on a folder only reads the read-only attribute; the folder's rights decide
    // (C:\Program Files lets a user read but not write). A probe file says for sure.
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    const fs::path probe = folder / L".~daike-probe.tmp";
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
}

bool canReadAndWrite(const fs::path& file) {
    return _waccess(file.c_str(), 06) == 0;
}

std::optional<long> ownerWhenAnotherAccount(const fs::path&) {
    return std::nullopt;
}

int syncFile(const fs::path& file) {
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return errnoOf(GetLastError());
    const int synced = FlushFileBuffers(h) ? 0 : errnoOf(GetLastError());
    CloseHandle(h);
    return synced;
}

void syncDirectory(const fs::path&) {
    // NTFS makes a rename lasting on its own; a directory cannot be flushed.
}

std::tm localTime(std::time_t t) {
    std::tm tm{};
    localtime_s(&tm, &t);
    return tm;
}

std::optional<std::time_t> modifiedAt(const fs::path& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    ULARGE_INTEGER ticks{};
    ticks.LowPart = data.ftLastWriteTime.dwLowDateTime;
    ticks.HighPart = data.ftLastWriteTime.dwHighDateTime;
    // 100 ns steps since 1601-01-01.
    return static_cast<std::time_t>(ticks.QuadPart / 10000000ULL - 11644473600ULL);
}

FileBytes readRegularFile(const fs::path& file, std::uint64_t maxBytes) {
    using P = FileBytes::Problem;
    FileBytes out;
    HANDLE h =
        CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        out.problem =
            e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND ? P::NotFound : P::NoAccess;
        return out;
    }
    struct Closer {
        HANDLE h;
        ~Closer() { CloseHandle(h); }
    } closer{h};
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        out.problem = P::NotRegular;
        return out;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(h, &size)) {
        out.problem = P::ReadError;
        return out;
    }
    out.size = static_cast<std::uint64_t>(size.QuadPart);
    if (out.size > maxBytes) {
        out.problem = P::TooLarge;
        return out;
    }
    out.bytes.reserve(static_cast<std::size_t>(out.size));
    char buffer[65536];
    while (true) {
        DWORD n = 0;
        if (!ReadFile(h, buffer, sizeof buffer, &n, nullptr)) {
            out.problem = P::ReadError;
            out.bytes.clear();
            return out;
        }
        if (n == 0) break;
        out.bytes.append(buffer, n);
        if (out.bytes.size() > maxBytes) {  // it grew while being read
            out.problem = P::TooLarge;
            out.bytes.clear();
            return out;
        }
    }
    return out;
}

std::string nameForFopen(const fs::path& file) {
    const std::wstring& name = file.native();
    const DWORD n = GetShortPathNameW(name.c_str(), nullptr, 0);
    std::wstring shortName(n, L'\0');
    if (n == 0 || GetShortPathNameW(name.c_str(), shortName.data(), n) == 0) {
        shortName = name;  // 8.3 names switched off on this disk: the long name, as it comes
    } else {
        shortName.resize(std::wcslen(shortName.c_str()));
    }
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, shortName.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, shortName.c_str(), -1, out.data(), bytes, nullptr, nullptr);
    out.resize(std::strlen(out.c_str()));
    return out;
}

namespace {

bool isProgram(const fs::path& p) {
    const DWORD a = GetFileAttributesW(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<fs::path> underEnvironment(const wchar_t* variable, std::string_view folder,
                                         const fs::path& program) {
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(variable, buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::nullopt;
    const fs::path candidate = fs::path(buffer) / pathFromUtf8(folder) / program;
    if (isProgram(candidate)) return candidate;
    return std::nullopt;
}

// One argument in the quoting CommandLineToArgvW reads back.
std::wstring quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    std::size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        out.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, L'\\');
    return out + L"\"";
}

}  // namespace

std::optional<fs::path> findProgram(std::string_view name, std::string_view windowsFolder) {
    const fs::path program = pathFromUtf8(std::string(name) + ".exe");
    if (!windowsFolder.empty()) {
        for (const wchar_t* variable : {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432"})
            if (auto found = underEnvironment(variable, windowsFolder, program)) return found;
    }
    const DWORD n = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    if (n == 0) return std::nullopt;
    std::wstring dirs(n, L'\0');
    dirs.resize(GetEnvironmentVariableW(L"PATH", dirs.data(), n));
    std::size_t from = 0;
    while (from <= dirs.size()) {
        const auto semicolon = dirs.find(L';', from);
        const std::wstring dir = dirs.substr(
            from, semicolon == std::wstring::npos ? std::wstring::npos : semicolon - from);
        if (!dir.empty() && isProgram(fs::path(dir) / program)) return fs::path(dir) / program;
        if (semicolon == std::wstring::npos) break;
        from = semicolon + 1;
    }
    return std::nullopt;
}

RunOutcome runQuietly(const fs::path& program, const std::vector<std::string>& args,
                      std::chrono::milliseconds limit) {
    std::wstring line = quoted(program.native());
    for (const auto& a : args) line += L" " + quoted(wide(a));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process))
        return RunOutcome::NotStarted;
    CloseHandle(process.hThread);
    RunOutcome outcome = RunOutcome::Failed;
    const DWORD waited = WaitForSingleObject(process.hProcess, static_cast<DWORD>(limit.count()));
    if (waited == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
        outcome = RunOutcome::TimedOut;
    } else if (waited == WAIT_OBJECT_0) {
        DWORD code = 1;
        if (GetExitCodeProcess(process.hProcess, &code) && code == 0)
            outcome = RunOutcome::Succeeded;
    }
    CloseHandle(process.hProcess);
    return outcome;
}

}  // namespace daike::os_files
