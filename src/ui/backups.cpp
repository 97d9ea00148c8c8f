#include "ui/backups.h"

#include "store/store.h"
#include "ui/path_text.h"
#include "ui/run_context.h"

namespace daike {

safekeeping::Moment officeNow(const Platform& platform) {
    using namespace std::chrono;
    const year_month_day d(platform.clock.today());
    const hh_mm_ss t(platform.clock.timeOfDay() % days(1));
    return {static_cast<int>(d.year()),
            static_cast<int>(static_cast<unsigned>(d.month())),
            static_cast<int>(static_cast<unsigned>(d.day())),
            static_cast<int>(t.hours().count()),
            static_cast<int>(t.minutes().count()),
            static_cast<int>(t.seconds().count())};
}

std::filesystem::path backupBefore(RunContext& ctx, const std::string& reason) {
    return safekeeping::automaticBackup(ctx.store, reason, officeNow(ctx.platform));
}

QString backupLine(const std::filesystem::path& backup) {
    return QStringLiteral("\n操作前的数据已自动备份到“%1”。").arg(qpath(backup));
}

}  // namespace daike
