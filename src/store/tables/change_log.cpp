#include "store/tables/change_log.h"

#include "store/store.h"

namespace daike::changelog {

void append(Store& store, const ChangeLogEntry& e) {
    store.exec("INSERT INTO 修改记录 (时间, 操作, 之前, 之后) VALUES (?, ?, ?, ?)",
               {Value(e.when), Value(e.what), Value(e.before), Value(e.after)});
}

std::vector<ChangeLogEntry> newestFirst(Store& store) {
    std::vector<ChangeLogEntry> out;
    for (auto& r : store.select("SELECT 时间, 操作, 之前, 之后 FROM 修改记录 ORDER BY rowid DESC"))
        out.push_back({r[0].takeText(), r[1].takeText(), r[2].takeText(), r[3].takeText()});
    return out;
}

}  // namespace daike::changelog
