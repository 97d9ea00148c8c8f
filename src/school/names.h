// Which stored teacher a name typed, picked or clicked stands for. Names are stored exactly as
// they were typed, blanks included ("王一 ", "张　三"), while a box or a grid place may give
// the name with or without the blanks at its ends: every window and rule that turns such a
// name into a teacher goes through this one rule, and every query after it uses the stored
// name.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace daike {

class Store;

namespace names {

// The stored name exactly equal to the given one; else the first stored name equal to it once
// the blanks at both ends (ASCII blanks and the full-width blank) are removed from both; else
// none. Blanks inside a name count, and a name of blanks only matches only itself.
std::optional<std::string> match(const std::vector<std::string>& stored, std::string_view given);

// The teacher of 教师姓名 a name stands for, by `match`; none when no teacher fits.
std::optional<std::string> storedTeacher(Store& store, std::string_view given);

// The stored teacher's name, or the name as given when no teacher fits (a query with it then
// finds nothing, as for any unknown name).
std::string storedTeacherName(Store& store, std::string_view given);

}  // namespace names
}  // namespace daike
