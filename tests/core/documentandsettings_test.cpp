// The document's title, the desktop registration of the document type and
// the product settings file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

#include "platform/file.h"
#include "core/productsettings.h"
#include "core/quenlowdoc.h"
#include "core/shellregistration.h"
#include "tests/appstateguard.h"
#include "tests/testsupport.h"

namespace {

TEST(QuenlowDocTest, OpeningOnlyNamesTheWindow)
{
    testsupport::TempFolder tmp;
    CQuenlowDoc doc;
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.GetTitle(), "未载入文件");

    tmp.write(reinterpret_cast<const char*>(u8"课文.Quenlow"), "anything");
    EXPECT_TRUE(doc.OnOpenDocument(tmp.ansi() + "课文.Quenlow"));
    EXPECT_EQ(doc.GetTitle(), "课文.Quenlow");

    // A file that cannot be opened leaves the title as it was.
    EXPECT_FALSE(doc.OnOpenDocument(tmp.ansi() + "missing.Quenlow"));
    EXPECT_FALSE(doc.OnOpenDocument(tmp.ansi()));
    EXPECT_EQ(doc.GetTitle(), "课文.Quenlow");
}

TEST(ShellRegistrationTest, WritesOnlyIntoTheUsersDataFolderAndOnlyWhenChanged)
{
    testsupport::TempFolder data;
    testsupport::AppStateGuard guard;
    guard.KeepEnv("XDG_DATA_HOME");
    setenv("XDG_DATA_HOME", data.path().c_str(), 1);

    ASSERT_TRUE(RegisterDocumentType("/opt/程序/quenlow"));
    const std::string mime = data.path() + "mime/packages/quenlow.xml";
    const std::string desktop = data.path() + "applications/quenlow-document.desktop";
    EXPECT_NE(testsupport::ReadBytes(mime).find("*.Quenlow"), std::string::npos);
    EXPECT_NE(testsupport::ReadBytes(desktop).find(reinterpret_cast<const char*>(u8"/opt/程序/quenlow")),
              std::string::npos);

    // A second start with the same program rewrites nothing.
    struct stat before {};
    stat(desktop.c_str(), &before);
    chmod(desktop.c_str(), 0444);
    EXPECT_TRUE(RegisterDocumentType("/opt/程序/quenlow"));
    struct stat after {};
    stat(desktop.c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);
    chmod(desktop.c_str(), 0644);

    // A program folder whose name holds the launcher's special characters
    // still gives one quoted argument, escaped as the desktop shortcut's is.
    ASSERT_TRUE(RegisterDocumentType("/opt/a \"b\" 100% $HOME `id` c\\d/quenlow"));
    EXPECT_NE(testsupport::ReadBytes(desktop).find(
                  "\nExec=\"/opt/a \\\\\"b\\\\\" 100%% \\\\$HOME \\\\`id\\\\` c\\\\\\\\d/quenlow\" %f\n"),
              std::string::npos)
        << testsupport::ReadBytes(desktop);
}

TEST(ProductSettingsTest, ReadsNamesAndValuesAndSkipsComments)
{
    testsupport::TempFolder tmp;
    // The file is UTF-8 text; values come back as program text.
    tmp.write("Product.cfg", std::string("# comment\r\nProductId = ABC123\r\n\r\nUpdateServerHost=127.0.0.1\n"
                                         "broken line\n=no name\nDisplayName=") +
                                 reinterpret_cast<const char*>(u8"哈维克英语") + "\n");
    const auto settings = ReadProductSettings(tmp.ansi() + "Product.cfg");
    EXPECT_EQ(settings.size(), 3u);
    EXPECT_EQ(settings.at("ProductId"), "ABC123");
    EXPECT_EQ(settings.at("UpdateServerHost"), "127.0.0.1");
    EXPECT_EQ(settings.at("DisplayName"), "哈维克英语");
    EXPECT_TRUE(ReadProductSettings(tmp.ansi() + "missing.cfg").empty());
}

} // namespace
