// The program's version, from one place: the project version in the top CMakeLists.txt. It is
// printed by `daike --version`, shown in 关于代课 and written into the database file (程序版本),
// so every backup carries the version that made it.
#pragma once

#include <string>
#include <vector>

namespace daike {

// "1.0.0"
std::string programVersion();

// A library the logic links, for 关于代课: what it does here, the version it runs with, and its
// licence.
struct LibraryNotice {
    std::string name;
    std::string version;
    std::string use;
    std::string licence;
};
std::vector<LibraryNotice> logicLibraries();

}  // namespace daike
