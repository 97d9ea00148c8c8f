#include "basedata/timetable_export.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "basedata/classes.h"
#include "basedata/timetable_grids.h"
#include "documents/xlsx_file.h"
#include "school/period_times.h"
#include "store/failure.h"
#include "store/safe_file.h"
#include "store/tables/teachers.h"
#include "store/tables/timetable.h"
#include "store/text.h"

namespace daike::timetable_export {

namespace fs = std::filesystem;

std::string slotHeader(int weekday, int period) {
    return "周" + std::string(week::weekdayNumeral(weekday)) + std::to_string(period);
}

std::string SheetNames::add(std::string_view wanted) {
    constexpr std::size_t kMax = LXW_SHEETNAME_MAX;
    std::vector<std::string> chars = text::characters(wanted);
    for (auto& c : chars)
        if (c.size() == 1 && std::string_view("[]:*?/\\").find(c[0]) != std::string_view::npos)
            c = "_";
    if (!chars.empty() && chars.front() == "'") chars.front() = "_";
    if (!chars.empty() && chars.back() == "'") chars.back() = "_";
    if (chars.empty()) chars.push_back("_");
    auto join = [](const std::vector<std::string>& cs, std::size_t n) {
        std::string s;
        for (std::size_t i = 0; i < n && i < cs.size(); ++i) s += cs[i];
        return s;
    };
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    std::string name = join(chars, kMax);
    for (int n = 2; used_.count(lower(name)); ++n) {
        // Built piece by piece: GCC 12's -Wrestrict misreads "(" + to_string(n) at -O3.
        std::string suffix = "(";
        suffix += std::to_string(n);
        suffix += ")";
        name = join(chars, kMax - suffix.size()) + suffix;
    }
    used_.insert(lower(name));
    return name;
}

namespace {

[[noreturn]] void cannotWrite(const std::string& message) {
    throw Failure(Failure::Kind::CannotWrite, message);
}

// The number of lines of a cell's text.
int linesOf(const std::string& s) {
    return 1 + static_cast<int>(std::count(s.begin(), s.end(), '\n'));
}

// Column width for the longest line of the texts; a Chinese character takes two places.
double widthOf(const std::string& s) {
    double widest = 0, w = 0;
    for (const auto& c : text::characters(s)) {
        if (c == "\n") {
            widest = std::max(widest, w);
            w = 0;
        } else {
            w += c.size() > 1 ? 2.1 : 1.1;
        }
    }
    return std::max(widest, w);
}

struct Formats {
    lxw_format* header = nullptr;  // bold, centred
    lxw_format* cell = nullptr;    // wrapped, centred vertically
    lxw_format* title = nullptr;   // the printable sheets' title
    lxw_format* grid = nullptr;    // bordered, wrapped, centred
    lxw_format* gridHead = nullptr;
    lxw_format* lunch = nullptr;  // the 午休 band
};

Formats makeFormats(lxw_workbook* wb) {
    Formats f;
    f.header = workbook_add_format(wb);
    format_set_bold(f.header);
    format_set_align(f.header, LXW_ALIGN_CENTER);
    format_set_align(f.header, LXW_ALIGN_VERTICAL_CENTER);
    f.cell = workbook_add_format(wb);
    format_set_text_wrap(f.cell);
    format_set_align(f.cell, LXW_ALIGN_VERTICAL_CENTER);
    f.title = workbook_add_format(wb);
    format_set_bold(f.title);
    format_set_font_size(f.title, 20);
    format_set_align(f.title, LXW_ALIGN_CENTER);
    format_set_align(f.title, LXW_ALIGN_VERTICAL_CENTER);
    auto bordered = [&](bool bold, double size) {
        lxw_format* g = workbook_add_format(wb);
        format_set_border(g, LXW_BORDER_THIN);
        format_set_text_wrap(g);
        format_set_align(g, LXW_ALIGN_CENTER);
        format_set_align(g, LXW_ALIGN_VERTICAL_CENTER);
        format_set_font_size(g, size);
        if (bold) format_set_bold(g);
        return g;
    };
    f.grid = bordered(false, 14);
    f.gridHead = bordered(true, 14);
    f.lunch = bordered(false, 12);
    format_set_bg_color(f.lunch, 0xEEEEEE);
    return f;
}

lxw_worksheet* addSheet(lxw_workbook* wb, const std::string& name) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, name.c_str());
    if (!ws) cannotWrite("无法建立工作表“" + name + "”。");
    return ws;
}

