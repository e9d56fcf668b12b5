// Message boxes label their buttons in Chinese whatever the machine's locale
// (the toolkit's own labels are English under the C locale).
#include <gtest/gtest.h>
#include <wx/msgdlg.h>

#include "ui/messagebox.h"
#include "ui/wxtext.h"

namespace {

TEST(MessageBoxTest, ButtonsAreLabelledInChinese)
{
    const struct {
        long style;
        const char* ok;
        const char* cancel;
        const char* yes;
        const char* no;
    } rows[] = {
        {wxOK, "确定", nullptr, nullptr, nullptr},
        {wxOK | wxCANCEL, "确定", "取消", nullptr, nullptr},
        {wxYES_NO, nullptr, nullptr, "是", "否"},
        {wxYES_NO | wxCANCEL, nullptr, "取消", "是", "否"},
    };
    for (const auto& row : rows) {
        const auto box = MakeMessageBox("您确定要删除目录吗？", "HalvikEnglish", row.style, nullptr);
        EXPECT_EQ(box->GetMessage(), ToWx("您确定要删除目录吗？"));
        const struct {
            const char* expected;
            wxString label;
        } buttons[] = {{row.ok, box->GetOKLabel()},
                       {row.cancel, box->GetCancelLabel()},
                       {row.yes, box->GetYesLabel()},
                       {row.no, box->GetNoLabel()}};
        for (const auto& button : buttons) {
            if (button.expected) {
                EXPECT_EQ(button.label, ToWx(button.expected)) << row.style;
            }
        }
    }
}

} // namespace
