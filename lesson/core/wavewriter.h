// Writes PCM samples into a WAV file: the 44-byte header at once (with no
// samples counted) and the real sizes when the file is closed.
#pragma once

#include <cstdint>

#include "lesson/core/wavedatastore.h"
#include "lesson/core/wavefile.h"
#include "platform/cstring.h"
#include "platform/file.h"

class CWaveWriter : public CWaveFile, public CWaveDataStore {
public:
    // Creates or empties the file at path (program text) and writes the
    // header. Throws WaveErrors::FileOperation when the file cannot be made.
    CWaveWriter(const char* path, int rate, int bits, int channels);
    ~CWaveWriter() override;

    // Completes the header with the sizes of the samples written and closes
    // the file. False when any part of the file could not be written (a full
    // disk, a removed drive): the recording is incomplete. True on a closed
    // file that was complete.
    [[nodiscard]] virtual bool Close();

    // Appends the samples while the file is open.
    void Write(const char* data, int* len) override;
    void GetFormat(int* rate, short* bits, short* channels) override;
    // Seek(0, true) empties the file and starts it over with a fresh header;
    // no other move is possible in a file still being written. Always false.
    bool Seek(int pos, bool absolute) override;

    bool IsOpen() const { return m_file.IsOpen(); }
    // Sample bytes written so far.
    int64_t GetDataBytes() const { return m_nDataBytes; }

private:
    // Opens the path emptied and writes the header with no samples.
    bool OpenEmpty();
    bool WriteHeaders();

    CFile m_file;
    CString m_strPath;
    int64_t m_nDataBytes = 0;
    bool m_bWriteFailed = false;   // some samples or a header never reached the file
};
