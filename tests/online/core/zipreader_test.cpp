// Archives made by the writer and read back: member records, extraction to
// files, descriptors and memory, look-up, passwords, and the result codes of
// misuse.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "online/core/zipfields.h"
#include "online/core/zipreader.h"
#include "online/core/zipwriter.h"
#include "platform/file.h"
#include "tests/online/core/rawzip.h"
#include "tests/testsupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::TempFolder;

// Text that deflates well, so stored and deflated members differ in size.
std::string Lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "00:00:0" + std::to_string(i % 10) + " The quick brown fox jumps over the lazy dog.\r\n";
    return text;
}

void SetModifyTime(const std::string& path, time_t seconds)
{
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

time_t ModifyTimeOf(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mtime : -1;
}

// An archive with one member from memory.
std::string OneMemberArchive(const TempFolder& temp, const char* name, const std::string& content)
{
    const std::string path = temp.path() + "one.zip";
    SZipHandle* writer = ZipWriterCreate(const_cast<char*>(path.c_str()), 0, kZipFromName, nullptr);
    EXPECT_NE(writer, nullptr);
    EXPECT_EQ(ZipWriterAddMemory(writer, name, content.data(), content.size()), kZipOk);
    EXPECT_EQ(ZipWriterClose(writer), kZipOk);
    return path;
}

constexpr time_t kSourceTime = 1622541600;   // 2021-06-01 10:00:00 UTC

TEST(ZipRoundTripTest, MembersKeepNamesSizesAttributesTimesAndContent)
{
    TempFolder temp;
    const std::string lesson = Lines(200);
    const std::string lessonPath = temp.write("src/lesson.script", lesson);
    SetModifyTime(lessonPath, kSourceTime);
    const std::string readOnlyPath = temp.write("src/readonly.txt", "kept as it is");
    ::chmod(readOnlyPath.c_str(), 0444);
    SetModifyTime(readOnlyPath, kSourceTime + 60);
    const std::string notes = Lines(50);
    const std::string packed = Lines(40);   // compressible, but named like an archive

    struct SRow {
        const char* what;
        const char* added;
        int kind;
        std::string source;   // a path for files, the bytes for memory
        const char* reported;
        std::string content;
        uint32_t attributes;
        bool stored;
        time_t modify;   // 0: the time of adding
    };
    const SRow rows[] = {
        {"a file keeps its time", "lesson.script", kZipFromName, lessonPath, "lesson.script", lesson,
         kZipAttrArchive, false, kSourceTime},
        {"a read-only file says so", "readonly.txt", kZipFromName, readOnlyPath, "readonly.txt", "kept as it is",
         kZipAttrArchive | kZipAttrReadOnly, false, kSourceTime + 60},
        {"memory is deflated", "notes/readme.txt", kZipFromMemory, notes, "notes/readme.txt", notes,
         kZipAttrArchive, false, 0},
        {"an archive name is stored", "pack.ZIP", kZipFromMemory, packed, "pack.ZIP", packed, kZipAttrArchive, true,
         0},
        {"a folder ends in /", "sub", kZipFromFolder, "", "sub/", "", kZipAttrArchive | kZipAttrDirectory, true, 0},
        {"\\ becomes /", "dir\\inner.txt", kZipFromMemory, "inner", "dir/inner.txt", "inner", kZipAttrArchive,
         false, 0},
        {"a GB18030 name whose trail byte is \\", "字幕乗.txt", kZipFromMemory, "中文", "字幕乗.txt", "中文",
         kZipAttrArchive, false, 0},
        {"an empty member", "empty.txt", kZipFromMemory, "", "empty.txt", "", kZipAttrArchive, false, 0},
    };
    const time_t before = ::time(nullptr);
    const std::string archive = temp.path() + "round.zip";
    SZipHandle* writer = ZipWriterCreate(const_cast<char*>(archive.c_str()), 0, kZipFromName, nullptr);
    ASSERT_TRUE(ZipWriterIsHandle(writer));
    for (const SRow& row : rows) {
        const void* source = row.kind == kZipFromMemory ? static_cast<const void*>(row.source.data())
                                                        : static_cast<const void*>(row.source.c_str());
        ASSERT_EQ(ZipWriterAdd(writer, row.added, source, row.source.size(), row.kind), kZipOk) << row.what;
    }
    ASSERT_EQ(ZipWriterClose(writer), kZipOk);
    const time_t after = ::time(nullptr);

    SZipHandle* reader = ZipReaderOpenFile(archive.c_str(), nullptr);
    ASSERT_TRUE(ZipReaderIsHandle(reader));
    SZipItemInfo info{};
    ASSERT_EQ(ZipReaderGetItem(reader, -1, &info), kZipOk);
    EXPECT_EQ(info.nIndex, static_cast<int>(std::size(rows)));
    EXPECT_STREQ(info.szName, "");
    EXPECT_EQ(info.nUncompressedSize, 0);

    ASSERT_EQ(ZipReaderSetBaseDir(reader, (temp.path() + "out").c_str()), kZipOk);
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        const SRow& row = rows[i];
        ASSERT_EQ(ZipReaderGetItem(reader, i, &info), kZipOk) << row.what;
        EXPECT_EQ(info.nIndex, i) << row.what;
        EXPECT_STREQ(info.szName, row.reported) << row.what;
        EXPECT_EQ(info.dwAttributes, row.attributes) << row.what;
        EXPECT_EQ(info.nUncompressedSize, static_cast<int64_t>(row.content.size())) << row.what;
        if (row.stored) {
            EXPECT_EQ(info.nCompressedSize, info.nUncompressedSize) << row.what;
        } else if (row.content.size() > 1000) {
            EXPECT_LT(info.nCompressedSize, info.nUncompressedSize / 4) << row.what;
        }
        if (row.modify != 0) {
            EXPECT_EQ(info.ftModify, FileTimeFromUnix(row.modify)) << row.what;
        } else {
            EXPECT_GE(info.ftModify, FileTimeFromUnix(before - 1)) << row.what;
            EXPECT_LE(info.ftModify, FileTimeFromUnix(after + 1)) << row.what;
        }

        // Extracted under its reported name, relative to the base folder.
        ASSERT_EQ(ZipReaderExtractToFile(reader, i, info.szName), kZipOk) << row.what;
        const std::string extracted = temp.path() + "out/" + ToFsPath(row.reported);
        if (row.attributes & kZipAttrDirectory) {
            EXPECT_TRUE(fs::is_directory(extracted)) << row.what;
            continue;
        }
        EXPECT_EQ(ReadBytes(extracted), row.content) << row.what;
        if (row.modify != 0) {
            EXPECT_EQ(ModifyTimeOf(extracted), row.modify) << row.what;
        }
        // Written new and writable, even from a read-only source.
        EXPECT_EQ(fs::status(extracted).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read)
            << row.what;
    }
    EXPECT_EQ(ZipReaderClose(reader), kZipOk);
}

