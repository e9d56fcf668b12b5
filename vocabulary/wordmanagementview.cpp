#include "vocabulary/wordmanagementview.h"

#include <algorithm>

#include <wx/filedlg.h>
#include <wx/stc/stc.h>

#include "playback/purewmpdialog.h"
#include "ui/explorer1.h"
#include "ui/lessontextstyle.h"
#include "ui/mainframehost.h"
#include "ui/messagebox.h"
#include "ui/mybutton.h"
#include "ui/progressdlg.h"
#include "ui/wxtext.h"
#include "core/activeview.h"
#include "core/commandids.h"
#include "core/desktopopen.h"
#include "core/quenlow.h"
#include "vocabulary/core/wordbookfile.h"
#include "vocabulary/core/wordlookup.h"
#include "vocabulary/core/wordroot.h"

namespace {

// Styles of the word list besides the default one (0).
constexpr int kStyleHighlight = 1;   // the chosen line: white bold on sea green
constexpr int kStyleKnown = 2;       // a word judged known: white bold italic on red, struck out
constexpr int kStrikeIndicator = 8;

constexpr int kViewCommands[] = {
    kCmdWordBook,       kCmdOutlineWords,   kCmdRealExamWords,   kCmdCommonPhrases,     kCmdRandomGroups,
    kCmdExportWords,    kCmdImportWords,    kCmdClearWordBook,   kCmdShowWords,         kCmdShowPhrases,
    kCmdShowNewWords,   kCmdAutoPlayExample, kCmdExampleVideoWindow, kCmdMakeExercise,  kCmdExerciseScores,
    kCmdWordKnown,      kCmdWordUnknown,    kCmdAutoChangeWord,  kCmdWordInterval,
};

wxStyledTextCtrl* NewTextCtrl(wxWindow* parent, int id, bool readOnly)
{
    auto* control = new wxStyledTextCtrl(parent, id);
    SetUpLessonTextCtrl(*control, readOnly);
    return control;
}

// The word inside an example: white bold on sea green.
void SetExampleMarkStyle(wxStyledTextCtrl& control, const CString& face, int points)
{
    const int id = CWordManagementView::kStyleExampleMark;
    control.StyleSetFaceName(id, ToWx(face));
    control.StyleSetSize(id, points);
    control.StyleSetBold(id, true);
    control.StyleSetForeground(id, *wxWHITE);
    control.StyleSetBackground(id, wxColour(46, 139, 87));
}

CString ListPath() { return theApp.m_strAppDir + kShippedWordListPath; }

CString ChooseFileWithDialog(wxWindow* parent, bool save, const CString& folder, const CString& name)
{
    const long style = save ? (wxFD_SAVE | wxFD_OVERWRITE_PROMPT) : (wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    wxFileDialog dialog(parent, ToWx(save ? "保存生词" : "导入生词"), ToWx(folder), ToWx(name),
                        ToWx("文本文件 (*.txt)|*.txt"), style);
    return dialog.ShowModal() == wxID_OK ? FromWx(dialog.GetPath()) : CString();
}

} // namespace

CWordManagementView::CWordManagementView()
    : m_random(DefaultRandomSource()), m_timers(this, [this](int id) { OnTimer(id); })
{
    m_chooseFile = [this](bool save, const CString& folder, const CString& name) {
        return ChooseFileWithDialog(this, save, folder, name);
    };
    m_openFile = [](const CString& path) { OpenOnDesktop(path); };
}

CWordManagementView::~CWordManagementView()
{
    m_timers.KillAll();
    if (m_dlgExercise)
        m_dlgExercise->Destroy();
    if (m_dlgHistory)
        m_dlgHistory->Destroy();
}

bool CWordManagementView::Create(wxWindow* host, int id)
{
    if (!CView::Create(host, id))
        return false;
    // The list is read-only: a line typed into it would be taken for a word.
    m_editWordList = NewTextCtrl(this, kWordListId, true);
    m_editCounter = NewTextCtrl(this, kCounterId, true);
    m_editExamples = NewTextCtrl(this, kExamplesId, true);
    m_editSentence = NewTextCtrl(this, kSentenceId, true);
    m_editSentence->SetWrapMode(wxSTC_WRAP_WORD);
    m_wndDictBrowser = new CExplorer1;
    m_wndDictBrowser->Create(this, kDictBrowserId);
    m_wndRootBrowser = new CExplorer1;
    m_wndRootBrowser->Create(this, kRootBrowserId);
    m_editWordList->IndicatorSetStyle(kStrikeIndicator, wxSTC_INDIC_STRIKE);
    m_editWordList->IndicatorSetForeground(kStrikeIndicator, *wxWHITE);

    Bind(wxEVT_SIZE, &CWordManagementView::OnSize, this);
    m_editWordList->Bind(wxEVT_LEFT_DOWN, &CWordManagementView::OnListLeftDown, this);
    m_editExamples->Bind(wxEVT_LEFT_DOWN, &CWordManagementView::OnExamplesLeftDown, this);
    m_editExamples->Bind(wxEVT_RIGHT_UP, &CWordManagementView::OnExamplesRightUp, this);
    // A double click anywhere in the view looks up what the sentence box
    // has selected, once the click has made its selection.
    for (wxWindow* control : {static_cast<wxWindow*>(m_editWordList), static_cast<wxWindow*>(m_editCounter),
                              static_cast<wxWindow*>(m_editExamples), static_cast<wxWindow*>(m_editSentence)})
        control->Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent& event) {
            event.Skip();
            m_timers.SetTimer(kTimerLookUpSentence, 200);
        });
    for (int command : kViewCommands) {
        Bind(wxEVT_MENU, &CWordManagementView::OnCommand, this, command);
        Bind(wxEVT_UPDATE_UI, &CWordManagementView::OnUpdateCommand, this, command);
    }
    ApplyListColors();
    ApplyFonts();
    return true;
}

