#include "ui/background_work.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace daike {
namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "daike_ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication a(argc, argv);
    return a;
}

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TEST(BackgroundWork, TheWorkRunsAwayFromTheWindowAndItsPercentIsShown) {
    app();
    QWidget window;
    const auto windowThread = std::this_thread::get_id();
    std::thread::id workThread;
    std::vector<int> shown;
    const bool finished = runWithProgress(
        &window, "读取",
        [&](const std::function<void(int)>& progress, const std::atomic<bool>&) {
            workThread = std::this_thread::get_id();
            for (int p : {25, 50, 100}) {
                progress(p);
                sleepMs(60);
            }
        },
        [&](int p) { shown.push_back(p); });
    EXPECT_TRUE(finished);
    EXPECT_NE(workThread, windowThread);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), 100);
}

TEST(BackgroundWork, CancelStopsTheWorkAndAThrowArrivesOnTheWindowsThread) {
    app();
    QWidget window;
    QTimer::singleShot(150, &window, [&] {
        // As the operator would: the dialog's own 取消 button.
        if (auto* d = window.findChild<QProgressDialog*>("progressDialog"))
            if (auto* button = d->findChild<QPushButton*>()) button->click();
    });
    int rounds = 0;
    const bool finished = runWithProgress(
        &window, "读取", [&](const std::function<void(int)>&, const std::atomic<bool>& stop) {
            while (!stop && rounds < 400) {
                ++rounds;
                sleepMs(10);
            }
        });
    EXPECT_FALSE(finished);
    EXPECT_LT(rounds, 400) << "the work was never told to stop";

    EXPECT_THROW(runWithProgress(&window, "读取",
                                 [](const std::function<void(int)>&, const std::atomic<bool>&) {
                                     throw std::runtime_error("文档无法读取");
                                 }),
                 std::runtime_error);
}

TEST(BackgroundWork, ClicksElsewhereDoNotReachTheProgramMeanwhile) {
    app();
    QWidget window;
    auto* other = new QPushButton("新的一天", &window);
    other->resize(100, 30);
    window.show();
    bool clicked = false;
    QObject::connect(other, &QPushButton::clicked, [&] { clicked = true; });
    QTimer::singleShot(50, other, [&] {
        const QPointF at(10, 10);
        QMouseEvent press(QEvent::MouseButtonPress, at, other->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, other->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(other, &press);
        QApplication::sendEvent(other, &release);
    });
    runWithProgress(&window, "读取", [](const std::function<void(int)>&, const std::atomic<bool>&) {
        sleepMs(200);
    });
    EXPECT_FALSE(clicked);
}

}  // namespace
}  // namespace daike
