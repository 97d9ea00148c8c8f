// Today's board on the main window, and the day's cover sheet (当日代课安排表) printed from it:
// the day's cover by period, the lessons still waiting for a substitute (red), the absent
// teachers with their reasons and the teachers away in free periods.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "engine/day_board.h"
#include "school/calendar.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTextBrowser;
class QPagedPaintDevice;

namespace daike {

struct RunContext;

// The board as a page of text: for the screen, or for the printed sheet (larger title, the
// date, a place for the office's signature).
QString boardHtml(const board::Board& b, const QString& dateText, bool forSheet);

// The date of the board's day, none while the first day of term is unknown.
std::optional<calendar::Day> boardDay(RunContext& ctx, const board::Board& b);
// The same as the board writes it ("2026年9月30日"), empty when unknown.
QString boardDate(RunContext& ctx, const board::Board& b);

class DayBoardView : public QWidget {
    Q_OBJECT
  public:
    DayBoardView(RunContext& ctx, QWidget* parent);
    // Reads the day again (the run's current week and weekday).
    void refresh();
    const board::Board& current() const { return board_; }
    // Another view that takes the main window's working area (the record viewer) hides the
    // board while it is shown.
    void setCovered(bool covered);
    // A button in the row beside the board's title (telling the substitutes, the sheet as a
    // picture, the staff-room screen); the caller connects it.
    QPushButton* addAction(const QString& objectName, const QString& text);

  protected:
    // Any other panel of the working area that is shown (the timetable import) hides the board.
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void updateShown();

    RunContext& ctx_;
    QLabel* summary_;  // the day and its counts
    QHBoxLayout* actions_;
    QTextBrowser* text_;
    board::Board board_;
    bool covered_ = false;
};

// 当日代课安排表: one A4 page (landscape when the day is long), printed, previewed or saved as
// PDF through the desktop's printer and file dialogs.
enum class SheetOutput { Print, Preview, Pdf };
void outputDaySheet(RunContext& ctx, QWidget* parent, SheetOutput how);

}  // namespace daike
