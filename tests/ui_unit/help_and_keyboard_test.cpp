// The help pages against the windows they explain, the help window's one instance and links,
// and the keyboard passes of the toolkit: names from the labels beside, Tab by position, Enter.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <set>

#include "shell/window_registry.h"
#include "test_application.h"
#include "ui/help.h"
#include "ui/keyboard.h"
#include "ui/widgets.h"

namespace daike {
namespace {

using testing::app;

QString pageText(const QString& name) {
    QFile f(":/help/" + name + ".html");
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
    return QString::fromUtf8(f.readAll());
}

QStringList linksOf(const QString& name) {
    static const QRegularExpression href("href=\"([^\"]*)\"");
    QStringList out;
    for (const auto& m : href.globalMatch(pageText(name))) out << m.captured(1);
    return out;
}

TEST(HelpPages, EveryWindowOfTheProgramHasItsPage) {
    app();
    // Rows of the registry that run an action rather than open a window: the main window's page
    // explains them.
    const std::set<QString> actions = {"sysjqk", "kkjs", "mrjs", "dkjs", "xqdk", "xdyt", "sjbf"};
    QStringList windows;
    for (const auto& r : windowRegistry())
        if (!actions.count(QString::fromUtf8(r.name))) windows << QString::fromUtf8(r.name);
    // The windows other windows open, and the panels of the main window.
    windows << "Form2"
            << "Form8"
            << "Form9"
            << "Form10"
            << "Form11"
            << "Form12"
            << "Form15"
            << "FormYJAP"
            << "recordViewer";
    for (const QString& w : windows) EXPECT_TRUE(hasHelpPage(w)) << w.toStdString();
    EXPECT_FALSE(hasHelpPage("FormNone"));
    EXPECT_FALSE(hasHelpPage(""));
}

TEST(HelpPages, LinksLeadToPagesAndTheListReachesEveryPage) {
    app();
    const QStringList pages = helpPages();
    ASSERT_TRUE(pages.contains("index"));
    for (const QString& p : pages)
        for (const QString& link : linksOf(p)) {
            EXPECT_TRUE(link.endsWith(".html") && !link.contains(':'))
                << p.toStdString() << " links out to " << link.toStdString();
            EXPECT_TRUE(hasHelpPage(link.chopped(5)))
                << p.toStdString() << " links to a missing " << link.toStdString();
        }
    // Every page can be found from the list, possibly through another page.
    std::set<QString> reached = {"index"};
    QStringList todo = {"index"};
    while (!todo.isEmpty()) {
        const QString p = todo.takeFirst();
        for (const QString& link : linksOf(p))
            if (reached.insert(link.chopped(5)).second) todo << link.chopped(5);
    }
    for (const QString& p : pages) EXPECT_TRUE(reached.count(p)) << p.toStdString();
}

TEST(HelpWindow, OneWindowFollowsLinksAndFallsBackToTheList) {
    app();
    QWidget main;
    main.setObjectName("Form2");
    auto* tool = new QWidget;
    makeToolWindow(tool, &main, "Form1", "t");
    HelpWindow* help = openHelp(tool, "Form1");
    // Owned by the main window, not by the tool window asking.
    EXPECT_EQ(help->parentWidget(), &main);
    EXPECT_EQ(help->page(), "Form1");
    auto* text = help->findChild<QTextBrowser*>("Text1");
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("仍代原课")));
    emit text->anchorClicked(QUrl("Form8.html"));
    EXPECT_EQ(help->page(), "Form8");
    // A link off the program's pages is not followed.
    emit text->anchorClicked(QUrl("http://example.com/x.html"));
    EXPECT_EQ(help->page(), "Form8");
    help->findChild<QPushButton*>("Command2")->click();
    EXPECT_EQ(help->page(), "Form1");
    // Asked again from a window without a page: the same window, on the list.
    EXPECT_EQ(openHelp(&main, "FormNone"), help);
    EXPECT_EQ(help->page(), "index");

