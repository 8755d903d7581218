#include "tool/dump/scrittore_json.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <ostream>

namespace brunavia::strumento {
namespace {

// What the buffer holds before it goes to the stream.
constexpr std::size_t kBlocco = 16 * 1024;

}  // namespace

std::string_view ScrittoreJson::escape(char c, char (&spazio)[7]) {
    switch (c) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\b':
            return "\\b";
        case '\f':
            return "\\f";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        default:
            break;
    }
    if (static_cast<unsigned char>(c) > 0x1F) return {};
    static constexpr char kCifre[] = "0123456789abcdef";
    const auto b = static_cast<unsigned char>(c);
    spazio[0] = '\\';
    spazio[1] = 'u';
    spazio[2] = '0';
    spazio[3] = '0';
    spazio[4] = kCifre[b >> 4];
    spazio[5] = kCifre[b & 0xF];
    return {spazio, 6};
}

bool ScrittoreJson::solo_ascii(std::string_view testo) {
    for (const char c : testo) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

ScrittoreJson::ScrittoreJson(std::ostream& out) : out_(out) {
    testo_.reserve(kBlocco + 1024);
}

ScrittoreJson::~ScrittoreJson() {
    out_.write(testo_.data(), static_cast<std::streamsize>(testo_.size()));
}

void ScrittoreJson::forse_svuota() {
    if (testo_.size() < kBlocco) return;
    out_.write(testo_.data(), static_cast<std::streamsize>(testo_.size()));
    testo_.clear();
}

void ScrittoreJson::separa() {
    if (dopo_valore_) testo_ += ',';
}

ScrittoreJson& ScrittoreJson::apri(char parentesi) {
    separa();
    testo_ += parentesi;
    dopo_valore_ = false;
    return *this;
}

ScrittoreJson& ScrittoreJson::chiudi(char parentesi) {
    testo_ += parentesi;
    dopo_valore_ = true;
    forse_svuota();
    return *this;
}

ScrittoreJson& ScrittoreJson::chiave(std::string_view nome) {
    separa();
    stringa(nome);
    testo_ += ':';
    dopo_valore_ = false;
    return *this;
}

void ScrittoreJson::stringa(std::string_view testo) {
    // Texts beyond ASCII are rare (a station's name) and may hold bytes that are not UTF-8:
    // nlohmann writes those, with its own replacement of the bad bytes.
    if (!solo_ascii(testo)) {
        testo_ +=
            nlohmann::json(testo).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
        return;
    }
    testo_ += '"';
    char spazio[7];
    std::size_t inizio = 0;
    for (std::size_t i = 0; i < testo.size(); ++i) {
        const std::string_view e = escape(testo[i], spazio);
        if (e.empty()) continue;
        testo_.append(testo.substr(inizio, i - inizio));
        testo_ += e;
        inizio = i + 1;
    }
    testo_.append(testo.substr(inizio));
    testo_ += '"';
}

ScrittoreJson& ScrittoreJson::valore(std::string_view testo) {
    separa();
    stringa(testo);
    dopo_valore_ = true;
    return *this;
}

ScrittoreJson& ScrittoreJson::grezzo(std::string_view token) {
    separa();
    testo_ += token;
    dopo_valore_ = true;
    return *this;
}

ScrittoreJson& ScrittoreJson::valore(bool v) {
    return grezzo(v ? "true" : "false");
}

ScrittoreJson& ScrittoreJson::valore(std::nullptr_t) {
    return grezzo("null");
}

ScrittoreJson& ScrittoreJson::valore(double v) {
    if (!std::isfinite(v)) return valore(nullptr);
    // nlohmann's own shortest form of a binary64 ("1.0", "0.1", "1e+20"), which to_chars does
    // not always give.
    return grezzo(nlohmann::json(v).dump());
}

}  // namespace brunavia::strumento
