#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

// Byte work that carries no decision of its own (copying values into a buffer) is left out of
// the fuzzers' coverage instrumentation: it would only slow every run down.
// The buffer's own steps are also always inlined into their callers. A loop that copies a
// whole array, having checked its bounds once, may also skip the address checks of each value.
#if defined(__clang__)
#define BRUNAVIA_SENZA_COPERTURA __attribute__((no_sanitize("coverage")))
#define BRUNAVIA_PASSO_BUFFER __attribute__((always_inline, no_sanitize("coverage")))
#define BRUNAVIA_COPIA_IN_BLOCCO __attribute__((no_sanitize("coverage", "address")))
#else
#define BRUNAVIA_SENZA_COPERTURA
#define BRUNAVIA_PASSO_BUFFER
#define BRUNAVIA_COPIA_IN_BLOCCO
#endif

namespace brunavia {

// Where a FlussoByte hands its bytes on, one full buffer at a time, in order.
class DestinazioneByte {
public:
    virtual ~DestinazioneByte() = default;
    virtual void ricevi(const char* dati, std::size_t quanti) = 0;
};

// The bytes collected in a string.
class DestinazioneStringa : public DestinazioneByte {
public:
    void ricevi(const char* dati, std::size_t quanti) override { byte_.append(dati, quanti); }
    std::string& byte() { return byte_; }

private:
    std::string byte_;
};

// Writes little-endian values into a fixed buffer and hands each full buffer to its
// destination, so that a file of any size passes through the same few kilobytes.
class FlussoByte {
public:
    static constexpr std::size_t kCapacita = std::size_t{1} << 16;

    explicit FlussoByte(DestinazioneByte& destinazione)
        : destinazione_(destinazione), buffer_(std::make_unique_for_overwrite<char[]>(kCapacita)) {}
    FlussoByte(const FlussoByte&) = delete;
    FlussoByte& operator=(const FlussoByte&) = delete;

    void u8(std::uint8_t v) { intero(v); }
    void u16(std::uint16_t v) { intero(v); }
    void i16(std::int16_t v) { intero(static_cast<std::uint16_t>(v)); }
    void i32(std::int32_t v) { intero(static_cast<std::uint32_t>(v)); }
    void f64(double v) { intero(std::bit_cast<std::uint64_t>(v)); }
    void byte(std::string_view b) {
        while (!b.empty()) {
            if (spazio() == 0) svuota();
            const std::size_t parte = std::min(spazio(), b.size());
            std::memcpy(riserva(parte), b.data(), parte);
            b.remove_prefix(parte);
        }
    }

    // A pointer to `quanti` contiguous bytes of the buffer (at most kCapacita), which the
    // caller fills at once; for runs of values written without a check per value.
    BRUNAVIA_PASSO_BUFFER char* riserva(std::size_t quanti) {
        if (kCapacita - usati_ < quanti) svuota();
        char* p = buffer_.get() + usati_;
        usati_ += quanti;
        return p;
    }
    // How many bytes fit in the buffer before it must be handed on.
    BRUNAVIA_PASSO_BUFFER std::size_t spazio() const { return kCapacita - usati_; }

    // Hands the bytes collected so far to the destination.
    void svuota() {
        if (usati_ == 0) return;
        destinazione_.ricevi(buffer_.get(), usati_);
        consegnati_ += usati_;
        usati_ = 0;
    }
    // How many bytes went through the stream so far.
    std::size_t scritti() const { return consegnati_ + usati_; }

    // A value as its little-endian bytes at `p`.
    template <typename T>
    BRUNAVIA_PASSO_BUFFER static void metti(char* p, T v) {
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(p, &v, sizeof v);
        } else {
            for (std::size_t i = 0; i < sizeof v; ++i) {
                p[i] = static_cast<char>(static_cast<std::uint64_t>(v) >> (8 * i));
            }
        }
    }

private:
    template <typename T>
    BRUNAVIA_PASSO_BUFFER void intero(T v) {
        metti(riserva(sizeof v), v);
    }

    DestinazioneByte& destinazione_;
    std::unique_ptr<char[]> buffer_;
    std::size_t usati_ = 0;
    std::size_t consegnati_ = 0;
};

}  // namespace brunavia
