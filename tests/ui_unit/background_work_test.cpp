#include "ui/background_work.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "test_application.h"

namespace daike {
namespace {

using testing::app;

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

// A window that counts the requests to close it.
class Counting : public QWidget {
  public:
    int closeRequests = 0;

  protected:
    void closeEvent(QCloseEvent* e) override {
        ++closeRequests;
        e->ignore();
    }
};

TEST(BackgroundWork, TheOperatorsRequestsElsewhereDoNotReachTheProgramMeanwhile) {
    app();
    QWidget window;
    Counting other;
    QTimer::singleShot(50, &other, [&] {
        QCloseEvent close;
        QApplication::sendEvent(&other, &close);
    });
    runWithProgress(&window, "读取", [](const std::function<void(int)>&, const std::atomic<bool>&) {
        sleepMs(200);
    });
    EXPECT_EQ(other.closeRequests, 0) << "a window was closed while the work ran";
    QCloseEvent after;
    QApplication::sendEvent(&other, &after);
    EXPECT_EQ(other.closeRequests, 1) << "the gate stayed shut";
}

}  // namespace
}  // namespace daike
