// 每人一张代课单: the slips of today's cover on A4 pages, several to a page with dashed cut lines
// between them, printed, previewed or saved as PDF. Once the substitutes were told (slips
// printed, a text copied), a print offers only what changed since; printing or saving the
// slips counts as telling them, a preview does not.
#pragma once

#include <QPageLayout>
#include <vector>

#include "documents/slips.h"

class QPagedPaintDevice;
class QWidget;

namespace daike {

struct RunContext;

enum class SlipOutput { Print, Preview, Pdf };
void outputSlips(RunContext& ctx, QWidget* parent, SlipOutput how);

// A4 portrait, 10 mm margins.
QPageLayout slipPageLayout();

// What painting the slips did: the pages begun and, on each, the lowest point any text, line
// or frame reached, in the device's units, against the page's height.
struct SlipPainting {
    int pages = 0;
    std::vector<double> lowest;
    double pageHeight = 0;
};
SlipPainting paintSlips(QPagedPaintDevice& device, const std::vector<Slip>& slips);

}  // namespace daike
