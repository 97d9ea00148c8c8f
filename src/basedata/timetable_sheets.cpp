#include "basedata/timetable_sheets.h"

#include <algorithm>
#include <climits>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "basedata/full_width.h"
#include "basedata/timetable_cells.h"
#include "store/text.h"
#include "store/week.h"

namespace daike::timetable_sheets {

using spreadsheet::Sheet;
using spreadsheet::Workbook;
using timetable_import::LessonRow;
using Kind = Problem::Kind;
using cells::squeezed;

const char* layoutName(Layout layout) {
    switch (layout) {
        case Layout::ByTeacher:
            return "按教师";
        case Layout::ByClass:
            return "按班级";
        case Layout::ClassSheets:
            return "每班一表";
        case Layout::SubjectsAndAssignments:
            return "科目总表 + 任课安排";
    }
    return "";
}

std::string Problem::line(bool sheetName) const {
    std::string out;
    if (sheetName && !sheet.empty()) out = "工作表“" + sheet + "”";
    if (row > 0 && column > 0)
        out += "第" + std::to_string(row) + "行第" + std::to_string(column) + "列";
    if (!out.empty()) out += "：";
    return out + text;
}

namespace {

constexpr std::string_view kByTeacherSheet = "按教师";
constexpr std::string_view kByClassSheet = "按班级";
constexpr std::string_view kAssignmentsSheet = "任课安排";
constexpr std::string_view kSubjectsSheet = "科目总表";

// Header rows are looked for this far down a sheet (titles and notes may stand above them).
constexpr int kHeaderRowsLooked = 20;
// A header row names at least a third of the week's slots.
constexpr std::size_t kMinSlots = 10;
// A weekday row of a class's table names at least three school days.
constexpr std::size_t kMinWeekdays = 3;
// "  星期三  " and the like, in bytes.
constexpr std::size_t kWeekdayBytes = 24;

bool named(const Sheet& sheet, std::string_view name) {
    return squeezed(sheet.name) == name;
}

bool blank(std::string_view text) {
    return cells::noLesson(text);
}

std::string trimmedCopy(std::string_view s) {
    return std::string(text::trimmed(s));
}

// A cell's text for a message: on one line, blanks at its ends dropped.
std::string inQuotes(std::string_view raw) {
    std::string s = cells::plain(raw);
    std::replace(s.begin(), s.end(), '\n', ' ');
    return "“" + trimmedCopy(s) + "”";
}

// The lines of a cell, as written.
std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : cells::plain(text)) {
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    lines.push_back(std::move(line));
    return lines;
}

bool teacherHeader(const std::string& t) {
    return t == "姓名" || t == "教师" || t == "教师姓名" || t == "老师" || t == "任课教师" ||
           t == "教师名";
}
bool classHeader(const std::string& t) {
    return t == "班级" || t == "班级名称" || t == "班别" || t == "班";
}

// ---- 按教师 and 按班级: a name column and a row of slot headers ----------------------------

struct Grid {
    int header = 0;  // the last header row (of one or two)
    int nameColumn = 0;
    std::vector<std::pair<int, Slot>> slots;  // column, slot
    bool classRows = false;                   // the name column holds classes
};

std::vector<std::pair<int, Slot>> slotRow(const Sheet& sheet, int row) {
    std::vector<std::pair<int, Slot>> slots;
    const int columns = sheet.columnCount();
    for (int c = 0; c < columns; ++c)
        if (auto s = slotOf(sheet.shown(row, c))) slots.emplace_back(c, *s);
    return slots;
}

// A weekday row above a period row: "星期一" merged (or written once) over its periods.
std::vector<std::pair<int, Slot>> twoRowSlots(const Sheet& sheet, int row) {
    std::vector<std::pair<int, Slot>> slots;
    const int columns = sheet.columnCount();
    int weekday = 0;  // 0: no weekday over this column
    for (int c = 0; c < columns; ++c) {
        const auto& top = sheet.shown(row, c);
        if (auto w = cells::weekdayOnly(top))
            weekday = *w;
        else if (!blank(top))
            weekday = 0;
        if (!weekday) continue;
        const auto p = cells::periodOnly(sheet.shown(row + 1, c));
        if (p && week::isPeriod(*p)) slots.emplace_back(c, Slot{weekday, *p});
    }
    return slots;
}

std::optional<Grid> findGrid(const Sheet& sheet) {
    const int looked = std::min(sheet.rowCount(), kHeaderRowsLooked);
    const int columns = sheet.columnCount();
    for (int r = 0; r < looked; ++r) {
        Grid g;
        g.header = r;
        g.slots = slotRow(sheet, r);
        if (g.slots.size() < kMinSlots && r + 1 < sheet.rowCount()) {
            g.slots = twoRowSlots(sheet, r);
            g.header = r + 1;
        }
        if (g.slots.size() < kMinSlots) continue;
        std::unordered_set<int> slotColumns;
        for (const auto& [c, s] : g.slots) slotColumns.insert(c);
        int chosen = -1;
        bool byHeader = false;
        for (int c = 0; c < columns && !byHeader; ++c) {
            if (slotColumns.count(c)) continue;
            for (int hr = r; hr <= g.header; ++hr) {
                const std::string t = squeezed(sheet.shown(hr, c));
                if (teacherHeader(t) || classHeader(t)) {
                    chosen = c;
                    byHeader = true;
                    g.classRows = classHeader(t);
                    break;
                }
            }
        }
        // Else the first column of names or classes: not a slot, not 早读, not a column of
        // numbers (序号).
        int fallback = -1;
        for (int c = 0; c < columns && chosen < 0; ++c) {
            if (slotColumns.count(c) || cells::noLessonLabel(sheet.shown(g.header, c))) continue;
            if (fallback < 0) fallback = c;
            bool numbers = true;
            for (int rr = g.header + 1; rr < sheet.rowCount() && numbers; ++rr) {
                const std::string t = squeezed(sheet.at(rr, c));
                numbers = t.find_first_not_of("0123456789.") == std::string::npos;
            }
            if (!numbers) chosen = c;
        }
        if (chosen < 0) chosen = fallback;
        if (chosen < 0) continue;
        g.nameColumn = chosen;
        if (!byHeader) {
            int classes = 0, others = 0;
            for (int rr = g.header + 1; rr < sheet.rowCount(); ++rr) {
                const auto& t = sheet.at(rr, chosen);
                if (blank(t)) continue;
                ++(cells::wholeClass(t) ? classes : others);
            }
            g.classRows = classes > others;
        }
        return g;
    }
    return std::nullopt;
}

// ---- 每班一表: blocks under a title, a weekday row, period rows -----------------------------

struct Block {
    int header = 0;
    std::vector<std::pair<int, int>> days;  // column, weekday
    std::optional<cells::ClassAt> cls;
    bool teachersTable = false;  // "张三老师课表": not a class's
    int end = 0;                 // the rows header + 1 … end - 1 are its periods
};

// The one text a title row holds, merged or not; "" when the row holds none or several.
std::string titleOf(const Sheet& sheet, int row) {
    std::string title;
    const auto& cells = sheet.rows[static_cast<std::size_t>(row)];
    for (const auto& cell : cells) {
        const std::string t = squeezed(cell);
        if (t.empty()) continue;
        if (!title.empty() && t != title) return "";
        title = t;
    }
    return title;
}

std::optional<cells::ClassAt> classIn(std::string_view text) {
    return cells::findClass(text::characters(squeezed(text)));
}

bool teachersTitle(const std::string& title) {
    return title.find("老师课表") != std::string::npos ||
           title.find("教师课表") != std::string::npos;
}

std::vector<Block> findBlocks(const Sheet& sheet) {
    std::vector<Block> blocks;
    const int columns = sheet.columnCount();
    for (int r = 0; r < sheet.rowCount(); ++r) {
        Block b;
        b.header = r;
        std::unordered_set<int> weekdays;
        for (int c = 0; c < columns; ++c) {
            const auto& t = sheet.at(r, c);
            // A weekday is a few characters: the long texts of a big sheet are passed by.
            if (t.empty() || t.size() > kWeekdayBytes) continue;
            if (auto w = cells::weekdayOnly(t)) {
                b.days.emplace_back(c, *w);
                weekdays.insert(*w);
            }
        }
        if (weekdays.size() < kMinWeekdays) continue;
        const int lower = blocks.empty() ? 0 : blocks.back().header + 1;
        int titleRow = r;
        for (int rr = r - 1; rr >= lower; --rr) {
            const std::string title = titleOf(sheet, rr);
            if (title.empty()) continue;
            if (teachersTitle(title)) {
                b.teachersTable = true;
                titleRow = rr;
                break;
            }
            if (auto cls = classIn(title)) {
                b.cls = cls;
                titleRow = rr;
                break;
            }
        }
        // The class written in the corner of the weekday row ("一(1)班", 周一, …).
        for (int c = 0; c < columns && !b.cls && !b.teachersTable; ++c)
            if (!cells::weekdayOnly(sheet.shown(r, c))) b.cls = classIn(sheet.shown(r, c));
        if (!b.cls && !b.teachersTable && blocks.empty()) {
            b.cls = classIn(sheet.name);
            b.teachersTable = teachersTitle(squeezed(sheet.name));
        }
        if (!blocks.empty()) blocks.back().end = titleRow;
        blocks.push_back(std::move(b));
    }
    if (!blocks.empty()) blocks.back().end = sheet.rowCount();
    return blocks;
}

bool classTables(const Sheet& sheet) {
    const auto blocks = findBlocks(sheet);
    return std::any_of(blocks.begin(), blocks.end(),
                       [](const Block& b) { return !b.teachersTable; });
}

// ---- the teacher list --------------------------------------------------------------------

// The stored spelling of a name as the teacher list matches it: exactly, else the first name
// equal to it without the blanks at both ends.
class TeacherList {
  public:
    explicit TeacherList(const std::vector<std::string>& stored) {
        for (const auto& name : stored) {
            if (name.empty()) continue;
            exact_.insert(name);
            const std::string core = trimmedCopy(name);
            if (!core.empty()) loose_.emplace(core, name);  // keeps the first
        }
    }
    std::optional<std::string> match(const std::string& given) const {
        if (exact_.count(given)) return given;
        const std::string core = trimmedCopy(given);
        if (core.empty()) return std::nullopt;
        if (auto it = loose_.find(core); it != loose_.end()) return it->second;
        return std::nullopt;
    }

