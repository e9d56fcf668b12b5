// The writer's own outputs and sources, and the errors that end an archive.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "online/core/zipreader.h"
#include "online/core/zipwriter.h"
#include "tests/testsupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::TempFolder;

// Bytes that do not deflate: a simple generator, so the size is predictable.
std::string Noise(size_t length)
{
    std::string bytes(length, '\0');
    uint32_t state = 12345;
    for (char& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<char>(state >> 24);
    }
    return bytes;
}

// Every member of an archive in memory: name and content.
std::vector<std::pair<std::string, std::string>> Members(const void* data, size_t length)
{
    std::vector<std::pair<std::string, std::string>> members;
    SZipHandle* reader = ZipReaderOpenMemory(data, length, nullptr);
    if (reader == nullptr)
        return members;
    SZipItemInfo info{};
    ZipReaderGetItem(reader, -1, &info);
    const int count = info.nIndex;
    for (int i = 0; i < count; ++i) {
        ZipReaderGetItem(reader, i, &info);
        std::vector<char> content(static_cast<size_t>(info.nUncompressedSize) + 1);
        ZipReaderExtractToMemory(reader, i, content.data(), content.size());
        members.emplace_back(info.szName, std::string(content.data(), static_cast<size_t>(info.nUncompressedSize)));
    }
    ZipReaderClose(reader);
    return members;
}

using MemberList = std::vector<std::pair<std::string, std::string>>;

TEST(ZipWriterTest, MemoryArchiveIsFinishedWhenItsMemoryIsTaken)
{
    std::vector<char> block(65536);
    struct SRow {
        const char* what;
        void* destination;
    };
    const SRow rows[] = {{"a block the writer allocates", nullptr}, {"the caller's block", block.data()}};
    for (const SRow& row : rows) {
        SZipHandle* writer = ZipWriterCreate(row.destination, block.size(), kZipFromMemory, nullptr);
        ASSERT_NE(writer, nullptr) << row.what;
        ASSERT_EQ(ZipWriterAddMemory(writer, "a.txt", "alpha", 5), kZipOk) << row.what;
        ASSERT_EQ(ZipWriterAddFolder(writer, "folder"), kZipOk) << row.what;
        void* data = nullptr;
        size_t length = 0;
        ASSERT_EQ(ZipWriterGetMemory(writer, &data, &length), kZipOk) << row.what;
        if (row.destination != nullptr) {
            EXPECT_EQ(data, row.destination) << row.what;
        }
        EXPECT_EQ(Members(data, length), (MemberList{{"a.txt", "alpha"}, {"folder/", ""}})) << row.what;
        EXPECT_EQ(ZipWriterAddMemory(writer, "late.txt", "x", 1), kZipEnded) << row.what;
        EXPECT_EQ(ZipWriterClose(writer), kZipOk) << row.what;
    }
}

