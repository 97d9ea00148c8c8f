// One run of the program: the database of the program directory, the run-wide values and the
// main window. The real program and the scenario runner both start it this way.
#pragma once

#include <filesystem>
#include <memory>

#include "platform/platform.h"

namespace daike {

class Store;
class MainWindow;
class FitWhenShown;
struct RunContext;

class Program {
  public:
    // Opens the database (creating it on first start), works out the school calendar and shows
    // the main window. When the database cannot be opened the operator is told why and nothing
    // is returned; the file is left as it was.
    static std::unique_ptr<Program> start(Platform platform, const std::filesystem::path& dir);
    ~Program();

    Store& store() { return *store_; }
    RunContext& context() { return *ctx_; }
    MainWindow& mainWindow() { return *main_; }

  private:
    Program() = default;
    std::unique_ptr<Store> store_;
    std::unique_ptr<RunContext> ctx_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<FitWhenShown> fit_;  // keeps every window on the screen as it is shown
};

// The fonts of a Simplified Chinese desktop, whatever the machine's default.
void useChineseFonts();

// Qt's own texts (print preview, page setup, file dialogs, the standard buttons) in Chinese,
// and Chinese dates and numbers. Where Qt's translations are not installed the program starts
// all the same, those texts in English.
void useChineseTranslations();

}  // namespace daike
