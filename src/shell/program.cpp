#include "shell/program.h"

#include <QApplication>
#include <QFont>

#include "school/term_start.h"
#include "shell/main_window.h"
#include "store/store.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

std::unique_ptr<Program> Program::start(Platform platform, const std::filesystem::path& dir) {
    std::unique_ptr<Program> p(new Program());
    try {
        p->store_ = Store::open(dir);
    } catch (const StoreError& e) {
        platform.boxes.ok(QString::fromUtf8(e.what()));
        return nullptr;
    }
    p->ctx_.reset(new RunContext{*p->store_, platform, RunValues{}, dir});
    auto& values = p->ctx_->values;
    CalendarNow now;
    if (!runAction(*p->ctx_, [&] { now = calendarNow(*p->store_, platform.clock.today()); }))
        return nullptr;
    values.当前周次 = static_cast<std::int16_t>(now.当前周次);
    values.当前星期 = static_cast<std::int16_t>(now.当前星期);
    values.weekKnown = now.termStartKnown;
    if (!now.termStartKnown) {
        platform.boxes.ok(
            QStringLiteral("学期首日（开学第一周星期一的日期）尚未设定，当前周次暂记为0。\n"
                           "请在“数据初始化—基本数据录入—学期首日设定”中输入，输入后即刻生效。"));
    }
    p->main_ = std::make_unique<MainWindow>(*p->ctx_);
    placeWindow(*p->main_, platform.screen, {0, 0});
    p->main_->show();
    p->main_->activateWindow();
    return p;
}

Program::~Program() {
    main_.reset();
    ctx_.reset();
    store_.reset();
}

void useChineseFonts() {
    QFont f = QApplication::font();
    f.setFamilies({"Noto Sans CJK SC", "WenQuanYi Micro Hei", "Microsoft YaHei", "SimSun"});
    if (f.pointSize() < 10) f.setPointSize(10);
    QApplication::setFont(f);
}

}  // namespace daike