// The zip library is built without decryption and its encryption is not
// readable by other programs: no archive is written encrypted, and an
// encrypted member is refused whatever the password.
TEST(ZipRoundTripTest, EncryptionIsRefused)
{
    TempFolder temp;
    const std::string path = temp.path() + "locked.zip";
    EXPECT_EQ(ZipWriterCreate(const_cast<char*>(path.c_str()), 0, kZipFromName, "pass word"), nullptr);
    EXPECT_EQ(ZipWriterLastResult(), kZipBadArguments);
    EXPECT_FALSE(fs::exists(path));

    SRawMember locked("locked.txt", std::string(40, 'e'));
    locked.flag = 1;
    const std::string zip = BuildRawZip({locked});
    SZipHandle* reader = ZipReaderOpenMemory(zip.data(), zip.size(), "pass word");
    ASSERT_NE(reader, nullptr);
    const std::string target = temp.path() + "locked.txt";
    EXPECT_EQ(ZipReaderExtractToFile(reader, 0, target.c_str()), kZipPassword);
    EXPECT_FALSE(fs::exists(target));
    char buffer[64];
    EXPECT_EQ(ZipReaderExtractToMemory(reader, 0, buffer, sizeof(buffer)), kZipPassword);
    ZipReaderClose(reader);
}

