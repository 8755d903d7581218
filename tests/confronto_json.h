#pragma once
// The JSON writer of dump against nlohmann's compact dump: a document written through the
// writer node by node, and the text nlohmann gives for it.

#include <nlohmann/json.hpp>
#include <string>

#include "tool/dump/scrittore_json.h"

namespace brunavia::strumento::prova_json {

using Json = nlohmann::ordered_json;

// Writes a document through the writer, node by node, as dump's listings do.
inline void scrivi(ScrittoreJson& j, const Json& v) {
    switch (v.type()) {
        case Json::value_t::object:
            j.oggetto();
            for (const auto& [chiave, membro] : v.items()) scrivi(j.chiave(chiave), membro);
            j.fine_oggetto();
            break;
        case Json::value_t::array:
            j.lista();
            for (const Json& elemento : v) scrivi(j, elemento);
            j.fine_lista();
            break;
        case Json::value_t::string:
            j.valore(v.get_ref<const std::string&>());
            break;
        case Json::value_t::boolean:
            j.valore(v.get<bool>());
            break;
        case Json::value_t::number_integer:
            j.valore(v.get<std::int64_t>());
            break;
        case Json::value_t::number_unsigned:
            j.valore(v.get<std::uint64_t>());
            break;
        case Json::value_t::number_float:
            j.valore(v.get<double>());
            break;
        default:
            j.valore(nullptr);
            break;
    }
}

// The text the writer gives must be the text nlohmann's compact dump gave before it, byte for
// byte: the listings of stored files are compared by their users.
inline std::string attesa(const Json& v) {
    return v.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

inline std::string scritta(const Json& v) {
    std::ostringstream testo;
    {
        ScrittoreJson j(testo);
        scrivi(j, v);
    }
    return testo.str();
}

}  // namespace brunavia::strumento::prova_json
