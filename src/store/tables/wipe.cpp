#include "store/tables/wipe.h"

#include "store/store.h"

namespace daike::tables {

void emptyAllButSettings(Store& store) {
    static const char* const kTables[] = {
        "班级",     "代课记录",     "代课教师",   "代课节数",     "当天代课记录", "教师姓名",
        "开设课程", "可代教师",     "空课教师表", "临时代课记录", "临时运算表",   "每日节数表",
        "任课情况", "需代课目情况", "已通知代课", "已通知调课",
    };
    store.transaction([&] {
        for (const char* t : kTables) store.emptyTable(t);
    });
}

}  // namespace daike::tables
