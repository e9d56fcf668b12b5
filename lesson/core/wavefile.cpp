#include "lesson/core/wavefile.h"

#include <cstring>

bool CWaveFile::CheckChunkId(const unsigned char* p, char a, char b, char c, char d)
{
    return p[0] == static_cast<unsigned char>(a) && p[1] == static_cast<unsigned char>(b) &&
           p[2] == static_cast<unsigned char>(c) && p[3] == static_cast<unsigned char>(d);
}

void CWaveFile::FillHeaders(int rate, int bits, int channels, uint32_t dataBytes)
{
    const uint32_t blockAlign = static_cast<uint32_t>(channels) * static_cast<uint32_t>(bits / 8);
    std::memcpy(m_pRiffHeader, "RIFF", 4);
    PutLe32(m_pRiffHeader + 4, 36 + dataBytes);
    std::memcpy(m_pRiffHeader + 8, "WAVE", 4);

    std::memcpy(m_pFmtChunk, "fmt ", 4);
    PutLe32(m_pFmtChunk + 4, 16);
    PutLe16(m_pFmtChunk + 8, 1);   // PCM
    PutLe16(m_pFmtChunk + 10, static_cast<uint16_t>(channels));
    PutLe32(m_pFmtChunk + 12, static_cast<uint32_t>(rate));
    PutLe32(m_pFmtChunk + 16, static_cast<uint32_t>(rate) * blockAlign);
    PutLe16(m_pFmtChunk + 20, static_cast<uint16_t>(blockAlign));
    PutLe16(m_pFmtChunk + 22, static_cast<uint16_t>(bits));

    std::memcpy(m_pDataHeader, "data", 4);
    PutLe32(m_pDataHeader + 4, dataBytes);
}

void CWaveFile::FormatFromFmtChunk(int* rate, short* bits, short* channels) const
{
    if (rate != nullptr)
        *rate = static_cast<int>(GetLe32(m_pFmtChunk + 12));
    if (bits != nullptr)
        *bits = static_cast<short>(GetLe16(m_pFmtChunk + 22));
    if (channels != nullptr)
        *channels = static_cast<short>(GetLe16(m_pFmtChunk + 10));
}

uint16_t CWaveFile::GetLe16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t CWaveFile::GetLe32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void CWaveFile::PutLe16(unsigned char* p, uint16_t value)
{
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
}

void CWaveFile::PutLe32(unsigned char* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(value >> (8 * i));
}
