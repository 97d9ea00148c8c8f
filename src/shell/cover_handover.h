// The several-teachers mode across windows: the absence entry and the modification window
// hand their absent teachers to the assignment screen, which the main window opens for them.
#pragma once

#include <QStringList>

namespace daike {

class MainWindow;
class AssignmentWindow;

// 多人代课: an earlier day's cover is cleared first, then the absence entry Form4 opens.
void openAbsenceEntry(MainWindow& main);

// 修改(&G): today's lists are prepared and the modification window Form3 opens, or the
// operator is told there is nothing to correct.
void openModification(MainWindow& main);

// The assignment screen Form1 for one absent teacher (单人代课): made, or the open one brought
// forward in that mode.
void openOneTeacher(MainWindow& main);

// The assignment screen Form1 in the several-teachers mode on that weekday; it lists the day's
// teachers whose lessons wait.
void openSeveralTeachers(MainWindow& main, int weekday);

}  // namespace daike
