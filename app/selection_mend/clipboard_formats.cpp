#include "app/selection_mend/clipboard_formats.h"

namespace vyrtel::clip {

namespace {

enum : std::uint32_t {
    kText = 1, kBitmap = 2, kMetafilePicture = 3, kOemText = 7, kDib = 8, kPalette = 9,
    kUnicodeText = 13, kEnhMetafile = 14, kDibV5 = 17,
    kOwnerDisplay = 0x80, kDisplayBitmap = 0x82, kDisplayMetafilePicture = 0x83, kDisplayEnhMetafile = 0x8E,
    kPrivateFirst = 0x200, kGdiObjectLast = 0x3FF,
};

// The family a format is made up from and into (0: none).
int familyOf(std::uint32_t format) {
    switch (format) {
        case kText: case kOemText: case kUnicodeText:
            return 1;
        case kBitmap: case kDib: case kDibV5:
            return 2;
        case kMetafilePicture: case kEnhMetafile:
            return 3;
    }
    return 0;
}

bool tiedToOwnerOrMark(std::string_view name) {
    for (std::string_view skipped : {std::string_view("DataObject"), std::string_view("Ole Private Data"),
                                     std::string_view(kExcludeFromMonitors), std::string_view(kNoHistory),
                                     std::string_view(kNoCloudUpload)}) {
        if (name == skipped) return true;
    }
    return false;
}

}  // namespace

Copy copyOf(std::uint32_t format, std::string_view name) {
    switch (format) {
        case kBitmap: case kDisplayBitmap:
            return Copy::Bitmap;
        case kEnhMetafile: case kDisplayEnhMetafile:
            return Copy::EnhMetafile;
        case kMetafilePicture: case kDisplayMetafilePicture:
            return Copy::MetafilePicture;
        case kPalette:
            return Copy::Palette;
        case kOwnerDisplay:
            return Copy::Skip;
    }
    if (format >= kPrivateFirst && format <= kGdiObjectLast) return Copy::Skip;
    if (tiedToOwnerOrMark(name)) return Copy::Skip;
    return format != 0 ? Copy::Memory : Copy::Skip;
}

bool madeFromEarlier(std::uint32_t format, const std::uint32_t* earlier, std::size_t count) {
    const int family = familyOf(format);
    if (family == 0) return false;
    for (std::size_t i = 0; i < count; ++i) {
        if (familyOf(earlier[i]) == family) return true;
    }
    return false;
}

}  // namespace vyrtel::clip
