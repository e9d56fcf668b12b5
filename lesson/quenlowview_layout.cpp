// The lesson text's layouts ("script", "para", "engchn") and the Chinese
// caption switch.
#include <wx/stc/stc.h>

#include "lesson/core/lessonlayout.h"
#include "lesson/quenlowview.h"
#include "ui/lessontextstyle.h"
#include "ui/showchndlg.h"
#include "platform/codepage.h"
#include "platform/percentencode.h"
#include "playback/vlcplayer.h"
#include "ui/mainframehost.h"
#include "core/publicpages.h"
#include "core/quenlow.h"
#include "vocabulary/core/wordlookup.h"

namespace {

const char* LayoutOf(int command)
{
    switch (command) {
    case kCmdParagraphMode: return "para";
    case kCmdBilingualMode: return "engchn";
    default: return "script";
    }
}

bool LessonShown() { return theApp.m_strSubtitleLoaded == "true" && theApp.m_bScriptLoaded != 0; }

} // namespace

void CQuenlowView::SetUpLayoutCommands()
{
    for (int id : {kCmdSubtitleMode, kCmdParagraphMode, kCmdBilingualMode}) {
        Bind(wxEVT_MENU, &CQuenlowView::OnLayoutCommand, this, id);
        Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateLayoutCommand, this, id);
    }
    Bind(wxEVT_MENU, &CQuenlowView::OnShowChinese, this, kCmdShowChinese);
    for (int id : {kCmdCaptionAbove, kCmdCaptionBelow}) {
        Bind(wxEVT_MENU, &CQuenlowView::OnCaptionPosition, this, id);
        Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) {
            e.Check(theApp.m_strCaptionPosition == (e.GetId() == kCmdCaptionAbove ? "Up" : "Down"));
        }, id);
    }
    Bind(wxEVT_MENU, &CQuenlowView::OnTranslateSelection, this, kCmdGoogleTranslate);
    Bind(wxEVT_MENU, &CQuenlowView::OnTranslateSelection, this, kCmdBaiduTranslate);
    Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateLayoutCommand, this, kCmdShowChinese);
}

void CQuenlowView::OnLayoutCommand(wxCommandEvent& event)
{
    theApp.m_strTextLayout = LayoutOf(event.GetId());
    RebuildText();
}

void CQuenlowView::OnUpdateLayoutCommand(wxUpdateUIEvent& event)
{
    event.Enable(LessonShown());
    if (event.GetId() == kCmdShowChinese)
        event.Check(!theApp.m_strShowChinese.IsEmpty());
    else
        event.Check(theApp.m_strTextLayout == LayoutOf(event.GetId()));
}

void CQuenlowView::OnShowChinese(wxCommandEvent& /*event*/)
{
    if (theApp.m_strShowChinese.IsEmpty()) {
        theApp.m_strShowChinese = "true";
        ShowCaptionFor(theApp.m_nCurrentSentence);
        PlaceCaption();
    } else {
        theApp.m_strShowChinese.Empty();
        HideCaption();
    }
}

void CQuenlowView::RebuildText()
{
    if (m_richText == nullptr)
        return;
    const CString layout = theApp.m_strTextLayout;
    const SLayoutText built = BuildLayoutText(layout, theApp.m_arrForeignText, theApp.m_arrChineseText);
    auto& corrections = theApp.m_arrTextCorrection;
    std::fill(corrections.begin(), corrections.end(), 0);
    for (size_t i = 0; i < built.corrections.size() && i < corrections.size(); ++i)
        corrections[i] = built.corrections[i];

    SetControlText(*m_richText, built.text);
    m_strShownLayout = layout;
    // Only paragraphs wrap at the window's edge.
    m_richText->SetWrapMode(layout == "para" ? wxSTC_WRAP_WORD : wxSTC_WRAP_NONE);
    ApplyTextFormat();
    m_richText->ScrollToLine(0);
    // The marks follow the text: the marked words or phrases and the word
    // list's words are marked again where the new layout puts them.
    ShowReferenceMarks();
    if (!theApp.m_strMarkWordList.IsEmpty())
        ShowWordListMarks();
    SelectSentence(theApp.m_nCurrentSentence);
}

// Above or below: the position is kept for the caption; switched off, the
// caption goes.
void CQuenlowView::OnCaptionPosition(wxCommandEvent& event)
{
    const CString position = event.GetId() == kCmdCaptionAbove ? "Up" : "Down";
    if (theApp.m_strCaptionPosition != position) {
        theApp.m_strCaptionPosition = position;
        return;
    }
    theApp.m_strCaptionPosition.Empty();
    if (theApp.m_strCaptionDlgCreated == "true")
        HideCaption();
}

// The edit menu's two translation pages: the selection, in UTF-8 and
// percent-encoded, on the page of the chosen service in the dictionary pane.
void CQuenlowView::OnTranslateSelection(wxCommandEvent& event)
{
    theApp.m_strWordLookupMode = "OnWordWeb";
    RestoreMenuSelection();
    CString text = SelectedText();
    text.Trim();
    if (text.IsEmpty())
        return;
    m_strTranslateText = text;
    m_strTranslateUrl = event.GetId() == kCmdGoogleTranslate
                            ? CString(kAutoToChineseTranslatePage) + CString(PercentEncode(AnsiToUtf8Bytes(text.view())))
                            : OnlineTranslationAddress(text);
    IMainFrameHost* host = MainFrame();
    if (host == nullptr)
        return;
    ShowDictionaryPane();
    host->NavigateDictionaryPane(m_strTranslateUrl);
    HideCaption();
    if (m_getPlayerState && m_getPlayerState() == CVlcPlayer::kStatePlaying)
        host->Pause();
}
