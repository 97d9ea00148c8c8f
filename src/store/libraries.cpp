// The libraries the logic links, with the versions they report at run time.
#include <freexl.h>
#include <sqlcipher/sqlite3.h>
#include <unicode/uvernum.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <pugixml.hpp>

#include "store/program_version.h"

namespace daike {

std::vector<LibraryNotice> logicLibraries() {
    const std::string pugi =
        std::to_string(PUGIXML_VERSION / 1000) + "." + std::to_string(PUGIXML_VERSION % 1000 / 10);
    return {
        {"SQLCipher", std::string("SQLite ") + sqlite3_libversion(), "加密的数据库文件",
         "BSD 许可（SQLite 为公有领域）"},
        {"ICU", U_ICU_VERSION, "汉字按拼音排序、拼音首字母查找", "Unicode 许可"},
        {"libzip", zip_libzip_version(), "读写 Word 文档和 Excel 表格的压缩包", "BSD 3 条款许可"},
        {"pugixml", pugi, "读写文档中的 XML", "MIT 许可"},
        {"libxlsxwriter", LXW_VERSION, "导出 Excel 表格（.xlsx）", "BSD 2 条款许可"},
        {"FreeXL", freexl_version(), "读取旧版 Excel 表格（.xls）",
         "MPL 1.1、GPL 2 或 LGPL 2.1，任选其一"},
    };
}

}  // namespace daike