// 按教师 / 按班级: a name column, then one column per slot, weekday outer, period inner.
void writeOverview(lxw_workbook* wb, const Formats& f, const std::string& sheet,
                   const char* nameHeader, const std::vector<WeekGrid>& grids) {
    lxw_worksheet* ws = addSheet(wb, sheet);
    worksheet_write_string(ws, 0, 0, nameHeader, f.header);
    for (int d = 1; d <= week::kDays; ++d)
        for (int p = 1; p <= week::kPeriods; ++p)
            worksheet_write_string(ws, 0, static_cast<lxw_col_t>(1 + week::slotIndex(d, p)),
                                   slotHeader(d, p).c_str(), f.header);
    worksheet_freeze_panes(ws, 1, 1);
    double nameWidth = widthOf(nameHeader), slotWidth = 6;
    lxw_row_t r = 1;
    for (const WeekGrid& g : grids) {
        worksheet_write_string(ws, r, 0, g.name.c_str(), f.cell);
        nameWidth = std::max(nameWidth, widthOf(g.name));
        int lines = 1;
        for (int d = 1; d <= week::kDays; ++d)
            for (int p = 1; p <= week::kPeriods; ++p) {
                const std::string& text = g.at(d, p);
                if (text.empty()) continue;
                worksheet_write_string(ws, r, static_cast<lxw_col_t>(1 + week::slotIndex(d, p)),
                                       text.c_str(), f.cell);
                lines = std::max(lines, linesOf(text));
                slotWidth = std::max(slotWidth, widthOf(text));
            }
        // A spreadsheet program does not grow a row for wrapped lines it did not write itself.
        if (lines > 1) worksheet_set_row(ws, r, 15.0 * lines, nullptr);
        ++r;
    }
    // On paper: across, as wide as one page, as many pages down as the names need.
    worksheet_set_paper(ws, 9);  // A4
    worksheet_set_landscape(ws);
    worksheet_fit_to_pages(ws, 1, 0);
    worksheet_repeat_rows(ws, 0, 0);
    worksheet_repeat_columns(ws, 0, 0);
    worksheet_set_column(ws, 0, 0, nameWidth + 1.5, nullptr);
    worksheet_set_column(ws, 1, static_cast<lxw_col_t>(week::kSlots), std::min(slotWidth + 1, 40.0),
                         nullptr);
}

// One timetable on one A4 page: the title over the grid, 节次 and the weekdays, the morning's
// periods, the 午休 band, the afternoon's.
void writePrintable(lxw_workbook* wb, const Formats& f, const std::string& sheet, const WeekGrid& g,
                    const PeriodTimes& times) {
    lxw_worksheet* ws = addSheet(wb, sheet);
    const auto lastCol = static_cast<lxw_col_t>(week::kDays);
    worksheet_merge_range(ws, 0, 0, 0, lastCol, g.title.c_str(), f.title);
    worksheet_set_row(ws, 0, 40, nullptr);
    worksheet_write_string(ws, 1, 0, "节次", f.gridHead);
    for (int d = 1; d <= week::kDays; ++d)
        worksheet_write_string(ws, 1, static_cast<lxw_col_t>(d),
                               ("周" + std::string(week::weekdayNumeral(d))).c_str(), f.gridHead);
    worksheet_set_row(ws, 1, 28, nullptr);
    lxw_row_t r = 2;
    for (int p = 1; p <= week::kPeriods; ++p) {
        if (p == week::kMorningPeriods + 1) {
            worksheet_merge_range(ws, r, 0, r, lastCol, "午休", f.lunch);
            worksheet_set_row(ws, r, 24, nullptr);
            ++r;
        }
        std::string label = week::periodName(p);
        if (const std::string span = times.span(p); !span.empty()) label += "\n" + span;
        worksheet_write_string(ws, r, 0, label.c_str(), f.gridHead);
        for (int d = 1; d <= week::kDays; ++d) {
            const std::string& text = g.at(d, p);
            worksheet_write_string(ws, r, static_cast<lxw_col_t>(d), text.c_str(), f.grid);
        }
        worksheet_set_row(ws, r, 90, nullptr);
        ++r;
    }
    worksheet_set_column(ws, 0, 0, 12, nullptr);
    worksheet_set_column(ws, 1, lastCol, 16, nullptr);
    worksheet_set_paper(ws, 9);  // A4
    worksheet_set_portrait(ws);
    worksheet_fit_to_pages(ws, 1, 1);
    worksheet_center_horizontally(ws);
    worksheet_center_vertically(ws);
    worksheet_print_area(ws, 0, 0, r - 1, lastCol);
}

}  // namespace

void write(Store& store, const fs::path& file) {
    const auto rows = timetable::read(store);
    const auto byTeacher = teacherGrids(rows, teachers::names(store));
    const auto byClass = classGrids(rows, readClasses(store), kClassCellOneLine);
    const auto classPages = classGrids(rows, readClasses(store));
    const PeriodTimes times = readPeriodTimes(store);

    xlsx_file::write(file, "课表", [&](lxw_workbook* wb) {
        const Formats f = makeFormats(wb);
        SheetNames names;
        writeOverview(wb, f, names.add(kByTeacherSheet), "姓名", byTeacher);
        writeOverview(wb, f, names.add(kByClassSheet), "班级", byClass);
        for (const WeekGrid& g : byTeacher) writePrintable(wb, f, names.add(g.name), g, times);
        for (const WeekGrid& g : classPages)
            writePrintable(wb, f, names.add(g.name + "班"), g, times);
    });
}

}  // namespace daike::timetable_export