// ---- Formats and layout ----

void CWordManagementView::ShowLessonWords()
{
    if (m_strLessonPath != theApp.m_strScriptPath)
        theApp.m_strWordListKind.Empty();
    if (!theApp.m_strWordListKind.IsEmpty())
        return;
    m_arrWords.RemoveAll();
    theApp.m_strWordListKind = "true";
    m_strLessonPath = theApp.m_strScriptPath;
    m_bAutoPlayExamples = theApp.m_strAutoPlayExample.GetLength() > 1 ? 1 : 0;
    m_nCurrentExample = 0;
    OnCurrentunitword();
    m_strExerciseLessonPath.Empty();
}

void CWordManagementView::RefreshStyle()
{
    if (theApp.m_nFontCountWordView == theApp.m_nFontChangeCount)
        return;
    ApplyListColors();
    ApplyFonts();
    theApp.m_nFontCountWordView = theApp.m_nFontChangeCount;
}

void CWordManagementView::ApplyListColors()
{
    if (m_editWordList == nullptr)
        return;
    SLessonTextStyle style = CurrentLessonTextStyle();
    style.points = kListPoints;
    ApplyLessonTextStyle(*m_editWordList, style);
    for (int id : {kStyleHighlight, kStyleKnown}) {
        m_editWordList->StyleSetFaceName(id, ToWx(style.face));
        m_editWordList->StyleSetSize(id, kListPoints);
        m_editWordList->StyleSetBold(id, true);
        m_editWordList->StyleSetForeground(id, *wxWHITE);
    }
    m_editWordList->StyleSetBackground(kStyleHighlight, wxColour(46, 139, 87));
    m_editWordList->StyleSetBackground(kStyleKnown, wxColour(255, 0, 0));
    m_editWordList->StyleSetItalic(kStyleKnown, true);
    // The default format put every line back to style 0: mark again.
    if (m_nHighlightLine >= 0)
        StyleLine(m_nHighlightLine, kStyleHighlight);
    for (int line : m_knownLines)
        StyleLine(line, line == m_nHighlightLine ? kStyleHighlight : kStyleKnown);
    style.bold = false;
    ApplyLessonTextStyle(*m_editExamples, style);
    SetExampleMarkStyle(*m_editExamples, style.face, kListPoints);
    MarkExamples();
}

