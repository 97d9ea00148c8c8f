#include "documents/zip_parts.h"

#include <zip.h>

#include <filesystem>

#include "documents/document_limits.h"
#include "store/failure.h"
#include "store/os_files.h"
#include "store/paths.h"

namespace daike::zip_parts {

namespace limits = document_limits;

// A blank between 不是 and the Latin word, as the message always read.
const Kind kWordDocument{"文档", " Word 文档（.docx）", "文字处理软件"};
const Kind kSpreadsheet{"表格", "电子表格（.xlsx、.xls 或 .csv）", "电子表格软件"};

namespace {

[[noreturn]] void fail(Failure::Kind kind, const std::string& message) {
    throw Failure(kind, message);
}

}  // namespace

std::string inQuotes(const std::string& name) {
    return "“" + name + "”";
}

void notA(const Kind& kind, const std::string& name) {
    fail(Failure::Kind::NotADocument,
         "文件" + inQuotes(name) + "不是" + kind.notThis + "，或者已经损坏，无法读取。");
}

void damaged(const Kind& kind, const std::string& name) {
    fail(Failure::Kind::Damaged, kind.noun + inQuotes(name) + "已损坏，其中的内容无法读取。请在" +
                                     kind.program + "中打开并重新保存。");
}

void tooLarge(const Kind& kind, const std::string& name, const std::string& what) {
    fail(Failure::Kind::TooLarge,
         kind.noun + inQuotes(name) + what +
             "，超出了本程序能读取的范围，没有读取。请检查是否选错了文件。");
}

std::string readFile(const std::filesystem::path& file, const std::string& name, const Kind& kind,
                     std::uint64_t maxBytes) {
    namespace fs = std::filesystem;
    using P = os_files::FileBytes::Problem;
    const std::string path = utf8(file);
    std::error_code ec;
    const auto status = fs::symlink_status(file, ec);
    if (ec || !fs::exists(status))
        fail(Failure::Kind::NotFound, "找不到文件" + inQuotes(path) + "。");
    fs::path real = file;
    if (fs::is_symlink(status)) {
        real = fs::canonical(file, ec);
        const auto folder = fs::canonical(fs::absolute(file).parent_path(), ec);
        if (ec || real.parent_path() != folder)
            fail(Failure::Kind::NotADocument,
                 "文件" + inQuotes(path) + "是指向其他文件夹的链接，没有读取。请把" +
                     std::string(kind.noun) + "本身放到这个文件夹中。");
    }
    auto read = os_files::readRegularFile(real, maxBytes);
    switch (read.problem) {
        case P::None:
            break;
        case P::NotFound:
            fail(Failure::Kind::NotFound, "找不到文件" + inQuotes(path) + "。");
        case P::NoAccess:
            fail(Failure::Kind::NotFound, "无法读取文件" + inQuotes(path) + "，请检查是否有权限。");
        case P::NotRegular:
            fail(Failure::Kind::NotADocument,
                 "“" + path + "”不是普通文件（可能是文件夹、设备或管道），没有读取。");
        case P::TooLarge:
            if (read.size > maxBytes)
                tooLarge(kind, name,
                         "有" + limits::sizeText(read.size) + "（最多" +
                             limits::sizeText(maxBytes) + "）");
            tooLarge(kind, name, "超过" + limits::sizeText(maxBytes));  // it grew while being read
        case P::ReadError:
            fail(Failure::Kind::NotFound, "无法读取文件" + inQuotes(path) + "（读取出错）。");
    }
    return std::move(read.bytes);
}

std::vector<Entry> readZip(std::string_view bytes, const std::string& name, const Kind& kind) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) notA(kind, name);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(source);
        notA(kind, name);
    }
    struct Closer {
        zip_t* archive;
        ~Closer() { zip_discard(archive); }
    } closer{archive};
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (count > limits::kEntries)
        tooLarge(kind, name,
                 "由" + std::to_string(count) + "个部分组成（最多" +
                     std::to_string(limits::kEntries) + "个）");
    std::vector<zip_stat_t> stats;
    std::uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t st;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &st) != 0 ||
            !(st.valid & ZIP_STAT_NAME) || !(st.valid & ZIP_STAT_SIZE))
            damaged(kind, name);
        if (st.size > limits::kPartBytes)
            tooLarge(kind, name,
                     "中的“" + std::string(st.name) + "”解压后有" + limits::sizeText(st.size) +
                         "（每个部分最多" + limits::sizeText(limits::kPartBytes) + "）");
        total += st.size;
        if (total > limits::kTotalBytes)
            tooLarge(kind, name, "解压后超过" + limits::sizeText(limits::kTotalBytes));
        stats.push_back(st);
    }
    std::vector<Entry> entries;
    for (std::size_t i = 0; i < stats.size(); ++i) {
        const zip_stat_t& st = stats[i];
        Entry entry{st.name, {}};
        if (entry.name.empty() || entry.name.back() == '/') continue;  // folders
        zip_file_t* file = zip_fopen_index(archive, i, 0);
        if (!file) {
            if (zip_error_code_zip(zip_get_error(archive)) == ZIP_ER_ENCRNOTSUPP ||
                zip_error_code_zip(zip_get_error(archive)) == ZIP_ER_NOPASSWD)
                fail(Failure::Kind::Encrypted, kind.noun + inQuotes(name) +
                                                   "设置了密码，无法读取。请在" + kind.program +
                                                   "中取消密码后另存，再试一次。");
            damaged(kind, name);
        }
        entry.data.reserve(static_cast<std::size_t>(st.size));
        char buffer[65536];
        zip_int64_t n;
        bool ok = true;
        while ((n = zip_fread(file, buffer, sizeof buffer)) > 0) {
            if (entry.data.size() + static_cast<std::size_t>(n) > st.size) {
                ok = false;  // more than the directory promised
                break;
            }
            entry.data.append(buffer, static_cast<std::size_t>(n));
        }
        if (n < 0) ok = false;
        zip_fclose(file);
        if (!ok) damaged(kind, name);
        entries.push_back(std::move(entry));
    }
    return entries;
}

const Entry* findEntry(const std::vector<Entry>& entries, std::string_view name) {
    for (const auto& e : entries)
        if (e.name == name) return &e;
    return nullptr;
}

}  // namespace daike::zip_parts
