// The three headers of a PCM WAV file (RIFF, "fmt " and "data"), kept as the
// bytes that stand in the file, shared by the WAV writer and reader.
#pragma once

#include <cstdint>

class CWaveFile {
public:
    CWaveFile() = default;
    virtual ~CWaveFile() = default;
    CWaveFile(const CWaveFile&) = delete;
    CWaveFile& operator=(const CWaveFile&) = delete;

    // Whether the four bytes at p are a, b, c, d.
    static bool CheckChunkId(const unsigned char* p, char a, char b, char c, char d);

    static constexpr int kRiffHeaderSize = 12;
    static constexpr int kFmtChunkSize = 24;
    static constexpr int kDataHeaderSize = 8;
    static constexpr int kHeaderSize = kRiffHeaderSize + kFmtChunkSize + kDataHeaderSize;

protected:
    // Fills the headers of a PCM file with the format and dataBytes of samples.
    void FillHeaders(int rate, int bits, int channels, uint32_t dataBytes);
    // Rate, bits and channels as the fmt chunk gives them.
    void FormatFromFmtChunk(int* rate, short* bits, short* channels) const;

    static uint16_t GetLe16(const unsigned char* p);
    static uint32_t GetLe32(const unsigned char* p);
    static void PutLe16(unsigned char* p, uint16_t value);
    static void PutLe32(unsigned char* p, uint32_t value);

    unsigned char m_pRiffHeader[kRiffHeaderSize] = {};
    unsigned char m_pFmtChunk[kFmtChunkSize] = {};
    unsigned char m_pDataHeader[kDataHeaderSize] = {};
};
