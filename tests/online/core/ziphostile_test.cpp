// Archives from outside: names that climb out of folders, broken extra
// fields, damaged and truncated bytes, decompression bombs, and destinations
// that are read-only files or links.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "online/core/zipfields.h"
#include "online/core/zipreader.h"
#include "online/core/zipwriter.h"
#include "platform/file.h"
#include "tests/online/core/overlappingzip.h"
#include "tests/online/core/rawzip.h"
#include "tests/testsupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::TempFolder;

// Every path below a folder, for checking that nothing was written elsewhere.
std::vector<std::string> EverythingBelow(const std::string& folder)
{
    std::vector<std::string> paths;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        paths.push_back(entry.path().string());
    return paths;
}

TEST(ZipHostileTest, MemberNamesNeverLeadOutOfTheDestination)
{
    struct SRow {
        std::string stored;
        const char* reported;
    };
    const SRow rows[] = {
        {"../x.txt", "x.txt"},
        {"a/../../x2.txt", "a/x2.txt"},
        {"/abs.txt", "abs.txt"},
        {"C:\\dir\\y.txt", "dir/y.txt"},
        {"..\\..\\x3.txt", "x3.txt"},
        {"C:../../z.txt", "z.txt"},
        {"./.././..//w.txt", "w.txt"},
        {"deep/../../../../v.txt", "deep/v.txt"},
        {"乗.txt", "乗.txt"},   // GB18030 81 5C: the trail byte is no separator
        {"..", ""},
    };
    std::vector<SRawMember> members;
    for (const SRow& row : rows)
        members.push_back(SRawMember{row.stored, "from " + row.stored});
    TempFolder temp;
    const std::string base = temp.path() + "base/";
    fs::create_directory(base);
    const std::string zip = BuildRawZip(members);
    SZipHandle* reader = ZipReaderOpenMemory(zip.data(), zip.size(), nullptr);
    ASSERT_NE(reader, nullptr);
    ASSERT_EQ(ZipReaderSetBaseDir(reader, base.c_str()), kZipOk);

    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        const SRow& row = rows[i];
        SZipItemInfo info{};
        ASSERT_EQ(ZipReaderGetItem(reader, i, &info), kZipOk) << row.stored;
        EXPECT_STREQ(info.szName, row.reported) << row.stored;
        // Extracted under the reported name, as a caller that keeps member
        // names would; and under the stored name when it is relative.
        if (*row.reported != '\0') {
            EXPECT_EQ(ZipReaderExtractToFile(reader, i, info.szName), kZipOk) << row.stored;
            EXPECT_EQ(ReadBytes(base + ToFsPath(row.reported)), "from " + row.stored)
                << row.stored;
        } else {
            EXPECT_EQ(ZipReaderExtractToFile(reader, i, info.szName), kZipBadArguments) << row.stored;
        }
        if (row.stored[0] != '/')
            ZipReaderExtractToFile(reader, i, row.stored.c_str());
    }
    ZipReaderClose(reader);
    for (const std::string& path : EverythingBelow(temp.path()))
        EXPECT_EQ((path + "/").rfind(base, 0), 0u) << path << " is outside the destination folder";
}

TEST(ZipHostileTest, ExtraFieldWalkStaysInsideTheField)
{
    const std::string ut3 = ExtraBlock(0x5455, "\x07" + Le32(100) + Le32(200) + Le32(300));
    std::string sizePastEnd = ExtraBlock(0x5455, "\x01" + Le32(100));
    sizePastEnd[2] = static_cast<char>(0xFF);   // claims 255 bytes, holds 5
    const std::string otherPastEnd = std::string("\x0A\x00\xF0\x00", 4) + "abc" + ut3;   // hides the UT block

    struct SRow {
        const char* what;
        std::string extra;
        bool hasModify, hasAccess, hasCreate;
        uint32_t modify, access, create;
    };
    const SRow rows[] = {
        {"three times", ut3, true, true, true, 100, 200, 300},
        {"after another block", ExtraBlock(0x0001, std::string(16, 'z')) + ut3, true, true, true, 100, 200, 300},
        {"after a block longer than 255 bytes", ExtraBlock(0x6375, std::string(300, 'u')) + ut3, true, true, true,
         100, 200, 300},
        {"a UT size past the end", sizePastEnd, false, false, false, 0, 0, 0},
        {"another block's size past the end", otherPastEnd, false, false, false, 0, 0, 0},
        {"flags for three, room for one", ExtraBlock(0x5455, "\x07" + Le32(100)), true, false, false, 100, 0, 0},
        {"a cut time", ExtraBlock(0x5455, std::string("\x01\x10\x20", 3)), false, false, false, 0, 0, 0},
        {"an empty UT block", ExtraBlock(0x5455, ""), false, false, false, 0, 0, 0},
        {"three bytes", std::string("UT\x05", 3), false, false, false, 0, 0, 0},
        {"nothing", "", false, false, false, 0, 0, 0},
        {"only the first UT counts", ExtraBlock(0x5455, "\x01" + Le32(100)) + ExtraBlock(0x5455, "\x01" + Le32(999)),
         true, false, false, 100, 0, 0},
    };
    for (const SRow& row : rows) {
        // An exact copy on the heap, so a read past the field leaves it.
        const std::vector<char> exact(row.extra.begin(), row.extra.end());
        const SZipUnixTimes times = ReadExtendedTimestamp(std::string_view(exact.data(), exact.size()));
        EXPECT_EQ(times.hasModify, row.hasModify) << row.what;
        EXPECT_EQ(times.hasAccess, row.hasAccess) << row.what;
        EXPECT_EQ(times.hasCreate, row.hasCreate) << row.what;
        EXPECT_EQ(times.modify, row.modify) << row.what;
        EXPECT_EQ(times.access, row.access) << row.what;
        EXPECT_EQ(times.create, row.create) << row.what;
    }

    // In an archive: the broken field leaves the DOS time, the good one wins.
    SRawMember broken{"broken.txt", "b"};
    broken.localExtra = sizePastEnd;
    SRawMember good{"good.txt", "g"};
    good.localExtra = ExtraBlock(0x5455, "\x01" + Le32(1600000000));
    const std::string zip = BuildRawZip({broken, good});
    SZipHandle* reader = ZipReaderOpenMemory(zip.data(), zip.size(), nullptr);
    ASSERT_NE(reader, nullptr);
    SZipItemInfo info{};
    ASSERT_EQ(ZipReaderGetItem(reader, 0, &info), kZipOk);
    EXPECT_EQ(info.ftModify, FileTimeFromDos(broken.dosDateTime));
    ASSERT_EQ(ZipReaderGetItem(reader, 1, &info), kZipOk);
    EXPECT_EQ(info.ftModify, FileTimeFromUnix(1600000000));
    EXPECT_EQ(info.ftAccess, FileTimeFromDos(good.dosDateTime));
    ZipReaderClose(reader);
}

