#include "catalogue/core/talklist.h"

#include "platform/sqlitedb.h"

namespace {

bool PassesFilter(const CString& filter, bool mediaExists, bool scriptExists)
{
    if (filter == "Vedio")
        return mediaExists && !scriptExists;
    if (filter == "Script")
        return scriptExists && !mediaExists;
    return mediaExists && scriptExists;
}

} // namespace

CString TalkSortColumn(const CString& sortField)
{
    for (const char* column : {"id", "speaker", "title", "vedioname", "duration", "wordfrq"})
        if (sortField == column)
            return column;
    return "id";
}

bool IsTalkCategory(const CString& category)
{
    for (int i = 0; i < category.GetLength(); ++i)
        if (category[i] < '0' || category[i] > '9')
            return false;
    return true;
}

CString TalkListStatement(const CString& category, const CString& sortField)
{
    CString sql = category.IsEmpty()
                      ? CString("select * from tablename order by  tmpsortkeyword desc;")
                      : CString("select * from tablename where  categoryid = tmpcategoryid  order by  tmpsortkeyword desc;");
    if (!category.IsEmpty())
        sql.Replace("tmpcategoryid", IsTalkCategory(category) ? category : CString("-1"));
    sql.Replace("tmpsortkeyword", TalkSortColumn(sortField));
    return sql;
}

CString TalkItemText(const CString& id, const CString& text1, const CString& text2, const CString& videoName,
                     const CString& event)
{
    CString text = "[" + id + "][" + text1 + "][" + text2 + "][" + videoName + "][" + event + "]";
    text.Replace("*", "'");
    return text;
}

bool IsFamousTalk(const CString& itemText, const std::vector<CString>& famousIds)
{
    for (CString id : famousIds) {
        id.Trim();
        const CString bracketed = "[" + id + "]";
        if (itemText.Left(bracketed.GetLength()) == bracketed)
            return true;
    }
    return false;
}

ETalkListResult BuildTalkList(const CString& talksDb, const CString& playlistDir, const STalkListChoice& choice,
                              const std::vector<CString>& famousIds, const FileExistsFn& exists,
                              std::vector<CString>& items)
{
    items.clear();
    CSqliteDb db;
    if (!db.Open(talksDb, CSqliteDb::ReadOnly))
        return ETalkListResult::CannotOpen;
    SQueryResult result;
    if (!db.Query(TalkListStatement(choice.category, choice.sortField), {}, result) || result.nRow < 1)
        return ETalkListResult::NoRows;

    const bool english = choice.language == "eng";
    for (int row = 0; row < result.nRow; ++row) {
        const CString name =
            ChooseTalkMediaName(playlistDir, result.CellText(row, kColumnVideoName), exists);
        const CString item = TalkItemText(
            result.CellText(row, kColumnId),
            result.CellText(row, english ? kColumnTitle : kColumnTitleChinese),
            result.CellText(row, english ? kColumnSpeaker : kColumnSpeakerChinese), name,
            result.CellText(row, kColumnEvent));
        const CString media = playlistDir + name;
        if (!PassesFilter(choice.filter, exists(media), exists(TalkScriptPath(media))))
            continue;
        if (choice.popularOnly && !IsFamousTalk(item, famousIds))
            continue;
        if (!choice.search.IsEmpty() && item.Find(choice.search) < 0)
            continue;
        items.push_back(item);
    }
    return ETalkListResult::Listed;
}

bool LoadFamousTalkIds(const CString& talksDb, std::vector<CString>& ids)
{
    CSqliteDb db;
    if (!db.Open(talksDb, CSqliteDb::ReadOnly))
        return false;
    SQueryResult result;
    if (db.Query("select strfamousid from famousid ;", {}, result)) {
        for (int row = 0; row < result.nRow; ++row) {
            CString id = result.CellText(row, 0);
            id.Trim();
            ids.push_back(id);
        }
    }
    return true;
}

bool ReadTalkSummaries(const CString& talksDb, const CString& id, CString& talkSummary, CString& speakerSummary)
{
    CSqliteDb db;
    SQueryResult result;
    if (!db.Open(talksDb, CSqliteDb::ReadOnly) ||
        !db.Query("select * from tablename where id = ?;", {id}, result) || result.nRow < 1)
        return false;
    talkSummary = result.CellText(0, kColumnTalkSummary).Trim();
    speakerSummary = result.CellText(0, kColumnSpeakerSummary).Trim();
    talkSummary.Replace("*", "'");
    speakerSummary.Replace("*", "'");
    return true;
}
