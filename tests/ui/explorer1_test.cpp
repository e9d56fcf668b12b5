// Local pages are read only as regular files of a sane size: a page file of
// gigabytes was read whole into memory and handed to the HTML window.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include <wx/frame.h>
#include <wx/html/htmlwin.h>

#include "tests/testsupport.h"
#include "ui/explorer1.h"
#include "ui/wxtext.h"

TEST(Explorer1Test, OnlyRegularPagesOfASaneSizeAreRead)
{
    testsupport::TempFolder folder;
    ASSERT_EQ(::mkfifo((folder.path() + "fifo.html").c_str(), 0644), 0);
    folder.write("page.html", "<html><body><p>a page</p></body></html>");
    folder.write("huge.html", "");
    ASSERT_EQ(::truncate((folder.path() + "huge.html").c_str(), off_t{64} * 1024 * 1024), 0);   // sparse

    auto* frame = new wxFrame(nullptr, wxID_ANY, "pages");
    CExplorer1* browser = CExplorer1::CreateFilling(frame, wxID_ANY);
    ASSERT_NE(browser, nullptr);
    const auto shown = [browser] { return FromWx(browser->GetHtmlWindow()->ToText()); };
    const auto start = std::chrono::steady_clock::now();
    browser->Navigate(folder.ansi() + "page.html");
    EXPECT_GE(shown().Find("a page"), 0);
    browser->Navigate(folder.ansi() + "fifo.html");
    EXPECT_TRUE(shown().Trim().IsEmpty()) << shown().GetString();
    browser->Navigate(folder.ansi() + "huge.html");
    EXPECT_EQ(shown().Trim(), "页面文件太大，无法显示：" + folder.ansi() + "huge.html");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    frame->Destroy();
}
