// FormYJAP 一键安排: the whole day's proposal before anything is recorded. Every open lesson
// with the proposed substitute, why, and his counts; the operator may change a row to another
// candidate of that lesson (ranked given the rows before it) or leave it open, then 确定
// records every row in one step and 取消 writes nothing.
#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "engine/day_proposal.h"

class QComboBox;
class QLabel;
class QTableWidget;
class QScrollArea;

namespace daike {

struct RunContext;

class DayProposalWindow : public QWidget {
    Q_OBJECT
  public:
    struct Request {
        bool severalTeachers = false;
        QString week;     // the assignment screen's week box
        QString weekday;  // "1" to "5"
        std::vector<dayplan::OpenLesson> lessons;
        std::map<std::string, std::string> reasons;  // known reasons per absent teacher
    };
    DayProposalWindow(RunContext& ctx, QWidget* owner, Request request);

  signals:
    // The covers were recorded.
    void confirmed();

  private:
    void build();
    void recompute();
    void fill();
    void rowChanged(int row, int item);
    void confirm();

    RunContext& ctx_;
    Request request_;
    std::vector<std::string> absent_;  // the absent teachers, in lesson order
    std::vector<dayplan::Pick> picks_;
    std::vector<dayplan::Row> rows_;
    QLabel* summary_ = nullptr;
    QTableWidget* table_ = nullptr;
    std::vector<QComboBox*> reasonBoxes_;
    bool filling_ = false;
};

}  // namespace daike
