// The cover notices: the cover recorded since the assignment screen was opened (临时代课记录),
// read in order of the substitute's name, turned into the sentences of the record viewer and
// the cells of the printed notice.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "school/calendar.h"
#include "school/period_times.h"
#include "store/tables/covers.h"
#include "store/week.h"

namespace daike {

class Store;
class WordDocument;

// The cover recorded since the assignment screen opened, by substitute (ties in the order
// recorded).
std::vector<CoverRecord> readSessionCover(Store& store);

// Which cover the viewer and the notices are made of: what was recorded since the assignment
// screen last opened (本次, the default), or every cover of the working day (今天全部), so that
// the morning's notices can still be seen and printed after a late absence.
enum class NoticeScope { Session, Today };
inline constexpr const char* kSessionScopeName = "本次";
inline constexpr const char* kTodayScopeName = "今天全部";
inline constexpr const char* kNoCoverToday = "今天还没有代课记录！";

// The cover of that scope, by substitute (ties in the order recorded).
std::vector<CoverRecord> readCover(Store& store, NoticeScope scope);

// The viewer's sixteen cells of a record: 被代 老师因 性质 特请 代者 老师代 班级 班 上午/下午 第
// n 节 课目 课 1 节.
std::array<std::string, 16> viewerCells(const CoverRecord& r);

// The nine values of one notice.
struct Notice {
    std::string absent;                 // 0
    std::string reason;                 // 1
    std::string substitute;             // 2
    std::string cls;                    // 3
    std::string half;                   // 4 上午 / 下午
    std::string period;                 // 5 period within the half (week::periodInHalf)
    std::string subject;                // 6
    std::optional<calendar::Day> date;  // 7 the lesson's date; none while the first day of term
                                        //   or the week is unknown
    int weekday = 0;                    // 8
    std::string times;                  // the lesson's clock time ("9:50–10:30"); "" unless
                                        //   作息时间 gives the period both ends
};

Notice noticeOf(const CoverRecord& r, std::optional<calendar::Day> termStart,
                const PeriodTimes& times);

// A cell of a notice table and the text written there.
struct NoticeCell {
    int row;
    int column;
    std::string text;
};

// The ten cells of one notice table, in the order they are written. A lesson with a clock time
// has it in brackets before the subject, so the line reads "第2节（9:50–10:30）语文课".
std::vector<NoticeCell> noticeCells(const Notice& n);

// Writes notice i (from 1) into tables 2i−1 and 2i. When the document has fewer than 2n
// tables, its last page is repeated first. Throws Failure (a template without tables, or
// whose tables lack one of the cells).
void fillNotices(WordDocument& doc, const std::vector<Notice>& notices);

}  // namespace daike
