#include "basedata/main_classes.h"

#include "basedata/class_list.h"
#include "basedata/classes.h"
#include "basedata/full_width.h"
#include "store/store.h"
#include "store/week.h"

namespace daike::mainclasses {

std::vector<Teacher> readTeachers(Store& store) {
    std::vector<Teacher> out;
    auto rs = store.dkb("select * from 教师姓名");
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        Teacher t;
        t.name = rs[0].isNull() ? std::string() : rs[0].text();
        for (int k = 0; k < kValues; ++k)
            if (!rs[k + 1].isNull()) t.values[static_cast<std::size_t>(k)] = rs[k + 1].text();
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

Editor::Tick Editor::tick(std::string_view cls, bool on) {
    if (subject_ < 0) return Tick::NoSubject;
    auto& list = shown_.values[static_cast<std::size_t>(subject_)];
    list = on ? classlist::add(list, cls) : classlist::remove(list, cls);
    return Tick::Done;
}

bool Editor::ticked(std::string_view cls) const {
    return subject_ >= 0 &&
           classlist::contains(shown_.values[static_cast<std::size_t>(subject_)], cls);
}

bool Editor::changed() const {
    return shown_.values != loaded_.values;
}

Stored storeTeacher(Store& store, int position, const std::string& loadedName,
                    const Teacher& shown) {
    return store.transaction([&] {
        auto rs = store.dkb("select * from 教师姓名");
        bool found = false;
        if (position >= 1 && position <= rs.recordCount()) {
            rs.moveFirst();
            for (int i = 1; i < position; ++i) rs.moveNext();
            found = !rs[0].isNull() && rs[0].text() == loadedName;
        }
        if (!found) found = rs.findName(loadedName);
        if (!found) return Stored::NotFound;
        // A name box emptied by mistake must not leave a teacher without a name: every other
        // table finds the teacher by it.
        std::string name = cleanFullWidth(shown.name);
        if (name.empty()) name = loadedName;
        rs.set(0, name);
        for (int k = 0; k < kValues; ++k) {
            const std::string v = classlist::clean(shown.values[static_cast<std::size_t>(k)]);
            rs.set(k + 1, v.empty() ? Value() : Value(v));
        }
        rs.update();
        return Stored::Written;
    });
}

}  // namespace daike::mainclasses
