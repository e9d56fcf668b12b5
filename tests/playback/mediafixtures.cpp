#include "tests/playback/mediafixtures.h"

#include <clocale>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <thread>
#include <vector>

#include <unistd.h>

#include "tests/lessonmedia.h"
#include "tests/testsupport.h"

namespace mediafixtures {

namespace {

void RunFfmpeg(const std::vector<std::string>& arguments)
{
    std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y";
    for (const std::string& argument : arguments) {
        // Appended in two steps: `" " + ShellQuote(...)` trips GCC 12's -Wrestrict
        // at -O3 (the optimised benchmark build).
        command += ' ';
        command += testsupport::ShellQuote(argument);
    }
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("ffmpeg failed: " + command);
}

const char* kSrt = "1\n00:00:00,500 --> 00:00:04,500\nhello\n\n";

// A test-pattern clip with the given audio and subtitle tracks; titles are
// set where given (empty: no title).
void MakeClip(const std::string& target, const std::string& size, int seconds, const std::string& srt,
              const std::vector<std::string>& audioTitles, const std::vector<std::string>& subtitleTitles)
{
    const std::string duration = std::to_string(seconds);
    std::vector<std::string> args = {"-f", "lavfi", "-i", "testsrc=size=" + size + ":rate=25:duration=" + duration};
    for (size_t i = 0; i < audioTitles.size(); ++i)
        args.insert(args.end(), {"-f", "lavfi", "-i", "sine=frequency=" + std::to_string(440 * (i + 1)) +
                                                          ":duration=" + duration});
    // The subtitle tracks sit between the first audio track and the others,
    // so that no track's engine id equals its position in the engine's list.
    args.insert(args.end(), {"-i", srt, "-map", "0:v"});
    if (!audioTitles.empty())
        args.insert(args.end(), {"-map", "1:a"});
    const std::string srtInput = std::to_string(audioTitles.size() + 1);
    for (size_t i = 0; i < subtitleTitles.size(); ++i)
        args.insert(args.end(), {"-map", srtInput + ":s"});
    for (size_t i = 1; i < audioTitles.size(); ++i)
        args.insert(args.end(), {"-map", std::to_string(i + 1) + ":a"});
    // Frequent key frames keep seeking quick and exact.
    args.insert(args.end(), {"-c:v", "mpeg4", "-g", "12", "-q:v", "5", "-c:a", "mp2", "-c:s", "srt"});
    for (size_t i = 0; i < audioTitles.size(); ++i)
        if (!audioTitles[i].empty())
            args.insert(args.end(), {"-metadata:s:a:" + std::to_string(i), "title=" + audioTitles[i]});
    for (size_t i = 0; i < subtitleTitles.size(); ++i)
        if (!subtitleTitles[i].empty())
            args.insert(args.end(), {"-metadata:s:s:" + std::to_string(i), "title=" + subtitleTitles[i]});
    args.push_back(target);
    RunFfmpeg(args);
}

std::vector<std::string> Numbered(const std::string& prefix, int count)
{
    std::vector<std::string> titles;
    for (int i = 1; i <= count; ++i)
        titles.push_back(prefix + " " + std::to_string(i));
    return titles;
}

Media MakeMedia(const testsupport::TempFolder& folder)
{
    Media media;
    const std::string srt = folder.write("tracks.srt", kSrt);
    media.clip = folder.path() + U8(u8"媒体/clip.mkv");
    folder.write(U8(u8"媒体/.keep"), "");
    MakeClip(media.clip, "320x240", 5, srt, {"Tone 440", "Tone 880"}, {U8(u8"中"), "X", "  English  "});
    media.largestLists = folder.path() + "largest.mkv";
    MakeClip(media.largestLists, "64x48", 2, srt, Numbered("Audio", 4), Numbered("Sub", 8));
    media.tooManyTracks = folder.path() + "toomany.mkv";
    MakeClip(media.tooManyTracks, "64x48", 2, srt, Numbered("Audio", 5), Numbered("Sub", 10));
    media.wav = folder.path() + "tone.wav";
    RunFfmpeg({"-f", "lavfi", "-i", "sine=frequency=440:duration=3", media.wav});
    media.subtitleBefore = folder.write(U8(u8"字幕/中文 字幕 #1%.srt"), "1\n00:00:00,000 --> 00:00:04,000\nfirst\n\n");
    media.subtitleDuring = folder.write(U8(u8"字幕/第二 字幕 #2%.srt"), "1\n00:00:00,000 --> 00:00:04,000\nsecond\n\n");
    return media;
}

const char* ConfigFor(Outputs outputs)
{
    switch (outputs) {
    case Outputs::Dummy:
        return "vout=dummy\naout=adummy\n";
    case Outputs::AlsaNull:
        return "vout=dummy\naout=alsa\nalsa-audio-device=null\n";
    case Outputs::X11:
        // A player given a window chooses its video output itself; without
        // the OpenGL providers it takes the plain X11 one.
        return "gl=none\ngles2=none\naout=adummy\n";
    case Outputs::AnyVideo:
        return "aout=adummy\n";
    }
    return "";
}

} // namespace

const Media& GetMedia()
{
    static testsupport::TempFolder folder;
    static const Media media = MakeMedia(folder);
    return media;
}

const std::string& EngineFolder(Outputs outputs)
{
    static std::map<Outputs, testsupport::TempFolder> folders;
    auto [it, created] = folders.try_emplace(outputs);
    if (created) {
        // As shipped: no subtitle files picked up beside the media.
        const std::string config = std::string("sub-autodetect-file=0\n") + ConfigFor(outputs);
        it->second.write("AppData/CommonData/Player.cfg", config);
    }
    return it->second.path();
}

EngineFolderScope::EngineFolderScope(Outputs outputs)
{
    setenv("LANG", "C", 1);
    unsetenv("LANGUAGE");
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    std::setlocale(LC_MESSAGES, "C");
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd))
        m_previous = cwd;
    if (chdir(EngineFolder(outputs).c_str()) != 0)
        throw std::runtime_error("cannot enter the engine folder");
}

EngineFolderScope::~EngineFolderScope()
{
    if (!m_previous.empty() && chdir(m_previous.c_str()) != 0)
        std::abort();
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace mediafixtures