    // F1 in the tool window asks for its own page.
    tool->show();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(tool, &f1);
    EXPECT_EQ(help->page(), "Form1");
}

TEST(Keyboard, ControlsAreNamedByTheLabelBesideOrAboveElseTheirCaption) {
    app();
    QWidget w;
    makeLabel(&w, "l1", QStringLiteral("姓名："), {10, 10, 40, 24});
    auto* name = makeLineEdit(&w, "t1", {54, 10, 100, 24});
    makeLabel(&w, "l2", QStringLiteral("星期"), {200, 40, 60, 20});
    auto* weekday = makeLineEdit(&w, "t2", {200, 62, 60, 24});
    // A label far below names nothing.
    makeLabel(&w, "l3", QStringLiteral("无关"), {10, 200, 60, 20});
    auto* lone = makeLineEdit(&w, "t3", {10, 120, 60, 24});
    // A button beside a label keeps its own caption.
    auto* ok = makeButton(&w, "b1", QStringLiteral("确定"), {160, 10, 60, 24});
    auto* named = makeLineEdit(&w, "t4", {300, 10, 60, 24});
    named->setAccessibleName(QStringLiteral("原名"));
    nameControls(&w);
    EXPECT_EQ(name->accessibleName(), QStringLiteral("姓名"));
    EXPECT_EQ(weekday->accessibleName(), QStringLiteral("星期"));
    EXPECT_EQ(lone->accessibleName(), QString());
    EXPECT_EQ(ok->accessibleName(), QStringLiteral("确定"));
    EXPECT_EQ(named->accessibleName(), QStringLiteral("原名"));
}

TEST(Keyboard, TabRunsDownTheLinesAndAlongEachLine) {
    app();
    QWidget w;
    // Made out of order; the second and third stand on one line a few pixels apart.
    auto* bottom = makeLineEdit(&w, "bottom", {10, 100, 50, 24});
    auto* right = makeLineEdit(&w, "right", {120, 12, 50, 24});
    auto* left = makeLineEdit(&w, "left", {10, 10, 50, 24});
    orderTabsByPosition(&w);
    w.show();
    EXPECT_EQ(left->nextInFocusChain(), right);
    EXPECT_EQ(right->nextInFocusChain(), bottom);
}

TEST(Keyboard, EnterRunsTheMainButtonUnlessTheFocusTakesItItself) {
    app();
    QWidget w;
    auto* box = makeLineEdit(&w, "box", {10, 10, 80, 24});
    auto* own = makeLineEdit(&w, "own", {10, 40, 80, 24});
    auto* main = makeButton(&w, "main", QStringLiteral("确定"), {100, 10, 60, 24});
    auto* other = makeButton(&w, "other", QStringLiteral("取消"), {170, 10, 60, 24});
    int mains = 0, others = 0, owns = 0;
    QObject::connect(main, &QPushButton::clicked, [&] { ++mains; });
    QObject::connect(other, &QPushButton::clicked, [&] { ++others; });
    QObject::connect(own, &QLineEdit::returnPressed, [&] { ++owns; });
    EXPECT_FALSE(mainButtonDeclared(&w));
    setMainButton(&w, main);
    EXPECT_EQ(mainButton(&w), main);
    w.show();
    QApplication::setActiveWindow(&w);
    auto enterIn = [](QWidget* target) {
        target->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QApplication::sendEvent(target, &press);
    };
    enterIn(box);
    EXPECT_EQ(mains, 1);
    // A box whose Enter already does something runs only that.
    enterIn(own);
    EXPECT_EQ(owns, 1);
    EXPECT_EQ(mains, 1);
    // On another button Enter presses that one.
    enterIn(other);
    EXPECT_EQ(others, 1);
    EXPECT_EQ(mains, 1);
    // A disabled main button is not run.
    main->setEnabled(false);
    enterIn(box);
    EXPECT_EQ(mains, 1);
}

}  // namespace
}  // namespace daike
