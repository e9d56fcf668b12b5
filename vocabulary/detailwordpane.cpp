#include "vocabulary/detailwordpane.h"

#include <wx/combobox.h>
#include <wx/sizer.h>

#include "platform/file.h"
#include "shell/base/mainframehost.h"
#include "shell/base/wxtext.h"
#include "shell/core/quenlow.h"
#include "vocabulary/core/wordbook.h"
#include "vocabulary/core/wordlookup.h"
#include "vocabulary/wordonlineview.h"

bool CDetailWordPane::Create(wxWindow* frame, const CString& caption, int id)
{
    if (!CDockablePane::Create(frame, caption, id))
        return false;
    m_comboWord = new wxComboBox(this, wxID_ANY);
    m_pWordView = new CWordOnlineView;
    if (!m_pWordView->Create(this)) {
        delete m_pWordView;
        m_pWordView = nullptr;
        return false;
    }
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_comboWord, 0, wxEXPAND);
    sizer->Add(m_pWordView, 1, wxEXPAND);
    SetSizer(sizer);
    return true;
}

int CDetailWordPane::LookUpWord(const CString& word)
{
    theApp.m_strCurrentWord = word;
    m_strLastWord = word;
    CString keyword = word;
    keyword.Trim();
    if (m_comboWord != nullptr)
        m_comboWord->SetValue(ToWx(keyword));

    // The history holds each word once, as it was handed over.
    bool known = false;
    for (const CString& entry : theApp.m_arrLookupHistory) {
        if (entry == word) {
            known = true;
            break;
        }
    }
    if (!known) {
        theApp.m_arrLookupHistory.Add(word);
        theApp.m_nLookupHistoryPos = theApp.m_arrLookupHistory.GetUpperBound();
    }

    const bool silent = !theApp.m_strAutoLookup.IsEmpty();
    if (theApp.m_strWordLookupMode != "OnWordHome") {
        if (theApp.m_strMouseGetWord.IsEmpty())
            ShowOnline(OnlineDictionaryAddress(keyword));
        return 1;
    }

    const SWordEntry entry = FindWordEntry(theApp.m_strBaseDictPath, word);
    if (entry.result == EWordLookup::NoDictionary) {
        theApp.m_strWordFound = "false";
        return 0;
    }
    if (entry.result == EWordLookup::NotFound) {
        // The word stays as it was handed over (never a base form tried).
        theApp.m_strWordFound.Empty();
        if (!silent && theApp.m_strMouseGetWord.IsEmpty())
            ShowOnline(OnlineDictionaryAddress(keyword));
        return 0;
    }
    // The base form found becomes the current word: it is what the new-word
    // book saves.
    theApp.m_strCurrentWord = ToShownWordForm(entry.form);
    if (!WriteFileAtomically(theApp.m_strDictWordHtmlPath, RenderWordPage(entry.detail, silent))) {
        theApp.ShowMessage("无法写入词典页面：" + theApp.m_strDictWordHtmlPath, "error", 5000);
        theApp.m_strWordFound.Empty();
        return 0;
    }
    theApp.m_strWordFound = "true";
    if (!silent) {
        if (IMainFrameHost* host = MainFrameHost())
            host->ShowDictionaryPane();
        ShowLocalPage(theApp.m_strDictWordHtmlPath);
    }
    return 1;
}

void CDetailWordPane::ShowOnline(const CString& address)
{
    m_strUrl = address;
    if (IMainFrameHost* host = MainFrameHost())
        host->ShowDictionaryPane();
    if (m_pWordView != nullptr)
        m_pWordView->Navigate(address);
}

void CDetailWordPane::TranslateText(const CString& text)
{
    m_strLastWord = text;
}

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

void CDetailWordPane::ShowLocalPage(const CString& path)
{
    if (m_pWordView != nullptr)
        m_pWordView->Navigate(path);
}
