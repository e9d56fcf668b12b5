#include "catalogue/core/lessonexport.h"

#include "catalogue/core/exporttext.h"
#include "catalogue/core/timetext.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "vocabulary/core/wordlookup.h"

namespace {

// Paragraphs longer than this (in bytes, blanks between sentences counted)
// are ended even without a closing mark.
constexpr int kLongestParagraph = 130;
constexpr int kBannerParagraphs[] = {30, 60};

// Lesson scripts come from outside: read-only, with bounds on every query.
bool ReadSentences(const CString& script, const char* query, SQueryResult& result)
{
    CSqliteDb db;
    return db.Open(script, CSqliteDb::ReadOnlyLimited) && db.Query(query, {}, result);
}

class CDialogueWriter {
public:
    explicit CDialogueWriter(const CString& webAddress) : m_webAddress(webAddress) {}

    void AddSentence(const CString& english, const CString& chinese)
    {
        const bool ends = EndsParagraph(english);
        m_english += " " + english;
        m_chinese += " " + chinese;
        ++m_pending;
        if (ends)
            WriteParagraph();
    }

    const CString& Finish()
    {
        if (m_pending > 0)
            WriteParagraph();
        return m_text;
    }

private:
    bool EndsParagraph(const CString& english) const
    {
        // The marks are ASCII bytes that no GB18030 character ends with.
        const char last = english.IsEmpty() ? '\0' : english[english.GetLength() - 1];
        if (last == '.' || last == '!' || last == '?' || last == '"')
            return true;
        // Of the two length rules (joined longer than 130; paragraph over 80
        // and sentence over 50) the second only holds when the first does.
        return m_english.GetLength() + english.GetLength() > kLongestParagraph;
    }

    void WriteParagraph()
    {
        CString english = m_english;
        english.Trim();
        CString number;
        number.Format("%d.", m_number);
        // The Chinese paragraph keeps the blank each sentence brought.
        m_text += number + english + "\n" + "  " + m_chinese + "\n";
        for (int banner : kBannerParagraphs)
            if (m_number == banner)
                m_text += Banner();
        ++m_number;
        m_english.Empty();
        m_chinese.Empty();
        m_pending = 0;
    }

    CString Banner() const
    {
        const CString stars('*', 64);
        return stars + "\n" + "本文来源于" + m_webAddress + "  更多更全，请登录" + m_webAddress + " \n" + stars + "\n";
    }

    CString m_webAddress;
    CString m_text;
    CString m_english;
    CString m_chinese;
    int m_pending = 0;
    int m_number = 1;
};

EExportResult WriteOutput(const CString& output, const CString& text)
{
    return WriteFileAtomically(output, TextModeBytes(text)) ? EExportResult::Written
                                                             : EExportResult::CannotWriteOutput;
}

} // namespace

EExportResult WriteDialogueText(const CString& script, const CString& output, const CString& webAddress)
{
    SQueryResult result;
    if (!ReadSentences(script, "select fgntxt,chntxt from tablename", result))
        return EExportResult::CannotOpenScript;
    CDialogueWriter writer(webAddress);
    for (int row = 0; row < result.nRow; ++row) {
        const CString english = WithoutLineBreaks(ToShownWordForm(result.CellText(row, 0)));
        CString chinese = WithoutLineBreaks(ToShownWordForm(result.CellText(row, 1)));
        if (chinese == "tmpchntxt")   // a sentence without a translation
            chinese.Empty();
        writer.AddSentence(english, chinese);
    }
    return WriteOutput(output, writer.Finish());
}

EExportResult WriteLrcFile(const CString& script, const CString& output, const CString& webAddress)
{
    SQueryResult result;
    if (!ReadSentences(script, "select starttime, fgntxt from tablename", result))
        return EExportResult::CannotOpenScript;
    if (result.nRow == 0)
        return EExportResult::NoSentences;
    CString lrc = "[00:00.000]字幕来源于" + webAddress + " 更多更全，请登录" + webAddress + " \n";
    // Each sentence is one timed line, whether or not its stored text ends in
    // a line feed; a break inside it must not leave an untimed line.
    for (int row = 0; row < result.nRow; ++row)
        lrc += FormatLrcTime(result.CellText(row, 0)) + OnOneLine(ToShownWordForm(result.CellText(row, 1))) + "\n";
    return WriteOutput(output, lrc);
}
