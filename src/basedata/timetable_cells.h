// The pieces the timetable layouts are read with, below the public ones of timetable_sheets.h:
// texts made comparable, class names found inside a longer text, weekdays and periods of
// header cells.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace daike::timetable_sheets::cells {

// Full-width brackets, digits (zero included), slash and dash become ASCII; the full-width blank
// and tabs become " "; "\r\n" and "\r" become "\n". Nothing else changes.
std::string plain(std::string_view text);
// plain() without any blank or line break.
std::string squeezed(std::string_view text);

// A class name found in a squeezed text, as characters [begin, end). The grade may be 七 … 九 and
// the number 0 or above 99: the name is then well-formed but no class of a primary school.
struct ClassAt {
    std::size_t begin = 0;
    std::size_t end = 0;
    int grade = 0;   // 1 … 9
    int number = 0;  // as written
    // "一(1)", "七(1)", "一(0)".
    std::string name() const;
    bool valid() const;
};
// The first class name in the characters, "(一年级1班)" with its brackets.
std::optional<ClassAt> findClass(const std::vector<std::string>& chars);
// The whole text as a class name (a trailing 班 allowed), valid or not.
std::optional<ClassAt> wholeClass(std::string_view text);
// Whether a name as ClassAt::name() writes it is a class a primary school has.
bool validClassName(std::string_view name);

// "周一", "星期一", "礼拜一", "Mon": 1 … 5.
std::optional<int> weekdayOnly(std::string_view text);
// "第1节", "1", "第一节", "一", "1节": the number, any size (the caller checks it).
std::optional<int> periodOnly(std::string_view text);
// No lesson: nothing but blanks, or a mark that stands for nothing ("-", "/", "—", "无").
bool noLesson(std::string_view text);
// 早读, 午休, 课外活动, 眼保健操 and the like: a row or column that holds no lesson.
bool noLessonLabel(std::string_view text);

}  // namespace daike::timetable_sheets::cells
