// What every window of one run is given: the database, the desktop and the run-wide values.
#pragma once

#include <filesystem>

#include "platform/platform.h"
#include "school/run_values.h"

namespace daike {

class Store;

struct RunContext {
    Store& store;
    Platform platform;
    RunValues values;
    std::filesystem::path programDir;
};

}  // namespace daike
