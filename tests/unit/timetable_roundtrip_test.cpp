// 导出课表 then 导入总课表: whatever school exported its timetable, reading that file back gives
// the same 任课情况, lesson for lesson.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <tuple>

#include "basedata/demo_school.h"
#include "basedata/sheet_import.h"
#include "basedata/timetable_export.h"
#include "store/tables/classes.h"
#include "store/tables/timetable.h"
#include "store/week.h"
#include "test_support.h"

namespace daike {
namespace {

using Lesson = std::tuple<std::string, int, int, std::string, std::string>;

std::vector<Lesson> sorted(std::vector<Lesson> v) {
    std::sort(v.begin(), v.end());
    return v;
}

std::vector<Lesson> stored(Store& store) {
    std::vector<Lesson> out;
    for (const auto& l : timetable::read(store))
        out.emplace_back(l.teacher, l.weekday, l.period, l.cls, l.subject);
    return sorted(out);
}

std::string text(const Lesson& l) {
    return std::get<0>(l) + " " + std::to_string(std::get<1>(l)) + "-" +
           std::to_string(std::get<2>(l)) + " " + std::get<3>(l) + " " + std::get<4>(l);
}

// The lessons only one side holds, as lines: "-" lost on the way, "+" gained.
std::string differences(const std::vector<Lesson>& before, const std::vector<Lesson>& after) {
    std::vector<Lesson> lost, gained;
    std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                        std::back_inserter(lost));
    std::set_difference(after.begin(), after.end(), before.begin(), before.end(),
                        std::back_inserter(gained));
    std::string out;
    for (const auto& l : lost) out += "- " + text(l) + "\n";
    for (const auto& l : gained) out += "+ " + text(l) + "\n";
    return out;
}

TEST(TimetableRoundTrip, SixteenRandomSchoolsReadBackTheirOwnTimetable) {
    std::mt19937 rng(20261209);
    for (int school = 0; school < 16; ++school) {
        SCOPED_TRACE("school " + std::to_string(school));
        testing::Db db;
        auto plan = demo::planFor(20 + static_cast<int>(rng() % 50));
        plan.seed = rng();
        demo::fillSchool(*db, plan);
        // Beyond the demo's own shape: a teacher in two classes at once (a combined lesson),
        // a class with two lessons at once, and a two-digit class.
        auto lessons = timetable::read(*db);
        ASSERT_FALSE(lessons.empty());
        std::uniform_int_distribution<std::size_t> pick(0, lessons.size() - 1);
        for (int extra = 0; extra < 3; ++extra) {
            TimetableRow twin = lessons[pick(rng)];
            twin.row = 0;
            twin.cls = extra == 2 ? "六(10)" : lessons[pick(rng)].cls;
            timetable::add(*db, twin);
            TimetableRow second = lessons[pick(rng)];
            second.row = 0;
            second.teacher = lessons[pick(rng)].teacher;
            second.subject = "书法";
            timetable::add(*db, second);
        }
        auto classNames = classes::names(*db);
        classNames.push_back("六(10)");
        classes::replaceAll(*db, classNames);
        const auto before = stored(*db);

        const auto file = db.dir.path() / "课表.xlsx";
        timetable_export::write(*db, file);
        const auto loaded = sheet_import::load(file);
        ASSERT_EQ(loaded.found, timetable_sheets::Layout::ByTeacher);
        const auto preview = sheet_import::check(loaded, std::nullopt, sheet_import::schoolOf(*db));
        ASSERT_TRUE(preview);
        EXPECT_TRUE(preview->reading.newTeachers.empty());
        for (const auto& p : preview->reading.problems)
            EXPECT_TRUE(p.kind == timetable_sheets::Problem::Kind::TeacherTwice ||
                        p.kind == timetable_sheets::Problem::Kind::ClassTwice)
                << p.line(true);
        sheet_import::apply(*db, *preview, true, {});
        const auto after = stored(*db);
        EXPECT_EQ(differences(before, after), "");
    }
}

}  // namespace
}  // namespace daike
