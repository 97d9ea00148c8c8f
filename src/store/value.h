// A single database value: Null, a whole number, a floating-point number or text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace daike {

class Value {
  public:
    Value() = default;
    Value(std::nullptr_t) {}
    Value(int v) : v_(static_cast<std::int64_t>(v)) {}
    Value(std::int64_t v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(std::string_view v) : v_(std::string(v)) {}
    Value(const char* v) : v_(std::string(v)) {}

    bool isNull() const { return v_.index() == 0; }
    bool isInteger() const { return v_.index() == 1; }
    bool isReal() const { return v_.index() == 2; }
    bool isText() const { return v_.index() == 3; }

    // Null gives "", numbers their shortest decimal form (3.0 gives "3").
    std::string text() const;
    // Null gives 0, text the value of its leading number ("12abc" gives 12), reals are rounded.
    std::int64_t toInt() const;
    double toDouble() const;
    // Null or the empty text.
    bool isBlank() const { return isNull() || (isText() && std::get<3>(v_).empty()); }

    const std::string& textRef() const { return std::get<3>(v_); }
    // The value as text(), moved out when it is text (the value is left empty): reading many
    // rows without copying every name twice.
    std::string takeText() {
        if (isText()) return std::move(std::get<3>(v_));
        return text();
    }
    std::int64_t intRef() const { return std::get<1>(v_); }
    double realRef() const { return std::get<2>(v_); }

    // Same kind and same content; an integer equals a real of the same value.
    bool operator==(const Value& other) const;

  private:
    std::variant<std::monostate, std::int64_t, double, std::string> v_;
};

// The numeric value of the leading number of a text, as the office's old forms read boxes:
// blanks skipped, an optional sign, digits and one decimal point; "" or no digits give 0.
double leadingNumber(std::string_view text);

}  // namespace daike
