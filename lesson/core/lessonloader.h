// Loading a lesson: a lesson database (".script") or a subtitle file (".srt",
// ".ass", ".lrc") becomes the sentence model of the application object and
// the text that the lesson view shows, one English sentence per line.
//
// Nothing here touches a window: the lesson view puts `viewText` into its
// control, formats it and starts its position pass. The user's file is only
// read; a UTF-8 subtitle file is converted in memory.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/cstring.h"
#include "platform/file.h"

class CQuenlowApp;

enum class ELessonLoadResult {
    Loaded,       // the model and viewText hold the lesson (possibly empty)
    CannotOpen,   // the lesson database cannot be opened: the model is empty,
                  // the error message is in the show-message slot, and the
                  // view keeps the text it had
    Unreadable,   // a subtitle file that cannot be read (missing, no
                  // permission, not a regular file: a folder, a FIFO, a
                  // device): the model and viewText are empty
    TooLarge,     // a subtitle file larger than kMaxSubtitleFileBytes: not
                  // read; the model and viewText are empty
    NoSentences,  // a subtitle file was read but gave no sentence (empty, or
                  // not a subtitle text in GB18030 or UTF-8, e.g. UTF-16):
                  // the model and viewText are empty
    Refused,      // a lesson database that is not a plain lesson: its sentence
                  // table is a view, or reading it passed the bounds of the
                  // limited read-only mode (rows, cell length, time); the
                  // model and viewText are empty
    NoLoader,     // the file name has none of the four extensions: nothing
                  // was touched
};

// No real subtitle file comes near this size: a film's ".srt" holds some
// hundred kilobytes, a richly styled ".ass" a few megabytes. A larger file is
// refused unread: loading one into the lesson view costs the interface
// thread about 0.2 s per megabyte (a 60 MB ".ass" stalled the window for 9 s
// and took 600 MB).
inline constexpr int64_t kMaxSubtitleFileBytes = int64_t{8} * 1024 * 1024;

// What the learner is told about a subtitle file over kMaxSubtitleFileBytes.
CString SubtitleTooLargeMessage(const CString& path);

enum class ELessonFileKind { None, Script, Srt, Ass, Lrc };

// The loader for a path, chosen by its file name: the first of ".script",
// ".srt", ".ass", ".lrc" that occurs in the name after its first character
// (a folder name never counts, and neither does a name that starts with it).
ELessonFileKind GetLessonFileKind(const CString& path);

// Loads `path` into app's sentence model and fills viewText with the lesson
// text. A subtitle file that cannot be read, or that gives no sentence, loads
// as an empty lesson; the result tells the two apart from a lesson that
// loaded. A lesson database without rows is Loaded (the blank lesson is one).
ELessonLoadResult LoadLessonFile(CQuenlowApp& app, const CString& path, CString& viewText);

// Whether the file is a lesson database the loader takes (see
// LoadScriptFile) holding at least one sentence; the model is not touched,
// so any thread may ask.
bool IsLessonWithSentences(const CString& path);

// The four loaders. Each empties the model first; the result tells whether
// the file could be opened (for a subtitle file: read, or why not).
// viewText is always replaced (empty on failure). The lesson database is
// opened read-only with CSqliteDb's limits: Loaded, CannotOpen or Refused.
ELessonLoadResult LoadScriptFile(CQuenlowApp& app, const CString& path, CString& viewText);
EFileReadResult LoadSrtFile(CQuenlowApp& app, const CString& path, CString& viewText);
EFileReadResult LoadAssFile(CQuenlowApp& app, const CString& path, CString& viewText);
EFileReadResult LoadLrcFile(CQuenlowApp& app, const CString& path, CString& viewText);

// ---- Text rules shared by the loaders ----

// English when more than half of the trimmed text's bytes are not lead bytes
// of the code page. An empty text is not English.
bool IsForeignLine(const CString& text);
// True for an empty text and for a text that holds a subtitle group's credit
// keyword or a season tag after its first character.
bool IsCreditLine(const CString& text);
// Whether a subtitle entry is dropped: it has no text at all, its English
// holds a credit keyword (as IsCreditLine), or its Chinese names a subtitle
// group or a credit caption. Short replies ("No.", "OK", "嗯。") and music
// marks are kept: they are what the video says.
bool IsCreditEntry(const CString& english, const CString& chinese);
// Removes every "{...}" override tag; an unmatched "{" and what follows it
// stay as they are.
CString StripBraceTags(const CString& text);
// Full-width sentence marks and curly quotes to ASCII; italic tags removed.
CString NormalizePunctuation(const CString& text);
// The lesson database's English text: "*" stored for an apostrophe, markup
// replaced by hyphens of the same length so that stored offsets stay valid.
CString CleanScriptEnglish(const CString& text);
// The lesson database's Chinese text: markup removed, "tmpchntxt" is none.
CString CleanScriptChinese(const CString& text);
// Clean-up of both texts of an ".srt" or ".ass" entry (trimmed first).
CString CleanSubtitleText(const CString& text);

// ---- Time parsers (milliseconds) ----

// What ParseSrtTimeLine found: no time line, a time line whose times cannot
// be played (a field out of range, the end before the start), good times.
enum class ESrtTimeLine { None, OutOfRange, Valid };
// An ".srt" time line "00:00:01,500 --> 00:00:03,250": None when the line has
// no "-->" after its first character. Missing fields read as 0, fractions
// count as milliseconds as they stand. Hours are 0..99, minutes and seconds
// 0..59, milliseconds 0..999; start and end are 0 for OutOfRange.
ESrtTimeLine ParseSrtTimeLine(const CString& line, int& start, int& end);
// The start and end of a "Dialogue: " line, read from their fixed columns
// (one-digit hours, hundredths of seconds).
void ParseAssTimes(const CString& line, int& start, int& end);
// The inside of an ".lrc" time tag: "mm:ss", "mm:ss.f", "mm:ss.ff" or
// "mm:ss.fff" (minutes of one to three digits, seconds 0..59, "." or ":"
// before the fraction, a decimal fraction of a second). False for anything
// else, such as an identification tag "ti:Title".
bool ParseLrcTimeTag(std::string_view tag, int& ms);
// The first time tag at the start of an ".lrc" line, or -1 when the line
// does not start with one.
int ParseLrcTime(const CString& line);

// The text part of an ".ass" dialogue line: after the "00,," of the zeroed
// margins, or else after the ninth comma; empty when there is neither.
CString GetAssDialogueText(const CString& line);

// ---- Reading subtitle files ----

// The lines of a file as a text-mode read returns them (no "\r" or "\n").
// Only a regular file of at most kMaxSubtitleFileBytes is read.
EFileReadResult ReadTextLines(const CString& path, std::vector<CString>& lines);
// The UTF-8 sample test on the first 50 lines: true when the file starts with
// the UTF-8 byte-order mark, or when the first deciding line (the first
// non-English line longer than 10 bytes; for ".ass" the Chinese part of a line
// with a break) is UTF-8; with no deciding line, when the sampled lines that
// are not plain ASCII are all UTF-8. The kind picks the rule.
bool NeedsUtf8Conversion(const CQuenlowApp& app, const std::vector<CString>& lines, ELessonFileKind kind);
// The same test on a file; the rule follows the file name (".srt" or ".ass").
bool NeedsUtf8Conversion(const CQuenlowApp& app, const CString& path);
