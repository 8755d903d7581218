#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "tests/confronto_json.h"

namespace brunavia::strumento {
namespace {

using namespace prova_json;

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

}  // namespace
}  // namespace brunavia::strumento
