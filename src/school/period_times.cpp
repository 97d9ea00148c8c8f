#include "school/period_times.h"

namespace daike {

namespace {

std::string trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

}  // namespace

std::optional<int> parseClock(std::string_view text) {
    // The full-width colon the Chinese input method gives reads as ':'.
    const std::string typed = trimmed(text);
    const std::string_view fullColon = "：";
    std::string s;
    for (std::size_t i = 0; i < typed.size();) {
        if (typed.compare(i, fullColon.size(), fullColon) == 0) {
            s += ':';
            i += fullColon.size();
        } else {
            s += typed[i++];
        }
    }
    const auto sep = s.find_first_of(":.");
    if (sep == std::string::npos || sep == 0 || sep > 2) return std::nullopt;
    const std::string h = s.substr(0, sep), m = s.substr(sep + 1);
    if (m.size() != 2) return std::nullopt;
    for (char c : h + m)
        if (c < '0' || c > '9') return std::nullopt;
    const int hours = std::stoi(h), minutes = std::stoi(m);
    if (hours > 23 || minutes > 59) return std::nullopt;
    return hours * 60 + minutes;
}

std::string clockText(int minutes) {
    const int m = minutes % 60;
    return std::to_string(minutes / 60) + ":" + (m < 10 ? "0" : "") + std::to_string(m);
}

std::optional<PeriodSpan> PeriodTimes::of(int period) const {
    if (!week::isPeriod(period)) return std::nullopt;
    return spans[static_cast<std::size_t>(period - 1)];
}

std::string PeriodTimes::span(int period) const {
    const auto s = of(period);
    return s ? clockText(s->start) + "–" + clockText(s->end) : std::string();
}

std::string PeriodTimes::label(int period) const {
    const std::string name = "第" + std::to_string(period) + "节";
    const std::string times = span(period);
    return times.empty() ? name : name + "（" + times + "）";
}

bool PeriodTimes::any() const {
    for (const auto& s : spans)
        if (s) return true;
    return false;
}

PeriodTimes periodTimesOf(const week::PerPeriod<periodtimes::StoredTimes>& stored) {
    PeriodTimes out;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const auto start = parseClock(stored[i].start), end = parseClock(stored[i].end);
        if (start && end && *end > *start) out.spans[i] = PeriodSpan{*start, *end};
    }
    return out;
}

PeriodTimes readPeriodTimes(Store& store) {
    return periodTimesOf(periodtimes::read(store));
}

std::optional<std::string> periodTimesProblem(
    const week::PerPeriod<periodtimes::StoredTimes>& typed) {
    std::optional<int> lastEnd;
    int lastPeriod = 0;
    for (int p = 1; p <= week::kPeriods; ++p) {
        const auto& t = typed[static_cast<std::size_t>(p - 1)];
        const std::string name = "第" + std::to_string(p) + "节";
        const std::string start = trimmed(t.start), end = trimmed(t.end);
        if (start.empty() && end.empty()) continue;
        if (start.empty() || end.empty())
            return name + "只填了" + (start.empty() ? "结束" : "开始") + "时间，请把" +
                   (start.empty() ? "开始" : "结束") + "时间也填上，或两个都空着。";
        const auto s = parseClock(start), e = parseClock(end);
        if (!s) return name + "的开始时间“" + start + "”不是时间，请按“8:00”的样子填写。";
        if (!e) return name + "的结束时间“" + end + "”不是时间，请按“8:00”的样子填写。";
        if (*e <= *s) return name + "的结束时间应晚于开始时间。";
        if (lastEnd && *s < *lastEnd)
            return name + "的开始时间早于第" + std::to_string(lastPeriod) + "节的结束时间。";
        lastEnd = *e;
        lastPeriod = p;
    }
    return std::nullopt;
}

Checked<> storePeriodTimes(Store& store, const week::PerPeriod<periodtimes::StoredTimes>& typed) {
    if (auto problem = periodTimesProblem(typed)) return Refusal{*problem};
    week::PerPeriod<periodtimes::StoredTimes> kept{};
    for (std::size_t i = 0; i < typed.size(); ++i) {
        // Checked above: a period is either blank at both ends or has two clock times.
        const auto start = parseClock(typed[i].start), end = parseClock(typed[i].end);
        if (start && end) kept[i] = {clockText(*start), clockText(*end)};
    }
    periodtimes::write(store, kept);
    return {};
}

}  // namespace daike
