// The single-row settings: the administrator password and the school's name (注册码), the first
// day of term (开学第一天) and the pay per covered lesson (代课酬金). No reset empties them.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/value.h"

namespace daike {

class Store;

namespace settings {

// The stored password as it stands (Null when there is no row or no password).
Value password(Store& store);
void setPassword(Store& store, const std::string& password);

// The school's name (注册码.单位) as the printed sheets head it; "" when not set.
std::string schoolName(Store& store);
// Stores the name (trimmed; blank clears it), keeping the password's row.
void setSchoolName(Store& store, const std::string& name);

// The first day of term as stored text, when there is a row.
std::optional<std::string> termStart(Store& store);
void setTermStart(Store& store, const std::string& text);
// Empties the table and writes this text as its one row (a new school).
void replaceTermStart(Store& store, const std::string& text);

// 元 per covered lesson; none when not paid.
std::optional<double> payRate(Store& store);
void setPayRate(Store& store, std::optional<double> rate);

// 代课费标准: 元 per covered lesson of each kind of period the school pays apart ("早读"), in the
// order set; a kind without a rate is paid the rate above.
std::vector<std::pair<std::string, double>> kindRates(Store& store);
// Replaces every kind's rate, in one transaction.
void setKindRates(Store& store, const std::vector<std::pair<std::string, double>>& rates);

}  // namespace settings
}  // namespace daike
