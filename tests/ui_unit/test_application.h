// The one application object of a toolkit test program, made on first use.
#pragma once

#include <QApplication>

namespace daike::testing {

inline QApplication& app() {
    static int argc = 1;
    static char name[] = "daike_ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication a(argc, argv);
    return a;
}

}  // namespace daike::testing
