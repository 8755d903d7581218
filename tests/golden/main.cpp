// brunavia_golden: checks the compile of every case of the golden corpus against the stored
// fingerprints, or writes them anew.
//   brunavia_golden FILE            check; exit 1 and the first difference decoded on a change
//   brunavia_golden --update FILE   write the fingerprints of the current compile
//   brunavia_golden --show N        print case N's two descriptions
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/golden/generatore.h"
#include "tests/golden/impronte.h"

namespace {

using namespace brunavia::golden;

std::string nome_caso(std::size_t i, const Caso& c) {
    return "caso " + std::to_string(i) + " (" + c.famiglia + ", seme " + std::to_string(c.seme) +
           ": " + c.descrizione + ")";
}

int aggiorna(const std::vector<Caso>& casi, const std::string& file) {
    std::vector<ImprontaCaso> impronte;
    for (const Caso& c : casi) impronte.push_back(impronta(c));
    std::ofstream out(file, std::ios::binary);
    out << scrivi_impronte(impronte);
    if (!out.flush()) {
        std::cerr << "golden: impossibile scrivere " << file << "\n";
        return 1;
    }
    std::cout << "golden: " << casi.size() << " casi scritti in " << file << "\n";
    return 0;
}

int verifica(const std::vector<Caso>& casi, const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "golden: manca " << file << "\n";
        return 1;
    }
    std::stringstream testo;
    testo << in.rdbuf();
    const std::vector<ImprontaCaso> attese = leggi_impronte(testo.str());
    if (attese.size() != casi.size()) {
        std::cerr << "golden: il corpus ha " << attese.size() << " casi, il generatore ne fa "
                  << casi.size() << "\n";
        return 1;
    }
    std::vector<std::size_t> diversi;
    for (std::size_t i = 0; i < casi.size(); ++i) {
        const std::string d = differenza(attese[i], impronta(casi[i]));
        if (d.empty()) continue;
        if (diversi.empty()) {
            std::cerr << "golden: il " << nome_caso(i, casi[i]) << " non compila come atteso\n  "
                      << d << "\n";
        }
        diversi.push_back(i);
    }
    if (diversi.empty()) {
        std::cout << "golden: " << casi.size() << " casi, tutti come attesi\n";
        return 0;
    }
    std::cerr << "golden: " << diversi.size() << " casi su " << casi.size() << " diversi:";
    for (std::size_t k = 0; k < diversi.size() && k < 20; ++k) std::cerr << " " << diversi[k];
    std::cerr << (diversi.size() > 20 ? " ...\n" : "\n")
              << "golden: descrizioni di un caso: brunavia_golden --show N; se il cambiamento e' "
                 "voluto: scripts/golden.sh --update, con il perche' nel messaggio del commit\n";
    return 1;
}

int mostra(const std::vector<Caso>& casi, const std::string& indice) {
    const std::size_t i = std::stoul(indice);
    if (i >= casi.size()) return 1;
    const Caso& c = casi[i];
    std::cout << "# " << nome_caso(i, c) << ", flag " << c.flag << "\n# linea:\n"
              << c.linea.value_or("(mancante)\n") << "# treno:\n"
              << c.treno.value_or("(mancante)\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> a(argv + 1, argv + argc);
    try {
        const std::vector<Caso> casi = corpus();
        if (a.size() == 2 && a[0] == "--update") return aggiorna(casi, a[1]);
        if (a.size() == 2 && a[0] == "--show") return mostra(casi, a[1]);
        if (a.size() == 1) return verifica(casi, a[0]);
    } catch (const std::exception& e) {
        std::cerr << "golden: " << e.what() << "\n";
        return 1;
    }
    std::cerr << "uso: brunavia_golden [--update] FILE | --show N\n";
    return 64;
}
