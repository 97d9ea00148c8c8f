#include "windows/basedata/timetable_import_panel.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <optional>

#include "basedata/timetable_documents.h"
#include "basedata/timetable_import.h"
#include "store/failure.h"
#include "store/paths.h"
#include "store/safe_file.h"
#include "ui/background_work.h"
#include "ui/backups.h"
#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace ti = timetable_import;

namespace {

constexpr QRect kPanel{4, 2, 792, 498};

// The picture of a sample timetable document: a page with its heading and the 6 × 5 table of
// the sample, as a teacher would type it.
QPixmap samplePicture(QSize size) {
    QPixmap pm(size);
    pm.fill(QColor(236, 236, 236));
    QPainter p(&pm);
    const QRect page(6, 4, size.width() - 12, size.height() - 8);
    p.fillRect(page, Qt::white);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(page.adjusted(0, 0, -1, -1));
    QFont f = p.font();
    f.setPointSize(10);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(page.left(), page.top() + 2, page.width(), 20), Qt::AlignCenter,
               QStringLiteral("某某老师课务表（第一个表格：6行 × 5列）"));
    const int top = page.top() + 24, left = page.left() + 8;
    const int cw = (page.width() - 16) / ti::kWeekdays;
    const int rh = (page.bottom() - 6 - top) / ti::kPeriods;
    f.setPointSize(7);
    f.setBold(false);
    p.setFont(f);
    const auto& sample = ti::sampleTimetable();
    for (int r = 0; r < ti::kPeriods; ++r) {
        for (int g = 0; g < ti::kWeekdays; ++g) {
            const QRect cell(left + g * cw, top + r * rh, cw, rh);
            p.setPen(Qt::black);
            p.drawRect(cell);
            p.drawText(cell.adjusted(2, 1, -2, -1), Qt::AlignCenter | Qt::TextWrapAnywhere,
                       qs(sample[static_cast<std::size_t>(r)][static_cast<std::size_t>(g)]));
        }
    }
    return pm;
}

QLabel* note(QWidget* parent, const QString& name, const QString& text, QRect at) {
    auto* l = makeLabel(parent, name, text, at);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& title, QRect at) {
    auto* g = new QGroupBox(title, parent);
    g->setObjectName(name);
    g->setGeometry(at);
    return g;
}

}  // namespace

