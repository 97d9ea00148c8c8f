// A rule's refusal of what the operator typed or chose: not a failure (store/failure.h) but an
// answer, carrying the Chinese text the window shows as it stands. The text is phrased here, in
// the logic, beside the rule that refuses; the windows show it through one helper
// (showIfRefused, ui/widgets.h).
//
// An operation that may refuse returns a Checked<T>: the value when it went through, or the
// Refusal. Checked<> is an operation with nothing to hand back.
#pragma once

#include <cassert>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace daike {

struct Refusal {
    std::string message;
    bool operator==(const Refusal&) const = default;
};

template <class T = void>
class [[nodiscard]] Checked {
  public:
    Checked(T value) : v_(std::in_place_index<0>, std::move(value)) {}
    Checked(Refusal refusal) : v_(std::in_place_index<1>, std::move(refusal)) {}

    bool accepted() const { return v_.index() == 0; }
    explicit operator bool() const { return accepted(); }

    const Refusal& refusal() const {
        assert(!accepted());
        return std::get<1>(v_);
    }
    T& operator*() & {
        assert(accepted());
        return std::get<0>(v_);
    }
    const T& operator*() const& {
        assert(accepted());
        return std::get<0>(v_);
    }
    T&& operator*() && {
        assert(accepted());
        return std::get<0>(std::move(v_));
    }
    T* operator->() { return &**this; }
    const T* operator->() const { return &**this; }

  private:
    std::variant<T, Refusal> v_;
};

template <>
class [[nodiscard]] Checked<void> {
  public:
    Checked() = default;
    Checked(Refusal refusal) : refusal_(std::move(refusal)) {}

    bool accepted() const { return !refusal_; }
    explicit operator bool() const { return accepted(); }

    const Refusal& refusal() const {
        assert(refusal_);
        return *refusal_;
    }

  private:
    std::optional<Refusal> refusal_;
};

// The automatic backup an operation that replaces data makes once it has accepted its input and
// before it writes anything. The caller supplies it, as it knows the office's clock (in the
// windows: backupBefore, ui/backups.h); when it throws, nothing is written.
using BackupStep = std::function<void()>;

}  // namespace daike
