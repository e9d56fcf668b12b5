// Word-frequency figures of the talks: how densely a talk's lesson script
// uses the words of the learner's new-word book, as book-word matches per
// 1000 seconds of the talk. The batch recomputes the figure (column wordfrq
// of the talks database) of every talk whose script lies in the playlist
// folder.
#pragma once

#include <functional>
#include <vector>

#include "platform/cstring.h"

// The lesson scripts directly in a folder (file names ending ".script" after
// at least one character), sorted. Sub-folders, links to folders and entries
// that are not regular files (a FIFO would block the open) are left out.
std::vector<CString> CollectScriptFiles(const CString& folder);

// The new-word book's words, trimmed. A book not made yet is empty; false
// when the book exists but cannot be read.
bool LoadWordBookWords(const CString& bookPath, std::vector<CString>& words);

struct STalkRow {
    CString videoName;   // column 8
    CString id;          // column 0
    CString duration;    // column 2, seconds
};

// Every talk of the talks database; false when it cannot be opened or read.
bool LoadTalkRows(const CString& talksDb, std::vector<STalkRow>& rows);

// The number of (book word, script word) pairs with equal texts, over the
// script's word list (trimmed, words of one byte left out): a word twice in
// the script and once in the book counts 2. 0 when the script cannot be read;
// *opened (when given) tells that case apart.
int CountKnownWords(const CString& script, const std::vector<CString>& bookWords, bool* opened = nullptr);

// count x 1000 / the duration in whole seconds; 0 when the duration is less
// than 1 second or not a number.
int WordFrequencyFigure(int count, const CString& duration);

// Writes one talk's figure; false when the database cannot be opened or the
// statement fails.
bool UpdateWordFrequency(const CString& talksDb, const CString& id, int figure);

struct SWordFrequencyRun {
    int scripts = 0;             // scripts found in the folder
    int updated = 0;             // figures written
    int unreadableScripts = 0;   // scripts that could not be read (counted 0)
    bool bookUnreadable = false;    // the batch stopped before writing
    bool talksUnreadable = false;   // the talks database could not be read or written: nothing written
};

// Recomputes the figure of every talk whose script (the video name with
// ".mp4" made ".script") lies directly in playlistDir. The first talk row
// with exactly that video name gets the figure; a script without one
// changes nothing. progress(i, n) is called before script i of n, and
// progress(n, n) after the last. All figures are written in one transaction
// after the scripts are read, so a failure writes none.
SWordFrequencyRun RebuildWordFrequency(const CString& playlistDir, const CString& bookPath, const CString& talksDb,
                                       const std::function<void(int done, int total)>& progress);
