// Moving the working day as the operator does it: when today's cover would be cleared, a
// question first, naming what goes, and an automatic backup before anything is cleared.
#pragma once

#include "school/working_day.h"

namespace daike {

struct RunContext;

// Moves the working day to `to`. When that starts a new day the operator is asked; 否 leaves
// everything as it was. Returns whether the working day is `to` now. Failures (the backup)
// propagate: inside runAction nothing has been cleared then.
bool moveWorkingDay(RunContext& ctx, const SchoolDay& to);

// Before cover is entered (单人代课, 多人代课): records of an earlier day are cleared, after an
// automatic backup.
void checkStaleDay(RunContext& ctx);

}  // namespace daike