TEST(ZipWriterTest, ErrorsAreReportedAndAFailedArchiveTakesNoMore)
{
    TempFolder temp;
    // A block too small for the member: the archive has failed for good.
    SZipHandle* small = ZipWriterCreate(nullptr, 300, kZipFromMemory, nullptr);
    ASSERT_NE(small, nullptr);
    const std::string noise = Noise(5000);
    EXPECT_EQ(ZipWriterAddMemory(small, "noise.bin", noise.data(), noise.size()), kZipMemoryTooSmall);
    EXPECT_EQ(ZipWriterAddMemory(small, "a.txt", "a", 1), kZipPreviousError);
    ZipWriterClose(small);

    const std::string path = temp.path() + "out.zip";
    SZipHandle* writer = ZipWriterCreate(const_cast<char*>(path.c_str()), 0, kZipFromName, nullptr);
    ASSERT_NE(writer, nullptr);
    void* data = nullptr;
    size_t length = 0;
    const std::string missing = temp.path() + "missing.txt";
    const std::string shortFile = temp.write("short.txt", "only 13 bytes");
    const int shortFd = ::open(shortFile.c_str(), O_RDONLY);
    struct SRow {
        const char* what;
        int result;
        int expected;
    };
    // Errors found before a member is begun leave the archive usable.
    const SRow rows[] = {
        {"memory of a file archive", ZipWriterGetMemory(writer, &data, &length), kZipNotInMemory},
        {"a missing source file", ZipWriterAddFile(writer, "m.txt", missing.c_str()), kZipNoFile},
        {"an empty name", ZipWriterAddMemory(writer, "", "x", 1), kZipBadArguments},
        {"an unknown source kind", ZipWriterAdd(writer, "k.txt", "x", 1, 9), kZipBadArguments},
        {"the added member", ZipWriterAddMemory(writer, "ok.txt", "ok", 2), kZipOk},
    };
    for (const SRow& row : rows)
        EXPECT_EQ(row.result, row.expected) << row.what;
    // A descriptor that holds fewer bytes than announced.
    EXPECT_EQ(ZipWriterAddHandle(writer, "short.txt", shortFd, 100), kZipSizeMismatch);
    ::close(shortFd);
    EXPECT_EQ(ZipWriterAddMemory(writer, "after.txt", "x", 1), kZipPreviousError);
    ZipWriterClose(writer);

    EXPECT_EQ(ZipWriterCreate(nullptr, 0, kZipFromMemory, nullptr), nullptr);
    EXPECT_EQ(ZipWriterLastResult(), kZipMemoryTooSmall);
    EXPECT_EQ(ZipWriterCreate(const_cast<char*>((temp.path() + "no/such/folder.zip").c_str()), 0, kZipFromName,
                              nullptr),
              nullptr);
    EXPECT_EQ(ZipWriterLastResult(), kZipNoFile);
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    EXPECT_EQ(ZipWriterCreate(&pipeEnds[1], 0, kZipFromHandle, nullptr), nullptr);
    EXPECT_EQ(ZipWriterLastResult(), kZipUnseekable);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
}

TEST(ZipWriterTest, DescriptorSourcesAndDestinations)
{
    TempFolder temp;
    // The archive goes after a prefix in a file, from the descriptor's position.
    const std::string path = temp.write("combined.bin", "prefix");
    int out = ::open(path.c_str(), O_RDWR);
    ASSERT_GE(out, 0);
    ASSERT_EQ(::lseek(out, 6, SEEK_SET), 6);
    SZipHandle* writer = ZipWriterCreate(&out, 0, kZipFromHandle, nullptr);
    ASSERT_NE(writer, nullptr);

    // An unseekable source is read to its end.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ASSERT_EQ(::write(pipeEnds[1], "piped data", 10), 10);
    ::close(pipeEnds[1]);
    EXPECT_EQ(ZipWriterAddHandle(writer, "piped.txt", pipeEnds[0], 0), kZipOk);
    ::close(pipeEnds[0]);
    // A seekable one from its position, for the length given.
    const std::string source = temp.write("source.txt", "0123456789");
    const int in = ::open(source.c_str(), O_RDONLY);
    ASSERT_EQ(::lseek(in, 2, SEEK_SET), 2);
    EXPECT_EQ(ZipWriterAddHandle(writer, "part.txt", in, 5), kZipOk);
    ::close(in);
    ASSERT_EQ(ZipWriterClose(writer), kZipOk);
    ::close(out);

    const std::string bytes = ReadBytes(path);
    ASSERT_EQ(bytes.substr(0, 6), "prefix");
    EXPECT_EQ(Members(bytes.data() + 6, bytes.size() - 6), (MemberList{{"piped.txt", "piped data"}, {"part.txt", "23456"}}));
}

TEST(ZipWriterTest, AnExistingReadOnlyArchiveFileIsReplaced)
{
    TempFolder temp;
    const std::string path = temp.write("old.zip", "old contents");
    ::chmod(path.c_str(), 0444);
    SZipHandle* writer = ZipWriterCreate(const_cast<char*>(path.c_str()), 0, kZipFromName, nullptr);
    ASSERT_NE(writer, nullptr);
    ASSERT_EQ(ZipWriterAddMemory(writer, "new.txt", "new", 3), kZipOk);
    ASSERT_EQ(ZipWriterClose(writer), kZipOk);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(Members(bytes.data(), bytes.size()), (MemberList{{"new.txt", "new"}}));
}

} // namespace
