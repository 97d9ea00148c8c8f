#include "school/cover_rules.h"

#include <string>

#include "store/store.h"
#include "store/tables/cover_rules.h"
#include "store/tables/swaps.h"
#include "store/week.h"

namespace daike::rules {

namespace {

// The most a limit can be: every period of a day, every period of the teaching week.
constexpr int kMostADay = week::kPeriods;
constexpr int kMostAWeek = week::kSlots;

bool within(const std::optional<int>& limit, int most) {
    return !limit || (*limit >= 1 && *limit <= most);
}

std::optional<int> keptIfWithin(const std::optional<int>& limit, int most) {
    return within(limit, most) ? limit : std::nullopt;
}

}  // namespace

CoverRules load(Store& store) {
    const auto stored = coverrules::read(store);
    // A limit no setting could have stored (a file mended by hand) limits nothing.
    return {keptIfWithin(stored.perDay, kMostADay), keptIfWithin(stored.perWeek, kMostAWeek),
            stored.inARow, stored.balanced};
}

Checked<> save(Store& store, const CoverRules& rules) {
    if (!within(rules.perDay, kMostADay))
        return Refusal{"每日上限应为1至" + std::to_string(kMostADay) + "节，或选“不限”。"};
    if (!within(rules.perWeek, kMostAWeek))
        return Refusal{"每周上限应为1至" + std::to_string(kMostAWeek) + "节，或选“不限”。"};
    if (rules.perDay && rules.perWeek && *rules.perWeek < *rules.perDay)
        return Refusal{"每周上限不能少于每日上限。"};
    // One transaction; the store announces the change of a setting (BaseData) when it commits.
    coverrules::write(store, {rules.perDay, rules.perWeek, rules.inARow, rules.balanced});
    return {};
}

SwapSettings swapSettings(Store& store) {
    auto s = swaps::settings(store);
    if (s.days < 1 || s.days > kMostSwapDays) s.days = SwapSettings{}.days;
    return s;
}

Checked<> save(Store& store, const CoverRules& rules, const SwapSettings& choice) {
    if (choice.days < 1 || choice.days > kMostSwapDays)
        return Refusal{"调课向后找的上课日应为1至" + std::to_string(kMostSwapDays) + "天。"};
    return store.transaction([&]() -> Checked<> {
        auto saved = save(store, rules);
        if (!saved) return saved;
        swaps::setSettings(store, choice);
        return {};
    });
}

}  // namespace daike::rules