TEST(ZipReaderTest, IndexesAndHandlesOutsideTheArchiveAreRefused)
{
    TempFolder temp;
    const std::string archive = OneMemberArchive(temp, "a.txt", "a");
    SZipHandle* reader = ZipReaderOpenFile(archive.c_str(), nullptr);
    ASSERT_NE(reader, nullptr);
    SZipHandle* writer = ZipWriterCreate(nullptr, 4096, kZipFromMemory, nullptr);
    ASSERT_NE(writer, nullptr);
    SZipItemInfo info{};
    char buffer[16];
    const std::string target = temp.path() + "t.txt";

    struct SRow {
        const char* what;
        int result;
        int expected;
    };
    const SRow rows[] = {
        {"index == count", ZipReaderGetItem(reader, 1, &info), kZipBadArguments},
        {"index below -1", ZipReaderGetItem(reader, -2, &info), kZipBadArguments},
        {"null handle", ZipReaderGetItem(nullptr, 0, &info), kZipBadArguments},
        {"writer handle", ZipReaderGetItem(writer, 0, &info), kZipWrongKind},
        {"find with a writer handle", ZipReaderFindItem(writer, "a.txt", false, nullptr, nullptr), kZipWrongKind},
        {"extract index == count", ZipReaderExtractToFile(reader, 1, target.c_str()), kZipBadArguments},
        {"extract index -1", ZipReaderExtractToMemory(reader, -1, buffer, sizeof(buffer)), kZipBadArguments},
        {"extract with a writer handle", ZipReaderExtractToFile(writer, 0, target.c_str()), kZipWrongKind},
        {"extract to no name", ZipReaderExtractToFile(reader, 0, nullptr), kZipBadArguments},
        {"extract to memory of no length", ZipReaderExtractToMemory(reader, 0, buffer, 0), kZipBadArguments},
        {"extract to an unknown kind", ZipReaderExtract(reader, 0, buffer, sizeof(buffer), 9), kZipBadArguments},
        {"base folder of a writer", ZipReaderSetBaseDir(writer, "/tmp"), kZipWrongKind},
        {"reader close of a writer", ZipReaderClose(writer), kZipWrongKind},
        {"reader close of null", ZipReaderClose(nullptr), kZipBadArguments},
        // The callers' close rule on the null handle of a failed open.
        {"writer close of null", ZipWriterClose(nullptr), kZipBadArguments},
        {"writer close of a reader", ZipWriterClose(reader), kZipWrongKind},
        {"writer add to a reader", ZipWriterAddMemory(reader, "x", "x", 1), kZipWrongKind},
    };
    for (const SRow& row : rows)
        EXPECT_EQ(row.result, row.expected) << row.what;
    EXPECT_FALSE(fs::exists(target));
    EXPECT_FALSE(ZipReaderIsHandle(nullptr));
    EXPECT_FALSE(ZipReaderIsHandle(writer));
    EXPECT_FALSE(ZipWriterIsHandle(reader));

    // Both handles survived being handed to the wrong side.
    ASSERT_EQ(ZipReaderGetItem(reader, 0, &info), kZipOk);
    EXPECT_STREQ(info.szName, "a.txt");
    EXPECT_EQ(ZipReaderClose(reader), kZipOk);
    EXPECT_EQ(ZipWriterClose(writer), kZipOk);

    // Opens that fail give no handle and say why.
    const std::string missing = temp.path() + "missing.zip";
    struct SOpen {
        const char* what;
        std::function<SZipHandle*()> open;
        int expected;
    };
    const SOpen opens[] = {
        {"a missing file", [&] { return ZipReaderOpenFile(missing.c_str(), nullptr); }, kZipNoFile},
        {"a folder", [&] { return ZipReaderOpenFile(temp.path().c_str(), nullptr); }, kZipNoFile},
        {"no name", [&] { return ZipReaderOpenFile(nullptr, nullptr); }, kZipBadArguments},
        {"no memory", [&] { return ZipReaderOpenMemory(nullptr, 10, nullptr); }, kZipBadArguments},
        {"a closed descriptor", [&] { return ZipReaderOpenHandle(-1, nullptr); }, kZipBadArguments},
        {"an unknown kind", [&] { return ZipReaderCreate(archive.c_str(), 0, 7, nullptr); }, kZipBadArguments},
    };
    for (const SOpen& open : opens) {
        EXPECT_EQ(open.open(), nullptr) << open.what;
        EXPECT_EQ(ZipReaderLastResult(), open.expected) << open.what;
    }
}

