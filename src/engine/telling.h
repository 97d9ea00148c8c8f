// What the substitutes have been told. Telling them (a text copied for the teachers' group,
// slips printed) keeps today's cover as it stood then (已通知代课); what changed since is the
// cover recorded after it (a new substitute to tell) and the cover told of that is no longer
// recorded (a substitute no longer needed). Before anyone was told, everything is new.
#pragma once

#include <vector>

#include "store/tables/covers.h"

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

}  // namespace telling
}  // namespace daike
