#include "basedata/demo_school.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <set>
#include <stdexcept>

#include "school/resets.h"
#include "store/store.h"
#include "store/tables/classes.h"
#include "store/tables/exempt_list.h"
#include "store/tables/settings.h"
#include "store/tables/teachers.h"
#include "store/tables/timetable.h"
#include "store/week.h"

namespace daike::demo {

namespace {

constexpr int kSlots = week::kSlots;
constexpr int kGrades = week::kGrades;

// Every course the school offers, in the order the office enters them.
const char* const kCourses[] = {"语文", "数学", "英语", "科学",     "道德与法治",
                                "音乐", "美术", "体育", "信息技术", "综合实践",
                                "书法", "劳动", "班队"};
constexpr int kCourseCount = static_cast<int>(std::size(kCourses));
int courseIndex(std::string_view name) {
    for (int i = 0; i < kCourseCount; ++i)
        if (name == kCourses[i]) return i;
    throw std::logic_error("unknown course");
}

// The staff groups: who teaches what, and how many periods a week each grade has of it. The
// head teacher of a class teaches its 语文 and the class-bound courses; each other group's
// classes are shared among that group's teachers.
struct Lessons {
    const char* course;
    std::array<int, kGrades> perWeek;  // grades 一 to 六
};
struct Group {
    std::vector<Lessons> lessons;
};
const std::vector<Group>& groups() {
    static const std::vector<Group> all = {
        // 0: head teachers
        {{{"语文", {9, 9, 7, 7, 6, 6}},
          {"书法", {1, 1, 0, 0, 0, 0}},
          {"道德与法治", {2, 2, 2, 2, 2, 2}},
          {"综合实践", {0, 0, 1, 1, 2, 2}},
          {"班队", {1, 1, 1, 1, 1, 1}}}},
        {{{"数学", {5, 5, 5, 5, 5, 5}}, {"劳动", {1, 1, 0, 0, 0, 0}}}},
        {{{"英语", {0, 0, 3, 3, 3, 3}}}},
        {{{"科学", {1, 1, 2, 2, 2, 2}}}},
        {{{"音乐", {2, 2, 2, 2, 2, 2}}}},
        {{{"美术", {2, 2, 2, 2, 2, 2}}}},
        {{{"体育", {4, 4, 3, 3, 3, 3}}}},
        {{{"信息技术", {0, 0, 1, 1, 1, 1}}}},
    };
    return all;
}

int groupHours(const Group& g, int grade) {
    int h = 0;
    for (const auto& l : g.lessons) h += l.perWeek[static_cast<std::size_t>(grade)];
    return h;
}

const char* const kSurnames[] = {
    "王", "李", "张", "刘", "陈", "杨", "黄", "赵", "吴", "周", "徐", "孙", "马", "朱", "胡",
    "郭", "何", "高", "林", "罗", "郑", "梁", "谢", "宋", "唐", "许", "韩", "冯", "邓", "曹",
    "彭", "曾", "肖", "田", "董", "袁", "潘", "于", "蒋", "蔡", "余", "杜", "叶", "程", "苏",
    "魏", "吕", "丁", "任", "沈", "姚", "卢", "姜", "崔", "钟", "谭", "陆", "汪", "范", "金"};
const char* const kGiven[] = {
    "伟", "芳", "娜", "敏", "静", "丽", "强", "磊", "洋", "艳", "勇", "军", "杰", "娟", "涛",
    "明", "超", "秀", "霞", "平", "刚", "桂", "英", "华", "玉", "兰", "红", "建", "文", "辉",
    "婷", "雪", "琳", "晓", "燕", "颖", "慧", "佳", "欣", "宇", "浩", "凯", "波", "斌", "鹏",
    "俊", "峰", "倩", "萍", "梅", "莉", "丹", "蕾", "蓉", "晨", "阳", "瑞", "彬", "海", "春",
    "新", "国", "志", "永", "亮", "菲", "璐", "琦", "薇", "悦", "怡", "婧", "昕", "晶", "鑫"};

class Random {
  public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}
    // 0 to n-1; the engine's output is fixed by the standard, so the school is the same on
    // every machine.
    int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }

