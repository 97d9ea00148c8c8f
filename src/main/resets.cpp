#include "main/resets.h"

#include "store/store.h"

namespace daike {

void newDay(Store& store) {
    store.transaction([&] {
        store.emptyTable("代课教师");
        {
            auto rs = store.dkb("select * from 代课节数 ");
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) rs.set("当日代课", 0);
            rs.update();
        }
        {
            auto rs = store.dkb("select * from 任课情况 ");
            for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
                if (rs["标记"].isNull() && rs["已代标记"].isNull()) continue;
                rs.set("标记", nullptr);
                rs.set("已代标记", nullptr);
            }
            rs.update();
        }
        store.emptyTable("临时代课记录");
        store.emptyTable("需代课目情况");
        store.emptyTable("当天代课记录");
    });
}

}  // namespace daike
