// 修改记录: the corrections made after the fact (补登, 改事由), one row each, kept with the school.
#pragma once

#include <string>
#include <vector>

namespace daike {

class Store;

struct ChangeLogEntry {
    std::string when;    // "2026-12-09 08:15"
    std::string what;    // "补登", "改事由"
    std::string before;  // the record as it was ("" for 补登)
    std::string after;   // the record as it is now
};

namespace changelog {

void append(Store& store, const ChangeLogEntry& entry);
// Every entry, the newest first.
std::vector<ChangeLogEntry> newestFirst(Store& store);

}  // namespace changelog
}  // namespace daike
