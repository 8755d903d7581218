#pragma once
// The input of the compiled-file targets: the cells (<scenario>_<train>.dat), the table
// (<scenario>_<train>.sim) and, when present, the plan (<scenario>_linea.dat), one after the
// other with kSeparatore between them. Compiled files hold any byte, so the separator is a
// string that the dictionary offers to the fuzzer as a whole.
#include <optional>
#include <string>
#include <string_view>

namespace brunavia::fuzz {

inline constexpr std::string_view kSeparatore = "\n#brunavia-file#\n";

struct FileCompilati {
    std::string celle;
    std::string tabella;
    std::optional<std::string> tracciato;
};

inline FileCompilati separa_compilati(std::string_view ingresso) {
    FileCompilati f;
    const auto primo = ingresso.find(kSeparatore);
    f.celle = std::string(ingresso.substr(0, primo));
    if (primo == std::string_view::npos) return f;
    ingresso.remove_prefix(primo + kSeparatore.size());
    const auto secondo = ingresso.find(kSeparatore);
    f.tabella = std::string(ingresso.substr(0, secondo));
    if (secondo != std::string_view::npos)
        f.tracciato = std::string(ingresso.substr(secondo + kSeparatore.size()));
    return f;
}

inline std::string unisci_compilati(const FileCompilati& f) {
    std::string s = f.celle;
    s += kSeparatore;
    s += f.tabella;
    if (f.tracciato) {
        s += kSeparatore;
        s += *f.tracciato;
    }
    return s;
}

}  // namespace brunavia::fuzz
