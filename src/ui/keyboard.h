// The keyboard in every window: Enter runs the window's main button, Tab goes through the
// controls from top to bottom and left to right, and every control has a name a screen reader
// can say (the label beside it, else its own caption).
#pragma once

#include <QList>
#include <QString>

class QWidget;
class QPushButton;

namespace daike {

// Enter in the window runs `button` (when it is shown and enabled), unless the control with the
// focus takes Enter itself: a multi-line box, an open drop-down, a box whose Enter already has
// its own action, or another button, which Enter presses.
void setMainButton(QWidget* window, QPushButton* button);
// The window has no main button: Enter there means nothing (a list of actions, a board).
void setNoMainButton(QWidget* window);
// The main button given, if any; declared tells whether the window said either.
QPushButton* mainButton(const QWidget* window);
bool mainButtonDeclared(const QWidget* window);

// A window that orders its own Tab chain says so before it is first shown.
void keepOwnTabOrder(QWidget* window);

// At the window's first show: the Tab order by position, unless the window keeps its own; and
// at every show, an accessible name for each control that has none.
void prepareKeyboard(QWidget* window);

// The passes themselves (prepareKeyboard runs them).
void orderTabsByPosition(QWidget* window);
void nameControls(QWidget* window);

// The name a control without one would get: the label to its left on the same line or just
// above it, else its own caption. Empty when there is neither.
QString nameFromSurroundings(const QWidget* control);

// The window's visible, enabled controls that take the focus by Tab, in the order Tab visits
// them (a drop-down with a typing box counts once).
QList<QWidget*> tabControls(QWidget* window);

}  // namespace daike