void CWordManagementView::ApplyFonts()
{
    if (m_editCounter == nullptr)
        return;
    SLessonTextStyle counter = CurrentLessonTextStyle();
    counter.points = kListPoints;
    counter.text = RGB(0, 0, 255);
    counter.background = RGB(255, 153, 18);
    ApplyLessonTextStyle(*m_editCounter, counter);
    SLessonTextStyle sentence = CurrentLessonTextStyle();
    sentence.face = "Arial";
    sentence.points = 14;
    ApplyLessonTextStyle(*m_editSentence, sentence);
    SetExampleMarkStyle(*m_editSentence, sentence.face, sentence.points);
}

void CWordManagementView::OnSize(wxSizeEvent& event)
{
    const wxSize size = GetClientSize();
    LayoutControls(size.x, size.y);
    event.Skip();
}

void CWordManagementView::LayoutControls(int cx, int cy)
{
    m_cx = cx;
    m_cy = cy;
    if (m_editWordList == nullptr)
        return;
    const int right = std::max(cx - kListWidth, 1);
    m_editWordList->SetSize(0, 0, kListWidth, std::max(cy - kCounterHeight, 1));
    m_editCounter->SetSize(0, cy - kCounterHeight, kListWidth, kCounterHeight);
    m_editExamples->SetSize(kListWidth, 0, right, std::max(cy / 3 - 40, 1));
    m_editSentence->SetSize(kListWidth, cy / 3 - 40, right, 80);
    PlaceBrowsers();
    ComputeVisibleLines();
}

void CWordManagementView::PlaceBrowsers()
{
    const int right = std::max(m_cx - kListWidth, 2);
    const int top = m_cy / 3 + 40;
    const int height = std::max(m_cy * 2 / 3 - 40, 1);
    if (m_bRootShown) {
        m_wndDictBrowser->SetSize(kListWidth, top, right / 2, height);
        m_wndRootBrowser->SetSize(kListWidth + right / 2, top, right / 2, height);
    } else {
        m_wndDictBrowser->SetSize(kListWidth, top, right, height);
        m_wndRootBrowser->SetSize(kListWidth, top, 1, 1);
    }
}

void CWordManagementView::ComputeVisibleLines()
{
    const int lineHeight = std::max(m_editWordList->TextHeight(0), 1);
    m_nVisibleLines = std::max(m_editWordList->GetClientSize().y / lineHeight, 1);
}

// ---- Showing a list ----

void CWordManagementView::ShowCounter(const CString& text) { SetControlText(*m_editCounter, text); }

void CWordManagementView::ShowList(const std::vector<CString>& entries, bool lookUpFirst)
{
    m_arrListWords = entries;
    m_nListCount = static_cast<int>(entries.size());
    m_knownLines.clear();
    m_nHighlightLine = -1;
    m_nHitLine = -1;
    SetControlText(*m_editWordList, ShownListText(entries));
    m_editWordList->IndicatorClearRange(0, m_editWordList->GetLength());
    ApplyListColors();
    ShowCounter(ListCounterText(m_nListCount));
    m_editWordList->SetFirstVisibleLine(0);
    if (lookUpFirst && !entries.empty())
        LookUpAndShow(entries.front(), false);
    ComputeVisibleLines();
}

void CWordManagementView::LookUpAndShow(const CString& word, bool online)
{
    if (IMainFrameHost* host = MainFrameHost()) {
        theApp.m_strAutoLookup = "true";
        host->LookUpWordInPane(word);
    }
    // Locally the page written is the word's, or says it was not found and
    // links the online page; the online mode shows the online page itself.
    if (!online || theApp.m_strWordLookupMode == "OnWordHome")
        m_wndDictBrowser->Navigate(theApp.m_strDictWordHtmlPath);
    else
        m_wndDictBrowser->Navigate(OnlineDictionaryAddress(word));
}

