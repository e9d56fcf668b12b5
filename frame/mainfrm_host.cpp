// The frame's answers to its subsystems' windows (ui/mainframehost.h).
#include "frame/mainfrm.h"

#include <algorithm>

#include <wx/combobox.h>

#include "playback/playerdlg.h"
#include "playback/playerpane.h"
#include "catalogue/playlistpane.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"
#include "ui/explorer1.h"
#include "vocabulary/minihtmldlg.h"
#include "frame/mainribbon.h"
#include "vocabulary/detailwordpane.h"
#include "vocabulary/wordonlineview.h"

wxEvtHandler* CMainFrame::CommandTarget() { return this; }

CVlcPlayer* CMainFrame::MainPlayer()
{
    if (m_wndPlayerPane == nullptr || m_wndPlayerPane->m_dlgPlayer == nullptr)
        return nullptr;
    return m_wndPlayerPane->m_dlgPlayer->m_player.get();
}

void CMainFrame::Play() { OnPlay(); }

void CMainFrame::Pause() { OnPause(); }

void CMainFrame::HidePlayerPane() { ShowPane(m_wndPlayerPane, false); }

bool CMainFrame::IsDictionaryPaneVisible()
{
    return m_wndDetailWordPane != nullptr && IsPaneVisible(m_wndDetailWordPane);
}

void CMainFrame::ShowDictionaryPane()
{
    if (m_wndDetailWordPane == nullptr)
        return;
    DockPane(m_wndDetailWordPane);
    ShowPane(m_wndDetailWordPane, true);
    const int width = DictionaryPaneWidth();
    SetDetailWordPaneSize(width);
    // The play list and the player share the left dock, which may span the
    // whole window (the play list before a lesson, the player for a media
    // without one): it makes room for the dictionary.
    const int room = std::max(1, GetClientSize().x - width);
    if (IsPaneVisible(m_wndPlayListPane))
        SetPlayListPaneSize(room);
    else if (IsPaneVisible(m_wndPlayerPane) && m_auiManager.GetPaneDockSize(m_wndPlayerPane) > room)
        SetPlayerPaneSize(room);
}

void CMainFrame::LookUpWordInPane(const CString& word)
{
    if (m_wndDetailWordPane != nullptr)
        m_wndDetailWordPane->LookUpWord(word);
}

void CMainFrame::ShowDictionaryPopup(const CString& address, int x, int y, int width, int height)
{
    CMiniHtmlDlg* popup = theApp.m_dlgMiniHtml;
    if (popup == nullptr || popup->m_browser == nullptr)
        return;
    // Placed once shown as well: a window manager may place a new window itself.
    popup->SetSize(x, y, width, height);
    popup->ShowWithoutActivating();
    popup->Move(x, y);
    popup->m_browser->Navigate(address);
}

void CMainFrame::HideDictionaryPopup()
{
    if (theApp.m_dlgMiniHtml != nullptr)
        theApp.m_dlgMiniHtml->Hide();
}

void CMainFrame::PrepareDictionaryPopup()
{
    CMiniHtmlDlg* popup = theApp.m_dlgMiniHtml;
    if (popup != nullptr && popup->m_browser != nullptr && theApp.m_strWordLookupMode != "OnWordHome")
        popup->m_browser->PrepareOnlinePage();
}

bool CMainFrame::IsInDictionaryPopup(int x, int y)
{
    const CMiniHtmlDlg* popup = theApp.m_dlgMiniHtml;
    if (popup == nullptr || !popup->IsShown())
        return false;
    const wxRect rect = popup->GetScreenRect();
    // Strictly inside: the border counts as outside.
    return x > rect.x && x < rect.GetRight() && y > rect.y && y < rect.GetBottom();
}

void CMainFrame::NavigateDictionaryPane(const CString& address)
{
    if (m_wndDetailWordPane != nullptr && m_wndDetailWordPane->m_pWordView != nullptr)
        m_wndDetailWordPane->m_pWordView->Navigate(address);
}

CString CMainFrame::GetComboText(int commandId)
{
    return m_pRibbonBar != nullptr ? m_pRibbonBar->GetComboText(commandId) : CString();
}

void CMainFrame::SetComboText(int commandId, const CString& text)
{
    if (m_pRibbonBar != nullptr)
        m_pRibbonBar->SetComboText(commandId, text);
}

bool CMainFrame::ComboHasFocus(int commandId)
{
    wxWindow* combo = m_pRibbonBar != nullptr ? m_pRibbonBar->FindStandIn(commandId) : nullptr;
    return combo != nullptr && combo->HasFocus();
}

bool CMainFrame::ComboListHas(int commandId, const CString& text)
{
    auto* combo = m_pRibbonBar != nullptr ? dynamic_cast<wxComboBox*>(m_pRibbonBar->FindStandIn(commandId)) : nullptr;
    return combo != nullptr && !text.IsEmpty() && combo->FindString(ToWx(text)) != wxNOT_FOUND;
}

COLORREF CMainFrame::GetColorButtonColor(int commandId)
{
    return m_pRibbonBar != nullptr ? m_pRibbonBar->GetColorButtonColor(commandId) : 0;
}

void CMainFrame::ApplyPlaylistColors()
{
    if (m_wndPlayListPane != nullptr)
        m_wndPlayListPane->ApplyColors();
}
