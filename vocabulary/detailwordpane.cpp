#include "vocabulary/detailwordpane.h"

#include <wx/combobox.h>
#include <wx/sizer.h>
#include <wx/toolbar.h>

#include "platform/file.h"
#include "ui/explorer1.h"
#include "ui/icons.h"
#include "ui/mainframehost.h"
#include "ui/wxtext.h"
#include "core/commandids.h"
#include "core/quenlow.h"
#include "vocabulary/core/wordbook.h"
#include "ui/panetoolbar.h"
#include "vocabulary/core/wordlookup.h"
#include "vocabulary/wordonlineview.h"

namespace {

// The toolbar, left to right.
const std::vector<SPaneTool> kPaneTools = {
    {kCmdPrevWord, "上一个", "上一个生词", wxITEM_NORMAL},
    {kCmdNextWord, "下一个", "下一个生词", wxITEM_NORMAL},
    {0, nullptr, nullptr, wxITEM_SEPARATOR},
    {kCmdWordWeb, "网络词典", "使用网络词典查词", wxITEM_CHECK},
    {kCmdWordHome, "本地词典", "使用本地词典查词", wxITEM_CHECK},
    {0, nullptr, nullptr, wxITEM_SEPARATOR},
    {kCmdSaveWord, "保存", "将单词保存到生词库", wxITEM_NORMAL},
    {kCmdDelWord, "删除", "将单词从生词库中删除", wxITEM_NORMAL},
};

bool IsLocalMode() { return theApp.m_strWordLookupMode == "OnWordHome"; }

CString Trimmed(CString text)
{
    text.Trim();
    return text;
}

} // namespace

CDetailWordPane::CDetailWordPane() : m_timers(this, [this](int id) { OnTimer(id); }) {}

bool CDetailWordPane::Create(wxWindow* frame, const CString& caption, int id)
{
    if (!CDockablePane::Create(frame, caption, id))
        return false;
    if (!CreateToolBar())
        return false;
    m_comboWord = new wxComboBox(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, 0, nullptr,
                                 wxCB_DROPDOWN | wxCB_SORT);
    wxFont font = m_comboWord->GetFont();
    font.SetPointSize(14);
    m_comboWord->SetFont(font);
    m_comboWord->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { OnEditChangeWord(); });
    // The box's completion takes Enter for itself (choosing the suggestion
    // it highlights, if any), so no enter event comes: the key is seen on its
    // way there, and the box's text is looked up once the completion is done.
    m_comboWord->Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
        if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER)
            CallAfter(&CDetailWordPane::OnWordEntered);
        event.Skip();
    });
    m_comboWord->Bind(wxEVT_COMBOBOX_CLOSEUP, [this](wxCommandEvent&) { OnCloseUpWord(); });

    m_pWordView = new CWordOnlineView;
    if (!m_pWordView->Create(this)) {
        delete m_pWordView;
        m_pWordView = nullptr;
        return false;
    }
    m_pWordView->m_browser->SetWordPicker([this](const CString& word) { OnWordPicked(word); });

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_toolBar, 0, wxEXPAND);
    sizer->Add(m_comboWord, 0, wxEXPAND);
    sizer->Add(m_pWordView, 1, wxEXPAND);
    SetSizer(sizer);

    // A new pane starts a new history; whatever sets the mode or walks the
    // history, the buttons follow at the next idle time.
    theApp.m_arrLookupHistory.RemoveAll();
    theApp.m_nLookupHistoryPos = 0;
    m_strLastWord.Empty();
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent&) { UpdateControlStates(); }, GetId());
    UpdateControlStates();
    return true;
}

bool CDetailWordPane::CreateToolBar()
{
    m_toolBar = new CPaneToolBar;
    return m_toolBar->Create(this, wxID_ANY, kPaneTools, [this](int command) {
        switch (command) {
        case kCmdPrevWord: OnPrevWord(); break;
        case kCmdNextWord: OnNextWord(); break;
        case kCmdWordWeb: OnWordWeb(); break;
        case kCmdWordHome: OnWordHome(); break;
        case kCmdSaveWord: OnSaveWord(); break;
        case kCmdDelWord: OnDelWord(); break;
        }
        UpdateControlStates();
    });
}