void CWordManagementView::LoadBookWords()
{
    std::vector<CString> words;
    if (ReadBookList(theApp.m_strWordBookPath, words))
        m_arrBookWords = std::move(words);
}

void CWordManagementView::OnUnkownword()
{
    theApp.m_nWordIndex = 0;
    theApp.m_strWordListKind = "UNKOWNWORD";
    std::vector<CString> words;
    if (!ReadBookList(theApp.m_strWordBookPath, words))
        return;   // the list on screen stays
    m_arrBookWords = words;
    ShowList(words, true);
}

void CWordManagementView::OnOutline()
{
    theApp.m_nWordIndex = 0;
    theApp.m_strWordListKind = "OUTLINE";
    std::vector<CString> entries;
    if (ReadShippedList(ListPath(), EShippedList::Outline, entries))
        ShowList(entries, true);
}

void CWordManagementView::OnRealexamword()
{
    theApp.m_nWordIndex = 0;
    theApp.m_strWordListKind = "REALEXAMWORD";
    std::vector<CString> entries;
    if (ReadShippedList(ListPath(), EShippedList::RealExamWords, entries))
        ShowList(entries, true);
}

void CWordManagementView::OnRealexamidioms()
{
    theApp.m_nWordIndex = 0;
    theApp.m_strWordListKind = "REALEXAMIDIOMS";
    std::vector<CString> entries;
    if (ReadShippedList(ListPath(), EShippedList::RealExamPhrases, entries))
        ShowList(entries, true);
}

void CWordManagementView::OnCurrentunitword()
{
    theApp.m_strWordListKind = "CURRENTUNITWORD";
    theApp.m_arrUnitWords.RemoveAll();
    std::vector<CString> words;
    if (theApp.m_strScriptPath.Find(".script") >= 0) {
        if (!ReadLessonWords(theApp.m_strScriptPath, words))
            return;
    } else {
        words = WordsOfSentences(theApp.m_arrForeignText);
    }
    for (const CString& word : words)
        theApp.m_arrUnitWords.Add(word);
    ShowList(words, true);
}

void CWordManagementView::OnCurrentunitphase()
{
    theApp.m_strWordListKind = "CURRENTUNITPHASE";
    std::vector<CString> phrases;
    if (ReadLessonPhrases(theApp.m_strScriptPath, phrases))
        ShowList(phrases, true);
}

void CWordManagementView::OnCurrentunitunkownw()
{
    theApp.m_strWordListKind = "UNITUNKOWNWORD";
    LoadBookWords();   // the book may have changed since it was listed
    const std::vector<CString> unit(theApp.m_arrUnitWords.begin(), theApp.m_arrUnitWords.end());
    ShowList(BookWordsOfUnit(m_arrBookWords, unit), true);
}

void CWordManagementView::OnRandomdivide()
{
    theApp.m_strWordListKind = "RANDOMDIVIDE";
    theApp.m_nWordIndex = 0;
    // Drawn from the book as it is now, not from whichever list was shown last.
    LoadBookWords();
    const std::vector<CString> group = DrawRandomGroup(m_arrBookWords, m_random);
    if (group.empty())
        theApp.ShowMessage("少于100个单词，没有必要分组！", "msg", 5000);
    ShowList(group, false);
}

// ---- The word book as a whole ----

void CWordManagementView::OnExportWord()
{
    const CString path = m_chooseFile(true, theApp.m_strAppDir, "生词库.txt");
    if (path.IsEmpty())
        return;
    switch (ExportWordBook(theApp.m_strWordBookPath, path)) {
    case EWordBookExport::Written:
        m_openFile(path);
        break;
    case EWordBookExport::NoBook:
        theApp.ShowMessage("打开生词库失败！", "error", 5000);
        break;
    case EWordBookExport::NoFile:
        theApp.ShowMessage("保存文件失败！", "error", 5000);
        break;
    }
}

