// Marking in the lesson text: the new-word book's words, or the phrases the
// lesson lists, marked white on green where the lesson file says they occur.
// The marks are indicators over the text, so clearing them leaves the
// text's own styles alone; the marked ranges serve the hover look-up and the
// automatic look-up while playing.
#include <algorithm>
#include <string>

#include <wx/stc/stc.h>

#include "lesson/core/wordreferences.h"
#include "lesson/quenlowview.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"
#include "vocabulary/core/wordbook.h"

namespace {

constexpr int kMarkBoxIndicator = 11;
constexpr int kMarkTextIndicator = 12;

} // namespace

void CQuenlowView::SetUpMarking()
{
    m_richText->IndicatorSetStyle(kMarkBoxIndicator, wxSTC_INDIC_STRAIGHTBOX);
    m_richText->IndicatorSetForeground(kMarkBoxIndicator, wxColour(46, 139, 87));
    m_richText->IndicatorSetAlpha(kMarkBoxIndicator, 255);
    m_richText->IndicatorSetUnder(kMarkBoxIndicator, true);
    m_richText->IndicatorSetStyle(kMarkTextIndicator, wxSTC_INDIC_TEXTFORE);
    m_richText->IndicatorSetForeground(kMarkTextIndicator, *wxWHITE);
    for (int id : {kCmdMarkWord, kCmdMarkPhrase, kCmdAutoLookUpMarks}) {
        Bind(wxEVT_MENU, &CQuenlowView::OnMarkCommand, this, id);
        Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateMarkCommand, this, id);
    }
}

void CQuenlowView::ClearMarks()
{
    if (m_richText == nullptr)
        return;
    for (int indicator : {kMarkBoxIndicator, kMarkTextIndicator}) {
        m_richText->SetIndicatorCurrent(indicator);
        m_richText->IndicatorClearRange(0, m_richText->GetLength());
    }
    m_richText->GotoPos(0);
    // While a lesson plays its sentence stays highlighted.
    if (theApp.m_strPlayState == "OnPlay")
        SelectSentence(theApp.m_nCurrentSentence);
}

bool CQuenlowView::MarkReference(const CString& text, int sentence, int offset)
{
    m_arrMarkedBySentence.Add(CString(std::to_string(sentence)));
    m_arrMarkedBySentence.Add(text);
    // The bilingual layout keeps the pair (for the look-up while playing) but marks nothing.
    if (m_strShownLayout == "engchn" || m_richText == nullptr)
        return true;
    const int count = std::min<int>(theApp.m_nSentenceCount, static_cast<int>(theApp.m_arrSentenceTiming.size()));
    if (sentence < 0 || sentence >= count || offset < 0)
        return false;
    int first = 0;
    int last = 0;
    if (!GetSentenceRange(sentence, first, last))
        return false;
    // Offsets count characters; the control counts bytes of its UTF-8 text.
    const int start = m_richText->PositionRelative(first, offset);
    const int end = m_richText->PositionRelative(start, static_cast<int>(ToWx(text).length()));
    if ((offset > 0 && start <= first) || end <= start || end > last)
        return false;
    for (int indicator : {kMarkBoxIndicator, kMarkTextIndicator}) {
        m_richText->SetIndicatorCurrent(indicator);
        m_richText->IndicatorFillRange(start, end - start);
    }
    m_marks.push_back({start, end, text});
    return true;
}

// Every marking starts from a text without marks and without records.
void CQuenlowView::ForgetMarks()
{
    m_arrMarkedBySentence.RemoveAll();
    m_marks.clear();
    ClearMarks();
}

void CQuenlowView::MarkReferences(const std::vector<SWordReference>& references)
{
    for (const SWordReference& reference : references)
        MarkReference(reference.text, reference.sentence, reference.offset);
    if (m_richText != nullptr)
        m_richText->ScrollToLine(0);
}

void CQuenlowView::MarkWords()
{
    ForgetMarks();
    m_bPhrasesMarked = 0;
    if (m_bWordsMarked == 1) {
        m_bWordsMarked = 0;
        return;
    }
    m_bWordsMarked = 1;
    std::vector<CString> words;
    std::vector<SWordReference> references;
    if (!ReadWordBook(theApp.m_strWordBookPath, words) ||
        !ReadWordReferences(theApp.m_strScriptPath, words, references)) {
        theApp.ShowMessage("打开数据文件失败!", "error", 5000);
        return;
    }
    MarkReferences(references);
}

void CQuenlowView::MarkPhrases()
{
    ForgetMarks();
    m_bWordsMarked = 0;
    if (m_bPhrasesMarked == 1) {
        m_bPhrasesMarked = 0;
        return;
    }
    m_bPhrasesMarked = 1;
    std::vector<SWordReference> references;
    if (!ReadPhraseReferences(theApp.m_strScriptPath, references)) {
        theApp.ShowMessage("打开当前播放数据文件失败!", "error", 5000);
        return;
    }
    MarkReferences(references);
}

void CQuenlowView::OnMarkCommand(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case kCmdMarkWord: MarkWords(); break;
    case kCmdMarkPhrase: MarkPhrases(); break;
    case kCmdAutoLookUpMarks: m_bAutoLookUpMarks = m_bAutoLookUpMarks == 1 ? 0 : 1; break;
    }
}

void CQuenlowView::OnUpdateMarkCommand(wxUpdateUIEvent& event)
{
    switch (event.GetId()) {
    case kCmdMarkWord: event.Check(m_bWordsMarked == 1); break;
    case kCmdMarkPhrase: event.Check(m_bPhrasesMarked == 1); break;
    case kCmdAutoLookUpMarks: event.Check(m_bAutoLookUpMarks == 1); break;
    }
}
