// Speech-practice recordings from ALSA "default", defined by each test as
// the file plug-in fed with a known signal: the file holds exactly the
// signal's first samples for as long as the recording ran, pausing records
// nothing, a new recording into the same file replaces the old one cleanly,
// and a missing or failing device is reported at once without a recording.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "lesson/core/speechrecording.h"
#include "tests/platform/alsatestconfig.h"
#include "tests/testsupport.h"

using namespace std::chrono_literals;
using testsupport::CAlsaTestConfig;
using testsupport::ReadBytes;
using testsupport::RunBounded;
using testsupport::TempFolder;
using testsupport::TestSignal;

namespace {

constexpr double kBytesPerSecond = 176400;
constexpr double kBufferBytes = 17640;   // 100 ms
constexpr long kMemoryKiB = 64 * 1024;

uint32_t GetLe32(const std::string& bytes, size_t at)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<size_t>(i)));
    return v;
}

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Checks a finished recording: a 44-byte header whose sizes match the file,
// in the practice format, then exactly the first samples of the signal, as
// many as `seconds` of recording give (within one 100 ms buffer).
void ExpectRecording(const std::string& file, const std::string& signal, double seconds)
{
    ASSERT_GE(file.size(), 44u);
    const uint32_t dataBytes = GetLe32(file, 40);
    EXPECT_EQ(file.size(), 44u + dataBytes);
    EXPECT_EQ(GetLe32(file, 4), 36u + dataBytes);
    EXPECT_EQ(GetLe32(file, 24), 44100u);
    EXPECT_EQ(GetLe32(file, 28), 176400u);
    EXPECT_EQ(dataBytes % 4, 0u) << "whole frames only";
    EXPECT_NEAR(dataBytes, seconds * kBytesPerSecond, kBufferBytes);
    const size_t compared = std::min<size_t>(file.size() - 44, signal.size());
    const auto mismatch = std::mismatch(file.begin() + 44, file.begin() + 44 + static_cast<std::ptrdiff_t>(compared),
                                        signal.begin());
    EXPECT_EQ(mismatch.first - (file.begin() + 44), static_cast<std::ptrdiff_t>(compared))
        << "the recording departs from the fed signal at this byte";
}

} // namespace

