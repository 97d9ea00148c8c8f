#include "school/cover_rules.h"

namespace daike::rules {

// Not kept in the file yet: every school has the defaults.
CoverRules load(Store&) {
    return {};
}

Checked<> save(Store&, const CoverRules&) {
    return Refusal{"代课规则尚不能保存。"};
}

}  // namespace daike::rules
