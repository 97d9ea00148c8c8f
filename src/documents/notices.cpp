#include "documents/notices.h"

#include <algorithm>

#include "documents/docx.h"
#include "store/value.h"
#include "store/week.h"

namespace daike {

std::vector<CoverRecord> readSessionCover(Store& store) {
    return covers::bySubstitute(store, CoverTable::Session);
}

std::vector<CoverRecord> readCover(Store& store, NoticeScope scope) {
    return covers::bySubstitute(
        store, scope == NoticeScope::Today ? CoverTable::Today : CoverTable::Session);
}

namespace {
std::string halfDay(int period) {
    return std::string(week::halfName(period));
}
// "一" … "五" for Monday … Friday; "" for any other number.
std::string schoolDayNumeral(int weekday) {
    return week::isWeekday(weekday) ? std::string(week::weekdayNumeral(weekday)) : "";
}
}  // namespace

std::array<std::string, 16> viewerCells(const CoverRecord& r) {
    return {r.absent,
            "老师因",
            r.reason,
            "特请",
            r.substitute,
            "老师代",
            r.cls,
            "班",
            halfDay(r.period),
            "第",
            std::to_string(week::periodInHalf(r.period)),
            "节",
            r.subject,
            "课",
            "1",
            "节"};
}

Notice noticeOf(const CoverRecord& r, std::optional<calendar::Day> termStart,
                const PeriodTimes& times) {
    Notice n;
    n.absent = r.absent;
    n.reason = r.reason;
    n.substitute = r.substitute;
    n.cls = r.cls;
    n.half = halfDay(r.period);
    n.period = std::to_string(week::periodInHalf(r.period));
    n.subject = r.subject;
    n.weekday = r.weekday;
    n.times = times.span(r.period);
    // The week is stored as it was shown; a blank one (no first day of term then) has no date.
    const double week = leadingNumber(r.week);
    if (termStart && week >= 1)
        n.date = calendar::dateOf(*termStart, static_cast<int>(week), r.weekday);
    return n;
}

std::vector<NoticeCell> noticeCells(const Notice& n) {
    std::string day, dateLine;
    if (n.date) {
        const std::chrono::year_month_day ymd{*n.date};
        day = std::to_string(static_cast<unsigned>(ymd.day()));
        dateLine = std::to_string(static_cast<int>(ymd.year())) + "年" +
                   std::to_string(static_cast<unsigned>(ymd.month())) + "月" + day + "日";
    }
    return {
        {2, 1, " " + n.substitute + " "},
        {3, 2, n.absent},
        {3, 4, "   " + n.reason + "   "},
        {4, 2, " " + n.cls + " "},
        {4, 6, n.half},
        {4, 8, " " + n.period + " "},
        {4, 10, n.times.empty() ? "  " + n.subject + "  " : "（" + n.times + "）" + n.subject},
        {4, 4, " " + day + " "},
        {7, 4, dateLine},
        {5, 2, "周" + schoolDayNumeral(n.weekday)},
    };
}

void fillNotices(WordDocument& doc, const std::vector<Notice>& notices) {
    const int needed = 2 * static_cast<int>(notices.size());
    if (doc.tableCount() == 0 && needed > 0)
        throw Failure(Failure::Kind::NoSuchCell,
                      "通知模板“" + doc.name() +
                          "”中没有表格，无法填写代课通知。请删除它，程序会重新生成默认模板。");
    // A template with fewer pages than notices: its last page is repeated as often as needed.
    while (doc.tableCount() < needed) {
        const int before = doc.tableCount();
        if (doc.appendLastPageCopies(1) == before)
            throw Failure(Failure::Kind::NoSuchCell,
                          "通知模板“" + doc.name() + "”的最后一页没有表格，无法为" +
                              std::to_string(notices.size()) +
                              "份通知续页。请在最后一页放入两个通知表格。");
    }
    for (std::size_t i = 0; i < notices.size(); ++i) {
        const int first = 2 * static_cast<int>(i) + 1;
        for (const auto& cell : noticeCells(notices[i])) {
            doc.setCellText(first, cell.row, cell.column, cell.text);
            doc.setCellText(first + 1, cell.row, cell.column, cell.text);
        }
    }
}

}  // namespace daike
