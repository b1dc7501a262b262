// Dialog metrics under this Wine set-up: the dialog font's base units, the
// template's rectangles in pixels, and the running dialog's controls around
// the picture area (20,20)-(369,360), which only Windows' 6 x 13 pixels per
// 4 x 8 dialog units keep clear.
#include <gtest/gtest.h>

#include <string>

#include "AppDriver.h"
#include "ScreenPicture.h"

namespace {

const RECT kPictureArea = {20, 20, 370, 361}; // right and bottom excluded

struct TemplateRect {
    const char *Name;
    RECT Units;  // left, top, right, bottom in dialog units
    RECT Pixels; // as MapDialogRect gives them on Windows (6 x 13)
};

const TemplateRect kTemplateRects[] = {
    {"picture group box", {10, 5, 250, 225}, {15, 8, 375, 366}},
    {"lower group box", {10, 230, 250, 295}, {15, 374, 375, 479}},
    {"MQK Code label", {20, 240, 56, 248}, {30, 390, 84, 403}},
    {"Messages label", {80, 275, 120, 283}, {120, 447, 180, 460}},
    {"message field", {125, 275, 240, 290}, {188, 447, 360, 471}},
    {"whole dialog", {0, 0, 259, 303}, {0, 0, 389, 492}},
};

INT_PTR CALLBACK IdleDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// The program's main dialog, created hidden in this process from the
// template inside orvanta.exe, so that MapDialogRect can be asked.
class TemplateDialog {
public:
    TemplateDialog()
    {
        module_ = LoadLibraryExA(WindowsPath(ORVANTA_PROGRAM).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (module_ != nullptr)
            dialog_ = CreateDialogParamA(module_, MAKEINTRESOURCEA(129), nullptr, IdleDialogProc, 0);
    }
    ~TemplateDialog()
    {
        if (dialog_ != nullptr)
            DestroyWindow(dialog_);
        if (module_ != nullptr)
            FreeLibrary(module_);
    }
    HWND Window() const { return dialog_; }

private:
    HMODULE module_ = nullptr;
    HWND dialog_ = nullptr;
};

std::string Describe(const RECT &r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

struct ControlSearch {
    HWND PictureBox = nullptr;
    std::string Crossing; // controls other than the picture box over the picture area
};

// Sorts the running dialog's controls: the group box around the picture,
// and any other control that reaches into the picture area.
BOOL CALLBACK CheckControl(HWND control, LPARAM data)
{
    auto *search = reinterpret_cast<ControlSearch *>(data);
    RECT rect, overlap;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT *>(&rect), 2);
    bool groupBox = (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
    POINT centre = {190, 200};
    if (groupBox && PtInRect(&rect, centre))
        search->PictureBox = control;
    else if (IntersectRect(&overlap, &rect, &kPictureArea))
        search->Crossing += " control " + std::to_string(GetDlgCtrlID(control)) + " at " + Describe(rect);
    return TRUE;
}

TEST(DialogMetrics, BaseUnitsAndTemplateRectangles)
{
    // The system font (the About box's) gives 8 x 16, as on Windows.
    LONG systemUnits = GetDialogBaseUnits();
    EXPECT_EQ(LOWORD(systemUnits), 8);
    EXPECT_EQ(HIWORD(systemUnits), 16);

    TemplateDialog dialog;
    ASSERT_NE(dialog.Window(), nullptr);
    RECT unit = {0, 0, 4, 8};
    MapDialogRect(dialog.Window(), &unit);
    EXPECT_EQ(unit.right, 6) << "horizontal base unit";
    EXPECT_EQ(unit.bottom, 13) << "vertical base unit";
    for (const TemplateRect &t : kTemplateRects) {
        RECT mapped = t.Units;
        MapDialogRect(dialog.Window(), &mapped);
        EXPECT_EQ(Describe(mapped), Describe(t.Pixels)) << t.Name;
    }

    // "Messages ->" fits its label, 40 units wide.
    HDC dc = GetDC(dialog.Window());
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(dialog.Window(), WM_GETFONT, 0, 0)));
    SIZE text = {};
    GetTextExtentPoint32A(dc, "Messages ->", 11, &text);
    SelectObject(dc, old);
    ReleaseDC(dialog.Window(), dc);
    EXPECT_LE(text.cx, 60);
}

TEST(DialogMetrics, ControlsLeaveThePictureAreaClear)
{
    OrvantaRun run("metrics", DataFile::Good);
    ASSERT_NE(run.Dialog(), nullptr);
    ControlSearch search;
    EnumChildWindows(run.Dialog(), CheckControl, reinterpret_cast<LPARAM>(&search));
    ASSERT_NE(search.PictureBox, nullptr);
    EXPECT_EQ(search.Crossing, "");

    // The group box's edges and caption band lie outside the picture area.
    RECT box;
    GetWindowRect(search.PictureBox, &box);
    MapWindowPoints(nullptr, run.Dialog(), reinterpret_cast<POINT *>(&box), 2);
    EXPECT_EQ(Describe(box), Describe(kTemplateRects[0].Pixels));
    int covered = CoveredPixels(ControlCover(run.Dialog()), kPictureArea);
    EXPECT_EQ(covered, 0) << "picture pixels under the controls";
    EXPECT_EQ(run.Text(1012), " Enter Grid code.");
}

} // namespace
