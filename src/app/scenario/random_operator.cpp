#include "random_operator.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWidget>
#include <iostream>
#include <random>

#include "invariants.h"
#include "runner.h"
#include "shell/main_window.h"
#include "store/store.h"
#include "store/tables/teachers.h"
#include "store/week.h"
#include "ui/path_text.h"

namespace daike {

namespace {

// Menu items whose effect the oracle cannot follow: resets that change a tally or the records
// on purpose, and the manual timetable (a lesson covered today may go).
bool passwordHeldBackFor(const std::optional<std::string>& code) {
    return code && (*code == "9" || *code == "10" || *code == "11");
}

QString quoted(const QString& s) {
    QString q = s;
    q.replace("\\", "\\\\").replace("\"", "\\\"").replace("\n", "\\n");
    return "\"" + q + "\"";
}

// The visible windows of the running program: the main window and the windows it owns (a run
// before this one in the same process may leave windows not yet deleted).
QList<QWidget*> openWindows(QWidget* main) {
    QList<QWidget*> out;
    if (!main) return out;
    if (main->isVisible()) out << main;
    for (auto* w : main->findChildren<QWidget*>())
        if (w->isWindow() && w->isVisible() && !w->objectName().isEmpty()) out << w;
    std::sort(out.begin(), out.end(),
              [](QWidget* a, QWidget* b) { return a->objectName() < b->objectName(); });
    return out;
}

template <class T>
QList<T*> usable(QWidget* window) {
    QList<T*> out;
    for (auto* c : window->findChildren<T*>())
        if (!c->objectName().isEmpty() && c->isVisible() && c->isEnabled() && c->window() == window)
            out << c;
    // findChildren's order follows creation; sort so that a seed means the same run everywhere.
    std::sort(out.begin(), out.end(), [](T* a, T* b) { return a->objectName() < b->objectName(); });
    return out;
}

class Generator {
  public:
    Generator(ScenarioRunner& runner, std::mt19937& rng, QDate& today)
        : runner_(runner), rng_(rng), today_(today) {}

    RandomOperator::Step next() {
        for (int tries = 0; tries < 20; ++tries) {
            RandomOperator::Step s = pick();
            if (!s.isEmpty()) return s;
        }
        return menu();
    }

  private:
    int roll(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return roll(100) < percent; }
    template <class T>
    T* any(const QList<T*>& list) {
        return list.isEmpty() ? nullptr : list[roll(static_cast<int>(list.size()))];
    }

    QWidget* someWindow(bool preferTools) {
        auto windows = openWindows(runner_.mainWindow());
        // Mostly the window the operator works in: the one opened or clicked last.
        if (QWidget* active = QApplication::activeWindow();
            active && windows.contains(active) && active->objectName() != "Form2" && chance(70))
            return active;
        if (preferTools && windows.size() > 1 && chance(85))
            windows.removeIf([](QWidget* w) { return w->objectName() == "Form2"; });
        return any(windows);
    }

    // A date around today, either way the office writes them.
    QString someDate() {
        return today_.addDays(roll(90) - 60)
            .toString(chance(50) ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("yyyy年M月d日"));
    }

    QString name() {
        if (names_.isEmpty())
            if (Store* s = runner_.store())
                for (const auto& n : teachers::names(*s)) names_ << QString::fromStdString(n);
        if (names_.isEmpty()) return QStringLiteral("张三");
        QString n = names_[roll(static_cast<int>(names_.size()))];
        switch (roll(11)) {
            case 0:
                return n + "甲";  // a name not in the school
            case 3:
                return mistyped(n);
            case 1:
                return " " + n;  // a stray blank
            case 2:
                return n.left(n.size() - 1);  // cut short
            default:
                return n;
        }
    }

    // The input method's slip: one character of the name changed for another (宋艳 for 宋燕),
    // the message path of every name box then runs under the checks.
    QString mistyped(const QString& n) {
        static const QString others = QStringLiteral("艳燕岩华芳伟明丽");
        if (n.isEmpty()) return QStringLiteral("宋艳");
        const int at = roll(static_cast<int>(n.size()));
        QChar c = others[roll(static_cast<int>(others.size()))];
        if (c == n[at]) c = c == others[0] ? others[1] : others[0];
        QString out = n;
        out[at] = c;
        return out;
    }

