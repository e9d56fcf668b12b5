// The word book's example sentences: the list of the chosen word's sentences
// in the current lesson, the sentence box, and the clips played in the second
// player, one at a click or all of them one after another.
#include <wx/stc/stc.h>

#include "platform/codepage.h"
#include "platform/file.h"
#include "playback/purewmpdialog.h"
#include "ui/commandmenu.h"
#include "ui/lessontextstyle.h"
#include "ui/mainframehost.h"
#include "ui/wxtext.h"
#include "core/commandids.h"
#include "core/quenlow.h"
#include "vocabulary/wordmanagementview.h"

namespace {

// The control's position of a byte offset into a text it shows (the control
// counts UTF-8 bytes, the text holds GB18030).
int ControlPosition(const CString& text, int offset)
{
    return static_cast<int>(ToWx(text.Left(offset)).utf8_str().length());
}

CVlcPlayer* SecondPlayer()
{
    return theApp.m_pStreamDlg != nullptr ? theApp.m_pStreamDlg->m_player.get() : nullptr;
}

void StopSecondPlayer()
{
    if (theApp.m_pStreamDlg != nullptr)
        theApp.m_pStreamDlg->StopPlayer();
}

} // namespace

void CWordManagementView::ShowExamples(const CString& text)
{
    StopExamplePlayback();
    m_timers.KillTimer(kTimerPlayExample);
    m_nCurrentExample = 0;
    m_examples = CWordExampleList();
    SetControlText(*m_editExamples, "");
    SetControlText(*m_editSentence, "");   // the last word's example goes too
    CString entry = text;
    entry.Trim();
    m_strExampleScript = theApp.m_strScriptPath;
    m_strExampleMedia = theApp.m_strMediaPath;
    if (!FileExists(m_strExampleScript) || !FileExists(m_strExampleMedia))
        return;

    const bool lessonFile = m_strExampleScript.Find(".script") >= 0;
    const bool phrase = entry.Find(' ') >= 0;
    std::vector<SWordReference> references;
    if (lessonFile)
        ReadExampleReferences(m_strExampleScript, entry, phrase, references);
    else if (!phrase)
        references = FindWordInLessonText(entry, theApp.m_arrForeignText);
    for (const SWordReference& reference : references) {
        if (m_examples.IsFull())
            break;
        m_examples.Add(reference, theApp.m_arrForeignText, theApp.m_arrChineseText, m_strExampleScript);
    }

    SetControlText(*m_editExamples, m_examples.Text());
    MarkExamples();
    m_editExamples->ScrollToLine(0);
}

void CWordManagementView::MarkExamples()
{
    const CString listText = m_examples.Text();
    const std::vector<SWordExample>& examples = m_examples.Examples();
    for (size_t i = 0; i < examples.size(); ++i) {
        const int lineStart = m_examples.LineStart(static_cast<int>(i));
        const int start = ControlPosition(listText, lineStart + examples[i].markStart);
        const int end = ControlPosition(listText, lineStart + examples[i].markEnd);
        m_editExamples->StartStyling(start);
        m_editExamples->SetStyling(end - start, kStyleExampleMark);
    }
}

void CWordManagementView::ShowExampleSentence(int index)
{
    const SWordExample& example = m_examples.Examples()[static_cast<size_t>(index)];
    const CString text = example.line + "\n" + example.chinese;
    SetControlText(*m_editSentence, text);
    const int start = ControlPosition(text, example.markStart);
    const int end = ControlPosition(text, example.markEnd);
    m_editSentence->StartStyling(start);
    m_editSentence->SetStyling(end - start, kStyleExampleMark);
    m_editSentence->SetSelection(start, end);
}

void CWordManagementView::StopExamplePlayback()
{
    for (int timer : {kTimerClipEnd, kTimerAutoClipEnd, kTimerSubtitlesOff})
        m_timers.KillTimer(timer);
    StopSecondPlayer();
}

bool CWordManagementView::StartExampleClip(int index, int endTimer)
{
    const SWordExample& example = m_examples.Examples()[static_cast<size_t>(index)];
    CVlcPlayer* player = SecondPlayer();
    // The clip is cut from the current lesson's timings and plays its media.
    m_strExampleScript = theApp.m_strScriptPath;
    m_strExampleMedia = theApp.m_strMediaPath;
    if (player == nullptr || !FileExists(m_strExampleMedia) ||
        !SentenceClip(theApp.m_arrSentenceTiming, example.firstSentence, example.lastSentence,
                      theApp.m_nRepeatMargin, theApp.m_nTimeOffset, m_clip))
        return false;
    if (!player->OpenFile(AnsiToUtf8Bytes(m_strExampleMedia.view()).c_str()))
        return false;
    player->PlayFrom(m_clip.start);
    m_timers.SetTimer(kTimerSubtitlesOff, 300);
    m_timers.SetTimer(endTimer, 100);
    return true;
}

