// Every seed of the fuzz corpus, the crafted files that once hung the program
// or ate its memory among them, replayed through its reader the way the
// fuzzing driver runs it: each must come back within its time and memory.
// What the readers make of these files is checked by their own tests.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fuzz/targets.h"
#include "tests/testsupport.h"

namespace fs = std::filesystem;

namespace {

// The target's seeds: its own folder and the lesson fixtures of its extension.
std::vector<fs::path> SeedsOf(const std::string& target)
{
    std::vector<fs::path> seeds;
    const fs::path own = testsupport::FixturePath("fuzz/" + target);
    if (fs::is_directory(own))
        for (const auto& entry : fs::directory_iterator(own))
            seeds.push_back(entry.path());
    for (const auto& entry : fs::directory_iterator(testsupport::FixturePath("lesson")))
        if (entry.path().extension() == "." + target)
            seeds.push_back(entry.path());
    std::sort(seeds.begin(), seeds.end());
    return seeds;
}

TEST(FuzzReplayTest, EverySeedComesBackWithinItsBounds)
{
    FuzzWorkFolder();   // made here, so the children share it and it is removed once
    for (const SFuzzTarget& target : FuzzTargets()) {
        const std::vector<fs::path> seeds = SeedsOf(target.name);
        EXPECT_FALSE(seeds.empty()) << target.name << " has no seed";
        for (const fs::path& seed : seeds) {
            SCOPED_TRACE(seed.string());
            const std::string bytes = testsupport::ReadBytes(seed.string());
            const std::optional<int> exit = testsupport::RunBoundedInChild(
                [&] {
                    target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
                    return 0;
                },
                2.0, 1024L * 1024 * 1024);
            EXPECT_EQ(exit, std::optional<int>(0)) << "hung, ran out of memory or died";
        }
    }
}

} // namespace
