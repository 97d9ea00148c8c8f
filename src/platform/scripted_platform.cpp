#include "platform/scripted_platform.h"

#include <QDir>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <QWidget>

namespace daike {

using namespace std::chrono;

void FixedScreen::setWidth(int pixels) {
    width_ = pixels;
    height_ = pixels * 3 / 4;
    scale_ = 1.0;
    device_ = QSize(width_, height_);
    sizes_.clear();
}

void FixedScreen::setSize(int width, int height, int percent) {
    scale_ = percent / 100.0;
    width_ = static_cast<int>(width / scale_);
    height_ = static_cast<int>(height / scale_);
    device_ = QSize(width, height);
    sizes_.clear();
}

void FixedScreen::setSizes(const std::vector<QSize>& sizes) {
    sizes_ = sizes;
    scale_ = 1.0;
    if (!sizes.empty()) {
        width_ = sizes.front().width();
        height_ = sizes.front().height();
        device_ = sizes.front();
    }
}

QRect FixedScreen::availableArea() const {
    return QRect(0, 0, width_, height_ - kTaskbar);
}

std::vector<QRect> FixedScreen::screenAreas() const {
    if (sizes_.empty()) return {QRect(0, 0, width_, height_)};
    std::vector<QRect> areas;
    int x = 0;
    for (const auto& s : sizes_) {
        areas.push_back(QRect(QPoint(x, 0), s));
        x += s.width();
    }
    return areas;
}

void FixedScreen::showFullScreen(QWidget& window, const QRect& area) {
    shownOn_.push_back(area);
    // Shown full screen on purpose: not a window to fit into the available area.
    window.setProperty("fullScreenOn", area);
    window.setGeometry(area);
    window.show();
}

ScriptedPlatform::ScriptedPlatform() : clock(sys_days(year(2024) / March / day(20))) {}

QString ScriptedMessageBoxes::take(Kind kind, const QString& text, const QString& first,
                                   const QString& second) {
    QString answer = first;
    if (answers_.empty() && random_) {
        answer = std::uniform_int_distribution<int>(0, 1)(rng_) ? second : first;
    } else if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
        if (answer != first && answer != second) {
            mismatches_.push_back("“" + text + "”没有按钮“" + answer + "”");
            answer = first;
        }
    }
    shown_.push_back({kind, text, answer});
    return answer;
}

void ScriptedMessageBoxes::ok(const QString& text) {
    take(Kind::Ok, text, QStringLiteral("确定"), QStringLiteral("确定"));
}

bool ScriptedMessageBoxes::yesNo(const QString& text) {
    return take(Kind::YesNo, text, QStringLiteral("是"), QStringLiteral("否")) ==
           QStringLiteral("是");
}

bool ScriptedMessageBoxes::okCancel(const QString& text) {
    return take(Kind::OkCancel, text, QStringLiteral("确定"), QStringLiteral("取消")) ==
           QStringLiteral("确定");
}

}  // namespace daike

namespace daike {

std::optional<QString> ScriptedFileDialogs::openFile(const QString& caption,
                                                     const QString& directory, const QString&) {
    std::optional<QString> answer;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    shown_.push_back({false, caption, directory, answer});
    return answer;
}

std::optional<QString> ScriptedFileDialogs::saveFile(const QString& caption,
                                                     const QString& suggested, const QString&) {
    std::optional<QString> answer = suggested;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    shown_.push_back({true, caption, suggested, answer});
    return answer;
}

namespace {

// A PDF writer that counts the pages drawn: one, and one more for every newPage().
class CountingPdfWriter : public QPdfWriter {
  public:
    using QPdfWriter::QPdfWriter;
    bool newPage() override {
        ++pages_;
        return QPdfWriter::newPage();
    }
    int pages() const { return pages_; }

  private:
    int pages_ = 1;
};

}  // namespace

PdfPrinter::Job PdfPrinter::write(const QString& jobName, const QPageLayout& layout,
                                  const PagePainter& paint, bool preview) {
    Job job{jobName, {}, 0, preview};
    QDir().mkpath(dir_.isEmpty() ? QStringLiteral(".") : dir_);
    job.pdfPath =
        QDir(dir_.isEmpty() ? QStringLiteral(".") : dir_)
            .filePath(QStringLiteral("%1-%2.pdf")
                          .arg(preview ? QStringLiteral("preview") : QStringLiteral("printed"))
                          .arg(jobs_.size() + 1));
    CountingPdfWriter pdf(job.pdfPath);
    pdf.setPageLayout(layout);
    pdf.setResolution(300);
    paint(pdf);
    job.pages = pdf.pages();
    return job;
}

bool PdfPrinter::print(const QString& jobName, const QPageLayout& layout,
                       const PagePainter& paint) {
    if (!available_) return false;
    jobs_.push_back(write(jobName, layout, paint, false));
    return true;
}

void PdfPrinter::preview(QWidget* parent, const QString& jobName, const QPageLayout& layout,
                         const PagePainter& paint) {
    jobs_.push_back(write(jobName, layout, paint, true));
    if (!whileOpen_) return;
    auto whileOpen = std::move(whileOpen_);
    whileOpen_ = nullptr;
    // The dialog as QtPrinter shows it, drawing on a PDF printer (there is no real one here).
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(jobs_.back().pdfPath + QStringLiteral(".dialog.pdf"));
    printer.setDocName(jobName);
    printer.setPageLayout(layout);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(QStringLiteral("打印预览 — ") + jobName);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&](QPrinter* p) { paint(*p); });
    dialog.resize(800, 530);
    QTimer::singleShot(0, &dialog, [&] {
        whileOpen(dialog);
        dialog.reject();
    });
    dialog.exec();
}

}  // namespace daike
