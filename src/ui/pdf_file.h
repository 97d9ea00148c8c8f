// Pages drawn by a PagePainter kept as a PDF file, put in place only when whole (a full disk or
// a failed write leaves an older file as it was).
#pragma once

#include <QString>
#include <optional>

#include "platform/platform.h"

class QPageLayout;
class QFont;

namespace daike {

// The face of the pages the program draws itself (statistics, the pay sheet): Simplified
// Chinese, Noto CJK on Debian, 微软雅黑 or 宋体 on Windows.
QFont pageFont(double points, bool bold = false);

// Throws Failure with the message for the office when the file cannot be written.
void writePdfFile(const QString& path, const QString& title, const QPageLayout& layout,
                  const PagePainter& paint);

// 另存为PDF: asks where through the file dialog (`suggested` offered, ".pdf" added when the
// office left it off) and writes the pages there. The file written; nothing when the office
// cancelled, or when it could not be written (the reason has then been shown).
std::optional<QString> savePagesAsPdf(Platform& platform, const QString& suggested,
                                      const QString& title, const QPageLayout& layout,
                                      const PagePainter& paint);

}  // namespace daike
