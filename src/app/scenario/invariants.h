// What must hold of the stored day after every step an operator takes, whatever the windows
// did: the random operator checks it after each step, scenarios with check-invariants.
#pragma once

#include <QString>
#include <QStringList>

namespace daike {

class Store;

namespace invariants {

// One line per broken rule, naming the rows concerned; empty when the data is sound.
QStringList faults(Store& store);

}  // namespace invariants
}  // namespace daike
