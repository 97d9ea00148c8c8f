#include "windows/main/record_viewer.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "ui/run_context.h"
#include "ui/widgets.h"

namespace daike {

namespace {
constexpr int kRows = 6;
constexpr int kCells = 16;
// Widths of the sixteen cells of a sentence, in pixels: names and reasons get room for four
// characters, the fixed words just their own.
constexpr int kWidths[kCells] = {64, 48, 64, 32, 64, 48, 52, 18, 34, 18, 14, 18, 76, 18, 14, 18};
constexpr int kLeft = 70, kTop = 60, kRowHeight = 44, kNumberWidth = 44;
}  // namespace

RecordViewer::RecordViewer(RunContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName("recordViewer");
    setAutoFillBackground(true);
    setGeometry(0, 0, 800, 500);

    auto* heading = makeLabel(this, "Label1", QStringLiteral("本次代课记录（按代课教师排列）"),
                              {kLeft, 16, 500, 28});
    QFont headFont = heading->font();
    headFont.setPointSize(13);
    headFont.setBold(true);
    heading->setFont(headFont);

    heading_ = heading;
    // Which cover: this visit of the assignment screen, or the whole working day.
    session_ = new QRadioButton(QString::fromUtf8(kSessionScopeName), this);
    session_->setObjectName("scopeSession");
    session_->setGeometry(kLeft + 480, 18, 70, 26);
    session_->setChecked(true);
    today_ = new QRadioButton(QString::fromUtf8(kTodayScopeName), this);
    today_->setObjectName("scopeToday");
    today_->setGeometry(kLeft + 555, 18, 100, 26);
    connect(session_, &QRadioButton::clicked, this, [this] { showScope(NoticeScope::Session); });
    connect(today_, &QRadioButton::clicked, this, [this] { showScope(NoticeScope::Today); });

    QFont cellFont = font();
    cellFont.setPointSize(11);
    int gridWidth = 0;
    for (int w : kWidths) gridWidth += w;
    for (int r = 0; r < kRows; ++r) {
        const int y = kTop + r * kRowHeight;
        auto* number = makeLabel(this, arrayName("Label3", r), QString(),
                                 {kLeft, y, kNumberWidth - 6, kRowHeight});
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        number->setFont(cellFont);
        rowNumbers_.push_back(number);
        int x = kLeft + kNumberWidth;
        for (int c = 0; c < kCells; ++c) {
            auto* cell = makeLabel(this, arrayName("Label2", kCells * r + c), QString(),
                                   {x, y, kWidths[c], kRowHeight});
            cell->setAlignment(Qt::AlignCenter);
            cell->setFont(cellFont);
            cells_.push_back(cell);
            x += kWidths[c];
        }
    }
    // Grid lines: Line3 … Line9 between and around the six rows, Line10 after the numbers.
    for (int k = 0; k <= kRows; ++k) {
        auto* line = new QFrame(this);
        line->setObjectName(QStringLiteral("Line%1").arg(3 + k));
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Plain);
        line->setGeometry(kLeft, kTop + k * kRowHeight - 1, kNumberWidth + gridWidth, 2);
    }
    auto* vertical = new QFrame(this);
    vertical->setObjectName("Line10");
    vertical->setFrameShape(QFrame::VLine);
    vertical->setFrameShadow(QFrame::Plain);
    vertical->setGeometry(kLeft + kNumberWidth - 2, kTop, 2, kRows * kRowHeight);

    const int by = kTop + kRows * kRowHeight + 24;
    previous_ = makeButton(this, "Command1", QStringLiteral("上一页"), {kLeft, by, 90, 32});
    next_ = makeButton(this, "Command2", QStringLiteral("下一页"), {kLeft + 100, by, 90, 32});
    print_ = makeButton(this, "Command8", QStringLiteral("打  印"), {kLeft + 200, by, 90, 32});
    auto* preview =
        makeButton(this, "previewButton", QStringLiteral("打印预览"), {kLeft + 300, by, 90, 32});
    auto* pdf =
        makeButton(this, "savePdfButton", QStringLiteral("另存为PDF"), {kLeft + 400, by, 100, 32});
    exit_ = makeButton(this, "Command3", QStringLiteral("退出查看"), {kLeft + 510, by, 90, 32});

    connect(previous_, &QPushButton::clicked, this, [this] { previousPage(); });
    connect(next_, &QPushButton::clicked, this, [this] { nextPage(); });
    connect(print_, &QPushButton::clicked, this, &RecordViewer::printRequested);
    connect(preview, &QPushButton::clicked, this, &RecordViewer::previewRequested);
    connect(pdf, &QPushButton::clicked, this, &RecordViewer::pdfRequested);
    connect(exit_, &QPushButton::clicked, this, [this] { closeView(); });
    hide();
}

void RecordViewer::setPartsVisible(bool visible) {
    setVisible(visible);
    if (visible) raise();
}

void RecordViewer::open() {
    setPartsVisible(true);
    for (auto* c : cells_) c->clear();
    previous_->setEnabled(true);
    next_->setEnabled(true);
    exit_->setEnabled(true);
    page_ = 0;
    session_->setChecked(scope_ == NoticeScope::Session);
    today_->setChecked(scope_ == NoticeScope::Today);
    heading_->setText(scope_ == NoticeScope::Today
                          ? QStringLiteral("今天全部代课记录（按代课教师排列）")
                          : QStringLiteral("本次代课记录（按代课教师排列）"));
    records_ = readCover(ctx_.store, scope_);
    const int n = static_cast<int>(records_.size());
    if (n == 0) {
        previous_->setEnabled(false);
        next_->setEnabled(false);
        ctx_.platform.boxes.ok(scope_ == NoticeScope::Today
                                   ? QString::fromUtf8(kNoCoverToday)
                                   : QStringLiteral("无代课记录（请确认）！"));
        setPartsVisible(false);
        previous_->setEnabled(false);
        next_->setEnabled(false);
        exit_->setEnabled(false);
        pages_ = 0;
        return;
    }
    pages_ = n / kRows + (n % kRows != 0 ? 1 : 0);
    nextPage();
}

void RecordViewer::showScope(NoticeScope scope) {
    if (scope == scope_ && page_ > 0) return;
    scope_ = scope;
    open();
}

void RecordViewer::nextPage() {
    if (page_ >= pages_) return;
    ++page_;
    previous_->setEnabled(page_ != 1);
    next_->setEnabled(page_ != pages_);
    showPage();
}

void RecordViewer::previousPage() {
    if (page_ <= 1) return;
    --page_;
    next_->setEnabled(true);
    previous_->setEnabled(page_ != 1);
    showPage();
}

// Every page is shown, however many records there are (the first records of a long day are not
// the only ones an office needs to check).
void RecordViewer::showPage() {
    const int first = kRows * (page_ - 1);
    for (int r = 0; r < kRows; ++r) {
        rowNumbers_[static_cast<std::size_t>(r)]->setText(QString::number(first + r + 1) +
                                                          QStringLiteral("、"));
        const int index = first + r;
        std::array<std::string, kCells> texts{};
        if (index < static_cast<int>(records_.size()))
            texts = viewerCells(records_[static_cast<std::size_t>(index)]);
        for (int c = 0; c < kCells; ++c)
            cells_[static_cast<std::size_t>(kCells * r + c)]->setText(
                qs(texts[static_cast<std::size_t>(c)]));
    }
}

void RecordViewer::closeView() {
    setPartsVisible(false);
}

}  // namespace daike
