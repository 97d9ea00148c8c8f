#include "ui/background_work.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <exception>
#include <thread>

namespace daike {

namespace {

// Keeps the operator's clicks and keys from every window but the progress dialog.
class InputGate : public QObject {
  public:
    explicit InputGate(QWidget* open) : open_(open) { qApp->installEventFilter(this); }
    ~InputGate() override { qApp->removeEventFilter(this); }
    InputGate(const InputGate&) = delete;
    InputGate& operator=(const InputGate&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Wheel:
            case QEvent::Close:
                break;
            default:
                return false;
        }
        for (auto* o = watched; o; o = o->parent())
            if (o == open_) return false;
        return true;
    }

  private:
    QWidget* open_;
};

}  // namespace

bool runWithProgress(QWidget* parent, const QString& label, const BackgroundWork& work,
                     const std::function<void(int percent)>& shown) {
    std::atomic<int> percent{0};
    std::atomic<bool> stop{false}, done{false};
    std::exception_ptr error;

    QProgressDialog dialog(label, QStringLiteral("取消"), 0, 100, parent);
    dialog.setObjectName("progressDialog");
    dialog.setWindowTitle(QStringLiteral("代课"));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setMinimumDuration(400);
    QObject::connect(&dialog, &QProgressDialog::canceled, [&] {
        stop = true;
        dialog.setLabelText(QStringLiteral("正在取消……"));
    });
    InputGate gate(&dialog);

    std::thread worker([&] {
        try {
            work([&](int p) { percent = p; }, stop);
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
    });
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(25);
    int told = -1;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (dialog.wasCanceled()) stop = true;
        const int now = percent;
        if (!stop) dialog.setValue(now);
        if (shown && now != told) shown(now);
        told = now;
        if (done) loop.quit();
    });
    tick.start();
    if (!done) loop.exec();
    worker.join();
    tick.stop();
    dialog.hide();
    if (error) std::rethrow_exception(error);
    return !stop;
}

}  // namespace daike
