// The loader: the worked example, the keyword slots and the load statuses.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ScrambledText.h"

namespace {

GridDatabase db;

const std::string kWorkedExample = CrLfLines({
    "About Demo grid, one chart", "Chart 1", "Quadtype 0", "NrOfQuadsX 3", "NrOfQuadsY 2",
    "DownLeftPos 54'00 30'00", "UpRightPos 57'00 21'00", "QuadName CA,CB,CC", "QuadName CD,CE,CF",
    "QuadDefinitions", "Type 0", "FormX 3", "FormY 2", "Numbers:", "11,12,13,", "21,22,-1"});

// A chart section with the given name lines and values.
std::string Section(const char *chart, const char *type, int nx, int ny, const char *names,
                    const char *corners = "DownLeftPos 54'00 30'00\r\nUpRightPos 57'00 21'00\r\n")
{
    char head[200];
    std::snprintf(head, sizeof head, "Chart %s\r\nQuadtype %s\r\nNrOfQuadsX %d\r\nNrOfQuadsY %d\r\n", chart,
                  type, nx, ny);
    return head + std::string(corners) + names;
}

const char kForms[] = "QuadDefinitions\r\nType 0\r\nFormX 3\r\nFormY 2\r\nNumbers:\r\n11,12,13,\r\n21,22,-1\r\n";

TEST(GridLoader, WorkedExampleLoadsAsDocumented)
{
    ASSERT_EQ(LoadPlainText(kWorkedExample, db), kLoadOk);
    EXPECT_STREQ(db.AboutText, "Demo grid, one chart");
    ASSERT_EQ(db.QuadCount, 6);
    const struct {
        const char *name;
        float lat, lon;
    } expected[] = {{"CA", 3240, 1800}, {"CB", 3240, 1620}, {"CC", 3240, 1440},
                    {"CD", 3330, 1800}, {"CE", 3330, 1620}, {"CF", 3330, 1440}};
    for (int i = 0; i < 6; ++i) {
        const QuadRecord &q = db.Quads[i];
        EXPECT_STREQ(q.QuadName, expected[i].name);
        EXPECT_EQ(q.DownLeftLat, expected[i].lat) << i;
        EXPECT_EQ(q.DownLeftLon, expected[i].lon) << i;
        EXPECT_EQ(q.SizeLat, 90.0f);
        EXPECT_EQ(q.SizeLon, -180.0f);
        EXPECT_EQ(q.Chart, 1);
        EXPECT_EQ(q.Quadtype, 0);
    }
    const QuadForm &form = db.Forms[0];
    EXPECT_EQ(form.FormX, 3);
    EXPECT_EQ(form.FormY, 2);
    const int numbers[] = {11, 12, 13, 21, 22, -1};
    for (int n = 0; n < 6; ++n)
        EXPECT_EQ(form.Numbers[n], numbers[n]);
    EXPECT_EQ(db.Forms[1].FormX, 0);
}

TEST(GridLoader, MissingFileLeavesTheStartState)
{
    ResetGridDatabase(db);
    EXPECT_EQ(LoadGridData("no-such-directory/GridData.bin", db), kLoadNotFound);
    EXPECT_EQ(LoadGridData(".", db), kLoadNotFound); // a folder
    EXPECT_EQ(db.QuadCount, 0);
    EXPECT_STREQ(db.AboutText, "DataFile ERROR");
}

TEST(GridLoader, LoadsFromAFileAsFromMemory)
{
    const char *path = "loader-test-GridData.bin";
    std::vector<unsigned char> bytes = Scrambled(kWorkedExample);
    std::FILE *file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    ResetGridDatabase(db);
    EXPECT_EQ(LoadGridData(path, db), kLoadOk);
    EXPECT_EQ(db.QuadCount, 6);
    EXPECT_STREQ(db.Quads[5].QuadName, "CF");
    std::remove(path);
}

struct StatusCase {
    const char *what;
    std::string plain;
    int16_t status;
    int quadCount;
    const char *about;
};

TEST(GridLoader, StatusesOfWholeFiles)
{
    const StatusCase cases[] = {
        {"no About", Section("1", "0", 3, 2, "QuadName CA,CB,CC\r\nQuadName CD,CE,CF\r\n") + kForms, kLoadOk, 6,
         "DataFile ERROR"},
        {"About text on the next line", "About\r\nDemo grid\r\n" + Section("1", "0", 1, 1, "QuadName CA\r\n") + kForms,
         kLoadOk, 1, "Demo grid"},
        {"two sections", Section("1", "0", 3, 2, "QuadName CA,CB,CC,CD,CE,CF\r\n") +
                             Section("2", "0", 2, 2, "QuadName DA,DB\r\nQuadName DC,DD\r\n") + kForms,
         kLoadOk, 10, "DataFile ERROR"},
        {"five names for six quads", Section("1", "0", 3, 2, "QuadName CA,CB,CC,CD,CE\r\n") + kForms,
         kLoadCountMismatch, 6, "DataFile ERROR"},
        {"seven names for six quads", Section("1", "0", 3, 2, "QuadName CA,CB,CC,CD,CE,CF,CG\r\n") + kForms,
         kLoadCountMismatch, 6, "DataFile ERROR"},
        {"a trailing comma adds an empty name", Section("1", "0", 3, 1, "QuadName CA,CB,CC,\r\n") + kForms,
         kLoadCountMismatch, 3, "DataFile ERROR"},
        {"no QuadDefinitions", Section("1", "0", 3, 1, "QuadName CA,CB,CC\r\n"), kLoadNoDefinitions, 3,
         "DataFile ERROR"},
        {"misspelt QuadDefinitions", Section("1", "0", 3, 1, "QuadName CA,CB,CC\r\n") + "QuadDefinition\r\n",
         kLoadNoDefinitions, 3, "DataFile ERROR"},
        {"About after a section", Section("1", "0", 1, 1, "QuadName CA\r\n") + "About x\r\n" + kForms,
         kLoadNoDefinitions, 1, "DataFile ERROR"},
        {"mismatch hidden by status 2", Section("1", "0", 3, 1, "QuadName CA\r\n"), kLoadNoDefinitions, 3,
         "DataFile ERROR"},
        {"empty file", "", kLoadNoDefinitions, 0, "DataFile ERROR"},
        {"no quads across", Section("1", "0", 0, 2, "") + kForms, kLoadOk, 0, "DataFile ERROR"},
    };
    for (const StatusCase &c : cases) {
        EXPECT_EQ(LoadPlainText(c.plain, db), c.status) << c.what;
        EXPECT_EQ(db.QuadCount, c.quadCount) << c.what;
        EXPECT_STREQ(db.AboutText, c.about) << c.what;
    }
}

TEST(GridLoader, StatusTwoLeavesEveryFormUnread)
{
    EXPECT_EQ(LoadPlainText(Section("1", "0", 3, 1, "QuadName CA,CB,CC\r\n") + "Type 0\r\nFormX 3\r\n", db),
              kLoadNoDefinitions);
    for (const QuadForm &form : db.Forms)
        ASSERT_EQ(form.FormX, 0);
}

TEST(GridLoader, MissingKeywordsCostTheirWordAndKeepEarlierValues)
{
    // The second section has no Chart or Quadtype lines: the slots drop
    // "NrOfQuadsX" and "2", so the counts stay as the first section set them.
    std::string plain = Section("5", "7", 2, 1, "QuadName CA,CB\r\n") +
                        "Chart 6\r\nNrOfQuadsX 2\r\nNrOfQuadsY 1\r\n"
                        "DownLeftPos 10'00 10'00\r\nUpRightPos 11'00 8'00\r\nQuadName DA,DB\r\n" +
                        "QuadDefinitions\r\nType 7\r\nFormX 2\r\nFormY 1\r\nNumbers: 11,12\r\n";
    ASSERT_EQ(LoadPlainText(plain, db), kLoadOk);
    ASSERT_EQ(db.QuadCount, 4);
    EXPECT_EQ(db.Quads[2].Chart, 6);
    EXPECT_EQ(db.Quads[2].Quadtype, 7);
    EXPECT_EQ(db.Quads[2].DownLeftLat, 600.0f);
    EXPECT_EQ(db.Quads[3].DownLeftLon, 540.0f);
    EXPECT_EQ(db.Quads[3].SizeLon, -60.0f);
}

TEST(GridLoader, FirstSectionWithoutKeywordsReadsZero)
{
    std::string plain = "NrOfQuadsX 1\r\nNrOfQuadsY 1\r\nDownLeftPos 1'00 1'00\r\nUpRightPos 2'00 0'00\r\n"
                        "QuadName CA\r\nQuadDefinitions\r\nFormX 1\r\nFormY 1\r\nNumbers: 11\r\n";
    // "NrOfQuadsX" fills the Chart slot and is dropped, the next slots are
    // off by one word, and the form's FormX slot takes the "1" after FormX.
    EXPECT_EQ(LoadPlainText(plain, db), kLoadCountMismatch);
    EXPECT_EQ(db.QuadCount, 0);
    EXPECT_EQ(db.Forms[0].FormX, 0); // no Type: the form index starts at 0
    EXPECT_EQ(db.Forms[0].FormY, 1);
}

TEST(GridLoader, QuadtypeLineWithLeadingSpaceIsDropped)
{
    std::string plain = "Chart 1\r\n Quadtype 3\r\nNrOfQuadsX 1\r\nNrOfQuadsY 1\r\n"
                        "DownLeftPos 1'00 1'00\r\nUpRightPos 2'00 0'00\r\nQuadName CA\r\n";
    // Every later slot reads the word before its own, so no quad is made.
    EXPECT_EQ(LoadPlainText(plain, db), kLoadNoDefinitions);
    EXPECT_EQ(db.QuadCount, 0);
}

TEST(GridLoader, FormDefinitions)
{
    const std::string section = Section("1", "0", 1, 1, "QuadName CA\r\n");
    // A type defined twice: the later definition overwrites what it lists.
    ASSERT_EQ(LoadPlainText(section + "QuadDefinitions\r\nType 4\r\nFormX 2\r\nFormY 2\r\nNumbers: 1,2,3,4\r\n"
                                      "Type 4\r\nFormX 1\r\nFormY 1\r\nNumbers: 9\r\n",
                            db),
              kLoadOk);
    EXPECT_EQ(db.Forms[4].FormX, 1);
    EXPECT_EQ(db.Forms[4].Numbers[0], 9);
    EXPECT_EQ(db.Forms[4].Numbers[1], 2);
    // An empty layout reads no entry, and the next word is read at once.
    ASSERT_EQ(LoadPlainText(section + "QuadDefinitions\r\nType 4\r\nFormX 0\r\nFormY 3\r\nNumbers:\r\n"
                                      "Type 5\r\nFormX 1\r\nFormY 1\r\nNumbers: 7\r\n",
                            db),
              kLoadOk);
    EXPECT_EQ(db.Forms[5].Numbers[0], 7);
    // A list spread over lines with TABs.
    ASSERT_EQ(LoadPlainText(section + "QuadDefinitions\r\n\tType 2\r\n\tFormX 2\r\n\tFormY 2\r\n\tNumbers:\r\n"
                                      "\t11,\t12,\r\n\t-1,\r\n\t22\r\nEnd\r\n",
                            db),
              kLoadOk);
    EXPECT_EQ(db.Forms[2].Numbers[2], -1);
    EXPECT_EQ(db.Forms[2].Numbers[3], 22);
}

TEST(GridLoader, CellsPastTheLastNameGetTheEmptyName)
{
    // The first section's names must not leak into the second, shorter one.
    std::string plain = Section("1", "0", 3, 1, "QuadName CA,CB,CC\r\n") +
                        Section("1", "0", 3, 1, "QuadName DA\r\n") + kForms;
    ASSERT_EQ(LoadPlainText(plain, db), kLoadCountMismatch);
    EXPECT_STREQ(db.Quads[3].QuadName, "DA");
    EXPECT_STREQ(db.Quads[4].QuadName, "");
    EXPECT_STREQ(db.Quads[5].QuadName, "");
}

TEST(GridLoader, RowsRunFromTheDownLeftCorner)
{
    std::string plain = Section("1", "0", 2, 3, "QuadName A1,A2,B1,B2,C1,C2\r\n",
                                "DownLeftPos -10'00 -20'00\r\nUpRightPos -0.5'0 -30'00\r\n") + kForms;
    ASSERT_EQ(LoadPlainText(plain, db), kLoadOk);
    EXPECT_EQ(db.Quads[0].DownLeftLat, -600.0f);
    EXPECT_EQ(db.Quads[1].DownLeftLon, -1500.0f);
    EXPECT_EQ(db.Quads[4].DownLeftLat, -600.0f + 2 * 190.0f);
    EXPECT_EQ(db.Quads[4].SizeLat, 190.0f);
    EXPECT_EQ(db.Quads[4].SizeLon, -300.0f);
}

} // namespace
