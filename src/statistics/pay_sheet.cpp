#include "statistics/pay_sheet.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <stdexcept>
#include <unordered_map>

#include "school/term_archive.h"
#include "store/store.h"
#include "store/tables/settings.h"
#include "store/tables/teachers.h"
#include "store/text.h"

namespace daike::statistics {

namespace {

const char* const kDigits[] = {"零", "壹", "贰", "叁", "肆", "伍", "陆", "柒", "捌", "玖"};
const char* const kPlaces[] = {"", "拾", "佰", "仟"};
const char* const kSections[] = {"元", "万", "亿"};

long long toFen(double yuan) {
    return std::llround(yuan * 100.0);
}

}  // namespace

std::string payKindOf(const std::string& subject) {
    const std::string s(text::trimmed(subject));
    for (std::size_t k = 1; k < payKinds().size(); ++k)
        if (s == payKinds()[k]) return s;
    return payKinds()[0];
}

std::string amountInWords(long long fen) {
    if (fen < 0) {
        if (fen == std::numeric_limits<long long>::min()) throw std::out_of_range("amount");
        return "负" + amountInWords(-fen);
    }
    if (fen >= 100'000'000'000'000LL) throw std::out_of_range("amount over 1万亿元");
    // Places from the highest: p = 0 分, 1 角, 2 元, 3 拾元, …
    int digits[16] = {};
    int top = 0;
    for (long long v = fen; v > 0; v /= 10) digits[top++] = static_cast<int>(v % 10);
    std::string out;
    bool written = false;  // a digit written so far
    bool skipped = false;  // places of zero since the last digit written, calling for a 零
    bool section = false;  // a digit written in this section of four places
    for (int p = std::max(top - 1, 2); p >= 0; --p) {
        const int d = digits[p];
        if (d != 0) {
            if (skipped && written) out += "零";
            out += kDigits[d];
            if (p == 1) out += "角";
            if (p == 0) out += "分";
            if (p >= 2) out += kPlaces[(p - 2) % 4];
            written = section = true;
            skipped = false;
        } else if (p < 2 || (p - 2) % 4 != 0) {
            skipped = skipped || written;
        }
        if (p >= 2 && (p - 2) % 4 == 0) {
            const int sec = (p - 2) / 4;
            // 元 once there are yuan; 万 and 亿 only over a section that has a digit.
            if (sec == 0 ? written : section) out += kSections[sec];
            section = false;
        }
    }
    if (!written) return "零元整";
    if (fen % 100 == 0) out += "整";
    return out;
}

std::string yuanText(long long fen) {
    const bool negative = fen < 0;
    const unsigned long long a = negative ? 0ULL - static_cast<unsigned long long>(fen)
                                          : static_cast<unsigned long long>(fen);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%llu.%02llu", negative ? "-" : "", a / 100, a % 100);
    return buf;
}

int PayRow::totalCovers() const {
    int n = 0;
    for (int c : covers) n += c;
    return n;
}

std::string PayRow::shownName() const {
    return onList ? name : name + "（已离校）";
}

std::string PaySheet::title() const {
    return school + "代课费发放表";
}

std::string PaySheet::ratesText() const {
    std::string out;
    for (long long r : rateFen) {
        if (!out.empty()) out += "/";
        out +=
            r % 100 == 0 ? std::to_string(r / 100) : formatNumber(static_cast<double>(r) / 100, 2);
    }
    return out;
}

std::string PaySheet::totalInWords() const {
    return "合计（大写）：人民币" + amountInWords(fen);
}

Checked<PaySheet> paySheet(Store& store, const DateRange& range) {
    if (range.to < range.from) return Refusal{"结束日期不能早于开始日期。"};
    const auto oneRate = settings::payRate(store);
    const auto ownRates = settings::kindRates(store);
    if (!oneRate && ownRates.empty())
        return Refusal{
            "尚未设定代课酬金：请在“代课费发放表”中填写每节正课的金额（元）并保存，"
            "早读、午管、课后服务另计的也一并填写。"};

    PaySheet sheet;
    sheet.range = range;
    sheet.school = settings::schoolName(store);

    const auto covers = coversBetween(store, isoDate(range.from), isoDate(range.to));
    // Per substitute, covers per kind (payKinds' order); names in order of first cover.
    std::unordered_map<std::string, std::size_t> index;
    std::vector<std::string> order;
    std::vector<std::array<int, 4>> counts;
    std::array<bool, 4> occurs{};
    for (const auto& c : covers) {
        // A record without a substitute (typed in by other means) pays no one.
        const std::string who(text::trimmed(c.record.substitute));
        if (who.empty()) continue;
        auto [it, added] = index.try_emplace(who, order.size());
        if (added) {
            order.push_back(who);
            counts.push_back({});
        }
        const std::string kind = payKindOf(c.record.subject);
        std::size_t k = 0;
        while (payKinds()[k] != kind) ++k;
        ++counts[it->second][k];
        occurs[k] = true;
    }

    std::vector<std::size_t> columns;  // payKinds index of each column
    for (std::size_t k = 0; k < payKinds().size(); ++k) {
        if (!occurs[k]) continue;
        std::optional<double> rate = oneRate;
        for (const auto& [kind, r] : ownRates)
            if (kind == payKinds()[k]) rate = r;
        if (!rate)
            return Refusal{"尚未设定代课酬金：" + payKinds()[k] +
                           "没有单独的金额，也没有每节正课的金额；请填写后保存。"};
        if (!(*rate >= 0) || *rate > 10000)
            return Refusal{"代课酬金“" + payKinds()[k] + "”的金额不合理，请重新填写并保存。"};
        columns.push_back(k);
        sheet.kinds.push_back(payKinds()[k]);
        sheet.rateFen.push_back(toFen(*rate));
    }
    sheet.kindTotals.assign(columns.size(), 0);

    auto rowOf = [&](std::size_t i, bool onList) {
        PayRow row;
        row.name = order[i];
        row.onList = onList;
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const int n = counts[i][columns[c]];
            row.covers.push_back(n);
            row.fen += n * sheet.rateFen[c];
            sheet.kindTotals[c] += n;
        }
        sheet.covers += row.totalCovers();
        sheet.fen += row.fen;
        return row;
    };
    std::vector<bool> placed(order.size(), false);
    for (const auto& name : teachers::names(store)) {
        auto it = index.find(name);
        if (it == index.end() || placed[it->second]) continue;
        placed[it->second] = true;
        sheet.rows.push_back(rowOf(it->second, true));
    }
    for (std::size_t i = 0; i < order.size(); ++i)
        if (!placed[i]) sheet.rows.push_back(rowOf(i, false));
    return sheet;
}

