#include "store/safekeeping.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <regex>

#include "store/failure.h"
#include "store/os_files.h"
#include "store/paths.h"
#include "store/safe_file.h"
#include "store/store.h"

namespace daike::safekeeping {

namespace fs = std::filesystem;

namespace {

Moment fromTime(std::time_t t) {
    const std::tm tm = os_files::localTime(t);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// A name not yet taken: "base.ext", else "base-2.ext", "base-3.ext" …
fs::path unused(const fs::path& folder, const std::string& base, const std::string& ext) {
    fs::path p = inFolder(folder, base + ext);
    std::error_code ec;
    for (int n = 2; fs::exists(p, ec); ++n)
        p = inFolder(folder, base + "-" + std::to_string(n) + ext);
    return p;
}

Failure cannotKeepAside(const fs::path& folder, const std::error_code& code) {
    const bool full = safefile::diskFull(safefile::errnoOf(code));
    return Failure(full ? Failure::Kind::DiskFull : Failure::Kind::CannotWrite,
                   std::string(full ? "磁盘空间不足，" : "") + "无法把上次运行留下的文件复制到“" +
                       utf8(folder) +
                       "”保存，数据库没有打开，文件都保持原样。请腾出磁盘空间后重新启动程序。（" +
                       code.message() + "）");
}

}  // namespace

Moment localNow() {
    return fromTime(std::time(nullptr));
}

std::string stamp(const Moment& m) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d-%02d%02d%02d", m.year, m.month, m.day, m.hour,
                  m.minute, m.second);
    return buf;
}

std::string shown(const Moment& m) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", m.year, m.month, m.day, m.hour,
                  m.minute, m.second);
    return buf;
}

fs::path backupFolder(const fs::path& dataDir) {
    return inFolder(dataDir, kBackupFolder);
}

fs::path operatorBackupPath(const fs::path& dataDir, const Moment& now) {
    return unused(backupFolder(dataDir), kOperatorPrefix + stamp(now), ".db");
}

std::vector<Backup> listBackups(const fs::path& dataDir) {
    std::vector<Backup> out;
    std::error_code ec;
    const auto folder = backupFolder(dataDir);
    if (!fs::is_directory(folder, ec)) return out;
    static const std::regex named(
        "^(代课|自动)-(\\d{4})(\\d{2})(\\d{2})-(\\d{2})(\\d{2})(\\d{2})(?:-([^.]*))?\\.db$");
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        std::error_code fec;
        if (!e.is_regular_file(fec) || e.path().extension() != ".db") continue;
        Backup b;
        b.file = e.path();
        b.bytes = e.file_size(fec);
        const std::string name = fileNameText(e.path());
        std::smatch m;
        if (std::regex_match(name, m, named)) {
            b.automatic = m[1] == "自动";
            b.time = {std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4]),
                      std::stoi(m[5]), std::stoi(m[6]), std::stoi(m[7])};
            if (b.automatic && m[8].matched) {
                b.reason = m[8];
                // A second backup in the same second carries "-2" after its reason.
                static const std::regex counted("^(.*)-\\d+$");
                std::smatch c;
                if (std::regex_match(b.reason, c, counted)) b.reason = c[1];
            }
        } else {
            if (const auto t = os_files::modifiedAt(e.path())) b.time = fromTime(*t);
        }
        out.push_back(std::move(b));
    }
    std::sort(out.begin(), out.end(), [](const Backup& a, const Backup& b) {
        const auto ka = stamp(a.time), kb = stamp(b.time);
        if (ka != kb) return ka > kb;
        return fileNameText(a.file) > fileNameText(b.file);
    });
    return out;
}

