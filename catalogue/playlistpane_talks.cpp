// The playlist pane's talk catalogue: the talk list, the popular talks, the
// word-frequency figures and the talk information page.
#include "catalogue/playlistpane.h"

#include <wx/display.h>

#include "catalogue/core/talklist.h"
#include "catalogue/core/wordfrequency.h"
#include "catalogue/localviewtree.h"
#include "platform/file.h"
#include "ui/mainframehost.h"
#include "ui/progressdlg.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"

namespace {

constexpr int kErrorMs = 5000;
constexpr int kTalkInfoHeight = 150;

} // namespace

void CPlayListPane::FillTalkList(const CString& category, const CString& sortField)
{
    // Only a column the list sorts by is kept ("" and anything else: "id").
    const CString sort = TalkSortColumn(sortField);
    if (theApp.m_strTalkCategory != category)
        theApp.m_strTalkCategory = category;
    if (theApp.m_strTalkSortField != sort)
        theApp.m_strTalkSortField = sort;

    STalkListChoice choice;
    choice.category = category;
    choice.sortField = sort;
    choice.filter = theApp.m_strPlaylistFilter;
    choice.language = theApp.m_strPlaylistLanguage;
    choice.popularOnly = theApp.m_strPopularOnly.GetLength() > 1;
    choice.search = theApp.m_strPlaylistSearch;
    std::vector<CString> items;
    const ETalkListResult result = BuildTalkList(theApp.m_strTalkInfoDbPath, theApp.m_strPlaylistDir, choice,
                                                 m_arrFamousIds, [](const CString& path) { return FileExists(path); },
                                                 items);
    if (result == ETalkListResult::CannotOpen) {
        theApp.ShowMessage("打开播放列表数据库失败！", "error", kErrorMs);
        return;
    }

    const wxTreeItemId root = m_wndTree->GetRootItem();
    m_wndTree->DeleteChildItems(root);
    m_bShowsTalkList = true;
    SetLabel(wxString());
    const int image = theApp.m_strPlaylistFilter == "Script" ? CLocalViewTree::kImageVideo
                                                              : CLocalViewTree::kImageDocument;
    if (result == ETalkListResult::Listed) {
        for (const CString& item : items)
            m_wndTree->AppendItem(root, ToWx(item), image, image);
        theApp.m_strPlaylistCaption.Format("共有%d项", static_cast<int>(items.size()));
        SetLabel(ToWx(theApp.m_strPlaylistCaption));
    }
    theApp.m_strPlaylistSearch.Empty();
}

void CPlayListPane::LoadFamousIds()
{
    if (!m_arrFamousIds.empty())
        return;
    if (!LoadFamousTalkIds(theApp.m_strTalkInfoDbPath, m_arrFamousIds))
        theApp.ShowMessage("打开播放列表数据库文件失败！", "error", kErrorMs);
}

bool CPlayListPane::IsFamousTalk(const CString& itemText) const
{
    return ::IsFamousTalk(itemText, m_arrFamousIds);
}

void CPlayListPane::RebuildWordFrequency()
{
    auto* dialog = new CProgressDlg;
    if (!dialog->Create()) {
        dialog->Destroy();
        return;
    }
    CTextProgressCtrl* bar = dialog->m_ctlProgress;
    dialog->Show();
    dialog->SetSize(theApp.m_nScreenWidth / 2 - 250, theApp.m_nScreenHeight / 2, 500, 30);
    bar->SetSize(0, 0, 500, 30);
    bar->SetBgColor(theApp.m_clrBackground);
    bar->SetTextColor(theApp.m_clrText);

    const SWordFrequencyRun run = ::RebuildWordFrequency(
        theApp.m_strPlaylistDir, theApp.m_strWordBookPath, theApp.m_strTalkInfoDbPath, [bar](int done, int total) {
            bar->SetRange(0, total);
            CString text;
            text.Format("数据量较大，程序可能暂时没有反应，请不要关闭程序......%d", total > 0 ? done * 100 / total : 0);
            bar->SetWindowText(text + "%");
            bar->SetPos(done);
        });
    dialog->Destroy();

    if (run.bookUnreadable || run.unreadableScripts > 0)
        theApp.ShowMessage("打开数据文件失败!", "error", kErrorMs);
    else if (run.talksUnreadable)
        theApp.ShowMessage("打开播放列表数据库失败！", "error", kErrorMs);
}

void CPlayListPane::ShowTalkInfo(const CString& itemText)
{
    const int open = itemText.Find('[');
    const int close = itemText.Find(']', open + 1);
    if (open < 0 || close < 0)
        return;
    CString id = itemText.Mid(open + 1, close - open - 1);
    id.Trim();
    CString talk;
    CString speaker;
    if (!ReadTalkSummaries(theApp.m_strTalkInfoDbPath, id, talk, speaker))
        return;
    const CString page = "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=GB18030\" />\n"
                         "</head>\n<body style=\"font-size:20px\">\n<b style=\"color:blue;\">演讲内容简介:</b> " +
                         talk + "\n<br>\n<b style=\"color:blue;\">演讲者简介:</b> " + speaker + "\n</body>\n</html>\n";
    if (!WriteFileAtomically(theApp.m_strTalkInfoHtmlPath, page.view()))
        return;

    IMainFrameHost* host = MainFrameHost();
    if (host == nullptr)
        return;
    // Below the pointer, or above it near the pane's bottom.
    const wxPoint pointer = wxGetMousePosition();
    const int paneY = ScreenToClient(pointer).y;
    const int y = GetClientSize().y - paneY < 100 ? pointer.y - kTalkInfoHeight - 20 : pointer.y + 20;
    host->ShowDictionaryPopup(theApp.m_strTalkInfoHtmlPath, ClientToScreen(wxPoint(0, 0)).x, y, GetClientSize().x,
                              kTalkInfoHeight);
    m_talkInfoTimer.Start(2000);
}
