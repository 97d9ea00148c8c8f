// Long work away from the window: a thread of its own does it while the window stays drawn and
// a progress dialog (objectName "progressDialog", shown only when the work takes more than a
// moment) tells the percent and offers 取消. Nothing the operator clicks elsewhere reaches the
// program meanwhile. The work must not touch the store or any widget.
#pragma once

#include <QString>
#include <atomic>
#include <functional>

class QWidget;

namespace daike {

using BackgroundWork = std::function<void(const std::function<void(int percent)>& progress,
                                          const std::atomic<bool>& stop)>;

// Runs `work` and waits for it. False when the operator chose 取消 (the work was asked to stop
// and has ended); a throw from the work is passed on here, on the window's thread.
// `shown`, when given, is told each new percent on the window's thread (a window that has a
// progress display of its own keeps it; the dialog then adds only 取消 to it).
bool runWithProgress(QWidget* parent, const QString& label, const BackgroundWork& work,
                     const std::function<void(int percent)>& shown = {});

}  // namespace daike
