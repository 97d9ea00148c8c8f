// Importing the timetable from the teachers' documents: 54 teachers' .docx read and the
// timetable replaced, and the same documents as .doc through one LibreOffice run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "basedata/demo_school.h"
#include "basedata/timetable_documents.h"
#include "basedata/timetable_import.h"
#include "documents/libreoffice.h"
#include "store/store.h"

namespace {

using namespace daike;
namespace ti = timetable_import;
namespace fs = std::filesystem;

constexpr int kTeachers = 54;

// A school of 54 teachers with every timetable written as 任课表/NAME.docx (and, when
// LibreOffice is there, as .doc in a second program directory sharing nothing else).
struct ImportSchool {
    fs::path dir, docDir;
    std::unique_ptr<Store> store;
    bool haveDoc = false;
    ImportSchool() {
        dir = fs::temp_directory_path() / ("daike-bench-import-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        store = Store::open(dir);
        demo::fillSchool(*store, demo::planFor(kTeachers));
        ti::exportTimetableDocuments(*store, dir);
        docDir = dir / "doc";
        if (const auto soffice = daike::libreoffice::find()) {
            std::string cmd = "cd \"" + (dir / ti::kDocumentFolder).string() + "\" && \"" +
                              soffice->string() + "\" -env:UserInstallation=file://" +
                              (dir / "profile").string() +
                              " --headless --convert-to doc --outdir \"" +
                              (docDir / ti::kDocumentFolder).string() + "\" *.docx >/dev/null 2>&1";
            haveDoc = std::system(cmd.c_str()) == 0;
        }
    }
    ~ImportSchool() {
        store.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
};

ImportSchool& school() {
    static ImportSchool s;
    return s;
}

void importFrom(const fs::path& programDir, benchmark::State& state) {
    auto& s = school();
    ti::FolderDocuments docs(programDir / ti::kDocumentFolder, ti::importTeachers(*s.store));
    const auto plan = ti::readDocuments(*s.store, {5, 3, 6}, docs);
    if (!plan) {
        state.SkipWithError(plan.refusal().message.c_str());
        return;
    }
    ti::replaceTimetable(*s.store, *plan, {});
    benchmark::DoNotOptimize(plan->rows.size());
}

// Goal: at most 1 s for the whole import of 54 .docx.
void BM_ImportDocx54(benchmark::State& state) {
    school();  // made before the clock runs
    for (auto _ : state) importFrom(school().dir, state);
}
BENCHMARK(BM_ImportDocx54)->Unit(benchmark::kMillisecond);

// Goal: at most 15 s for 54 .doc converted in one LibreOffice run and imported.
void BM_ImportDoc54OneLibreOfficeRun(benchmark::State& state) {
    if (!school().haveDoc) {
        state.SkipWithError("LibreOffice is not installed: no .doc to convert");
        return;
    }
    for (auto _ : state) importFrom(school().docDir, state);
}
BENCHMARK(BM_ImportDoc54OneLibreOfficeRun)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