TimetableImportPanel::TimetableImportPanel(RunContext& ctx, QWidget* parent)
    : QGroupBox(QStringLiteral("课务自动输入文档格式说明"), parent), ctx_(ctx) {
    setObjectName("Frame1");
    setGeometry(kPanel);
    setAutoFillBackground(true);

    auto* picture = makeLabel(this, "Image2", QString(), {10, 22, 380, 232});
    picture->setPixmap(samplePicture(picture->size()));

    auto* keys = frame(this, "Frame2", QStringLiteral("关键字符位置设定"), {10, 258, 380, 112});
    const char* const keyLabels[] = {"表示年级的字符从右往左数的位置",
                                     "表示班级的字符从右往左数的位置",
                                     "表示班级信息从右往左数字符总个数"};
    for (int i = 0; i < 3; ++i) {
        makeLabel(keys, arrayName("keyLabel", i), QString::fromUtf8(keyLabels[i]),
                  {12, 22 + i * 29, 262, 24});
        makeLineEdit(keys, QStringLiteral("Text%1").arg(i + 1), {282, 22 + i * 29, 80, 24});
    }

    auto* files = frame(this, "Frame4", QStringLiteral("导入用文件说明"), {10, 374, 380, 118});
    const auto folder = [this](const char* name) {
        return QStringLiteral("本机位置：") + qpath(inFolder(ctx_.programDir, name));
    };
    note(files, arrayName("fileNote", 0),
         QStringLiteral("    所有教师的课务表应放置于：本程序EXE文件所在目录\\任课表"),
         {10, 22, 360, 40})
        ->setToolTip(folder(ti::kDocumentFolder));
    note(files, arrayName("fileNote", 1),
         QStringLiteral("    导入文件样表位于：本程序EXE文件所在目录\\任课表样表"),
         {10, 64, 360, 40})
        ->setToolTip(folder(ti::kSampleFolder));

    auto* samples = frame(this, "Frame3", QStringLiteral("按左边的设定测试上图样本运算结果"),
                          {400, 22, 382, 176});
    makeButton(samples, "Command4", QStringLiteral("上图样本运算结果"), {10, 22, 170, 28});
    makeLabel(samples, arrayName("Label7", 0), QStringLiteral("课目"), {14, 56, 200, 20});
    makeLabel(samples, arrayName("Label7", 1), QStringLiteral("班级"), {230, 56, 120, 20});
    for (int i = 0; i < 4; ++i) {
        makeLabel(samples, arrayName("Label8", i), QString(), {14, 78 + i * 23, 200, 22});
        makeLabel(samples, arrayName("Label9", i), QString(), {230, 78 + i * 23, 120, 22});
    }

    auto* own = frame(this, "Frame6", QStringLiteral("自定义测试"), {400, 202, 382, 150});
    auto* text4 = new QPlainTextEdit(own);
    text4->setObjectName("Text4");
    text4->setGeometry(10, 22, 180, 118);
    text4->setPlainText(QStringLiteral("在此文本框内\n输入“自定义\n的课务及班级\n格式\n"));
    makeButton(own, "Command6", QStringLiteral("自定义运算结果"), {200, 22, 170, 28});
    for (int i = 6; i <= 7; ++i) {
        auto* l =
            makeLabel(own, arrayName("Label6", i), QString(), {200, 60 + (i - 6) * 30, 170, 24});
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->hide();
    }

    auto* start = frame(this, "Frame5", QStringLiteral("导入用文件说明"), {400, 356, 382, 136});
    note(start, "importNote",
         QStringLiteral(
             "    样本运算结果正确，说明关键字符位置设定正确，可按右面的导入按钮正式进行课务导入"),
         {10, 22, 250, 104});
    makeButton(start, "Command5", QStringLiteral("课务导入"), {268, 50, 104, 34});

    auto* confirm = frame(this, "Frame7", QStringLiteral("再次验证课务和班级的格式正确性"),
                          {400, 356, 382, 136});
    confirm->setAutoFillBackground(true);
    const char* const shown[] = {"课务：", "", "班级：", ""};
    for (int i = 0; i < 4; ++i)
        makeLabel(confirm, arrayName("Label10", i), QString::fromUtf8(shown[i]),
                  {i % 2 ? 64 : 14, 24 + (i / 2) * 28, i % 2 ? 300 : 50, 24});
    makeButton(confirm, arrayName("Command7", 0), QStringLiteral("开始进行导入"),
               {40, 90, 140, 32});
    makeButton(confirm, arrayName("Command7", 1), QStringLiteral("尚需要修改"), {200, 90, 140, 32});
    confirm->hide();

    // The progress display of the main window.
    progress_ = new QFrame(parent);
    progress_->setObjectName("importProgress");
    progress_->setGeometry(250, 190, 300, 100);
    progress_->setAutoFillBackground(true);
    makeLabel(progress_, "Label1", QStringLiteral("正在导入各位教师的课务表，请稍候……"),
              {14, 14, 272, 24})
        ->setAlignment(Qt::AlignCenter);
    makeLabel(progress_, "Label4", QStringLiteral("完成"), {100, 52, 50, 28});
    auto* percent = makeLabel(progress_, "Label5", QString(), {150, 52, 60, 28});
    QFont big = percent->font();
    big.setPointSize(14);
    big.setBold(true);
    percent->setFont(big);
    // Two frames of lines round the display.
    const QRect rings[] = {{0, 0, 300, 100}, {4, 4, 292, 92}};
    for (int k = 0; k < 8; ++k) {
        const QRect& r = rings[k / 4];
        auto* line = new QFrame(progress_);
        line->setObjectName(QStringLiteral("Line%1").arg(k + 3));
        const int side = k % 4;
        line->setFrameShape(side < 2 ? QFrame::HLine : QFrame::VLine);
        line->setFrameShadow(QFrame::Plain);
        if (side == 0) line->setGeometry(r.left(), r.top(), r.width(), 1);
        if (side == 1) line->setGeometry(r.left(), r.bottom(), r.width(), 1);
        if (side == 2) line->setGeometry(r.left(), r.top(), 1, r.height());
        if (side == 3) line->setGeometry(r.right(), r.top(), 1, r.height());
    }
    progress_->hide();

    auto on = [this](const char* button, void (TimetableImportPanel::*what)()) {
        connect(findChild<QPushButton*>(button), &QPushButton::clicked, this,
                [this, what] { runAction(ctx_, [this, what] { (this->*what)(); }); });
    };
    on("Command4", &TimetableImportPanel::sampleTest);
    on("Command6", &TimetableImportPanel::customTest);
    on("Command5", &TimetableImportPanel::checkPass);
    on("Command7_0", &TimetableImportPanel::confirmImport);
    on("Command7_1", &TimetableImportPanel::abandon);
    hide();
}

void TimetableImportPanel::open() {
    std::error_code ec;
    std::filesystem::create_directories(inFolder(ctx_.programDir, ti::kDocumentFolder), ec);
    ti::ensureSampleDocuments(ctx_.programDir);
    show();
    raise();
}

namespace {
ti::KeyPositions positionsOf(QWidget* panel) {
    auto box = [panel](const char* name) { return ss(panel->findChild<QLineEdit*>(name)->text()); };
    return ti::positionsFrom(box("Text1"), box("Text2"), box("Text3"));
}
void setLabel(QWidget* panel, const QString& name, const std::string& text) {
    panel->findChild<QLabel*>(name)->setText(qs(text));
}
}  // namespace

