// Text typed by hand or read from a document before it is stored as a class or a lesson.
#pragma once

#include <string>
#include <string_view>

namespace daike {

// "（" and "）" become "(" and ")", the full-width digits "１" to "９" become "1" to "9" (a
// full-width zero stays as it is), and ASCII and full-width blanks are removed.
std::string cleanFullWidth(std::string_view s);

}  // namespace daike