  private:
    std::unordered_set<std::string> exact_;
    std::unordered_map<std::string, std::string> loose_;
};

std::string countWord(std::size_t n) {
    // clang-format off
    constexpr std::array<std::string_view, 9> words = {"两", "三", "四", "五", "六", "七", "八", "九", "十"};  // not the week
    // clang-format on
    if (n >= 2 && n <= 10) return std::string(words[n - 2]);
    return std::to_string(n);
}

// ---- reading -----------------------------------------------------------------------------

struct Pos {
    int sheet = -1;
    int row = -1;  // from 0; -1: not one cell
    int column = -1;
};

struct Found {
    LessonRow lesson;
    Pos cell;
    Pos teacherCell;  // where the teacher's name is written
    bool noTeacher = false;
};

struct Assignment {
    std::string teacher;
    Pos cell;
};

class Reader {
  public:
    Reader(const Workbook& book, const School& school) : book_(book), school_(school) {}

    Reading run(Layout layout) {
        out_.layout = layout;
        switch (layout) {
            case Layout::ByTeacher:
            case Layout::ByClass:
                readGrids(layout == Layout::ByClass);
                break;
            case Layout::ClassSheets:
                for (int s = 0; s < sheetCount(); ++s) {
                    const auto& sheet = book_.sheets[static_cast<std::size_t>(s)];
                    if (named(sheet, kAssignmentsSheet) || named(sheet, kByTeacherSheet) ||
                        named(sheet, kByClassSheet))
                        continue;
                    readBlocks(s, false);
                }
                break;
            case Layout::SubjectsAndAssignments:
                readSubjects();
                break;
        }
        finish();
        return std::move(out_);
    }

