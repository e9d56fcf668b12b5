// Marking in the lesson text: the new-word book's words, or the phrases the
// lesson lists, marked white on green where the lesson file says they occur;
// and the words of a word list, marked white on orange wherever they occur.
// The marks are indicators over the text, so clearing them leaves the
// text's own styles alone; the marked ranges serve the hover look-up and the
// automatic look-up while playing.
#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <wx/stc/stc.h>

#include "lesson/core/wholewordsearch.h"
#include "lesson/core/wordreferences.h"
#include "lesson/quenlowview.h"
#include "platform/codepage.h"
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

// The characters of a text: each GB18030 character is one character of the
// control, as it is one character of a reference's offset.
int CharacterCount(const CString& text)
{
    int count = 0;
    for (size_t pos = 0; pos < text.view().size(); pos += static_cast<size_t>(CharLengthAt(text.view(), pos)))
        ++count;
    return count;
}

// Keeps the control from reporting each mark as a change of the text while
// many marks are filled: a report per mark costs more than the mark.
class CQuietMarking {
public:
    explicit CQuietMarking(wxStyledTextCtrl& text) : m_text(text), m_mask(text.GetModEventMask())
    {
        m_text.SetModEventMask(m_mask & ~wxSTC_MOD_CHANGEINDICATOR);
    }
    ~CQuietMarking() { m_text.SetModEventMask(m_mask); }
    CQuietMarking(const CQuietMarking&) = delete;
    CQuietMarking& operator=(const CQuietMarking&) = delete;

private:
    wxStyledTextCtrl& m_text;
    int m_mask;
};

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

bool CQuenlowView::ReferenceRange(const SWordReference& reference, int& start, int& end) const
{
    const int count = std::min<int>(theApp.m_nSentenceCount, static_cast<int>(theApp.m_arrSentenceTiming.size()));
    if (m_richText == nullptr || reference.sentence < 0 || reference.sentence >= count || reference.offset < 0)
        return false;
    int first = 0;
    int last = 0;
    if (!GetSentenceRange(reference.sentence, first, last))
        return false;
    // Offsets count characters; the control counts bytes of its UTF-8 text.
    start = m_richText->PositionRelative(first, reference.offset);
    end = m_richText->PositionRelative(start, CharacterCount(reference.text));
    return !((reference.offset > 0 && start <= first) || end <= start || end > last);
}

void CQuenlowView::ShowReferenceMarks()
{
    m_marks.clear();
    if (m_richText == nullptr)
        return;
    for (int indicator : {kMarkBoxIndicator, kMarkTextIndicator}) {
        m_richText->SetIndicatorCurrent(indicator);
        m_richText->IndicatorClearRange(0, m_richText->GetLength());
    }
    for (const SWordReference& reference : m_markedReferences) {
        int start = 0;
        int end = 0;
        if (ReferenceRange(reference, start, end))
            m_marks.push_back({start, end, reference.text});
    }
    // Filled in text order: the control keeps its marks as runs, and a fill
    // behind the last one costs little where one in between moves all after it.
    std::vector<std::pair<int, int>> ranges;
    ranges.reserve(m_marks.size());
    for (const SMarkRange& mark : m_marks)
        ranges.emplace_back(mark.start, mark.end);
    std::sort(ranges.begin(), ranges.end());
    CQuietMarking quiet(*m_richText);
    for (int indicator : {kMarkBoxIndicator, kMarkTextIndicator}) {
        m_richText->SetIndicatorCurrent(indicator);
        for (const auto& [start, end] : ranges)
            m_richText->IndicatorFillRange(start, end - start);
    }
}

// Every marking starts from a text without marks and without records.
void CQuenlowView::ForgetMarks()
{
    m_arrMarkedBySentence.RemoveAll();
    m_markedReferences.clear();
    m_marks.clear();
    ClearMarks();
}