  private:
    std::mt19937 engine_;
};

std::vector<std::string> makeNames(int n, Random& rnd) {
    std::vector<std::string> names;
    std::set<std::string> seen;
    while (static_cast<int>(names.size()) < n) {
        std::string name = kSurnames[rnd.below(static_cast<int>(std::size(kSurnames)))];
        const int given = rnd.below(10) < 7 ? 2 : 1;
        const int first = rnd.below(static_cast<int>(std::size(kGiven)));
        name += kGiven[first];
        if (given == 2) {
            const int second = rnd.below(static_cast<int>(std::size(kGiven)));
            if (second == first) continue;
            name += kGiven[second];
        }
        if (seen.insert(name).second) names.push_back(name);
    }
    return names;
}

struct Lesson {
    int teacher;
    int cls;
    int course;
    int slot = -1;
};

struct Timetable {
    std::vector<Lesson> lessons;
    std::vector<std::array<int, kSlots>> classAt;    // lesson index or -1
    std::vector<std::array<int, kSlots>> teacherAt;  // lesson index or -1
};

bool isMain(int course) {
    return course <= 2;  // 语文, 数学, 英语
}
bool isActive(int course) {
    return course == courseIndex("体育") || course == courseIndex("音乐") ||
           course == courseIndex("美术");
}

// How little a slot suits a lesson: the same course twice a day, main courses in the afternoon
// and sport or music first thing are avoided where the week allows.
int cost(const Timetable& tt, const Lesson& l, int slot, Random& rnd) {
    const int day = week::weekdayOfSlot(slot), period = week::periodOfSlot(slot);
    int c = 0;
    for (int p = 1; p <= week::kPeriods; ++p) {
        const int other = tt.classAt[static_cast<std::size_t>(l.cls)]
                                    [static_cast<std::size_t>(week::slotIndex(day, p))];
        if (other >= 0 && tt.lessons[static_cast<std::size_t>(other)].course == l.course) c += 10;
    }
    if (isMain(l.course) && !week::isMorning(period)) c += 3;
    if (isActive(l.course) && period == 1) c += 2;
    return c + rnd.below(3);
}

void place(Timetable& tt, int id, int slot) {
    auto& l = tt.lessons[static_cast<std::size_t>(id)];
    l.slot = slot;
    tt.classAt[static_cast<std::size_t>(l.cls)][static_cast<std::size_t>(slot)] = id;
    tt.teacherAt[static_cast<std::size_t>(l.teacher)][static_cast<std::size_t>(slot)] = id;
}

void unplace(Timetable& tt, int id) {
    auto& l = tt.lessons[static_cast<std::size_t>(id)];
    tt.classAt[static_cast<std::size_t>(l.cls)][static_cast<std::size_t>(l.slot)] = -1;
    tt.teacherAt[static_cast<std::size_t>(l.teacher)][static_cast<std::size_t>(l.slot)] = -1;
    l.slot = -1;
}

