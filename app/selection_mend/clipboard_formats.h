// Which clipboard formats a saved copy of the clipboard keeps, and how each
// is copied, by format number alone (the numbers are the system's, fixed
// since Windows 3.1).
//
// The system makes some formats up from others (text in three forms, a
// bitmap in three, a metafile in two) and lists them after the formats
// that were put there. Only the first of each such family in the listing is
// kept: put back, it makes the others again, as it did before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vyrtel::clip {

enum class Copy : std::uint8_t {
    Skip,             // no data of its own, or a handle of an unknown kind
    Memory,           // a global memory block, copied byte for byte
    Bitmap,           // a bitmap object
    EnhMetafile,      // an enhanced metafile
    MetafilePicture,  // a memory block holding a metafile
    Palette,          // a palette object
};

// How the data of `format` is copied; `name` is a registered format's name
// (formats from 0xC000), empty for the others. Skipped too: formats whose
// data means something only to the program that put it there (the private
// range, OLE's data object), which would come back stale once it let go,
// and the marks that tell clipboard monitors and history what to skip,
// which a put-back clipboard gets afresh.
Copy copyOf(std::uint32_t format, std::string_view name = {});

// The registered formats that mark what Vyrtel puts on the clipboard, so
// that clipboard history and clipboard monitors leave it out: present
// (any data) and a DWORD 0 each.
inline constexpr const char* kExcludeFromMonitors = "ExcludeClipboardContentFromMonitorProcessing";
inline constexpr const char* kNoHistory = "CanIncludeInClipboardHistory";
inline constexpr const char* kNoCloudUpload = "CanUploadToCloudClipboard";

// Whether `format` belongs to the family of a format listed before it
// (`earlier`, `count` of them), so that the system makes it up from that one.
bool madeFromEarlier(std::uint32_t format, const std::uint32_t* earlier, std::size_t count);

}  // namespace vyrtel::clip
