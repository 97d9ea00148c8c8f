// Form4 需代教师课目输入: the absent teachers of one day, one after another, with the periods
// each is away and the lessons to cover; "进入代课" hands them to the assignment screen.
#pragma once

#include <QStringList>
#include <QWidget>
#include <array>

#include "engine/absence_entry.h"
#include "store/week.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace daike {

struct RunContext;

class AbsenceEntryWindow : public QWidget {
    Q_OBJECT
  public:
    // `listed`: teachers already on the assignment screen's list (they cannot be entered
    // again).
    AbsenceEntryWindow(RunContext& ctx, QWidget* owner, const QStringList& listed = {});

  signals:
    // The operator goes on to cover: the teachers whose lessons wait in 需代课目情况, and the
    // weekday they were entered for.
    void enterCover(const QStringList& teachers, int weekday);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    struct Row {
        QCheckBox* first;   // Check1
        QCheckBox* second;  // Check2
        QLabel* number;     // Label7
        QLabel* cls;        // Label13
        QLabel* ban;        // Label19
        QLabel* subject;    // Label25
        QLabel* ke;         // Label31
        auto labels() const { return std::array{number, cls, ban, subject, ke}; }
    };

    void build();
    void fillGrid();  // xsjs
    void gridClicked(int place);
    void stepWeekday(int delta);
    void followWorkingDay();
    void showWeekday(int weekday);
    void confirmTeacher();  // Command1
    void rowClicked(int r);
    void halfClicked(int h);
    void storeSelection();  // Command4
    void leave();           // Command5
    void reset();           // csh
    void render();
    void handOver();

    RunContext& ctx_;
    QLineEdit* name_;     // Text1
    QLineEdit* weekday_;  // Text3
    QPushButton* later_;
    QPushButton* earlier_;
    std::vector<QString> names_;
    week::PerPeriod<Row> rows_{};
    std::array<QCheckBox*, 2> halves_{};  // Check3
    QPushButton* store_;                  // Command4
    QPushButton* leave_;                  // Command5

    // What the window works on.
    QString teacher_;  // the confirmed teacher, empty before 确定
    int weekday_value_ = 0;
    absence::DaySheet sheet_;
    QStringList listed_;   // on the assignment screen's list already
    QStringList entered_;  // stored during this visit
    QStringList toCover_;  // stored with lessons to cover, for the assignment screen
    bool handedOver_ = false;
    int guard_ = 0;  // a click being handled: the window's own changes to boxes are ignored
};

}  // namespace daike
