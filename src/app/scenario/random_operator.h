// The random operator: an office worker with no plan, seeded. It drives the real windows through
// the scenario runner (menu items, clicks on enabled controls of the open windows, teachers'
// names typed right and wrong, items chosen, message boxes answered at random, windows closed
// by their title bar and by Esc, restarts, the next school day) and checks after every step that
// the stored day is sound (invariants.h). On a fault it finds a short scenario that still shows
// it.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

namespace daike {

struct RandomRun {
    std::uint32_t seed = 0;
    int steps = 0;  // steps taken
    QString fault;  // empty when every step kept the data sound
    int faultStep = -1;
    QString unconfirmed;   // a fault seen in this process that a program of its own did not show
    int covers = 0;        // covers of the term recorded when the run ended
    int swaps = 0;         // swaps recorded when the run ended
    QStringList scenario;  // the shortest failing scenario found (lines of a .scn)
};

class RandomOperator {
  public:
    RandomOperator(std::uint32_t seed, int steps) : seed_(seed), steps_(steps) {}
    // Seconds the search for a shorter failing scenario may take.
    void setShrinkSeconds(int s) { shrinkSeconds_ = s; }
    // Prints every step as it is taken.
    void setVerbose(bool v) { verbose_ = v; }
    RandomRun run();

    // One step: the scenario lines that take it.
    using Step = QStringList;

  private:
    QStringList prologue() const;
    // Runs prologue and steps in a fresh directory; the first fault and the step it followed.
    std::optional<std::pair<int, QString>> replay(const std::vector<Step>& steps) const;
    std::vector<Step> shrink(std::vector<Step> steps) const;

    std::uint32_t seed_;
    int steps_;
    int shrinkSeconds_ = 60;
    bool verbose_ = false;
};

}  // namespace daike
