// 公出表: the teachers never asked to cover (exempt). No reset empties it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace daike {

class Store;

namespace exemptlist {

// The names in table order (Null as the empty text).
std::vector<std::string> names(Store& store);
void add(Store& store, std::string_view name);
// Removes the first row of the name; false when it is not there.
bool removeOne(Store& store, std::string_view name);
// Replaces the list (the demo school).
void replaceAll(Store& store, const std::vector<std::string>& names);

}  // namespace exemptlist
}  // namespace daike
