// .xls workbooks of the older spreadsheet programs, read with FreeXL. FreeXL reads every cell's
// value but not the merged cells, so `merged` stays empty for an .xls file: a merged title or
// weekday reads as its first cell and empty cells beside it.
//
// FreeXL sets aside a cell for every position a sheet's dimensions record claims, for all sheets
// at once, before it can be asked anything: a crafted file of a few kilobytes could take all
// the memory. So the workbook stream is found in the compound document first and the claimed
// sizes are added up; FreeXL only opens what passes.
#include <freexl.h>

#include <cstring>
#include <filesystem>
#include <system_error>

#include "documents/document_limits.h"
#include "documents/spreadsheet.h"
#include "documents/spreadsheet_detail.h"
#include "documents/zip_parts.h"
#include "store/failure.h"
#include "store/os_files.h"
#include "store/paths.h"

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

// Cells FreeXL may set aside for the whole workbook: far beyond a school's sheets, a small part of
// a computer's memory.
constexpr std::uint64_t kClaimedCells = 8'000'000;

std::uint32_t u32(std::string_view b, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);  // little-endian, as the file and the machine
    return v;
}

std::uint16_t u16(std::string_view b, std::size_t at) {
    std::uint16_t v;
    std::memcpy(&v, b.data() + at, 2);
    return v;
}

// The streams of a compound document, as far as needed to read one stream by its name. Returns
// false when the document is broken (chains that leave the file or run in circles).
class CompoundFile {
  public:
    explicit CompoundFile(std::string_view bytes) : b_(bytes) {}

    // False when there is no such stream, or when the document is broken().
    bool stream(const std::u16string& wanted, std::string& out) {
        out.clear();
        broken_ = true;
        if (b_.size() < 512) return false;
        const unsigned shift = u16(b_, 0x1E);
        if (shift != 9 && shift != 12) return false;
        sector_ = std::size_t{1} << shift;
        if (!readFat()) return false;
        std::string directory;
        if (!chain(u32(b_, 0x30), fat_, directory)) return false;
        std::string ministream;
        bool haveMini = false;
        for (std::size_t at = 0; at + 128 <= directory.size(); at += 128) {
            const std::string_view entry(directory.data() + at, 128);
            const unsigned type = static_cast<unsigned char>(entry[0x42]);
            const std::uint32_t start = u32(entry, 0x74);
            const std::uint64_t size = u32(entry, 0x78);
            if (type == 5 && !haveMini) {  // the root: it holds the small streams
                if (!chain(start, fat_, ministream)) return false;
                haveMini = true;
                continue;
            }
            if (type != 2) continue;
            const unsigned nameBytes = std::min<unsigned>(u16(entry, 0x40), 64);
            std::u16string name;
            for (unsigned i = 0; i + 1 < nameBytes; i += 2) {
                const char16_t c = u16(entry, i);
                if (c == 0) break;
                name += c;
            }
            if (name != wanted) continue;
            if (size < u32(b_, 0x38)) {  // below the cutoff: in the mini stream
                std::vector<std::uint32_t> miniFat;
                std::string miniFatBytes;
                if (!haveMini || !chain(u32(b_, 0x3C), fat_, miniFatBytes)) return false;
                for (std::size_t i = 0; i + 4 <= miniFatBytes.size(); i += 4)
                    miniFat.push_back(u32(miniFatBytes, i));
                if (!chain(start, miniFat, out, ministream, 64)) return false;
            } else if (!chain(start, fat_, out)) {
                return false;
            }
            if (out.size() > size) out.resize(static_cast<std::size_t>(size));
            broken_ = false;
            return true;
        }
        broken_ = false;
        return false;
    }

    bool broken() const { return broken_; }

  private:
    static constexpr std::uint32_t kEnd = 0xFFFFFFFE;

    bool readFat() {
        std::vector<std::uint32_t> fatSectors;
        for (std::size_t i = 0; i < 109; ++i) {
            const std::uint32_t s = u32(b_, 0x4C + 4 * i);
            if (s < 0xFFFFFFFA) fatSectors.push_back(s);
        }
        std::uint32_t difat = u32(b_, 0x44);
        for (std::size_t guard = 0; difat < 0xFFFFFFFA && guard < b_.size() / sector_; ++guard) {
            const std::size_t at = (std::size_t{difat} + 1) * sector_;
            if (at + sector_ > b_.size()) return false;
            for (std::size_t i = 0; i + 1 < sector_ / 4; ++i) {
                const std::uint32_t s = u32(b_, at + 4 * i);
                if (s < 0xFFFFFFFA) fatSectors.push_back(s);
            }
            difat = u32(b_, at + sector_ - 4);
        }
        for (const std::uint32_t s : fatSectors) {
            const std::size_t at = (std::size_t{s} + 1) * sector_;
            if (at + sector_ > b_.size()) return false;
            for (std::size_t i = 0; i < sector_; i += 4) fat_.push_back(u32(b_, at + i));
        }
        return true;
    }

