// The scenario commands of one group. Set-up: the date, the screen, the database before and after
// start, the run itself.
#include <QRegularExpression>
#include <chrono>

#include "basedata/demo_school.h"
#include "commands.h"
#include "shell/main_window.h"
#include "shell/program.h"
#include "shell/window_registry.h"
#include "store/store.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

using scenario::cannot;

namespace {

std::chrono::sys_days parseDay(const QString& s) {
    static const QRegularExpression re("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$");
    auto m = re.match(s);
    if (!m.hasMatch()) cannot("not a date (YYYY-MM-DD): " + s);
    using namespace std::chrono;
    year_month_day d{year(m.captured(1).toInt()), month(m.captured(2).toUInt()),
                     day(m.captured(3).toUInt())};
    if (!d.ok()) cannot("no such day: " + s);
    return sys_days(d);
}

}  // namespace

void ScenarioRunner::sql(const QString& text) {
    if (program_) {
        program_->store().execScript(text.toStdString());
        return;
    }
    // Before the program starts: the database as a first start would make it.
    auto store = Store::open(dir_);
    store->execScript(text.toStdString());
}

// today
void ScenarioRunner::SetUp::today(ScenarioRunner& r, const QStringList& a) {
    r.desktop_.clock.set(parseDay(a[1]));
}

// screen
void ScenarioRunner::SetUp::screen(ScenarioRunner& r, const QStringList& a) {
    bool ok = false;
    const int w = a[1].toInt(&ok);
    if (!ok || w <= 0) cannot("not a width: " + a[1]);
    r.desktop_.screen.setWidth(w);
}

// screen WIDTH HEIGHT SCALE
void ScenarioRunner::SetUp::screenScaled(ScenarioRunner& r, const QStringList& a) {
    bool okW = false, okH = false, okS = false;
    const int w = a[1].toInt(&okW), h = a[2].toInt(&okH), percent = a[3].toInt(&okS);
    if (!okW || !okH || w <= 0 || h <= 0) cannot("not a screen size: " + a[1] + " " + a[2]);
    if (!okS || percent < 100 || percent > 300) cannot("not a scale in percent: " + a[3]);
    r.desktop_.screen.setSize(w, h, percent);
}

// screens
void ScenarioRunner::SetUp::screens(ScenarioRunner& r, const QStringList& a) {
    static const QRegularExpression re("^(\\d+)x(\\d+)$");
    std::vector<QSize> sizes;
    for (const auto& part : a[1].split(' ', Qt::SkipEmptyParts)) {
        const auto m = re.match(part);
        if (!m.hasMatch() || m.captured(1).toInt() <= 0 || m.captured(2).toInt() <= 0)
            cannot("not a screen size (WxH): " + part);
        sizes.push_back(QSize(m.captured(1).toInt(), m.captured(2).toInt()));
    }
    if (sizes.empty()) cannot("no screen size");
    r.desktop_.screen.setSizes(sizes);
}

// sql
void ScenarioRunner::SetUp::sql(ScenarioRunner& r, const QStringList& a) {
    r.sql(a[1]);
}

// demo
void ScenarioRunner::SetUp::demo(ScenarioRunner& r, const QStringList&) {
    if (r.program_) cannot("demo comes before start");
    auto store = Store::open(r.dir_);
    auto plan = demo::demoPlan();
    plan.termStart = demo::termStartBefore(r.desktop_.clock.today());
    demo::fillSchool(*store, plan);
}

// demo-school
void ScenarioRunner::SetUp::demoSchool(ScenarioRunner& r, const QStringList& a) {
    if (r.program_) cannot("demo-school comes before start");
    bool ok = false;
    const int teachers = a[1].toInt(&ok);
    if (!ok || teachers < 2) cannot("demo-school needs a number of teachers");
    auto store = Store::open(r.dir_);
    auto plan = demo::planFor(teachers);
    plan.termStart = demo::termStartBefore(r.desktop_.clock.today());
    demo::fillSchool(*store, plan);
}

// start
void ScenarioRunner::SetUp::start(ScenarioRunner& r, const QStringList&) {
    if (r.program_) cannot("the program is already running");
    r.program_ = Program::start(r.desktop_.platform(), r.dir_);
    r.settle();
}

// close
void ScenarioRunner::SetUp::close(ScenarioRunner& r, const QStringList& a) {
    if (a[1] == "Form2") {
        r.closeProgram();
        return;
    }
    auto* w = findWindow(a[1]);
    if (!w) cannot("no window " + a[1]);
    w->close();
    r.settle();
}

// open
void ScenarioRunner::SetUp::open(ScenarioRunner& r, const QStringList& a) {
    if (!registeredWindow(a[1])) cannot("no registered window or action " + a[1]);
    r.program_->mainWindow().open(a[1]);
    r.settle();
}

// open-for
void ScenarioRunner::SetUp::openFor(ScenarioRunner& r, const QStringList& a) {
    const auto* row = registeredWindow(a[1]);
    if (!row || !row->openFor) cannot("no registered window opened for a teacher " + a[1]);
    r.program_->mainWindow().openFor(a[1], a[2]);
    r.settle();
}

void ScenarioRunner::SetUp::restart(ScenarioRunner& r, const QStringList&) {
    r.closeProgram();
    r.program_ = Program::start(r.desktop_.platform(), r.dir_);
    r.settle();
}

void ScenarioRunner::SetUp::answerAtRandom(ScenarioRunner& r, const QStringList& a) {
    r.desktop_.boxes.answerAtRandom(a[1].toUInt());
}

void ScenarioRunner::SetUp::skipUnrunnable(ScenarioRunner& r, const QStringList&) {
    r.skipUnrunnable_ = true;
}

}  // namespace daike