void CWordManagementView::ChooseExampleAt(int position)
{
    const int count = static_cast<int>(m_examples.Examples().size());
    const int line = m_editExamples->LineFromPosition(position);
    if (line >= 0 && line < count) {
        m_nReselectStart = m_editExamples->PositionFromLine(line);
        m_nReselectEnd = m_editExamples->GetLineEndPosition(line);
        m_editExamples->SetSelection(m_nReselectStart, m_nReselectEnd);
        m_timers.SetTimer(kTimerReselectExample, 300);
        m_editExamples->SetCursor(wxCursor(wxCURSOR_HAND));
        m_nCurrentExample = line;
        ShowExampleSentence(line);
    }
    // A click past the examples plays the current one again.
    if (m_nCurrentExample < count) {
        StopExamplePlayback();
        StartExampleClip(m_nCurrentExample, kTimerClipEnd);
    }
}

void CWordManagementView::OnExamplesLeftDown(wxMouseEvent& event)
{
    event.Skip();
    ChooseExampleAt(m_editExamples->PositionFromPoint(event.GetPosition()));
}

void CWordManagementView::OnExamplesRightUp(wxMouseEvent& event)
{
    // Only a talk's lesson can be played from its example.
    const std::vector<SWordExample>& examples = m_examples.Examples();
    if (theApp.m_strContentKind != "ted" || m_nCurrentExample >= static_cast<int>(examples.size()) ||
        examples[static_cast<size_t>(m_nCurrentExample)].source.GetLength() <= 1) {
        event.Skip();
        return;
    }
    CCommandMenu menu;
    menu.Append(kCmdPlayExampleLesson, "演讲例句：播放演讲", wxITEM_NORMAL);
    const int chosen = m_editExamples->GetPopupMenuSelectionFromUser(menu.GetMenu(), event.GetPosition());
    if (chosen != wxID_NONE && menu.CommandFromItem(chosen) == kCmdPlayExampleLesson)
        OnPlayExampleLesson();
}

void CWordManagementView::OnPlayExampleLesson()
{
    const std::vector<SWordExample>& examples = m_examples.Examples();
    if (m_nCurrentExample < 0 || m_nCurrentExample >= static_cast<int>(examples.size()))
        return;
    const CString media = theApp.FindMediaForScript(examples[static_cast<size_t>(m_nCurrentExample)].source);
    if (!FileExists(media)) {
        theApp.ShowMessage("视频文件不存在！", "error", 5000);
        return;
    }
    StopSecondPlayer();
    if (theApp.m_pStreamDlg != nullptr)
        theApp.m_pStreamDlg->Hide();
    theApp.m_bStreamDlgVisible = 0;
    if (IMainFrameHost* host = MainFrameHost())
        host->PlayMediaWithScript(media);
}

void CWordManagementView::OnExampleTimer(int id)
{
    CVlcPlayer* player = SecondPlayer();
    switch (id) {
    case kTimerClipEnd:
    case kTimerAutoClipEnd:
        if (player != nullptr && !ClipIsOver(player->GetTime(), m_clip.end, player->IsEndedOrStopped()))
            return;
        m_timers.KillTimer(id);
        StopSecondPlayer();
        if (id == kTimerAutoClipEnd) {
            ++m_nCurrentExample;
            m_timers.SetTimer(kTimerPlayExample, 100);
        }
        break;
    case kTimerSubtitlesOff:
        m_timers.KillTimer(id);
        if (player != nullptr)
            player->SetSpu(-1);
        break;
    case kTimerReselectExample:
        m_timers.KillTimer(id);
        m_editExamples->SetSelection(m_nReselectStart, m_nReselectEnd);
        break;
    case kTimerPlayExample: {
        m_timers.KillTimer(id);
        const int count = static_cast<int>(m_examples.Examples().size());
        if (m_nCurrentExample < 0 || m_nCurrentExample >= count)
            break;   // the last example was played
        // Without its media the example is not played, and the series ends.
        if (!StartExampleClip(m_nCurrentExample, kTimerAutoClipEnd))
            break;
        m_editExamples->SetSelection(m_editExamples->PositionFromLine(m_nCurrentExample),
                                     m_editExamples->GetLineEndPosition(m_nCurrentExample));
        if (m_editExamples->IsShownOnScreen())
            m_editExamples->SetFocus();
        ShowExampleSentence(m_nCurrentExample);
        break;
    }
    case kTimerLookUpSentence: {
        m_timers.KillTimer(id);
        m_strSelectedWord = FromWx(m_editSentence->GetSelectedText());
        m_strSelectedWord.Trim();
        if (m_strSelectedWord.IsEmpty())
            break;
        theApp.m_strWordLookupMode = "OnWordHome";
        LookUpAndShow(m_strSelectedWord, false);
        ShowWordRoot(m_strSelectedWord);
        m_strSelectedWord.Empty();
        break;
    }
    default:
        break;
    }
}