TEST(ZipReaderTest, MemoryExtractionComesInPartsAndResumes)
{
    TempFolder temp;
    std::string content(10000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>('a' + i % 26);
    const std::string path = temp.path() + "parts.zip";
    SZipHandle* writer = ZipWriterCreate(const_cast<char*>(path.c_str()), 0, kZipFromName, nullptr);
    ASSERT_EQ(ZipWriterAddMemory(writer, "big.txt", content.data(), content.size()), kZipOk);
    ASSERT_EQ(ZipWriterAddMemory(writer, "small.txt", "small", 5), kZipOk);
    ASSERT_EQ(ZipWriterClose(writer), kZipOk);
    SZipHandle* reader = ZipReaderOpenFile(path.c_str(), nullptr);
    ASSERT_NE(reader, nullptr);

    // 4096 + 4096 + the last 1808 bytes.
    std::string joined;
    char part[4096];
    EXPECT_EQ(ZipReaderExtractToMemory(reader, 0, part, sizeof(part)), kZipMoreData);
    joined.append(part, sizeof(part));
    EXPECT_EQ(ZipReaderExtractToMemory(reader, 0, part, sizeof(part)), kZipMoreData);
    joined.append(part, sizeof(part));
    EXPECT_EQ(ZipReaderExtractToMemory(reader, 0, part, sizeof(part)), kZipOk);
    joined.append(part, content.size() - 2 * sizeof(part));
    EXPECT_EQ(joined, content);

    // Another member in between starts that member; coming back starts over.
    EXPECT_EQ(ZipReaderExtractToMemory(reader, 0, part, sizeof(part)), kZipMoreData);
    EXPECT_EQ(ZipReaderExtractToMemory(reader, 1, part, sizeof(part)), kZipOk);
    EXPECT_EQ(std::string(part, 5), "small");
    EXPECT_EQ(ZipReaderExtractToMemory(reader, 0, part, sizeof(part)), kZipMoreData);
    EXPECT_EQ(std::string(part, sizeof(part)), content.substr(0, sizeof(part)));

    // Reading the record closes the member; a buffer of exactly its size
    // then takes it whole in one call.
    SZipItemInfo info{};
    ASSERT_EQ(ZipReaderGetItem(reader, 0, &info), kZipOk);
    std::vector<char> whole(content.size());
    EXPECT_EQ(ZipReaderExtractToMemory(reader, 0, whole.data(), whole.size()), kZipOk);
    EXPECT_EQ(std::string(whole.data(), whole.size()), content);
    ZipReaderClose(reader);
}

TEST(ZipReaderTest, FindItemMatchesStoredNames)
{
    TempFolder temp;
    const std::string path = temp.path() + "find.zip";
    SZipHandle* writer = ZipWriterCreate(const_cast<char*>(path.c_str()), 0, kZipFromName, nullptr);
    ASSERT_EQ(ZipWriterAddMemory(writer, "first.txt", "1", 1), kZipOk);
    ASSERT_EQ(ZipWriterAddMemory(writer, "Lesson/Talk.Script", "22", 2), kZipOk);
    ASSERT_EQ(ZipWriterAddMemory(writer, "字幕.txt", "333", 3), kZipOk);
    ASSERT_EQ(ZipWriterClose(writer), kZipOk);
    SZipHandle* reader = ZipReaderOpenFile(path.c_str(), nullptr);
    ASSERT_NE(reader, nullptr);

    struct SRow {
        const char* name;
        bool ignoreCase;
        int result;
        int index;
        int64_t size;
    };
    const SRow rows[] = {
        {"Lesson/Talk.Script", false, kZipOk, 1, 2},
        {"lesson/talk.script", true, kZipOk, 1, 2},
        {"lesson/talk.script", false, kZipNotFound, -1, 0},
        {"字幕.txt", true, kZipOk, 2, 3},
        {"Talk.Script", true, kZipNotFound, -1, 0},
        {"", true, kZipNotFound, -1, 0},
    };
    for (const SRow& row : rows) {
        int index = 99;
        SZipItemInfo info{};
        EXPECT_EQ(ZipReaderFindItem(reader, row.name, row.ignoreCase, &index, &info), row.result) << row.name;
        EXPECT_EQ(index, row.index) << row.name;
        EXPECT_EQ(info.nIndex, row.index) << row.name;
        EXPECT_EQ(info.nUncompressedSize, row.size) << row.name;
    }
    EXPECT_EQ(ZipReaderFindItem(reader, nullptr, true, nullptr, nullptr), kZipBadArguments);
    ZipReaderClose(reader);
}

TEST(ZipReaderTest, ArchivesFromDescriptorsAndMemory)
{
    TempFolder temp;
    const std::string content = Lines(20);
    const std::string zip = ReadBytes(OneMemberArchive(temp, "lesson.script", content));

    // An archive after a prefix, read from a descriptor placed at its start.
    const std::string prefix = "not part of the archive";
    const std::string combined = temp.write("combined.bin", prefix + zip);
    const int fd = ::open(combined.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::lseek(fd, static_cast<off_t>(prefix.size()), SEEK_SET), static_cast<off_t>(prefix.size()));
    SZipHandle* fromFd = ZipReaderOpenHandle(fd, nullptr);
    ASSERT_NE(fromFd, nullptr);
    EXPECT_EQ(::lseek(fd, 0, SEEK_CUR), static_cast<off_t>(prefix.size()));   // position kept
    ::close(fd);   // the reader holds its own descriptor

    const std::string outPath = temp.path() + "out.bin";
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(out, 0);
    ASSERT_EQ(::write(out, "head:", 5), 5);
    EXPECT_EQ(ZipReaderExtractToHandle(fromFd, 0, out), kZipOk);
    ::close(out);   // left open by the reader
    EXPECT_EQ(ReadBytes(outPath), "head:" + content);
    ZipReaderClose(fromFd);

    SZipHandle* fromMemory = ZipReaderOpenMemory(zip.data(), zip.size(), nullptr);
    ASSERT_NE(fromMemory, nullptr);
    std::vector<char> buffer(content.size());
    EXPECT_EQ(ZipReaderExtractToMemory(fromMemory, 0, buffer.data(), buffer.size()), kZipOk);
    EXPECT_EQ(std::string(buffer.data(), buffer.size()), content);
    ZipReaderClose(fromMemory);

    // A pipe cannot be read from a position.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    EXPECT_EQ(ZipReaderOpenHandle(pipeEnds[0], nullptr), nullptr);
    EXPECT_EQ(ZipReaderLastResult(), kZipUnseekable);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
}

TEST(ZipReaderTest, LastResultBelongsToTheCallingThread)
{
    TempFolder temp;
    const std::string archive = OneMemberArchive(temp, "a.txt", "a");
    SZipHandle* reader = ZipReaderOpenFile(archive.c_str(), nullptr);
    ASSERT_NE(reader, nullptr);
    SZipItemInfo info{};
    ASSERT_EQ(ZipReaderGetItem(reader, 0, &info), kZipOk);
    int otherThreadResult = -1;
    std::thread other([&otherThreadResult]() {
        SZipItemInfo mine{};
        ZipReaderGetItem(nullptr, 0, &mine);
        otherThreadResult = ZipReaderLastResult();
    });
    other.join();
    EXPECT_EQ(otherThreadResult, kZipBadArguments);
    EXPECT_EQ(ZipReaderLastResult(), kZipOk);
    ZipReaderClose(reader);
}

TEST(ZipResultTextTest, TextsOfCodesAndOfTheLastResult)
{
    struct SRow {
        int code;
        const char* reader;
        const char* writer;
    };
    const SRow rows[] = {
        {kZipOk, "Success", "Success"},
        {kZipNotFound, "File not found in the zipfile", "File not found in the zipfile"},
        {kZipPassword, "Correct password required", "unknown zip result code"},
        {kZipWrongKind, "Caller: mixing creation and opening of zip", "Caller: mixing creation and opening of zip"},
        {kZipFlation, "Zip-bug: an internal error during flation", "Zip-bug: an internal error during flation"},
        {0x12345, "unknown zip result code", "unknown zip result code"},
    };
    for (const SRow& row : rows) {
        char buffer[128];
        EXPECT_EQ(ZipResultText(row.code, buffer, sizeof(buffer)), std::strlen(row.reader));
        EXPECT_STREQ(buffer, row.reader);
        EXPECT_EQ(ZipWriterResultText(row.code, buffer, sizeof(buffer)), std::strlen(row.writer));
        EXPECT_STREQ(buffer, row.writer);
    }
    // A short buffer gets a terminated head; the length is the whole text's.
    char shortBuffer[8];
    EXPECT_EQ(ZipResultText(kZipOk + 0x500, shortBuffer, sizeof(shortBuffer)), 29u);
    EXPECT_STREQ(shortBuffer, "File no");
    EXPECT_EQ(ZipResultText(kZipOk, nullptr, 0), 7u);

    ZipReaderClose(nullptr);
    char buffer[64];
    ZipResultText(kZipLastResult, buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "Caller: faulty arguments");
    ZipWriterCreate(nullptr, 0, kZipFromMemory, nullptr);
    ZipWriterResultText(kZipLastResult, buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "Caller: not enough space allocated for memory zipfile");
}

} // namespace
