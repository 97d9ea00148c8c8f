// Pages drawn by a PagePainter kept as a PDF file, put in place only when whole (a full disk or
// a failed write leaves an older file as it was).
#pragma once

#include <QString>

#include "platform/platform.h"

class QPageLayout;

namespace daike {

// Throws Failure with the message for the office when the file cannot be written.
void writePdfFile(const QString& path, const QString& title, const QPageLayout& layout,
                  const PagePainter& paint);

}  // namespace daike