void CWordManagementView::OnImportWord()
{
    const CString path = m_chooseFile(false, theApp.m_strAppDir, "");
    int imported = 0;
    if (!path.IsEmpty()) {
        EFileReadResult read = EFileReadResult::Read;
        const std::vector<CString> lines = ReadImportLines(path, &read);
        if (read != EFileReadResult::Read) {
            theApp.ShowMessage(read == EFileReadResult::TooLarge ? "导入文件太大，无法导入：" + path
                                                                : "无法读取导入文件：" + path,
                               "error", 5000);
            return;
        }
        theApp.m_nProgressTotal = static_cast<int>(lines.size());
        auto* dialog = new CProgressDlg;
        CTextProgressCtrl* bar = nullptr;
        if (!lines.empty() && dialog->Create()) {
            dialog->Show();
            dialog->SetSize(theApp.m_nScreenWidth / 2 - 250, theApp.m_nScreenHeight / 2, 500, 30);
            bar = dialog->m_ctlProgress;
            bar->SetSize(0, 0, 500, 30);
            bar->SetRange(0, static_cast<int>(lines.size()));
            bar->SetBgColor(theApp.m_clrBackground);
            bar->SetTextColor(theApp.m_clrText);
        }
        imported = ImportWords(theApp.m_strWordBookPath, lines, [bar](int index, int total) {
            if (bar != nullptr) {
                bar->SetWindowText(ImportProgressText(index, total));
                bar->SetPos(index);
            }
        });
        dialog->Destroy();
        if (imported < 0) {
            theApp.SetMessage(kMessageError, "打开生词库失败！", 5);
            return;
        }
    }
    CString text;
    text.Format("共导入了%d个单词!", imported);
    theApp.ShowMessage(text, "msg", 5000);
    OnUnkownword();
}

void CWordManagementView::OnDeleteAllword()
{
    if (ShowMessageBox("您确定要清空生词库吗？", "HalvikEnglish", wxOK | wxCANCEL, this) == wxOK) {
        switch (ClearWordBook(theApp.m_strWordBookPath)) {
        case EWordBookClear::NoBook:
            theApp.SetMessage(kMessageError, "打开数据库失败！", 3);
            return;
        case EWordBookClear::Cleared:
            theApp.SetMessage(kMessageInfo, "成功删除全部生词！", 3);
            break;
        case EWordBookClear::Failed:
            theApp.SetMessage(kMessageError, "删除生词失败！", 3);
            break;
        }
    }
    OnUnkownword();
}

// ---- Exercises and the example player's window ----

void CWordManagementView::HideStreamWindow()
{
    if (!theApp.m_bStreamDlgVisible)
        return;
    theApp.m_bStreamDlgVisible = 0;
    if (theApp.m_pStreamDlg != nullptr)
        theApp.m_pStreamDlg->Hide();
}

void CWordManagementView::OnGenerateexercise()
{
    if (!m_dlgExercise) {
        auto* dialog = new CExerciseDlg;
        if (!dialog->Create(nullptr)) {
            delete dialog;
            return;
        }
        m_dlgExercise = dialog;
        theApp.m_strExerciseDlgCreated = "true";
    }
    // Shown before the exercise is laid out: the layout gives the answer box
    // the focus, which a window not yet on screen cannot take.
    m_dlgExercise->Show();
    m_dlgExercise->StartExercise();
    m_dlgExercise->Maximize();
    m_dlgExercise->m_btnSubmit->Enable();
    HideStreamWindow();
}