    // The assignment screen's own rhythm, which random clicks rarely hit: a teacher loaded with a
    // reason, a lesson clicked, a candidate taken and confirmed.
    RandomOperator::Step assignmentWork(QWidget* form1) {
        const auto visible = [&](const char* name) {
            auto* c = form1->findChild<QWidget*>(name);
            return c && c->isVisible() && c->isEnabled();
        };
        RandomOperator::Step s;
        if (chance(40)) {
            if (visible("Text3")) s << "type Form1.Text3 " + quoted(name());
            if (chance(85)) {
                const auto reason = week::kReasons[static_cast<std::size_t>(
                    roll(static_cast<int>(week::kReasons.size())))];
                s << "choose Form1.Combo2 " +
                         QString::fromUtf8(reason.data(), static_cast<qsizetype>(reason.size()));
            }
            s << "click Form1.Command1";
            return s;
        }
        QStringList lessons, candidates, swaps;
        for (auto* b : usable<QAbstractButton>(form1)) {
            if (b->objectName().startsWith("Option1_")) lessons << b->objectName();
            if (b->objectName().startsWith("Option2_")) candidates << b->objectName();
            if (b->objectName().startsWith("Option4_")) swaps << b->objectName();
        }
        // Now and then a swap in place of a cover, asked and mostly confirmed.
        if (!swaps.isEmpty() && chance(30)) {
            s << "click Form1." + swaps[roll(static_cast<int>(swaps.size()))];
            if (chance(85)) s << "click Form1.Command14";
            return s;
        }
        // A lesson, then one of the first candidates (the ones the office takes), confirmed.
        if (!lessons.isEmpty() && chance(70))
            s << "click Form1." + lessons[roll(static_cast<int>(lessons.size()))];
        if (!candidates.isEmpty() && chance(80)) {
            const int first = static_cast<int>(std::min<qsizetype>(candidates.size(), 3));
            s << "click Form1." +
                     candidates[roll(chance(70) ? first : static_cast<int>(candidates.size()))];
            if (chance(85)) s << "click Form1.Command3";
        }
        return s;
    }

    // The absence entry's rhythm: a teacher from the grid (or typed), some periods ticked,
    // stored; now and then on to cover.
    RandomOperator::Step absenceWork(QWidget* form4) {
        RandomOperator::Step s;
        QStringList teachers, periods;
        for (auto* b : usable<QAbstractButton>(form4)) {
            const QString n = b->objectName();
            if (n.startsWith("Option1_")) teachers << n;
            if (n.startsWith("Check1_") || n.startsWith("Check2_")) periods << n;
        }
        if (chance(20)) return {"click Form4.Command5"};
        if (!teachers.isEmpty() && chance(80))
            s << "click Form4." + teachers[roll(static_cast<int>(teachers.size()))];
        else
            s << "type Form4.Text1 " + quoted(name()) << "click Form4.Command1";
        for (int i = 0, n = 1 + roll(3); i < n && !periods.isEmpty(); ++i)
            s << "click Form4." + periods[roll(static_cast<int>(periods.size()))];
        if (chance(80)) s << "click Form4.Command4";
        return s;
    }

    // 代课规则's rhythm: limits picked from the lists (a week's below the day's now and then,
    // which is refused), how far ahead a swap looks, a box or two ticked (短假优先调课 among
    // them, so that 一键安排 proposes swaps), then 确定 or 取消.
    RandomOperator::Step rulesWork(QWidget* formGZ) {
        RandomOperator::Step s;
        for (const char* name : {"Combo1", "Combo2", "Combo3"}) {
            auto* c = formGZ->findChild<QComboBox*>(name);
            if (c && c->count() > 0 && chance(70))
                s << QStringLiteral("choose FormGZ.%1 ").arg(name) +
                         quoted(c->itemText(roll(c->count())));
        }
        for (const char* name : {"Check1", "Check2", "Check3"})
            if (chance(30)) s << QStringLiteral("click FormGZ.%1").arg(name);
        s << (chance(75) ? "click FormGZ.Command1" : "click FormGZ.Command2");
        return s;
    }

    QWidget* shown(const char* name) {
        for (auto* w : openWindows(runner_.mainWindow()))
            if (w->objectName() == name) return w;
        return nullptr;
    }

