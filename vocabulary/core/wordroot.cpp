#include "vocabulary/core/wordroot.h"

#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"

EWordRoot FindWordRoot(const CString& dbPath, const CString& word, CString& explanation)
{
    CSqliteDb db;
    SQueryResult result;
    if (!IsRegularFile(dbPath) || !db.Open(dbPath, CSqliteDb::ReadOnly) ||
        !db.Query("select strdetailtxt from tablename where strkeyword = ?", {word}, result))
        return EWordRoot::NoDatabase;
    if (result.nRow < 1)
        return EWordRoot::NotFound;
    explanation = result.CellText(0, 0);
    explanation.Trim();
    return EWordRoot::Found;
}

std::string RenderWordRootPage(const CString& explanation)
{
    CString text = explanation;
    text.Replace('*', '\'');
    text.Replace("&", "&amp;");
    text.Replace("<", "&lt;");
    text.Replace(">", "&gt;");
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\" /></head>"
           "<body style=\"font-size:16px\">" +
           AnsiToUtf8Bytes(text.view()) + "\r\n</body></html>";
}

EWordRoot WriteWordRootPage(const CString& dbPath, const CString& word, const CString& pagePath)
{
    CString explanation;
    const EWordRoot found = FindWordRoot(dbPath, word, explanation);
    if (found == EWordRoot::Found && !WriteFileAtomically(pagePath, RenderWordRootPage(explanation)))
        return EWordRoot::NoPage;   // the page there is another word's
    return found;
}
