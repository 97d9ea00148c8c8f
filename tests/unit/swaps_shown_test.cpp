// 调课 where the day's cover is shown, told and counted: the board's lines and counts, the
// slips and the group's text of both teachers, and the statistics' columns apart from the cover.
#include <gtest/gtest.h>

#include <algorithm>

#include "documents/slips.h"
#include "engine/day_board.h"
#include "engine/group_text.h"
#include "engine/swap_notice.h"
#include "engine/telling.h"
#include "school/resets.h"
#include "school/term_archive.h"
#include "school/term_start.h"
#include "school/working_day.h"
#include "statistics/figures.h"
#include "statistics/tables.h"
#include "store/store.h"
#include "store/tables/covers.h"
#include "store/tables/queue.h"
#include "store/tables/swaps.h"
#include "test_support.h"

namespace daike {
namespace {

using testing::Db;

// Week 15 of a term that began on 2026/8/31: Wednesday is 12月9日, Friday 12月11日.
constexpr int kWeek = 15;
constexpr int kWednesday = 3;
constexpr int kFriday = 5;
const std::string kTermStart = "2026/8/31";

// 李老师 takes 张老师's 语文 of 一(1) on Wednesday, third period (张老师 is ill), and 张老师
// takes 李老师's 数学 on Friday, second period.
SwapRecord twoWay() {
    SwapRecord s;
    s.termStart = kTermStart;
    s.first = {kWeek, kWednesday, 3};
    s.second = Slot{kWeek, kFriday, 2};
    s.cls = "一(1)";
    s.teacher = "张老师";
    s.subject = "语文";
    s.colleague = "李老师";
    s.colleagueSubject = "数学";
    s.reason = "病假";
    s.paidBack = true;
    return s;
}

// 孙老师 takes 吴老师's 美术 on Wednesday, fifth period; the return is still open.
SwapRecord oneWay() {
    SwapRecord s;
    s.termStart = kTermStart;
    s.first = {kWeek, kWednesday, 5};
    s.cls = "一(1)";
    s.teacher = "吴老师";
    s.subject = "美术";
    s.colleague = "孙老师";
    s.reason = "事假";
    return s;
}

CoverRecord cover(std::string substitute, int period, std::string absent = "赵老师") {
    return {std::move(absent),
            "公出",
            std::move(substitute),
            "15",
            kWednesday,
            "一(2)",
            "英语",
            period};
}

void school(Db& db) {
    storeTermStart(*db, kTermStart);
    testing::SchoolBuilder(*db)
        .teacher("张老师")
        .teacher("李老师")
        .teacher("赵老师")
        .teacher("孙老师")
        .teacher("吴老师")
        .teacher("钱老师")
        .build();
}

const board::Line* lineAt(const board::Board& b, int period, const std::string& cls) {
    for (const auto& l : b.lines)
        if (l.period == period && l.cls == cls) return &l;
    return nullptr;
}

bool isAbsent(const board::Board& b, const std::string& name) {
    return std::any_of(b.absent.begin(), b.absent.end(),
                       [&](const board::Absent& a) { return a.name == name; });
}

TEST(SwapsOnTheBoard, BothSlotsAreLinesOfTheirOwnNeitherCoverNorWaiting) {
    Db db;
    school(db);
    swaps::add(*db, twoWay());
    covers::appendEverywhere(*db, cover("钱老师", 1));
    queue::add(*db, {"赵老师", kWednesday, "一(2)", 2, "英语"});

    const auto wed = board::load(*db, kWeek, kWednesday);
    ASSERT_EQ(wed.lines.size(), 3u);
    EXPECT_EQ(wed.covered(), 1);
    EXPECT_EQ(wed.waiting(), 1);
    EXPECT_EQ(wed.swapped(), 1);
    EXPECT_EQ(board::countsText(wed), "代课1节，待安排1节，调课1节");
    const auto* first = lineAt(wed, 3, "一(1)");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->swapped);
    EXPECT_FALSE(first->waiting);
    EXPECT_EQ(first->subject, "语文");
    EXPECT_EQ(first->absent, "张老师");
    EXPECT_EQ(first->reason, "病假");
    EXPECT_EQ(board::takerText(*first), "调：李老师");
    EXPECT_EQ(first->swapText, "一(1) 第3节 李老师（与张老师调课）");
    // The lines stay in period order whatever table they come from.
    EXPECT_EQ(wed.lines[0].period, 1);
    EXPECT_EQ(board::takerText(wed.lines[1]), "待安排");
    // 张老师 is absent for his swapped lesson, with its reason.
    const auto zhang = std::find_if(wed.absent.begin(), wed.absent.end(),
                                    [](const board::Absent& a) { return a.name == "张老师"; });
    ASSERT_NE(zhang, wed.absent.end());
    EXPECT_EQ(zhang->reason, "病假");