    // The sectors of a chain, in order, from `source` (the file, or the mini stream with its
    // 64-byte sectors).
    bool chain(std::uint32_t first, const std::vector<std::uint32_t>& table, std::string& out,
               std::string_view source = {}, std::size_t size = 0) {
        const bool inFile = source.empty() && size == 0;
        if (inFile) size = sector_;
        const std::size_t offset = inFile ? sector_ : 0;  // the file's sectors follow its header
        if (inFile) source = b_;
        for (std::uint32_t s = first, steps = 0; s != kEnd; s = table[s], ++steps) {
            if (s >= table.size() || steps > table.size()) return false;
            const std::size_t at = offset + std::size_t{s} * size;
            if (at + size > source.size()) return false;
            out.append(source.data() + at, size);
        }
        return true;
    }

    std::string_view b_;
    std::size_t sector_ = 512;
    std::vector<std::uint32_t> fat_;
    bool broken_ = false;
};

// The cells the sheets' dimensions records claim, added up. Refuses a compound document that is
// broken or holds no workbook (a .doc, say).
std::uint64_t claimedCells(std::string_view bytes, const std::string& name) {
    CompoundFile file(bytes);
    std::string stream;
    if (!file.stream(u"Workbook", stream)) {
        if (file.broken()) damaged(name);
        if (!file.stream(u"Book", stream)) {
            if (file.broken()) damaged(name);
            notASpreadsheet(name);
        }
    }
    std::uint64_t cells = 0;
    for (std::size_t at = 0; at + 4 <= stream.size();) {
        const unsigned type = u16(stream, at), length = u16(stream, at + 2);
        const std::size_t data = at + 4;
        if (data + length > stream.size()) break;
        if (type == 0x0200 && length >= 14)  // rows to, columns to (BIFF8)
            cells += std::uint64_t{u32(stream, data + 4)} * u16(stream, data + 10);
        else if (type == 0x0200 && length >= 10)  // the same in BIFF5
            cells += std::uint64_t{u16(stream, data + 2)} * u16(stream, data + 6);
        if (cells > kClaimedCells) break;  // enough to refuse, and no sum overflows
        at = data + length;
    }
    return cells;
}

}  // namespace

Workbook readXls(const std::filesystem::path& file) {
    const std::string name = fileNameText(file);
    const std::string bytes = zip_parts::readFile(file, name, zip_parts::kSpreadsheet, kFileBytes);
    static const std::string compound("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (!bytes.starts_with(compound)) notASpreadsheet(name);
    const std::uint64_t claimed = claimedCells(bytes, name);
    if (claimed > kClaimedCells)
        beyondLimit(whereText(name, "") + "的工作表共占" + std::to_string(claimed) + "个单元格",
                    std::to_string(kClaimedCells) + "个");
    const void* handle = nullptr;
    // FreeXL opens the file with fopen, which on Windows reads the local code page.
    const int opened = freexl_open(os_files::nameForFopen(file).c_str(), &handle);
    struct Closer {
        const void* handle;
        ~Closer() {
            if (handle) freexl_close(handle);
        }
    } closer{handle};
    if (opened != FREEXL_OK) refuse(opened, name, utf8(file));
    unsigned int info = 0;
    if (freexl_get_info(handle, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED)
        encrypted(name);
    unsigned int sheetCount = 0;
    if (const int e = freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount); e != FREEXL_OK)
        refuse(e, name, utf8(file));
    if (sheetCount > static_cast<unsigned>(kSheets))
        beyondLimit(whereText(name, "") + "有" + std::to_string(sheetCount) + "张工作表",
                    std::to_string(kSheets) + "张");

    Workbook book;
    book.format = Format::Xls;
    Totals totals;
    for (unsigned short s = 0; s < sheetCount; ++s) {
        const char* rawName = nullptr;
        if (const int e = freexl_get_worksheet_name(handle, s, &rawName); e != FREEXL_OK)
            refuse(e, name, utf8(file));
        std::string sheetName = rawName ? rawName : "";
        if (document_limits::invalidUtf8At(sheetName) != std::string::npos) damaged(name);
        if (const int e = freexl_select_active_worksheet(handle, s); e != FREEXL_OK)
            refuse(e, name, utf8(file));
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (const int e = freexl_worksheet_dimensions(handle, &rows, &columns); e != FREEXL_OK)
            refuse(e, name, utf8(file));
        Grid grid(name, sheetName, totals);
        if (rows > 0) grid.checkRow(rows - 1);
        if (columns > 0) grid.checkColumn(columns - 1);
        for (unsigned int r = 0; r < rows; ++r)
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue value;
                if (const int e = freexl_get_cell_value(handle, r, c, &value); e != FREEXL_OK)
                    refuse(e, name, utf8(file));
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
