// One part of a written .xlsx or .docx, unzipped as a reader of the file would: "" when the
// archive or the part is missing.
#pragma once

#include <zip.h>

#include <filesystem>
#include <string>

namespace daike::testing {

inline std::string unzip(const std::filesystem::path& file, const std::string& entry) {
    int err = 0;
    zip_t* z = zip_open(file.c_str(), ZIP_RDONLY, &err);
    if (!z) return {};
    std::string out;
    if (zip_file_t* f = zip_fopen(z, entry.c_str(), 0)) {
        char buf[8192];
        zip_int64_t n;
        while ((n = zip_fread(f, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
        zip_fclose(f);
    }
    zip_close(z);
    return out;
}

}  // namespace daike::testing