void TimetableImportPanel::sampleTest() {
    for (int i = 6; i <= 7; ++i) findChild<QLabel*>(arrayName("Label6", i))->hide();
    const auto t = ti::sampleTest(positionsOf(this));
    for (std::size_t i = 0; i < ti::kSamples.size(); ++i) {
        const bool read = i < t.results.size();
        setLabel(this, arrayName("Label8", static_cast<int>(i)), read ? t.results[i].subject : "");
        setLabel(this, arrayName("Label9", static_cast<int>(i)),
                 read ? t.results[i].className : "");
    }
    if (!t.ok) ctx_.platform.boxes.ok(qs(ti::kPositionTooLarge));
}

void TimetableImportPanel::customTest() {
    for (int i = 6; i <= 7; ++i) findChild<QLabel*>(arrayName("Label6", i))->show();
    const auto r =
        ti::customTest(ss(findChild<QPlainTextEdit*>("Text4")->toPlainText()), positionsOf(this));
    if (showIfRefused(ctx_, r)) return;
    setLabel(this, arrayName("Label6", 6), r->subject);
    setLabel(this, arrayName("Label6", 7), r->className);
    for (int i = 0; i < 4; ++i) {
        setLabel(this, arrayName("Label8", i), "");
        setLabel(this, arrayName("Label9", i), "");
    }
}

void TimetableImportPanel::checkPass() {
    mode_ = 0;
    findChild<QWidget*>("Frame7")->hide();
    auto documents = readAhead();
    if (!documents) return;
    const ti::CheckOutcome c = ti::checkPass(ctx_.store, positionsOf(this), *documents);
    if (c.kind != ti::CheckOutcome::Kind::FirstLesson) {
        ctx_.platform.boxes.ok(qs(c.message));
        return;
    }
    setLabel(this, arrayName("Label10", 1), c.lesson.subject);
    setLabel(this, arrayName("Label10", 3), c.lesson.className);
    auto* confirm = findChild<QWidget*>("Frame7");
    confirm->show();
    confirm->raise();
}

void TimetableImportPanel::confirmImport() {
    mode_ = 1;
    findChild<QWidget*>("Frame7")->hide();
    hide();
    auto documents = readAhead();
    if (!documents) return;
    const auto read = ti::readDocuments(ctx_.store, positionsOf(this), *documents);
    if (showIfRefused(ctx_, read)) return;
    const ti::ImportPlan& plan = *read;
    // The details go to a file beside the database, which the office can open and print.
    std::string detailsFile;
    if (!plan.skipped.empty() || !plan.doubles.empty()) {
        const auto path = inFolder(ctx_.programDir, ti::kDetailsFile);
        // Whole or not at all; when it cannot be written the question simply does not name it.
        try {
            safefile::write(path, [&](const std::filesystem::path& temp) {
                std::ofstream out(temp, std::ios::binary | std::ios::trunc);
                out << plan.details();
                out.close();
                if (!out) throw Failure(Failure::Kind::CannotWrite, "details");
            });
            detailsFile = utf8(path);
        } catch (const Failure&) {
        }
    }
    if (!ctx_.platform.boxes.okCancel(qs(plan.summary(detailsFile)))) return;
    ti::replaceTimetable(ctx_.store, plan, [this] { backupBefore(ctx_, "课务导入前"); });
    ctx_.platform.boxes.ok(qs(ti::kAllRead));
}

void TimetableImportPanel::abandon() {
    mode_ = 0;
    findChild<QWidget*>("Frame7")->hide();
    hide();
}

std::optional<ti::ReadAhead> TimetableImportPanel::readAhead() {
    // The store is read here, on the window's thread; the documents away from it, so that the
    // window stays drawn and a long reading can be stopped. 取消 changes nothing.
    showProgress(0);
    struct HideProgress {
        TimetableImportPanel* panel;
        ~HideProgress() { panel->hideProgress(); }
    } hideAfter{this};
    const auto teachers = ti::importTeachers(ctx_.store);
    ti::FolderDocuments folder(inFolder(ctx_.programDir, ti::kDocumentFolder), teachers);
    std::optional<ti::ReadAhead> documents;
    const bool finished = runWithProgress(
        this, QStringLiteral("正在读取各位教师的课务表……"),
        [&](const std::function<void(int)>& progress, const std::atomic<bool>& stop) {
            documents = ti::ReadAhead::of(folder, teachers, progress, stop);
        },
        [this](int p) { showProgress(p); });
    if (!finished) documents.reset();
    return documents;
}

void TimetableImportPanel::showProgress(int percent) {
    progress_->findChild<QLabel*>("Label5")->setText(QString::number(percent) + "%");
    progress_->show();
    progress_->raise();
    // The import runs to its end before the next event: draw the figure now.
    progress_->repaint();
}

void TimetableImportPanel::hideProgress() {
    progress_->hide();
}

}  // namespace daike
