#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tool/dump/scrittore_json.h"

namespace brunavia::strumento {
namespace {

using Json = nlohmann::ordered_json;

// Writes a document through the writer, node by node, as dump's listings do.
void scrivi(ScrittoreJson& j, const Json& v) {
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
std::string attesa(const Json& v) {
    return v.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string scritta(const Json& v) {
    std::ostringstream testo;
    {
        ScrittoreJson j(testo);
        scrivi(j, v);
    }
    return testo.str();
}

TEST(StrumentoDumpJson, ComeIlDumpCompattoDiNlohmann) {
    std::string controlli;
    for (int c = 0; c < 0x20; ++c) controlli += static_cast<char>(c);
    const Json casi[] = {
        Json::object(),
        Json::array(),
        nullptr,
        true,
        false,
        0,
        -1,
        std::numeric_limits<std::int64_t>::min(),
        std::numeric_limits<std::uint64_t>::max(),
        0.0,
        -0.0,
        1.0,
        0.1,
        -2.5,
        1e20,
        1e-7,
        1.5e300,
        123456789012345680.0,
        std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::max(),
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::infinity(),
        "",
        controlli,
        "\"virgolette\" \\ / \x7f fine",
        "Citt\xc3\xa0 \xe2\x82\xac",           // UTF-8
        "rotto \xff a met\xc3",                // bytes that are not UTF-8
        "\xe2\x82 e \xed\xa0\x80 e \xc0\xaf",  // cut, surrogate, overlong
        {{"file", "celle"}, {"numero_celle", 2}, {"celle", {{{"a", 1}}, {{"b", nullptr}}}}},
        {{"letture", Json::array({Json::object(), Json::array(), {1, "x", 2.0}})}, {"z", {}}},
    };
    for (const Json& caso : casi) EXPECT_EQ(scritta(caso), attesa(caso)) << attesa(caso);
    // A document longer than the writer's buffer, handed to the stream in several blocks.
    Json lungo = Json::array();
    for (int k = 0; k < 3000; ++k) lungo.push_back({{"indice", k}, {"testo", "a capo\n"}});
    EXPECT_EQ(scritta(lungo), attesa(lungo));
}

RC_GTEST_PROP(StrumentoDumpJson, TestiENumeriQualsiasiComeNlohmann,
              (const std::string& testo, std::uint64_t bit, std::int64_t intero)) {
    const Json documento = {{testo, testo},
                            {"reale", std::bit_cast<double>(bit)},
                            {"intero", intero},
                            {"lista", {testo, intero, nullptr}}};
    RC_ASSERT(scritta(documento) == attesa(documento));
}

}  // namespace
}  // namespace brunavia::strumento
