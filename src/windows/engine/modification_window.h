// Form3 代课情况修改: today's cover by substitute or by absent teacher; "删除" withdraws a
// cover, "重代" withdraws it and queues the lesson, and "退出" then hands the queued lessons to
// the assignment screen.
#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

#include "engine/modification.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QRadioButton;
class QScrollArea;

namespace daike {

struct RunContext;

class ModificationWindow : public QWidget {
    Q_OBJECT
  public:
    // The lists as the menu's preparation made them.
    ModificationWindow(RunContext& ctx, QWidget* owner, const modification::Lists& lists);

  signals:
    // 补登/改事由…: the shell opens 补登与改事由.
    void lateCoverAsked();
    // 调课…: the shell opens 调课登记.
    void swapAsked();
    // Leaving after re-assignments: the teachers whose lessons wait in 需代课目情况 again, and
    // the weekday of the cover.
    void coverAgain(const QStringList& teachers, int weekday);

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    enum Mode { None = 0, ByAbsent = 1, BySubstitute = 2 };
    struct Row {
        QWidget* box;
        QRadioButton* option;  // Option1
        QLabel* marker;        // Label4, hidden
        QLabel* absent;        // Label3
        QLabel* reason;        // Label5
        QLabel* substitute;    // Label7
        QLabel* cls;           // Label9
        QLabel* period;        // Label14
        QLabel* subject;       // Label11
    };

    void build();
    Row& rowAt(int r);
    void choose(Mode mode, const QString& name);
    void showCovers();
    void dropTeacher();                            // sfqk
    void freePeriodCheck(const QString& teacher);  // wkgcxg
    int selectedRow() const;
    void correct(bool again);  // 删除 / 重代
    void exitStep();
    void handOverQueued();
    static void setList(QComboBox* box, const std::vector<std::string>& names);
    static void removeFrom(QComboBox* box, const QString& name);

    RunContext& ctx_;
    QComboBox* substitutes_;  // Combo1
    QComboBox* absent_;       // Combo2
    QWidget* rowsHost_;
    QScrollArea* scroll_;
    QButtonGroup* options_;  // the rows' Option1, one selected at most
    std::vector<Row> rows_;

    Mode mode_ = None;
    QString chosen_;  // the teacher whose cover is shown
    std::vector<modification::CoverRow> covers_;
    int selected_ = -1;
    int weekday_ = 0;
    bool reassigned_ = false;
    // The absent teachers of this visit whose free periods may still need correcting (无课公出).
    std::vector<std::string> awayAtStart_;
    QStringList queued_;  // teachers with lessons queued again
    bool exited_ = false;
};

}  // namespace daike
