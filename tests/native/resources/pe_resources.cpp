#include "pe_resources.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace peres {
namespace {

struct Bytes {
    const std::vector<std::uint8_t>& v;

    void need(std::size_t at, std::size_t n) const {
        if (at > v.size() || n > v.size() - at) throw std::runtime_error("truncated data");
    }
    std::uint16_t u16(std::size_t at) const {
        need(at, 2);
        return std::uint16_t(v[at] | v[at + 1] << 8);
    }
    std::uint32_t u32(std::size_t at) const {
        need(at, 4);
        return std::uint32_t(v[at]) | std::uint32_t(v[at + 1]) << 8 | std::uint32_t(v[at + 2]) << 16 |
               std::uint32_t(v[at + 3]) << 24;
    }
    // A zero-terminated UTF-16 string; returns it and moves `at` past it.
    std::string utf16z(std::size_t& at) const {
        std::string out;
        for (std::uint16_t c = u16(at); c != 0; c = u16(at)) {
            out += c < 0x100 ? char(c) : '?';
            at += 2;
        }
        at += 2;
        return out;
    }
    NameOrOrdinal nameOrOrdinal(std::size_t& at) const {
        NameOrOrdinal n;
        if (u16(at) == 0xFFFF) {
            n.isOrdinal = true;
            n.ordinal = u16(at + 2);
            at += 4;
        } else {
            n.text = utf16z(at);
        }
        return n;
    }
};

std::size_t alignUp(std::size_t at, std::size_t to) { return (at + to - 1) / to * to; }

}  // namespace

std::vector<Resource> readResources(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const Bytes b{file};
    if (b.u16(0) != 0x5A4D) throw std::runtime_error("not an MZ file");
    const std::size_t pe = b.u32(0x3C);
    if (b.u32(pe) != 0x00004550) throw std::runtime_error("no PE signature");
    const std::size_t sections = b.u16(pe + 6);
    const std::size_t optional = pe + 24;
    // PE32 (i386) or PE32+ (x86-64): the data directories start 16 bytes
    // further on in the latter, whose image base is 64 bits wide.
    const std::uint16_t magic = b.u16(optional);
    if (magic != 0x10B && magic != 0x20B) throw std::runtime_error("not a PE32 or PE32+ file");
    const std::size_t directories = optional + (magic == 0x20B ? 112 : 96);
    const std::uint32_t resourceRva = b.u32(directories + 2 * 8);
    const std::size_t sectionTable = optional + b.u16(pe + 20);

    auto fileOffset = [&](std::uint32_t rva) -> std::size_t {
        for (std::size_t i = 0; i < sections; ++i) {
            const std::size_t s = sectionTable + 40 * i;
            const std::uint32_t va = b.u32(s + 12), size = b.u32(s + 16), raw = b.u32(s + 20);
            if (rva >= va && rva < va + size) return raw + (rva - va);
        }
        throw std::runtime_error("address outside every section");
    };

    std::vector<Resource> out;
    if (resourceRva == 0) return out;
    const std::size_t root = fileOffset(resourceRva);
    // Three levels: type, name, language. Only numeric ids are collected.
    auto entries = [&](std::size_t dir) {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> list;
        const std::size_t count = b.u16(dir + 12) + b.u16(dir + 14);
        for (std::size_t i = 0; i < count; ++i) list.emplace_back(b.u32(dir + 16 + 8 * i), b.u32(dir + 20 + 8 * i));
        return list;
    };
    for (auto [typeId, typeOff] : entries(root)) {
        if (typeId & 0x80000000u || !(typeOff & 0x80000000u)) continue;
        for (auto [nameId, nameOff] : entries(root + (typeOff & 0x7FFFFFFFu))) {
            if (nameId & 0x80000000u || !(nameOff & 0x80000000u)) continue;
            for (auto [lang, dataOff] : entries(root + (nameOff & 0x7FFFFFFFu))) {
                const std::size_t entry = root + dataOff;
                const std::size_t at = fileOffset(b.u32(entry));
                const std::size_t size = b.u32(entry + 4);
                b.need(at, size);
                Resource r;
                r.type = std::uint16_t(typeId);
                r.id = std::uint16_t(nameId);
                r.language = std::uint16_t(lang);
                r.data.assign(file.begin() + at, file.begin() + at + size);
                out.push_back(std::move(r));
            }
        }
    }
    return out;
}

