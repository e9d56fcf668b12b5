// WAV files: the writer's 44-byte header describes the format and the
// samples once the file is closed, and the reader gives back exactly the
// samples, finds the data chunk behind longer headers, and holds every size
// a damaged or hostile file states to the bytes the file really has.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "lesson/core/wavereader.h"
#include "lesson/core/wavewriter.h"
#include "tests/testsupport.h"

using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

std::string Le16(uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(static_cast<uint16_t>(v & 0xFFFF)) + Le16(static_cast<uint16_t>(v >> 16)); }
uint32_t GetLe32(const std::string& bytes, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<size_t>(i)));
    return v;
}
uint32_t GetLe16(const std::string& bytes, size_t at)
{
    return static_cast<unsigned char>(bytes.at(at)) | (static_cast<unsigned char>(bytes.at(at + 1)) << 8);
}

std::string Chunk(const std::string& id, const std::string& body) { return id + Le32(static_cast<uint32_t>(body.size())) + body; }
// The 16-byte fmt body of 44.1 kHz 16-bit stereo, with `extra` bytes after it.
std::string FmtBody(const std::string& extra = "")
{
    return Le16(1) + Le16(2) + Le32(44'100) + Le32(176400) + Le16(4) + Le16(16) + extra;
}
std::string Riff(const std::string& chunks) { return "RIFF" + Le32(static_cast<uint32_t>(4 + chunks.size())) + "WAVE" + chunks; }

// Sample bytes that differ from their neighbours.
std::string Samples(size_t count)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

// Every sample byte a reader gives, read in pieces of an odd size.
std::string ReadAll(CWaveReader& reader)
{
    std::string all;
    char piece[333];
    for (;;) {
        int len = sizeof piece;
        reader.Read(piece, &len);
        if (len <= 0)
            return all;
        all.append(piece, static_cast<size_t>(len));
    }
}

enum class EOutcome { Read, FileOperation, Riff, Wave, Fmt, Data };

// Opens a file with the reader: the error it throws, or the samples it reads.
EOutcome OpenAndRead(const std::string& path, std::string* samples, int64_t* statedSize = nullptr)
{
    try {
        CWaveReader reader(path.c_str());
        *samples = ReadAll(reader);
        if (statedSize != nullptr)
            *statedSize = reader.GetDataSize();
        return EOutcome::Read;
    } catch (const WaveErrors::FileOperation&) {
        return EOutcome::FileOperation;
    } catch (const WaveErrors::RiffDoesntMatch&) {
        return EOutcome::Riff;
    } catch (const WaveErrors::WaveDoesntMatch&) {
        return EOutcome::Wave;
    } catch (const WaveErrors::FmtDoesntMatch&) {
        return EOutcome::Fmt;
    } catch (const WaveErrors::DataDoesntMatch&) {
        return EOutcome::Data;
    }
}

} // namespace

