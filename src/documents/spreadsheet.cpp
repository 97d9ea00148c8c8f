#include "documents/spreadsheet.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "documents/document_limits.h"
#include "documents/spreadsheet_detail.h"
#include "documents/zip_parts.h"
#include "store/failure.h"
#include "store/paths.h"

namespace daike::spreadsheet {

namespace detail {

using zip_parts::inQuotes;

void notASpreadsheet(const std::string& name) {
    zip_parts::notA(zip_parts::kSpreadsheet, name);
}

void damaged(const std::string& name) {
    zip_parts::damaged(zip_parts::kSpreadsheet, name);
}

void encrypted(const std::string& name) {
    throw Failure(Failure::Kind::Encrypted,
                  "表格" + inQuotes(name) +
                      "设置了密码，无法读取。请在电子表格软件中取消密码后另存，再试一次。");
}

void beyondLimit(const std::string& what, const std::string& limit) {
    throw Failure(Failure::Kind::TooLarge, what + "，超出了本程序能读取的范围（最多" + limit +
                                               "），没有读取。请检查是否选错了文件。");
}

void refuseLargerThanAFile(std::string_view bytes, const std::string& name) {
    if (bytes.size() > kFileBytes)
        zip_parts::tooLarge(zip_parts::kSpreadsheet, name,
                            "有" + document_limits::sizeText(bytes.size()) + "（最多" +
                                document_limits::sizeText(kFileBytes) + "）");
}

std::string whereText(const std::string& name, const std::string& sheet) {
    std::string out = "表格" + inQuotes(name);
    if (!sheet.empty()) out += "中的工作表" + inQuotes(sheet);
    return out;
}

std::string numberText(double value) {
    if (value == 0) return "0";  // and not "-0"
    char buffer[64];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    if (ec != std::errc()) return "";
    std::string out(buffer, end);
    // "1e+20" as a spreadsheet writes it: "1E+20".
    for (char& c : out)
        if (c == 'e') c = 'E';
    return out;
}

void normalizeLineEnds(std::string& text) {
    if (text.find('\r') == std::string::npos) return;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') {
            out += text[i];
        } else {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        }
    }
    text = std::move(out);
}

void Grid::checkRow(std::int64_t row) const {
    if (row < 0 || row >= kRows)
        beyondLimit(whereText(file_, sheet_) + "有" + std::to_string(row + 1) + "行",
                    std::to_string(kRows) + "行");
}

void Grid::checkColumn(std::int64_t column) const {
    if (column < 0 || column >= kColumns)
        beyondLimit(whereText(file_, sheet_) + "有" + std::to_string(column + 1) + "列",
                    std::to_string(kColumns) + "列");
}

void Grid::set(std::int64_t row, std::int64_t column, std::string text) {
    checkRow(row);
    checkColumn(column);
    if (text.empty()) return;
    const auto characters = document_limits::characterCount(text);
    if (characters > static_cast<std::size_t>(kCellCharacters))
        beyondLimit(whereText(file_, sheet_) + "第" + std::to_string(row + 1) + "行第" +
                        std::to_string(column + 1) + "列的单元格有" + std::to_string(characters) +
                        "个字",
                    "每格" + std::to_string(kCellCharacters) + "个字");
    if (++totals_.cells > kCells)
        beyondLimit("表格" + inQuotes(file_) + "有超过" + std::to_string(kCells) + "个单元格",
                    std::to_string(kCells) + "个");
    const auto r = static_cast<std::size_t>(row);
    const auto c = static_cast<std::size_t>(column);
    const auto grow = [&](std::size_t now, std::size_t wanted) {
        totals_.positions += static_cast<std::int64_t>(wanted - now);
        if (totals_.positions > kPositions)
            beyondLimit("表格" + inQuotes(file_) + "的工作表连同其中的空单元格超过" +
                            std::to_string(kPositions) + "格",
                        std::to_string(kPositions) + "格");
    };
    if (rows_.size() <= r) {
        grow(rows_.size(), r + 1);
        rows_.resize(r + 1);
    }
    auto& cells = rows_[r];
    if (cells.size() <= c) {
        grow(cells.size(), c + 1);
        cells.resize(c + 1);
    }
    cells[c] = std::move(text);
}

Sheet Grid::finish() && {
    Sheet sheet;
    sheet.name = std::move(sheet_);
    for (auto& row : rows_)
        while (!row.empty() && row.back().empty()) row.pop_back();
    while (!rows_.empty() && rows_.back().empty()) rows_.pop_back();
    sheet.rows = std::move(rows_);
    return sheet;
}

}  // namespace detail

int Sheet::columnCount() const {
    std::size_t out = 0;
    for (const auto& row : rows) out = std::max(out, row.size());
    return static_cast<int>(out);
}

const std::string& Sheet::at(int row, int column) const {
    static const std::string empty;
    if (row < 0 || column < 0 || row >= rowCount()) return empty;
    const auto& cells = rows[static_cast<std::size_t>(row)];
    if (column >= static_cast<int>(cells.size())) return empty;
    return cells[static_cast<std::size_t>(column)];
}

const std::string& Sheet::shown(int row, int column) const {
    for (const auto& m : merged)
        if (row >= m.firstRow && row <= m.lastRow && column >= m.firstColumn &&
            column <= m.lastColumn)
            return at(m.firstRow, m.firstColumn);
    return at(row, column);
}

const char* formatName(Format format) {
    switch (format) {
        case Format::Xlsx:
            return ".xlsx";
        case Format::Xls:
            return ".xls";
        case Format::Csv:
            return ".csv";
    }
    return "";
}

Workbook read(const std::filesystem::path& file) {
    const std::string name = fileNameText(file);
    const std::string bytes = zip_parts::readFile(file, name, zip_parts::kSpreadsheet, kFileBytes);
    if (bytes.empty())
        throw Failure(Failure::Kind::NotADocument,
                      "文件" + zip_parts::inQuotes(name) + "是空的（0字节），其中没有表格。");
    static const std::string zip("PK\x03\x04", 4);
    static const std::string compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (bytes.starts_with(zip)) return readXlsx(bytes, name);
    if (bytes.starts_with(compound)) {
        // A password-protected .xlsx is kept in a compound document beside its key.
        static const std::string encryptionInfo = [] {
            std::string out;
            for (char c : std::string("EncryptionInfo")) out += {c, '\0'};
            return out;
        }();
        if (bytes.find(encryptionInfo) != std::string::npos) detail::encrypted(name);
        return readXls(file);
    }
    return readCsv(bytes, name);
}

}  // namespace daike::spreadsheet
