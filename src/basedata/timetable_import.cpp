#include "basedata/timetable_import.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>

#include "basedata/classes.h"
#include "basedata/full_width.h"
#include "basedata/teacher_names.h"
#include "store/store.h"
#include "store/tables/timetable.h"
#include "store/text.h"
#include "store/value.h"
#include "store/week.h"

namespace daike::timetable_import {

namespace {

// The plan's rows as lessons of 任课情况, without marks.
std::vector<TimetableRow> lessonsOf(const ImportPlan& plan) {
    std::vector<TimetableRow> lessons;
    for (const auto& row : plan.rows) {
        TimetableRow l;
        l.teacher = row.teacher;
        l.weekday = row.weekday;
        l.cls = row.className;
        l.period = row.period;
        l.subject = row.subject;
        lessons.push_back(std::move(l));
    }
    return lessons;
}

std::string cellName(int weekday, int period) {
    return week::weekdayName(weekday) + week::periodName(period);
}

bool isDigit(const std::string& c) {
    return c.size() == 1 && c[0] >= '0' && c[0] <= '9';
}

// The character at a position counted from the right (1 = last); "" past the right end.
// Nothing when the position lies before the first character.
std::optional<std::string> fromRight(const std::vector<std::string>& chars, long position) {
    const long n = static_cast<long>(chars.size());
    const long index = n - position;  // 0-based
    if (index < 0) return std::nullopt;
    if (index >= n) return std::string();
    return chars[static_cast<std::size_t>(index)];
}

std::string join(const std::vector<std::string>& chars, long count) {
    std::string out;
    for (long i = 0; i < count && i < static_cast<long>(chars.size()); ++i)
        out += chars[static_cast<std::size_t>(i)];
    return out;
}

std::optional<Reading> readChars(const std::vector<std::string>& chars, long grade, long number,
                                 long length, const std::string& classNumber) {
    const long subjectLength = static_cast<long>(chars.size()) - length;
    if (subjectLength < 0) return std::nullopt;
    const auto g = fromRight(chars, grade);
    const auto c = fromRight(chars, number);
    if (!g || !c) return std::nullopt;
    return Reading{join(chars, subjectLength),
                   *g + "(" + (classNumber.empty() ? *c : classNumber) + ")"};
}

bool positionsSet(const KeyPositions& at) {
    return at.grade > 0 && at.classNumber > 0 && at.length > 0;
}

const char* const kPositionsMissing =
    "请先在“关键字符位置设定”中输入三个大于0的位置数值，并用样本测试核对！";

}  // namespace

int positionValue(std::string_view box) {
    const double v = std::nearbyint(leadingNumber(box));  // halves to the even one
    if (!(v > -1e6)) return -1000000;
    if (!(v < 1e6)) return 1000000;
    return static_cast<int>(v);
}

KeyPositions positionsFrom(std::string_view text1, std::string_view text2, std::string_view text3) {
    return {positionValue(text1), positionValue(text2), positionValue(text3)};
}

std::string cleanCell(std::string_view raw) {
    std::string kept;
    kept.reserve(raw.size());
    for (char c : raw) {
        // Paragraph ends, cell marks, manual line breaks, line feeds; tabs count as blanks.
        if (c == '\r' || c == '\a' || c == '\v' || c == '\n' || c == '\t') continue;
        kept += c;
    }
    return cleanFullWidth(kept);
}

bool isLessonCell(std::string_view cleaned) {
    return text::length(cleaned) > 3;
}

std::optional<Reading> readCell(std::string_view s, const KeyPositions& at) {
    return readChars(text::characters(s), at.grade, at.classNumber, at.length, "");
}

std::optional<Reading> readLesson(std::string_view cleaned, const KeyPositions& at,
                                  bool chineseGrade) {
    const auto chars = text::characters(cleaned);
    const long n = static_cast<long>(chars.size());
    long grade = at.grade, length = at.length;
    std::string number;
    // 六年10班: the class-number position holds the last digit of two. Only where the format
    // keeps something between grade and number, so that a compact 32 stays grade 3, class 2.
    const long index = n - at.classNumber;  // 0-based
    if (at.grade - at.classNumber >= 2 && index >= 1 && index < n &&
        isDigit(chars[static_cast<std::size_t>(index)]) &&
        isDigit(chars[static_cast<std::size_t>(index - 1)]) && grade + 1 <= n && length + 1 <= n) {
        number =
            chars[static_cast<std::size_t>(index - 1)] + chars[static_cast<std::size_t>(index)];
        ++grade;
        ++length;
    }
    auto r = readChars(chars, grade, at.classNumber, length, number);
    if (!r || !chineseGrade) return r;
    const auto g = fromRight(chars, grade);
    if (g && g->size() == 1 && (*g)[0] >= '1' && (*g)[0] - '1' < week::kGrades) {
        const std::string tail = r->className.substr(1);
        r->className =
            std::string(week::kGradeNames[static_cast<std::size_t>((*g)[0] - '1')]) + tail;
    }
    return r;
}

SampleTest sampleTest(const KeyPositions& at) {
    SampleTest t;
    for (const char* sample : kSamples) {
        auto r = readCell(sample, at);
        if (!r) return t;
        t.results.push_back(*r);
    }
    t.ok = true;
    return t;
}

Checked<Reading> customTest(std::string_view text4, const KeyPositions& at) {
    if (auto r = readCell(cleanCell(text4), at)) return std::move(*r);
    return Refusal{kPositionTooLarge};
}

int percentDone(int done, int total) {
    if (total <= 0) return 100;
    const long long whole = 100LL * done;
    long long q = whole / total;
    const long long twice = 2 * (whole % total);
    if (twice > total || (twice == total && q % 2 == 1)) ++q;
    return static_cast<int>(q);
}

std::vector<std::string> importTeachers(Store& store) {
    std::vector<std::string> names;
    for (auto& name : readTeacherNames(store))
        if (!name.empty()) names.push_back(std::move(name));
    return names;
}

namespace {
CheckOutcome stopped(CheckOutcome::Kind kind, std::string message) {
    CheckOutcome c;
    c.kind = kind;
    c.message = std::move(message);
    return c;
}
}  // namespace

CheckOutcome checkPass(Store& store, const KeyPositions& at, TimetableDocuments& documents,
                       const Progress& progress) {
    using Kind = CheckOutcome::Kind;
    const auto teachers = importTeachers(store);
    if (teachers.empty()) return stopped(Kind::NoTeachers, kNoTeachers);
    if (!positionsSet(at)) return stopped(Kind::BadPositions, kPositionsMissing);
    const int n = static_cast<int>(teachers.size());
    for (int t = 0; t < n; ++t) {
        const auto doc = documents.read(teachers[t]);
        if (!doc.cells) return stopped(Kind::Unreadable, doc.problem);
        for (int g = 1; g <= kWeekdays; ++g) {
            for (int r = 1; r <= kPeriods; ++r) {
                const auto cleaned = cleanCell((*doc.cells)[r - 1][g - 1]);
                if (!isLessonCell(cleaned)) continue;
                const auto lesson = readLesson(cleaned, at, false);
                if (!lesson)
                    return stopped(Kind::Unreadable, teachers[t] + "的课务表（" + doc.path + "）" +
                                                         cellName(g, r) + "“" + cleaned + "”：" +
                                                         kPositionTooLarge);
                return {Kind::FirstLesson, "", *lesson, teachers[t], g, r};
            }
        }
        if (progress) progress(percentDone(t + 1, n));
    }
    return stopped(Kind::NoLesson, kAllRead);
}

Checked<ImportPlan> readDocuments(Store& store, const KeyPositions& at,
                                  TimetableDocuments& documents, const Progress& progress) {
    ImportPlan plan;
    const auto teachers = importTeachers(store);
    if (teachers.empty()) return Refusal{kNoTeachers};
    if (!positionsSet(at)) return Refusal{kPositionsMissing};
    // Every document that could not be read, one line each.
    std::string problems;
    const int n = static_cast<int>(teachers.size());
    for (int t = 0; t < n; ++t) {
        const auto& name = teachers[t];
        const auto doc = documents.read(name);
        if (!doc.cells) {
            // Go on: the office is told of every document that is missing, not one at a time.
            problems += doc.problem + "\n";
        } else {
            ++plan.teachers;
            for (int g = 1; g <= kWeekdays; ++g) {
                for (int r = 1; r <= kPeriods; ++r) {
                    const auto cleaned = cleanCell((*doc.cells)[r - 1][g - 1]);
                    if (!isLessonCell(cleaned)) continue;
                    if (auto lesson = readLesson(cleaned, at, true))
                        plan.rows.push_back({name, g, r, lesson->subject, lesson->className});
                    else
                        plan.skipped.push_back({name, g, r, cleaned});
                }
            }
        }
        if (progress) progress(percentDone(t + 1, n));
    }
    if (!problems.empty()) return Refusal{problems + "原有的课务情况未作任何改动。"};
    std::map<std::tuple<std::string, int, int>, std::size_t> seen;   // -> index in doubles
    std::map<std::tuple<std::string, int, int>, std::size_t> first;  // -> first row
    for (std::size_t i = 0; i < plan.rows.size(); ++i) {
        const auto& row = plan.rows[i];
        const auto key = std::make_tuple(row.className, row.weekday, row.period);
        const auto lessonText = row.teacher + " " + row.subject;
        auto f = first.find(key);
        if (f == first.end()) {
            first.emplace(key, i);
            continue;
        }
        auto d = seen.find(key);
        if (d == seen.end()) {
            const auto& earlier = plan.rows[f->second];
            plan.doubles.push_back({row.className,
                                    row.weekday,
                                    row.period,
                                    {earlier.teacher + " " + earlier.subject}});
            d = seen.emplace(key, plan.doubles.size() - 1).first;
        }
        plan.doubles[d->second].lessons.push_back(lessonText);
    }
    countTodaysCovers(store, plan);
    return plan;
}

void countTodaysCovers(Store& store, ImportPlan& plan) {
    std::vector<TimetableRow> fresh = lessonsOf(plan);
    const auto old = timetable::marked(store);  // only marked lessons carry anything over
    plan.coveredGone = carryTodaysMarks(old, fresh);
    const auto covered =
        std::count_if(old.begin(), old.end(), [](const TimetableRow& l) { return l.covered; });
    plan.coveredKept = static_cast<int>(covered) - static_cast<int>(plan.coveredGone.size());
}

std::string ImportPlan::summary(const std::string& detailsFile) const {
    std::string out = "已读取" + std::to_string(teachers) + "位教师的课务表，共" +
                      std::to_string(rows.size()) + "节课。\n";
    if (!skipped.empty())
        out += "有" + std::to_string(skipped.size()) +
               "个单元格的内容无法按关键字符位置读取，不会导入。\n";
    if (!doubles.empty())
        out += "有" + std::to_string(doubles.size()) + "处同一班级在同一节次有两节或以上的课。\n";
    if (!detailsFile.empty()) out += "明细见：" + detailsFile + "\n";
    if (coveredKept > 0)
        out +=
            "今天已代课的" + std::to_string(coveredKept) + "节课在新课表中不变，代课标记将保留。\n";
    if (!coveredGone.empty()) {
        // A long list would push the question off the screen: the first few, then the count.
        constexpr std::size_t kListed = 5;
        out += "以下今天已代课的课已不在新课表中：";
        for (std::size_t i = 0; i < coveredGone.size() && i < kListed; ++i) {
            const auto& l = coveredGone[i];
            out += (i ? "；" : "") + l.teacher + " " + cellName(l.weekday, l.period) + " " +
                   l.className + " " + l.subject;
        }
        if (coveredGone.size() > kListed) out += "等共" + std::to_string(coveredGone.size()) + "节";
        out += "。\n";
    }
    return out + "\n按“确定”以这些课务替换现有的全部课务情况；按“取消”不作任何改动。";
}

std::string ImportPlan::details() const {
    std::string out = "课务导入明细\n\n已读取" + std::to_string(teachers) + "位教师的课务表，共" +
                      std::to_string(rows.size()) + "节课。\n\n";
    out += "无法按关键字符位置读取的单元格（" + std::to_string(skipped.size()) + "个）：\n";
    for (const auto& s : skipped)
        out += "  " + s.teacher + "  " + cellName(s.weekday, s.period) + "：“" + s.text + "”\n";
    out += "\n同一班级在同一节次有两节或以上的课（" + std::to_string(doubles.size()) + "处）：\n";
    for (const auto& d : doubles) {
        out += "  " + d.className + "  " + cellName(d.weekday, d.period) + "：";
        for (std::size_t i = 0; i < d.lessons.size(); ++i) out += (i ? "；" : "") + d.lessons[i];
        out += "\n";
    }
    out += "\n各教师的课务节数：\n";
    std::vector<std::pair<std::string, int>> counts;
    for (const auto& row : rows) {
        if (counts.empty() || counts.back().first != row.teacher)
            counts.push_back({row.teacher, 0});
        ++counts.back().second;
    }
    for (const auto& [name, count] : counts)
        out += "  " + name + "  " + std::to_string(count) + "节\n";
    return out;
}

std::vector<LessonRow> carryTodaysMarks(const std::vector<TimetableRow>& old,
                                        std::vector<TimetableRow>& fresh) {
    using Key = std::tuple<std::string, int, std::string, int, std::string>;
    auto keyOf = [](const TimetableRow& l) {
        return Key{l.teacher, l.weekday, l.cls, l.period, l.subject};
    };
    // The new lessons of each key, in table order, not yet given marks.
    std::map<Key, std::vector<std::size_t>> waiting;
    for (std::size_t i = fresh.size(); i-- > 0;) waiting[keyOf(fresh[i])].push_back(i);
    std::vector<LessonRow> gone;
    for (const auto& l : old) {
        if (!l.dealtWith && !l.covered) continue;
        auto w = waiting.find(keyOf(l));
        if (w == waiting.end() || w->second.empty()) {
            if (l.covered) gone.push_back({l.teacher, l.weekday, l.period, l.subject, l.cls});
            continue;
        }
        auto& lesson = fresh[w->second.back()];
        w->second.pop_back();
        lesson.dealtWith = l.dealtWith;
        lesson.covered = l.covered;
    }
    return gone;
}

void replaceTimetable(Store& store, const ImportPlan& plan, const BackupStep& backup) {
    if (backup) backup();
    std::vector<TimetableRow> lessons = lessonsOf(plan);
    // The marks are read and carried in the transaction that replaces the rows: no cover
    // recorded in between can be lost.
    store.transaction([&] {
        carryTodaysMarks(timetable::marked(store), lessons);
        timetable::replaceAll(store, lessons);
    });
}

}  // namespace daike::timetable_import