// Every single damaged byte of an archive: the layer answers with a code,
// never leaves a half-written file, and what it does extract is intact.
TEST(ZipHostileTest, DamagedOrTruncatedArchivesGiveCodesAndNoPartialFiles)
{
    std::string lesson;
    for (int i = 0; i < 40; ++i)
        lesson += "line " + std::to_string(i) + " of the lesson\r\n";
    const std::vector<std::pair<std::string, std::string>> contents = {{"lesson.script", lesson},
                                                                       {"pack.zip", "stored bytes"}};
    const std::string good = testzip::WriterPackage(contents);
    ASSERT_GT(good.size(), 100u);
    TempFolder temp;
    const std::string target = temp.path() + "out.bin";

    auto exercise = [&](const std::string& bytes, const std::string& what) {
        const std::string path = temp.write("archive.zip", bytes);
        SZipHandle* reader = ZipReaderOpenFile(path.c_str(), nullptr);
        if (reader == nullptr) {
            EXPECT_NE(ZipReaderLastResult(), kZipOk) << what;
            return;
        }
        SZipItemInfo info{};
        ASSERT_EQ(ZipReaderGetItem(reader, -1, &info), kZipOk) << what;
        const int count = info.nIndex;
        for (int i = 0; i < count; ++i) {
            // A changed attribute byte can turn a member into a folder.
            const bool folder = ZipReaderGetItem(reader, i, &info) == kZipOk && (info.dwAttributes & kZipAttrDirectory);
            const int result = ZipReaderExtractToFile(reader, i, target.c_str());
            if (result == kZipOk && folder) {
                EXPECT_TRUE(fs::is_directory(target)) << what << " member " << i;
            } else if (result == kZipOk) {
                ASSERT_LT(static_cast<size_t>(i), contents.size()) << what;
                EXPECT_EQ(ReadBytes(target), contents[static_cast<size_t>(i)].second) << what << " member " << i;
            } else {
                EXPECT_FALSE(fs::exists(target)) << what << " member " << i;
            }
            fs::remove(target);
            char buffer[64];
            int part = kZipMoreData;
            for (int calls = 0; part == kZipMoreData; ++calls) {
                ASSERT_LT(calls, 1000) << what;
                part = ZipReaderExtractToMemory(reader, i, buffer, sizeof(buffer));
            }
        }
        ZipReaderClose(reader);
    };

    for (size_t pos = 0; pos < good.size(); ++pos) {
        std::string damaged = good;
        damaged[pos] = static_cast<char>(damaged[pos] ^ 0x5A);
        exercise(damaged, "byte " + std::to_string(pos) + " changed");
    }
    for (size_t length = 0; length < good.size(); length += 7)
        exercise(good.substr(0, length), "cut to " + std::to_string(length) + " bytes");
    exercise(std::string(3000, '\xA5'), "garbage");
    exercise("PK\x03\x04 not really a zip", "a zip signature and nothing else");
}