void CWordManagementView::OnCheckhistory()
{
    if (!m_dlgHistory) {
        auto* dialog = new CExerHistoryDlg;
        if (!dialog->Create(nullptr)) {
            delete dialog;
            return;
        }
        m_dlgHistory = dialog;
        theApp.m_strHistoryDlgCreated = "true";
    }
    m_dlgHistory->Show();
    m_dlgHistory->Maximize();
    m_dlgHistory->LoadHistory();
    HideStreamWindow();
}

void CWordManagementView::OnOpenplayerwnd()
{
    theApp.m_bStreamDlgVisible = theApp.m_bStreamDlgVisible ? 0 : 1;
    if (theApp.m_pStreamDlg != nullptr)
        theApp.m_pStreamDlg->Show(theApp.m_bStreamDlgVisible != 0);
}

void CWordManagementView::OnPlayexamplesentence()
{
    // Playing the examples and changing the word by itself exclude each other.
    if (theApp.m_strAutoPlayExample.GetLength() < 2) {
        m_bAutoPlayExamples = 1;
        theApp.m_strAutoPlayExample = "true";
        m_nCurrentExample = 0;
        m_timers.SetTimer(kTimerPlayExample, 100);
        if (theApp.m_strAutoChangeWord.GetLength() > 1) {
            theApp.m_strAutoChangeWord.Empty();
            m_timers.KillTimer(kTimerChangeWord);
        }
    } else {
        m_bAutoPlayExamples = 0;
        theApp.m_strAutoPlayExample.Empty();
        m_timers.KillTimer(kTimerPlayExample);
        StopExamplePlayback();
    }
}

// ---- The chosen word ----

void CWordManagementView::StyleLine(int line, int style)
{
    if (line < 0 || line >= m_editWordList->GetLineCount())
        return;
    const int start = m_editWordList->PositionFromLine(line);
    const int end = m_editWordList->GetLineEndPosition(line);
    m_editWordList->StartStyling(start);
    m_editWordList->SetStyling(end - start, style);
    m_editWordList->SetIndicatorCurrent(kStrikeIndicator);
    if (style == kStyleKnown)
        m_editWordList->IndicatorFillRange(start, end - start);
}

void CWordManagementView::HighlightLine(int line)
{
    if (m_nHighlightLine >= 0)
        StyleLine(m_nHighlightLine, m_knownLines.count(m_nHighlightLine) ? kStyleKnown : 0);
    StyleLine(line, kStyleHighlight);
    m_nHighlightLine = line;
}

void CWordManagementView::OnListLeftDown(wxMouseEvent& event)
{
    const int position = m_editWordList->PositionFromPoint(event.GetPosition());
    ChooseListLine(m_editWordList->LineFromPosition(position));
    event.Skip();
}

CString CWordManagementView::ListLineText(int line) const
{
    CString text = WithoutLineBreaks(FromWx(m_editWordList->GetLineText(line)));
    text.Trim();
    return text;
}

void CWordManagementView::ChooseListLine(int line)
{
    ShowCounter(ClickCounterText(line, m_nListCount));
    if (line < 0 || line >= m_nListCount || line >= m_editWordList->GetLineCount())
        return;
    const CString text = ListLineText(line);
    if (text.GetLength() <= 1)
        return;
    HighlightLine(line);
    m_nHitLine = line;
    m_editWordList->SetCursor(wxCursor(wxCURSOR_HAND));
    m_strSelectedWord = ToStoredWordForm(text);
    ShowExamples(m_strSelectedWord);
    LookUpAndShow(m_strSelectedWord, true);
    ShowWordRoot(m_strSelectedWord);
    m_timers.KillTimer(kTimerPlayExample);
    m_timers.KillTimer(kTimerAutoClipEnd);
    if (theApp.m_strAutoChangeWord.GetLength() < 2 && m_bAutoPlayExamples && !m_examples.Examples().empty()) {
        m_nCurrentExample = 0;
        m_timers.SetTimer(kTimerPlayExample, 300);
    }
}

