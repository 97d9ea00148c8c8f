// The backups as the windows use them: the office's clock names them, and an operation that
// wipes or replaces data makes its automatic backup first.
#pragma once

#include <QString>
#include <filesystem>
#include <string>

#include "store/safekeeping.h"

namespace daike {

struct Platform;
struct RunContext;

safekeeping::Moment officeNow(const Platform& platform);

// Makes the automatic backup before an operation that wipes or replaces data ("所有数据清空前").
// When it cannot be made a Failure says why, and the operation must not run: inside
// runAction that is what happens.
std::filesystem::path backupBefore(RunContext& ctx, const std::string& reason);

// The line a completion message ends with: where the data as it was before went.
QString backupLine(const std::filesystem::path& backup);

}  // namespace daike
