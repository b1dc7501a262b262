// The grid view's cells: rectangles, number texts and their places for one
// or several matched quads, gaps, odd numbers and degenerate layouts.
#include "display/GridLayout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Rect {
    int left, top, right, bottom;
};

class GridLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = std::make_unique<GridDatabase>();
        ResetGridDatabase(*db_);
    }

    // Adds a quad whose south-west corner is (lat, lon) with the given
    // extent north and west; returns its index.
    int16_t AddQuad(const char *name, float lat, float lon, float sizeLon, float sizeLat, int16_t type) {
        const int16_t index = db_->QuadCount++;
        QuadRecord &q = db_->Quads[index];
        for (size_t i = 0; i + 1 < sizeof q.QuadName && name[i] != '\0'; ++i) q.QuadName[i] = name[i];
        q.DownLeftLat = lat;
        q.DownLeftLon = lon;
        q.SizeLon = sizeLon;
        q.SizeLat = sizeLat;
        q.Quadtype = type;
        return index;
    }

    // A form of fx by fy cells numbered 10, 11, ... row by row.
    void SetForm(int16_t type, int16_t fx, int16_t fy) {
        QuadForm &f = db_->Forms[type];
        f.FormX = fx;
        f.FormY = fy;
        for (int i = 0; i < kMaxFormCells; ++i) f.Numbers[i] = static_cast<int8_t>(10 + i % 90);
    }

    std::vector<GridCell> Cells(std::vector<int16_t> list) {
        return Cells(list, static_cast<int16_t>(list.size()));
    }

    std::vector<GridCell> Cells(const std::vector<int16_t> &list, int16_t count) {
        std::vector<GridCell> cells;
        LayOutGridCells(*db_, list.data(), count, Collect, &cells);
        return cells;
    }

    static void Collect(const GridCell &cell, void *context) {
        static_cast<std::vector<GridCell> *>(context)->push_back(cell);
    }

    std::unique_ptr<GridDatabase> db_;
};

Rect RectOf(const GridCell &c) { return {c.left, c.top, c.right, c.bottom}; }