TEST(ZipHostileTest, MembersThatCannotBeExtracted)
{
    SRawMember otherMethod{"bzip2.txt", "BZh91AY&SY"};
    otherMethod.method = 12;   // the library would hand out these bytes undecoded
    SRawMember badCrc{"crc.txt", "content"};
    badCrc.wrongCrc = true;
    SRawMember endsEarly{"short.txt", "only this"};
    endsEarly.uncompressedSize = 5000;
    SRawMember encrypted{"locked.txt", std::string(20, 'e')};
    encrypted.flag = 1;
    struct SRow {
        const char* what;
        SRawMember member;
        int expected;
    };
    const SRow rows[] = {
        {"an unsupported method", otherMethod, kZipCorrupt},
        {"a wrong CRC", badCrc, kZipFlation},
        {"data shorter than stated", endsEarly, kZipFlation},
        {"encrypted, no password given", encrypted, kZipPassword},
    };
    TempFolder temp;
    const std::string target = temp.path() + "out.txt";
    for (const SRow& row : rows) {
        const std::string zip = BuildRawZip({row.member});
        SZipHandle* reader = ZipReaderOpenMemory(zip.data(), zip.size(), nullptr);
        ASSERT_NE(reader, nullptr) << row.what;
        EXPECT_EQ(ZipReaderExtractToFile(reader, 0, target.c_str()), row.expected) << row.what;
        EXPECT_FALSE(fs::exists(target)) << row.what;
        std::vector<char> buffer(8192);
        EXPECT_EQ(ZipReaderExtractToMemory(reader, 0, buffer.data(), buffer.size()), row.expected) << row.what;
        ZipReaderClose(reader);
    }
}

// 200 MiB of zeros deflate to some 200 KB. Extraction must refuse it without
// writing it out, also when the directory understates its size.
TEST(ZipHostileTest, DecompressionBombIsRefusedQuickly)
{
    TempFolder temp;
    const std::string zeros = temp.path() + "zeros.bin";
    {
        const int fd = ::open(zeros.c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, off_t{200} << 20), 0);   // sparse: no disk space
        ::close(fd);
    }
    const std::string bombPath = temp.path() + "bomb.zip";
    SZipHandle* writer = ZipWriterCreate(const_cast<char*>(bombPath.c_str()), 0, kZipFromName, nullptr);
    ASSERT_EQ(ZipWriterAddFile(writer, "lesson.script", zeros.c_str()), kZipOk);
    ASSERT_EQ(ZipWriterClose(writer), kZipOk);
    fs::remove(zeros);
    const std::string bomb = ReadBytes(bombPath);
    ASSERT_LT(bomb.size(), 1u << 20);

    // The same archive with both headers claiming 1000 bytes.
    std::string understated = bomb;
    const std::string claimed = Le32(1000);
    understated.replace(22, 4, claimed);   // local header
    const size_t central = understated.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);
    understated.replace(central + 24, 4, claimed);

    const std::string target = temp.path() + "lesson.script";
    for (const std::string* archive : {&bomb, static_cast<const std::string*>(&understated)}) {
        const std::string path = temp.write("archive.zip", *archive);
        SZipHandle* reader = ZipReaderOpenFile(path.c_str(), nullptr);
        ASSERT_NE(reader, nullptr);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(ZipReaderExtractToFile(reader, 0, target.c_str()), kZipFlation);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, 2.0);
        EXPECT_FALSE(fs::exists(target));
        ZipReaderClose(reader);
    }
}

TEST(ZipHostileTest, ExistingDestinationIsReplacedNeverWrittenThrough)
{
    TempFolder temp;
    const std::string zip = testzip::WriterPackage({{"lesson.script", "new lesson"}});
    const std::string outside = temp.write("outside/keep.txt", "must stay");
    const std::string target = temp.path() + "staging/tmpscript.script";

    struct SRow {
        const char* what;
        std::function<void()> prepare;
        int expected;
    };
    const SRow rows[] = {
        {"a read-only file",
         [&] {
             temp.write("staging/tmpscript.script", "stale");
             ::chmod(target.c_str(), 0444);
         },
         kZipOk},
        {"a link to a file elsewhere", [&] { fs::create_symlink(outside, target); }, kZipOk},
        {"a dangling link", [&] { fs::create_symlink(temp.path() + "nowhere/x", target); }, kZipOk},
        {"a folder", [&] { fs::create_directories(target + "/inside"); }, kZipNoFile},
    };
    for (const SRow& row : rows) {
        fs::remove_all(temp.path() + "staging");
        fs::create_directories(temp.path() + "staging");
        row.prepare();
        SZipHandle* reader = ZipReaderOpenMemory(zip.data(), zip.size(), nullptr);
        EXPECT_EQ(ZipReaderExtractToFile(reader, 0, target.c_str()), row.expected) << row.what;
        ZipReaderClose(reader);
        EXPECT_EQ(ReadBytes(outside), "must stay") << row.what;
        if (row.expected == kZipOk) {
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target))) << row.what;
            EXPECT_EQ(ReadBytes(target), "new lesson") << row.what;
        } else {
            EXPECT_TRUE(fs::is_directory(target + "/inside")) << row.what;
        }
    }
    EXPECT_FALSE(fs::exists(temp.path() + "nowhere"));
}

} // namespace
