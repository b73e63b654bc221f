// Which formats a saved clipboard keeps and how: the kinds of handle behind
// the system's formats, and the formats the system makes up from others.
#include <gtest/gtest.h>

#include <vector>

#include "app/selection_mend/clipboard_formats.h"

namespace {

using vyrtel::clip::Copy;
using vyrtel::clip::copyOf;

bool madeUp(std::uint32_t format, std::vector<std::uint32_t> earlier) {
    return vyrtel::clip::madeFromEarlier(format, earlier.data(), earlier.size());
}

TEST(ClipboardFormats, GdiObjectsAreCopiedAsObjectsAndEverythingElseAsMemory) {
    EXPECT_EQ(copyOf(2), Copy::Bitmap);             // CF_BITMAP
    EXPECT_EQ(copyOf(0x82), Copy::Bitmap);          // CF_DSPBITMAP
    EXPECT_EQ(copyOf(14), Copy::EnhMetafile);       // CF_ENHMETAFILE
    EXPECT_EQ(copyOf(0x8E), Copy::EnhMetafile);     // CF_DSPENHMETAFILE
    EXPECT_EQ(copyOf(3), Copy::MetafilePicture);    // CF_METAFILEPICT
    EXPECT_EQ(copyOf(0x83), Copy::MetafilePicture); // CF_DSPMETAFILEPICT
    EXPECT_EQ(copyOf(9), Copy::Palette);            // CF_PALETTE
    for (std::uint32_t memory : {1u, 7u, 8u, 13u, 15u, 16u, 17u, 0x81u, 0xC000u, 0xC1A7u, 0xFFFFu}) {
        EXPECT_EQ(copyOf(memory), Copy::Memory) << memory;
    }
    EXPECT_EQ(copyOf(0x200), Copy::Skip);  // private formats: the owner's handles
    EXPECT_EQ(copyOf(0x2FF), Copy::Skip);
    EXPECT_EQ(copyOf(0x80), Copy::Skip);   // owner display: no data
    EXPECT_EQ(copyOf(0x300), Copy::Skip);  // GDI objects of unknown kind
    EXPECT_EQ(copyOf(0x3FF), Copy::Skip);
    EXPECT_EQ(copyOf(0), Copy::Skip);
}

TEST(ClipboardFormats, FormatsTiedToTheirOwnerAndTheMonitorMarksAreNotKept) {
    for (const char* name : {"DataObject", "Ole Private Data", "ExcludeClipboardContentFromMonitorProcessing",
                             "CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"}) {
        EXPECT_EQ(copyOf(0xC0A1, name), Copy::Skip) << name;
    }
    for (const char* name : {"HTML Format", "Rich Text Format", "Object Descriptor", "DataObjec", ""}) {
        EXPECT_EQ(copyOf(0xC0A1, name), Copy::Memory) << name;
    }
}

TEST(ClipboardFormats, OnlyTheFirstOfEachFamilyIsKept) {
    // Unicode text put there, with a private format and a DIB; the system
    // lists the text, bitmap and metafile forms it makes after them.
    EXPECT_FALSE(madeUp(13, {}));
    EXPECT_TRUE(madeUp(1, {13, 0xC123, 8}));
    EXPECT_TRUE(madeUp(7, {13, 0xC123, 8}));
    EXPECT_TRUE(madeUp(2, {13, 0xC123, 8}));
    EXPECT_TRUE(madeUp(17, {13, 0xC123, 8}));
    EXPECT_FALSE(madeUp(8, {13, 0xC123}));
    EXPECT_TRUE(madeUp(3, {14}));
    EXPECT_FALSE(madeUp(14, {13, 2}));
    // Formats of no family are always kept.
    EXPECT_FALSE(madeUp(16, {13, 1, 7}));  // CF_LOCALE
    EXPECT_FALSE(madeUp(9, {8, 2}));       // CF_PALETTE
    EXPECT_FALSE(madeUp(0xC123, {0xC123}));
}

}  // namespace
