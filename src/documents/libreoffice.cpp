#include "documents/libreoffice.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <random>
#include <thread>

extern char** environ;

namespace daike::libreoffice {

namespace fs = std::filesystem;

std::optional<fs::path> find() {
    const char* path = std::getenv("PATH");
    if (!path) return std::nullopt;
    const std::string dirs = path;
    for (const char* program : {"soffice", "libreoffice"}) {
        std::size_t from = 0;
        while (from <= dirs.size()) {
            const auto colon = dirs.find(':', from);
            const std::string dir =
                dirs.substr(from, colon == std::string::npos ? std::string::npos : colon - from);
            if (!dir.empty()) {
                const fs::path candidate = fs::path(dir) / program;
                if (::access(candidate.c_str(), X_OK) == 0) return candidate;
            }
            if (colon == std::string::npos) break;
            from = colon + 1;
        }
    }
    return std::nullopt;
}

Outcome convert(const std::vector<fs::path>& files, const fs::path& outDir,
                const std::string& format, std::chrono::seconds limit) {
    const auto soffice = find();
    if (!soffice) return Outcome::NotInstalled;
    if (files.empty()) return Outcome::Converted;
    std::random_device rd;
    const fs::path profile =
        fs::temp_directory_path() / ("daike-lo-" + std::to_string(rd()) + std::to_string(rd()));
    std::vector<std::string> args = {soffice->string(),
                                     "-env:UserInstallation=file://" + profile.string(),
                                     "--headless",
                                     "--norestore",
                                     "--nolockcheck",
                                     "--convert-to",
                                     format,
                                     "--outdir",
                                     outDir.string()};
    for (const auto& f : files) args.push_back(f.string());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // LibreOffice talks on its output; the office does not need to see it.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);

    Outcome outcome = Outcome::Converted;
    if (spawned != 0) {
        outcome = Outcome::NotStarted;
    } else {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (true) {
            const pid_t done = ::waitpid(pid, &status, WNOHANG);
            if (done == pid) {
                if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) outcome = Outcome::Failed;
                break;
            }
            if (done < 0 && errno != EINTR) {
                outcome = Outcome::Failed;
                break;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &status, 0);
                outcome = Outcome::TimedOut;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    std::error_code ec;
    fs::remove_all(profile, ec);
    if (outcome == Outcome::Converted) {
        // "pdf:writer_pdf_Export" names a filter after the extension.
        const std::string extension = format.substr(0, format.find(':'));
        for (const auto& f : files) {
            auto produced = outDir / f.filename();
            produced.replace_extension(extension);
            if (!fs::exists(produced, ec)) outcome = Outcome::Failed;
        }
    }
    return outcome;
}

}  // namespace daike::libreoffice
