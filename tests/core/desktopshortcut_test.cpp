// The desktop shortcut: where it goes, what it holds, and that a start with
// nothing changed leaves it alone.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/desktopshortcut.h"
#include "core/quenlow.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

namespace {

// Points HOME and XDG_CONFIG_HOME at a temporary folder for one test.
class DesktopShortcutTest : public testing::Test {
protected:
    void SetUp() override
    {
        guard.KeepEnv("HOME").KeepEnv("XDG_CONFIG_HOME");
        setenv("HOME", home.path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home.path() + ".config").c_str(), 1);
    }
    static struct stat Stat(const std::string& path)
    {
        struct stat st {};
        EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
        return st;
    }

    testsupport::AppStateGuard guard;
    testsupport::TempFolder home;
};

std::string Home(const testsupport::TempFolder& home) { return home.path().substr(0, home.path().size() - 1); }

TEST_F(DesktopShortcutTest, DesktopFolderFollowsTheUsersSettings)
{
    // Without a settings file: the Desktop folder in the home folder.
    EXPECT_EQ(GetDesktopFolder(), Home(home) + "/Desktop");

    home.write(".config/user-dirs.dirs",
               std::string("XDG_DESKTOP_DIR=\"$HOME/") + reinterpret_cast<const char*>(u8"桌面") + "\"\n");
    EXPECT_EQ(GetDesktopFolder(), CString(home.ansi() + "桌面"));

    // A desktop folder that is the home folder means there is no desktop.
    home.write(".config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/\"\n");
    EXPECT_EQ(GetDesktopFolder(), "");
    EXPECT_EQ(WriteDesktopShortcut(GetDesktopFolder(), "/opt/q/quenlow", "HalvikEnglish"), EShortcutResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(home.path() + "HalvikEnglish.desktop"));
}

TEST_F(DesktopShortcutTest, WrittenOncePerStartAndOnlyWhenChanged)
{
    const std::string desktop = home.path() + "Desktop";
    // The desktop folder is never created.
    EXPECT_EQ(CreateDesktopShortcut(), EShortcutResult::Failed);
    EXPECT_FALSE(std::filesystem::exists(desktop));
    std::filesystem::create_directory(desktop);

    testsupport::TempFolder program;
    const testsupport::AppStateGuard appDir(&CQuenlowApp::m_strAppDir);
    // The shortcut starts this program: the test program itself.
    const std::string exe = std::filesystem::read_symlink("/proc/self/exe").filename().string();
    theApp.m_strAppDir = program.ansi();
    program.write("AppData/CommonData/Product.cfg",
                  std::string("DisplayName=") + reinterpret_cast<const char*>(u8"哈维克英语") + "\n");

    EXPECT_EQ(CreateDesktopShortcut(), EShortcutResult::Written);
    const std::string file = desktop + "/" + reinterpret_cast<const char*>(u8"哈维克英语.desktop");
    const std::string content = testsupport::ReadBytes(file);
    EXPECT_EQ(content, "[Desktop Entry]\nType=Application\nName=" + std::string(reinterpret_cast<const char*>(u8"哈维克英语")) +
                           "\nExec=\"" + program.path() + exe + "\"\n");
    const struct stat first = Stat(file);
    EXPECT_EQ(first.st_mode & S_IXUSR, S_IXUSR);

    // The next start finds the same shortcut and leaves the file alone, but
    // makes it executable again.
    ::chmod(file.c_str(), 0644);
    EXPECT_EQ(CreateDesktopShortcut(), EShortcutResult::Unchanged);
    const struct stat second = Stat(file);
    EXPECT_EQ(second.st_ino, first.st_ino);
    EXPECT_EQ(second.st_mode & 0777, 0755u);

    // A changed program folder rewrites it.
    testsupport::TempFolder moved;
    moved.write("AppData/CommonData/Product.cfg",
                std::string("DisplayName=") + reinterpret_cast<const char*>(u8"哈维克英语") + "\n");
    theApp.m_strAppDir = moved.ansi();
    EXPECT_EQ(CreateDesktopShortcut(), EShortcutResult::Written);
    EXPECT_NE(testsupport::ReadBytes(file).find(moved.path() + exe), std::string::npos);
    EXPECT_EQ(Stat(file).st_mode & S_IXUSR, S_IXUSR);
}

TEST_F(DesktopShortcutTest, NamesAndPathsAreEscaped)
{
    struct Case {
        const char* path;
        const char* exec;
    };
    const Case cases[] = {
        {"/opt/q/quenlow", R"(Exec="/opt/q/quenlow")"},
        {"/opt/my app/quenlow", R"(Exec="/opt/my app/quenlow")"},
        // '"', '$' and '\' are escaped inside the quotes, '%' is doubled, and
        // every backslash is doubled once more for the file's string syntax.
        {R"(/opt/my "q"/50%/$x\y)", R"(Exec="/opt/my \\"q\\"/50%%/\\$x\\\\y")"},
    };
    for (const Case& c : cases) {
        const std::string entry = MakeDesktopEntry(c.path, "Q");
        EXPECT_NE(entry.find(std::string("\n") + c.exec + "\n"), std::string::npos) << entry;
    }
    EXPECT_NE(MakeDesktopEntry("/q", "a\\b").find("\nName=a\\\\b\n"), std::string::npos);
    EXPECT_EQ(DesktopEntryFileName("A/B"), "A_B.desktop");
    EXPECT_EQ(DesktopEntryFileName(""), "HalvikEnglish.desktop");

    std::filesystem::create_directory(home.path() + "Desktop");
    EXPECT_EQ(WriteDesktopShortcut(GetDesktopFolder(), "/opt/q/quenlow", "A/B"), EShortcutResult::Written);
    EXPECT_TRUE(std::filesystem::exists(home.path() + "Desktop/A_B.desktop"));
}

} // namespace