    RandomOperator::Step pick() {
        if (!runner_.store()) return {"start"};
        if (QWidget* f1 = shown("Form1"); f1 && chance(60))
            if (auto s = assignmentWork(f1); !s.isEmpty()) return s;
        if (QWidget* f4 = shown("Form4"); f4 && chance(50))
            if (auto s = absenceWork(f4); !s.isEmpty()) return s;
        if (QWidget* gz = shown("FormGZ"); gz && chance(60)) return rulesWork(gz);
        if (QWidget* kb = shown("FormKB"); kb && chance(60)) return importWork(kb);
        // The logins in front of 代课规则 and the timetable imports are mostly passed, or their
        // windows would hardly be seen.
        if (const auto code = runner_.runValue("管理操作码");
            shown("Form15") &&
            (code == std::optional<std::string>("14") || code == std::optional<std::string>("3")) &&
            chance(70))
            return {"type Form15.Text2 580417", "click Form15.Command1"};
        const int r = roll(100);
        if (r < 20) return menu();
        if (r < 54) return click();
        if (r < 68) return type();
        if (r < 76) return choose();
        if (r < 81) return enter();
        if (r < 88) return close();
        if (r < 93) return escape();
        if (r < 97) return {"restart"};
        today_ = nextSchoolDay(today_);
        return {"close Form2", "today " + today_.toString("yyyy-MM-dd"), "start"};
    }

    static QDate nextSchoolDay(QDate d) {
        d = d.addDays(1);
        while (d.dayOfWeek() > 5) d = d.addDays(1);
        return d;
    }

    RandomOperator::Step menu() {
        auto* main = runner_.mainWindow();
        if (!main) return {};
        QStringList enabled;
        for (const auto& n : main->menuNames())
            if (auto* a = main->action(n); a && a->isEnabled()) enabled << n;
        enabled.sort();
        if (enabled.isEmpty()) return {};
        // The day's work comes first: covering one or several teachers, correcting, the whole
        // day at once; a new day now and then.
        QStringList work;
        for (const auto& n : enabled)
            if (n == "drdk" || n == "duorendaike" || n == "dkxg" || n.startsWith("yjap")) work << n;
        if (enabled.contains("xdyt") && chance(3)) return {"menu xdyt"};
        // A new timetable in the middle of the day, now and then.
        if (enabled.contains("zkbdr") && chance(4)) return {"menu zkbdr"};
        enabled.removeAll("xdyt");
        const QStringList& from = !work.isEmpty() && chance(60) ? work : enabled;
        return {"menu " + from[roll(static_cast<int>(from.size()))]};
    }

    RandomOperator::Step click() {
        QWidget* w = someWindow(true);
        if (!w) return {};
        // The statistics' tables sort by a click on a column title.
        if ((w->objectName() == "FormTJ" || w->objectName() == "FormGP") && chance(25))
            if (auto* grid = w->findChild<QTableWidget*>("Grid1"); grid && grid->columnCount() > 0)
                return {"click-header " + w->objectName() + ".Grid1 " +
                        QString::number(roll(grid->columnCount()))};
        // 代课统计's 公平性…, and there dates of one's own, now and then the end before the start.
        if (w->objectName() == "FormTJ" && chance(20)) return {"click FormTJ.Command9"};
        if (w->objectName() == "FormGP" && chance(30))
            return {"click FormGP.Option4", "type FormGP.Text1 " + someDate(),
                    "type FormGP.Text2 " + someDate(), "click FormGP.Command1"};
        // 发放表… and there a range of one's own (the 16th to the 15th, or the end first).
        if (w->objectName() == "FormTJ" && chance(10)) return {"click FormTJ.Command10"};
        if (w->objectName() == "FormFF" && chance(30))
            return {"click FormFF.Option2", "type FormFF.Text1 " + someDate(),
                    "type FormFF.Text2 " + someDate(), "click FormFF.Command1"};
        auto* b = any(usable<QAbstractButton>(w));
        if (!b) return {};
        return {"click " + w->objectName() + "." + b->objectName()};
    }

