#include "store/program_version.h"

// Only this file is compiled with the version, so a new version rebuilds one file.
#ifndef DAIKE_VERSION
#error "DAIKE_VERSION comes from the project version in CMakeLists.txt"
#endif

namespace daike {

std::string programVersion() {
    return DAIKE_VERSION;
}

}  // namespace daike
