// Which lesson a subtitle package yields, and that a lesson left by an
// earlier package is never taken for the new one.
#include <gtest/gtest.h>

#include <ctime>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "online/core/packageunpack.h"
#include "online/core/zipreader.h"
#include "online/core/zipwriter.h"
#include "tests/online/core/lessonbytes.h"
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

// A lesson package holds a handful of members: one whose directory lists
// more is refused before its directory is walked, however its entries are
// made, so the unpack ends at once and extracts nothing.
TEST(PackageUnpackTest, APackageOfManyEntriesIsRefusedAtOnce)
{
    const std::string lesson = LessonBytes("the good lesson");
    std::vector<std::pair<std::string, std::string>> seventeen = {{"lesson.script", lesson}};
    for (int i = 1; i < 17; ++i)
        seventeen.emplace_back(std::to_string(i) + ".txt", "a note");
    struct SRow {
        const char* what;
        std::string package;
    };
    const SRow rows[] = {
        {"150 entries over one 64 MiB member with a wrong CRC", OverlappingEntriesPackage(150)},
        {"zip64: 250,000 entries over one 64 MiB member",
         RepeatedEntriesPackage({{"lesson.script", std::string(static_cast<size_t>(kZipMaxMemberBytes), 'a')}}, 250'000,
                                true)},
        {"zip64: 250,000 broken entries, then a good lesson",
         RepeatedEntriesPackage({{"broken.script", "broken"}, {"lesson.script", lesson}}, 250'000, true)},
        {"60,000 entries of a note", RepeatedEntriesPackage({{"note.txt", "a note"}}, 60'000, false)},
        {"17 members, the lesson first", WriterPackage(seventeen)},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder temp;
        const std::string package = temp.write("tmpjpg.jpg", row.package);
        const std::string staging = temp.path() + "tmpscript.script";
        // The work is measured in processor time: a loaded machine stretches
        // the wall-clock time of even a bounded unpack.
        const double start = ThreadSeconds();
        EXPECT_EQ(UnpackLessonPackage(CString(package), CString(staging)), EUnpackResult::Damaged);
        EXPECT_LT(ThreadSeconds() - start, 0.1);
        EXPECT_FALSE(fs::exists(staging));
    }
}

// The first member that is a lesson with sentences becomes the lesson,
// whatever its name; anything else in the package is passed over, and a
// package without such a member gives none (it must not be stored and
// shown as an unreadable lesson).
TEST(PackageUnpackTest, TheFirstMemberThatIsALessonBecomesTheLesson)
{
    const std::string first = LessonBytes("first lesson");
    const std::string second = LessonBytes("second lesson");
    SRawMember broken{"broken.script", first};
    broken.wrongCrc = true;
    const SRawMember good{"good.script", second};
    std::vector<std::pair<std::string, std::string>> sixteen;
    for (int i = 1; i < 16; ++i)
        sixteen.emplace_back(std::to_string(i) + ".txt", "not a lesson");
    sixteen.emplace_back("last.script", second);
    struct SRow {
        const char* what;
        bool present;
        std::string package;
        EUnpackResult expected;
        const char* lesson;   // the staged lesson's sentence; null: no staging lesson afterwards
    };
    const SRow rows[] = {
        {"two lessons: the first", true, WriterPackage({{"Talk One.script", first}, {"Talk Two.script", second}}),
         EUnpackResult::Unpacked, "first lesson"},
        {"any member name", true, WriterPackage({{"字幕/课文.txt", first}}), EUnpackResult::Unpacked, "first lesson"},
        {"a folder member is passed over", true, WriterPackage({{"Lessons/a.script", first}}, true),
         EUnpackResult::Unpacked, "first lesson"},
        {"a picture before the lesson is passed over", true,
         WriterPackage({{"cover.jpg", "\xFF\xD8\xFF\xE0 JFIF"}, {"lesson.script", second}}), EUnpackResult::Unpacked,
         "second lesson"},
        {"a blank lesson is passed over", true,
         WriterPackage({{"blank.script", LessonBytes("", false)}, {"lesson.script", second}}), EUnpackResult::Unpacked,
         "second lesson"},
        {"a broken first member is passed over", true, BuildRawZip({broken, good}), EUnpackResult::Unpacked,
         "second lesson"},
        {"sixteen members, the lesson last", true, WriterPackage(sixteen), EUnpackResult::Unpacked, "second lesson"},
        {"only a text", true, WriterPackage({{"lesson.script", "<html>404</html>"}}), EUnpackResult::NoLesson, nullptr},
        {"only a blank lesson", true, WriterPackage({{"lesson.script", LessonBytes("", false)}}),
         EUnpackResult::NoLesson, nullptr},
        {"no member extracts", true, BuildRawZip({broken}), EUnpackResult::NoLesson, nullptr},
        {"no members", true, BuildRawZip({}), EUnpackResult::Damaged, nullptr},
        {"not a zip archive", true, "<html>404</html>", EUnpackResult::Damaged, nullptr},
        {"a truncated archive", true, WriterPackage({{"a.script", first}}).substr(0, 40), EUnpackResult::Damaged,
         nullptr},
        {"no package", false, "", EUnpackResult::Missing, nullptr},
    };
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.what);
        TempFolder temp;
        const std::string package = temp.path() + "tmpjpg.jpg";
        if (row.present)
            temp.write("tmpjpg.jpg", row.package);
        // The lesson of the media played before.
        const std::string lesson = temp.write("tmpscript.script", LessonBytes("lesson of the previous media"));
        EXPECT_EQ(UnpackLessonPackage(CString(package), CString(lesson)), row.expected);
        if (row.lesson != nullptr)
            EXPECT_EQ(FirstSentence(CString(lesson)), row.lesson);
        else
            EXPECT_FALSE(fs::exists(lesson));
    }
}

} // namespace