void CQuenlowView::MarkReferences(std::vector<SWordReference> references)
{
    // Every reference is recorded for the look-up while playing, also one
    // outside the text.
    for (const SWordReference& reference : references) {
        m_arrMarkedBySentence.Add(CString(std::to_string(reference.sentence)));
        m_arrMarkedBySentence.Add(reference.text);
    }
    m_markedReferences = std::move(references);
    ShowReferenceMarks();
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
    // The command stays off unless there is something to mark.
    std::vector<CString> words;
    if (!ReadWordBook(theApp.m_strWordBookPath, words)) {
        theApp.ShowMessage("打开生词本失败，不能标记单词！", "error", 5000);
        return;
    }
    if (words.empty()) {
        theApp.ShowMessage("生词本中没有单词，没有标记。", "msg", 5000);
        return;
    }
    std::vector<SWordReference> references;
    switch (ReadWordReferences(theApp.m_strScriptPath, words, references)) {
    case ELessonTableRead::NoTable:
        theApp.ShowMessage("当前课文没有单词表（字幕文件不带单词表），不能标记单词！", "error", 5000);
        return;
    case ELessonTableRead::Unreadable:
        theApp.ShowMessage("打开数据文件失败!", "error", 5000);
        return;
    case ELessonTableRead::Read:
        break;
    }
    m_bWordsMarked = 1;
    MarkReferences(std::move(references));
    if (m_marks.empty())
        theApp.ShowMessage("当前课文中没有生词本中的单词。", "msg", 5000);
}

void CQuenlowView::MarkPhrases()
{
    ForgetMarks();
    m_bWordsMarked = 0;
    if (m_bPhrasesMarked == 1) {
        m_bPhrasesMarked = 0;
        return;
    }
    std::vector<SWordReference> references;
    switch (ReadPhraseReferences(theApp.m_strScriptPath, references)) {
    case ELessonTableRead::NoTable:
        theApp.ShowMessage("当前课文没有词组表（字幕文件不带词组表），不能标记词组！", "error", 5000);
        return;
    case ELessonTableRead::Unreadable:
        theApp.ShowMessage("打开当前播放数据文件失败!", "error", 5000);
        return;
    case ELessonTableRead::Read:
        break;
    }
    m_bPhrasesMarked = 1;
    MarkReferences(std::move(references));
    if (m_marks.empty())
        theApp.ShowMessage("当前课文中没有标记的词组。", "msg", 5000);
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

    if (ShowWordListMarks() == 0)
        theApp.ShowMessage("当前文档中没有" + name + "。", "msg", 5000);
}

// One pass over the text finds every word of the list: a list of 50,000
// words costs about as much as one of ten.
int CQuenlowView::ShowWordListMarks()
{
    if (m_richText == nullptr)
        return 0;
    for (int indicator : {kListBoxIndicator, kListTextIndicator}) {
        m_richText->SetIndicatorCurrent(indicator);
        m_richText->IndicatorClearRange(0, m_richText->GetLength());
    }
    // The words in UTF-8, as the control holds its text: converted together,
    // one per line.
    CString joined;
    for (const CString& word : m_arrWordListWords)
        joined += word + "\n";
    std::vector<std::string> words;
    const std::string utf8 = AnsiToUtf8Bytes(joined.view());
    for (size_t from = 0; from < utf8.size();) {
        const size_t end = std::min(utf8.find('\n', from), utf8.size());
        words.push_back(utf8.substr(from, end - from));
        from = end + 1;
    }
    const wxCharBuffer text = m_richText->GetTextRaw();
    const std::vector<STextRange> ranges = FindWholeWords(std::string_view(text.data(), text.length()), words);
    CQuietMarking quiet(*m_richText);
    for (int indicator : {kListBoxIndicator, kListTextIndicator}) {
        m_richText->SetIndicatorCurrent(indicator);
        for (const STextRange& range : ranges)
            m_richText->IndicatorFillRange(range.start, range.end - range.start);
    }
    return static_cast<int>(ranges.size());
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
