#include "ui/new_day.h"

#include "school/resets.h"
#include "store/store.h"
#include "ui/backups.h"
#include "ui/run_context.h"

namespace daike {

bool confirmNewDay(RunContext& ctx) {
    if (const auto question = newDayQuestion(ctx.store)) {
        if (!ctx.platform.boxes.yesNo(QString::fromStdString(*question))) return false;
        backupBefore(ctx, "新的一天前");
    }
    newDay(ctx.store);
    return true;
}

}  // namespace daike
