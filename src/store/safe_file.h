// Writing a file so that it never replaces something good with something less: the new content
// goes to a temporary file beside the target (".~NAME.NNNNNN.tmp"), is checked, synced and only
// then renamed over the target. On any failure the old file stays as it was, the temporary one
// is removed, and a Failure says in Chinese why (a full disk is named as such). Temporary files
// of runs that were killed half-way are removed at the next start (removeLeftovers).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace daike::safefile {

// What the finished file must look like before it may replace the target.
enum class Content {
    Any,  // more than zero bytes
    Pdf,  // starts with "%PDF-" and ends with "%%EOF" (a writer cut short leaves no trailer)
    Png,  // the PNG signature first and the IEND chunk last
};

// ".~NAME.NNNNNN.tmp" in the target's folder, so that the rename stays on one disk.
std::filesystem::path temporaryBeside(const std::filesystem::path& target);

// Checks the temporary file, syncs it and renames it over the target; on failure removes it
// and throws a Failure (CannotWrite) naming the target.
void putInPlace(const std::filesystem::path& temp, const std::filesystem::path& target,
                Content content = Content::Any);

// Lets `write` fill a temporary file beside the target and then puts it in place. A throw from
// `write` removes the temporary file and passes on.
void write(const std::filesystem::path& target,
           const std::function<void(const std::filesystem::path& temp)>& write,
           Content content = Content::Any);

// The sentence for a failed write of `file` with the system's error number: a full disk reads
// "磁盘空间不足", the system's own text follows in brackets.
std::string cannotWriteText(const std::filesystem::path& file, int error);

// Whether a system error number (errno) says the disk or the account's quota is full.
bool diskFull(int error);
// The errno value of a std::filesystem error (EIO when it has none).
int errnoOf(const std::error_code& code);

// Whether the disk of `folder` has less than `bytes` free: a writer that failed without a reason
// (or a check that failed) most likely ran out of room. False when the disk cannot be asked.
bool almostFull(const std::filesystem::path& folder, std::uintmax_t bytes = 64 * 1024);

// Whether `name` is one of our own temporary names: ".~…NNN.tmp" of the writes above, and the
// ".db.part" / ".db.part-journal" of a backup or database being built.
bool isLeftover(const std::string& name);
// Removes the leftovers directly in `folder` (never below it); returns how many went.
int removeLeftovers(const std::filesystem::path& folder);

}  // namespace daike::safefile
