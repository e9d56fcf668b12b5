// Where the wave-audio engine puts recorded PCM audio and takes the audio it
// plays: a sink, a source or both, with the format of its samples. The WAV
// writer and reader are data stores; so is anything a test feeds or records.
#pragma once

class CWaveDataStore {
public:
    // Takes *len bytes of samples. The default drops them.
    virtual void Write(const char* /*data*/, int* /*len*/) {}
    // Fills up to *len bytes and sets *len to the count given; 0 at the end.
    // The default has nothing to give.
    virtual void Read(char* /*buf*/, int* len)
    {
        if (len != nullptr)
            *len = 0;
    }
    virtual void GetFormat(int* rate, short* bits, short* channels) = 0;
    // Moves to a sample byte position: absolute from the first sample, or
    // relative to the current one. False when the store cannot.
    virtual bool Seek(int pos, bool absolute) = 0;

protected:
    // Never deleted through this interface: the object that owns a store
    // holds it by its own class.
    ~CWaveDataStore() = default;
};

// Errors of the WAV files, thrown by value.
namespace WaveErrors {
struct FileOperation {};     // the file cannot be opened
struct RiffDoesntMatch {};   // no "RIFF" at the start
struct WaveDoesntMatch {};   // a RIFF file, but not of form "WAVE"
struct FmtDoesntMatch {};    // no "fmt " chunk after the RIFF header
struct DataDoesntMatch {};   // no "data" chunk in the file
} // namespace WaveErrors
