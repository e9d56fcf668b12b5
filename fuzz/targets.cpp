#include "fuzz/targets.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "fuzz/readers.h"

const std::vector<SFuzzTarget>& FuzzTargets()
{
    static const std::vector<SFuzzTarget> targets = {
        {"srt", FuzzSrtLesson},           {"ass", FuzzAssLesson},
        {"lrc", FuzzLrcLesson},           {"script", FuzzScriptLesson},
        {"uidata", FuzzUiSettings},       {"exchange", FuzzDownloaderCommand},
        {"progress", FuzzDownloadProgress}, {"keywords", FuzzKeywordCommand},
        {"zip", FuzzLessonPackage},       {"wav", FuzzWaveFile},
        {"command", FuzzDownloaderCommandText}, {"address", FuzzDownloadAddress},
        {"httpheaders", FuzzHttpHeaders}, {"wordlist", FuzzWordList},
        {"exercise", FuzzExercises},      {"panlink", FuzzPanLink},
        {"talkreport", FuzzTalkReport},
    };
    return targets;
}

const SFuzzTarget* FindFuzzTarget(const std::string& name)
{
    for (const SFuzzTarget& target : FuzzTargets()) {
        if (name == target.name)
            return &target;
    }
    return nullptr;
}

namespace {

struct SWorkFolder {
    std::string path;
    SWorkFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quenlow-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();   // nowhere to put the inputs: nothing can run
        path = pattern + "/";
    }
    ~SWorkFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

} // namespace

const std::string& FuzzWorkFolder()
{
    static const SWorkFolder folder;
    return folder.path;
}
