// A small reader of the resources of a 32-bit PE file, for checking what
// the Win32 build put into a program: the resource directory, and the
// dialog template and version record formats inside it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace peres {

struct Resource {
    std::uint16_t type = 0;  // numeric type id (RT_ICON = 3, ...)
    std::uint16_t id = 0;    // numeric name
    std::uint16_t language = 0;
    std::vector<std::uint8_t> data;
};

// Every resource with a numeric type and name; throws std::runtime_error
// for anything that is not a well-formed PE file.
std::vector<Resource> readResources(const std::string& path);

const Resource* find(const std::vector<Resource>& all, std::uint16_t type, std::uint16_t id);

// A string or an ordinal, as dialog templates store class names and texts.
struct NameOrOrdinal {
    bool isOrdinal = false;
    std::uint16_t ordinal = 0;
    std::string text;  // ASCII/Latin-1 characters only
};

struct DialogItem {
    std::uint32_t style = 0, exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::uint16_t id = 0;
    NameOrOrdinal windowClass, text;
};

struct Dialog {
    std::uint32_t style = 0, exStyle = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu, windowClass;
    std::string caption;
    std::uint16_t pointSize = 0;
    std::string face;
    std::vector<DialogItem> items;
};

// A DLGTEMPLATE (not the extended form).
Dialog parseDialog(const std::vector<std::uint8_t>& data);

struct VersionRecord {
    std::uint32_t fileVersionMS = 0, fileVersionLS = 0, productVersionMS = 0, productVersionLS = 0;
    std::uint32_t flagsMask = 0, flags = 0, os = 0, type = 0, subtype = 0, dateMS = 0, dateLS = 0;
    std::string stringTable;  // e.g. "040904E4"
    std::vector<std::pair<std::string, std::string>> strings;  // in stored order
    std::vector<std::uint16_t> translation;
};

VersionRecord parseVersion(const std::vector<std::uint8_t>& data);

}  // namespace peres
