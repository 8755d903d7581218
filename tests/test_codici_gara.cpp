#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "compiler/codici_gara.h"

namespace brunavia {
namespace {

struct Codici {
    std::int16_t og;
    std::int32_t st;
    bool operator==(const Codici&) const = default;
};

// The two codes of a table whose rows 86 and 85 hold `treno` and `scenario`.
Codici codici(const std::string& treno, const std::string& scenario) {
    Form1 f;
    f.tabella[86].testo = treno;
    f.tabella[85].testo = scenario;
    return {codice_gara_og(f), codice_gara_st(f)};
}

TEST(CodiciGara, ValoriNoti) {
    struct Caso {
        const char* treno;
        const char* scenario;
        Codici attesi;
    };
    const Caso casi[] = {
        // "706brunavia" and the filler's first 14 letters.
        {"706", "Brunavia", {2559, 35439}},
        // Longer than 25 characters: the filler plays no part, nor does the 26th "a".
        {"aaaaaaaaaaaa", "aaaaaaaaaaaaa", {2425, 31525}},
        {"aaaaaaaaaaaaaa", "aaaaaaaaaaaaaaaaaaaaaa", {2425, 31525}},
        // The filler's first 25 letters alone.
        {"", "", {2838, 37636}},
        // A digit counts by its character code: "7" is 55.
        {"7", "", {2771, 37357}},
    };
    for (const auto& c : casi) {
        EXPECT_EQ(codici(c.treno, c.scenario), c.attesi) << c.treno << " / " << c.scenario;
    }
}

TEST(CodiciGara, MaiuscoleIndifferenti) {
    EXPECT_EQ(codici("706", "BRUNAVIA"), codici("706", "brunavia"));
    EXPECT_EQ(codici("706", "bRuNaViA"), codici("706", "Brunavia"));
    // Windows-1252 capitals beyond A..Z fold too (A grave, S caron).
    EXPECT_EQ(codici("\xc0\x8a", "x"), codici("\xe0\x9a", "x"));
    EXPECT_NE(codici("\xd7", "x"), codici("\xf7", "x"));  // the multiplication sign is no letter
}

TEST(CodiciGara, OrdineDegliIngressi) {
    const Codici diritto = codici("706", "Brunavia");
    const Codici scambiato = codici("Brunavia", "706");
    EXPECT_EQ(scambiato.og, diritto.og);
    EXPECT_EQ(scambiato.st, 34127);
}

TEST(CodiciGara, MassimiSenzaTraboccare) {
    const std::string alti(25, '\xff');
    EXPECT_EQ(codici(alti, ""), (Codici{6375, 82875}));
}

}  // namespace
}  // namespace brunavia
