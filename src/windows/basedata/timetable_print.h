// The timetables on paper: one A4 page per class (for the classroom door) and one per teacher
// who has lessons, printed, previewed or saved as PDF; and the whole timetable exported as a
// workbook.
#pragma once

#include <vector>

#include "basedata/timetable_grids.h"
#include "school/period_times.h"

class QPagedPaintDevice;
class QPageLayout;
class QWidget;

namespace daike {

struct RunContext;

enum class TimetableOutput { Print, Preview, Pdf };
enum class TimetableKind { Classes, Teachers };

void outputTimetables(RunContext& ctx, QWidget* parent, TimetableKind kind, TimetableOutput how);

// 导出课表…: the workbook where the operator says, then where it went.
void exportTimetableWorkbook(RunContext& ctx);

// A4 portrait, 12 mm margins.
QPageLayout timetablePageLayout();

// Each grid on a page of its own: the title large, the grid filling the page with the 午休
// band between morning and afternoon, the periods' times under their names when set. Returns
// the number of pages.
int paintTimetables(QPagedPaintDevice& device, const std::vector<WeekGrid>& grids,
                    const PeriodTimes& times);

}  // namespace daike
