// The learner's profile: read under the rule for replaceable files, written
// by the program, and a profile that cannot be written is reported once.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>

#include <wx/config.h>

#include "core/quenlow.h"
#include "tests/testsupport.h"
#include "ui/userprofile.h"
#include "ui/wxtext.h"

namespace {

// The notice in the show-message slot ("" when none), which is emptied.
CString TakeNotice()
{
    int kind = 0;
    CString text;
    int seconds = 0;
    return theApp.TakeMessage(kind, text, seconds) ? text : CString();
}

class UserProfileTest : public testing::Test {
protected:
    void TearDown() override
    {
        RemoveUserProfile();
        TakeNotice();
    }
};

} // namespace

TEST_F(UserProfileTest, WrittenProfileIsReadAtTheNextStart)
{
    testsupport::TempFolder folder;
    const CString path = folder.ansi() + "quenlow.conf";
    InstallUserProfile(path);
    ASSERT_NE(wxConfigBase::Get(false), nullptr);
    // Program text, as the program's keys are.
    const wxString key = ToWx(CString("/应用程序/Settings/ApplicationLook"));
    wxConfigBase::Get(false)->Write(key, 215L);
    EXPECT_TRUE(SaveUserProfile());
    EXPECT_EQ(TakeNotice(), "");

    RemoveUserProfile();
    InstallUserProfile(path);
    EXPECT_EQ(wxConfigBase::Get(false)->ReadLong(key, 0), 215);
    EXPECT_NE(testsupport::ReadBytes(folder.path() + "quenlow.conf").find("ApplicationLook=215"), std::string::npos);
    EXPECT_EQ(TakeNotice(), "");
}

// A home that cannot be written (here: a file where the folder belongs, which
// stops root too): every save fails, the learner is told once, and dropping
// the profile writes nothing more.
TEST_F(UserProfileTest, ProfileThatCannotBeWrittenIsReportedOnce)
{
    testsupport::TempFolder folder;
    folder.write("config", "");
    InstallUserProfile(folder.ansi() + "config/quenlow.conf");
    EXPECT_EQ(TakeNotice(), "") << "a missing profile is no fault";
    wxConfigBase::Get(false)->Write("/look", 1L);
    EXPECT_FALSE(SaveUserProfile());
    EXPECT_EQ(TakeNotice(), "无法保存设置：用户配置文件夹不可写（只读或已满），本次更改的设置在下次启动时不会保留。");
    wxConfigBase::Get(false)->Write("/look", 2L);
    EXPECT_FALSE(SaveUserProfile());
    EXPECT_EQ(TakeNotice(), "") << "told a second time";
    RemoveUserProfile();
    EXPECT_EQ(wxConfigBase::Get(false), nullptr);
}

// A FIFO or a huge file in the profile's place is not read (a FIFO blocked
// the toolkit's open for good): the profile starts empty and the learner is
// told. Each runs in a child with a time and memory limit.
TEST_F(UserProfileTest, ReplacedProfileIsNotReadAndIsReported)
{
    testsupport::TempFolder folder;
    ASSERT_EQ(::mkfifo((folder.path() + "fifo.conf").c_str(), 0644), 0);
    folder.write("huge.conf", "");
    ASSERT_EQ(::truncate((folder.path() + "huge.conf").c_str(), off_t{2} * 1024 * 1024 * 1024), 0);   // sparse
    for (const char* name : {"fifo.conf", "huge.conf"}) {
        SCOPED_TRACE(name);
        const CString path = folder.ansi() + name;
        const std::optional<int> code = testsupport::RunBoundedInChild(
            [&] {
                InstallUserProfile(path);
                const bool empty = wxConfigBase::Get(false)->GetNumberOfEntries(true) == 0;
                return empty && TakeNotice().Find("设置文件无法使用") == 0 ? 0 : 1;
            },
            10.0, 1L << 30);
        ASSERT_TRUE(code.has_value()) << "blocked, ran out of memory or crashed";
        EXPECT_EQ(*code, 0);
    }
}
