// Marking in the lesson text: the new-word book's words, or the phrases the
// lesson lists, marked white on green where the lesson file says they occur;
// and the words of a word list, marked white on orange wherever they occur.
// The marks are indicators over the text, so clearing them leaves the
// text's own styles alone; the marked ranges serve the hover look-up and the
// automatic look-up while playing.
#include <algorithm>
#include <string>

#include <wx/stc/stc.h>

#include "lesson/core/wordreferences.h"
#include "lesson/quenlowview.h"
#include "ui/progressdlg.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"
#include "vocabulary/core/wordbook.h"
#include "vocabulary/core/wordlists.h"

namespace {

constexpr int kMarkBoxIndicator = 11;
constexpr int kMarkTextIndicator = 12;
constexpr int kListBoxIndicator = 15;
constexpr int kListTextIndicator = 16;

// The word lists by command, with the name the messages give them. The
// list "DOCTOR" has no command.
struct SMarkListCommand {
    int command;
    const char* keyword;
    const char* name;
};
const SMarkListCommand kMarkListCommands[] = {
    {kCmdMarkListMyWords, "MYWORD", "词库中的单词"},
    {kCmdMarkListCet4, "CET4", "CET4核心单词"},
    {kCmdMarkListCet6, "CET6", "CET6核心单词"},
    {kCmdMarkListMaster, "MASTER", "研究生考试核心单词"},
    {kCmdMarkListZhuan4, "ZHUN4", "专业4核心单词"},
    {kCmdMarkListZhuan8, "ZHUN8", "专业8核心单词"},
    {kCmdMarkListToefl, "TOEFL", "托福核心单词"},
    {kCmdMarkListIelts, "IELTS", "雅思核心单词"},
    {kCmdMarkListGre, "GRE", "GRE核心单词"},
};

CString MarkListName(const CString& keyword)
{
    for (const SMarkListCommand& list : kMarkListCommands)
        if (keyword == list.keyword)
            return list.name;
    return keyword + "核心单词";
}

// A mark: the text white on a box of `colour` (two indicators, so the
// text's own style stays).
void SetUpMarkIndicators(wxStyledTextCtrl& text, int box, int fore, const wxColour& colour)
{
    text.IndicatorSetStyle(box, wxSTC_INDIC_STRAIGHTBOX);
    text.IndicatorSetForeground(box, colour);
    text.IndicatorSetAlpha(box, 255);
    text.IndicatorSetUnder(box, true);
    text.IndicatorSetStyle(fore, wxSTC_INDIC_TEXTFORE);
    text.IndicatorSetForeground(fore, *wxWHITE);
}

} // namespace

void CQuenlowView::SetUpMarking()
{
    SetUpMarkIndicators(*m_richText, kMarkBoxIndicator, kMarkTextIndicator, wxColour(46, 139, 87));
    SetUpMarkIndicators(*m_richText, kListBoxIndicator, kListTextIndicator, wxColour(255, 119, 0));
    for (int id : {kCmdMarkWord, kCmdMarkPhrase, kCmdAutoLookUpMarks}) {
        Bind(wxEVT_MENU, &CQuenlowView::OnMarkCommand, this, id);
        Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateMarkCommand, this, id);
    }
    for (const SMarkListCommand& list : kMarkListCommands) {
        Bind(wxEVT_MENU, &CQuenlowView::OnMarkListCommand, this, list.command);
        Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateMarkListCommand, this, list.command);
    }
    Bind(wxEVT_MENU, &CQuenlowView::OnMarkListCommand, this, kCmdClearMarkList);
    Bind(wxEVT_UPDATE_UI, &CQuenlowView::OnUpdateMarkListCommand, this, kCmdClearMarkList);
}

