// The grid view drawn into a memory context: the wiped picture area, cell
// outlines with white insides, numbers and letters where the layout puts
// them, gaps for missing cells.
#include "PaintSurface.h"

#include "display/GridPaint.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

constexpr COLORREF kBackground = RGB(0x12, 0x34, 0x56);

struct Box {
    int left, top, right, bottom;  // right and bottom exclusive
};

// Counts the pixels of box on surface that are not white.
int Inked(const PaintSurface &surface, Box box) {
    int inked = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) inked += surface.At(x, y) != kWhite;
    return inked;
}

class GridPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = std::make_unique<GridDatabase>();
        ResetGridDatabase(*db_);
        QuadForm &form = db_->Forms[3];
        form.FormX = 9;
        form.FormY = 9;
        for (int i = 0; i < 81; ++i) form.Numbers[i] = static_cast<int8_t>(10 + i);
    }

    void AddQuad(float lat, float lon, float sizeLon, float sizeLat) {
        QuadRecord &q = db_->Quads[db_->QuadCount++];
        std::strcpy(q.QuadName, "CD");
        q.DownLeftLat = lat;
        q.DownLeftLon = lon;
        q.SizeLon = sizeLon;
        q.SizeLat = sizeLat;
        q.Quadtype = 3;
    }

    // The box that TextOutA fills for text at (x, y) in the default font.
    Box TextBox(const PaintSurface &surface, const char *text, int x, int y) const {
        SIZE size;
        GetTextExtentPoint32A(surface.dc(), text, static_cast<int>(std::strlen(text)), &size);
        return {x, y, x + size.cx, y + size.cy};
    }

    // A cell's outline is black all round, its inside white apart from its
    // number, which is drawn in its text box.
    void ExpectCell(const PaintSurface &surface, Box cell, const char *number) const {
        SCOPED_TRACE(number);
        for (int x = cell.left; x < cell.right; ++x) {
            EXPECT_EQ(surface.At(x, cell.top), kBlack) << x;
            EXPECT_EQ(surface.At(x, cell.bottom - 1), kBlack) << x;
        }
        for (int y = cell.top; y < cell.bottom; ++y) {
            EXPECT_EQ(surface.At(cell.left, y), kBlack) << y;
            EXPECT_EQ(surface.At(cell.right - 1, y), kBlack) << y;
        }
        const Box text = TextBox(surface, number, cell.left + 2, cell.top + 2);
        EXPECT_GT(Inked(surface, text), 0);
        for (int y = cell.top + 1; y < cell.bottom - 1; ++y) {
            for (int x = cell.left + 1; x < cell.right - 1; ++x) {
                const bool inText = x >= text.left && x < text.right && y >= text.top && y < text.bottom;
                if (!inText) {
                    EXPECT_EQ(surface.At(x, y), kWhite) << x << "," << y;
                }
            }
        }
    }

    std::unique_ptr<GridDatabase> db_;
};

// The wipe: the picture area outlined in black and white inside.
void ExpectWipedFrame(const PaintSurface &surface) {
    for (int x = 20; x < 370; ++x) {
        EXPECT_EQ(surface.At(x, 20), kBlack) << x;
        EXPECT_EQ(surface.At(x, 360), kBlack) << x;
        EXPECT_EQ(surface.At(x, 19), PaintSurface::ToPixel(kBackground)) << x;
        EXPECT_EQ(surface.At(x, 361), PaintSurface::ToPixel(kBackground)) << x;
    }
    for (int y = 20; y < 361; ++y) {
        EXPECT_EQ(surface.At(20, y), kBlack) << y;
        EXPECT_EQ(surface.At(369, y), kBlack) << y;
        EXPECT_EQ(surface.At(370, y), PaintSurface::ToPixel(kBackground)) << y;
    }
}