int CDetailWordPane::ToolIdOf(int command) const
{
    return m_toolBar != nullptr ? m_toolBar->ToolIdOf(command) : wxID_NONE;
}

// ---- Look-up --------------------------------------------------------------------------

int CDetailWordPane::LookUpWord(const CString& word)
{
    theApp.m_strCurrentWord = word;
    m_strLastWord = word;
    const CString keyword = Trimmed(word);
    // No text event: a word handed over is no typing to suggest words for.
    if (m_comboWord != nullptr)
        m_comboWord->ChangeValue(ToWx(keyword));

    theApp.AddToLookupHistory(word);
    UpdateControlStates();

    const bool silent = !theApp.m_strAutoLookup.IsEmpty();
    if (!IsLocalMode()) {
        if (theApp.m_strMouseGetWord.IsEmpty())
            ShowOnline(OnlineDictionaryAddress(keyword));
        return 1;
    }

    const SWordEntry entry = FindWordEntry(theApp.m_strBaseDictPath, word);
    if (entry.result != EWordLookup::Found) {
        // A page of our own says so and links the online page, which opens
        // only when the learner follows the link or chooses the online mode.
        theApp.m_strWordFound = entry.result == EWordLookup::NoDictionary ? "false" : "";
        ShowWordPage(RenderMissPage(keyword, entry.result, OnlineDictionaryAddress(keyword), silent), silent);
        return 0;
    }
    // The base form found becomes the current word: it is what the new-word
    // book saves.
    theApp.m_strCurrentWord = ToShownWordForm(entry.form);
    ShowWordPage(RenderEntryPage(word, entry, silent), silent);
    theApp.m_strWordFound = "true";
    return 1;
}

void CDetailWordPane::ShowWordPage(const std::string& page, bool silent)
{
    if (WriteFileAtomically(theApp.m_strDictWordHtmlPath, page)) {
        CExplorer1::DropLocalPageStandIn(theApp.m_strDictWordHtmlPath);
    } else {
        // The file still holds the previous word's page: the new page is
        // shown from memory, here and in every window that opens the
        // dictionary page, so the old word never stands for the new one.
        CExplorer1::SetLocalPageStandIn(theApp.m_strDictWordHtmlPath, page);
        theApp.ShowMessage("无法写入词典页面：" + theApp.m_strDictWordHtmlPath, "error", 5000);
    }
    if (!silent) {
        ShowPane();
        ShowLocalPage(theApp.m_strDictWordHtmlPath);
    }
}

void CDetailWordPane::ShowPane()
{
    if (IMainFrameHost* host = MainFrameHost())
        host->ShowDictionaryPane();
}

void CDetailWordPane::ShowOnline(const CString& address)
{
    m_strUrl = address;
    ShowPane();
    if (m_pWordView != nullptr)
        m_pWordView->Navigate(address);
}

void CDetailWordPane::TranslateText(const CString& text)
{
    m_strLastWord = text;
    ShowOnline(OnlineTranslationAddress(text));
}

void CDetailWordPane::ShowLocalPage(const CString& path)
{
    if (m_pWordView != nullptr)
        m_pWordView->Navigate(path);
}

// ---- The new-word book ----------------------------------------------------------------

void CDetailWordPane::OnSaveWord()
{
    switch (SaveToWordBook(theApp.m_strWordBookPath, theApp.m_strCurrentWord)) {
    case EWordBookSave::Saved:
        theApp.ShowMessage("保存成功！", "msg", 3000);
        break;
    case EWordBookSave::AlreadyThere:
        theApp.ShowMessage("保存失败，该单词已经存在于生词库中！", "warning", 3000);
        break;
    case EWordBookSave::Failed:
        theApp.ShowMessage("保存失败！", "error", 3000);
        break;
    }
}

void CDetailWordPane::OnDelWord()
{
    switch (DeleteFromWordBook(theApp.m_strWordBookPath, theApp.m_strCurrentWord)) {
    case EWordBookDelete::Deleted:
        theApp.ShowMessage("删除成功！", "msg", 3000);
        break;
    case EWordBookDelete::Failed:
        theApp.ShowMessage("删除失败！", "error", 3000);
        break;
    case EWordBookDelete::NoBook:
        break;   // nothing saved yet: nothing to delete, nothing to say
    }
}

// ---- History and mode -----------------------------------------------------------------

