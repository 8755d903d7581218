#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "tests/confronto_json.h"

namespace brunavia::strumento {
namespace {

using namespace prova_json;

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
