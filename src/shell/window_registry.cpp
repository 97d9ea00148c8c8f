#include "shell/window_registry.h"

#include <QAction>

#include "engine/assignment.h"
#include "school/resets.h"
#include "school/term_archive.h"
#include "school/term_start.h"
#include "shell/cover_handover.h"
#include "shell/group_text_wiring.h"
#include "shell/main_window.h"
#include "shell/notices_menu_wiring.h"
#include "shell/safekeeping_menu_wiring.h"
#include "shell/statistics_wiring.h"
#include "shell/term_checklist_wiring.h"
#include "ui/backups.h"
#include "ui/help.h"
#include "ui/new_day.h"
#include "ui/run_context.h"
#include "ui/working_day_moves.h"
#include "windows/basedata/classes_window.h"
#include "windows/basedata/main_classes_window.h"
#include "windows/basedata/sheet_import_window.h"
#include "windows/basedata/teacher_names_window.h"
#include "windows/basedata/timetable_import_panel.h"
#include "windows/basedata/timetable_window.h"
#include "windows/engine/assignment_window.h"
#include "windows/engine/cover_rules_window.h"
#include "windows/engine/exempt_window.h"
#include "windows/engine/free_period_leave_window.h"
#include "windows/engine/late_cover_window.h"
#include "windows/engine/owed_lessons_window.h"
#include "windows/engine/swap_entry_window.h"
#include "windows/main/about_window.h"
#include "windows/main/password_window.h"
#include "windows/main/period_times_window.h"
#include "windows/main/staff_room_board.h"
#include "windows/main/term_start_window.h"

