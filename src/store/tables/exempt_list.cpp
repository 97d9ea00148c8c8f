#include "store/tables/exempt_list.h"

#include "store/store.h"

namespace daike::exemptlist {

std::vector<std::string> names(Store& store) {
    std::vector<std::string> out;
    for (const auto& r : store.select("SELECT 姓名 FROM 公出表 ORDER BY rowid"))
        out.push_back(r[0].text());
    return out;
}

void add(Store& store, std::string_view name) {
    store.exec("INSERT INTO 公出表 (姓名) VALUES (?)", {Value(name)});
}

bool removeOne(Store& store, std::string_view name) {
    return store.exec(
               "DELETE FROM 公出表 WHERE rowid = (SELECT rowid FROM 公出表 WHERE 姓名=? "
               "ORDER BY rowid LIMIT 1)",
               {Value(name)}) > 0;
}

void replaceAll(Store& store, const std::vector<std::string>& names) {
    store.transaction([&] {
        store.emptyTable("公出表");
        for (const auto& n : names) add(store, n);
    });
}

}  // namespace daike::exemptlist
