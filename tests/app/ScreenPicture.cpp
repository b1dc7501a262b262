// Screen captures through the screen's device context, the chart reference
// and the expected look of the chart view.
#include "ScreenPicture.h"

#include <cstdio>

#include "AppDriver.h"

namespace {

// Copies a screen rectangle into a top-down 32-bit picture.
Picture CaptureScreenRect(int left, int top, int width, int height)
{
    Picture picture;
    if (width <= 0 || height <= 0)
        return picture;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, left, top, SRCCOPY);
    GdiFlush();
    picture.Width = width;
    picture.Height = height;
    const uint32_t *source = static_cast<const uint32_t *>(bits);
    picture.Pixels.assign(source, source + static_cast<size_t>(width) * height);
    for (uint32_t &pixel : picture.Pixels)
        pixel &= 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

// Whether a pixel lies under one of the cover rectangles.
bool Covered(const std::vector<RECT> &cover, int x, int y)
{
    for (const RECT &rect : cover)
        if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom)
            return true;
    return false;
}

// Adds what one control paints over the dialog's client area.
BOOL CALLBACK AddControlCover(HWND control, LPARAM data)
{
    auto *cover = reinterpret_cast<std::vector<RECT> *>(data);
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&rect), 2);
    char className[32] = "";
    GetClassNameA(control, className, sizeof className);
    bool groupBox = lstrcmpiA(className, "Button") == 0 &&
                    (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    if (!groupBox) {
        cover->push_back(rect);
        return TRUE;
    }
    const int edge = 3, captionBand = 9;
    cover->push_back({rect.left, rect.top, rect.right, rect.top + captionBand});
    cover->push_back({rect.left, rect.bottom - edge, rect.right, rect.bottom});
    cover->push_back({rect.left, rect.top, rect.left + edge, rect.bottom});
    cover->push_back({rect.right - edge, rect.top, rect.right, rect.bottom});
    return TRUE;
}

// Whether a pixel lies on a horizontal or vertical line (end excluded).
bool InsideLine(int x, int y, int fromX, int fromY, int toX, int toY)
{
    if (fromY == toY)
        return y == fromY && x >= fromX && x < toX;
    return x == fromX && y >= fromY && y < toY;
}

} // namespace

// Captures the client area from the screen.
Picture CaptureClient(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    return CaptureScreenRect(origin.x, origin.y, client.right, client.bottom);
}

// Captures the whole window from the screen.
Picture CaptureWindow(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return CaptureScreenRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

// Reads chart.bmp as 32-bit pixels.
Picture LoadChart()
{
    Picture picture;
    std::string path = WindowsPath(ORVANTA_CHART_BITMAP);
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (bitmap == nullptr)
        return picture;
    BITMAP header;
    GetObjectA(bitmap, sizeof header, &header);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = header.bmWidth;
    info.bmiHeader.biHeight = -header.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    picture.Width = header.bmWidth;
    picture.Height = header.bmHeight;
    picture.Pixels.resize(static_cast<size_t>(picture.Width) * picture.Height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, header.bmHeight, picture.Pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    for (uint32_t &pixel : picture.Pixels)
        pixel &= 0xFFFFFF;
    return picture;
}

// Writes a bottom-up 24-bit BMP.
bool SaveBmp(const Picture &picture, const std::string &path)
{
    int rowBytes = (picture.Width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = picture.Width;
    info.biHeight = picture.Height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(rowBytes) * picture.Height;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::FILE *out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        return false;
    std::fwrite(&file, sizeof file, 1, out);
    std::fwrite(&info, sizeof info, 1, out);
    std::vector<unsigned char> row(rowBytes, 0);
    for (int y = picture.Height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.Width; ++x) {
            uint32_t pixel = picture.At(x, y);
            row[x * 3] = static_cast<unsigned char>(pixel);
            row[x * 3 + 1] = static_cast<unsigned char>(pixel >> 8);
            row[x * 3 + 2] = static_cast<unsigned char>(pixel >> 16);
        }
        std::fwrite(row.data(), 1, row.size(), out);
    }
    return std::fclose(out) == 0;
}

// Keeps a screenshot for people to look at, once pending paints are done.
void SaveScreenshot(HWND window, const std::string &name)
{
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    CreateDirectoryA(BuildPath("screenshots").c_str(), nullptr);
    SaveBmp(CaptureWindow(window), BuildPath("screenshots\\" + name + ".bmp"));
}

// Collects what the dialog's controls paint.
std::vector<RECT> ControlCover(HWND dialog)
{
    std::vector<RECT> cover;
    EnumChildWindows(dialog, AddControlCover, reinterpret_cast<LPARAM>(&cover));
    return cover;
}

// Counts the pixels of an area that a control paints.
int CoveredPixels(const std::vector<RECT> &cover, const RECT &area)
{
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (Covered(cover, x, y))
                ++count;
    return count;
}

// Compares the picture area pixel by pixel: the frame (20,20)-(369,360) and
// the two cross-hair arms are black, everything inside shows the chart.
int ChartMismatches(const Picture &client, const Picture &chart, const ChartWindow &expected,
                    const std::vector<RECT> &cover)
{
    if (client.Width < 370 || client.Height < 361 || chart.Width == 0)
        return -1;
    int centreX = 190 + expected.ShiftX;
    int centreY = 200 + expected.ShiftY;
    int mismatches = 0;
    for (int y = 20; y <= 360; ++y) {
        for (int x = 20; x <= 369; ++x) {
            if (Covered(cover, x, y))
                continue;
            bool frame = x == 20 || x == 369 || y == 20 || y == 360;
            bool cross = InsideLine(x, y, centreX - 40, centreY, centreX + 40, centreY) ||
                         InsideLine(x, y, centreX, centreY - 40, centreX, centreY + 40);
            uint32_t want = frame || cross ? uint32_t(kBlack)
                                           : chart.At(expected.SourceX + x - 20, expected.SourceY + y - 20);
            if (client.At(x, y) != want)
                ++mismatches;
        }
    }
    return mismatches;
}

// Counts the dark pixels of an area.
int DarkPixels(const Picture &picture, const RECT &area, const std::vector<RECT> &cover)
{
    int count = 0;
    for (int y = area.top; y < area.bottom && y < picture.Height; ++y)
        for (int x = area.left; x < area.right && x < picture.Width; ++x) {
            if (Covered(cover, x, y))
                continue;
            uint32_t p = picture.At(x, y);
            if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 128)
                ++count;
        }
    return count;
}

// Polls the picture area until it shows the expected chart window.
int WaitForChartView(HWND dialog, const Picture &chart, const ChartWindow &expected, DWORD timeoutMs)
{
    std::vector<RECT> cover = ControlCover(dialog);
    int mismatches = -1;
    WaitFor([&] {
        mismatches = ChartMismatches(CaptureClient(dialog), chart, expected, cover);
        return mismatches == 0;
    }, timeoutMs);
    return mismatches;
}
