#include "store/value.h"

#include <charconv>
#include <cmath>

namespace daike {

namespace {
std::string realText(double d) {
    if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15) {
        return std::to_string(static_cast<std::int64_t>(d));
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, res.ptr);
}
}  // namespace

std::string Value::text() const {
    switch (v_.index()) {
        case 1:
            return std::to_string(std::get<1>(v_));
        case 2:
            return realText(std::get<2>(v_));
        case 3:
            return std::get<3>(v_);
        default:
            return {};
    }
}

double leadingNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    std::size_t start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool digits = false, point = false;
    while (i < s.size()) {
        if (s[i] >= '0' && s[i] <= '9') {
            digits = true;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (!digits) return 0;
    std::string part(s.substr(start, i - start));
    if (part[0] == '+') part.erase(0, 1);
    double d = 0;
    auto res = std::from_chars(part.data(), part.data() + part.size(), d);
    return res.ec == std::errc() ? d : 0;
}

double Value::toDouble() const {
    switch (v_.index()) {
        case 1:
            return static_cast<double>(std::get<1>(v_));
        case 2:
            return std::get<2>(v_);
        case 3:
            return leadingNumber(std::get<3>(v_));
        default:
            return 0;
    }
}

std::int64_t Value::toInt() const {
    if (v_.index() == 1) return std::get<1>(v_);
    double d = toDouble();
    if (!std::isfinite(d) || std::fabs(d) > 9e18) return 0;
    return static_cast<std::int64_t>(std::llround(d));
}

bool Value::operator==(const Value& o) const {
    if ((isInteger() || isReal()) && (o.isInteger() || o.isReal())) {
        if (isInteger() && o.isInteger()) return intRef() == o.intRef();
        return toDouble() == o.toDouble();
    }
    return v_ == o.v_;
}

}  // namespace daike
