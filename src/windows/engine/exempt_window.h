// Form6 基本免代教师: keeps the list of teachers never offered as substitutes.
#pragma once

#include <QWidget>

namespace daike {

struct RunContext;

class ExemptWindow : public QWidget {
    Q_OBJECT
  public:
    ExemptWindow(RunContext& ctx, QWidget* owner);

    // The display holds 25 names; with more, its last place says how many there are.
    static constexpr int kPlaces = 25;

  private:
    void addName();
    void removeName();
    void showList();  // 显示: 隐藏, then xsgcjs
    void hideList();  // 隐藏
    void xsgcjs();
    RunContext& ctx_;
};

}  // namespace daike