std::string sizeText(std::uintmax_t bytes) {
    char buf[32];
    if (bytes < 1024 * 1024) {
        std::snprintf(buf, sizeof buf, "%ju KB", (bytes + 1023) / 1024);
    } else {
        std::snprintf(buf, sizeof buf, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    }
    return buf;
}

std::string describe(const Backup& b) {
    std::string kind = b.automatic ? "自动备份" : "手动备份";
    if (b.automatic && !b.reason.empty()) kind += "（" + b.reason + "）";
    return shown(b.time) + "  " + kind + "  " + sizeText(b.bytes);
}

void pruneAutomatic(const fs::path& dataDir) {
    std::vector<Backup> automatic;
    for (auto& b : listBackups(dataDir))
        if (b.automatic) automatic.push_back(std::move(b));
    // Newest first: everything past the last kAutomaticKept goes.
    for (std::size_t i = kAutomaticKept; i < automatic.size(); ++i) {
        std::error_code ec;
        fs::remove(automatic[i].file, ec);
    }
}

fs::path automaticBackup(Store& store, const std::string& reason, const Moment& now) {
    const auto dataDir = store.directory();
    const auto dest =
        unused(backupFolder(dataDir), kAutomaticPrefix + stamp(now) + "-" + reason, ".db");
    store.backupTo(dest);
    pruneAutomatic(dataDir);
    return dest;
}

bool hasDailyBackup(const fs::path& dataDir, const Moment& now) {
    for (const auto& b : listBackups(dataDir))
        if (b.automatic && b.reason == kDaily && b.time.sameDay(now)) return true;
    return false;
}

fs::path keepAside(const fs::path& dataDir, const std::vector<fs::path>& files, bool move,
                   const Moment& now) {
    const auto folder = unused(backupFolder(dataDir), "保留-" + stamp(now), "");
    std::vector<fs::path> copied;
    try {
        fs::create_directories(folder);
        for (const auto& f : files) {
            std::error_code ec;
            if (!fs::exists(f, ec)) continue;
            const auto to = folder / f.filename();
            if (move) {
                fs::rename(f, to, ec);
                if (!ec) continue;
            }
            fs::copy_file(f, to, fs::copy_options::overwrite_existing);
            syncFile(to);
            copied.push_back(to);
            if (move) fs::remove(f);
        }
    } catch (const fs::filesystem_error& e) {
        // A half-made copy is no copy: what was copied goes, the originals stay.
        std::error_code ec;
        for (const auto& c : copied) fs::remove(c, ec);
        for (const auto& f : files) fs::remove(folder / f.filename(), ec);
        fs::remove(folder, ec);
        throw cannotKeepAside(folder, e.code());
    }
    syncDirectory(folder);
    return folder;
}

void syncFile(const fs::path& file) {
    os_files::syncFile(file);
}

void syncDirectory(const fs::path& dir) {
    os_files::syncDirectory(dir);
}

void copyFileAtomically(const fs::path& from, const fs::path& to) {
    const fs::path part = withSuffix(to, ".part");
    try {
        fs::copy_file(from, part, fs::copy_options::overwrite_existing);
        syncFile(part);
        fs::rename(part, to);
    } catch (const fs::filesystem_error& e) {
        std::error_code ec;
        fs::remove(part, ec);
        throw Failure(safefile::diskFull(safefile::errnoOf(e.code())) ? Failure::Kind::DiskFull
                                                                      : Failure::Kind::CannotWrite,
                      safefile::cannotWriteText(to, safefile::errnoOf(e.code())));
    }
    syncDirectory(to.parent_path());
}

fs::path prepareRestore(const fs::path& candidate, const fs::path& dataDir) {
    using K = Failure::Kind;
    std::error_code ec;
    const std::string name = utf8(candidate);
    if (!fs::is_regular_file(candidate, ec)) {
        throw Failure(K::NoAccess, "找不到文件“" + name + "”，没有恢复任何数据。");
    }
    if (fs::equivalent(candidate, inFolder(dataDir, Store::kFileName), ec)) {
        throw Failure(K::Usage,
                      "“" + name + "”就是正在使用的数据库文件，不能用它恢复。请选择一个备份文件。");
    }
    if (fs::file_size(candidate, ec) == 0) {
        throw Failure(K::NotOurFile,
                      "文件“" + name + "”是空的（0 字节），不能用来恢复。请选择另一个备份。");
    }
    const fs::path copy = inFolder(dataDir, std::string(Store::kFileName) + ".restore");
    fs::remove(copy, ec);
    fs::copy_file(candidate, copy, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        throw Failure(K::NoAccess, "无法读取文件“" + name +
                                       "”或在数据目录中写入它的副本，"
                                       "没有恢复任何数据。请检查文件权限和磁盘空间。（" +
                                       ec.message() + "）");
    }
    try {
        Store::checkCopy(copy, name);
    } catch (...) {
        fs::remove(copy, ec);
        fs::remove(withSuffix(copy, "-journal"), ec);
        throw;
    }
    syncFile(copy);
    return copy;
}

void installRestore(const fs::path& checkedCopy, const fs::path& dataDir) {
    const auto file = inFolder(dataDir, Store::kFileName);
    std::error_code ec;
    fs::remove(withSuffix(file, Store::kLogSuffix), ec);
    fs::remove(withSuffix(file, Store::kIndexSuffix), ec);
    fs::rename(checkedCopy, file);
    syncDirectory(dataDir);
}

}  // namespace daike::safekeeping
