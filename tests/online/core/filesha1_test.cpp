#include <cstdio>
#include <string>

#include <filesystem>

#include <gtest/gtest.h>

#include "online/core/filesha1.h"
#include "tests/testsupport.h"

namespace {

// Bytes 0, 1, ..., 250, 0, 1, ...: every value, no run that a cut would hide.
std::string Pattern(size_t length)
{
    std::string bytes(length, '\0');
    for (size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

TEST(FileSha1Test, DigestCoversTheFirstThousandBytes)
{
    testsupport::TempFolder temp;
    temp.write("long.mp4", Pattern(3000));
    temp.write("short.mp4", Pattern(10));
    temp.write("empty.mp4", "");
    temp.write(reinterpret_cast<const char*>(u8"视频.mp4"), Pattern(3000));

    struct Case {
        const char* what;
        CString name;
        const char* digest;   // computed independently (Python hashlib)
    };
    const Case cases[] = {
        {"3000 bytes: only the first 1000 count", "long.mp4", "c9c960a0b925474fab83942cc27d504fc24ac37b"},
        {"a file shorter than the head is hashed whole", "short.mp4", "494179714a6cd627239dfededf2de9ef994caf03"},
        {"an empty file", "empty.mp4", "da39a3ee5e6b4b0d3255bfef95601890afd80709"},
        {"a Chinese file name", "视频.mp4", "c9c960a0b925474fab83942cc27d504fc24ac37b"},
        {"a missing file", "missing.mp4", ""},
        {"a folder is no media file", "", ""},
    };
    CFileSha1 sha;
    const CString scratch1 = temp.ansi() + "sha1.tmp";
    const CString scratch2 = temp.ansi() + "sha2.tmp";
    for (const Case& c : cases)
        EXPECT_EQ(sha.GetFileSha1(temp.ansi() + c.name, scratch1, scratch2), c.digest) << c.what;
}

// The digest of a real video agrees with the system's own tool over the same
// head; the work files hold the head and the padded message.
TEST(FileSha1Test, AgreesWithSha1sumAndLeavesNoWorkFiles)
{
    testsupport::TempProgramFolder program;
    const std::string video = program.path() + "Playlist/ChenWei_2023.mp4";
    FILE* tool = ::popen(("head -c 1000 '" + video + "' | sha1sum").c_str(), "r");
    ASSERT_NE(tool, nullptr);
    char line[128] = {};
    ASSERT_NE(std::fgets(line, sizeof line, tool), nullptr);
    ::pclose(tool);
    const std::string expected(line, 40);

    // Work files an earlier run left behind are removed, none are written.
    CFileSha1 sha;
    const CString head = program.ansi() + "sha1hash.data";
    const CString padded = program.ansi() + "sha1hash2.data";
    program.write("sha1hash.data", "stale head");
    program.write("sha1hash2.data", "stale padding");
    EXPECT_EQ(sha.GetFileSha1(CString(video.c_str()), head, padded).str(), expected);
    EXPECT_FALSE(std::filesystem::exists(head.str()));
    EXPECT_FALSE(std::filesystem::exists(padded.str()));

    // A read that fails gives no digest (the kernel refuses reads of this
    // file at its start).
    EXPECT_EQ(sha.GetFileSha1("/proc/self/mem", head, padded), "");
}

} // namespace
