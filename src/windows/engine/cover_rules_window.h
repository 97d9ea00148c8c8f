// FormGZ 代课规则: the limits on how much cover one teacher is given a day and a week, whether
// 一键安排 may give one teacher two lessons in a row, and whether it balances the day's cover;
// and for 调课, how many school days ahead a return is sought and whether 一键安排 swaps first.
#pragma once

#include <QWidget>

#include "school/cover_rules.h"

namespace daike {

struct RunContext;

class CoverRulesWindow : public QWidget {
    Q_OBJECT
  public:
    CoverRulesWindow(RunContext& ctx, QWidget* owner);

  private:
    void save();
    RunContext& ctx_;
    // The rules as chosen in the window, from the stored ones; written at 确定.
    rules::CoverRules chosen_;
    SwapSettings swaps_;  // 调课's settings as chosen, written with the rules
};

}  // namespace daike