    // Friday's return slot: 张老师 teaches 李老师's lesson, and 李老师 is not absent.
    const auto fri = board::load(*db, kWeek, kFriday);
    ASSERT_EQ(fri.lines.size(), 1u);
    EXPECT_EQ(fri.covered(), 0);
    EXPECT_EQ(fri.waiting(), 0);
    EXPECT_EQ(board::countsText(fri), "代课0节，待安排0节，调课1节");
    EXPECT_EQ(fri.lines[0].subject, "数学");
    EXPECT_EQ(board::takerText(fri.lines[0]), "调：张老师");
    EXPECT_EQ(fri.lines[0].swapText, "一(1) 第2节 张老师（与李老师调课）");
    EXPECT_FALSE(isAbsent(fri, "李老师"));
    EXPECT_FALSE(isAbsent(fri, "张老师"));

    // A day without swaps says nothing of them.
    EXPECT_EQ(board::countsText(board::load(*db, kWeek, 4)), "代课0节，待安排0节");
}

TEST(SwapsOnTheBoard, ASwapAgreedWithoutAbsenceMakesNobodyAbsent) {
    Db db;
    school(db);
    auto agreed = twoWay();
    agreed.reason.clear();
    swaps::add(*db, agreed);
    const auto wed = board::load(*db, kWeek, kWednesday);
    EXPECT_EQ(wed.swapped(), 1);
    EXPECT_TRUE(wed.absent.empty());
}

TEST(SwapsTold, EachTeacherReadsTheSwapAddressedToHim) {
    Db db;
    school(db);
    const auto s = twoWay();
    EXPECT_EQ(swapping::toldTo(*db, s, "李老师"),
              "12月9日第3节 您代张老师上一(1)语文；张老师于12月11日第2节上您的一(1)数学");
    EXPECT_EQ(swapping::toldTo(*db, s, "张老师"),
              "12月9日第3节 李老师代您上一(1)语文；您于12月11日第2节上李老师的一(1)数学");
    EXPECT_EQ(swapping::toldTo(*db, s, ""),
              "12月9日第3节 李老师代张老师上一(1)语文；张老师于12月11日第2节上李老师的一(1)数学");
    EXPECT_EQ(swapping::toldTo(*db, oneWay(), "孙老师"),
              "12月9日第5节 您代吴老师上一(1)美术；吴老师日后还课");

    // Both slots count: Wednesday has both swaps, Friday the two-way one, Thursday none.
    swaps::add(*db, s);
    swaps::add(*db, oneWay());
    EXPECT_EQ(swapping::touchingDay(*db, kWeek, kWednesday).size(), 2u);
    ASSERT_EQ(swapping::touchingDay(*db, kWeek, kFriday).size(), 1u);
    EXPECT_EQ(swapping::touchingDay(*db, kWeek, kFriday)[0].teacher, "张老师");
    EXPECT_TRUE(swapping::touchingDay(*db, kWeek, 4).empty());
}

TEST(SwapsTold, SlipsForBothTeachersBesideTheCover) {
    Db db;
    school(db);
    swaps::add(*db, twoWay());
    swaps::add(*db, oneWay());
    // 李老师 also covers a lesson that day: his swap goes on the same slip.
    covers::appendEverywhere(*db, cover("李老师", 1));

    const auto slips = todaysSlips(*db, kWeek, kWednesday);
    ASSERT_EQ(slips.size(), 4u);
    EXPECT_EQ(slips[0].substitute, "李老师");
    EXPECT_EQ(slips[0].lessons.size(), 1u);
    EXPECT_EQ(slips[0].swaps,
              (std::vector<std::string>{
                  "12月9日第3节 您代张老师上一(1)语文；张老师于12月11日第2节上您的一(1)数学"}));
    EXPECT_FALSE(slips[0].swapsOnly());
    // The others, without cover, have slips of their swaps alone, dated as the day.
    std::vector<std::string> names;
    for (std::size_t i = 1; i < slips.size(); ++i) {
        names.push_back(slips[i].substitute);
        EXPECT_TRUE(slips[i].swapsOnly());
        EXPECT_EQ(slips[i].dateLine, "12月9日 星期三");
        EXPECT_EQ(slips[i].kind, SlipKind::Whole);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"张老师", "孙老师", "吴老师"}));
    EXPECT_EQ(slips[3].swaps,
              (std::vector<std::string>{"12月9日第5节 孙老师代您上一(1)美术；您日后还课"}));
    // The old form knows nothing of swaps.
    EXPECT_EQ(todaysSlips(*db).size(), 1u);

    // A slip of swaps alone has no table; each swap takes two lines under its heading.
    using L = SlipPageLayout;
    EXPECT_EQ(L::heightOf(slips[1]), L::kFixed - L::kLine - L::kRow + 3 * L::kLine);
    EXPECT_EQ(L::heightOf(slips[0]), L::kFixed + L::kRow + 3 * L::kLine);
    EXPECT_EQ(swapSlipLines(slips[3].swaps[0]),
              (std::pair<std::string, std::string>{"12月9日第5节 孙老师代您上一(1)美术；",
                                                   "您日后还课"}));
}

