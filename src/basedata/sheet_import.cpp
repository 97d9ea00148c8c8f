#include "basedata/sheet_import.h"

#include <algorithm>
#include <set>
#include <unordered_set>

#include "basedata/classes.h"
#include "store/paths.h"
#include "store/store.h"
#include "store/tables/classes.h"
#include "store/tables/teachers.h"
#include "store/week.h"

namespace daike::sheet_import {

namespace ts = timetable_sheets;
namespace ti = timetable_import;

timetable_sheets::School schoolOf(Store& store) {
    ts::School school;
    school.teachers = teachers::names(store);
    school.classes = readClasses(store);
    std::set<std::string> seen;
    for (int grade = 0; grade < week::kGrades; ++grade)
        if (const auto offered = courses::ofGrade(store, grade))
            for (const auto& c : *offered)
                if (!c.empty() && seen.insert(c).second) school.subjects.push_back(c);
    return school;
}

Loaded load(const std::filesystem::path& file) {
    Loaded loaded{file, spreadsheet::read(file), std::nullopt};
    loaded.found = ts::detect(loaded.book);
    return loaded;
}

std::string Preview::description(const Loaded& loaded) const {
    std::string out = std::string("识别为：") + ts::layoutName(layout) + "（";
    if (chosen) out += "由您选择，";
    out += spreadsheet::formatName(loaded.book.format);
    if (!loaded.book.encoding.empty()) out += "，" + loaded.book.encoding + " 编码";
    return out + "）";
}

std::vector<std::string> Preview::problemLines() const {
    const bool sheets = reading.sheetsRead.size() > 1;
    std::vector<std::string> lines;
    lines.reserve(reading.problems.size());
    for (const auto& p : reading.problems) lines.push_back(p.line(sheets));
    return lines;
}

Checked<Preview> check(const Loaded& loaded, std::optional<timetable_sheets::Layout> chosen,
                       const timetable_sheets::School& school) {
    const auto layout = chosen ? chosen : loaded.found;
    if (!layout) return Refusal{kNoLayout};
    Preview p;
    p.layout = *layout;
    p.chosen = chosen.has_value();
    p.reading = ts::read(loaded.book, *layout, school);
    return p;
}

timetable_import::ImportPlan planOf(Store& store, const Preview& preview, bool addNewTeachers) {
    const std::unordered_set<std::string> newNames(preview.reading.newTeachers.begin(),
                                                   preview.reading.newTeachers.end());
    ti::ImportPlan plan;
    std::unordered_set<std::string> teachersWithLessons;
    for (const auto& lesson : preview.reading.lessons) {
        if (!addNewTeachers && newNames.count(lesson.teacher)) continue;
        plan.rows.push_back(lesson);
        teachersWithLessons.insert(lesson.teacher);
    }
    plan.teachers = static_cast<int>(teachersWithLessons.size());
    ti::countTodaysCovers(store, plan);
    return plan;
}

std::string details(const Loaded& loaded, const Preview& preview,
                    const timetable_import::ImportPlan& plan) {
    std::string out = "课务导入明细（总课表）\n\n文件：" + utf8(loaded.file) + "\n" +
                      preview.description(loaded) + "\n读取的工作表：";
    for (std::size_t i = 0; i < preview.reading.sheetsRead.size(); ++i)
        out += (i ? "、" : "") + preview.reading.sheetsRead[i];
    out += "\n\n导入" + std::to_string(plan.teachers) + "位教师的课务，共" +
           std::to_string(plan.rows.size()) + "节课。\n\n";
    const auto lines = preview.problemLines();
    out += "发现的问题（" + std::to_string(lines.size()) + "处）：\n";
    for (const auto& line : lines) out += "  " + line + "\n";
    out += "\n各教师的课务节数：\n";
    std::vector<std::pair<std::string, int>> counts;
    std::unordered_map<std::string, std::size_t> at;
    for (const auto& row : plan.rows) {
        auto [it, fresh] = at.emplace(row.teacher, counts.size());
        if (fresh) counts.push_back({row.teacher, 0});
        ++counts[it->second].second;
    }
    for (const auto& [name, count] : counts)
        out += "  " + name + "  " + std::to_string(count) + "节\n";
    return out;
}

Outcome apply(Store& store, const Preview& preview, bool addNewTeachers, const BackupStep& backup) {
    Outcome outcome;
    if (backup) backup();
    store.transaction([&] {
        if (addNewTeachers)
            for (const auto& name : preview.reading.newTeachers)
                if (!teachers::exists(store, name)) {
                    teachers::add(store, name);
                    outcome.added.push_back(name);
                }
        // Counted inside the transaction, against the marks the replacement carries over.
        outcome.plan = planOf(store, preview, addNewTeachers);
        ti::replaceTimetable(store, outcome.plan, {});
    });
    return outcome;
}

std::string doneQuestion(const Outcome& outcome, const std::string& backupLine,
                         const std::string& detailsFile) {
    const auto& plan = outcome.plan;
    std::string out = "总课表已导入：" + std::to_string(plan.teachers) + "位教师，共" +
                      std::to_string(plan.rows.size()) + "节课。\n";
    if (!outcome.added.empty()) {
        out += "已加入教师名单：";
        for (std::size_t i = 0; i < outcome.added.size(); ++i)
            out += (i ? "、" : "") + outcome.added[i];
        out += "。\n";
    }
    if (plan.coveredKept > 0)
        out += "今天已代课的" + std::to_string(plan.coveredKept) +
               "节课在新课表中不变，代课标记已保留。\n";
    if (!plan.coveredGone.empty())
        out += "今天已代课的" + std::to_string(plan.coveredGone.size()) +
               "节课已不在新课表中，代课记录仍然保留。\n";
    out += backupLine.starts_with("\n") ? backupLine.substr(1) : backupLine;
    if (!detailsFile.empty()) out += "\n明细见：" + detailsFile;
    return out +
           "\n\n课务变了，空课教师表和每日节数需要重新计算（空课教师初始化、每日节数初始化）。"
           "现在就计算吗？（是/否）";
}

}  // namespace daike::sheet_import