TEST(SpeechRecording, RecordsTheFedSignalForAsLongAsItRuns)
{
    const TempFolder folder;
    const std::string signal = TestSignal(44'100 * 2);   // more than is recorded
    CAlsaTestConfig config(CAlsaTestConfig::FileDevice(folder.write("voice.raw", signal), "/dev/null"));
    CWaveRecorder recorder;
    std::unique_ptr<CWaveWriter> writer;
    ASSERT_EQ(StartRecordingFile(recorder, writer, folder.ansi() + "record.wav"), ERecordingStart::Started);
    const auto started = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(1s);
    const double seconds = Since(started);
    EXPECT_TRUE(FinishRecordingFile(recorder, writer.get()));
    ExpectRecording(ReadBytes(folder.path() + "record.wav"), signal, seconds);
}

TEST(SpeechRecording, PauseRecordsNothingUntilResumed)
{
    const TempFolder folder;
    const std::string signal = TestSignal(44'100 * 2);
    CAlsaTestConfig config(CAlsaTestConfig::FileDevice(folder.write("voice.raw", signal), "/dev/null"));
    CWaveRecorder recorder;
    std::unique_ptr<CWaveWriter> writer;
    ASSERT_EQ(StartRecordingFile(recorder, writer, folder.ansi() + "record.wav"), ERecordingStart::Started);
    auto mark = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(300ms);
    recorder.Pause();
    double seconds = Since(mark);
    std::this_thread::sleep_for(300ms);
    recorder.Resume();
    mark = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(300ms);
    seconds += Since(mark);
    EXPECT_TRUE(FinishRecordingFile(recorder, writer.get()));
    // The signal goes on where it stopped: the voice is not cut.
    ExpectRecording(ReadBytes(folder.path() + "record.wav"), signal, seconds);
}

TEST(SpeechRecording, NewRecordingIntoTheSameFileFinishesTheOldOneFirst)
{
    const TempFolder folder;
    const std::string signal = TestSignal(44'100 * 2);
    CAlsaTestConfig config(CAlsaTestConfig::FileDevice(folder.write("voice.raw", signal), "/dev/null"));
    const CString path = folder.ansi() + "record.wav";
    CWaveRecorder recorder;
    std::unique_ptr<CWaveWriter> writer;
    ASSERT_EQ(StartRecordingFile(recorder, writer, path), ERecordingStart::Started);
    std::this_thread::sleep_for(400ms);
    // Started again while the first recording still runs into the same file:
    // the first must neither write its last buffers into the new, shorter
    // recording nor rewrite its header.
    ASSERT_EQ(StartRecordingFile(recorder, writer, path), ERecordingStart::Started);
    const auto started = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(150ms);
    const double seconds = Since(started);
    EXPECT_TRUE(FinishRecordingFile(recorder, writer.get()));
    // The device was opened anew, so the feed starts over.
    ExpectRecording(ReadBytes(folder.path() + "record.wav"), signal, seconds);
}

TEST(SpeechRecording, MissingOrFailingDeviceIsReportedAtOnce)
{
    const TempFolder folder;
    const std::string feed = folder.write("voice.raw", TestSignal(44'100));
    struct SCase {
        const char* what;
        std::string config;
        std::string file;   // relative to the folder
        ERecordingStart result;
        std::string message;
    };
    const SCase cases[] = {
        {"no capture device", CAlsaTestConfig::NoDevice(), "nodevice.wav", ERecordingStart::NoMicrophone, "请接入话筒！"},
        {"a device that refuses the format", CAlsaTestConfig::RefusingDevice(), "refused.wav", ERecordingStart::Failed, "录音失败！"},
        {"a file that cannot be made", CAlsaTestConfig::FileDevice(feed, "/dev/null"), "missing/record.wav", ERecordingStart::Failed, "录音失败！"},
    };
    // One recorder throughout: a failed start must leave it able to record.
    CWaveRecorder recorder;
    std::unique_ptr<CWaveWriter> writer;
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.what);
        CAlsaTestConfig config(c.config);
        ERecordingStart result = ERecordingStart::Started;
        const auto run = RunBounded([&] { result = StartRecordingFile(recorder, writer, folder.ansi() + c.file.c_str()); },
                                    1.0, kMemoryKiB);
        EXPECT_FALSE(run.overran) << run.seconds << " s";
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(RecordingStartMessage(result), c.message);
        EXPECT_EQ(writer, nullptr);
        EXPECT_FALSE(recorder.Start()) << "nothing is attached to record into";
        const auto stop = RunBounded([&] { (void)FinishRecordingFile(recorder, writer.get()); }, 1.0, kMemoryKiB);
        EXPECT_FALSE(stop.overran) << stop.seconds << " s";
        // A file that was made is a complete WAV file without samples.
        const std::string made = ReadBytes(folder.path() + c.file);
        if (!made.empty()) {
            ASSERT_EQ(made.size(), 44u);
            EXPECT_EQ(GetLe32(made, 40), 0u);
        }
    }
    CAlsaTestConfig config(CAlsaTestConfig::FileDevice(feed, "/dev/null"));
    EXPECT_EQ(StartRecordingFile(recorder, writer, folder.ansi() + "after.wav"), ERecordingStart::Started);
    EXPECT_TRUE(FinishRecordingFile(recorder, writer.get()));
    EXPECT_EQ(StartRecordingFile(recorder, writer, ""), ERecordingStart::NoPath);
    EXPECT_STREQ(RecordingStartMessage(ERecordingStart::Started), "");
}
