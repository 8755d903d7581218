#pragma once

#include <charconv>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace brunavia::strumento {

// JSON text written onto a stream one value after the other, with no document built in
// memory: dump lists thousands of cells, and a tree of nodes per cell cost most of its time.
// The text is the one nlohmann's compact dump gives for the same document (keys in the order
// written, no spaces, the same numbers and escapes, a byte that is not UTF-8 replaced), so
// the two may be swapped freely. The text passes through a buffer of a few kilobytes, handed
// to the stream as it fills and when the writer ends.
class ScrittoreJson {
public:
    explicit ScrittoreJson(std::ostream& out);
    ~ScrittoreJson();
    ScrittoreJson(const ScrittoreJson&) = delete;
    ScrittoreJson& operator=(const ScrittoreJson&) = delete;

    ScrittoreJson& oggetto() { return apri('{'); }
    ScrittoreJson& fine_oggetto() { return chiudi('}'); }
    ScrittoreJson& lista() { return apri('['); }
    ScrittoreJson& fine_lista() { return chiudi(']'); }
    // The key of the next member of an object.
    ScrittoreJson& chiave(std::string_view nome);

    ScrittoreJson& valore(std::string_view testo);
    ScrittoreJson& valore(const char* testo) { return valore(std::string_view(testo)); }
    ScrittoreJson& valore(bool v);
    ScrittoreJson& valore(double v);  // null when not finite
    ScrittoreJson& valore(std::nullptr_t);
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) ScrittoreJson& valore(T v) {
        char cifre[24];
        return grezzo({cifre, std::to_chars(cifre, cifre + sizeof cifre, v).ptr});
    }

    // A member: its key and its value.
    template <typename T>
    ScrittoreJson& membro(std::string_view nome, const T& v) {
        return chiave(nome).valore(v);
    }

private:
    ScrittoreJson& apri(char parentesi);
    ScrittoreJson& chiudi(char parentesi);
    // A value already written as JSON (a number, a literal).
    ScrittoreJson& grezzo(std::string_view token);
    // The comma before a value or key that follows another in the same object or list.
    void separa();
    void stringa(std::string_view testo);
    // Hands the buffer to the stream once it holds a block.
    void forse_svuota();
    // The escape of an ASCII byte inside a JSON string (`spazio` holds a \u00XX one), empty
    // when the byte stands as it is.
    static std::string_view escape(char c, char (&spazio)[7]);
    static bool solo_ascii(std::string_view testo);

    std::ostream& out_;
    std::string testo_;
    bool dopo_valore_ = false;
};

}  // namespace brunavia::strumento