  private:
    int sheetCount() const { return static_cast<int>(book_.sheets.size()); }
    const Sheet& sheet(int s) const { return book_.sheets[static_cast<std::size_t>(s)]; }

    // `wholeTable`: about a table or the workbook rather than one lesson; kept alone when no
    // lesson is found at all.
    void problem(Kind kind, Pos at, std::string text, bool wholeTable = false) {
        Problem p;
        p.kind = kind;
        if (at.sheet >= 0) p.sheet = sheet(at.sheet).name;
        if (at.row >= 0) {
            p.row = at.row + 1;
            p.column = at.column + 1;
        }
        p.text = std::move(text);
        const auto key =
            std::make_tuple(at.sheet < 0 ? INT_MAX : at.sheet, at.row < 0 ? INT_MAX : at.row,
                            at.column, static_cast<int>(problems_.size()));
        problems_.push_back({key, std::move(p), wholeTable});
    }
    void unreadable(Pos at, std::string_view text) {
        problem(Kind::Unreadable, at, "无法识别" + inQuotes(text) + "，这一格没有导入");
    }
    void read(int s) {
        const auto& name = sheet(s).name;
        if (std::find(out_.sheetsRead.begin(), out_.sheetsRead.end(), name) ==
            out_.sheetsRead.end())
            out_.sheetsRead.push_back(name);
    }