const Resource* find(const std::vector<Resource>& all, std::uint16_t type, std::uint16_t id) {
    for (const Resource& r : all) {
        if (r.type == type && r.id == id) return &r;
    }
    return nullptr;
}

Dialog parseDialog(const std::vector<std::uint8_t>& data) {
    const Bytes b{data};
    Dialog d;
    d.style = b.u32(0);
    d.exStyle = b.u32(4);
    const std::size_t count = b.u16(8);
    d.x = std::int16_t(b.u16(10));
    d.y = std::int16_t(b.u16(12));
    d.cx = std::int16_t(b.u16(14));
    d.cy = std::int16_t(b.u16(16));
    std::size_t at = 18;
    d.menu = b.nameOrOrdinal(at);
    d.windowClass = b.nameOrOrdinal(at);
    d.caption = b.utf16z(at);
    if (d.style & 0x40 /* DS_SETFONT */) {
        d.pointSize = b.u16(at);
        at += 2;
        d.face = b.utf16z(at);
    }
    for (std::size_t i = 0; i < count; ++i) {
        at = alignUp(at, 4);
        DialogItem item;
        item.style = b.u32(at);
        item.exStyle = b.u32(at + 4);
        item.x = std::int16_t(b.u16(at + 8));
        item.y = std::int16_t(b.u16(at + 10));
        item.cx = std::int16_t(b.u16(at + 12));
        item.cy = std::int16_t(b.u16(at + 14));
        item.id = b.u16(at + 16);
        at += 18;
        item.windowClass = b.nameOrOrdinal(at);
        item.text = b.nameOrOrdinal(at);
        const std::size_t extra = b.u16(at);
        at += 2 + extra;
        d.items.push_back(std::move(item));
    }
    return d;
}

VersionRecord parseVersion(const std::vector<std::uint8_t>& data) {
    const Bytes b{data};
    VersionRecord v;
    // VS_VERSIONINFO: length, value length, type, key, padding, fixed part.
    std::size_t at = 6;
    if (b.utf16z(at) != "VS_VERSION_INFO") throw std::runtime_error("not a version record");
    at = alignUp(at, 4);
    if (b.u32(at) != 0xFEEF04BD) throw std::runtime_error("no fixed version part");
    v.fileVersionMS = b.u32(at + 8);
    v.fileVersionLS = b.u32(at + 12);
    v.productVersionMS = b.u32(at + 16);
    v.productVersionLS = b.u32(at + 20);
    v.flagsMask = b.u32(at + 24);
    v.flags = b.u32(at + 28);
    v.os = b.u32(at + 32);
    v.type = b.u32(at + 36);
    v.subtype = b.u32(at + 40);
    v.dateMS = b.u32(at + 44);
    v.dateLS = b.u32(at + 48);
    at = alignUp(at + 52, 4);
    const std::size_t end = b.u16(0);
    while (at + 6 < end) {  // StringFileInfo and VarFileInfo blocks
        const std::size_t blockEnd = at + b.u16(at);
        std::size_t key = at + 6;
        const std::string name = b.utf16z(key);
        std::size_t child = alignUp(key, 4);
        if (name == "StringFileInfo") {
            const std::size_t tableEnd = child + b.u16(child);
            std::size_t tableKey = child + 6;
            v.stringTable = b.utf16z(tableKey);
            std::size_t s = alignUp(tableKey, 4);
            while (s < tableEnd) {
                const std::size_t length = b.u16(s);
                if (length == 0) break;
                std::size_t k = s + 6;
                std::string stringKey = b.utf16z(k);
                std::size_t value = alignUp(k, 4);
                std::string text = value < s + length ? b.utf16z(value) : std::string();
                v.strings.emplace_back(std::move(stringKey), std::move(text));
                s = alignUp(s + length, 4);
            }
        } else if (name == "VarFileInfo") {
            const std::size_t valueLength = b.u16(child + 2);
            std::size_t k = child + 6;
            b.utf16z(k);  // "Translation"
            const std::size_t value = alignUp(k, 4);
            for (std::size_t i = 0; i < valueLength / 2; ++i) v.translation.push_back(b.u16(value + 2 * i));
        }
        at = alignUp(blockEnd, 4);
    }
    return v;
}

}  // namespace peres
