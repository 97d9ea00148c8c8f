// 代课费发放表: what the finance office pays each teacher who covered in a range of dates (a
// calendar month, or the 16th to the 15th at a school that settles then), by kind of period,
// with the total in 人民币大写 for the signatures. Money is counted in fen, never in floating
// point; a rate is rounded to the fen once, when it is read.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "statistics/fairness.h"
#include "statistics/tables.h"
#include "store/refusal.h"

namespace daike {

class Store;

namespace statistics {

// The kinds of period a school may pay apart, in the order of the sheet's columns. A cover is of
// the kind its 课目 names when that is one of the last three, else a 正课.
inline const std::vector<std::string>& payKinds() {
    static const std::vector<std::string> kinds = {"正课", "早读", "午管", "课后服务"};
    return kinds;
}
std::string payKindOf(const std::string& subject);

// 人民币大写 of an amount in fen, as the finance office writes it: "零元整", "伍角",
// "壹拾元零伍分", "壹仟元零壹角", "壹万零壹拾元整". A 零 stands for skipped places between two
// written digits (the 元 and 万 places are named by their unit and never call for one). A
// negative amount is written "负" and its size; amounts of 1万亿元 and above throw
// std::out_of_range (no school pays that).
std::string amountInWords(long long fen);

// "1234.50"
std::string yuanText(long long fen);

struct PayRow {
    std::string name;
    bool onList = true;       // false: covered in the range, no longer in 教师姓名
    std::vector<int> covers;  // per kind, in PaySheet::kinds' order
    long long fen = 0;
    int totalCovers() const;
    // The name as the sheet prints it: "王芳", "赵六（已离校）".
    std::string shownName() const;
};

struct PaySheet {
    DateRange range;
    std::string school;              // 注册码.单位, "" when not set
    std::vector<std::string> kinds;  // the kinds that occur, 正课 first
    std::vector<long long> rateFen;  // per kind
    std::vector<PayRow> rows;        // the list's order, then those who left (first cover)
    std::vector<int> kindTotals;     // per kind
    int covers = 0;
    long long fen = 0;

    bool empty() const { return rows.empty(); }
    // "××学校代课费发放表", "代课费发放表" without a school name.
    std::string title() const;
    // The rates in the columns' order, "30" or "30/10/15" (元 per lesson).
    std::string ratesText() const;
    // "合计（大写）：人民币壹仟贰佰元整"
    std::string totalInWords() const;
};

// Reads the sheet of a range (nothing is written). Refuses a range ending before it starts and,
// when a kind of period that occurs has no rate of its own and no one rate is set, names it.
Checked<PaySheet> paySheet(Store& store, const DateRange& range);

// The sheet as the window's table and the workbook show it: 序号, 姓名, the kinds' covers (one
// kind: 节数 and 单价; several: "正课（30元）" …), 金额（元）, 领款人签字; the totals last.
Table payTable(const PaySheet& sheet);

// The rate of each kind as the window edits it: none where the kind is paid the one rate.
struct KindRate {
    std::string kind;
    std::optional<double> rate;
};
std::vector<KindRate> shownRates(Store& store);
// Stores the one rate (the 正课 box) and the others' own rates, in one transaction; every box
// as typed (blank: the one rate). Refuses what parseRate refuses, naming the box.
Checked<> saveRates(Store& store, const std::vector<std::pair<std::string, std::string>>& typed);

}  // namespace statistics
}  // namespace daike
