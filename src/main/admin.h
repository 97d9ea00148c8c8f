// The administrator password, kept in the first row of 注册码.
#pragma once

#include <string>

namespace daike {

class Store;

// Whether the typed password, with blanks removed at both ends, is the stored one.
bool checkPassword(Store& store, const std::string& typed);

}  // namespace daike
