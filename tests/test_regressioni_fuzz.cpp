// Inputs that once broke a whole compile from memory, as the fuzz targets run it: each must end
// with a recorded error or compiled files, never with an exception out of the compile or the
// serialisation.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "compiler/descrizioni_in_memoria.h"
#include "compiler/file_compilati.h"
#include "compiler/memorizza.h"

namespace brunavia {
namespace {

const std::string kLinea =
    "[generale]\r\nlunghezza percorso, 3000\r\n[pendenze]\r\npendenza, 500, 5\r\n[fine]\r\n";

struct Compilato {
    Form1 f;
    bool celle = false;
    std::string sim;  // the table file, when the compile produced one
};

Compilato compila_in_memoria(const std::string& linea, const std::string& treno) {
    Compilato c;
    c.f.nome_scenario = "Brunavia";
    c.f.numero_treno = "706";
    DescrizioniInMemoria d(linea, treno);
    c.celle = compila(c.f, 1, d);
    if (c.celle) {
        serializza_tracciato(c.f.tracciato);
        c.sim = serializza_tabella(c.f);
        serializza_celle(c.f);
    }
    return c;
}

std::string stazione_di_nome(std::size_t byte_del_nome) {
    return "[generale]\r\nstazione, 0, 11, 800, 0,1,1, 1,1,0, 3,1,1, 1, 8,25,0, " +
           std::string(byte_del_nome, 'N') + "\r\n[fine]\r\n";
}

// A station name is written with a 16-bit length: a longer name used to pass the reading and
// then fail the writing of the table file as an internal error. It is now a read failure (25).
TEST(RegressioniFuzz, NomeDiStazioneOltre65535Byte) {
    struct Caso {
        std::size_t byte;
        std::int32_t errore;
    };
    for (const Caso c : {Caso{65535, 0}, Caso{65536, 25}}) {
        SCOPED_TRACE(c.byte);
        Compilato r;
        ASSERT_NO_THROW(r = compila_in_memoria(kLinea, stazione_di_nome(c.byte)));
        EXPECT_EQ(r.f.codice_errore, c.errore);
        ASSERT_TRUE(r.celle);
        const bool nome_scritto = r.sim.find(std::string(65535, 'N')) != std::string::npos;
        EXPECT_EQ(nome_scritto, c.errore == 0);
    }
}

}  // namespace
}  // namespace brunavia
