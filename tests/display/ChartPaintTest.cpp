// The chart window drawn into a memory context: every pixel of a 400 x 400
// surface must be the chart copied from the clamped source corner, the
// frame, the cross-hair or the untouched background.
#include "PaintSurface.h"

#include "display/ChartCentre.h"
#include "display/ChartGeometry.h"
#include "display/ChartPaint.h"
#include "display/ChartView.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr COLORREF kBackground = RGB(0x12, 0x34, 0x56);  // no chart colour
constexpr uint32_t kSea = 0x7FB1B7u;
constexpr uint32_t kLand = 0xE2CE5Cu;

// The chart as the program loads it, and its pixels as 0xRRGGBB rows.
class ChartPaintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        bitmap_ = LoadBitmapA(AppInstance, MAKEINTRESOURCEA(kChartBitmapId));
        if (bitmap_ == nullptr) return;
        pixels_ = new std::vector<uint32_t>(static_cast<size_t>(kChartWidth) * kChartHeight);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kChartWidth;
        info.bmiHeader.biHeight = -kChartHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC screen = GetDC(nullptr);
        rows_ = GetDIBits(screen, bitmap_, 0, kChartHeight, pixels_->data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        for (uint32_t &p : *pixels_) p &= 0xFFFFFFu;
    }
    static void TearDownTestSuite() {
        DeleteObject(bitmap_);
        delete pixels_;
        pixels_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(bitmap_, nullptr);
        ASSERT_EQ(rows_, kChartHeight);
    }
    static uint32_t Chart(int x, int y) { return (*pixels_)[static_cast<size_t>(y) * kChartWidth + x]; }

    static HBITMAP bitmap_;
    static std::vector<uint32_t> *pixels_;
    static int rows_;
};

HBITMAP ChartPaintTest::bitmap_ = nullptr;
std::vector<uint32_t> *ChartPaintTest::pixels_ = nullptr;
int ChartPaintTest::rows_ = 0;

// A memory context holding the chart, compatible with the surface.
class ChartContext {
public:
    ChartContext(HDC like, HBITMAP chart) : dc_(CreateCompatibleDC(like)) { previous_ = SelectObject(dc_, chart); }
    ~ChartContext() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

struct WindowCase {
    const char *what;
    int16_t latitude, longitude;
    int sourceX, sourceY;  // chart pixel copied to (20, 20)
    int crossX, crossY;    // where the arms cross
};

const WindowCase kWindowCases[] = {
    {"initial centre", 3300, 1260, 549, 135, 190, 200},
    {"equator at Greenwich", 0, 0, 627, 378, 190, 200},
    {"75 N 10 E", 4500, -600, 663, 0, 190, 152},
    {"71:40 S 180 W", -4300, 10800, 0, 731, 153, 232},
    {"33:20 N 180 E", 2000, -10800, 1239, 248, 242, 200},
    {"north pole", 5400, 0, 627, 0, 190, 20},
    // Past the chart's top row and its last column the arms end at the frame.
    {"\xC4J1155, 84:45 N 73:45 W", 5085, 4425, 354, 0, 190, 20},
    {"0 N 217:07 E", 0, -13027, 1239, 378, 380, 200},
};

bool OnFrame(int x, int y) {
    return ((y == 20 || y == 360) && x >= 20 && x <= 369) || ((x == 20 || x == 369) && y >= 20 && y <= 360);
}

// The arms as far as they lie inside the frame or on it.
bool OnCrossHair(int x, int y, int cx, int cy) {
    const bool inFrame = x >= 20 && x <= 369 && y >= 20 && y <= 360;
    return inFrame && ((y == cy && x >= cx - 40 && x < cx + 40) || (x == cx && y >= cy - 40 && y < cy + 40));
}

bool InCopy(int x, int y) { return x >= 20 && x < 20 + 349 && y >= 20 && y < 20 + 341; }

TEST_F(ChartPaintTest, EveryPixelOfTheWindow) {
    for (const WindowCase &c : kWindowCases) {
        SCOPED_TRACE(c.what);
        PaintSurface surface(kBackground);
        ASSERT_TRUE(surface.ok());
        ChartContext chart(surface.dc(), bitmap_);
        SetMapMode(chart.dc(), MM_LOMETRIC);  // must be replaced by the target's
        const ChartCorner corner = ChartCornerFor(c.latitude, c.longitude);
        PaintChartWindow(surface.dc(), chart.dc(), corner.x, corner.y);
        EXPECT_EQ(GetMapMode(chart.dc()), MM_TEXT);
        int wrong = 0;
        for (int y = 0; y < PaintSurface::kSize; ++y) {
            for (int x = 0; x < PaintSurface::kSize; ++x) {
                uint32_t expected = PaintSurface::ToPixel(kBackground);
                if (OnFrame(x, y) || OnCrossHair(x, y, c.crossX, c.crossY)) {
                    expected = kBlack;
                } else if (InCopy(x, y)) {
                    expected = Chart(c.sourceX + x - 20, c.sourceY + y - 20);
                }
                if (surface.At(x, y) != expected && ++wrong <= 5) {
                    ADD_FAILURE() << "pixel (" << x << "," << y << ") is " << std::hex << surface.At(x, y)
                                  << ", expected " << expected;
                }
            }
        }
        EXPECT_EQ(wrong, 0);
    }
}

// The chart's own colours arrive unchanged: open sea at 40 N 40 W and some
// land in the window around the initial centre.
TEST_F(ChartPaintTest, ChartColoursSurviveTheCopy) {
    PaintSurface surface(kBackground);
    ChartContext chart(surface.dc(), bitmap_);
    PaintChartWindow(surface.dc(), chart.dc(), 549, 135);
    EXPECT_EQ(surface.At(120, 283), kSea);  // chart pixel (649, 398)
    int land = 0;
    for (int y = 21; y < 360; ++y)
        for (int x = 21; x < 369; ++x) land += surface.At(x, y) == kLand;
    EXPECT_GT(land, 1000);
}

// Without a chart context only the frame and the cross-hair are drawn.
TEST_F(ChartPaintTest, WithoutAChartOnlyTheLines) {
    PaintSurface surface(kBackground);
    PaintChartWindow(surface.dc(), nullptr, 549, 135);
    for (int y = 0; y < PaintSurface::kSize; ++y) {
        for (int x = 0; x < PaintSurface::kSize; ++x) {
            const uint32_t expected =
                OnFrame(x, y) || OnCrossHair(x, y, 190, 200) ? kBlack : PaintSurface::ToPixel(kBackground);
            ASSERT_EQ(surface.At(x, y), expected) << x << "," << y;
        }
    }
}

}  // namespace