void CQuenlowView::ClearMarks()
{
    if (m_richText == nullptr)
        return;
    for (int indicator : {kMarkBoxIndicator, kMarkTextIndicator, kListBoxIndicator, kListTextIndicator}) {
        m_richText->SetIndicatorCurrent(indicator);
        m_richText->IndicatorClearRange(0, m_richText->GetLength());
    }
    // The word list's marks are gone with the others.
    theApp.m_strMarkWordList.Empty();
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

// ---- Word lists ----

void CQuenlowView::ToggleMarkList(const CString& keyword)
{
    if (theApp.m_strMarkWordList != keyword) {
        theApp.m_strMarkWordList = keyword;
        MarkWordList();
    } else {
        ClearMarks();
    }
}

void CQuenlowView::MarkWordList()
{
    if (m_richText == nullptr)
        return;
    // Another list's marks make way; the new-word and phrase marks stay.
    for (int indicator : {kListBoxIndicator, kListTextIndicator}) {
        m_richText->SetIndicatorCurrent(indicator);
        m_richText->IndicatorClearRange(0, m_richText->GetLength());
    }
    const CString keyword = theApp.m_strMarkWordList;
    const CString name = MarkListName(keyword);
    m_arrWordListWords.clear();
    switch (ReadMarkList(keyword, theApp.m_strAppDir, theApp.m_strWordBookPath, m_arrWordListWords)) {
    // Nothing is marked: the list is not shown as switched on.
    case EMarkListRead::NotShipped:
        theApp.m_strMarkWordList.Empty();
        theApp.ShowMessage("软件没有" + name + "的词表，不能标记！", "error", 5000);
        return;
    case EMarkListRead::Unreadable:
        theApp.m_strMarkWordList.Empty();
        theApp.ShowMessage("打开数据文件失败!", "error", 5000);
        return;
    case EMarkListRead::Read:
        break;
    }
    if (m_arrWordListWords.empty()) {
        theApp.m_strMarkWordList.Empty();
        theApp.ShowMessage("词表中没有" + name + "，没有标记。", "msg", 5000);
        return;
    }

    // Marking runs on this thread; the bar shows how far it is.
    const int total = static_cast<int>(m_arrWordListWords.size());
    theApp.m_nProgressTotal = total;
    auto* dialog = new CProgressDlg;
    CTextProgressCtrl* bar = nullptr;
    if (dialog->Create()) {
        dialog->Show();
        dialog->SetSize(theApp.m_nScreenWidth / 2 - 250, theApp.m_nScreenHeight / 2, 500, 30);
        bar = dialog->m_ctlProgress;
        bar->SetSize(0, 0, 500, 30);
        bar->SetRange(0, total);
        bar->SetBgColor(theApp.m_clrBackground);
        bar->SetTextColor(theApp.m_clrText);
    }
    int marked = 0;
    for (int n = 0; n < total; ++n) {
        marked += HighlightWordOccurrences(m_arrWordListWords[static_cast<size_t>(n)]);
        if (bar != nullptr) {
            CString percent;
            percent.Format("%d%%", (n + 1) * 100 / total);
            bar->SetWindowText(percent);
            bar->SetPos(n + 1);
        }
    }
    dialog->Destroy();
    if (marked == 0)
        theApp.ShowMessage("当前文档中没有" + name + "。", "msg", 5000);
}

int CQuenlowView::HighlightWordOccurrences(const CString& word)
{
    const wxString needle = ToWx(word);
    if (m_richText == nullptr || needle.empty())
        return 0;
    // Whole words in any case: a list's "ability" marks "Ability" too.
    m_richText->SetSearchFlags(wxSTC_FIND_WHOLEWORD);
    const int length = m_richText->GetLength();
    int count = 0;
    int from = 0;
    while (from < length) {
        m_richText->SetTargetStart(from);
        m_richText->SetTargetEnd(length);
        const int at = m_richText->SearchInTarget(needle);
        if (at < 0)
            break;
        const int end = m_richText->GetTargetEnd();
        for (int indicator : {kListBoxIndicator, kListTextIndicator}) {
            m_richText->SetIndicatorCurrent(indicator);
            m_richText->IndicatorFillRange(at, end - at);
        }
        ++count;
        from = end > at ? end : at + 1;
    }
    return count;
}

void CQuenlowView::OnMarkListCommand(wxCommandEvent& event)
{
    if (event.GetId() == kCmdClearMarkList) {
        ClearMarks();
        return;
    }
    for (const SMarkListCommand& list : kMarkListCommands)
        if (list.command == event.GetId())
            ToggleMarkList(list.keyword);
}

void CQuenlowView::OnUpdateMarkListCommand(wxUpdateUIEvent& event)
{
    bool checked = false;
    for (const SMarkListCommand& list : kMarkListCommands)
        if (list.command == event.GetId())
            checked = theApp.m_strMarkWordList == list.keyword && theApp.m_strDocumentLoaded == "true";
    event.Check(checked);
}
