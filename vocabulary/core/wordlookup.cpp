#include "vocabulary/core/wordlookup.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/percentencode.h"
#include "platform/sqlitedb.h"
#include "core/productsettings.h"

CString ToStoredWordForm(const CString& word)
{
    CString stored = word;
    stored.Replace("'", "*");
    return stored;
}

CString ToShownWordForm(const CString& stored)
{
    CString shown = stored;
    shown.Replace("*", "'");
    return shown;
}

CString OnlineDictionaryAddress(const CString& word)
{
    return GetProductSetting("DictionaryUrl") + CString(PercentEncode(AnsiToUtf8Bytes(word.view())));
}

CString OnlineTranslationAddress(const CString& text)
{
    return GetProductSetting("TranslateUrl") + "#auto2auto|" + CString(PercentEncode(AnsiToUtf8Bytes(text.view())));
}

namespace {

bool IsWordCharacter(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
}

} // namespace

CString PickedWord(const CString& selection)
{
    const std::string_view text = selection.view();
    size_t first = 0;
    size_t last = text.size();
    // Punctuation, quotes (also GB18030 ones: their bytes are not letters) and blanks.
    while (first < last && !IsWordCharacter(text[first]))
        ++first;
    while (last > first && !IsWordCharacter(text[last - 1]))
        --last;
    return CString(std::string(text.substr(first, last - first)));
}

namespace {

// Opens shipped dictionary data: read-only, and a missing file is never made empty.
bool OpenDictionary(CSqliteDb& db, const CString& path)
{
    return IsRegularFile(path) && db.Open(path, CSqliteDb::ReadOnlyLimited);
}

bool EndsWith(const CString& text, std::string_view ending) { return text.view().ends_with(ending); }

CString Stem(const CString& word, int dropped) { return word.Left(word.GetLength() - dropped); }

} // namespace

std::vector<CString> LookupForms(const CString& word)
{
    CString typed = word;
    typed.Trim();
    std::vector<CString> forms;
    const auto add = [&forms](CString form, bool lower) {
        form.Trim();
        if (lower)
            form.MakeLower();
        form = ToStoredWordForm(form);
        if (!form.IsEmpty() && std::find(forms.begin(), forms.end(), form) == forms.end())
            forms.push_back(form);
    };
    add(typed, false);
    if (!typed.IsEmpty() && typed[0] >= 'A' && typed[0] <= 'Z') {
        CString lowered = typed;
        lowered.SetAt(0, static_cast<char>(typed[0] + 32));
        add(lowered, true);
    }
    if (EndsWith(typed, "s") || EndsWith(typed, "d"))
        add(Stem(typed, 1), true);
    if (EndsWith(typed, "es") || EndsWith(typed, "ed"))
        add(Stem(typed, 2), true);
    if (EndsWith(typed, "ies"))
        add(Stem(typed, 3) + "y", true);
    if (EndsWith(typed, "ing")) {
        add(Stem(typed, 3), true);
        add(Stem(typed, 3) + "e", true);
    }
    return forms;
}

SWordEntry FindWordEntry(const CString& dictionaryPath, const CString& word)
{
    SWordEntry entry;
    CSqliteDb db;
    if (!OpenDictionary(db, dictionaryPath)) {
        entry.result = EWordLookup::NoDictionary;
        return entry;
    }
    for (const CString& form : LookupForms(word)) {
        SQueryResult result;
        if (db.Query("select detailtxt from oxford7 where keyword = ?", {form}, result) && result.nRow > 0) {
            entry.result = EWordLookup::Found;
            entry.form = form;
            const char* detail = result.GetCell(0, 0);
            entry.detail = detail ? detail : "";
            return entry;
        }
    }
    return entry;
}

std::vector<CString> WordSuggestions(const CString& dictionaryPath, const CString& typed, int limit)
{
    std::vector<CString> words;
    CString stored = ToStoredWordForm(typed);
    stored.Trim();
    CSqliteDb db;
    if (stored.IsEmpty() || limit <= 0 || !OpenDictionary(db, dictionaryPath))
        return words;
    CString pattern;
    for (const char ch : stored.view()) {
        if (ch == '%' || ch == '_' || ch == '\\')
            pattern += '\\';
        pattern += ch;
    }
    pattern += '%';
    CString sql;
    sql.Format("select keyword from oxford7 where keyword like ? escape '\\' order by keyword limit %d", limit);
    SQueryResult result;
    if (!db.Query(sql, {pattern}, result))
        return words;
    for (int row = 0; row < result.nRow; ++row) {
        CString word = result.GetCell(row, 0) ? result.GetCell(row, 0) : "";
        word.Trim();
        words.push_back(ToShownWordForm(word));
    }
    return words;
}

std::string RenderWordPage(std::string_view detail, bool silent)
{
    std::string body;
    body.reserve(detail.size());
    for (size_t i = 0; i < detail.size(); ++i) {
        if (detail[i] == '*') {
            body += '\'';
        } else if (detail[i] == '\\' && i + 1 < detail.size() && detail[i + 1] == 'n') {
            body += "<br>";
            ++i;
        } else {
            body += detail[i];
        }
    }
    if (body.starts_with("<br>"))
        body.erase(0, 4);
    return std::string("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" /></head>"
                       "<style type=\"text/css\">\tbody{padding: 2px;margin: 2px;}</style>") +
           (silent ? "<body style=\"font-size:14px\">" : "<body style=\"font-size:16px\">") + body +
           "</body></html>";
}