    // 按教师 / 按班级: the sheet of that name, else the sheets whose rows are of that kind, else
    // every sheet with slot headers.
    void readGrids(bool classRows) {
        const auto wanted = classRows ? kByClassSheet : kByTeacherSheet;
        for (int s = 0; s < sheetCount(); ++s) {
            if (!named(sheet(s), wanted)) continue;
            if (auto g = findGrid(sheet(s))) readGrid(s, *g, classRows, false);
            read(s);
            return;
        }
        std::vector<std::pair<int, Grid>> matching, all;
        for (int s = 0; s < sheetCount(); ++s) {
            if (named(sheet(s), kAssignmentsSheet)) continue;
            if (auto g = findGrid(sheet(s))) {
                all.emplace_back(s, *g);
                if (g->classRows == classRows) matching.emplace_back(s, *g);
            }
        }
        for (const auto& [s, g] : matching.empty() ? all : matching) {
            readGrid(s, g, classRows, false);
            read(s);
        }
    }

    void readGrid(int s, const Grid& g, bool classRows, bool subjectsOnly) {
        const auto& sh = sheet(s);
        for (int r = g.header + 1; r < sh.rowCount(); ++r) {
            // A header repeated further down (a printout's second page) holds no lessons.
            if (slotOf(sh.shown(r, g.slots.front().first))) continue;
            std::vector<std::pair<int, Slot>> filled;
            for (const auto& [c, slot] : g.slots)
                if (!blank(sh.shown(r, c))) filled.emplace_back(c, slot);
            if (filled.empty()) continue;
            const Pos nameCell{s, r, g.nameColumn};
            // As written: the teacher list is matched with the name's own blanks.
            const std::string& name = sh.shown(r, g.nameColumn);
            if (blank(name)) {
                problem(Kind::Unreadable, nameCell,
                        classRows ? "这一行没有写班级，这一行的课没有导入"
                                  : "这一行没有写教师姓名，这一行的课没有导入");
                continue;
            }
            if (classRows) {
                const auto cls = cells::wholeClass(name);
                if (!cls) {
                    problem(Kind::Unreadable, nameCell,
                            "无法把" + inQuotes(name) + "看作班级，这一行的课没有导入");
                    continue;
                }
                for (const auto& [c, slot] : filled)
                    classLesson(Pos{s, r, c}, sh.shown(r, c), cls->name(), slot, subjectsOnly);
                continue;
            }
            for (const auto& [c, slot] : filled) {
                const auto& text = sh.shown(r, c);
                const auto lessons = teacherCell(text);
                if (!lessons) {
                    unreadable({s, r, c}, text);
                    continue;
                }
                for (const auto& l : *lessons) {
                    Found f;
                    f.lesson = {name, slot.weekday, slot.period, l.subject, l.className};
                    f.cell = {s, r, c};
                    f.teacherCell = nameCell;
                    found_.push_back(std::move(f));
                }
            }
        }
    }

