// The scenario commands of one group. Walking the windows: whether a window fits the scripted
// screen, whether it speaks Chinese, and the walks that open every window of the program in turn
// and check each.
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableView>
#include <QTextDocumentFragment>
#include <QTreeView>
#include <iostream>

#include "commands.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "shell/window_registry.h"
#include "ui/screen_fit.h"
#include "ui/widgets.h"

namespace daike {

using scenario::cannot;
using scenario::CannotRun;

QStringList ScenarioRunner::fitFaults(QWidget* w) {
    const Screen& screen = desktop_.screen;
    const QRect area = screen.availableArea();
    const QMargins frame = screen.windowFrame(*w);
    const bool maximised = w->isMaximized() || fitMaximised(*w);
    // A maximised window has no frame at the sides and below.
    const QRect outer = maximised ? QRect(w->pos(), QSize(w->width(), w->height() + frame.top()))
                                  : QRect(w->pos(), w->size().grownBy(frame));
    QStringList faults;
    if (!area.contains(outer))
        faults << QStringLiteral("frame %1,%2 %3x%4 leaves the area %5x%6")
                      .arg(outer.x())
                      .arg(outer.y())
                      .arg(outer.width())
                      .arg(outer.height())
                      .arg(area.width())
                      .arg(area.height());
    for (const auto& cut : cutOffControls(*w)) faults << cut + " is cut off";
    return faults;
}

namespace {

bool isChinese(QChar c) {
    const auto u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF) ||
           (u >= 0x3000 && u <= 0x303F) || (u >= 0xFF00 && u <= 0xFFEF);
}

// The words of other languages the office's windows may show as they stand, and file names
// and paths.
QString withoutAllowed(QString text) {
    static const QRegularExpression allowed(
        QStringLiteral("\\b(PDF|Excel|Word|CSV|xlsx|docx|A4)\\b|"
                       "[^\\s（）“”]*[/\\\\][^\\s（）“”]*|"
                       "[^\\s（）“”]+\\.(docx|xlsx|xls|csv|pdf|png|db)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return text.remove(allowed);
}

}  // namespace

bool ScenarioRunner::readsAsChinese(const QString& text) {
    QString plain = text;
    if (Qt::mightBeRichText(plain)) plain = QTextDocumentFragment::fromHtml(plain).toPlainText();
    plain.remove('&');
    if (std::any_of(plain.begin(), plain.end(), isChinese)) return true;
    const QString rest = withoutAllowed(plain);
    return !std::any_of(rest.begin(), rest.end(),
                        [](QChar c) { return c.isLetter() && c.unicode() < 0x250; });
}

QStringList ScenarioRunner::englishTexts(QWidget* w) {
    QStringList found;
    auto check = [&](QObject* o, const QString& what, const QString& text) {
        if (text.isEmpty() || readsAsChinese(text)) return;
        const QString name = o->objectName().isEmpty()
                                 ? QString::fromUtf8(o->metaObject()->className())
                                 : o->objectName();
        found << QStringLiteral("%1 %2 \"%3\"").arg(name, what, text);
    };
    auto checkActions = [&](QWidget* owner) {
        for (QAction* a : owner->actions()) {
            if (a->isSeparator() || !a->isVisible()) continue;
            check(a, "action", a->text());
            if (a->toolTip() != QString(a->text()).remove('&')) check(a, "tooltip", a->toolTip());
        }
    };
    check(w, "title", w->windowTitle());
    checkActions(w);
    QList<QWidget*> all = w->findChildren<QWidget*>();
    for (QWidget* c : all) {
        // The window's menus are windows of their own, its other windows are not its texts.
        if (auto* menu = qobject_cast<QMenu*>(c)) {
            check(menu, "menu", menu->title());
            checkActions(menu);
            continue;
        }
        if (c->isWindow() || !c->isVisibleTo(w)) continue;
        check(c, "tooltip", c->toolTip());
        checkActions(c);
        if (auto* l = qobject_cast<QLabel*>(c)) check(c, "label", l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(c)) check(c, "button", b->text());
        if (auto* g = qobject_cast<QGroupBox*>(c)) check(c, "group", g->title());
        if (auto* e = qobject_cast<QLineEdit*>(c)) check(c, "placeholder", e->placeholderText());
        if (auto* t = qobject_cast<QTabWidget*>(c))
            for (int i = 0; i < t->count(); ++i) check(c, "tab", t->tabText(i));
        if (auto* box = qobject_cast<QComboBox*>(c))
            for (int i = 0; i < box->count(); ++i) check(c, "item", box->itemText(i));
        auto* view = qobject_cast<QAbstractItemView*>(c);
        if (view && view->model() && !qobject_cast<QComboBox*>(c->parentWidget())) {
            auto* model = view->model();
            QHeaderView* across = nullptr;
            QHeaderView* down = nullptr;
            if (auto* t = qobject_cast<QTableView*>(view)) {
                across = t->horizontalHeader();
                down = t->verticalHeader();
            } else if (auto* t = qobject_cast<QTreeView*>(view)) {
                across = t->header();
            }
            if (across && !across->isHidden())
                for (int i = 0; i < model->columnCount(); ++i)
                    check(c, "header", model->headerData(i, Qt::Horizontal).toString());
            if (down && !down->isHidden())
                for (int i = 0; i < model->rowCount(); ++i)
                    check(c, "row header", model->headerData(i, Qt::Vertical).toString());
        }
    }
    found.removeDuplicates();
    return found;
}

// expect-fits W
void ScenarioRunner::Walking::expectFitsScreen(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = r.widget(a[1]);
    if (!w->isWindow()) cannot(a[1] + " is not a window");
    const QStringList faults = r.fitFaults(w);
    r.expect(faults.isEmpty(), a[1] + " does not fit " + r.screenLabel() + ": " +
                                   faults.mid(0, 6).join("; ") +
                                   (faults.size() > 6 ? QStringLiteral("; …") : QString()));
}

// expect-chinese W
void ScenarioRunner::Walking::expectChinese(ScenarioRunner& r, const QStringList& a) {
    QWidget* w = r.widget(a[1]);
    const QStringList found = r.englishTexts(w);
    r.expect(found.isEmpty(), a[1] + " shows texts without Chinese: " + found.join("; "));
}

QString ScenarioRunner::screenLabel() const {
    const auto& s = desktop_.screen;
    return QStringLiteral("%1x%2 %3%")
        .arg(s.deviceSize().width())
        .arg(s.deviceSize().height())
        .arg(qRound(s.scale() * 100));
}

namespace {

// How each window of the program is reached from the main window and put away again. The
// registry's windows open by their rows; these are the others.
struct Route {
    const char* window;
    QStringList open;
    QStringList close;
};

std::vector<Route> routes(const QString& teacher) {
    std::vector<Route> all = {{"Form2", {}, {}}};
    for (const auto& row : windowRegistry()) {
        const QString name = QString::fromUtf8(row.name);
        if (!name.startsWith("Form") && name != "RestoreWindow") continue;
        if (row.openFor) {
            all.push_back(
                {row.name, {"open-for " + name + " \"" + teacher + "\""}, {"close " + name}});
            continue;
        }
        all.push_back({row.name, {"open " + name}, {"close " + name}});
    }
    all.push_back({"Form15", {"menu bjsr"}, {"close Form15"}});
    all.push_back({"Form11", {"menu abcz"}, {"close Form11"}});
    all.push_back({"Form12", {"menu jscz"}, {"close Form12"}});
    all.push_back(
        {"Form8", {"open Form1", "click Form1.Command7"}, {"close Form8", "close Form1"}});
    return all;
}

}  // namespace

void ScenarioRunner::walk(const QString& teacher, const std::function<void(QWidget*)>& check) {
    // A window the program opened at its start (the weekday chooser) is checked first.
    if (QWidget* open = findWindow("Form9"); open && open->isVisible()) {
        check(open);
        open->close();
        settle();
    }
    for (const auto& route : routes(teacher)) {
        const QString name = QString::fromUtf8(route.window);
        try {
            for (const auto& line : route.open) step(split(line, nullptr));
            QWidget* w = findWindow(name);
            if (!w || !w->isVisible()) {
                // A window that opens only when there is something to show (修改 with no cover
                // today, 无课公出 for a teacher without any): the day has nothing for it.
                walked_[name][screenLabel()] = QStringLiteral("nothing to show");
                for (const auto& line : route.close)
                    if (findWindow(line.section(' ', 1))) step(split(line, nullptr));
                checkedMessages_ = desktop_.boxes.shown().size();
                continue;
            }
            check(w);
            for (const auto& line : route.close) step(split(line, nullptr));
        } catch (const CannotRun& e) {
            expect(false, name + " could not be reached: " + e.why);
            walked_[name][screenLabel()] = QStringLiteral("not reached");
        }
        // Whatever a window asked on the way is not this walk's business.
        checkedMessages_ = desktop_.boxes.shown().size();
    }
}

// expect-every-window-fits TEACHER
void ScenarioRunner::Walking::everyWindowFits(ScenarioRunner& r, const QStringList& a) {
    const QString screen = r.screenLabel();
    r.walk(a[1], [&](QWidget* w) {
        const QStringList faults = r.fitFaults(w);
        r.walked_[w->objectName()][screen] =
            faults.isEmpty() ? fitName(fitOf(*w)) : QStringLiteral("cut off");
        r.expect(faults.isEmpty(),
                 w->objectName() + " does not fit " + screen + ": " + faults.mid(0, 4).join("; "));
    });
    if (std::find(r.walkedScreens_.begin(), r.walkedScreens_.end(), screen) ==
        r.walkedScreens_.end())
        r.walkedScreens_.push_back(screen);
}

// expect-every-window-chinese TEACHER
void ScenarioRunner::Walking::everyWindowChinese(ScenarioRunner& r, const QStringList& a) {
    r.walk(a[1], [&](QWidget* w) {
        const QStringList found = r.englishTexts(w);
        r.expect(found.isEmpty(),
                 w->objectName() + " shows texts without Chinese: " + found.join("; "));
    });
}

// fit-table
void ScenarioRunner::Walking::fitTable(ScenarioRunner& r, const QStringList&) {
    QString table = "| window |";
    QString rule = "|---|";
    for (const auto& s : r.walkedScreens_) {
        table += " " + s + " |";
        rule += "---|";
    }
    table += "\n" + rule + "\n";
    for (auto it = r.walked_.begin(); it != r.walked_.end(); ++it) {
        table += "| " + it.key() + " |";
        for (const auto& s : r.walkedScreens_) table += " " + it.value().value(s, "—") + " |";
        table += "\n";
    }
    std::cout << table.toStdString() << std::flush;
}

}  // namespace daike