void CWordManagementView::OnJudgeunkown()
{
    theApp.m_strCurrentWord = m_strSelectedWord;
    theApp.m_strWordPaneCommand = "OnBnClickedButtonSaveword:";
}

void CWordManagementView::OnJudgekown()
{
    theApp.m_strCurrentWord = m_strSelectedWord;
    theApp.m_strWordPaneCommand = "OnBnClickedButtonDelword:";
    if (m_nHitLine >= 0) {
        m_knownLines.insert(m_nHitLine);
        StyleLine(m_nHitLine, kStyleKnown);
        if (m_nHighlightLine == m_nHitLine)
            m_nHighlightLine = -1;
    }
}

void CWordManagementView::ShowWordRoot(const CString& word)
{
    switch (WriteWordRootPage(theApp.m_strWordRootDbPath, word, theApp.m_strWordRootHtmlPath)) {
    case EWordRoot::Found:
        m_wndRootBrowser->Navigate(theApp.m_strWordRootHtmlPath);
        m_bRootShown = true;
        break;
    case EWordRoot::NotFound:
        m_bRootShown = false;
        break;
    case EWordRoot::NoDatabase:
        return;   // both pages stay as they are
    case EWordRoot::NoPage:
        theApp.ShowMessage("无法写入文件：" + theApp.m_strWordRootHtmlPath, "error", 5000);
        return;
    }
    PlaceBrowsers();
}

// ---- Automatic word change ----

void CWordManagementView::OnAutoChangeWord()
{
    theApp.m_strWordLookupMode = "OnWordHome";
    if (theApp.m_strAutoChangeWord.GetLength() < 2) {
        theApp.m_strAutoChangeWord = "true";
        m_timers.SetTimer(kTimerChangeWord, theApp.m_nWordInterval > 0 ? theApp.m_nWordInterval : 6000);
        m_bAutoPlayExamples = 0;
        theApp.m_bStreamDlgVisible = 0;
        if (theApp.m_pStreamDlg != nullptr) {
            theApp.m_pStreamDlg->StopPlayer();
            theApp.m_pStreamDlg->Hide();
        }
    } else {
        theApp.m_strAutoChangeWord.Empty();
        m_timers.KillTimer(kTimerChangeWord);
    }
}

void CWordManagementView::OnChangeWordInterval()
{
    IMainFrameHost* host = MainFrameHost();
    if (host == nullptr)
        return;
    const CString text = host->GetComboText(kCmdWordInterval);
    if (text.IsEmpty())
        return;   // no interval edit in the ribbon
    theApp.m_nWordInterval = WordIntervalFromText(text);
    if (theApp.m_strAutoChangeWord.GetLength() > 1)
        m_timers.SetTimer(kTimerChangeWord, theApp.m_nWordInterval);
}

void CWordManagementView::OnTimer(int id)
{
    if (id != kTimerChangeWord) {
        OnExampleTimer(id);
        return;
    }
    if (theApp.m_strActiveView != kActiveWordBookView) {
        m_timers.KillTimer(kTimerChangeWord);
        theApp.m_strAutoChangeWord.Empty();
        return;
    }
    if (m_nListCount <= 0)
        return;
    // The index may be left from a longer list.
    if (theApp.m_nWordIndex < 0 || theApp.m_nWordIndex >= m_nListCount)
        theApp.m_nWordIndex = 0;
    const int line = theApp.m_nWordIndex;
    const CString text = ListLineText(line);
    if (!text.IsEmpty()) {
        HighlightLine(line);
        m_strSelectedWord = ToStoredWordForm(text);
        ShowExamples(m_strSelectedWord);
        LookUpAndShow(m_strSelectedWord, false);
        ShowWordRoot(m_strSelectedWord);
        ShowCounter("  " + ClickCounterText(line, m_nListCount));
        const int step = m_nVisibleLines - 3;
        if (step > 0 && line - m_editWordList->GetFirstVisibleLine() > step) {
            m_editWordList->LineScroll(0, step);
            ComputeVisibleLines();
        }
    }
    theApp.m_nWordIndex = line + 1 >= m_nListCount ? 0 : line + 1;
}

