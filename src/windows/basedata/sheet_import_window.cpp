#include "windows/basedata/sheet_import_window.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <filesystem>
#include <fstream>

#include "school/resets.h"
#include "store/failure.h"
#include "store/paths.h"
#include "store/safe_file.h"
#include "store/week.h"
#include "ui/backups.h"
#include "ui/change_signals.h"
#include "ui/keyboard.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace ts = timetable_sheets;
namespace si = sheet_import;

// The lessons read, as the preview table shows them: one row a lesson, drawn on demand so that
// a school of a thousand teachers opens at once.
class LessonsModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;
    void show(const std::vector<timetable_import::LessonRow>* lessons) {
        beginResetModel();
        lessons_ = lessons;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || !lessons_ ? 0 : static_cast<int>(lessons_->size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 5; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !lessons_ || !index.isValid()) return {};
        const auto& l = (*lessons_)[static_cast<std::size_t>(index.row())];
        switch (index.column()) {
            case 0:
                return qs(l.teacher);
            case 1:
                return qs(week::weekdayName(l.weekday));
            case 2:
                return qs(week::periodName(l.period));
            case 3:
                return qs(l.className);
            default:
                return qs(l.subject);
        }
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (role != Qt::DisplayRole) return {};
        if (o == Qt::Vertical) return section + 1;
        static const char* const titles[] = {"教师", "星期", "节次", "班级", "课目"};
        return QString::fromUtf8(titles[section]);
    }

  private:
    const std::vector<timetable_import::LessonRow>* lessons_ = nullptr;
};

SheetImportWindow::SheetImportWindow(RunContext& ctx, QWidget* owner) : ctx_(ctx) {
    makeToolWindow(this, owner, "FormKB", QStringLiteral("导入总课表"));
    resize(790, 520);
    setMinimumSize(640, 420);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("文件："), this));
    file_ = new QLineEdit(this);
    file_->setObjectName("Text1");
    file_->setReadOnly(true);
    file_->setPlaceholderText(QStringLiteral("请选择总课表文件（.xlsx、.xls 或 .csv）"));
    fileRow->addWidget(file_, 1);
    auto* choose = makeButton(this, "Command1", QStringLiteral("选择文件…"));
    setMainButton(this, choose);
    fileRow->addWidget(choose);
    layout->addLayout(fileRow);

    auto* layoutRow = new QHBoxLayout;
    layoutRow->addWidget(new QLabel(QStringLiteral("表格格式："), this));
    layouts_ = new QComboBox(this);
    layouts_->setObjectName("Combo1");
    layouts_->addItem(QStringLiteral("自动识别"));
    for (ts::Layout l : ts::kLayouts) layouts_->addItem(QString::fromUtf8(ts::layoutName(l)));
    layoutRow->addWidget(layouts_);
    found_ = makeLabel(this, "Label1", QString(), {});
    layoutRow->addWidget(found_, 1);
    layout->addLayout(layoutRow);

    auto* middle = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    lessonsTitle_ = makeLabel(this, "Label2", QStringLiteral("读取到的课务"), {});
    left->addWidget(lessonsTitle_);
    grid_ = new QTableView(this);
    grid_->setObjectName("Grid1");
    model_ = new LessonsModel(grid_);
    grid_->setModel(model_);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->verticalHeader()->setDefaultSectionSize(22);
    grid_->horizontalHeader()->setStretchLastSection(true);
    // Widths for the texts the columns hold (a name, 星期三, 第6节, 六(10)): measuring every row
    // of a large school would take longer than reading it.
    const int widths[] = {90, 62, 56, 62};
    for (int c = 0; c < 4; ++c) grid_->setColumnWidth(c, widths[c]);
    left->addWidget(grid_, 1);
    middle->addLayout(left, 3);
    auto* right = new QVBoxLayout;
    problemsTitle_ = makeLabel(this, "Label3", QStringLiteral("发现的问题"), {});
    right->addWidget(problemsTitle_);
    problems_ = new QListWidget(this);
    problems_->setObjectName("List1");
    problems_->setWordWrap(true);
    right->addWidget(problems_, 1);
    middle->addLayout(right, 2);
    layout->addLayout(middle, 1);

    addNames_ = makeCheck(this, "Check1", QString(), {});
    // Names join the teacher list only when the office ticks the box.
    addNames_->setChecked(false);
    addNames_->hide();
    layout->addWidget(addNames_);
    note_ = makeLabel(this, "Label4", QString(), {});
    note_->setWordWrap(true);
    layout->addWidget(note_);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    ok_ = makeButton(this, "Command2", QStringLiteral("确定"));
    ok_->setEnabled(false);
    auto* cancel = makeButton(this, "Command3", QStringLiteral("取消"));
    bottom->addWidget(ok_);
    bottom->addWidget(cancel);
    layout->addLayout(bottom);

    connect(choose, &QPushButton::clicked, this,
            [this] { runAction(ctx_, [this] { chooseFile(); }); });
    connect(layouts_, &QComboBox::activated, this,
            [this](int i) { runAction(ctx_, [this, i] { chooseLayout(i); }); });
    connect(addNames_, &QCheckBox::toggled, this, [this](bool on) {
        addNewTeachers_ = on;
        runAction(ctx_, [this] { display(); });
    });
    connect(ok_, &QPushButton::clicked, this, [this] { runAction(ctx_, [this] { confirm(); }); });
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    // A teacher or class entered meanwhile changes what the sheet's names are checked against.
    connect(listen(ctx_, this), &ChangeSignals::baseDataChanged, this,
            [this] { runAction(ctx_, [this] { recheck(); }); });

    placeWindow(*this, ctx_.platform.screen, {4, 2});
}