bool CDetailWordPane::CanGoToPreviousWord() const { return theApp.m_nLookupHistoryPos > 0; }

bool CDetailWordPane::CanGoToNextWord() const
{
    return theApp.m_nLookupHistoryPos < theApp.m_arrLookupHistory.GetSize() - 1;
}

void CDetailWordPane::OnPrevWord()
{
    if (CanGoToPreviousWord())
        LookUpHistoryEntry(theApp.m_nLookupHistoryPos - 1);
}

void CDetailWordPane::OnNextWord()
{
    if (CanGoToNextWord())
        LookUpHistoryEntry(theApp.m_nLookupHistoryPos + 1);
}

// A word of the history is there already: looking it up leaves the position.
void CDetailWordPane::LookUpHistoryEntry(int position)
{
    theApp.m_nLookupHistoryPos = position;
    theApp.m_strAutoLookup.Empty();
    LookUpWord(theApp.m_arrLookupHistory[position]);
}

void CDetailWordPane::OnWordWeb() { SwitchLookupMode("OnWordWeb"); }

void CDetailWordPane::OnWordHome() { SwitchLookupMode("OnWordHome"); }

void CDetailWordPane::SwitchLookupMode(const char* mode)
{
    theApp.m_strWordLookupMode = mode;
    UpdateControlStates();
    theApp.m_strAutoLookup.Empty();
    if (!theApp.m_strCurrentWord.IsEmpty())
        LookUpWord(theApp.m_strCurrentWord);
}

void CDetailWordPane::UpdateControlStates()
{
    if (m_toolBar != nullptr) {
        m_toolBar->EnableTool(ToolIdOf(kCmdPrevWord), CanGoToPreviousWord());
        m_toolBar->EnableTool(ToolIdOf(kCmdNextWord), CanGoToNextWord());
        m_toolBar->ToggleTool(ToolIdOf(kCmdWordWeb), theApp.m_strWordLookupMode == "OnWordWeb");
        m_toolBar->ToggleTool(ToolIdOf(kCmdWordHome), IsLocalMode());
    }
    if (m_comboWord != nullptr)
        m_comboWord->Enable(IsLocalMode());
}

// ---- The word box and the page --------------------------------------------------------

void CDetailWordPane::OnEditChangeWord()
{
    wxArrayString items;
    for (const CString& word : WordSuggestions(theApp.m_strBaseDictPath, FromWx(m_comboWord->GetValue()),
                                               kMaxSuggestions))
        items.Add(ToWx(word));
    // Only the list: the combo box's own Clear would empty the text typed.
    m_comboWord->wxItemContainer::Clear();
    if (!items.empty())
        m_comboWord->Append(items);
    // The suggestions also drop below the box as it is typed into; a dropped
    // list of the box itself would take the keyboard away from the typing.
    m_comboWord->AutoComplete(items);
}

void CDetailWordPane::LookUpBoxText()
{
    const CString keyword = Trimmed(FromWx(m_comboWord->GetValue()));
    if (!keyword.IsEmpty())
        LookUpWord(keyword);
}

void CDetailWordPane::OnWordEntered()
{
    // One look-up per Enter: a list closing with it adds none.
    m_timers.KillTimer(kTimerCloseUpLookup);
    theApp.m_strAutoLookup.Empty();
    LookUpBoxText();
    // The word is looked up: its suggestions would only cover the page.
    m_comboWord->AutoComplete(wxArrayString());
    m_comboWord->SetFocus();
}

void CDetailWordPane::OnCloseUpWord()
{
    theApp.m_strAutoLookup.Empty();
    m_timers.SetTimer(kTimerCloseUpLookup, kCloseUpDelayMs);
}

void CDetailWordPane::OnWordPicked(const CString& selection)
{
    const CString word = PickedWord(selection);
    if (word.IsEmpty())
        return;
    theApp.m_strAutoLookup.Empty();
    LookUpWord(word);
}

void CDetailWordPane::OnTimer(int id)
{
    if (id != kTimerCloseUpLookup)
        return;
    m_timers.KillTimer(kTimerCloseUpLookup);
    // A list closed on the word just looked up (chosen, or Enter) needs no second look-up.
    if (Trimmed(FromWx(m_comboWord->GetValue())) != Trimmed(m_strLastWord))
        LookUpBoxText();
    m_comboWord->SetFocus();
}
