#include "shell/program.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <optional>

#include "basedata/term_readiness.h"
#include "school/term_start.h"
#include "shell/main_window.h"
#include "store/paths.h"
#include "store/safekeeping.h"
#include "store/store.h"
#include "ui/backups.h"
#include "ui/help.h"
#include "ui/run_context.h"
#include "ui/screen_fit.h"
#include "ui/widgets.h"

namespace daike {

namespace {

namespace fs = std::filesystem;
namespace keep = safekeeping;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Puts the newest backup in place of a file that cannot be used, which goes aside first.
// Returns the message that says what was done, or nothing when it could not be done (the
// operator has been told why).
std::optional<QString> restoreNewest(Platform& platform, const fs::path& dir,
                                     const keep::Backup& newest) {
    const auto file = inFolder(dir, Store::kFileName);
    try {
        const auto checked = keep::prepareRestore(newest.file, dir);
        QString kept;
        if (fs::exists(file)) {
            const auto aside = keep::keepAside(dir, {file, withSuffix(file, Store::kLogSuffix)},
                                               true, officeNow(platform));
            kept = QStringLiteral("\n原来的数据库文件保存在“%1”中，没有被覆盖。").arg(qpath(aside));
        }
        keep::installRestore(checked, dir);
        return QStringLiteral("数据已从备份“%1”恢复。%2").arg(qpath(newest.file), kept);
    } catch (const std::exception& e) {
        platform.boxes.ok(QString::fromUtf8(e.what()) + QStringLiteral("\n程序将退出。"));
        return std::nullopt;
    }
}

QString newestLine(const keep::Backup& b) {
    return QStringLiteral("最新的备份是“%1”（%2）。").arg(qpath(b.file), text(keep::describe(b)));
}

// Opens the database of the data directory, and when it cannot be used as it stands offers
// what the office can do: restore the newest backup, or start a new school in place of an empty
// file. Nothing is deleted: a file that is replaced is kept aside.
std::unique_ptr<Store> openOrOffer(Platform& platform, const fs::path& dir) {
    const auto file = inFolder(dir, Store::kFileName);
    std::optional<QString> restored;
    std::error_code ec;
    if (!fs::exists(file, ec) && fs::is_directory(dir, ec)) {
        const auto backups = keep::listBackups(dir);
        if (!backups.empty() &&
            platform.boxes.yesNo(
                QStringLiteral("数据目录“%1”中没有数据库文件“%2”。\n%3\n"
                               "是否用这个备份恢复数据？选“否”将建立一个新的空白学校。（是/否）")
                    .arg(qpath(dir), Store::kFileName, newestLine(backups.front())))) {
            restored = restoreNewest(platform, dir, backups.front());
            if (!restored) return nullptr;
        }
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            auto store = Store::open(dir);
            if (restored) platform.boxes.ok(*restored);
            return store;
        } catch (const Failure& e) {
            const QString why = QString::fromUtf8(e.what());
            const bool damaged = e.kind() == Failure::Kind::NotOurFile;
            const bool empty = e.kind() == Failure::Kind::EmptyFile;
            if (attempt > 0 || (!damaged && !empty)) {
                platform.boxes.ok(why);
                return nullptr;
            }
            const auto backups = keep::listBackups(dir);
            if (!backups.empty() &&
                platform.boxes.yesNo(
                    why + QStringLiteral(
                              "\n%1\n是否用这个备份恢复数据？当前的数据库文件会保留在备份目录中，"
                              "不会被覆盖。（是/否）")
                              .arg(newestLine(backups.front())))) {
                restored = restoreNewest(platform, dir, backups.front());
                if (!restored) return nullptr;
                continue;
            }
            if (empty &&
                platform.boxes.yesNo(
                    why +
                    QStringLiteral(
                        "\n是否建立一个新的空白学校数据库？空文件会保留在备份目录中。（是/否）"))) {
                const auto aside = keep::keepAside(dir, {file}, true, officeNow(platform));
                restored = QStringLiteral("已建立新的空白学校数据库，原来的空文件保存在“%1”中。")
                               .arg(qpath(aside));
                continue;
            }
            platform.boxes.ok(
                (damaged ? QStringLiteral("程序将退出，数据库文件保持原样。")
                         : QStringLiteral("程序将退出。")) +
                (backups.empty()
                     ? QStringLiteral(
                           "备份目录中没有可用的备份；请把数据目录“%1”交给技术支持人员检查，"
                           "不要删除其中的文件。")
                           .arg(qpath(dir))
                     : QStringLiteral("以后可以在启动时再选择恢复。")));
            return nullptr;
        }
    }
    return nullptr;
}

}  // namespace