    RandomOperator::Step type() {
        QWidget* w = someWindow(true);
        if (!w) return {};
        QList<QWidget*> boxes;
        for (auto* e : usable<QLineEdit>(w))
            if (!e->isReadOnly()) boxes << e;
        // A teacher's name box that is a drop-down list one may type into.
        for (auto* c : usable<QComboBox>(w))
            if (c->isEditable()) boxes << c;
        QWidget* box = any(boxes);
        if (!box) return {};
        auto* e = qobject_cast<QLineEdit*>(box);
        const QString path = w->objectName() + "." + box->objectName();
        QString text;
        if (e && e->echoMode() == QLineEdit::Password)
            text = !passwordHeldBackFor(runner_.runValue("管理操作码")) && chance(60)
                       ? QStringLiteral("580417")
                       : QStringLiteral("123");
        else if (w->objectName() == "FormZX" && chance(80))
            // 作息时间设定: mostly clock times, some with the input method's full-width colon.
            text = QStringLiteral("%1%2%3")
                       .arg(7 + roll(10))
                       .arg(chance(20) ? QStringLiteral("：") : QStringLiteral(":"))
                       .arg(5 * roll(12), 2, 10, QChar('0'));
        else if (w->objectName() == "FormGP" && chance(85))
            // 代课公平性's dates: around today, either way the office writes them, now and then
            // the end before the start.
            text = today_.addDays(roll(90) - 60)
                       .toString(chance(50) ? QStringLiteral("yyyy-MM-dd")
                                            : QStringLiteral("yyyy年M月d日"));
        else if (chance(75))
            text = name();
        else
            text = QString::number(1 + roll(7));
        RandomOperator::Step s{"type " + path + " " + quoted(text)};
        if (chance(50)) s << "key " + path + " Return";
        return s;
    }

    RandomOperator::Step choose() {
        QWidget* w = someWindow(true);
        if (!w) return {};
        QList<QComboBox*> boxes = usable<QComboBox>(w);
        boxes.removeIf([](QComboBox* c) { return c->count() == 0; });
        auto* c = any(boxes);
        if (!c) return {};
        return {"choose " + w->objectName() + "." + c->objectName() + " " +
                quoted(c->itemText(roll(c->count())))};
    }

    RandomOperator::Step enter() {
        QWidget* w = someWindow(true);
        if (!w) return {};
        auto* e = any(usable<QLineEdit>(w));
        if (!e) return {};
        return {"key " + w->objectName() + "." + e->objectName() + " Return"};
    }

    RandomOperator::Step close() {
        QWidget* w = someWindow(true);
        if (!w || w->objectName() == "Form2") return {};
        return {"close " + w->objectName()};
    }

    RandomOperator::Step escape() {
        QWidget* w = someWindow(true);
        if (!w || w->objectName() == "Form2") return {};
        return {"key " + w->objectName() + " Esc"};
    }

    // 导入总课表's rhythm: a file chosen (the school's own sheet, now and then one that is no
    // spreadsheet), another layout tried, the new names ticked or not, then 确定 or 取消.
    RandomOperator::Step importWork(QWidget* formKB) {
        const int r = roll(100);
        if (r < 35)
            return {"answer-file " + QString(chance(80) ? "总课表.xlsx" : "坏表.xlsx"),
                    "click FormKB.Command1"};
        if (r < 50)
            if (auto* c = formKB->findChild<QComboBox*>("Combo1"); c && c->count() > 0)
                return {"choose FormKB.Combo1 " + quoted(c->itemText(roll(c->count())))};
        if (r < 60) return {"click FormKB.Check1"};
        if (r < 85) return {"click FormKB.Command2"};
        return {"click FormKB.Command3"};
    }

