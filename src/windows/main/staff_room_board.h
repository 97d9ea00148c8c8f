// The staff room's screen (全屏显示): today's board full screen in large type, readable from
// across the room — white on black, the lessons still waiting in red, the day and the time on
// top. It follows every change of the day; a day longer than the screen turns its pages every
// ten seconds. Esc or a double click leaves it.
#pragma once

#include <QRect>
#include <QWidget>

#include "engine/day_board.h"

class QLabel;
class QTableWidget;
class QTimer;

namespace daike {

struct RunContext;

class StaffRoomBoard : public QWidget {
    Q_OBJECT
  public:
    StaffRoomBoard(RunContext& ctx, QWidget* owner);

    // Sizes the type for the screen it is shown on (taller screens, larger type).
    void fitTo(const QRect& area);
    // Reads the day again and shows the page it was on (the first when that one is gone).
    void refresh();
    // The next page, after the last the first.
    void turnPage();

    int textPixels() const { return textPixels_; }
    int rowHeight() const { return rowHeight_; }
    int page() const { return page_; }
    int pages() const;
    int rowsPerPage() const;

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    void showPage();
    void showClock();

    RunContext& ctx_;
    QLabel* title_;
    QLabel* day_;
    QLabel* pageLabel_;
    QTableWidget* grid_;
    QLabel* lists_;
    QTimer* pager_;
    board::Board board_;
    int textPixels_ = 40;
    int rowHeight_ = 60;
    int page_ = 0;
};

// Opens the staff room's screen, or brings the open one forward: full screen on a second screen
// when the desktop has one, else on the primary one.
StaffRoomBoard* openStaffRoomBoard(RunContext& ctx, QWidget* owner);

}  // namespace daike
