// Zip archives written by hand, so that a test can make what no word processor would: parts
// that inflate to a gigabyte from a few kilobytes, a directory that lies about sizes, thousands
// of parts. Parts are deflated as they are streamed, never held whole in memory.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace daike::testing {

struct CraftedPart {
    std::string name;
    std::string deflated;
    std::uint32_t crc = 0;
    std::uint64_t size = 0;  // inflated
};

// `head`, then `fillBytes` copies of `fill`, then `tail`, deflated.
inline CraftedPart craftedPart(const std::string& name, const std::string& head, char fill,
                               std::uint64_t fillBytes, const std::string& tail = "") {
    CraftedPart part{name, {}, 0, head.size() + fillBytes + tail.size()};
    z_stream z{};
    if (deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    uLong crc = crc32(0, nullptr, 0);
    std::string out(1 << 16, '\0');
    auto feed = [&](const char* data, std::size_t n, int flush) {
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(n));
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        z.avail_in = static_cast<uInt>(n);
        do {
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = static_cast<uInt>(out.size());
            deflate(&z, flush);
            part.deflated.append(out.data(), out.size() - z.avail_out);
        } while (z.avail_out == 0);
    };
    feed(head.data(), head.size(), Z_NO_FLUSH);
    const std::string block(1 << 16, fill);
    for (std::uint64_t left = fillBytes; left > 0;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
        feed(block.data(), n, Z_NO_FLUSH);
        left -= n;
    }
    feed(tail.data(), tail.size(), Z_FINISH);
    deflateEnd(&z);
    part.crc = static_cast<std::uint32_t>(crc);
    return part;
}

inline CraftedPart craftedPart(const std::string& name, const std::string& content) {
    return craftedPart(name, content, ' ', 0);
}

// The archive of the parts. `declaredSize`, when set, is written as every part's inflated size
// instead of the true one (a directory that lies).
inline std::string craftedZip(const std::vector<CraftedPart>& parts,
                              std::int64_t declaredSize = -1) {
    std::string out, directory;
    auto u16 = [](std::string& s, unsigned v) {
        s += static_cast<char>(v & 0xff);
        s += static_cast<char>((v >> 8) & 0xff);
    };
    auto u32 = [&](std::string& s, std::uint64_t v) {
        u16(s, static_cast<unsigned>(v & 0xffff));
        u16(s, static_cast<unsigned>((v >> 16) & 0xffff));
    };
    for (const auto& p : parts) {
        const std::uint64_t offset = out.size();
        const std::uint64_t size = declaredSize >= 0 ? std::uint64_t(declaredSize) : p.size;
        auto common = [&](std::string& s) {
            u16(s, 20);      // version needed
            u16(s, 0x0800);  // names in UTF-8
            u16(s, 8);       // deflated
            u16(s, 0);       // time
            u16(s, 0x21);    // date: 1980-01-01
            u32(s, p.crc);
            u32(s, p.deflated.size());
            u32(s, size);
            u16(s, static_cast<unsigned>(p.name.size()));
            u16(s, 0);  // extra
        };
        u32(out, 0x04034b50);
        common(out);
        out += p.name;
        out += p.deflated;
        u32(directory, 0x02014b50);
        u16(directory, 20);  // made by
        common(directory);
        u16(directory, 0);  // comment
        u16(directory, 0);  // disk
        u16(directory, 0);  // internal attributes
        u32(directory, 0);  // external attributes
        u32(directory, offset);
        directory += p.name;
    }
    const std::uint64_t directoryAt = out.size();
    out += directory;
    u32(out, 0x06054b50);
    u16(out, 0);
    u16(out, 0);
    u16(out, static_cast<unsigned>(parts.size()));
    u16(out, static_cast<unsigned>(parts.size()));
    u32(out, directory.size());
    u32(out, directoryAt);
    u16(out, 0);
    return out;
}

// The parts every .docx needs around its main part.
inline std::vector<CraftedPart> docxFrame() {
    return {
        craftedPart(
            "[Content_Types].xml",
            R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/></Types>)"),
        craftedPart(
            "_rels/.rels",
            R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)"),
    };
}

}  // namespace daike::testing
