#include "vocabulary/core/wordlookup.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/percentencode.h"
#include "platform/sqlitedb.h"
#include "shell/core/productsettings.h"

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

namespace {

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
    // Shipped data: read-only, and a missing file is never made empty.
    if (!IsRegularFile(dictionaryPath) || !db.Open(dictionaryPath, CSqliteDb::ReadOnlyLimited)) {
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
