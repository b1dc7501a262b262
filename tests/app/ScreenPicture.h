// Pixels of the screen and of the world chart, as 0x00RRGGBB values.
#ifndef ORVANTA_TESTS_APP_SCREENPICTURE_H
#define ORVANTA_TESTS_APP_SCREENPICTURE_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels; // top row first

    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y) * Width + x]; }
};

enum : uint32_t { kBlack = 0x000000, kWhite = 0xFFFFFF };

// The dialog's client area as the screen shows it.
Picture CaptureClient(HWND window);

// The whole window (caption, menu and client area) as the screen shows it.
Picture CaptureWindow(HWND window);

// The world chart bitmap of the resources folder.
Picture LoadChart();

// Writes a picture as a 24-bit BMP file.
bool SaveBmp(const Picture &picture, const std::string &path);

// Saves the window's screenshot as screenshots\<name>.bmp in the build folder.
void SaveScreenshot(HWND window, const std::string &name);

// How the chart view is expected to look: the chart window whose top-left
// corner is chart pixel (sourceX, sourceY), the frame, and the cross-hair
// shifted by (shiftX, shiftY).
struct ChartWindow {
    int SourceX, SourceY;
    int ShiftX, ShiftY;
};

// The parts of the dialog's client area that its controls paint: whole
// controls, and only the edges and the caption band of group boxes (whose
// inside shows the view).  The controls lie over the picture area where the
// dialog font's base units are small.
std::vector<RECT> ControlCover(HWND dialog);

// Pixels of an area under the cover.
int CoveredPixels(const std::vector<RECT> &cover, const RECT &area);

// Pixels of the picture area, outside cover, that differ from the expected
// chart view.
int ChartMismatches(const Picture &client, const Picture &chart, const ChartWindow &expected,
                    const std::vector<RECT> &cover);

// Waits until the picture area shows the expected chart view; returns the
// number of differing pixels of the last look (0 once it does).
int WaitForChartView(HWND dialog, const Picture &chart, const ChartWindow &expected, DWORD timeoutMs = 3000);

// Pixels darker than mid-grey inside area, outside cover.
int DarkPixels(const Picture &picture, const RECT &area, const std::vector<RECT> &cover);

#endif
