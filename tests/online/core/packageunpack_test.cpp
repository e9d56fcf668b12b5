// Which lesson a subtitle package yields, and that a lesson left by an
// earlier package is never taken for the new one.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "online/core/packageunpack.h"
#include "online/core/zipreader.h"
#include "online/core/zipwriter.h"
#include "tests/online/core/rawzip.h"
#include "tests/testsupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::TempFolder;

std::string WriterPackage(const std::vector<std::pair<const char*, std::string>>& members, bool withFolder = false)
{
    SZipHandle* writer = ZipWriterCreate(nullptr, 1 << 16, kZipFromMemory, nullptr);
    if (withFolder)
        ZipWriterAddFolder(writer, "Lessons");
    for (const auto& [name, content] : members)
        ZipWriterAddMemory(writer, name, content.data(), content.size());
    void* data = nullptr;
    size_t length = 0;
    ZipWriterGetMemory(writer, &data, &length);
    std::string bytes(static_cast<const char*>(data), length);
    ZipWriterClose(writer);
    return bytes;
}

uint32_t ReadLe(const std::string& bytes, size_t at, int width)
{
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return value;
}

void PutLe(std::string& bytes, size_t at, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A package whose directory lists `entries` members that all point at one
// deflated member of the largest size allowed, with a wrong CRC: each entry
// inflates the whole member again and fails only at its end. Built from a
// one-member archive without a comment.
std::string OverlappingEntriesPackage(int entries)
{
    std::string zip = WriterPackage({{"lesson.script", std::string(static_cast<size_t>(kZipMaxMemberBytes), 'a')}});
    const size_t end = zip.size() - 22;
    const size_t directory = ReadLe(zip, end + 16, 4);
    std::string entry = zip.substr(directory, end - directory);
    PutLe(zip, 14, ReadLe(zip, 14, 4) ^ 0x5A5A5A5A, 4);        // local header's CRC
    PutLe(entry, 16, ReadLe(entry, 16, 4) ^ 0x5A5A5A5A, 4);    // directory entry's CRC
    std::string record = zip.substr(end);
    std::string listing;
    for (int i = 0; i < entries; ++i)
        listing += entry;
    PutLe(record, 8, static_cast<uint32_t>(entries), 2);
    PutLe(record, 10, static_cast<uint32_t>(entries), 2);
    PutLe(record, 12, static_cast<uint32_t>(listing.size()), 4);
    return zip.substr(0, directory) + listing + record;
}

// The whole package inflates a bounded amount, however many entries its
// directory lists: the unpack ends quickly and extracts nothing.
TEST(PackageUnpackTest, AnArchiveOfOverlappingEntriesEndsQuickly)
{
    TempFolder temp;
    const std::string package = temp.write("tmpjpg.jpg", OverlappingEntriesPackage(150));
    ASSERT_LT(fs::file_size(package), 2u << 20);
    const std::string lesson = temp.path() + "tmpscript.script";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(UnpackLessonPackage(CString(package), CString(lesson)), EUnpackResult::NothingExtracted);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(fs::exists(lesson));
}

TEST(PackageUnpackTest, TheFirstExtractableMemberBecomesTheLesson)
{
    SRawMember broken{"broken.script", "broken lesson"};
    broken.wrongCrc = true;
    const SRawMember good{"good.script", "good lesson"};
    struct SRow {
        const char* what;
        bool present;
        std::string package;
        EUnpackResult expected;
        const char* lesson;   // null: no staging lesson afterwards
    };
    const SRow rows[] = {
        {"two members: the first", true,
         WriterPackage({{"Talk One.script", "first lesson"}, {"Talk Two.script", "second lesson"}}),
         EUnpackResult::Unpacked, "first lesson"},
        {"any member name", true, WriterPackage({{"字幕/课文.txt", "named otherwise"}}), EUnpackResult::Unpacked,
         "named otherwise"},
        {"a folder member is passed over", true, WriterPackage({{"Lessons/a.script", "in a folder"}}, true),
         EUnpackResult::Unpacked, "in a folder"},
        {"a broken first member is passed over", true, BuildRawZip({broken, good}), EUnpackResult::Unpacked,
         "good lesson"},
        {"no member extracts", true, BuildRawZip({broken}), EUnpackResult::NothingExtracted, nullptr},
        {"no members", true, BuildRawZip({}), EUnpackResult::Damaged, nullptr},
        {"not a zip archive", true, "<html>404</html>", EUnpackResult::Damaged, nullptr},
        {"a truncated archive", true, WriterPackage({{"a.script", "cut"}}).substr(0, 40), EUnpackResult::Damaged,
         nullptr},
        {"no package", false, "", EUnpackResult::Missing, nullptr},
    };
    for (const SRow& row : rows) {
        TempFolder temp;
        const std::string package = temp.path() + "tmpjpg.jpg";
        if (row.present)
            temp.write("tmpjpg.jpg", row.package);
        // The lesson of the media played before.
        const std::string lesson = temp.write("tmpscript.script", "lesson of the previous media");
        EXPECT_EQ(UnpackLessonPackage(CString(package), CString(lesson)), row.expected) << row.what;
        if (row.lesson != nullptr) {
            EXPECT_TRUE(fs::is_regular_file(lesson)) << row.what;
            EXPECT_EQ(ReadBytes(lesson), row.lesson) << row.what;
        } else {
            EXPECT_FALSE(fs::exists(lesson)) << row.what;
        }
    }
}

} // namespace
