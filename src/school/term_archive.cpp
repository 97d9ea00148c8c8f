#include "school/term_archive.h"

#include <algorithm>

#include "school/term_start.h"
#include "store/store.h"
#include "store/text.h"
#include "store/week.h"

namespace daike {

std::string termName(std::optional<calendar::Day> termStart) {
    if (!termStart) return "未设学期首日的学期";
    const std::chrono::year_month_day ymd{*termStart};
    const int year = static_cast<int>(ymd.year());
    const bool spring = static_cast<unsigned>(ymd.month()) <= 7;
    return std::to_string(year) + (spring ? "年春季学期" : "年秋季学期");
}

std::string isoDate(calendar::Day day) {
    const auto s = calendar::stamp(day);
    return s.substr(0, 4) + "-" + s.substr(4, 2) + "-" + s.substr(6, 2);
}

std::string recordDate(std::optional<calendar::Day> termStart, const CoverRecord& record) {
    if (!termStart) return "";
    const auto week = text::wholeNumber(record.week, 3);
    if (!week || *week < 1 || record.weekday < 1 || record.weekday > week::kDays) return "";
    return isoDate(calendar::dateOf(*termStart, static_cast<int>(*week), record.weekday));
}

std::vector<ArchivedCover> termForArchive(Store& store) {
    const auto start = readTermStart(store);
    const std::string startText = readTermStartText(store).value_or("");
    const std::string term = termName(start);
    std::vector<ArchivedCover> out;
    for (auto& r : covers::read(store, CoverTable::Term))
        out.push_back({term, startText, r, recordDate(start, r)});
    return out;
}

std::size_t keepTermRecords(Store& store) {
    const auto term = termForArchive(store);
    archive::keep(store, term);
    return term.size();
}

std::vector<DatedCover> coversBetween(Store& store, const std::string& from,
                                      const std::string& to) {
    std::vector<DatedCover> out;
    for (auto& a : archive::between(store, from, to))
        out.push_back({std::move(a.record), std::move(a.date), std::move(a.term), true});
    for (auto& a : termForArchive(store))
        if (!a.date.empty() && a.date >= from && a.date <= to)
            out.push_back({std::move(a.record), std::move(a.date), std::move(a.term), false});
    std::stable_sort(out.begin(), out.end(),
                     [](const DatedCover& a, const DatedCover& b) { return a.date < b.date; });
    return out;
}

ArchiveSize archiveSize(Store& store) {
    return {archive::count(store), covers::read(store, CoverTable::Term).size()};
}

}  // namespace daike
