#include "platform/soundoutput.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include <alsa/asoundlib.h>

namespace {

bool SoundServerAnswers()
{
    const char* server = std::getenv("PULSE_SERVER");
    if (server != nullptr && *server != '\0')
        return true;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder = runtime != nullptr && *runtime != '\0' ? runtime : "/run/user/" + std::to_string(getuid());
    return ::access((folder + "/pulse/native").c_str(), F_OK) == 0;
}

bool AlsaPlaybackOpens()
{
    snd_pcm_t* pcm = nullptr;
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) != 0)
        return false;
    snd_pcm_close(pcm);
    return true;
}

} // namespace

bool HasUsableSoundOutput() { return SoundServerAnswers() || AlsaPlaybackOpens(); }
