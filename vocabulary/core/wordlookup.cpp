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
    const CString page = GetProductSetting("TranslateUrl");
    // A page address with a query or fragment of its own takes the text right after it.
    const bool ownForm = page.Find('?') >= 0 || page.Find('#') >= 0;
    return page + (ownForm ? "" : "#auto2auto|") + CString(PercentEncode(AnsiToUtf8Bytes(text.view())));
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

bool IsVowel(char ch) { return std::string_view("aeiouAEIOU").find(ch) != std::string_view::npos; }

// "stopp" of "stopped", "runn" of "running": a stem that ends in a doubled consonant.
bool EndsInDoubledConsonant(const CString& stem)
{
    const std::string_view text = stem.view();
    const size_t n = text.size();
    return n >= 3 && text[n - 1] == text[n - 2] && IsWordCharacter(text[n - 1]) && !IsVowel(text[n - 1]) &&
           !(text[n - 1] >= '0' && text[n - 1] <= '9');
}

std::string HtmlEscaped(std::string_view text)
{
    std::string escaped;
    for (const char ch : text) {
        switch (ch) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += ch;
        }
    }
    return escaped;
}

// Program text (GB18030) as page text: UTF-8, escaped for HTML.
std::string PageText(const CString& text) { return HtmlEscaped(AnsiToUtf8Bytes(text.view())); }

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
    // A word in capitals (a heading) has its endings in capitals too.
    if (typed.GetLength() > 1 && std::none_of(typed.view().begin(), typed.view().end(),
                                              [](char ch) { return ch >= 'a' && ch <= 'z'; }))
        typed.MakeLower();
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
    if (EndsWith(typed, "ied"))
        add(Stem(typed, 3) + "y", true);
    if (EndsWith(typed, "'s"))
        add(Stem(typed, 2), true);
    else if (EndsWith(typed, "s'")) {
        add(Stem(typed, 1), true);
        add(Stem(typed, 2), true);
    }
    for (const std::string_view ending : {"ed", "ing", "er", "est"}) {
        if (!EndsWith(typed, ending))
            continue;
        const CString stem = Stem(typed, static_cast<int>(ending.size()));
        if (EndsInDoubledConsonant(stem))
            add(Stem(stem, 1), true);
        if (ending == "er" || ending == "est") {
            add(stem, true);
            add(stem + "e", true);
            if (EndsWith(stem, "i"))
                add(Stem(stem, 1) + "y", true);
        }
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
    const auto detailOf = [&db](const CString& form, std::string& detail) {
        SQueryResult result;
        if (!db.Query("select detailtxt from oxford7 where keyword = ?", {form}, result) || result.nRow == 0)
            return false;
        const char* text = result.GetCell(0, 0);
        detail = text ? text : "";
        return true;
    };
    CString lowered = ToStoredWordForm(word);
    lowered.Trim();
    lowered.MakeLower();
    // First the headwords the forms table gives (a dictionary without the
    // table has none); a form that is a headword too has its own page after.
    SQueryResult lemmas;
    if (!lowered.IsEmpty() && db.Query("select lemma from wordforms where form = ? order by rowid", {lowered}, lemmas)) {
        for (int row = 0; row < lemmas.nRow; ++row) {
            const char* lemma = lemmas.GetCell(row, 0);
            if (lemma == nullptr || !detailOf(lemma, entry.detail))
                continue;
            entry.result = EWordLookup::Found;
            entry.form = lemma;
            std::string own;
            if (detailOf(lowered, own))
                entry.detail += "<hr>" + own;
            return entry;
        }
    }
    for (const CString& form : LookupForms(word)) {
        if (detailOf(form, entry.detail)) {
            entry.result = EWordLookup::Found;
            entry.form = form;
            return entry;
        }
    }
    entry.detail.clear();
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
    // Headwords are lower case: the typed text in lower case bounds a range
    // of the keyword index (a LIKE would read every row of a large
    // dictionary), and no character of it is a wildcard. No stored text
    // holds the byte 0xFF, so the range ends before the next prefix.
    stored.MakeLower();
    CString sql;
    sql.Format("select keyword from oxford7 where keyword >= ? and keyword < ? order by keyword limit %d", limit);
    SQueryResult result;
    if (!db.Query(sql, {stored, stored + "\xff"}, result))
        return words;
    for (int row = 0; row < result.nRow; ++row) {
        CString word = result.GetCell(row, 0) ? result.GetCell(row, 0) : "";
        word.Trim();
        words.push_back(ToShownWordForm(word));
    }
    return words;
}

std::string RenderEntryPage(const CString& typed, const SWordEntry& entry, bool silent)
{
    CString word = ToStoredWordForm(typed);
    word.Trim();
    CString lowered = word;
    if (lowered.MakeLower() == entry.form)
        return RenderWordPage(entry.detail, silent);
    // The stored forms keep "*" for an apostrophe: the page turns it back.
    const std::string note = "<font color=\"#666666\">" + PageText(word) + PageText("：") + "<b>" +
                             PageText(entry.form) + "</b>" + PageText(" 的变化形式") + "</font>\\n";
    return RenderWordPage(note + entry.detail, silent);
}

std::string RenderMissPage(const CString& word, EWordLookup result, const CString& onlineAddress, bool silent)
{
    CString shown = word;
    shown.Trim();
    const std::string said = result == EWordLookup::NoDictionary
                                 ? PageText("无法打开本地词典，") + "<br>" + PageText("没有查到“") +
                                       PageText(shown) + PageText("”。")
                                 : PageText("词典中没有找到“") + "<b>" + PageText(shown) + "</b>" + PageText("”");
    std::string body = "<p>" + said + "</p>";
    if (!shown.IsEmpty())
        body += "<p><a href=\"" + HtmlEscaped(onlineAddress.view()) + "\">" + PageText("在网络词典中查找") + "</a></p>";
    // The page's own text holds no stored-form characters: "*" and
    // backslash are written as character references.
    std::string stored;
    for (const char ch : body) {
        if (ch == '*')
            stored += "&#42;";
        else if (ch == '\\')
            stored += "&#92;";
        else
            stored += ch;
    }
    return RenderWordPage(stored, silent);
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
