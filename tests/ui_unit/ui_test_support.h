// Shared by the tests of the windows and the painting: one QApplication for the whole program,
// made before the first test runs.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

namespace daike::testing {

class QtApplication : public ::testing::Environment {
  public:
    void SetUp() override {
        if (QCoreApplication::instance()) return;
        static int argc = 1;
        static char name[] = "daike_ui_tests";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
    }

  private:
    QApplication* app_ = nullptr;
};
[[maybe_unused]] inline auto* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplication);

}  // namespace daike::testing
