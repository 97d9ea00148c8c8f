// What the substitutes have been told. Telling them (a text copied for the teachers' group,
// slips printed) keeps today's cover as it stood then (已通知代课); what changed since is the
// cover recorded after it (a new substitute to tell) and the cover told of that is no longer
// recorded (a substitute no longer needed). Before anyone was told, everything is new.
#pragma once

#include <vector>

#include "store/tables/covers.h"
#include "store/tables/swaps.h"

namespace daike {

class Store;

namespace telling {

struct Changes {
    bool toldBefore = false;             // the substitutes were told of today's cover once
    std::vector<CoverRecord> added;      // recorded since, by substitute (all, when not told)
    std::vector<CoverRecord> withdrawn;  // told of, no longer recorded, by substitute
    bool any() const { return !added.empty() || !withdrawn.empty(); }
};

// Today's cover (当天代课记录) against what was told.
Changes sinceTold(Store& store);
// The substitutes were told: today's cover as it stands now is what they know.
void markTold(Store& store);
// Whether a cover of today's board is one the substitutes have not been told of (recorded
// after they were told). False before anyone was told.
bool untold(const Changes& changes, const CoverRecord& record);

// The same for a day's swaps (已通知调课): recorded since the teachers were told (or the return
// of a one-way swap fixed since, which reads anew), and told of but withdrawn since.
struct SwapChanges {
    bool toldBefore = false;          // the teachers were told of that day once
    std::vector<ToldSwap> added;      // all the day's swaps while nobody was told
    std::vector<ToldSwap> withdrawn;  // told of, no longer recorded as told
    bool any() const { return !added.empty() || !withdrawn.empty(); }
};
SwapChanges swapsSinceTold(Store& store, int week, int weekday);
// The teachers were told of the day's swaps as they stand now.
void markSwapsTold(Store& store, int week, int weekday);
// They were told of the whole day, its cover and its swaps as they stand now (one transaction).
void markDayTold(Store& store, int week, int weekday);

}  // namespace telling
}  // namespace daike
