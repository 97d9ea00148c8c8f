// The main window Form2: the program's first window and its menu. Closing it ends the run.
#pragma once

#include <QHash>
#include <QMainWindow>
#include <functional>

class QAction;

#include "school/admin.h"
#include "ui/widgets.h"

namespace daike {

struct RunContext;
class DayBoardView;
struct Registered;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(RunContext& ctx);
    ~MainWindow() override;

    RunContext& context() { return ctx_; }

    // The menu item (or submenu) of that menu name.
    QAction* action(const QString& menuName) const;
    // The menu names of every item, in no particular order.
    QStringList menuNames() const { return actions_.keys(); }

    // Opens a window of the program: shows the open one with that name, or makes a new one.
    template <class W>
    W* openWindow(const QString& name, const std::function<W*()>& make);
    // A window made with the run's context that, opened again, reads the day afresh
    // (`refresh()`).
    template <class W>
    void openAndRefresh(const QString& name);

    // Refreshes the calendar line at the foot of the window.
    void showCalendar();
    // Today's board reads the day again (after cover, a withdrawal, a new day).
    void refreshBoard();
    // The record viewer hides the board while it is shown.
    void setBoardCovered(bool covered);

    // Connects a menu item to what it does and enables it. Items never connected stay
    // disabled.
    void on(const QString& menuName, std::function<void()> handler);
    // A menu item guarded by the administrator password: it sets 管理操作码 to the row's code
    // and opens the login window, which runs the row's operation after the right password.
    void guarded(const Registered& row);
    // Runs the registered operation of a login code (shell/window_registry.cpp): the row whose
    // item asked for the login last, as two items may share a code (课务自动导入 and
    // 导入总课表); else the first row of the code. A code nobody registered does nothing.
    void runAdminOperation(int code);
    // The login for the operation of that code (the open one asks for it instead).
    void openLogin(int code);
    // Opens a registered window (or runs a registered action) by name, without the login.
    void open(const QString& name);
    // Opens a registered window that is opened for a teacher (Form14), for that teacher.
    void openFor(const QString& name, const QString& teacher);

    // The start-up question, once the school is complete and it has not been asked this run.
    void askStartupQuestionIfDue();

  signals:
    void closed();
    // An absent teachers' day was finished on the assignment screen: the record viewer opens
    // with the cover of the visit.
    void dayFinished();

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void buildMenu();
    void wireMenu();
    void startupQuestion();

    RunContext& ctx_;
    DayBoardView* board_ = nullptr;
    const Registered* askedFor_ = nullptr;  // the guarded item chosen last
    bool checklistOffered_ = false;         // 开学准备 came up in place of the question
    QHash<QString, QAction*> actions_;
};

template <class W>
W* MainWindow::openWindow(const QString& name, const std::function<W*()>& make) {
    return showOrMake<W>(this, name, make);
}

template <class W>
void MainWindow::openAndRefresh(const QString& name) {
    bool made = false;
    W* w = openWindow<W>(name, [this, &made] {
        made = true;
        return new W(context(), this);
    });
    if (!made) w->refresh();
}

}  // namespace daike
