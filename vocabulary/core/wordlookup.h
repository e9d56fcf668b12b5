// The local dictionary look-up, without a window: the forms a word is looked
// up by, the entry found in the shipped dictionary, and the page written for
// it. The dictionary pane shows the page; other windows read the result.
//
// The dictionary ("AppData/BasicDict/theBaseDict.script") holds the table
// oxford7(keyword, detailtxt): lower-case headwords and their entries as HTML
// fragments, an apostrophe stored as "*" and a line break as backslash-"n";
// and the table wordforms(form, lemma): irregular forms and their headwords
// (took -> take, children -> child), in the stored form too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/cstring.h"

// A word in the form the dictionary and the word lists store it: "'" as "*".
CString ToStoredWordForm(const CString& word);

// The forms a word is looked up by, in order, each in the stored form and
// without repeats: the word itself (trimmed), then the base forms of the
// suffix rules, lower case: a capital first letter lowered; without a final
// "s" or "d"; without a final "es" or "ed"; "-ies" as "-y"; without "-ing";
// "-ing" as "-e"; then "-ied" as "-y"; a possessive "'s" or "s'" dropped; a
// doubled last consonant before "-ed", "-ing", "-er" or "-est" made single
// (stopped, running, bigger); without "-er" or "-est", also with "-e";
// "-ier" and "-iest" as "-y". The endings are those of the trimmed word as
// typed, in lower case when it is written in capitals (PROGRAMS).
std::vector<CString> LookupForms(const CString& word);

enum class EWordLookup {
    Found,          // an entry of the word or of one of its base forms
    NotFound,       // the dictionary has none
    NoDictionary,   // the dictionary file is missing or cannot be read
};

struct SWordEntry {
    EWordLookup result = EWordLookup::NotFound;
    CString form;         // the form found (stored form), e.g. "study" for "studies"
    std::string detail;   // the entry as stored (UTF-8)
};

// Looks a word up in the dictionary at `dictionaryPath`, which is opened
// read-only and never created; every form is a bound value, never SQL text.
// The headwords the forms table gives for the word in lower case come first
// (took -> take; studied -> study, whose entry is then followed by the
// word's own after an "<hr>"), then the forms of LookupForms. A dictionary
// without that table is looked up by the forms alone.
SWordEntry FindWordEntry(const CString& dictionaryPath, const CString& word);

// A stored form as the learner reads it: "*" back to "'".
CString ToShownWordForm(const CString& stored);

// The online dictionary page of a word: the installation's address (product
// setting "DictionaryUrl") followed by the word in UTF-8, percent-encoded.
CString OnlineDictionaryAddress(const CString& word);

// The word a double click picked out of a page: the selection without blanks
// and without the punctuation and quotes around it ("“study,”" -> "study");
// an apostrophe or hyphen inside stays. Empty when no letter is left.
CString PickedWord(const CString& selection);

// The online translation page of a text: the installation's translation
// page (product setting "TranslateUrl") and the text in UTF-8,
// percent-encoded; a page address without a query or fragment of its own
// (a site's root page) gets "#auto2auto|" before the text.
CString OnlineTranslationAddress(const CString& text);

// Up to `limit` headwords of the dictionary that begin with the typed text
// (trimmed; ASCII letters in either case), as the learner reads them ("*"
// back to "'"), in alphabetical order. The typed text is a bound value in
// which "%" and "_" match only themselves. None when the dictionary is
// missing or the text is empty.
std::vector<CString> WordSuggestions(const CString& dictionaryPath, const CString& typed, int limit = 10);

// The page of an entry found for the word typed: when the form found is
// another word (took -> take, not Hello -> hello), a line naming the word
// typed and the headword comes before the entry.
std::string RenderEntryPage(const CString& typed, const SWordEntry& entry, bool silent);

// The page of a word the dictionary does not know: "词典中没有找到“word”" and
// a link to its online page; without a dictionary, says it cannot be opened.
std::string RenderMissPage(const CString& word, EWordLookup result, const CString& onlineAddress, bool silent);

// The dictionary page of an entry: one line of HTML, UTF-8, 16-pixel type
// for the pane, 14-pixel for a silent look-up whose page another window
// shows; "*" back to "'", backslash-"n" to "<br>", no leading break.
std::string RenderWordPage(std::string_view detail, bool silent);