TEST_F(GridPaintTest, EmptyListShowsOnlyTheNotice) {
    for (int16_t count : {0, -1}) {
        PaintSurface surface(kBackground);
        PaintGridView(surface.dc(), *db_, nullptr, count);
        ExpectWipedFrame(surface);
        const Box text = TextBox(surface, "No Grid Selected. ", 50, 50);
        EXPECT_GT(Inked(surface, text), 50);
        EXPECT_EQ(Inked(surface, {21, 21, 369, 360}), Inked(surface, text)) << "ink outside the notice";
    }
}

TEST_F(GridPaintTest, OneQuadOfSquareCells) {
    AddQuad(0, 486, -486, 486);
    const int16_t list[] = {0};
    PaintSurface surface(kBackground);
    PaintGridView(surface.dc(), *db_, list, 1);
    ExpectWipedFrame(surface);
    ExpectCell(surface, {60, 50, 84, 74}, "10");
    ExpectCell(surface, {84, 50, 108, 74}, "11");
    ExpectCell(surface, {252, 242, 276, 266}, "90");
    const Box letters = TextBox(surface, "CD", 60, 30);
    EXPECT_GT(Inked(surface, letters), 0);
    EXPECT_EQ(Inked(surface, {21, 21, 369, 50}), Inked(surface, letters)) << "ink above the cells";
    EXPECT_EQ(Inked(surface, {276, 50, 369, 360}), 0) << "ink right of the quad";
    EXPECT_EQ(Inked(surface, {21, 266, 369, 360}), 0) << "ink below the quad";
}

TEST_F(GridPaintTest, MissingCellIsAWhiteGap) {
    db_->Forms[3].Numbers[1] = -1;
    AddQuad(0, 486, -486, 486);
    const int16_t list[] = {0};
    PaintSurface surface(kBackground);
    PaintGridView(surface.dc(), *db_, list, 1);
    EXPECT_EQ(Inked(surface, {84, 50, 108, 74}), 0);
    ExpectCell(surface, {60, 50, 84, 74}, "10");
    ExpectCell(surface, {108, 50, 132, 74}, "12");
}

TEST_F(GridPaintTest, SecondQuadDirectlyEast) {
    AddQuad(0, 486, -486, 486);
    AddQuad(0, 0, -486, 486);
    const int16_t list[] = {0, 1};
    PaintSurface surface(kBackground);
    PaintGridView(surface.dc(), *db_, list, 2);
    ExpectCell(surface, {252, 50, 276, 74}, "18");
    ExpectCell(surface, {276, 50, 300, 74}, "10");
}

// Half as high as wide: 12 x 12 pixel cells; too narrow: one unit wide.
// The numbers may overlap small cells, so only the outline sides they do
// not reach (left and top) are checked.
TEST_F(GridPaintTest, OddProportions) {
    struct {
        const char *what;
        float sizeLon, sizeLat;
        Box first, last;
    } const cases[] = {
        {"486 x 243", -486, 243, {60, 50, 72, 62}, {156, 146, 168, 158}},
        {"no width", 0, 486, {60, 50, 84, 74}, {252, 242, 276, 266}},
        {"no height", -486, 0, {60, 50, 64, 54}, {92, 82, 96, 86}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        AddQuad(0, 486, c.sizeLon, c.sizeLat);
        const int16_t list[] = {0};
        PaintSurface surface(kBackground);
        PaintGridView(surface.dc(), *db_, list, 1);
        for (const Box &cell : {c.first, c.last}) {
            for (int x = cell.left; x < cell.right && x < cell.left + 2; ++x)
                EXPECT_EQ(surface.At(x, cell.top), kBlack) << x;
            for (int y = cell.top; y < cell.bottom && y < cell.top + 2; ++y)
                EXPECT_EQ(surface.At(cell.left, y), kBlack) << y;
            EXPECT_GT(Inked(surface, {cell.left + 2, cell.top + 2, cell.left + 16, cell.top + 18}), 0);
        }
        EXPECT_EQ(Inked(surface, {c.last.right + 20, 21, 369, 360}), 0) << "ink right of the quad";
    }
}

}  // namespace
