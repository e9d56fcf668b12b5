// SHA-1 (FIPS 180-1) over bytes in memory. The online subtitle packages are
// keyed by the SHA-1 of a media file's head, so the digest must match the
// standard one bit for bit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

class CSha1 {
public:
    using Digest = std::array<uint8_t, 20>;

    CSha1() { Reset(); }
    void Reset();
    void Update(const void* data, size_t length);
    void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
    // Pads the message and returns the digest; the object then starts over.
    Digest Final();

    // The digest as 40 lower-case hexadecimal digits.
    static std::string ToHex(const Digest& digest);
    static std::string HexOf(std::string_view bytes);
    // The message as the hash reads it: the bytes, 0x80, zeros up to 56
    // modulo 64 and the length in bits as 8 big-endian bytes.
    static std::string PaddedMessage(std::string_view bytes);

private:
    void HashBlock(const uint8_t* block);

    uint32_t m_state[5];
    uint64_t m_totalBytes;
    uint8_t m_buffer[64];
    size_t m_buffered;
};
