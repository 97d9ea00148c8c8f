#include "statistics/exports.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>

#include "documents/xlsx_file.h"
#include "store/failure.h"
#include "store/paths.h"
#include "store/safe_file.h"
#include "store/text.h"

namespace daike::statistics {

namespace {

namespace fs = std::filesystem;

[[noreturn]] void cannotWrite(const std::string& message) {
    throw Failure(Failure::Kind::CannotWrite, message);
}

// A full disk shows in libxlsxwriter only as a zip error: ask the disk which it was.
int likelyError(const fs::path& folder) {
    return safefile::almostFull(folder, 256 * 1024) ? ENOSPC : 0;
}

// Columns wide enough for their longest text; a Chinese character takes two places.
double widthOf(const std::string& s) {
    double w = 0;
    for (const auto& c : text::characters(s)) w += c.size() > 1 ? 2.1 : 1.1;
    return w;
}

std::string quoteCsv(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

fs::path defaultFile(const fs::path& programDir, const Range& range, const std::string& extension) {
    return inFolder(programDir, std::string("代课统计-") + range.label() + "." + extension);
}

namespace {

// The sheets of the statistics, one table each.
void fillWorkbook(lxw_workbook* wb, const std::vector<Table>& sheets) {
    lxw_format* bold = workbook_add_format(wb);
    format_set_bold(bold);
    lxw_format* boldMoney = workbook_add_format(wb);
    format_set_bold(boldMoney);
    format_set_num_format(boldMoney, "0.00");
    lxw_format* money = workbook_add_format(wb);
    format_set_num_format(money, "0.00");
    lxw_format* share = workbook_add_format(wb);
    format_set_num_format(share, "0.0%");
    lxw_format* boldShare = workbook_add_format(wb);
    format_set_bold(boldShare);
    format_set_num_format(boldShare, "0.0%");

    for (const Table& t : sheets) {
        lxw_worksheet* ws = workbook_add_worksheet(wb, t.title.c_str());
        if (!ws) continue;
        std::vector<double> widths(t.headers.size(), 6);
        for (std::size_t c = 0; c < t.headers.size(); ++c) {
            worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), t.headers[c].c_str(), bold);
            widths[c] = std::max(widths[c], widthOf(t.headers[c]));
        }
        worksheet_freeze_panes(ws, 1, 0);
        lxw_row_t r = 1;
        auto put = [&](const TableRow& row, bool total) {
            for (std::size_t c = 0; c < row.cells.size() && c < t.headers.size(); ++c) {
                const Cell& cell = row.cells[c];
                const auto col = static_cast<lxw_col_t>(c);
                if (cell.number && cell.percent) {
                    worksheet_write_number(ws, r, col, *cell.number / 100,
                                           total ? boldShare : share);
                } else if (cell.number) {
                    lxw_format* fmt =
                        cell.decimals > 0 ? (total ? boldMoney : money) : (total ? bold : nullptr);
                    worksheet_write_number(ws, r, col, *cell.number, fmt);
                } else if (!cell.text.empty()) {
                    worksheet_write_string(ws, r, col, cell.text.c_str(), total ? bold : nullptr);
                }
                widths[c] = std::max(widths[c], widthOf(cell.text));
            }
            ++r;
        };
        for (const auto& row : t.rows) put(row, false);
        if (t.totals) put(*t.totals, true);
        for (std::size_t c = 0; c < widths.size(); ++c)
            worksheet_set_column(ws, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                 std::min(widths[c] + 1.5, 60.0), nullptr);
    }
}

}  // namespace

void writeXlsx(const fs::path& file, const std::vector<Table>& sheets, const std::string& title) {
    xlsx_file::write(file, title, [&](lxw_workbook* wb) { fillWorkbook(wb, sheets); });
}

std::string toCsv(const Table& t) {
    std::string out = "\xEF\xBB\xBF";
    auto line = [&](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i) out += ',';
            out += quoteCsv(fields[i]);
        }
        out += "\r\n";
    };
    line(t.headers);
    auto row = [&](const TableRow& r) {
        std::vector<std::string> fields;
        for (const auto& c : r.cells) fields.push_back(c.text);
        fields.resize(t.headers.size());
        line(fields);
    };
    for (const auto& r : t.rows) row(r);
    if (t.totals) row(*t.totals);
    return out;
}

void writeFile(const fs::path& file, const std::string& content) {
    safefile::write(file, [&](const fs::path& temp) {
        std::ofstream f(temp, std::ios::binary | std::ios::trunc);
        if (!f) cannotWrite(safefile::cannotWriteText(file.parent_path(), errno));
        f.write(content.data(), static_cast<std::streamsize>(content.size()));
        f.flush();
        if (!f) cannotWrite(safefile::cannotWriteText(file, likelyError(file.parent_path())));
    });
}

}  // namespace daike::statistics
