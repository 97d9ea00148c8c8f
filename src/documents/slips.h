// One slip per substitute (每人一张代课单): the substitute's name, every lesson he covers that day
// in period order (节次 with its clock time, class, subject, whose lesson and why) and the date,
// cut from an A4 sheet that holds several. After the substitutes were told, a print of the
// changes gives slips of the cover added since and a cancelling slip for cover withdrawn. The
// day's swaps (调课) are told on the slips of both their teachers, with both slots; a teacher
// who covers nothing that day gets a slip of his swaps alone.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "school/calendar.h"
#include "school/period_times.h"
#include "store/tables/covers.h"

namespace daike {

class Store;

struct SlipLesson {
    int period = 0;
    std::string periodLabel;  // "第3节（9:50–10:30）", or "第3节" without times
    std::string cls;
    std::string subject;
    std::string absent;
    std::string reason;
};

enum class SlipKind {
    Whole,      // the substitute's cover of the day
    Added,      // cover added since the substitutes were last told
    Withdrawn,  // cover the substitute was told of and no longer has
};

struct Slip {
    std::string substitute;
    std::string
        dateLine;  // "12月9日 星期三"; "第3周 星期三" while the first day of term is unknown
    std::vector<SlipLesson> lessons;  // in period order
    SlipKind kind = SlipKind::Whole;
    // The day's swaps of the teacher as swapping::toldTo tells them to him, in recording order:
    // "12月9日第3节 您代张老师上一(1)语文；张老师于12月11日第2节上您的一(1)数学".
    std::vector<std::string> swaps;
    bool withdrawn() const { return kind == SlipKind::Withdrawn; }
    // A slip of swaps alone, without a lesson covered.
    bool swapsOnly() const { return lessons.empty() && !swaps.empty(); }
};

inline constexpr const char* kSlipTitle = "代课通知单";
inline constexpr const char* kAddedSlipTitle = "代课通知单（补充）";
inline constexpr const char* kWithdrawnSlipTitle = "取消代课通知单";
inline constexpr const char* kWithdrawnLine = "以下代课已取消，不用去上课";
inline constexpr const char* kSwapSlipTitle = "调课通知单";
inline constexpr const char* kSwapLine = "调课（不计代课）：";

// The day of a record as a slip writes it.
std::string slipDateLine(const CoverRecord& r, std::optional<calendar::Day> termStart);

// One slip per substitute and day, in the order the records come (by substitute, as the store
// sorts the names); each slip's lessons in period order, ties in the order recorded.
std::vector<Slip> slipsOf(const std::vector<CoverRecord>& records, const PeriodTimes& times,
                          std::optional<calendar::Day> termStart, SlipKind kind = SlipKind::Whole);

// The slips of the changes since the substitutes were told: the added cover first, then the
// cancelling slips.
std::vector<Slip> changedSlips(const std::vector<CoverRecord>& added,
                               const std::vector<CoverRecord>& withdrawn, const PeriodTimes& times,
                               std::optional<calendar::Day> termStart);

// The same, each group in the order the store sorts the substitutes' names: the added cover as
// today's records (当天代课记录) are ordered, the withdrawn as the told ones (已通知代课).
std::vector<Slip> changedSlips(Store& store, std::vector<CoverRecord> added,
                               std::vector<CoverRecord> withdrawn);

// Every slip of today's cover (当天代课记录), with the stored period times and first day of term.
std::vector<Slip> todaysSlips(Store& store);
// The same with the swaps of a teaching day (week, weekday): each on the slip of both its
// teachers for that day, a slip of swaps alone after the others for a teacher without cover.
std::vector<Slip> todaysSlips(Store& store, int week, int weekday);

// A swap's text in the two lines a slip gives it: the lesson given up, the one in return.
std::pair<std::string, std::string> swapSlipLines(const std::string& swapText);

// The 周次 of a record, 0 when blank.
int slipWeek(const CoverRecord& r);

// How the slips share the A4 pages: sizes in tenths of a millimetre. A slip is never split; a
// page holds as many whole slips as fit one under another.
struct SlipPageLayout {
    static constexpr int kWidth = 1900;   // A4 less 10 mm each side
    static constexpr int kHeight = 2770;  // A4 less 10 mm at head and foot
    static constexpr int kCutGap = 60;    // the dashed cut line between two slips
    // A slip from the top: padding, title, "XX老师：", the line before the table, the table's
    // head and one row per lesson, "请按时到班上课。", the office's line, padding.
    static constexpr int kPad = 40;
    static constexpr int kTitle = 100;
    static constexpr int kLine = 75;
    static constexpr int kRow = 75;
    static constexpr int kFoot = 80;
    static constexpr int kFixed = 2 * kPad + kTitle + 3 * kLine + kRow + kFoot;
    // Without a lesson covered neither the line before the table nor its head is drawn; the
    // swaps take a line for their heading and two each.
    static int heightOf(const Slip& slip);
    // For every page, the indices of the slips on it. A slip too tall for a page alone is put
    // on a page of its own (and drawn shrunk to fit).
    static std::vector<std::vector<std::size_t>> pages(const std::vector<Slip>& slips);
};

}  // namespace daike
