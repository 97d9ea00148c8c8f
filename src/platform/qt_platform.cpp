#include "platform/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDate>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QTime>
#include <QWidget>

namespace daike {

namespace {

QMessageBox::StandardButton run(const QString& text, QMessageBox::Icon icon,
                                QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, QStringLiteral("代课"), text, buttons, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Ok, "确定"},
        {QMessageBox::Yes, "是"},
        {QMessageBox::No, "否"},
        {QMessageBox::Cancel, "取消"}};
    for (const auto& [b, caption] : captions)
        if (auto* button = box.button(b)) button->setText(QString::fromUtf8(caption));
    // The first button goes on, as Enter expects.
    if (buttons & QMessageBox::Yes)
        box.setDefaultButton(QMessageBox::Yes);
    else
        box.setDefaultButton(QMessageBox::Ok);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

void QtMessageBoxes::ok(const QString& text) {
    run(text, QMessageBox::Information, QMessageBox::Ok);
}

bool QtMessageBoxes::yesNo(const QString& text) {
    return run(text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtMessageBoxes::okCancel(const QString& text) {
    return run(text, QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

std::chrono::sys_days SystemClock::today() const {
    const QDate d = QDate::currentDate();
    return std::chrono::sys_days(std::chrono::year(d.year()) /
                                 std::chrono::month(static_cast<unsigned>(d.month())) /
                                 std::chrono::day(static_cast<unsigned>(d.day())));
}

std::chrono::seconds SystemClock::timeOfDay() const {
    return std::chrono::seconds(QTime::currentTime().msecsSinceStartOfDay() / 1000);
}

int QtScreen::widthPixels() const {
    auto* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 800;
}

int QtScreen::twipsPerPixel() const {
    auto* s = QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    return dpi > 0 ? static_cast<int>(1440.0 / dpi + 0.5) : 15;
}

std::vector<QRect> QtScreen::screenAreas() const {
    std::vector<QRect> areas;
    auto* primary = QGuiApplication::primaryScreen();
    if (primary) areas.push_back(primary->geometry());
    for (auto* s : QGuiApplication::screens())
        if (s != primary) areas.push_back(s->geometry());
    return areas;
}

void QtScreen::showFullScreen(QWidget& window, const QRect& area) {
    for (auto* s : QGuiApplication::screens())
        if (s->geometry() == area) window.setScreen(s);
    window.setGeometry(area);
    window.showFullScreen();
}

QRect QtScreen::availableArea() const {
    auto* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 800, 560);
}

double QtScreen::scale() const {
    auto* s = QGuiApplication::primaryScreen();
    return s ? s->devicePixelRatio() : 1.0;
}

QMargins QtScreen::windowFrame(const QWidget& window) const {
    // Once the window has been shown the window manager has said how it frames it.
    const QRect outer = window.frameGeometry(), inner = window.geometry();
    if (window.isVisible() && outer != inner)
        return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    return Screen::windowFrame(window);
}

void QtScreen::maximise(QWidget& window) const {
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void QtPointer::moveTo(QPoint screenPosition) {
    QCursor::setPos(screenPosition);
}

}  // namespace daike

namespace daike {

std::optional<QString> QtFileDialogs::openFile(const QString& caption, const QString& directory,
                                               const QString& filter) {
    const QString path =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, directory, filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtFileDialogs::saveFile(const QString& caption, const QString& suggested,
                                               const QString& filter) {
    const QString path =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggested, filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

bool QtPrinter::print(const QString& jobName, const QPageLayout& layout, const PagePainter& paint) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return false;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(jobName);
    printer.setPageLayout(layout);
    printer.setCopyCount(1);
    if (!printer.isValid()) return false;
    paint(printer);
    return printer.printerState() != QPrinter::Error;
}

void QtPrinter::preview(QWidget* parent, const QString& jobName, const QPageLayout& layout,
                        const PagePainter& paint) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(jobName);
    printer.setPageLayout(layout);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印预览 — ") + jobName);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&](QPrinter* p) { paint(*p); });
    dialog.resize(800, 530);
    dialog.exec();
}

void QtClipboard::setText(const QString& text) {
    QApplication::clipboard()->setText(text);
}

}  // namespace daike
