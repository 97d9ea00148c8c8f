// 新的一天 as the operator starts it: one slip must not empty the board, the bookings and the
// marks, so it asks first and keeps a copy of the day it clears.
#pragma once

namespace daike {

struct RunContext;

// Asks whether to start a new day, naming how many of today's covers go; on 是 makes the
// automatic backup "新的一天前" and then runs the new day, in that order. A day holding nothing
// to clear starts at once, without a question or a backup. Returns whether the new day ran: on
// 否 nothing is written. A backup that cannot be made throws Failure before anything is cleared.
bool confirmNewDay(RunContext& ctx);

}  // namespace daike
