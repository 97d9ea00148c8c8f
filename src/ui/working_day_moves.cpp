#include "ui/working_day_moves.h"

#include "ui/backups.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

bool moveWorkingDay(RunContext& ctx, const SchoolDay& to) {
    const auto question = ctx.day.moveQuestion(ctx.store, to);
    if (!question.empty()) {
        if (!ctx.platform.boxes.yesNo(qs(question))) return false;
        backupBefore(ctx, "新的一天前");
    }
    ctx.day.moveTo(ctx.store, to);
    return true;
}

void checkStaleDay(RunContext& ctx) {
    if (!ctx.day.staleDayPending(ctx.store)) return;
    backupBefore(ctx, "新的一天前");
    ctx.day.clearStaleDay(ctx.store);
}

}  // namespace daike
