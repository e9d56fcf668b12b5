#include "vocabulary/wordview.h"

#include <wx/clipbrd.h>
#include <wx/html/htmlwin.h>

#include "ui/explorer1.h"
#include "ui/mainframehost.h"
#include "ui/onlinepage.h"
#include "core/quenlow.h"
#include "vocabulary/core/wordtablepage.h"

CWordView::CWordView() : m_timers(this, [this](int id) { OnTimer(id); }) {}

bool CWordView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    m_browser = CExplorer1::CreateFilling(this, kBrowserId);
    if (m_browser == nullptr)
        return false;
    // The browser reports a double click in either kind of page; the word it
    // picked is read again from the selection when the timer runs.
    m_browser->SetWordPicker([this](const CString&) { OnDoubleClick(); });
    return true;
}

void CWordView::OnDoubleClick()
{
    m_timers.SetTimer(kTimerLookUpSelection, 200);
}

void CWordView::OnTimer(int id)
{
    if (id != kTimerLookUpSelection && id != kTimerLookUpAgain)
        return;
    m_timers.KillTimer(id);
    CopySelection();
    if (IMainFrameHost* host = MainFrameHost())
        host->LookUpClipboardText();
    if (id == kTimerLookUpSelection)
        m_timers.SetTimer(kTimerLookUpAgain, 200);
}

void CWordView::CopySelection()
{
    // An HTML window that selects a word switches the clipboard object to the
    // primary selection and leaves it so: the copy and the frame's reading of
    // it that follows are both for the clipboard.
    wxTheClipboard->UsePrimarySelection(false);
    COnlinePage* web = m_browser->GetWebView();
    if (web != nullptr && web->GetWindow()->IsShown()) {
        web->Copy();
        return;
    }
    const wxString text = m_browser->GetHtmlWindow()->SelectionToText();
    if (text.empty() || !wxTheClipboard->Open())
        return;
    wxTheClipboard->SetData(new wxTextDataObject(text));
    wxTheClipboard->Close();
}

bool CWordView::WriteWordTable()
{
    return WriteWordTablePage(theApp.m_strAppDir + "AppData/word/");
}