TEST(WaveWriter, HeaderDescribesFormatAndSamples)
{
    struct SCase {
        const char* what;
        int rate, bits, channels;
        size_t sampleBytes;
        uint32_t averageBytes, blockAlign;
    };
    const SCase cases[] = {
        {"a recording of no buffers", 44'100, 16, 2, 0, 176400, 4},
        {"speech practice, 1000 bytes written in pieces", 44'100, 16, 2, 1000, 176400, 4},
        {"8-bit mono", 8000, 8, 1, 17, 8000, 1},
        {"24-bit stereo", 48'000, 24, 2, 600, 288000, 6},
    };
    const TempFolder folder;
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = folder.path() + "out.wav";
        const std::string samples = Samples(c.sampleBytes);
        {
            CWaveWriter writer(path.c_str(), c.rate, c.bits, c.channels);
            for (size_t at = 0; at < samples.size(); at += 300) {
                int len = static_cast<int>(std::min<size_t>(300, samples.size() - at));
                writer.Write(samples.data() + at, &len);
            }
            EXPECT_TRUE(writer.Close());
        }
        const std::string file = ReadBytes(path);
        ASSERT_EQ(file.size(), 44 + c.sampleBytes);
        EXPECT_EQ(file.substr(0, 4), "RIFF");
        EXPECT_EQ(GetLe32(file, 4), 36 + c.sampleBytes);
        EXPECT_EQ(file.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(GetLe32(file, 16), 16u);
        EXPECT_EQ(GetLe16(file, 20), 1u) << "PCM";
        EXPECT_EQ(GetLe16(file, 22), static_cast<uint32_t>(c.channels));
        EXPECT_EQ(GetLe32(file, 24), static_cast<uint32_t>(c.rate));
        EXPECT_EQ(GetLe32(file, 28), c.averageBytes);
        EXPECT_EQ(GetLe16(file, 32), c.blockAlign);
        EXPECT_EQ(GetLe16(file, 34), static_cast<uint32_t>(c.bits));
        EXPECT_EQ(file.substr(36, 4), "data");
        EXPECT_EQ(GetLe32(file, 40), c.sampleBytes);
        EXPECT_EQ(file.substr(44), samples);
    }
}

// A recording onto a full disk: the samples and header fit in the buffer and
// are lost at the flush, which Close must report rather than leave a
// recording the learner believes saved.
// A file size limit of zero stands in for a full disk (no device such as
// /dev/full is opened as a recording); the child alone gets the limit.
TEST(WaveWriter, CloseReportsARecordingThatNeverReachedTheDisk)
{
    const TempFolder folder;
    const std::string path = folder.path() + "full.wav";
    const std::optional<int> code = testsupport::RunBoundedInChild(
        [&] {
            std::signal(SIGXFSZ, SIG_IGN);   // the write fails with EFBIG instead
            const rlimit none {0, 0};
            if (::setrlimit(RLIMIT_FSIZE, &none) != 0)
                return 100;
            CWaveWriter writer(path.c_str(), 44'100, 16, 2);
            const std::string samples = Samples(1000);
            int len = 1000;
            writer.Write(samples.data(), &len);
            if (writer.Close())
                return 101;
            return writer.Close() ? 102 : 0;   // still incomplete when asked again
        },
        10.0, 1L << 30);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
}

TEST(WaveWriter, ClosesOnceAndStartsOverOnRewind)
{
    const TempFolder folder;
    const std::string path = folder.path() + "out.wav";
    const std::string samples = Samples(1000);
    {
        CWaveWriter writer(path.c_str(), 44'100, 16, 2);
        int len = 1000;
        writer.Write(samples.data(), &len);
        // Rewinding empties the file: only what follows counts.
        EXPECT_FALSE(writer.Seek(0, true));
        len = 10;
        writer.Write(samples.data(), &len);
        EXPECT_FALSE(writer.Seek(5, true)) << "no other move in a file being written";
        EXPECT_TRUE(writer.Close());
        len = 10;
        writer.Write(samples.data(), &len);
        EXPECT_EQ(writer.GetDataBytes(), 10);
        // Whatever happens to the file after Close is not undone by the
        // destructor's Close.
        std::string file = ReadBytes(path);
        file[0] = 'X';
        folder.write("out.wav", file);
    }
    const std::string file = ReadBytes(path);
    ASSERT_EQ(file.size(), 54u);
    EXPECT_EQ(file[0], 'X');
    EXPECT_EQ(GetLe32(file, 4), 46u);
    EXPECT_EQ(GetLe32(file, 40), 10u);
    EXPECT_EQ(file.substr(44), samples.substr(0, 10));
}

TEST(WaveFiles, UnopenablePathsThrowFileOperation)
{
    const TempFolder folder;
    const std::string missingFolder = folder.path() + "missing/out.wav";
    EXPECT_THROW(CWaveWriter(missingFolder.c_str(), 44'100, 16, 2), WaveErrors::FileOperation);
    EXPECT_THROW(CWaveWriter(folder.path().c_str(), 44'100, 16, 2), WaveErrors::FileOperation) << "a folder";
    std::string samples;
    EXPECT_EQ(OpenAndRead(folder.path() + "absent.wav", &samples), EOutcome::FileOperation);

    // A FIFO with nobody writing would block the open for good.
    const std::string fifo = folder.path() + "fifo.wav";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::optional<int> refused = testsupport::RunBoundedInChild(
        [&] {
            std::string none;
            return OpenAndRead(fifo, &none) == EOutcome::FileOperation ? 0 : 1;
        },
        2.0, 1L << 30);
    EXPECT_EQ(refused, std::optional<int>(0)) << "blocked or opened";
}

TEST(WaveReader, ReadsBackWhatTheWriterWrote)
{
    const TempFolder folder;
    const std::string path = folder.path() + "round.wav";
    const std::string samples = Samples(17640 * 3 + 6);
    {
        CWaveWriter writer(path.c_str(), 22050, 16, 1);
        int len = static_cast<int>(samples.size());
        writer.Write(samples.data(), &len);
    }   // the destructor closes
    CWaveReader reader(path.c_str());
    int rate = 0;
    short bits = 0, channels = 0;
    reader.GetFormat(&rate, &bits, &channels);
    EXPECT_EQ(rate, 22050);
    EXPECT_EQ(bits, 16);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(ReadAll(reader), samples);
    int len = 10;
    char rest[10];
    reader.Read(rest, &len);
    EXPECT_EQ(len, 0) << "nothing after the end";
    reader.Close();
    EXPECT_FALSE(reader.Seek(0, true)) << "a closed reader cannot move";
}

TEST(WaveReader, FindsTheDataChunkBehindLongerHeaders)
{
    const std::string samples = Samples(100);
    struct SCase {
        const char* what;
        std::string file;
    };
    const SCase cases[] = {
        {"an 18-byte fmt chunk (with its extension size)", Riff(Chunk("fmt ", FmtBody(Le16(0))) + Chunk("data", samples))},
        {"a LIST chunk between fmt and data", Riff(Chunk("fmt ", FmtBody()) + Chunk("LIST", "INFOISFT" + Le32(4) + "test") + Chunk("data", samples))},
        {"a \"d\" right before \"data\"", Riff(Chunk("fmt ", FmtBody()) + "d" + Chunk("data", samples))},
        {"data past the first 64 KiB scanned", Riff(Chunk("fmt ", FmtBody()) + Chunk("junk", std::string(65530, 'x')) + Chunk("data", samples))},
    };
    const TempFolder folder;
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::string read;
        ASSERT_EQ(OpenAndRead(folder.write("long.wav", c.file), &read), EOutcome::Read);
        EXPECT_EQ(read, samples);
    }
}

TEST(WaveReader, DamagedOrHostileFilesAreRefusedOrReadWithinTheFile)
{
    const std::string fmt = Chunk("fmt ", FmtBody());
    const std::string ten = Samples(10);
    struct SCase {
        const char* what;
        std::string file;
        EOutcome outcome;
        std::string samples;   // what is read when the file is accepted
    };
    const SCase cases[] = {
        {"an empty file", "", EOutcome::Riff, ""},
        {"a big-endian RIFX file", "RIFX" + Le32(36) + "WAVE" + fmt, EOutcome::Riff, ""},
        {"a RIFF file of another form", "RIFF" + Le32(36) + "AVI " + fmt, EOutcome::Wave, ""},
        {"cut off after the RIFF id", "RIFF" + Le32(36), EOutcome::Wave, ""},
        {"a chunk other than fmt first", Riff(Chunk("LIST", "INFO") + fmt), EOutcome::Fmt, ""},
        {"cut off inside the fmt chunk", Riff(fmt).substr(0, 24), EOutcome::Data, ""},
        {"no data chunk", Riff(fmt + Chunk("fact", Le32(0))), EOutcome::Data, ""},
        {"a data size of 4 GiB over ten bytes", Riff(fmt) + "data" + Le32(0xFFFFFFFF) + ten, EOutcome::Read, ten},
        {"a data size with the sign bit set", Riff(fmt) + "data" + Le32(0x80000000) + ten, EOutcome::Read, ten},
        {"a recording cut off mid-data", (Riff(fmt) + Chunk("data", Samples(1000))).substr(0, 44 + 100), EOutcome::Read, Samples(100)},
        {"\"data\" as the file's last bytes", Riff(Chunk("fmt ", FmtBody(Le16(0)))) + "dat" + "a", EOutcome::Read, ""},
    };
    const TempFolder folder;
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::string read;
        int64_t size = -1;
        ASSERT_EQ(OpenAndRead(folder.write("hostile.wav", c.file), &read, &size), c.outcome);
        if (c.outcome == EOutcome::Read) {
            EXPECT_EQ(read, c.samples);
            EXPECT_EQ(size, static_cast<int64_t>(c.samples.size()));
        }
    }
}

TEST(WaveReader, SeekStaysWithinTheSamples)
{
    struct SCase {
        const char* what;
        int readFirst;   // bytes read before the seek
        int pos;
        bool absolute;
        int expected;    // offset of the next byte read; 100 = the end
    };
    const SCase cases[] = {
        {"to a position", 0, 10, true, 10},
        {"a negative absolute position means the end", 20, -1, true, 100},
        {"beyond the end", 0, 1000, true, 100},
        {"back", 20, -5, false, 15},
        {"back beyond the first sample", 20, -50, false, 0},
        {"forward", 20, 30, false, 50},
        {"forward beyond the end", 20, 500, false, 100},
    };
    const TempFolder folder;
    const std::string samples = Samples(100);
    // An 18-byte fmt chunk: the samples do not start at 44.
    const std::string path = folder.write("seek.wav", Riff(Chunk("fmt ", FmtBody(Le16(0))) + Chunk("data", samples) + "trailing"));
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        CWaveReader reader(path.c_str());
        std::string first(static_cast<size_t>(std::max(c.readFirst, 1)), '\0');
        int len = c.readFirst;
        reader.Read(first.data(), &len);
        ASSERT_EQ(len, c.readFirst);
        EXPECT_TRUE(reader.Seek(c.pos, c.absolute));
        EXPECT_EQ(ReadAll(reader), samples.substr(static_cast<size_t>(c.expected)));
    }
}
