// The 代课费发放表 as an Excel workbook: one worksheet laid out as the printed page (title,
// range, the table with a signature column, the total in 人民币大写, 制表/审核/日期), printable
// on A4 upright: print area set, fitted to the page's width, the header repeated on each page.
#pragma once

#include <filesystem>

#include "statistics/pay_sheet.h"

namespace daike::statistics {

// Throws a Failure (CannotWrite) saying why, in words for the operator.
void writePaySheetXlsx(const std::filesystem::path& file, const PaySheet& sheet);

}  // namespace daike::statistics
