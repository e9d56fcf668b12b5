// Which lesson a subtitle package yields, and that a lesson left by an
// earlier package is never taken for the new one.
#include <gtest/gtest.h>

#include <ctime>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "online/core/packageunpack.h"
#include "online/core/zipreader.h"
#include "online/core/zipwriter.h"
#include "tests/online/core/overlappingzip.h"
#include "tests/online/core/rawzip.h"
#include "tests/testsupport.h"

namespace {

namespace fs = std::filesystem;
using testsupport::ReadBytes;
using testsupport::TempFolder;
using namespace testzip;

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The whole package inflates a bounded amount, however many entries its
// directory lists: the unpack ends quickly and extracts nothing.
TEST(PackageUnpackTest, AnArchiveOfOverlappingEntriesEndsQuickly)
{
    TempFolder temp;
    const std::string package = temp.write("tmpjpg.jpg", OverlappingEntriesPackage(150));
    ASSERT_LT(fs::file_size(package), 2u << 20);
    const std::string lesson = temp.path() + "tmpscript.script";
    // The work is measured in processor time: a loaded machine stretches the
    // wall-clock time of even a bounded unpack.
    const double start = ThreadSeconds();
    EXPECT_EQ(UnpackLessonPackage(CString(package), CString(lesson)), EUnpackResult::NothingExtracted);
    EXPECT_LT(ThreadSeconds() - start, 1.0);
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