    void classLesson(Pos at, std::string_view text, const std::string& cls, Slot slot,
                     bool subjectsOnly) {
        // Two lessons on two lines ("语文 张三⏎数学 李四"), each line a whole lesson; otherwise
        // the lines belong together ("科学⏎赵六").
        std::vector<std::string> lines;
        for (auto& line : linesOf(text))
            if (!blank(line)) lines.push_back(std::move(line));
        if (lines.size() >= 2 &&
            std::all_of(lines.begin(), lines.end(), [&](const std::string& line) {
                return classCell(line, school_, subjectsOnly).has_value();
            })) {
            for (const auto& line : lines) classLesson(at, line, cls, slot, subjectsOnly);
            return;
        }
        const auto l = classCell(text, school_, subjectsOnly);
        if (!l) {
            if (!cells::noLessonLabel(text)) unreadable(at, text);
            return;
        }
        Found f;
        f.lesson = {l->teacher, slot.weekday, slot.period, l->subject, cls};
        f.cell = at;
        f.teacherCell = at;
        if (subjectsOnly) assign(f);
        found_.push_back(std::move(f));
    }

    void readBlocks(int s, bool subjectsOnly) {
        const auto& sh = sheet(s);
        const int columns = sh.columnCount();
        bool any = false;
        for (const auto& b : findBlocks(sh)) {
            if (b.teachersTable) continue;
            any = true;
            std::unordered_set<int> dayColumns;
            for (const auto& [c, w] : b.days) dayColumns.insert(c);
            if (!b.cls) {
                problem(Kind::Unreadable, {s, b.header, b.days.front().first},
                        "看不出这张课表是哪个班的（标题或工作表名称中没有班级），这张课表没有导入",
                        true);
                continue;
            }
            int previous = 0;
            for (int r = b.header + 1; r < b.end; ++r) {
                bool skip = false;
                std::optional<int> label;
                int labelColumn = 0;
                for (int c = 0; c < columns && !skip; ++c) {
                    if (dayColumns.count(c)) continue;
                    const auto& t = sh.shown(r, c);
                    if (cells::noLessonLabel(t)) {
                        skip = true;
                    } else if (!label) {
                        // "第1节⏎08:00-08:40": the period's times on the lines below.
                        const auto lines = linesOf(t);
                        if (!lines.empty()) label = cells::periodOnly(lines.front());
                        labelColumn = c;
                    }
                }
                bool lessons = false, onlyLabels = true;
                for (const auto& [c, w] : b.days) {
                    const auto& t = sh.shown(r, c);
                    if (blank(t)) continue;
                    lessons = true;
                    if (!cells::noLessonLabel(t)) onlyLabels = false;
                }
                if (skip || (lessons && onlyLabels)) continue;
                if (!label && !lessons) continue;
                const int period = label ? *label : previous + 1;
                previous = period;
                if (!week::isPeriod(period)) {
                    if (lessons)
                        problem(Kind::Unreadable,
                                {s, r, label ? labelColumn : b.days.front().first},
                                "第" + std::to_string(period) +
                                    "节不在每天的6节课之内，这一行的课没有导入");
                    continue;
                }
                for (const auto& [c, w] : b.days) {
                    const auto& t = sh.shown(r, c);
                    if (!blank(t))
                        classLesson({s, r, c}, t, b.cls->name(), Slot{w, period}, subjectsOnly);
                }
            }
        }
        if (any) read(s);
    }

    // 科目总表 + 任课安排.
    void readSubjects() {
        if (!readAssignments()) return;
        std::vector<int> chosen;
        for (int s = 0; s < sheetCount(); ++s)
            if (named(sheet(s), kSubjectsSheet)) chosen.push_back(s);
        if (chosen.empty())
            for (int s = 0; s < sheetCount(); ++s)
                if (!named(sheet(s), kAssignmentsSheet)) chosen.push_back(s);
        for (int s : chosen) {
            if (auto g = findGrid(sheet(s))) {
                readGrid(s, *g, true, true);
                read(s);
            } else {
                readBlocks(s, true);
            }
        }
    }

