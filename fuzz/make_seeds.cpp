// Writes the seed inputs of the fuzz harnesses from the program's own documents: the default
// notice template, a timetable document as the program exports it, and a fresh database.
//   daike-fuzz-seeds DIR   (DIR/docx, DIR/timetable, DIR/notice, DIR/restore)
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "basedata/timetable_documents.h"
#include "documents/docx.h"
#include "documents/notice_template.h"
#include "store/store.h"

namespace fs = std::filesystem;

namespace {

void write(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: daike-fuzz-seeds DIR\n";
        return 2;
    }
    const fs::path out = argv[1];
    const auto notice = daike::defaultNoticeTemplate().toBytes();
    const auto timetable = daike::timetable_import::timetableDocument(
                               "张老师", daike::timetable_import::sampleTimetable())
                               .toBytes();
    for (const char* kind : {"docx", "timetable", "notice"}) {
        write(out / kind / "notice.docx", notice);
        write(out / kind / "timetable.docx", timetable);
    }
    const fs::path db = out / "restore-store";
    fs::remove_all(db);
    fs::create_directories(db);
    { daike::Store::open(db); }
    fs::create_directories(out / "restore");
    fs::copy_file(db / "代课.db", out / "restore" / "fresh.db",
                  fs::copy_options::overwrite_existing);
    fs::remove_all(db);
    return 0;
}
