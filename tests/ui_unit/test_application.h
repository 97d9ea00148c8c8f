// The one application object of a toolkit test program: the one the test environment made
// (ui_test_support.h), else one made on first use. Never a second: Qt allows one per process.
#pragma once

#include <QApplication>

namespace daike::testing {

inline QApplication& app() {
    if (auto* made = qobject_cast<QApplication*>(QCoreApplication::instance())) return *made;
    static int argc = 1;
    static char name[] = "daike_ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication a(argc, argv);
    return a;
}

}  // namespace daike::testing
