// The 代课费发放表 on A4 upright for the finance office: the school and 代课费发放表 as title,
// the range, one row per teacher with a box for his signature, the total row, the total in
// 人民币大写 and the lines for 制表、审核 and the date. Up to 45 teachers fill one page; more run
// on to further pages under the same header, the totals and signatures on the last.
#pragma once

#include <QPageLayout>
#include <QString>

#include "statistics/pay_sheet.h"

class QPagedPaintDevice;

namespace daike {

// Teachers on one page.
constexpr int kPaySheetRowsPerPage = 45;

// A4 upright, margins of 12 mm.
QPageLayout paySheetPageLayout();

// The number of pages the sheet takes.
int paySheetPages(const statistics::PaySheet& sheet);

// Paints every page on any paged device (a PDF, the printer). False when the painter could not
// begin or finish.
bool paintPaySheet(QPagedPaintDevice& device, const statistics::PaySheet& sheet);

// "代课费发放表-20260901-20260930.pdf"
QString paySheetFileName(const statistics::PaySheet& sheet, const QString& extension);

}  // namespace daike
