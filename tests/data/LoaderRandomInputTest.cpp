// Random and mutated bytes never crash the loader or leave a count out of
// its table's range; the sanitizer build also checks every access.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ScrambledText.h"

namespace {

GridDatabase db;

void ExpectSaneDatabase(const GridDatabase &d, int16_t status)
{
    ASSERT_GE(status, kLoadNotFound + 1);
    ASSERT_LE(status, kLoadBeyondLimits);
    ASSERT_GE(d.QuadCount, 0);
    ASSERT_LE(d.QuadCount, kMaxQuadRecords);
    for (int i = 0; i < d.QuadCount; ++i) {
        ASSERT_GE(d.Quads[i].Quadtype, 0);
        ASSERT_LT(d.Quads[i].Quadtype, kMaxQuadTypes);
    }
    if (status == kLoadOk) {
        for (const QuadForm &form : d.Forms)
            ASSERT_LE(form.FormX * form.FormY, kMaxFormCells);
    }
}

TEST(LoaderRandomInput, RandomBytesAndMutatedFiles)
{
    const std::string base =
        "About Demo\r\nChart 1\r\nQuadtype 0\r\nNrOfQuadsX 3\r\nNrOfQuadsY 2\r\nDownLeftPos 54'00 30'00\r\n"
        "UpRightPos 57'00 21'00\r\nQuadName CA,CB,CC\r\nQuadName CD,CE,CF\r\nQuadDefinitions\r\nType 0\r\n"
        "FormX 3\r\nFormY 2\r\nNumbers:\r\n11,12,13,\r\n21,22,-1\r\n";
    const char alphabet[] = "0123456789,'. -\r\n\tABCQuadNameChartTypeFormXY:\xFF\xE5";
    std::mt19937 random(20261207);
    for (int round = 0; round < 4000; ++round) {
        std::string plain;
        if (round % 2 == 0) {
            size_t length = random() % 600;
            for (size_t i = 0; i < length; ++i)
                plain += round % 4 == 0 ? static_cast<char>(random() & 0xFF)
                                        : alphabet[random() % (sizeof alphabet - 1)];
        } else {
            plain = base;
            for (int edits = 1 + random() % 6; edits > 0; --edits) {
                size_t at = random() % plain.size();
                switch (random() % 3) {
                case 0: plain[at] = alphabet[random() % (sizeof alphabet - 1)]; break;
                case 1: plain.erase(at, 1 + random() % 4); break;
                default: plain.insert(at, std::string(1 + random() % 40, alphabet[random() % 10])); break;
                }
                if (plain.empty())
                    plain = "x";
            }
        }
        int16_t status = LoadPlainText(plain, db);
        ExpectSaneDatabase(db, status);
    }
}

} // namespace
