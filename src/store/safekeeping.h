// Keeping the school's data safe: backups the operator makes, automatic backups before every
// operation that wipes or replaces data and once a day, the checked restore of a backup, and a
// place where files that must not be used (a damaged database, a log of an interrupted run) are
// kept aside instead of being deleted.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace daike {

class Store;

namespace safekeeping {

// A local wall-clock time, as the office's clock shows it.
struct Moment {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
    bool sameDay(const Moment& o) const {
        return year == o.year && month == o.month && day == o.day;
    }
};
Moment localNow();
// "20240320-081500", for file names.
std::string stamp(const Moment& m);
// "2024-03-20 08:15:00", for messages.
std::string shown(const Moment& m);

// The folder below the data directory that holds every backup.
inline constexpr const char* kBackupFolder = "备份";
// Automatic backups start with this; the operator's own start with "代课-".
inline constexpr const char* kAutomaticPrefix = "自动-";
inline constexpr const char* kOperatorPrefix = "代课-";
// How many automatic backups are kept; the operator's own are never deleted.
inline constexpr std::size_t kAutomaticKept = 30;
// Reasons of the automatic backups, part of their file names.
inline constexpr const char* kDaily = "每日";

std::filesystem::path backupFolder(const std::filesystem::path& dataDir);

// 备份/代课-YYYYMMDD-HHMMSS.db, with "-2", "-3" … added when that name is taken.
std::filesystem::path operatorBackupPath(const std::filesystem::path& dataDir, const Moment& now);

struct Backup {
    std::filesystem::path file;
    bool automatic = false;
    std::string reason;  // of an automatic backup: "所有数据清空前", "每日" …
    Moment time;         // from the name, or the file's time when the name has none
    std::uintmax_t bytes = 0;
};
// Every backup file directly in 备份/, newest first.
std::vector<Backup> listBackups(const std::filesystem::path& dataDir);
// "2024-03-20 08:15:00  自动备份（所有数据清空前）  96 KB"
std::string describe(const Backup& b);
// "96 KB", "1.2 MB"
std::string sizeText(std::uintmax_t bytes);

// Writes an automatic backup of the open database, named 自动-YYYYMMDD-HHMMSS-<reason>.db, and
// then deletes the oldest automatic backups beyond the last 30. Throws a Failure (the
// operation it guards must then not run) when the backup cannot be written.
std::filesystem::path automaticBackup(Store& store, const std::string& reason, const Moment& now);
// Whether today's daily backup has been made.
bool hasDailyBackup(const std::filesystem::path& dataDir, const Moment& now);
// Deletes the oldest automatic backups beyond kAutomaticKept.
void pruneAutomatic(const std::filesystem::path& dataDir);

// Puts files into a new folder 备份/保留-YYYYMMDD-HHMMSS/ (moved, or copied when `move` is
// false); files that do not exist are skipped. Returns the folder.
std::filesystem::path keepAside(const std::filesystem::path& dataDir,
                                const std::vector<std::filesystem::path>& files, bool move,
                                const Moment& now);

// Copies a backup the operator chose beside the database (代课.db.restore) and checks the copy:
// it opens with the program's key, passes the integrity check and has a layout this program
// knows. Returns the checked copy, ready for Store::replaceWith or installRestore; the chosen
// file itself is never changed. Throws a Failure saying in Chinese why the file cannot be
// used.
std::filesystem::path prepareRestore(const std::filesystem::path& candidate,
                                     const std::filesystem::path& dataDir);
// Puts a checked copy in place of 代课.db while no program has it open (at start): the old
// file's log files go with it.
void installRestore(const std::filesystem::path& checkedCopy, const std::filesystem::path& dataDir);

// File helpers that survive a crash at any point: the target is either the old or the new file.
void copyFileAtomically(const std::filesystem::path& from, const std::filesystem::path& to);
void syncDirectory(const std::filesystem::path& dir);
void syncFile(const std::filesystem::path& file);

}  // namespace safekeeping
}  // namespace daike
