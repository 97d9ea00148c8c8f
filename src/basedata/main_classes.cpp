#include "basedata/main_classes.h"

#include <algorithm>

#include "basedata/class_list.h"
#include "basedata/classes.h"
#include "store/store.h"
#include "store/tables/teachers.h"
#include "store/week.h"

namespace daike::mainclasses {

std::vector<Teacher> readTeachers(Store& store) {
    std::vector<Teacher> out;
    for (const auto& row : teachers::all(store)) {
        Teacher t;
        t.name = row.nameText();
        for (int k = 0; k < kValues; ++k)
            t.values[static_cast<std::size_t>(k)] = row.classValue(k).value_or("");
        out.push_back(std::move(t));
    }
    return out;
}

std::array<std::vector<std::string>, week::kGrades> classesByGrade(Store& store) {
    std::array<std::vector<std::string>, week::kGrades> out;
    for (const auto& cls : readClasses(store)) {
        const int g = gradeOfClass(cls);
        if (g >= 0) out[static_cast<std::size_t>(g)].push_back(cls);
    }
    return out;
}

void Editor::load(const Teacher& t) {
    loaded_ = t;
    shown_ = t;
    subject_ = -1;
}

void Editor::setValue(int k, std::string value) {
    shown_.values.at(static_cast<std::size_t>(k)) = std::move(value);
}

void Editor::choose(int k) {
    subject_ = (k >= 0 && k < kValues) ? k : -1;
}

Checked<> Editor::tick(std::string_view cls, bool on) {
    if (subject_ < 0) return Refusal{"请选择修改任科班级的相应学科！"};
    auto& list = shown_.values[static_cast<std::size_t>(subject_)];
    list = on ? classlist::add(list, cls) : classlist::remove(list, cls);
    return {};
}

bool Editor::ticked(std::string_view cls) const {
    return subject_ >= 0 &&
           classlist::contains(shown_.values[static_cast<std::size_t>(subject_)], cls);
}

bool Editor::changed() const {
    return shown_.values != loaded_.values;
}

Checked<> storeTeacher(Store& store, int position, const std::string& loadedName,
                       const Teacher& shown) {
    return store.transaction([&]() -> Checked<> {
        const auto rows = teachers::all(store);
        auto named = [&](const TeacherRow& t) { return t.name && *t.name == loadedName; };
        auto at = rows.end();
        if (position >= 1 && position <= static_cast<int>(rows.size()) &&
            named(rows[static_cast<std::size_t>(position - 1)]))
            at = rows.begin() + (position - 1);
        if (at == rows.end()) at = std::find_if(rows.begin(), rows.end(), named);
        if (at == rows.end())
            return Refusal{"教师“" + loadedName + "”已不在教师名单中，改动未能保存！"};
        // The name stays as stored, whatever the name box shows: the timetable, the tallies and
        // every record find the teacher by it, so a name cleaned or retyped here would leave
        // him without lessons (and free to cover the periods he teaches). Names are changed in
        // the teacher list only.
        TeacherRow row = *at;
        for (int k = 0; k < kValues; ++k) {
            const std::string v = classlist::clean(shown.values[static_cast<std::size_t>(k)]);
            row.classValue(k) = v.empty() ? std::nullopt : std::optional<std::string>(v);
        }
        teachers::update(store, row);
        return {};
    });
}

}  // namespace daike::mainclasses