void SheetImportWindow::chooseFile() {
    const auto file =
        ctx_.platform.files.openFile(QStringLiteral("选择总课表"), qpath(ctx_.programDir),
                                     QStringLiteral("电子表格 (*.xlsx *.xls *.csv);;所有文件 (*)"));
    if (!file || file->trimmed().isEmpty()) return;
    const std::filesystem::path path = fspath(*file);
    // A file that cannot be read leaves the last one shown, and nothing else changes.
    loaded_ = si::load(path);
    file_->setText(*file);
    recheck();
}

void SheetImportWindow::chooseLayout(int index) {
    chosen_.reset();
    if (index > 0) chosen_ = ts::kLayouts[index - 1];
    recheck();
}

void SheetImportWindow::recheck() {
    model_->show(nullptr);  // the table shows the lessons of the preview about to go
    preview_.reset();
    if (loaded_) {
        auto checked = si::check(*loaded_, chosen_, si::schoolOf(ctx_.store));
        if (checked) preview_ = std::move(*checked);
        display();
        if (!checked) tell(ctx_, checked.refusal());
        return;
    }
    display();
}

void SheetImportWindow::display() {
    const bool ready = preview_.has_value();
    model_->show(ready ? &preview_->reading.lessons : nullptr);
    problems_->clear();
    addNames_->hide();
    note_->clear();
    if (!loaded_) {
        found_->clear();
    } else if (!ready) {
        found_->setText(qs(si::kNoLayout));
    } else {
        found_->setText(qs(preview_->description(*loaded_)));
    }
    if (!ready) {
        lessonsTitle_->setText(QStringLiteral("读取到的课务"));
        problemsTitle_->setText(QStringLiteral("发现的问题"));
        ok_->setEnabled(false);
        return;
    }
    const auto& reading = preview_->reading;
    lessonsTitle_->setText(QStringLiteral("读取到的课务（%1节）").arg(reading.lessons.size()));
    const auto lines = preview_->problemLines();
    problemsTitle_->setText(QStringLiteral("发现的问题（%1处）").arg(lines.size()));
    for (const auto& line : lines) problems_->addItem(qs(line));
    if (!reading.newTeachers.empty()) {
        QString names;
        for (std::size_t i = 0; i < reading.newTeachers.size(); ++i)
            names += (i ? QStringLiteral("、") : QString()) + qs(reading.newTeachers[i]);
        addNames_->setText(QStringLiteral("把%1位新教师加入教师名单：%2（不加入则不导入他们的课）")
                               .arg(reading.newTeachers.size())
                               .arg(names));
        addNames_->show();
    }
    const auto plan = si::planOf(ctx_.store, *preview_, addNewTeachers_);
    QString note =
        QStringLiteral(
            "按“确定”将以这%1节课替换现有的全部课务情况（先自动备份）；按“取消”不作任何改动。")
            .arg(plan.rows.size());
    if (plan.coveredKept > 0)
        note += QStringLiteral("今天已代课的%1节课在新课表中不变，代课标记将保留。")
                    .arg(plan.coveredKept);
    if (!plan.coveredGone.empty())
        note += QStringLiteral("今天已代课的%1节课已不在新课表中。").arg(plan.coveredGone.size());
    note_->setText(note);
    ok_->setEnabled(!plan.rows.empty());
}

void SheetImportWindow::confirm() {
    if (!preview_ || !loaded_) return;
    std::filesystem::path backup;
    const auto outcome = si::apply(ctx_.store, *preview_, addNewTeachers_,
                                   [&] { backup = backupBefore(ctx_, "总课表导入前"); });
    std::string detailsFile;
    const auto path = inFolder(ctx_.programDir, si::kDetailsFile);
    try {
        const std::string text = si::details(*loaded_, *preview_, outcome.plan);
        safefile::write(path, [&](const std::filesystem::path& temp) {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out << text;
            out.close();
            if (!out) throw Failure(Failure::Kind::CannotWrite, "details");
        });
        detailsFile = utf8(path);
    } catch (const Failure&) {
        // The timetable is in; only the list of details could not be put beside it.
    }
    // The window's work is done: what follows asks the office, and the window is gone.
    RunContext& ctx = ctx_;
    close();
    if (ctx.platform.boxes.yesNo(
            qs(si::doneQuestion(outcome, ss(backupLine(backup)), detailsFile)))) {
        buildFreeTeachers(ctx.store);
        countDailyLessons(ctx.store);
        ctx.platform.boxes.ok(QStringLiteral("空课教师初始化和每日节数初始化完成！"));
    }
}

}  // namespace daike
