// daike-demo [--timetables] DIR: writes the demo school into DIR/代课.db, ready to use, so that a
// new user sees a working school at once. An existing database is never touched. With
// --timetables every teacher's timetable is also written as DIR/任课表/NAME.docx, documents the
// timetable import reads back.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "basedata/demo_school.h"
#include "basedata/timetable_documents.h"
#include "store/paths.h"
#include "store/store.h"

int main(int argc, char** argv) {
    using namespace daike;
    const bool timetables = argc == 3 && std::string(argv[1]) == "--timetables";
    if (argc != 2 && !timetables) {
        std::cerr << "用法：daike-demo [--timetables] 目录\n在该目录中建立示范学校的数据库 "
                  << Store::kFileName
                  << "；加 --timetables 时另把每位教师的课务表写成 任课表/姓名.docx。\n";
        return 2;
    }
    // argv comes in the system's narrow encoding, the one a path reads a char* in.
    const std::filesystem::path dir(argv[argc - 1]);  // native path
    std::error_code ec;
    if (std::filesystem::exists(inFolder(dir, Store::kFileName), ec)) {
        std::cerr << "目录“" << utf8(dir) << "”中已有数据库 " << Store::kFileName
                  << "，示范学校没有写入，原有数据保持不变。\n";
        return 1;
    }
    try {
        auto store = Store::open(dir);
        // A school only half written is no use: the new file goes again on failure.
        struct RemoveUnlessDone {
            std::filesystem::path file;
            bool done = false;
            ~RemoveUnlessDone() {
                std::error_code ignored;
                if (!done) std::filesystem::remove(file, ignored);
            }
        } cleanup{store->file()};
        auto plan = demo::demoPlan();
        const auto now = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
        plan.termStart = demo::termStartBefore(calendar::Day(now));
        const auto school = demo::fillSchool(*store, plan);
        std::cout << "示范学校已写入 " << utf8(store->file()) << "：" << school.teachers.size()
                  << " 位教师，" << school.classes.size() << " 个班，" << school.lessons
                  << " 节课。\n";
        if (timetables) {
            const int written = timetable_import::exportTimetableDocuments(*store, dir);
            std::cout << "课务表已写入 " << utf8(inFolder(dir, timetable_import::kDocumentFolder))
                      << "：" << written << " 份。\n";
        }
        cleanup.done = true;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
