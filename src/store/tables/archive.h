// 代课存档: the cover records of past terms. A term's 代课记录 is copied here before it is
// cleared, with the term's name, its first day and each record's calendar date, so that pay
// and end-of-year reviews can still be made after 代课明细清零.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/tables/covers.h"

namespace daike {

class Store;

struct ArchivedCover {
    std::string term;       // 学期: "2024年春季学期"
    std::string termStart;  // 学期首日 as 开学第一天 held it ("2024/2/26"), "" when not set
    CoverRecord record;
    std::string date;  // 日期 YYYY-MM-DD, "" when the first day of term was not set
};

namespace archive {

// Appends the records, in their order, in one transaction.
void keep(Store& store, const std::vector<ArchivedCover>& covers);
// Every archived record, in the order kept.
std::vector<ArchivedCover> all(Store& store);
// The records dated from `from` to `to` (YYYY-MM-DD, both included), in date order, ties in
// the order kept.
std::vector<ArchivedCover> between(Store& store, const std::string& from, const std::string& to);
// The terms kept, in the order they were archived.
std::vector<std::string> terms(Store& store);
std::vector<ArchivedCover> ofTerm(Store& store, const std::string& term);
std::size_t count(Store& store);
// The months the dated records fall in ("2024-09"), oldest first.
std::vector<std::string> months(Store& store);
void clear(Store& store);

}  // namespace archive
}  // namespace daike
