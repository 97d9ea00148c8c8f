// What every window of one run is given: the database, the desktop, the run-wide values, the
// working day and the announcements of what changed.
#pragma once

#include <filesystem>

#include "platform/platform.h"
#include "school/run_values.h"
#include "school/working_day.h"
#include "store/changes.h"

namespace daike {

class Store;

struct RunContext {
    Store& store;
    Platform platform;
    RunValues values;
    std::filesystem::path programDir;
    // What changed, announced; and the day being worked, the one owner of it.
    ChangeNotifier changes{};
    WorkingDay day{changes};
};

}  // namespace daike
