// FormAbout 关于代课: which version this is, where the school's data is and in which layout, and
// the libraries the program is made with and their licences (帮助 → 关于代课).
#pragma once

#include <QString>
#include <QWidget>

namespace daike {

struct RunContext;

class AboutWindow : public QWidget {
    Q_OBJECT
  public:
    AboutWindow(RunContext& ctx, QWidget* owner);

    // The texts shown, for the operator to copy into a request for help.
    static QString facts(RunContext& ctx);
    static QString licences();
};

}  // namespace daike