// ---- Commands ----

void CWordManagementView::OnCommand(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case kCmdWordBook: OnUnkownword(); break;
    case kCmdOutlineWords: OnOutline(); break;
    case kCmdRealExamWords: OnRealexamword(); break;
    case kCmdCommonPhrases: OnRealexamidioms(); break;
    case kCmdRandomGroups: OnRandomdivide(); break;
    case kCmdExportWords: OnExportWord(); break;
    case kCmdImportWords: OnImportWord(); break;
    case kCmdClearWordBook: OnDeleteAllword(); break;
    case kCmdShowWords: OnCurrentunitword(); break;
    case kCmdShowPhrases: OnCurrentunitphase(); break;
    case kCmdShowNewWords: OnCurrentunitunkownw(); break;
    case kCmdAutoPlayExample: OnPlayexamplesentence(); break;
    case kCmdExampleVideoWindow: OnOpenplayerwnd(); break;
    case kCmdMakeExercise: OnGenerateexercise(); break;
    case kCmdExerciseScores: OnCheckhistory(); break;
    case kCmdWordKnown: OnJudgekown(); break;
    case kCmdWordUnknown: OnJudgeunkown(); break;
    case kCmdAutoChangeWord: OnAutoChangeWord(); break;
    case kCmdWordInterval: OnChangeWordInterval(); break;
    default: event.Skip(); break;
    }
}

void CWordManagementView::OnUpdateCommand(wxUpdateUIEvent& event)
{
    const CString& kind = theApp.m_strWordListKind;
    const auto modeOf = [](int id) -> const char* {
        switch (id) {
        case kCmdWordBook: return "UNKOWNWORD";
        case kCmdOutlineWords: return "OUTLINE";
        case kCmdRealExamWords: return "REALEXAMWORD";
        case kCmdCommonPhrases: return "REALEXAMIDIOMS";
        case kCmdShowNewWords: return "UNITUNKOWNWORD";
        case kCmdShowWords: return "CURRENTUNITWORD";
        case kCmdShowPhrases: return "CURRENTUNITPHASE";
        default: return "";
        }
    };
    const int id = event.GetId();
    switch (id) {
    case kCmdWordBook:
    case kCmdOutlineWords:
    case kCmdRealExamWords:
    case kCmdCommonPhrases:
    case kCmdShowNewWords:
        event.Enable(true);
        event.Check(kind == modeOf(id));
        break;
    case kCmdRandomGroups:
        event.Enable(kind == "UNKOWNWORD" || kind == "RANDOMDIVIDE");
        event.Check(kind == "RANDOMDIVIDE");
        break;
    case kCmdExportWords:
    case kCmdImportWords:
    case kCmdClearWordBook:
        event.Enable(kind == "UNKOWNWORD");
        break;
    case kCmdShowWords:
    case kCmdShowPhrases: {
        const bool lesson = theApp.m_strSubtitleLoaded.GetLength() >= 2;
        event.Enable(lesson);
        event.Check(lesson && kind == modeOf(id));
        break;
    }
    case kCmdWordKnown:
    case kCmdWordUnknown:
        event.Enable(m_strSelectedWord.GetLength() > 1);
        break;
    case kCmdAutoChangeWord:
        event.Enable(true);
        event.Check(theApp.m_strAutoChangeWord.GetLength() > 1);
        break;
    case kCmdWordInterval:
        event.Enable(theApp.m_strAutoChangeWord.GetLength() > 1);
        break;
    case kCmdAutoPlayExample:
        event.Enable(true);
        event.Check(theApp.m_strAutoPlayExample.GetLength() > 1);
        break;
    case kCmdExampleVideoWindow:
        event.Enable(true);
        event.Check(theApp.m_bStreamDlgVisible != 0);
        break;
    default:
        event.Enable(true);
        break;
    }
}
