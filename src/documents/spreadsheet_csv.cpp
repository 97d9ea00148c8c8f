// Text files of comma-separated (or tab- or semicolon-separated) values, as a spreadsheet
// program saves them: quoted fields may hold separators, quotes written twice and line breaks.
// A Chinese spreadsheet program writes GBK unless told otherwise, so text that is not UTF-8 is
// read as GB18030 (which GBK is a part of).
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <filesystem>
#include <memory>

#include "documents/document_limits.h"
#include "documents/spreadsheet.h"
#include "documents/spreadsheet_detail.h"
#include "store/failure.h"
#include "store/paths.h"

namespace daike::spreadsheet {

namespace {

using namespace detail;

// The text in UTF-8, or false when the bytes are not GB18030 either.
bool fromGb18030(std::string_view bytes, std::string& out) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, void (*)(UConverter*)> converter(ucnv_open("GB18030", &status),
                                                                 ucnv_close);
    if (U_FAILURE(status)) return false;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    if (U_FAILURE(status)) return false;
    // At most one UTF-16 unit per byte, plus one for the end.
    std::u16string wide(bytes.size() + 1, u'\0');
    const int32_t units =
        ucnv_toUChars(converter.get(), wide.data(), static_cast<int32_t>(wide.size()), bytes.data(),
                      static_cast<int32_t>(bytes.size()), &status);
    if (U_FAILURE(status)) return false;
    int32_t length = 0;
    u_strToUTF8(nullptr, 0, &length, wide.data(), units, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return false;
    status = U_ZERO_ERROR;
    out.assign(static_cast<std::size_t>(length), '\0');
    u_strToUTF8(out.data(), length, nullptr, wide.data(), units, &status);
    return !U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING;
}

char separatorOf(std::string_view text) {
    const std::string_view first = text.substr(0, text.find_first_of("\r\n"));
    if (first.find(',') != std::string_view::npos) return ',';
    if (first.find('\t') != std::string_view::npos) return '\t';
    if (first.find(';') != std::string_view::npos) return ';';
    return ',';
}

}  // namespace

Workbook readCsv(std::string_view bytes, const std::string& name) {
    refuseLargerThanAFile(bytes, name);
    Workbook book;
    book.format = Format::Csv;
    std::string decoded;
    std::string_view text = bytes;
    if (text.find('\0') != std::string_view::npos) notASpreadsheet(name);  // binary, or UTF-16
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
        if (document_limits::invalidUtf8At(text) != std::string_view::npos) notASpreadsheet(name);
        book.encoding = "UTF-8";
    } else if (document_limits::invalidUtf8At(text) == std::string_view::npos) {
        book.encoding = "UTF-8";
    } else if (fromGb18030(text, decoded)) {
        text = decoded;
        book.encoding = "GBK";
    } else {
        notASpreadsheet(name);
    }

    Totals totals;
    Grid grid(name, "", totals);
    const char separator = separatorOf(text);
    std::int64_t row = 0, column = 0;
    std::string field;
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto endOfLine = [&](std::size_t at) {  // the length of the line end at `at`, or 0
        if (text[at] == '\n') return std::size_t{1};
        if (text[at] == '\r') return at + 1 < n && text[at + 1] == '\n' ? std::size_t{2} : 1;
        return std::size_t{0};
    };
    while (i < n) {
        // One field.
        field.clear();
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            // Anything between the closing quote and the separator is kept as it stands.
            while (i < n && text[i] != separator && !endOfLine(i)) field += text[i++];
        } else {
            while (i < n && text[i] != separator && !endOfLine(i)) field += text[i++];
        }
        if (column >= kColumns) grid.checkColumn(column);
        if (!field.empty()) {
            normalizeLineEnds(field);
            if (row >= kRows) {
                // Count the lines to the end for the message, keeping nothing of them.
                std::int64_t lines = row + 1;
                for (; i < n; ++i)
                    if (const auto e = endOfLine(i)) {
                        i += e - 1;
                        if (i + 1 < n) ++lines;
                    }
                beyondLimit(whereText(name, "") + "有" + std::to_string(lines) + "行",
                            std::to_string(kRows) + "行");
            }
            grid.set(row, column, std::move(field));
        }
        if (i >= n) break;
        if (text[i] == separator) {
            ++i;
            ++column;
        } else {
            i += endOfLine(i);
            ++row;
            column = 0;
        }
    }
    Sheet sheet = std::move(grid).finish();
    sheet.name = stemText(pathFromUtf8(name));
    book.sheets.push_back(std::move(sheet));
    return book;
}

}  // namespace daike::spreadsheet
