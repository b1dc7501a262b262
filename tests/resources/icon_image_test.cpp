// Checks on the committed program icons: icon group 107 (32 x 32 and
// 16 x 16) and group 108 (16 x 16), all 16 colours with an AND mask.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#ifndef ORVANTA_RESOURCE_DIR
#error "ORVANTA_RESOURCE_DIR must name the resources folder"
#endif

namespace {

std::vector<unsigned char> ReadIcon(const char* name) {
    std::vector<unsigned char> bytes;
    std::FILE* f = std::fopen((std::string(ORVANTA_RESOURCE_DIR) + "/" + name).c_str(), "rb");
    if (f == nullptr) return bytes;
    int ch;
    while ((ch = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(ch));
    std::fclose(f);
    return bytes;
}

uint32_t U32(const std::vector<unsigned char>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<unsigned char>& b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

struct IconFile {
    const char* name;
    std::vector<int> sizes;  // in directory order
};

const IconFile kIcons[] = {
    {"orvanta.ico", {32, 16}},
    {"orvanta-small.ico", {16}},
};

TEST(IconFiles, DirectoryAndImagesHaveTheDeclaredSizesAndDepth) {
    for (const IconFile& icon : kIcons) {
        SCOPED_TRACE(icon.name);
        const std::vector<unsigned char> b = ReadIcon(icon.name);
        ASSERT_GE(b.size(), 6u) << "missing or truncated";
        EXPECT_EQ(U16(b, 0), 0);  // reserved
        EXPECT_EQ(U16(b, 2), 1);  // type: icon
        ASSERT_EQ(U16(b, 4), icon.sizes.size());
        size_t expectedOffset = 6 + 16 * icon.sizes.size();
        for (size_t i = 0; i < icon.sizes.size(); ++i) {
            const int s = icon.sizes[i];
            SCOPED_TRACE(s);
            const size_t entry = 6 + 16 * i;
            EXPECT_EQ(b[entry + 0], s);     // width
            EXPECT_EQ(b[entry + 1], s);     // height
            EXPECT_EQ(b[entry + 2], 16);    // colour count
            EXPECT_EQ(U16(b, entry + 4), 1);
            EXPECT_EQ(U16(b, entry + 6), 4);
            const uint32_t bytes = U32(b, entry + 8);
            const uint32_t offset = U32(b, entry + 12);
            EXPECT_EQ(offset, expectedOffset);
            ASSERT_LE(size_t(offset) + bytes, b.size());

            // The image: a BITMAPINFOHEADER of doubled height (XOR + AND),
            // 16 palette entries, 4-bit XOR rows and 1-bit AND rows.
            const size_t xorStride = size_t(((s * 4 + 31) / 32) * 4);
            const size_t andStride = size_t(((s + 31) / 32) * 4);
            EXPECT_EQ(U32(b, offset), 40u);
            EXPECT_EQ(U32(b, offset + 4), uint32_t(s));
            EXPECT_EQ(U32(b, offset + 8), uint32_t(2 * s));
            EXPECT_EQ(U16(b, offset + 12), 1);
            EXPECT_EQ(U16(b, offset + 14), 4);
            EXPECT_EQ(U32(b, offset + 16), 0u);  // BI_RGB
            EXPECT_EQ(bytes, 40 + 16 * 4 + (xorStride + andStride) * size_t(s));

            // The mask leaves the middle opaque and clears the corner pixel.
            const size_t andStart = offset + 40 + 16 * 4 + xorStride * size_t(s);
            auto transparent = [&](int x, int yFromTop) {
                const size_t row = size_t(s - 1 - yFromTop);
                return (b[andStart + row * andStride + size_t(x / 8)] & (0x80 >> (x % 8))) != 0;
            };
            EXPECT_TRUE(transparent(0, 0));
            EXPECT_TRUE(transparent(s - 1, s - 1));
            EXPECT_FALSE(transparent(s / 2, s / 2));
            EXPECT_FALSE(transparent(s / 2, 1));
            expectedOffset = size_t(offset) + bytes;
        }
        EXPECT_EQ(expectedOffset, b.size());
    }
}

}  // namespace
