#include "statistics/pay_sheet_xlsx.h"

#include <xlsxwriter.h>

#include <algorithm>

#include "documents/xlsx_file.h"

namespace daike::statistics {

namespace {

struct Formats {
    lxw_format *title, *plain, *right, *header, *text, *count, *money, *totalText, *totalCount,
        *totalMoney, *words;
};

lxw_format* bordered(lxw_workbook* wb) {
    lxw_format* f = workbook_add_format(wb);
    format_set_border(f, LXW_BORDER_THIN);
    format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    return f;
}

Formats formatsOf(lxw_workbook* wb) {
    Formats f{};
    f.title = workbook_add_format(wb);
    format_set_bold(f.title);
    format_set_font_size(f.title, 16);
    format_set_align(f.title, LXW_ALIGN_CENTER);
    f.plain = workbook_add_format(wb);
    f.right = workbook_add_format(wb);
    format_set_align(f.right, LXW_ALIGN_RIGHT);
    f.header = bordered(wb);
    format_set_bold(f.header);
    format_set_align(f.header, LXW_ALIGN_CENTER);
    format_set_text_wrap(f.header);
    format_set_bg_color(f.header, 0xEBEBEB);
    f.text = bordered(wb);
    f.count = bordered(wb);
    format_set_align(f.count, LXW_ALIGN_CENTER);
    f.money = bordered(wb);
    format_set_num_format(f.money, "0.00");
    f.totalText = bordered(wb);
    format_set_bold(f.totalText);
    f.totalCount = bordered(wb);
    format_set_bold(f.totalCount);
    format_set_align(f.totalCount, LXW_ALIGN_CENTER);
    f.totalMoney = bordered(wb);
    format_set_bold(f.totalMoney);
    format_set_num_format(f.totalMoney, "0.00");
    f.words = workbook_add_format(wb);
    format_set_bold(f.words);
    format_set_font_size(f.words, 12);
    return f;
}

void fill(lxw_workbook* wb, const PaySheet& s) {
    const Formats f = formatsOf(wb);
    lxw_worksheet* ws = workbook_add_worksheet(wb, "代课费发放表");
    const Table t = payTable(s);
    const auto columns = static_cast<lxw_col_t>(t.headers.size());
    const lxw_col_t last = columns - 1;

    worksheet_merge_range(ws, 0, 0, 0, last, s.title().c_str(), f.title);
    worksheet_set_row(ws, 0, 28, nullptr);
    worksheet_merge_range(ws, 1, 0, 1, last - 1, ("发放期间：" + s.range.dates()).c_str(), f.plain);
    worksheet_write_string(ws, 1, last, "单位：元", f.right);

    const lxw_row_t headerRow = 2;
    for (lxw_col_t c = 0; c < columns; ++c)
        worksheet_write_string(ws, headerRow, c, t.headers[c].c_str(), f.header);
    worksheet_set_row(ws, headerRow, 30, nullptr);

    lxw_row_t r = headerRow + 1;
    auto write = [&](const TableRow& row, bool total) {
        for (lxw_col_t c = 0; c < columns; ++c) {
            const Cell blank;
            const Cell& cell = c < row.cells.size() ? row.cells[c] : blank;
            const bool moneyCell = cell.number && cell.decimals == 2;
            lxw_format* fmt = moneyCell     ? (total ? f.totalMoney : f.money)
                              : cell.number ? (total ? f.totalCount : f.count)
                                            : (total ? f.totalText : f.text);
            if (cell.number)
                worksheet_write_number(ws, r, c, *cell.number, fmt);
            else
                worksheet_write_string(ws, r, c, cell.text.c_str(), fmt);
        }
        // Room for a signature.
        worksheet_set_row(ws, r, 20, nullptr);
        ++r;
    };
    for (const auto& row : t.rows) write(row, false);
    if (t.totals) write(*t.totals, true);

    ++r;
    worksheet_merge_range(ws, r, 0, r, last, s.totalInWords().c_str(), f.words);
    r += 2;
    // 制表, 审核 and 日期 spread over the width: at the first column, a third and two thirds.
    const lxw_col_t third = std::max<lxw_col_t>(1, columns / 3);
    worksheet_write_string(ws, r, 0, "制表：____________", f.plain);
    worksheet_write_string(ws, r, std::min<lxw_col_t>(last, third + 1), "审核：____________",
                           f.plain);
    worksheet_write_string(ws, r, last, "日期：____________", f.plain);

    // Widths in characters: 序号, 姓名, the counts and rates, 金额, 领款人签字.
    worksheet_set_column(ws, 0, 0, 6, nullptr);
    worksheet_set_column(ws, 1, 1, 18, nullptr);
    if (columns > 4) worksheet_set_column(ws, 2, last - 2, 14, nullptr);
    worksheet_set_column(ws, last - 1, last - 1, 12, nullptr);
    worksheet_set_column(ws, last, last, 20, nullptr);

    worksheet_set_paper(ws, 9);  // A4
    worksheet_set_portrait(ws);
    worksheet_set_margins(ws, 0.5, 0.5, 0.6, 0.6);
    worksheet_center_horizontally(ws);
    worksheet_print_area(ws, 0, 0, r, last);
    worksheet_repeat_rows(ws, headerRow, headerRow);
    worksheet_fit_to_pages(ws, 1, 0);  // as wide as the page, as many pages long as needed
    worksheet_freeze_panes(ws, headerRow + 1, 0);
}

}  // namespace

void writePaySheetXlsx(const std::filesystem::path& file, const PaySheet& sheet) {
    xlsx_file::write(file, sheet.title(), [&](lxw_workbook* wb) { fill(wb, sheet); });
}

}  // namespace daike::statistics
