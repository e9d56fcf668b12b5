// The download-and-play transfer keeps the size bound the other downloads
// keep: a file announced larger is refused before anything is written.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "downloader/rangefetch.h"
#include "tests/loopbackserver.h"
#include "tests/testsupport.h"

namespace {

TEST(RangeFetchTest, AFileLargerThanTheBoundIsRefusedUnwritten)
{
    CLoopbackServer server([](const std::string&) { return Body(std::string(5000, 'm')); }, 2);
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/big.mp4";
    testsupport::TempFolder folder;
    const std::string target = folder.path() + "halviksoft.mp4";
    std::atomic<bool> cancel {false};
    SFetchLimits limits;
    limits.maxBytes = 1000;
    const SFetchResult result = FetchFrom(url, CString(target), 0, limits, cancel, {});
    EXPECT_FALSE(result.complete);
    EXPECT_NE(result.error.find("larger"), std::string::npos) << result.error;
    EXPECT_FALSE(std::filesystem::exists(target));

    limits.maxBytes = 5000;   // exactly the bound is allowed
    EXPECT_TRUE(FetchFrom(url, CString(target), 0, limits, cancel, {}).complete);
    EXPECT_EQ(std::filesystem::file_size(target), 5000u);
}

} // namespace
