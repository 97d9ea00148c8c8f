// Lists of classes as 教师姓名 keeps them (主班 and the 语文, 数学, 英语, 科学 lists): class
// names joined by ",", such as 一(1),一(3). A class number may have one or two digits, so a
// list is always read by splitting on "," and comparing whole names: 一(1) and 一(10) are
// different classes, and a piece cut short (一(1) is never matched by a piece 一(1).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace daike::classlist {

// The pieces between the commas, in order; empty pieces (",," or a comma at either end, typed
// by hand) are left out.
std::vector<std::string> entries(std::string_view list);

// Whether one of the pieces is exactly that class name.
bool contains(std::string_view list, std::string_view cls);

// The list with the class added at the end; a class already listed is not added twice.
std::string add(std::string_view list, std::string_view cls);

// The list without the first piece that is exactly that class name; the other pieces stay as
// they were typed. A class that is not listed leaves the list unchanged.
std::string remove(std::string_view list, std::string_view cls);

// What is stored for a list typed or ticked in the window: full-width brackets, digits and
// commas made half-width, blanks removed, empty pieces dropped (no comma at either end).
std::string clean(std::string_view list);

}  // namespace daike::classlist
