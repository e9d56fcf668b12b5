// The download-and-play transfer keeps the size bound the other downloads
// keep: a file announced larger is refused before anything is written; and
// it fetches ftp:// addresses as well as http:// ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "downloader/rangefetch.h"
#include "tests/loopbackftpserver.h"
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

namespace {

std::string FtpBytes(size_t size)
{
    std::string bytes(size, '\0');
    unsigned value = 7;
    for (char& c : bytes) {
        value = value * 1103515245u + 12345u;
        c = static_cast<char>(value >> 16);
    }
    return bytes;
}

// An ftp:// address is fetched as an http:// one is: the whole file, the
// rest of a file from the bytes the target holds, and a missing file or a
// broken transfer reported as not complete.
TEST(RangeFetchTest, FtpAddressesAreFetchedAndResumed)
{
    const std::string file = FtpBytes(300'000);
    SFtpFile whole;
    whole.bytes = file;
    SFtpFile broken = whole;
    broken.closeAt = 120'000;
    CLoopbackFtpServer server({{"/pub/talk.mp4", whole}, {"/pub/broken.mp4", broken}});
    const std::string base = "ftp://127.0.0.1:" + std::to_string(server.port()) + "/pub/";
    testsupport::TempFolder folder;
    const CString target(folder.path() + "halviksoft.mp4");
    std::atomic<bool> cancel {false};
    int64_t lastTotal = 0;
    const FetchProgress progress = [&](int64_t, int64_t total) { lastTotal = total; };

    SFetchResult result = FetchFrom(base + "talk.mp4", target, 0, SFetchLimits(), cancel, progress);
    EXPECT_TRUE(result.complete) << result.error;
    EXPECT_EQ(result.total, static_cast<int64_t>(file.size()));
    EXPECT_EQ(lastTotal, static_cast<int64_t>(file.size())) << "the length is known while it downloads";
    EXPECT_EQ(testsupport::ReadBytes(target.str()), file);

    // From byte 100,000 on: the server is asked to restart there.
    folder.write("halviksoft.mp4", file.substr(0, 100'000));
    result = FetchFrom(base + "talk.mp4", target, 100'000, SFetchLimits(), cancel, progress);
    EXPECT_TRUE(result.complete) << result.error;
    EXPECT_EQ(result.total, static_cast<int64_t>(file.size()));
    EXPECT_EQ(testsupport::ReadBytes(target.str()), file);
    const std::vector<std::string> commands = server.commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), "REST 100000"), commands.end());

    // A whole file asked from its end is complete without a transfer.
    result = FetchFrom(base + "talk.mp4", target, static_cast<int64_t>(file.size()), SFetchLimits(), cancel, {});
    EXPECT_TRUE(result.complete) << result.error;
    EXPECT_EQ(testsupport::ReadBytes(target.str()), file);

    // A transfer that breaks off keeps what arrived and is not complete.
    result = FetchFrom(base + "broken.mp4", target, 0, SFetchLimits(), cancel, {});
    EXPECT_FALSE(result.complete);
    EXPECT_TRUE(result.wrote);
    EXPECT_EQ(result.written, 120'000);
    EXPECT_EQ(result.status, 0) << "a broken transfer may be taken up again";

    // No such file: the server's last word, and the target is left alone.
    result = FetchFrom(base + "missing.mp4", target, 0, SFetchLimits(), cancel, {});
    EXPECT_FALSE(result.complete);
    EXPECT_FALSE(result.wrote);
    EXPECT_GE(result.status, 500);
    EXPECT_EQ(testsupport::ReadBytes(target.str()).size(), 120'000u);
}

} // namespace
