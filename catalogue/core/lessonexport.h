// The learner's copies of a lesson script: a numbered bilingual dialogue text
// (".txt") and an LRC file with one timed line per sentence. Both are written
// in text mode (CR LF) in the program's code page, and written whole or not
// at all.
#pragma once

#include "platform/cstring.h"

enum class EExportResult {
    Written,
    CannotOpenScript,    // the script cannot be opened or its sentences read
    CannotWriteOutput,   // the output file cannot be written
    NoSentences,         // (LRC only) the script holds no sentence: no file
};

// The dialogue text: the sentences gathered into paragraphs, each written as
// "n.English paragraph" and "  " + the Chinese paragraph. A paragraph ends
// with a sentence whose English ends in '.', '!', '?' or '"', or when it
// would grow past 130 bytes; sentences after the last such end form a last
// paragraph. Paragraphs 30 and 60 are followed by a banner with the source
// notice naming webAddress. A script without sentences gives an empty file.
EExportResult WriteDialogueText(const CString& script, const CString& output, const CString& webAddress);

// The LRC file: "[00:00.000]" with the source notice naming webAddress, then
// per sentence its start time tag and English text, each line ended by one
// line feed.
EExportResult WriteLrcFile(const CString& script, const CString& output, const CString& webAddress);
