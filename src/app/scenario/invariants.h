// What must hold of the stored day after every step an operator takes, whatever the windows
// did: the random operator checks it after each step, scenarios with check-invariants.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace daike {

class Store;

namespace invariants {

// One line per broken rule, naming the rows concerned; empty when the data is sound.
// `countsReset`: the operator ran 代课节数初始化 in this run, so the tallies may count fewer
// covers than the records hold (never more).
QStringList faults(Store& store, bool countsReset = false);
// What the open windows show against the stored day: in the several-teachers assignment screen,
// every lesson of a listed absent teacher waits or is dealt with, and a waiting lesson of the
// teacher loaded can be clicked.
QStringList windowFaults(Store& store, QWidget* mainWindow);

}  // namespace invariants
}  // namespace daike