    static std::string assignmentKey(const std::string& cls, const std::string& subject) {
        return cls + '\x1f' + subject;
    }

    bool readAssignments() {
        int s = 0;
        while (s < sheetCount() && !named(sheet(s), kAssignmentsSheet)) ++s;
        if (s == sheetCount()) {
            problem(Kind::Unreadable, {},
                    "工作簿中没有名为“任课安排”的工作表，不知道各班各科由谁任教，没有导入", true);
            return false;
        }
        read(s);
        const auto& sh = sheet(s);
        const int columns = sh.columnCount();
        std::unordered_set<std::string> subjects;
        for (const auto& subject : school_.subjects) subjects.insert(squeezed(subject));
        // The header row: the first naming a subject or 班级, else the first with any text.
        int header = -1, classColumn = 0;
        for (int r = 0; r < std::min(sh.rowCount(), kHeaderRowsLooked) && header < 0; ++r)
            for (int c = 0; c < columns; ++c) {
                const std::string t = squeezed(sh.shown(r, c));
                if (classHeader(t)) {
                    header = r;
                    classColumn = c;
                    break;
                }
                if (subjects.count(t)) header = r;
            }
        for (int r = 0; r < sh.rowCount() && header < 0; ++r)
            if (!titleOf(sh, r).empty() || sh.rows[static_cast<std::size_t>(r)].size() > 1)
                header = r;
        for (int r = header + 1; r < sh.rowCount(); ++r) {
            const auto& classText = sh.shown(r, classColumn);
            const auto cls = cells::wholeClass(classText);
            if (!cls) {
                if (!blank(classText))
                    problem(Kind::Unreadable, {s, r, classColumn},
                            "无法把" + inQuotes(classText) + "看作班级，这一行的任课教师没有读");
                continue;
            }
            for (int c = 0; c < columns; ++c) {
                if (c == classColumn) continue;
                const std::string subject = cleanFullWidth(squeezed(sh.shown(header, c)));
                const std::string& teacher = sh.at(r, c);
                if (subject.empty() || blank(teacher)) continue;
                assignments_.emplace(assignmentKey(cls->name(), subject),
                                     Assignment{teacher, {s, r, c}});
            }
        }
        return true;
    }

    void assign(Found& f) const {
        const auto it = assignments_.find(assignmentKey(f.lesson.className, f.lesson.subject));
        if (it == assignments_.end()) {
            f.noTeacher = true;
            return;
        }
        f.lesson.teacher = it->second.teacher;
        f.teacherCell = it->second.cell;
    }

    // Checks every lesson found against the school, then the week for clashes.
    void finish() {
        const TeacherList teachers(school_.teachers);
        std::unordered_set<std::string> classes;
        for (const auto& c : school_.classes) classes.insert(className(c).value_or(c));
        std::unordered_set<std::string> newTeachers;
        std::vector<Pos> cellOf;
        for (auto& f : found_) {
            auto& l = f.lesson;
            if (!cells::validClassName(l.className) ||
                (!classes.empty() && !classes.count(l.className))) {
                problem(Kind::UnknownClass, f.cell,
                        "班级“" + l.className + "”不在本校的班级名单中，这节课没有导入");
                continue;
            }
            if (f.noTeacher) {
                problem(Kind::NoTeacher, f.cell,
                        "任课安排中没有" + l.className + l.subject + "的任课教师，这节课没有导入");
                continue;
            }
            auto stored = teachers.match(l.teacher);
            constexpr std::string_view title = "老师";  // "张三老师"
            if (const std::string core = trimmedCopy(l.teacher); !stored && core.ends_with(title))
                stored = teachers.match(core.substr(0, core.size() - title.size()));
            if (stored) {
                l.teacher = *stored;
            } else {
                l.teacher = trimmedCopy(l.teacher);
                if (newTeachers.insert(l.teacher).second) {
                    out_.newTeachers.push_back(l.teacher);
                    problem(Kind::UnknownTeacher, f.teacherCell,
                            "“" + l.teacher + "”不在教师名单中");
                }
            }
            out_.lessons.push_back(std::move(l));
            cellOf.push_back(f.cell);
        }
        clashes(cellOf);
        if (found_.empty()) {
            // Nothing in this layout: the sheet-wide reason if there is one, else a plain one.
            std::erase_if(problems_, [](const Raised& p) { return !p.wholeTable; });
            if (problems_.empty())
                problem(Kind::Unreadable, {},
                        std::string("工作簿中没有读到按“") + layoutName(out_.layout) +
                            "”格式排列的课，课表可能是另一种格式");
        }
        std::stable_sort(problems_.begin(), problems_.end(),
                         [](const Raised& a, const Raised& b) { return a.key < b.key; });
        for (auto& p : problems_) out_.problems.push_back(std::move(p.problem));
    }