Table payTable(const PaySheet& s) {
    auto rate = [&](std::size_t k) {
        const long long r = s.rateFen[k];
        return r % 100 == 0 ? std::to_string(r / 100)
                            : formatNumber(static_cast<double>(r) / 100, 2);
    };
    auto money = [](long long fen) {
        return Cell{yuanText(fen), static_cast<double>(fen) / 100, 2};
    };
    const bool single = s.kinds.size() <= 1;
    Table t;
    t.title = "代课费发放表";
    t.headers = {"序号", "姓名"};
    if (single) {
        t.headers.push_back(s.kinds.empty() ? "节数" : s.kinds[0] + "节数");
        t.headers.push_back("单价（元）");
    } else {
        for (std::size_t k = 0; k < s.kinds.size(); ++k)
            t.headers.push_back(s.kinds[k] + "（" + rate(k) + "元）");
    }
    t.headers.push_back("金额（元）");
    t.headers.push_back("领款人签字");
    for (std::size_t i = 0; i < s.rows.size(); ++i) {
        const auto& r = s.rows[i];
        TableRow row;
        row.former = !r.onList;
        row.cells = {Cell::count(static_cast<int>(i + 1)), Cell::of(r.shownName())};
        for (int n : r.covers) row.cells.push_back(n ? Cell::count(n) : Cell::blank());
        if (single && !s.rateFen.empty())
            row.cells.push_back({rate(0), static_cast<double>(s.rateFen[0]) / 100, 2});
        row.cells.push_back(money(r.fen));
        row.cells.push_back(Cell::blank());
        t.rows.push_back(std::move(row));
    }
    TableRow totals;
    totals.cells = {Cell::blank(), Cell::of("合计")};
    for (int n : s.kindTotals) totals.cells.push_back(Cell::count(n));
    if (s.kinds.empty()) totals.cells.push_back(Cell::count(0));
    if (single) totals.cells.push_back(Cell::blank());
    totals.cells.push_back(money(s.fen));
    totals.cells.push_back(Cell::blank());
    t.totals = std::move(totals);
    return t;
}

std::vector<KindRate> shownRates(Store& store) {
    std::vector<KindRate> out;
    const auto own = settings::kindRates(store);
    for (const auto& kind : payKinds()) {
        KindRate r{kind, std::nullopt};
        for (const auto& [k, v] : own)
            if (k == kind) r.rate = v;
        out.push_back(r);
    }
    // The 正课 box is the one rate; a 正课 row of its own, when there is one, is what is paid.
    if (!out[0].rate) out[0].rate = settings::payRate(store);
    return out;
}

Checked<> saveRates(Store& store, const std::vector<std::pair<std::string, std::string>>& typed) {
    std::optional<double> one;
    std::vector<std::pair<std::string, double>> own;
    for (const auto& [kind, text] : typed) {
        auto rate = parseRate(text);
        if (!rate) return Refusal{kind + "：" + rate.refusal().message};
        if (kind == payKinds()[0])
            one = *rate;
        else if (*rate)
            own.emplace_back(kind, **rate);
    }
    store.transaction([&] {
        settings::setPayRate(store, one);
        settings::setKindRates(store, own);
    });
    return {};
}

}  // namespace daike::statistics
