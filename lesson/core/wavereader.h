// Reads the PCM samples of a WAV file. The file comes from outside, so every
// size it states is held to what the file really contains.
#pragma once

#include <cstdint>

#include "lesson/core/wavedatastore.h"
#include "lesson/core/wavefile.h"
#include "platform/cstring.h"
#include "platform/file.h"

class CWaveReader : public CWaveFile, public CWaveDataStore {
public:
    // Opens the file at path (program text) and reads its headers. Throws
    // WaveErrors::FileOperation when it cannot be opened or is no regular
    // file (a FIFO would block the open until a writer came), and the other
    // WaveErrors when it is not a RIFF/WAVE file with "fmt " and "data".
    explicit CWaveReader(const char* path);
    ~CWaveReader() override;

    virtual void Close();

    // Gives up to *len sample bytes; *len = 0 at the end or on a closed file.
    void Read(char* buf, int* len) override;
    void GetFormat(int* rate, short* bits, short* channels) override;
    // Moves within the samples: absolute from the first (a negative position
    // means the end), or relative to the current one; held to the samples.
    bool Seek(int pos, bool absolute) override;

    // Sample bytes of the file: the data chunk's size, cut to the bytes that
    // follow its header.
    int64_t GetDataSize() const { return m_nDataSize; }

private:
    void ReadHeaders();
    // Finds a "data" chunk header at or after `from`; its file offset, or -1.
    int64_t FindDataChunk(int64_t from);
    // Reads up to count bytes at the current position, the rest left zero.
    unsigned ReadZeroFilled(unsigned char* target, unsigned count);

    CFile m_file;
    CString m_strPath;
    int64_t m_nDataStart = 0;   // file offset of the first sample byte
    int64_t m_nDataSize = 0;
    int64_t m_nDataLeft = 0;    // sample bytes not read yet
};