    ScenarioRunner& runner_;
    std::mt19937& rng_;
    QDate& today_;
    QStringList names_;
};

// The day the run begins: a school day in March, the term four weeks old.
QDate firstDay(std::uint32_t seed) {
    return QDate(2024, 3, 18).addDays(static_cast<int>(seed % week::kDays));
}

}  // namespace

QStringList RandomOperator::prologue() const {
    // The school's timetable as a spreadsheet, and a file that only looks like one, for
    // 导入总课表 to be given.
    return {"today " + firstDay(seed_).toString("yyyy-MM-dd"),
            "demo",
            "export-timetable-sheet 总课表.xlsx",
            "write-file 坏表.xlsx \"PK 这不是电子表格\"",
            QStringLiteral("answer-at-random %1").arg(seed_),
            "skip-unrunnable",
            "start"};
}

RandomRun RandomOperator::run() {
    RandomRun result;
    result.seed = seed_;
    QTemporaryDir dir;
    ScenarioRunner runner(fspath(dir.path()));
    runner.setQuiet(true);
    for (const auto& line : prologue()) runner.runLine(line);
    std::mt19937 rng(seed_);
    QDate today = firstDay(seed_);
    Generator generate(runner, rng, today);
    std::vector<Step> taken;
    for (int i = 0; i < steps_; ++i) {
        Step step = generate.next();
        taken.push_back(step);
        if (verbose_)
            for (const auto& line : step) std::cout << "  " << line.toStdString() << std::endl;
        for (const auto& line : step)
            if (!runner.runLine(line)) break;  // a control gone meanwhile: the step ends there
        result.steps = i + 1;
        if (Store* s = runner.store()) {
            const QStringList faults = invariants::faults(*s, runner.countsResetByHand()) +
                                       invariants::windowFaults(*s, runner.mainWindow());
            if (!faults.isEmpty()) {
                result.fault = faults.join("\n");
                result.faultStep = i;
                break;
            }
        }
    }
    if (Store* s = runner.store()) {
        result.covers = static_cast<int>(s->select("SELECT count(*) FROM 代课记录")[0][0].toInt());
        result.swaps = static_cast<int>(s->select("SELECT count(*) FROM 调课记录")[0][0].toInt());
    }
    runner.finish();
    if (result.fault.isEmpty()) return result;
    // What went wrong must go wrong again in a program of its own; a run earlier in this
    // process may have left state behind that no real run has.
    if (!replay(taken)) {
        result.unconfirmed = result.fault;
        result.fault.clear();
        return result;
    }
    const auto shortest = shrink(taken);
    // The fault the shortest scenario shows in a program of its own.
    if (auto f = replay(shortest)) result.fault = f->second;
    result.scenario << QStringLiteral("# random operator, seed %1: %2 of %3 steps")
                           .arg(seed_)
                           .arg(shortest.size())
                           .arg(taken.size());
    for (const auto& f : result.fault.split('\n')) result.scenario << "# " + f;
    result.scenario << prologue();
    for (const auto& s : shortest) result.scenario << s;
    result.scenario << "check-invariants";
    return result;
}

// A replay runs in a program of its own (daike-scenario beside this one), as the scenario
// written at the end will: a run earlier in this process must not decide what a replay shows.
std::optional<std::pair<int, QString>> RandomOperator::replay(
    const std::vector<Step>& steps) const {
    QTemporaryDir dir;
    const QString file = dir.filePath("replay.scn");
    QStringList lines = prologue();
    std::vector<int> checkLine;  // the line of each step's check, from 1
    for (const auto& step : steps) {
        lines << step << "check-invariants";
        checkLine.push_back(static_cast<int>(lines.size()));
    }
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) return std::nullopt;
        QTextStream s(&f);
        s.setEncoding(QStringConverter::Utf8);
        for (const auto& l : lines) s << l << "\n";
    }
    QProcess scenario;
    scenario.setProcessChannelMode(QProcess::MergedChannels);
    scenario.start(QCoreApplication::applicationDirPath() + "/daike-scenario", {file});
    if (!scenario.waitForFinished(300000)) return std::nullopt;
    static const QRegularExpression failed("^line (\\d+): (.*)$");
    for (const auto& l : QString::fromUtf8(scenario.readAllStandardOutput()).split('\n')) {
        const auto m = failed.match(l);
        if (!m.hasMatch()) continue;
        const auto at = std::find(checkLine.begin(), checkLine.end(), m.captured(1).toInt());
        if (at != checkLine.end())
            return std::make_pair(static_cast<int>(at - checkLine.begin()), m.captured(2));
    }
    return std::nullopt;
}

// Drops steps while the data still goes wrong: first halves and quarters, then one step at a
// time from the end, within the time allowed.
std::vector<RandomOperator::Step> RandomOperator::shrink(std::vector<Step> steps) const {
    QElapsedTimer clock;
    clock.start();
    const auto inTime = [&] { return clock.elapsed() < shrinkSeconds_ * 1000LL; };
    if (auto f = replay(steps))
        steps.resize(static_cast<std::size_t>(f->first) + 1);
    else
        return steps;  // not reproduced in a fresh directory: keep the whole run
    for (std::size_t chunk = steps.size() / 2; chunk >= 1 && inTime(); chunk /= 2) {
        for (std::size_t at = 0; at + chunk <= steps.size() && inTime();) {
            std::vector<Step> fewer(steps.begin(), steps.begin() + static_cast<long>(at));
            fewer.insert(fewer.end(), steps.begin() + static_cast<long>(at + chunk), steps.end());
            if (auto f = replay(fewer)) {
                fewer.resize(static_cast<std::size_t>(f->first) + 1);
                steps = std::move(fewer);
            } else {
                at += chunk;
            }
        }
        if (chunk == 1) break;
    }
    return steps;
}

}  // namespace daike