// Places every lesson so that no class and no teacher has two lessons at once. Lessons of the
// busiest teachers go first, each into the free slot that suits it best. When no slot is free
// for both the class and the teacher, take a slot a free for the teacher and a slot b free for
// the class, and swap a and b along the chain of lessons class - a - teacher - b - class …
// that starts at the class: the chain never reaches the teacher (its lessons enter teachers by
// slot a, which the teacher has free), and afterwards a is free for both. So every timetable in
// which no class and no teacher has more than thirty lessons can be placed.
void schedule(Timetable& tt, int classes, int teachers, Random& rnd) {
    tt.classAt.assign(static_cast<std::size_t>(classes), {});
    tt.teacherAt.assign(static_cast<std::size_t>(teachers), {});
    for (auto& a : tt.classAt) a.fill(-1);
    for (auto& a : tt.teacherAt) a.fill(-1);
    std::vector<int> load(static_cast<std::size_t>(teachers), 0), order;
    for (const auto& l : tt.lessons) ++load[static_cast<std::size_t>(l.teacher)];
    for (int i = 0; i < static_cast<int>(tt.lessons.size()); ++i) order.push_back(i);
    std::vector<int> tie(order.size());
    for (auto& t : tie) t = rnd.below(1 << 20);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const auto& la = tt.lessons[static_cast<std::size_t>(a)];
        const auto& lb = tt.lessons[static_cast<std::size_t>(b)];
        const int ka = load[static_cast<std::size_t>(la.teacher)];
        const int kb = load[static_cast<std::size_t>(lb.teacher)];
        if (ka != kb) return ka > kb;
        if (la.teacher != lb.teacher) return la.teacher < lb.teacher;
        return tie[static_cast<std::size_t>(a)] < tie[static_cast<std::size_t>(b)];
    });
    auto at = [](auto& table, int who, int slot) -> int& {
        return table[static_cast<std::size_t>(who)][static_cast<std::size_t>(slot)];
    };
    for (int id : order) {
        const Lesson l = tt.lessons[static_cast<std::size_t>(id)];
        int best = -1, bestCost = 0, teacherFree = -1, classFree = -1;
        for (int s = 0; s < kSlots; ++s) {
            const bool cf = at(tt.classAt, l.cls, s) < 0, tf = at(tt.teacherAt, l.teacher, s) < 0;
            if (tf && !cf && teacherFree < 0) teacherFree = s;
            if (cf && !tf && classFree < 0) classFree = s;
            if (!cf || !tf) continue;
            const int c = cost(tt, l, s, rnd);
            if (best < 0 || c < bestCost) best = s, bestCost = c;
        }
        if (best < 0) {
            if (teacherFree < 0 || classFree < 0) throw std::logic_error("more than 30 lessons");
            const int a = teacherFree, b = classFree;
            std::vector<int> chain;
            int who = l.cls;
            bool atClass = true;
            for (int colour = a;;) {
                const int next =
                    atClass ? at(tt.classAt, who, colour) : at(tt.teacherAt, who, colour);
                if (next < 0) break;
                chain.push_back(next);
                const auto& n = tt.lessons[static_cast<std::size_t>(next)];
                who = atClass ? n.teacher : n.cls;
                atClass = !atClass;
                colour = colour == a ? b : a;
            }
            std::vector<int> slots;
            for (int c : chain) slots.push_back(tt.lessons[static_cast<std::size_t>(c)].slot);
            for (int c : chain) unplace(tt, c);
            for (std::size_t i = 0; i < chain.size(); ++i)
                place(tt, chain[i], slots[i] == a ? b : a);
            best = a;
        }
        place(tt, id, best);
    }
}

std::string joinClasses(const std::vector<int>& ids, const std::vector<std::string>& classes) {
    std::string out;
    for (int c : ids) {
        if (!out.empty()) out += ",";
        out += classes[static_cast<std::size_t>(c)];
    }
    return out;
}

std::optional<std::string> listOrNull(const std::vector<int>& ids,
                                      const std::vector<std::string>& classes) {
    if (ids.empty()) return std::nullopt;
    return joinClasses(ids, classes);
}

std::string dateText(calendar::Day d) {
    const std::chrono::year_month_day ymd{d};
    return std::to_string(static_cast<int>(ymd.year())) + "/" +
           std::to_string(static_cast<unsigned>(ymd.month())) + "/" +
           std::to_string(static_cast<unsigned>(ymd.day()));
}

}  // namespace

Plan demoPlan() {
    return Plan{};
}