bool operator==(const Rect &a, const Rect &b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::ostream &operator<<(std::ostream &out, const Rect &r) {
    return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

struct CellCase {
    const char *what;
    float sizeLon, sizeLat;  // extent of the single 9 x 9 quad
    int row, column;
    Rect rect;
    int textX, textY;
};

// One 9 x 9 quad with its south-west corner at 0 N 8:06 W.
const CellCase kSingleQuadCases[] = {
    {"486 square: first cell", -486, 486, 0, 0, {60, 50, 84, 74}, 62, 52},
    {"486 square: second column", -486, 486, 0, 1, {84, 50, 108, 74}, 86, 52},
    {"486 square: last cell", -486, 486, 8, 8, {252, 242, 276, 266}, 254, 244},
    {"486 x 243: first cell", -486, 243, 0, 0, {60, 50, 72, 62}, 62, 52},
    {"486 x 243: second row", -486, 243, 1, 0, {60, 62, 72, 74}, 62, 64},
    {"486 x 243: last cell", -486, 243, 8, 8, {156, 146, 168, 158}, 158, 148},
    // Less than 9 minutes per column: the width counts as one unit, so the
    // cells keep a finite size (4 * 6 pixels per unit across).
    {"narrow quad: first cell", -5, 486, 0, 0, {60, 50, 84, 74}, 62, 52},
    {"narrow quad: last cell", -5, 486, 8, 8, {252, 242, 276, 266}, 254, 244},
    {"no width at all", 0, 486, 8, 8, {252, 242, 276, 266}, 254, 244},
    // No height: one unit high, 4 pixels; 6 units wide at 4/6 pixel each.
    {"no height: first cell", -486, 0, 0, 0, {60, 50, 64, 54}, 62, 52},
    {"no height: last cell", -486, 0, 8, 8, {92, 82, 96, 86}, 94, 84},
    // A north-east DownLeftPos gives negative extents: sizes are made positive.
    {"negative extents", 486, -486, 0, 1, {84, 50, 108, 74}, 86, 52},
};

TEST_F(GridLayoutTest, CellsOfASingleQuad) {
    for (const CellCase &c : kSingleQuadCases) {
        SCOPED_TRACE(c.what);
        SetUp();
        SetForm(3, 9, 9);
        AddQuad("CD", 0, 486, c.sizeLon, c.sizeLat, 3);
        const std::vector<GridCell> cells = Cells({0});
        ASSERT_EQ(cells.size(), 81u);
        const GridCell &cell = cells[c.row * 9 + c.column];
        EXPECT_EQ(RectOf(cell), c.rect);
        EXPECT_EQ(cell.textX, c.textX);
        EXPECT_EQ(cell.textY, c.textY);
        EXPECT_EQ(std::string(cell.text), std::to_string(10 + c.row * 9 + c.column));
    }
}

// Quads placed relative to the north-west corner of the list.
TEST_F(GridLayoutTest, NeighbouringQuadsFollowTheGlobe) {
    SetForm(3, 9, 9);
    struct {
        const char *what;
        float lat, lon;
        Rect firstCell;
    } const cases[] = {
        {"directly east", 0, 0, {276, 50, 300, 74}},
        {"directly south", -486, 486, {60, 266, 84, 290}},
        {"south-east", -486, 0, {276, 266, 300, 290}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        SetForm(3, 9, 9);
        AddQuad("CD", 0, 486, -486, 486, 3);
        AddQuad("CD", c.lat, c.lon, -486, 486, 3);
        const std::vector<GridCell> cells = Cells({0, 1});
        ASSERT_EQ(cells.size(), 162u);
        EXPECT_EQ(RectOf(cells[0]), (Rect{60, 50, 84, 74}));
        EXPECT_EQ(RectOf(cells[81]), c.firstCell);
    }
    // Listed the other way round, the western quad still starts at (60, 50).
    SetUp();
    SetForm(3, 9, 9);
    AddQuad("CD", 0, 0, -486, 486, 3);
    AddQuad("CD", 0, 486, -486, 486, 3);
    const std::vector<GridCell> cells = Cells({0, 1});
    ASSERT_EQ(cells.size(), 162u);
    EXPECT_EQ(RectOf(cells[0]), (Rect{276, 50, 300, 74}));
    EXPECT_EQ(RectOf(cells[81]), (Rect{60, 50, 84, 74}));
}

// A quad written across the 180th meridian (from 178 deg 42' E eastward)
// is drawn whole, its cells side by side as for any other quad.
TEST_F(GridLayoutTest, AQuadAcrossTheDateLineIsDrawnWhole) {
    SetForm(3, 9, 9);
    AddQuad("QL", 1056, -10722, -486, 486, 3);
    const std::vector<GridCell> cells = Cells({0});
    ASSERT_EQ(cells.size(), 81u);
    EXPECT_EQ(RectOf(cells[0]), (Rect{60, 50, 84, 74}));
    EXPECT_EQ(RectOf(cells[80]), (Rect{252, 242, 276, 266}));
}

// Later quads keep the first quad's scales and show their own proportions.
TEST_F(GridLayoutTest, LaterQuadsKeepTheFirstScales) {
    SetForm(3, 9, 9);
    AddQuad("CD", 0, 486, -486, 243, 3);  // sx = 2, sy = 4
    AddQuad("CD", 0, 0, -486, 486, 3);    // east, twice as high
    const std::vector<GridCell> cells = Cells({0, 1});
    ASSERT_EQ(cells.size(), 162u);
    // top = 486: the first quad lies 27 units below it, the second at it.
    EXPECT_EQ(RectOf(cells[0]), (Rect{60, 158, 72, 170}));
    EXPECT_EQ(RectOf(cells[81]), (Rect{168, 50, 180, 74}));
}

TEST_F(GridLayoutTest, NumberTexts) {
    struct {
        int8_t number;
        const char *text;
    } const cases[] = {
        {7, "07"}, {0, "00"}, {42, "42"}, {99, "99"}, {100, "10"}, {127, "12"}, {-5, "-5"}, {-128, "-1"},
    };
    SetForm(1, 1, 1);
    AddQuad("AB", 0, 9, -9, 9, 1);
    for (const auto &c : cases) {
        db_->Forms[1].Numbers[0] = c.number;
        const std::vector<GridCell> cells = Cells({0});
        ASSERT_EQ(cells.size(), 1u) << int(c.number);
        EXPECT_STREQ(cells[0].text, c.text) << int(c.number);
        EXPECT_EQ(cells[0].textLength, 2) << int(c.number);
    }
}

// A -1 cell is not drawn; its neighbours keep their places.
TEST_F(GridLayoutTest, MissingCellLeavesAGap) {
    SetForm(3, 9, 9);
    db_->Forms[3].Numbers[1] = -1;
    db_->Forms[3].Numbers[80] = -1;
    AddQuad("CD", 0, 486, -486, 486, 3);
    const std::vector<GridCell> cells = Cells({0});
    ASSERT_EQ(cells.size(), 79u);
    EXPECT_EQ(RectOf(cells[0]), (Rect{60, 50, 84, 74}));
    EXPECT_EQ(RectOf(cells[1]), (Rect{108, 50, 132, 74}));
    for (const GridCell &cell : cells) EXPECT_FALSE(cell.left == 84 && cell.top == 50);
}

TEST_F(GridLayoutTest, EmptyListsDrawNothing) {
    SetForm(3, 9, 9);
    AddQuad("CD", 0, 486, -486, 486, 3);
    char letters[3] = "xx";
    for (int16_t count : {0, -1, INT16_MIN}) {
        EXPECT_TRUE(Cells({0}, count).empty()) << count;
        EXPECT_EQ(GridLetters(*db_, nullptr, count, letters), 0) << count;
        EXPECT_STREQ(letters, "");
    }
    EXPECT_EQ(std::strlen(kNoGridText), static_cast<size_t>(kNoGridTextLength));
}

TEST_F(GridLayoutTest, LettersOfTheFirstEntry) {
    SetForm(3, 9, 9);
    AddQuad("AB", 0, 486, -486, 486, 3);
    AddQuad("CD", 0, 0, -486, 486, 3);
    AddQuad("E", 0, 0, -486, 486, 3);
    char letters[3];
    const int16_t list[] = {1, 0};
    EXPECT_EQ(GridLetters(*db_, list, 2, letters), 2);
    EXPECT_STREQ(letters, "CD");
    const int16_t single[] = {2};
    EXPECT_EQ(GridLetters(*db_, single, 1, letters), 1);
    EXPECT_STREQ(letters, "E");
}

// Entries naming no loaded record, forms outside the table and forms larger
// than a form can hold are skipped or cut, never read past a table.
TEST_F(GridLayoutTest, OutOfRangeEntriesAreSkipped) {
    SetForm(3, 9, 9);
    SetForm(4, 20, 20);  // 400 cells claimed, 140 held
    AddQuad("CD", 0, 486, -486, 486, 3);
    AddQuad("CD", 0, 0, -486, 486, 150);
    AddQuad("CD", 0, 0, -486, 486, -1);
    AddQuad("CD", 0, 0, -486, 486, 4);
    struct {
        const char *what;
        std::vector<int16_t> list;
        size_t cells;
    } const cases[] = {
        {"index past the loaded records", {0, 4}, 81},
        {"index past the table", {0, 600}, 81},
        {"negative index", {-3, 0}, 81},
        {"type past the form table", {0, 1}, 81},
        {"negative type", {0, 2}, 81},
        {"form larger than its numbers", {3}, 140},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Cells(c.list).size(), c.cells);
    }
    char letters[3];
    const int16_t bad[] = {600};
    EXPECT_EQ(GridLetters(*db_, bad, 1, letters), 0);
}

// A count beyond a match list's 20 entries reads no further than 20.
TEST_F(GridLayoutTest, CountIsLimitedToAMatchList) {
    SetForm(1, 1, 1);
    for (int i = 0; i < 30; ++i) AddQuad("CD", 0, static_cast<float>(9 * i), -9, 9, 1);
    std::vector<int16_t> list;
    for (int16_t i = 0; i < 30; ++i) list.push_back(i);
    EXPECT_EQ(Cells(list).size(), 20u);
}

}  // namespace
