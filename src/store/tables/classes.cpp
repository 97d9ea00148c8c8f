#include "store/tables/classes.h"

#include "store/store.h"

namespace daike {

namespace {

// The grade columns of 开设课程 follow the course column: 一年级 … 六年级.
std::string gradeColumn(std::size_t grade) {
    return std::string(week::kGradeNames[grade]) + "年级";
}

}  // namespace

std::vector<std::string> classes::names(Store& store) {
    std::vector<std::string> out;
    for (const auto& r : store.select("SELECT 班级 FROM 班级 ORDER BY rowid"))
        out.push_back(r[0].text());
    return out;
}

void classes::replaceAll(Store& store, const std::vector<std::string>& names) {
    store.transaction([&] {
        store.emptyTable("班级");
        for (const auto& n : names) store.exec("INSERT INTO 班级 (班级) VALUES (?)", {Value(n)});
    });
}

void courses::add(Store& store, const std::string& name,
                  const std::array<bool, week::kGrades>& grades) {
    store.transaction([&] {
        store.exec("INSERT INTO 开设课程 (课程) VALUES (?)", {Value(name)});
        for (std::size_t g = 0; g < grades.size(); ++g)
            if (grades[g]) store.putFirstFree("开设课程", gradeColumn(g), name, true);
    });
}

std::optional<std::vector<std::string>> courses::ofGrade(Store& store, int grade) {
    auto rs = store.dkb("select * from 开设课程");
    if (rs.empty()) return std::nullopt;
    std::vector<std::string> out;
    for (rs.moveFirst(); !rs.eof() && !rs[grade + 1].isBlank(); rs.moveNext())
        out.push_back(rs[grade + 1].text());
    return out;
}

}  // namespace daike
