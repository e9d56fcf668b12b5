// The files the program reads at start and by the update check, with a FIFO,
// a folder or a sparse file of 2 GB in their place: each reader gives up at
// once without reading the file, keeps its defaults and (where the learner
// loses a setting) says so. A FIFO blocked open() for good; a file of 2 GB
// was read whole. Each read runs in a child with a time and memory limit, so
// that a blocking or greedy reader fails its row instead of the test program.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "core/productsettings.h"
#include "core/quenlow.h"
#include "core/startupdefaults.h"
#include "core/uisettings.h"
#include "tests/testsupport.h"

namespace fs = std::filesystem;

namespace {

enum class EHazard { Fifo, Folder, Huge };

void PlaceHazard(const std::string& path, EHazard hazard)
{
    fs::create_directories(fs::path(path).parent_path());
    fs::remove_all(path);
    switch (hazard) {
    case EHazard::Fifo:
        ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
        break;
    case EHazard::Folder:
        fs::create_directory(path);
        break;
    case EHazard::Huge:
        std::FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
        ASSERT_EQ(::truncate(path.c_str(), off_t{2} * 1024 * 1024 * 1024), 0);   // sparse: costs no disk
        break;
    }
}

const char* HazardName(EHazard hazard)
{
    return hazard == EHazard::Fifo ? "FIFO" : hazard == EHazard::Folder ? "folder" : "2 GB file";
}

} // namespace

TEST(StartupFilesTest, EachReaderGivesUpAtOnceAndKeepsItsDefaults)
{
    struct Reader {
        const char* name;
        const char* relative;   // below the program folder
        // Reads the file in a fresh application object; 1 when the reader
        // behaved (defaults kept, the notice given where one is due).
        std::function<int(CQuenlowApp& app, const CString& path)> read;
    };
    const Reader readers[] = {
        {"UI.data", "AppData/UserData/UI.data",
         [](CQuenlowApp& app, const CString& path) {
             LoadUiSettings(app, path);
             int kind = 0;
             CString text;
             int seconds = 0;
             const bool told = app.TakeMessage(kind, text, seconds) && text.Find("界面设置文件") >= 0;
             return told && app.m_nVolume == 75 && app.m_strFontName.IsEmpty() ? 1 : 0;
         }},
        {"Product.cfg", "AppData/CommonData/Product.cfg",
         [](CQuenlowApp&, const CString& path) {
             EFileReadResult read = EFileReadResult::Read;
             const bool empty = ReadProductSettings(path, &read).empty();
             // The program's own reader tells the learner, once.
             theApp.m_strAppDir = path.Left(path.GetLength() - static_cast<int>(strlen("AppData/CommonData/Product.cfg")));
             const CString host = GetProductSetting("UpdateServerHost", "fallback");
             int kind = 0;
             CString text;
             int seconds = 0;
             const bool told = theApp.TakeMessage(kind, text, seconds) && text.Find("产品设置文件") >= 0;
             (void)GetProductSetting("UpdateServerHost");
             const bool toldOnce = !theApp.TakeMessage(kind, text, seconds);
             return empty && read != EFileReadResult::Read && host == "fallback" && told && toldOnce ? 1 : 0;
         }},
        {"update.data length", "AppData/CommonData/update.data",
         [](CQuenlowApp& app, const CString& path) {
             const int64_t length = app.GetFileLength(path);
             return length == 0 || length == int64_t{2} * 1024 * 1024 * 1024 ? 1 : 0;
         }},
    };
    for (const Reader& reader : readers) {
        for (const EHazard hazard : {EHazard::Fifo, EHazard::Folder, EHazard::Huge}) {
            SCOPED_TRACE(std::string(reader.name) + " as a " + HazardName(hazard));
            testsupport::TempFolder tmp;
            PlaceHazard(tmp.path() + reader.relative, hazard);
            const CString path = tmp.ansi() + reader.relative;
            const std::optional<int> behaved = testsupport::RunBoundedInChild(
                [&] {
                    CQuenlowApp app;
                    ApplyStartupDefaults(app, tmp.ansi());
                    return reader.read(app, path);
                },
                10.0, 512L * 1024 * 1024);
            ASSERT_TRUE(behaved.has_value()) << "blocked, ran out of memory or crashed";
            EXPECT_EQ(*behaved, 1);
        }
    }
}
