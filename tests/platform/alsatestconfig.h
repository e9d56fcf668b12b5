// Sound devices for tests: ALSA's configuration replaced, for the life of
// the object, by one that defines "default" as wanted: a capture device fed
// from a file, a playback device that writes into a file, a device that
// refuses our sample format, or no "default" at all.
//
// ALSA reads ALSA_CONFIG_PATH instead of its own configuration files, and
// reloads when that list of files changes; each object writes its own file,
// so each test gets exactly its device whatever ran before.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "tests/testsupport.h"

namespace testsupport {

class CAlsaTestConfig {
public:
    // "default" captures the bytes of inputFile (raw samples) and then
    // silence, and plays into outputFile (raw samples).
    static std::string FileDevice(const std::string& inputFile, const std::string& outputFile)
    {
        std::string text = "pcm.!default { type file; slave.pcm { type null }; format \"raw\"; file \"" + outputFile + "\"";
        if (!inputFile.empty())
            text += "; infile \"" + inputFile + "\"";
        return text + " }\n";
    }
    // "default" exists but takes only mu-law samples: linear PCM is refused.
    static std::string RefusingDevice() { return "pcm.!default { type mulaw; slave { pcm { type null } format S16_LE } }\n"; }
    // No "default" at all, as on a system without a sound card.
    static std::string NoDevice() { return "# no PCM is defined\n"; }

    explicit CAlsaTestConfig(const std::string& configText)
    {
        const char* previous = std::getenv("ALSA_CONFIG_PATH");
        if (previous != nullptr)
            m_previous = previous;
        m_path = m_folder.write("asound.conf", configText);
        setenv("ALSA_CONFIG_PATH", m_path.c_str(), 1);
    }
    ~CAlsaTestConfig()
    {
        if (m_previous)
            setenv("ALSA_CONFIG_PATH", m_previous->c_str(), 1);
        else
            unsetenv("ALSA_CONFIG_PATH");
    }
    CAlsaTestConfig(const CAlsaTestConfig&) = delete;
    CAlsaTestConfig& operator=(const CAlsaTestConfig&) = delete;

private:
    TempFolder m_folder;
    std::string m_path;
    std::optional<std::string> m_previous;
};

// A stereo 16-bit signal in which every frame differs from its neighbours
// (left counts frames, right is a scrambled copy), so a dropped, repeated or
// shifted frame shows in a byte comparison.
inline std::string TestSignal(int frames)
{
    std::string bytes;
    bytes.reserve(static_cast<size_t>(frames) * 4);
    for (int i = 0; i < frames; ++i) {
        const uint16_t left = static_cast<uint16_t>(i + 1);
        const uint16_t right = static_cast<uint16_t>((i * 40503u) ^ 0x5A5Au);
        for (uint16_t sample : {left, right}) {
            bytes.push_back(static_cast<char>(sample & 0xFF));
            bytes.push_back(static_cast<char>(sample >> 8));
        }
    }
    return bytes;
}

} // namespace testsupport
