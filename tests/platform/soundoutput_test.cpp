// Whether sound can be played: a sound server's socket or ALSA's "default"
// playback device; with neither (a machine without a sound card, a server
// without a session) there is none.
#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/soundoutput.h"
#include "tests/platform/alsatestconfig.h"
#include "tests/testsupport.h"

namespace {

// Puts an environment variable back as it was.
class EnvScope {
public:
    explicit EnvScope(const char* name) : m_name(name)
    {
        if (const char* value = std::getenv(name))
            m_previous = value;
    }
    ~EnvScope()
    {
        if (m_previous)
            ::setenv(m_name.c_str(), m_previous->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    EnvScope(const EnvScope&) = delete;
    EnvScope& operator=(const EnvScope&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_previous;
};

TEST(SoundOutputTest, ASoundServerOrAlsaDefaultMakesSoundUsable)
{
    EnvScope server("PULSE_SERVER");
    EnvScope runtime("XDG_RUNTIME_DIR");
    const struct {
        const char* what;
        std::string alsa;
        bool socket;
        const char* serverName;
        bool usable;
    } rows[] = {
        {"nothing at all", testsupport::CAlsaTestConfig::NoDevice(), false, nullptr, false},
        {"ALSA's default", "pcm.!default { type null }\n", false, nullptr, true},
        {"the server's socket", testsupport::CAlsaTestConfig::NoDevice(), true, nullptr, true},
        {"a named server", testsupport::CAlsaTestConfig::NoDevice(), false, "tcp:sound.example", true},
    };
    for (const auto& row : rows) {
        testsupport::CAlsaTestConfig alsa(row.alsa);
        testsupport::TempFolder folder;
        if (row.socket)
            folder.write("pulse/native", "");
        ::setenv("XDG_RUNTIME_DIR", folder.path().c_str(), 1);
        if (row.serverName)
            ::setenv("PULSE_SERVER", row.serverName, 1);
        else
            ::unsetenv("PULSE_SERVER");
        EXPECT_EQ(HasUsableSoundOutput(), row.usable) << row.what;
    }
}

} // namespace
