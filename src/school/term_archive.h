// Past terms kept: before a term's cover records are cleared (代课明细清零, 所有数据清空) they are
// copied into 代课存档 with the term's name and each record's calendar date.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "school/calendar.h"
#include "store/tables/archive.h"

namespace daike {

class Store;

// The term a first day of term begins: "2024年春季学期" (a first day from January to July),
// "2024年秋季学期" (August to December); "未设学期首日的学期" when there is none.
std::string termName(std::optional<calendar::Day> termStart);

// The date of a record's week and weekday in the term that began then (YYYY-MM-DD), or "" when
// the week is not a teaching week's number or the weekday not a school day.
std::string recordDate(std::optional<calendar::Day> termStart, const CoverRecord& record);

// "2024-03-20"
std::string isoDate(calendar::Day day);

// The term's records (代课记录) as they would be archived now.
std::vector<ArchivedCover> termForArchive(Store& store);

// Copies the term's records into 代课存档 (代课记录 itself is left as it is). Returns how many.
std::size_t keepTermRecords(Store& store);

// A cover of any term with its calendar date.
struct DatedCover {
    CoverRecord record;
    std::string date;       // YYYY-MM-DD
    std::string term;       // "2024年春季学期"
    bool archived = false;  // from 代课存档; else this term's 代课记录
};
// Every cover dated from `from` to `to` (YYYY-MM-DD, both included): the past terms' from
// 代课存档 and this term's from 代课记录 (dated from the first day of term; none without it), in
// date order, ties in the order recorded (past terms first).
std::vector<DatedCover> coversBetween(Store& store, const std::string& from, const std::string& to);

// What 代课存档 holds now, and what it would hold with this term's records.
struct ArchiveSize {
    std::size_t archived = 0;  // past terms' records
    std::size_t term = 0;      // this term's, in 代课记录
};
ArchiveSize archiveSize(Store& store);

}  // namespace daike
