// .xls workbooks of the older spreadsheet programs, read with FreeXL. FreeXL reads every cell's
// value but not the merged cells, so `merged` stays empty for an .xls file: a merged title or
// weekday reads as its first cell and empty cells beside it.
#include <freexl.h>

#include <filesystem>
#include <system_error>

#include "documents/document_limits.h"
#include "documents/spreadsheet.h"
#include "documents/spreadsheet_detail.h"
#include "documents/zip_parts.h"
#include "store/failure.h"

namespace daike::spreadsheet {

namespace {

using namespace detail;

[[noreturn]] void refuse(int error, const std::string& name, const std::string& path) {
    switch (error) {
        case FREEXL_FILE_NOT_FOUND:
            throw Failure(Failure::Kind::NotFound, "找不到文件" + zip_parts::inQuotes(path) + "。");
        case FREEXL_INSUFFICIENT_MEMORY:
            zip_parts::tooLarge(zip_parts::kSpreadsheet, name, "需要的内存超过了本机可用的内存");
        case FREEXL_INVALID_CFBF_HEADER:
        case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
        case FREEXL_BIFF_INVALID_BOF:
            notASpreadsheet(name);
        default:
            damaged(name);
    }
}

}  // namespace

Workbook readXls(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) throw Failure(Failure::Kind::NotFound, "找不到文件" + zip_parts::inQuotes(file) + "。");
    if (size > kFileBytes)
        zip_parts::tooLarge(zip_parts::kSpreadsheet, name,
                            "有" + document_limits::sizeText(size) + "（最多" +
                                document_limits::sizeText(kFileBytes) + "）");
    const void* handle = nullptr;
    const int opened = freexl_open(file.c_str(), &handle);
    struct Closer {
        const void* handle;
        ~Closer() {
            if (handle) freexl_close(handle);
        }
    } closer{handle};
    if (opened != FREEXL_OK) refuse(opened, name, file.string());
    unsigned int info = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED)
        encrypted(name);
    unsigned int sheetCount = 0;
    if (const int e = freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount); e != FREEXL_OK)
        refuse(e, name, file.string());
    if (sheetCount > static_cast<unsigned>(kSheets))
        beyondLimit(whereText(name, "") + "有" + std::to_string(sheetCount) + "张工作表",
                    std::to_string(kSheets) + "张");

    Workbook book;
    book.format = Format::Xls;
    std::int64_t cells = 0;
    for (unsigned short s = 0; s < sheetCount; ++s) {
        const char* rawName = nullptr;
        if (const int e = freexl_get_worksheet_name(handle, s, &rawName); e != FREEXL_OK)
            refuse(e, name, file.string());
        std::string sheetName = rawName ? rawName : "";
        if (document_limits::invalidUtf8At(sheetName) != std::string::npos) damaged(name);
        if (const int e = freexl_select_active_worksheet(handle, s); e != FREEXL_OK)
            refuse(e, name, file.string());
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (const int e = freexl_worksheet_dimensions(handle, &rows, &columns); e != FREEXL_OK)
            refuse(e, name, file.string());
        Grid grid(name, sheetName, cells);
        if (rows > 0) grid.checkRow(rows - 1);
        if (columns > 0) grid.checkColumn(columns - 1);
        for (unsigned int r = 0; r < rows; ++r)
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                if (const int e = freexl_get_cell_value(handle, r, c, &value); e != FREEXL_OK)
                    refuse(e, name, file.string());
                std::string text;
                switch (value.type) {
                    case FREEXL_CELL_INT:
                        text = std::to_string(value.value.int_value);
                        break;
                    case FREEXL_CELL_DOUBLE:
                        text = numberText(value.value.double_value);
                        break;
                    case FREEXL_CELL_TEXT:
                    case FREEXL_CELL_SST_TEXT:
                    case FREEXL_CELL_DATE:
                    case FREEXL_CELL_DATETIME:
                    case FREEXL_CELL_TIME:
                        text = value.value.text_value ? value.value.text_value : "";
                        if (document_limits::invalidUtf8At(text) != std::string::npos)
                            damaged(name);
                        normalizeLineEnds(text);
                        break;
                    default:
                        break;
                }
                grid.set(r, c, std::move(text));
            }
        book.sheets.push_back(std::move(grid).finish());
    }
    if (book.sheets.empty()) notASpreadsheet(name);
    return book;
}

}  // namespace daike::spreadsheet
