// The talk list: which talks of the talks database are listed, in which
// order, and the text of each list item. The item text
// "[id][title][speaker][video name][event]" is what the rest of the
// catalogue parses to find a talk's files, so its fields and brackets are
// fixed.
#pragma once

#include <vector>

#include "catalogue/core/talkfiles.h"
#include "platform/cstring.h"

// Positions of the columns in a row of the talks table ("select *").
enum ETalkColumn {
    kColumnId = 0,
    kColumnCategory = 1,
    kColumnDuration = 2,
    kColumnEvent = 3,
    kColumnTitle = 4,
    kColumnTitleChinese = 5,
    kColumnSpeaker = 6,
    kColumnSpeakerChinese = 7,
    kColumnVideoName = 8,
    kColumnWordFrequency = 9,
    kColumnTalkSummary = 10,
    kColumnSpeakerSummary = 11,
};

struct STalkListChoice {
    CString category;     // "" for all, else the category number
    CString sortField;    // a column name; "" means "id"
    CString filter;       // "Vedio", "Script", anything else: both files
    CString language;     // "eng" for English texts, else Chinese
    bool popularOnly = false;
    CString search;       // kept when the item text contains it; "" keeps all
};

// The sort column to use: one of the columns the list sorts by, else "id".
// The choice goes into the statement, so nothing else may reach it.
CString TalkSortColumn(const CString& sortField);
// Whether a category can be used: empty (all) or digits only.
bool IsTalkCategory(const CString& category);
// The statement that reads the talks of a category, sorted descending.
CString TalkListStatement(const CString& category, const CString& sortField);

// "[id][text 1][text 2][video name][event]" with every "*" (the stored form
// of an apostrophe) turned back into "'".
CString TalkItemText(const CString& id, const CString& text1, const CString& text2, const CString& videoName,
                     const CString& event);
// Whether the item text starts with "[" + one of the ids + "]".
bool IsFamousTalk(const CString& itemText, const std::vector<CString>& famousIds);

enum class ETalkListResult {
    Listed,       // items hold the talks that pass (maybe none)
    CannotOpen,   // the talks database cannot be opened
    NoRows,       // the query failed or found no talk of the category
};

// Lists the talks of the talks database that pass the choice's filter,
// popularity and search tests, in the database's sort order.
ETalkListResult BuildTalkList(const CString& talksDb, const CString& playlistDir, const STalkListChoice& choice,
                              const std::vector<CString>& famousIds, const FileExistsFn& exists,
                              std::vector<CString>& items);

// The popular talk ids (table "famousid"), trimmed; false when the database
// cannot be opened.
bool LoadFamousTalkIds(const CString& talksDb, std::vector<CString>& ids);

// The summaries of one talk ("*" turned back into "'"); false when the
// database cannot be read or has no such talk.
bool ReadTalkSummaries(const CString& talksDb, const CString& id, CString& talkSummary, CString& speakerSummary);