namespace daike {

namespace {

// Opens window W of that name, owned by the main window: the open one comes forward.
template <class W>
std::function<void(MainWindow&)> window(const char* name) {
    return
        [name](MainWindow& m) { m.openWindow<W>(name, [&m] { return new W(m.context(), &m); }); };
}

// An action that tells the operator when it is done.
std::function<void(MainWindow&)> reset(void (*run)(Store&), const char* done) {
    return [run, done](MainWindow& m) {
        run(m.context().store);
        m.context().platform.boxes.ok(QString::fromUtf8(done));
    };
}

// An action that wipes data: an automatic backup first, named in the message when it is done.
std::function<void(MainWindow&)> wipe(void (*run)(Store&), const char* reason, const char* done) {
    return [run, reason, done](MainWindow& m) {
        const auto backup = backupBefore(m.context(), reason);
        run(m.context().store);
        m.context().platform.boxes.ok(QString::fromUtf8(done) + backupLine(backup));
    };
}

void emptyEverything(MainWindow& m) {
    auto& boxes = m.context().platform.boxes;
    if (!boxes.yesNo(QStringLiteral("确实需要把所有数据清空吗？（是/否）"))) return;
    // The cover of past terms is kept unless the office says otherwise (是 keeps it).
    const auto size = archiveSize(m.context().store);
    auto past = PastTerms::Keep;
    if (size.archived + size.term > 0 &&
        !boxes.yesNo(QStringLiteral("是否保留代课存档（以往各学期和本学期的代课记录，共%1条）？\n"
                                    "选“是”保留存档，选“否”则一并清空。（是/否）")
                         .arg(size.archived + size.term)))
        past = PastTerms::Drop;
    const auto backup = backupBefore(m.context(), "所有数据清空前");
    emptyAllData(m.context().store, past);
    boxes.ok(QStringLiteral("清空所有数据库内容完毕，请及时录入各项基本数据！") +
             (past == PastTerms::Keep && size.archived + size.term > 0
                  ? QStringLiteral("\n代课存档已保留（共%1条）。").arg(size.archived + size.term)
                  : QString()) +
             backupLine(backup));
}

// 代课明细清零: the term's records go into 代课存档 first, and the message says so.
void clearTermKeepingHistory(MainWindow& m) {
    auto& ctx = m.context();
    const auto start = readTermStart(ctx.store);
    const auto kept = archiveSize(ctx.store).term;
    const auto backup = backupBefore(ctx, "代课明细清零前");
    clearTermRecords(ctx.store);
    ctx.platform.boxes.ok(QStringLiteral("代课明细初始化完成！") +
                          (kept > 0 ? QStringLiteral("\n%1的%2条代课记录已存入代课存档。")
                                          .arg(qs(termName(start)))
                                          .arg(kept)
                                    : QString()) +
                          backupLine(backup));
}

TimetableImportPanel* importPanel(MainWindow& m) {
    return m.centralWidget()->findChild<TimetableImportPanel*>(QString(),
                                                               Qt::FindDirectChildrenOnly);
}

// 课务自动导入 shows the import panel Frame1 on the main window's working area.
void openImportPanel(MainWindow& m) {
    if (auto* panel = importPanel(m)) panel->open();
}

}  // namespace

const std::vector<Registered>& windowRegistry() {
    using enum LoginCode;
    // In menu order. A new window: include its header above and add its row where its menu
    // item sits.
    static const std::vector<Registered> all = {
        // 数据初始化
        {"FormKX", "kxzb", None, openTermChecklist},
        {"sysjqk", "sysjqk", EmptyAllData, emptyEverything},
        {"Form13", "xqdyt", None, window<TermStartWindow>("Form13")},
        {"FormZX", "zxsj", PeriodTimes, window<PeriodTimesWindow>("FormZX")},
        {"FormGZ", "dkgz", CoverRules, window<CoverRulesWindow>("FormGZ")},
        {"Form17", "bjsr", Classes, window<ClassesWindow>("Form17")},
        {"Form22", "jsxmsr", None, window<TeacherNamesWindow>("Form22")},
        {"Form7", "jslr", MainClasses, window<MainClassesWindow>("Form7")},
        {"Form18", "kcsr", Courses, window<CoursesWindow>("Form18")},
        {"Form19", "sdsr", ManualTimetable, window<TimetableWindow>("Form19")},
        // 基本免代教师: without the login, as the window always opened.
        {"Form6", "jbmd", None, window<ExemptWindow>("Form6")},
        {"Frame1", "kmsr", TimetableImport, openImportPanel},
        // The whole timetable from one spreadsheet, behind the same login as the documents.
        {"FormKB", "zkbdr", TimetableImport, window<SheetImportWindow>("FormKB")},
        {"kkjs", "kkjs", None, reset(buildFreeTeachers, "空课教师初始化完成！")},
        {"mrjs", "mrjs", None, reset(countDailyLessons, "每日节数初始化完成！")},
        {"dkjs", "dkjs", ResetCoverCounts,
         wipe(resetCoverCounts, "代课节数初始化前", "代课节数初始化完成！")},
        {"xqdk", "xqdk", ClearTermRecords, clearTermKeepingHistory},
        {"xdyt", "xdyt", None, [](MainWindow& m) { confirmNewDay(m.context()); }},
        {"Form16", "mmlr", None, window<PasswordWindow>("Form16")},
        {"sjbf", "sjbf", None, backUpData},
        {"RestoreWindow", "sjhf", None, openRestore},
        // 代课模式
        {"Form1", "drdk", None, openOneTeacher},
        {"Form4", "duorendaike", None, openAbsenceEntry},
        {"FormBD", "dkbd", None, window<LateCoverWindow>("FormBD")},
        {"FormTK", "tkdj", None, window<SwapEntryWindow>("FormTK")},
        {"FormQK", "qkb", None, window<OwedLessonsWindow>("FormQK")},
        {"Form3", "dkxg", None, openModification},
        // 修改: the free-period correction the modification window opens for 无课公出教师.
        // 输出或打印
        {"FormTJ", "dktj", None, openStatistics},
        // 代课公平性: opened from 代课统计.
        {"FormGP", "", None, openFairness},
        // 代课费发放表: opened from 代课统计.
        {"FormFF", "", None, openPaySheet},
        // 复制通知文字: opened from today's board and after the assignment screen.
        {"FormTZ", "", None, openGroupText},
        {"FormCD", "", None, openReprint},
        // 全屏显示 on today's board: the staff room's screen.
        {"boardScreen", "", None, [](MainWindow& m) { openStaffRoomBoard(m.context(), &m); }},
        {"Form14", "", None, [](MainWindow&) {},
         [](MainWindow& m, const QString& teacher) {
             openFreePeriodLeaveEdit(m.context(), &m, teacher);
         }},
        // 帮助
        {"FormHelp", "sysm", None, [](MainWindow& m) { openHelp(&m, QStringLiteral("index")); }},
        {"FormAbout", "gydk", None, window<AboutWindow>("FormAbout")},
    };
    return all;
}

void addMainWindowPanels(MainWindow& m) {
    // The import panel Frame1, hidden until 课务自动导入; the items that bring up other work
    // put it away first. Printing the notices is such work: its busy label sits in the working
    // area, under the panel.
    auto* panel = new TimetableImportPanel(m.context(), m.centralWidget());
    for (const char* item : {"drdk", "duorendaike", "dkck", "scdk", "dkyl", "dkpdf", "jtqbdy",
                             "jtqbyl", "jtqbpdf", "abcz", "jscz", "dkxg"})
        if (QAction* a = m.action(item))
            QObject::connect(a, &QAction::triggered, panel, &QWidget::hide);
}

const Registered* registeredWindow(const QString& name) {
    for (const auto& r : windowRegistry())
        if (name == QString::fromUtf8(r.name)) return &r;
    return nullptr;
}

const Registered* registeredLogin(LoginCode code) {
    if (code == LoginCode::None) return nullptr;
    for (const auto& r : windowRegistry())
        if (r.login == code) return &r;
    return nullptr;
}

}  // namespace daike
