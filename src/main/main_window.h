// The main window Form2: the program's first window and its menu. Closing it ends the run.
#pragma once

#include <QHash>
#include <QMainWindow>

class QAction;
#include <functional>

namespace daike {

struct RunContext;

class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(RunContext& ctx);
    ~MainWindow() override;

    RunContext& context() { return ctx_; }

    // The menu item (or submenu) of that menu name.
    QAction* action(const QString& menuName) const;

    // Opens a window of the program: shows the open one with that name, or makes a new one.
    template <class W>
    W* openWindow(const QString& name, const std::function<W*()>& make);

    // Refreshes the calendar line at the foot of the window.
    void showCalendar();

  signals:
    void closed();

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    void buildMenu();
    // Connects each menu item to what it does; items with nothing to do stay disabled.
    void wireMenu();
    void on(const QString& menuName, std::function<void()> handler);
    void startupQuestion();
    void openTermStart();

    RunContext& ctx_;
    QHash<QString, QAction*> actions_;
};

template <class W>
W* MainWindow::openWindow(const QString& name, const std::function<W*()>& make) {
    for (auto* child : findChildren<W*>(name, Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) {
            child->show();
            child->raise();
            child->activateWindow();
            return child;
        }
    }
    W* w = make();
    w->show();
    w->activateWindow();
    return w;
}

}  // namespace daike
