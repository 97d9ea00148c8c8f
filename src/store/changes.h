// What changed, announced to whoever listens. The store announces every committed write by the
// family of the table written (Store::announceTo), the working day its moves; the windows
// listen through the UI's adapter (ui/change_signals.h) and repaint what they show.
#pragma once

#include <functional>
#include <map>

namespace daike {

enum class Change {
    Cover,     // a cover recorded, corrected or withdrawn; today's records cleared
    Absences,  // who is away today, the queue, the lessons held back
    Calendar,  // the working day's week or weekday
    BaseData,  // teachers, classes, timetable, first day of term, a restored file
};
inline constexpr int kChangeFamilies = 4;

class ChangeNotifier {
  public:
    using Listener = std::function<void(Change)>;

    // Returns a token for forget().
    int listen(Listener listener) {
        listeners_.emplace(next_, std::move(listener));
        return next_++;
    }
    void forget(int token) { listeners_.erase(token); }

    // Every listener hears it, in the order they came; one that leaves while it hears (a
    // window closing) does not disturb the others.
    void announce(Change what) const {
        const auto listening = listeners_;
        for (const auto& [token, listener] : listening)
            if (listeners_.count(token)) listener(what);
    }

  private:
    std::map<int, Listener> listeners_;
    int next_ = 1;
};

}  // namespace daike
