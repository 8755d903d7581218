#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/lettore_campi.h"

// Splitting the rows of the written description files back into their fields, for the tests
// that check the files' text.
namespace brunavia::prova {

using Campi = std::vector<std::string>;

inline std::string senza_spazi(std::string_view testo) {
    const auto inizio = testo.find_first_not_of(' ');
    if (inizio == std::string_view::npos) return {};
    return std::string(testo.substr(inizio, testo.find_last_not_of(' ') - inizio + 1));
}

// A row split at its commas, spaces kept.
inline Campi grezzi(const std::string& riga) {
    Campi out;
    std::size_t inizio = 0;
    for (;;) {
        const auto virgola = riga.find(',', inizio);
        out.push_back(riga.substr(inizio, virgola - inizio));
        if (virgola == std::string::npos) return out;
        inizio = virgola + 1;
    }
}

// The same fields with the surrounding spaces removed; field 0 is the keyword.
inline Campi campi(const std::string& riga) {
    auto out = grezzi(riga);
    for (auto& c : out) c = senza_spazi(c);
    return out;
}

// A numeric field; an empty one reads 0, as the compiler reads it.
inline std::int64_t numero(const std::string& campo) {
    return campo.empty() ? 0 : std::stoll(campo);
}

// The fields a row kind is read with: its keyword's start, how many numbers follow, whether
// a text field closes the row, and (when the numbers are not the row's comma fields, as on the
// clock line) the numbers expected.
struct FormaRiga {
    std::string chiave;
    std::size_t numeri;
    bool testo;
    std::vector<std::int64_t> numeri_fissi = {};
};

// Reads the written rows back field by field as the compiler reads them: each row gives its
// keyword, exactly its numbers (empty fields read 0) and its closing text, and leaves the
// reader at the start of the next line.
inline void verifica_rilettura(const std::vector<std::string>& righe,
                               const std::vector<FormaRiga>& forme) {
    std::string byte;
    for (const auto& r : righe) byte += r + "\r\n";
    LettoreCampi lettore(byte);
    for (std::size_t i = 0; i < righe.size(); ++i) {
        SCOPED_TRACE(righe[i]);
        const auto attesi = campi(righe[i]);
        ASSERT_EQ(lettore.leggi_testo(), attesi[0]);
        ASSERT_EQ(lettore.ultimo_campo().riga, static_cast<int>(i) + 1);
        const auto forma = std::find_if(forme.begin(), forme.end(), [&](const FormaRiga& f) {
            return attesi[0].starts_with(f.chiave);
        });
        ASSERT_NE(forma, forme.end());
        if (forma->numeri_fissi.empty()) {
            ASSERT_EQ(attesi.size(), 1 + forma->numeri + (forma->testo ? 1 : 0));
        }
        for (std::size_t k = 1; k <= forma->numeri; ++k) {
            const std::int64_t atteso =
                forma->numeri_fissi.empty() ? numero(attesi[k]) : forma->numeri_fissi[k - 1];
            EXPECT_EQ(lettore.leggi_numero<std::int32_t>(), atteso) << "campo " << k;
        }
        if (forma->testo) {
            EXPECT_EQ(lettore.leggi_testo(), attesi.back());
        }
    }
    EXPECT_TRUE(lettore.fine_file());
}

}  // namespace brunavia::prova
