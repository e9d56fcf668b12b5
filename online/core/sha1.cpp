#include "online/core/sha1.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t Rotl(uint32_t value, int bits)
{
    return (value << bits) | (value >> (32 - bits));
}

} // namespace

void CSha1::Reset()
{
    m_state[0] = 0x67452301u;
    m_state[1] = 0xEFCDAB89u;
    m_state[2] = 0x98BADCFEu;
    m_state[3] = 0x10325476u;
    m_state[4] = 0xC3D2E1F0u;
    m_totalBytes = 0;
    m_buffered = 0;
}

void CSha1::HashBlock(const uint8_t* block)
{
    uint32_t w[80];
    for (int i = 0; i < 16; ++i)
        w[i] = (uint32_t(block[4 * i]) << 24) | (uint32_t(block[4 * i + 1]) << 16) | (uint32_t(block[4 * i + 2]) << 8) |
               uint32_t(block[4 * i + 3]);
    for (int i = 16; i < 80; ++i)
        w[i] = Rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);

    uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3], e = m_state[4];
    for (int i = 0; i < 80; ++i) {
        uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        const uint32_t t = Rotl(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = Rotl(b, 30);
        b = a;
        a = t;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
}

void CSha1::Update(const void* data, size_t length)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    m_totalBytes += length;
    if (m_buffered > 0) {
        const size_t take = std::min(length, sizeof(m_buffer) - m_buffered);
        std::memcpy(m_buffer + m_buffered, bytes, take);
        m_buffered += take;
        bytes += take;
        length -= take;
        if (m_buffered < sizeof(m_buffer))
            return;
        HashBlock(m_buffer);
        m_buffered = 0;
    }
    for (; length >= 64; bytes += 64, length -= 64)
        HashBlock(bytes);
    if (length > 0) {
        std::memcpy(m_buffer, bytes, length);
        m_buffered = length;
    }
}

CSha1::Digest CSha1::Final()
{
    const uint64_t bitLength = m_totalBytes * 8;
    // 0x80, zeros up to 56 bytes into a block, then the length (big-endian).
    uint8_t padding[72] = {0x80};
    const size_t padLength = (m_buffered < 56 ? 56 : 120) - m_buffered;
    uint8_t lengthBytes[8];
    for (int i = 0; i < 8; ++i)
        lengthBytes[i] = static_cast<uint8_t>(bitLength >> (56 - 8 * i));
    Update(padding, padLength);
    Update(lengthBytes, sizeof(lengthBytes));

    Digest digest;
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 4; ++j)
            digest[static_cast<size_t>(4 * i + j)] = static_cast<uint8_t>(m_state[i] >> (24 - 8 * j));
    Reset();
    return digest;
}

std::string CSha1::ToHex(const Digest& digest)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(digest.size() * 2);
    for (uint8_t byte : digest) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0x0F];
    }
    return hex;
}

std::string CSha1::HexOf(std::string_view bytes)
{
    CSha1 sha;
    sha.Update(bytes);
    return ToHex(sha.Final());
}

std::string CSha1::PaddedMessage(std::string_view bytes)
{
    std::string padded(bytes);
    padded += static_cast<char>(0x80);
    while (padded.size() % 64 != 56)
        padded += '\0';
    const uint64_t bits = static_cast<uint64_t>(bytes.size()) * 8;
    for (int shift = 56; shift >= 0; shift -= 8)
        padded += static_cast<char>((bits >> shift) & 0xFF);
    return padded;
}
