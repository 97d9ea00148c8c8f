#include "ui/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>

#include "store/store_error.h"
#include "ui/help.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"

namespace daike {

QString arrayName(const QString& base, int index) {
    return base + "_" + QString::number(index);
}

void setBackground(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(w->backgroundRole(), c);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setTextColour(QWidget* w, const QColor& c) {
    QPalette p = w->palette();
    p.setColor(w->foregroundRole(), c);
    w->setPalette(p);
}

QColor background(const QWidget* w) {
    return w->palette().color(w->backgroundRole());
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) emit clicked();
    QLabel::mouseReleaseEvent(e);
}

namespace {
template <class W>
W* place(W* w, const QString& name, QRect at) {
    w->setObjectName(name);
    w->setGeometry(at);
    return w;
}
}  // namespace

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, QRect at) {
    return place(new QLabel(text, parent), name, at);
}

ClickLabel* makeClickLabel(QWidget* parent, const QString& name, const QString& text, QRect at) {
    return place(new ClickLabel(text, parent), name, at);
}

QLineEdit* makeLineEdit(QWidget* parent, const QString& name, QRect at) {
    return place(new QLineEdit(parent), name, at);
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text, QRect at) {
    auto* b = place(new QPushButton(text, parent), name, at);
    b->setAutoDefault(false);
    return b;
}

QRadioButton* makeRadio(QWidget* parent, const QString& name, const QString& text, QRect at) {
    return place(new QRadioButton(text, parent), name, at);
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QRadioButton* makeRadio(QWidget* parent, const QString& name, const QString& text) {
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(name);
    return r;
}

QCheckBox* makeCheck(QWidget* parent, const QString& name, const QString& text, QRect at) {
    return place(new QCheckBox(text, parent), name, at);
}

namespace {

// Watches a tool window for an Esc that none of its controls took: key events a control
// ignores travel up to the window.
class EscapeCloses : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier) return false;
        // close() asks the window first (closeEvent), exactly as the title bar's button does.
        static_cast<QWidget*>(watched)->close();
        return true;
    }
};

}  // namespace

void makeToolWindow(QWidget* w, QWidget* owner, const QString& name, const QString& caption) {
    w->setParent(owner, Qt::Window);
    w->setObjectName(name);
    w->setWindowTitle(caption);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->installEventFilter(new EscapeCloses(w));
    // F1 opens the window's help page; at first show, Tab order and names for the keyboard.
    installHelpKey(w);
    prepareKeyboard(w);
}

QWidget* findWindow(const QString& name) {
    QWidget* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() != name) continue;
        if (!found || (!found->isVisible() && w->isVisible())) found = w;
    }
    return found;
}

bool runAction(RunContext& ctx, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const Failure& e) {
        ctx.platform.boxes.ok(QString::fromUtf8(e.what()));
    } catch (const std::exception& e) {
        ctx.platform.boxes.ok(QStringLiteral("操作失败：") + QString::fromUtf8(e.what()));
    }
    return false;
}

void tell(RunContext& ctx, const Refusal& refusal) {
    ctx.platform.boxes.ok(QString::fromUtf8(refusal.message));
}

}  // namespace daike

namespace daike {

void fitText(QLabel* label) {
    QFont f = label->parentWidget() ? label->parentWidget()->font() : QApplication::font();
    const QString text = label->text();
    const int room = label->width() - 2;
    int size = f.pointSize();
    for (; size > 7; --size) {
        f.setPointSize(size);
        if (QFontMetrics(f).horizontalAdvance(text) <= room) break;
    }
    f.setPointSize(size);
    label->setFont(f);
    label->setToolTip(QFontMetrics(f).horizontalAdvance(text) <= room ? QString() : text);
}

QLabel* makeCell(QWidget* parent, const QString& name, const QString& text, QRect at) {
    auto* l = makeLabel(parent, name, text, at);
    l->setAlignment(Qt::AlignCenter);
    setBackground(l, colors::neutral);
    return l;
}

void clearRadio(QRadioButton* b) {
    b->setAutoExclusive(false);
    b->setChecked(false);
    b->setAutoExclusive(true);
}

}  // namespace daike