TEST(SwapsTold, TheGroupsTextHasTheSwapsAfterTheCover) {
    Db db;
    school(db);
    swaps::add(*db, twoWay());
    const SchoolDay wednesday{kWeek, true, kWednesday};
    auto t = grouptext::read(*db, wednesday);
    // Swaps alone give a text to copy, and its colleague is still to be told.
    EXPECT_FALSE(t.empty());
    EXPECT_TRUE(t.untold());
    EXPECT_EQ(t.text(grouptext::Form::ByTeacher, false),
              "【调课】12月9日（周三）李老师、张老师：12月9日第3节 "
              "李老师代张老师上一(1)语文；张老师于12月11日第2节上李老师的一(1)数学");

    covers::appendEverywhere(*db, cover("钱老师", 1));
    swaps::add(*db, oneWay());
    t = grouptext::read(*db, wednesday);
    EXPECT_EQ(
        t.text(grouptext::Form::ByClass, false),
        "【代课】12月9日（周三）一(2)班：第1节 英语 钱老师代（赵老师）\n"
        "【调课】12月9日（周三）一(1)班：12月9日第3节 "
        "李老师代张老师上一(1)语文；张老师于12月11日第2节上李老师的一(1)数学\n"
        "【调课】12月9日（周三）一(1)班：12月9日第5节 孙老师代吴老师上一(1)美术；吴老师日后还课");
    // The return slot's day tells the same swap.
    t = grouptext::read(*db, SchoolDay{kWeek, true, kFriday});
    ASSERT_EQ(t.swaps.size(), 1u);
    EXPECT_EQ(t.swaps[0].teachers, "李老师、张老师");
}

TEST(SwapsTold, WhatChangedSinceTheTeachersWereToldIncludesTheSwaps) {
    Db db;
    school(db);
    const auto first = swaps::add(*db, twoWay());
    const auto owed = swaps::add(*db, oneWay());
    const SchoolDay wednesday{kWeek, true, kWednesday};
    telling::markTold(*db);
    telling::markSwapsTold(*db, kWeek, kWednesday);
    auto t = grouptext::read(*db, wednesday);
    EXPECT_TRUE(t.toldBefore());
    EXPECT_FALSE(t.untold());

    // The first withdrawn, the one-way one paid back: both read anew, the withdrawn in the order
    // they were told; Friday was told nothing.
    swaps::remove(*db, first);
    swaps::setReturn(*db, owed, {kWeek, kFriday, 4}, "美术");
    t = grouptext::read(*db, wednesday);
    EXPECT_TRUE(t.untold());
    EXPECT_EQ(t.text(grouptext::Form::ByTeacher, true),
              "【调课】12月9日（周三）孙老师、吴老师：12月9日第5节 "
              "孙老师代吴老师上一(1)美术；吴老师于12月11日第4节上孙老师的一(1)美术\n"
              "【调课取消】12月9日（周三）李老师、张老师：12月9日第3节 "
              "李老师代张老师上一(1)语文；张老师于12月11日第2节上李老师的一(1)数学\n"
              "【调课取消】12月9日（周三）孙老师、吴老师：12月9日第5节 "
              "孙老师代吴老师上一(1)美术；吴老师日后还课");
    EXPECT_FALSE(telling::swapsSinceTold(*db, kWeek, kFriday).toldBefore);

    // Told again, nothing is left; a new day forgets what was told.
    telling::markSwapsTold(*db, kWeek, kWednesday);
    EXPECT_FALSE(grouptext::read(*db, wednesday).untold());
    newDay(*db);
    EXPECT_FALSE(telling::swapsSinceTold(*db, kWeek, kWednesday).toldBefore);
}

int swappedOf(const statistics::Figures& f, const std::string& name) {
    for (const auto& t : f.teachers)
        if (t.name == name) return t.swapped;
    return -1;
}

int owesOf(const statistics::Figures& f, const std::string& name) {
    for (const auto& t : f.teachers)
        if (t.name == name) return t.owes;
    return -1;
}

