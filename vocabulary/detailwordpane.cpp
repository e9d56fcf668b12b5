#include "vocabulary/detailwordpane.h"

#include <wx/combobox.h>
#include <wx/sizer.h>

#include "shell/base/wxtext.h"
#include "shell/core/quenlow.h"
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
    keyword.Trim(' ');
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

    theApp.m_strWordFound.Empty();
    return 0;
}

void CDetailWordPane::TranslateText(const CString& text)
{
    m_strLastWord = text;
}

void CDetailWordPane::OnSaveWord()
{
}

void CDetailWordPane::OnDelWord()
{
}

void CDetailWordPane::ShowLocalPage(const CString& path)
{
    if (m_pWordView != nullptr)
        m_pWordView->Navigate(path);
}
