// Where the school's data lives when the program is started without --data.
#pragma once

#include <filesystem>

namespace daike {

// The program directory is the data directory of a copy kept in a folder of its own (scripts/run
// installs into daike/; a copy unpacked on a USB stick) and of any program directory that
// already holds the school's file, writable or not (the store then says why it cannot be
// written, rather than a new empty school appearing elsewhere). A copy installed for all users
// (a system directory such as /usr/bin, or one this user cannot write) keeps each user's school
// in `userDirectory`, even for root, who could write /usr/bin.
std::filesystem::path chooseDataDirectory(const std::filesystem::path& programDirectory,
                                          bool programDirectoryWritable,
                                          const std::filesystem::path& userDirectory);

// Whether a directory belongs to the system's installed software (/usr/…, /opt/…, /bin, /sbin):
// no school's data goes there.
bool isSystemDirectory(const std::filesystem::path& directory);

}  // namespace daike