TEST(SwapsCounted, TheLessonsTakenBySwapInTheRangeApartFromTheCover) {
    using statistics::Range;
    Db db;
    school(db);
    swaps::add(*db, twoWay());
    swaps::add(*db, oneWay());
    covers::appendEverywhere(*db, cover("钱老师", 1));

    const auto term = statistics::compute(*db, Range::term());
    EXPECT_EQ(term.covered, 1);
    EXPECT_EQ(term.swapped, 3);
    // 李老师 in the first slot, 张老师 in the return slot, 孙老师 in the one-way swap's.
    EXPECT_EQ(swappedOf(term, "李老师"), 1);
    EXPECT_EQ(swappedOf(term, "张老师"), 1);
    EXPECT_EQ(swappedOf(term, "孙老师"), 1);
    EXPECT_EQ(swappedOf(term, "吴老师"), 0);
    EXPECT_EQ(owesOf(term, "吴老师"), 1);
    EXPECT_EQ(owesOf(term, "张老师"), 0);
    // A swap is no cover for anyone.
    for (const auto& t : term.teachers) {
        EXPECT_EQ(t.covered, t.name == "钱老师" ? 1 : 0) << t.name;
        EXPECT_EQ(t.awayTotal, t.name == "赵老师" ? 1 : 0) << t.name;
    }

    // Friday alone: only the return slot.
    const auto friday = statistics::compute(*db, Range::today(kWeek, kFriday));
    EXPECT_EQ(swappedOf(friday, "张老师"), 1);
    EXPECT_EQ(swappedOf(friday, "李老师"), 0);
    EXPECT_EQ(swappedOf(friday, "孙老师"), 0);
    // The open return is owed whatever days of the term are shown.
    EXPECT_EQ(owesOf(friday, "吴老师"), 1);

    // Dates: the slots' own days.
    const auto wednesday = statistics::compute(
        *db, Range::days(calendar::makeDay(2026, 12, 9), calendar::makeDay(2026, 12, 9)));
    EXPECT_EQ(swappedOf(wednesday, "李老师"), 1);
    EXPECT_EQ(swappedOf(wednesday, "张老师"), 0);
    EXPECT_FALSE(wednesday.showsOwed);
    // A past term counts its own swaps, not this term's, and owes nothing any more.
    auto spring = twoWay();
    spring.termStart = "2026/2/23";
    swaps::add(*db, spring);
    const auto past =
        statistics::compute(*db, Range::pastTerm(termName(calendar::parseDate("2026/2/23"))));
    EXPECT_EQ(past.swapped, 2);
    EXPECT_EQ(swappedOf(past, "李老师"), 1);
    EXPECT_EQ(swappedOf(past, "孙老师"), 0);
    EXPECT_FALSE(past.showsOwed);
    EXPECT_EQ(statistics::compute(*db, Range::term()).swapped, 3);
}

TEST(SwapsCounted, TheirColumnsComeAfterTheCoversAndThePay) {
    using statistics::Range;
    Db db;
    school(db);
    swaps::add(*db, twoWay());
    swaps::add(*db, oneWay());
    covers::appendEverywhere(*db, cover("钱老师", 1));
    statistics::setPayRate(*db, 30.0);

    const auto f = statistics::compute(*db, Range::term());
    const auto t = statistics::teacherTable(f);
    const auto& h = t.headers;
    const auto at = [&](const std::string& name) {
        return static_cast<std::size_t>(std::find(h.begin(), h.end(), name) - h.begin());
    };
    ASSERT_EQ(h.back(), "备注");
    EXPECT_EQ(at("调课"), at("酬金(元)") + 1);
    EXPECT_EQ(at("欠课"), at("调课") + 1);
    EXPECT_EQ(at("欠课") + 2, h.size());
    ASSERT_TRUE(t.totals);
    // The pay's total stays an amount, the swaps' totals counts; the pay is the cover's only.
    EXPECT_EQ(t.totals->cells[at("酬金(元)")].text, "30.00");
    EXPECT_EQ(t.totals->cells[at("调课")].text, "3");
    EXPECT_EQ(t.totals->cells[at("欠课")].text, "1");
    for (const auto& row : t.rows)
        if (row.cells[0].text == "李老师") {
            EXPECT_EQ(row.cells[at("调课")].text, "1");
            EXPECT_EQ(row.cells[at("酬金(元)")].text, "0.00");
        }

    // Dates across terms: no 欠课 column.
    const auto days = statistics::teacherTable(statistics::compute(
        *db, Range::days(calendar::makeDay(2026, 12, 1), calendar::makeDay(2026, 12, 31))));
    EXPECT_EQ(std::count(days.headers.begin(), days.headers.end(), "欠课"), 0);
    EXPECT_EQ(days.headers[days.headers.size() - 2], "调课");
}

}  // namespace
}  // namespace daike
