// daike-demo DIR: writes the demo school into DIR/代课.db, ready to use, so that a new user sees
// a working school at once. An existing database is never touched.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "basedata/demo_school.h"
#include "store/store.h"

int main(int argc, char** argv) {
    using namespace daike;
    if (argc != 2) {
        std::cerr << "用法：daike-demo 目录\n在该目录中建立示范学校的数据库 " << Store::kFileName
                  << "。\n";
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    if (std::filesystem::exists(dir / Store::kFileName, ec)) {
        std::cerr << "目录“" << dir.string() << "”中已有数据库 " << Store::kFileName
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
        std::cout << "示范学校已写入 " << store->file().string() << "：" << school.teachers.size()
                  << " 位教师，" << school.classes.size() << " 个班，" << school.lessons
                  << " 节课。\n";
        cleanup.done = true;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