std::unique_ptr<Program> Program::start(Platform platform, const std::filesystem::path& dir) {
    std::unique_ptr<Program> p(new Program());
    p->store_ = openOrOffer(platform, dir);
    if (!p->store_) return nullptr;
    for (const auto& notice : p->store_->notices()) platform.boxes.ok(text(notice));
    // Once a day, at the first start of the day.
    const auto moment = officeNow(platform);
    if (!keep::hasDailyBackup(dir, moment)) {
        try {
            keep::automaticBackup(*p->store_, keep::kDaily, moment);
        } catch (const Failure& e) {
            platform.boxes.ok(QString::fromUtf8(e.what()) +
                              QStringLiteral("\n今天的自动备份没有做成，程序照常运行。"));
        }
    }
    p->ctx_.reset(new RunContext{*p->store_, platform, RunValues{}, dir});
    p->store_->announceTo(&p->ctx_->changes);
    auto& day = p->ctx_->day;
    if (!runAction(*p->ctx_, [&] { day.startUp(*p->store_, platform.clock.today()); }))
        return nullptr;
    // A school not set up yet sees 开学准备 (the main window opens it in place of the start-up
    // question), which names a missing first day of term with the rest; a school set up but for
    // that date is told here.
    bool ready = false;
    runAction(*p->ctx_, [&] {
        ready = readiness::complete(readiness::check(*p->store_, platform.clock.today()));
    });
    if (!day.weekKnown() && ready) {
        platform.boxes.ok(
            QStringLiteral("学期首日（开学第一周星期一的日期）尚未设定，当前周次暂记为0。\n"
                           "请在“数据初始化—基本数据录入—学期首日设定”中输入，输入后即刻生效。"));
    }
    p->fit_ = std::make_unique<FitWhenShown>(platform.screen);
    p->main_ = std::make_unique<MainWindow>(*p->ctx_);
    setHelpPlacement([ctx = p->ctx_.get()](QWidget& help) {
        placeWindow(help, ctx->platform.screen, {90, 40});
    });
    placeWindow(*p->main_, platform.screen, {0, 0});
    p->main_->show();
    p->main_->activateWindow();
    return p;
}

Program::~Program() {
    setHelpPlacement({});
    main_.reset();
    fit_.reset();
    if (store_) store_->announceTo(nullptr);
    ctx_.reset();
    store_.reset();
}

void useChineseFonts() {
    QFont f = QApplication::font();
    // The first family the system has wins for each character. Every Chinese Windows has
    // Microsoft YaHei (and SimSun since XP); Debian has Noto CJK (fonts-noto-cjk) or WenQuanYi.
#ifdef Q_OS_WIN
    f.setFamilies({"Microsoft YaHei", "SimSun", "Noto Sans CJK SC"});
#else
    f.setFamilies({"Noto Sans CJK SC", "WenQuanYi Micro Hei", "Microsoft YaHei", "SimSun"});
#endif
    if (f.pointSize() < 10) f.setPointSize(10);
    QApplication::setFont(f);
}

void useChineseTranslations() {
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    static QTranslator* qt = nullptr;
    if (qt) return;
    auto* t = new QTranslator(qApp);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qt_zh_CN gathers Qt's modules; qtbase_zh_CN alone holds the dialogs' texts.
    if (t->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qt"),
                QStringLiteral("_"), dir) ||
        t->load(QStringLiteral("qtbase_zh_CN"), dir)) {
        QCoreApplication::installTranslator(t);
        qt = t;
    } else {
        delete t;
    }
}

}  // namespace daike