    // One teacher in two classes, or one class with two lessons, at one weekday and period.
    void clashes(const std::vector<Pos>& cellOf) {
        const auto& lessons = out_.lessons;
        std::unordered_map<std::string, std::vector<std::size_t>> byTeacher, byClass;
        std::vector<std::string> teacherKeys, classKeys;
        for (std::size_t i = 0; i < lessons.size(); ++i) {
            const auto& l = lessons[i];
            const std::string slot = '\x1f' + std::to_string(week::slotIndex(l.weekday, l.period));
            auto& t = byTeacher[l.teacher + slot];
            if (t.size() == 1) teacherKeys.push_back(l.teacher + slot);
            t.push_back(i);
            auto& c = byClass[l.className + slot];
            if (c.size() == 1) classKeys.push_back(l.className + slot);
            c.push_back(i);
        }
        for (const auto& key : teacherKeys) {
            const auto& group = byTeacher[key];
            std::vector<std::string> classes;
            for (auto i : group)
                if (std::find(classes.begin(), classes.end(), lessons[i].className) ==
                    classes.end())
                    classes.push_back(lessons[i].className);
            if (classes.size() < 2) continue;
            const auto& first = lessons[group.front()];
            std::string text = first.teacher + week::weekdayName(first.weekday) +
                               week::periodName(first.period) + "同时在";
            for (std::size_t k = 0; k < classes.size(); ++k) text += (k ? "、" : "") + classes[k];
            problem(Kind::TeacherTwice, cellOf[group[1]], text + "上课");
        }
        for (const auto& key : classKeys) {
            const auto& group = byClass[key];
            const auto& first = lessons[group.front()];
            std::string text = first.className + week::weekdayName(first.weekday) +
                               week::periodName(first.period) + "有" + countWord(group.size()) +
                               "节课：";
            for (std::size_t k = 0; k < group.size(); ++k)
                text += (k ? "、" : "") + lessons[group[k]].subject + "（" +
                        lessons[group[k]].teacher + "）";
            problem(Kind::ClassTwice, cellOf[group[1]], text);
        }
    }

    const Workbook& book_;
    const School& school_;
    Reading out_;
    std::vector<Found> found_;
    std::unordered_map<std::string, Assignment> assignments_;
    struct Raised {
        std::tuple<int, int, int, int> key;  // sheet, row, column, order raised
        Problem problem;
        bool wholeTable = false;
    };
    std::vector<Raised> problems_;
};

}  // namespace

std::optional<Layout> detect(const Workbook& book) {
    for (const auto& sheet : book.sheets) {
        if (named(sheet, kByTeacherSheet)) return Layout::ByTeacher;
        if (named(sheet, kByClassSheet)) return Layout::ByClass;
    }
    for (const auto& sheet : book.sheets)
        if (named(sheet, kAssignmentsSheet)) return Layout::SubjectsAndAssignments;
    for (const auto& sheet : book.sheets) {
        if (auto g = findGrid(sheet)) return g->classRows ? Layout::ByClass : Layout::ByTeacher;
        if (classTables(sheet)) return Layout::ClassSheets;
    }
    return std::nullopt;
}

Reading read(const Workbook& book, Layout layout, const School& school) {
    return Reader(book, school).run(layout);
}

}  // namespace daike::timetable_sheets