Plan planFor(int teachers) {
    Plan p;
    p.teachers = teachers;
    // About two and a half teachers per class, and never fewer teachers than one per class
    // plus one for each subject group.
    const int groupsBeyondHead = static_cast<int>(groups().size()) - 1;
    p.classesPerGrade = std::max(1, static_cast<int>(std::lround(teachers / 2.5 / kGrades)));
    while (p.classesPerGrade > 1 && p.classesPerGrade * kGrades + groupsBeyondHead > teachers)
        --p.classesPerGrade;
    return p;
}

calendar::Day termStartBefore(calendar::Day today) {
    const int weekday = calendar::weekdayNumber(today);  // Monday = 1
    return today - std::chrono::days(weekday - 1) - std::chrono::weeks(4);
}

School fillSchool(Store& store, const Plan& plan) {
    const auto& gs = groups();
    const int perGrade = plan.classesPerGrade;
    const int classCount = perGrade * kGrades;
    const int others = plan.teachers - classCount;
    if (perGrade < 1 || others < static_cast<int>(gs.size()) - 1)
        throw std::invalid_argument("too few teachers for the classes");

    School school;
    std::vector<int> gradeOf;
    for (int g = 0; g < kGrades; ++g)
        for (int c = 1; c <= perGrade; ++c) {
            school.classes.push_back(std::string(week::kGradeNames[static_cast<std::size_t>(g)]) +
                                     "(" + std::to_string(c) + ")");
            gradeOf.push_back(g);
        }

    // How many teachers each subject group gets: in proportion to its periods (largest
    // remainder), at least one.
    std::vector<int> hours(gs.size(), 0), staff(gs.size(), 0);
    int otherHours = 0;
    for (std::size_t g = 1; g < gs.size(); ++g) {
        for (int c = 0; c < classCount; ++c)
            hours[g] += groupHours(gs[g], gradeOf[static_cast<std::size_t>(c)]);
        otherHours += hours[g];
    }
    {
        int given = 0;
        std::vector<std::pair<double, std::size_t>> remainders;
        for (std::size_t g = 1; g < gs.size(); ++g) {
            const double quota = static_cast<double>(others) * hours[g] / otherHours;
            staff[g] = std::max(1, static_cast<int>(quota));
            given += staff[g];
            remainders.push_back({quota - std::floor(quota), g});
        }
        std::sort(remainders.begin(), remainders.end(),
                  [](const auto& a, const auto& b) { return a.first > b.first; });
        for (std::size_t i = 0; given < others; i = (i + 1) % remainders.size(), ++given)
            ++staff[remainders[i].second];
        while (given > others) {
            // The minimum of one per group went beyond the quotas: take from the largest group.
            --*std::max_element(staff.begin() + 1, staff.end());
            --given;
        }
    }

    Random rnd(plan.seed);
    school.teachers = makeNames(plan.teachers, rnd);

    // Teacher order of 教师姓名: the head teachers class by class, then each group's teachers.
    std::vector<int> headOf(static_cast<std::size_t>(plan.teachers), -1);
    std::vector<std::array<std::vector<int>, week::kMainSubjects>> mainClasses(
        static_cast<std::size_t>(plan.teachers));
    Timetable tt;
    auto addLessons = [&](int teacher, int cls, const Group& g) {
        for (const auto& l : g.lessons) {
            const int n =
                l.perWeek[static_cast<std::size_t>(gradeOf[static_cast<std::size_t>(cls)])];
            const int course = courseIndex(l.course);
            if (n > 0 && course < week::kMainSubjects)
                mainClasses[static_cast<std::size_t>(teacher)][static_cast<std::size_t>(course)]
                    .push_back(cls);
            for (int i = 0; i < n; ++i) tt.lessons.push_back({teacher, cls, course});
        }
    };
    int next = 0;
    for (int c = 0; c < classCount; ++c, ++next) {
        headOf[static_cast<std::size_t>(next)] = c;
        addLessons(next, c, gs[0]);
    }
    std::vector<int> firstOfGroup(gs.size(), -1);
    for (std::size_t g = 1; g < gs.size(); ++g) {
        firstOfGroup[g] = next;
        // Classes in order, each to the teacher whose share of the group's periods it starts in.
        int start = 0;
        for (int c = 0; c < classCount; ++c) {
            const int h = groupHours(gs[g], gradeOf[static_cast<std::size_t>(c)]);
            if (h == 0) continue;
            const int t =
                next + static_cast<int>(static_cast<long long>(start) * staff[g] / hours[g]);
            addLessons(t, c, gs[g]);
            start += h;
        }
        next += staff[g];
    }

    schedule(tt, classCount, plan.teachers, rnd);
    school.lessons = static_cast<int>(tt.lessons.size());
    school.exempt = {school.teachers[static_cast<std::size_t>(firstOfGroup[1])],
                     school.teachers[static_cast<std::size_t>(firstOfGroup.back())]};

    store.transaction([&] {
        emptyAllData(store, PastTerms::Drop);
        classes::replaceAll(store, school.classes);
        {
            // Column 0: every course once; one column per grade after it: each grade's courses from
            // the top.
            std::array<std::vector<int>, kGrades> gradeCourses;
            for (int course = 0; course < kCourseCount; ++course)
                for (int g = 0; g < kGrades; ++g)
                    for (const auto& group : gs)
                        for (const auto& l : group.lessons)
                            if (courseIndex(l.course) == course &&
                                l.perWeek[static_cast<std::size_t>(g)] > 0)
                                gradeCourses[static_cast<std::size_t>(g)].push_back(course);
            // As many rows as there are courses: a longer grade list is cut there.
            std::vector<std::string> entered(std::begin(kCourses), std::end(kCourses));
            std::array<std::vector<std::string>, week::kGrades> byGrade;
            for (std::size_t g = 0; g < byGrade.size(); ++g)
                for (std::size_t row = 0;
                     row < gradeCourses[g].size() && row < static_cast<std::size_t>(kCourseCount);
                     ++row)
                    byGrade[g].push_back(kCourses[gradeCourses[g][row]]);
            courses::replaceAll(store, entered, byGrade);
        }
        {
            std::vector<TeacherRow> rows;
            for (int t = 0; t < plan.teachers; ++t) {
                const auto ti = static_cast<std::size_t>(t);
                TeacherRow row;
                row.name = school.teachers[ti];
                if (headOf[ti] >= 0)
                    row.headOf = school.classes[static_cast<std::size_t>(headOf[ti])];
                for (std::size_t k = 0; k < row.subjectClasses.size(); ++k)
                    row.subjectClasses[k] = listOrNull(mainClasses[ti][k], school.classes);
                rows.push_back(std::move(row));
            }
            teachers::replaceAll(store, rows);
        }
        {
            // Each teacher's week, Monday first, as the timetable is entered teacher by teacher.
            std::vector<const Lesson*> sorted;
            for (const auto& l : tt.lessons) sorted.push_back(&l);
            std::sort(sorted.begin(), sorted.end(), [](const Lesson* a, const Lesson* b) {
                return a->teacher != b->teacher ? a->teacher < b->teacher : a->slot < b->slot;
            });
            std::vector<TimetableRow> lessons;
            for (const Lesson* l : sorted) {
                TimetableRow row;
                row.teacher = school.teachers[static_cast<std::size_t>(l->teacher)];
                row.weekday = week::weekdayOfSlot(l->slot);
                row.cls = school.classes[static_cast<std::size_t>(l->cls)];
                row.period = week::periodOfSlot(l->slot);
                row.subject = kCourses[l->course];
                lessons.push_back(std::move(row));
            }
            timetable::replaceAll(store, lessons);
        }
        settings::replaceTermStart(store, dateText(plan.termStart));
        exemptlist::replaceAll(store, school.exempt);
        buildFreeTeachers(store);
        countDailyLessons(store);
        resetCoverCounts(store);
        clearTermRecords(store);
    });
    return school;
}

}  // namespace daike::demo
