// A 400 x 400 off-screen drawing surface for the drawing tests: a memory
// device context over a top-down 32-bit DIB section whose pixels the tests
// read directly.
#ifndef ORVANTA_TESTS_DISPLAY_PAINTSURFACE_H
#define ORVANTA_TESTS_DISPLAY_PAINTSURFACE_H

#include <windows.h>

#include <cstdint>

class PaintSurface {
public:
    static constexpr int kSize = 400;

    // Creates the surface filled with fill (a COLORREF).
    explicit PaintSurface(COLORREF fill) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSize;
        info.bmiHeader.biHeight = -kSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        void *bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<uint32_t *>(bits);
        previous_ = SelectObject(dc_, bitmap_);
        for (int i = 0; i < kSize * kSize; ++i) bits_[i] = ToPixel(fill);
    }
    ~PaintSurface() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    PaintSurface(const PaintSurface &) = delete;
    PaintSurface &operator=(const PaintSurface &) = delete;

    HDC dc() const { return dc_; }
    bool ok() const { return dc_ != nullptr && bits_ != nullptr; }

    // The colour at (x, y) as 0xRRGGBB; 0xFFFFFFFF outside the surface.
    uint32_t At(int x, int y) const {
        if (x < 0 || y < 0 || x >= kSize || y >= kSize) return 0xFFFFFFFFu;
        GdiFlush();
        return bits_[y * kSize + x] & 0xFFFFFFu;
    }

    // A COLORREF as the 0xRRGGBB that At reports.
    static uint32_t ToPixel(COLORREF c) {
        return static_cast<uint32_t>(GetRValue(c)) << 16 | static_cast<uint32_t>(GetGValue(c)) << 8 |
               GetBValue(c);
    }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t *bits_ = nullptr;
};

constexpr uint32_t kBlack = 0x000000u;
constexpr uint32_t kWhite = 0xFFFFFFu;

#endif
