// Helpers shared by the windows: named controls laid out at fixed places as the office's forms
// were, the colours that signal state, and running a user action safely.
#pragma once

#include <QColor>
#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

#include "store/refusal.h"
#include "ui/path_text.h"

class QWidget;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QCheckBox;

namespace daike {

struct RunContext;

namespace colors {
inline const QColor neutral{224, 224, 224};      // nothing chosen
inline const QColor selected{192, 192, 255};     // the chosen period or row
inline const QColor headTeacher{0, 192, 0};      // candidate is head teacher of the class
inline const QColor mainSubject{255, 128, 255};  // candidate teaches a main subject there
inline const QColor tickable{255, 128, 128};     // a period that may be ticked
inline const QColor limited{128, 128, 128};      // text of a candidate at a limit of 代课规则
}  // namespace colors

// The name of element i of a control array: "Label85" and 3 give "Label85_3".
QString arrayName(const QString& base, int index);

void setBackground(QWidget* w, const QColor& c);
void setTextColour(QWidget* w, const QColor& c);
QColor background(const QWidget* w);

// A label that answers a click, as the office's forms let labels do.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;
  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QRect at);
ClickLabel* makeClickLabel(QWidget* parent, const QString& name, const QString& text, QRect at);
QLineEdit* makeLineEdit(QWidget* parent, const QString& name, QRect at);
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text, QRect at);
QRadioButton* makeRadio(QWidget* parent, const QString& name, const QString& text, QRect at);
// The same for a window whose layout places them.
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text);
QRadioButton* makeRadio(QWidget* parent, const QString& name, const QString& text);
QCheckBox* makeCheck(QWidget* parent, const QString& name, const QString& text, QRect at);
// A grid cell: centred text on the neutral colour.
QLabel* makeCell(QWidget* parent, const QString& name, const QString& text, QRect at);

// Unticks an option button of a group, which the toolkit's exclusive groups do not allow.
void clearRadio(QRadioButton* b);

// A window of the program other than the main window: its own top-level window, owned by the
// main window so that closing the main window closes it, deleted when closed. Esc closes it
// through close(), as its title bar does, so that the window's own closing questions and
// records run; a control that uses Esc itself (an open drop-down list) keeps it. F1 opens its
// help page (ui/help.h); the keyboard is prepared at first show (ui/keyboard.h).
void makeToolWindow(QWidget* w, QWidget* owner, const QString& name, const QString& caption);

// The open window with that name, if any.
QWidget* findWindow(const QString& name);

// Opens a window of the program owned by `owner`: brings the open one with that name to the
// front, or makes a new one.
template <class W, class Make>
W* showOrMake(QWidget* owner, const QString& name, Make make) {
    for (auto* child : owner->findChildren<W*>(name, Qt::FindDirectChildrenOnly)) {
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

// Fits a label's text to its width without changing the text (windows and tests read it): a
// smaller font down to 7 points; what still does not fit shows whole in a tooltip.
void fitText(QLabel* label);

// Runs one user action. A failure of the database is shown to the operator and the action
// ends; whatever it had begun to write was rolled back by its transaction. Returns whether the
// action ran to its end.
bool runAction(RunContext& ctx, const std::function<void()>& action);

// Shows a rule's refusal: its text as it stands, in a box with 确定.
void tell(RunContext& ctx, const Refusal& refusal);

// When the operation was refused, shows why and returns true: `if (showIfRefused(ctx, r))
// return;`.
template <class T>
bool showIfRefused(RunContext& ctx, const Checked<T>& result) {
    if (result) return false;
    tell(ctx, result.refusal());
    return true;
}

inline QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string ss(const QString& s) {
    return s.toStdString();
}

}  // namespace daike
