// The lesson and subtitle loaders. Every loader empties the sentence model
// first, so a file that cannot be read leaves an empty lesson and nothing of
// the previous one. The table grows with the file: no lesson is cut short.
#include "lesson/core/lessonloader.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "lesson/core/assfilewriter.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/sqlitedb.h"
#include "core/quenlow.h"

namespace {

// The sentence statement of a lesson database, as every lesson file answers it.
constexpr const char* kSentenceQuery =
    "select linecnt,starttime,endtime,fgnstartpos,fgntxtlen,chnstartpos,chntxtlen,fgntxt,chntxt from tablename ;";

// End time of an ".lrc" line that no later time tag closes.
constexpr int kLrcOpenEnd = 10000000;

// How many lines the UTF-8 sample test looks at.
constexpr size_t kSampleLines = 50;

// atoi, without its undefined overflow: leading blanks and digits count,
// anything else gives 0, values beyond int are clamped.
int ToInt(const char* text)
{
    if (text == nullptr)
        return 0;
    const long long value = std::strtoll(text, nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int ToInt(const CString& text) { return ToInt(text.GetString()); }

int ClampTime(int64_t ms) { return static_cast<int>(std::clamp<int64_t>(ms, INT_MIN, INT_MAX)); }

int64_t HmsToMs(int h, int m, int s, int ms)
{
    return int64_t{h} * 3600000 + int64_t{m} * 60000 + int64_t{s} * 1000 + ms;
}

// The file name part of a path (paths use "/").
CString FileNameOf(const CString& path)
{
    const int slash = path.ReverseFind('/');
    return slash >= 0 ? path.Mid(slash + 1) : path;
}

// The character-aware search steps through the text one character at a time;
// most texts hold none of the markup and keywords, which a plain byte search
// (much faster) rules out first. A byte match may still be a false one inside
// a Chinese character, so a hit goes on to the character-aware search.
bool MayContain(const CString& text, std::string_view what) { return text.view().find(what) != std::string_view::npos; }

int FindText(const CString& text, const char* what) { return MayContain(text, what) ? text.Find(what) : -1; }

void ReplaceText(CString& text, const char* what, const char* with)
{
    if (MayContain(text, what))
        text.Replace(what, with);
}

// A keyword "occurs" in the lesson code only after the first character.
bool HasAfterFirst(const CString& text, const char* keyword) { return FindText(text, keyword) > 0; }

// Bytes of a text read before its encoding is known: search them as bytes, so
// that a UTF-8 byte pair never hides an ASCII "\" that follows it.
int FindBytes(const CString& text, std::string_view what, size_t from = 0)
{
    const size_t pos = text.view().find(what, from);
    return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

// Empties the model before a load; the view's text starts empty too.
void BeginLoad(CQuenlowApp& app, CString& viewText)
{
    app.m_nLastEndTime = 0;
    app.ClearSentenceModel();
    viewText.Empty();
}

// Stores subtitle entry k = the number of sentences so far. Both texts are
// kept trimmed with one line break; positions are set by the view later.
void StoreSubtitleEntry(CQuenlowApp& app, int start, int end, CString english, CString chinese, CString& viewText)
{
    const int k = app.m_arrForeignText.GetSize();
    app.EnsureSentenceCapacity(k + 1);
    SSentenceTiming& entry = app.m_arrSentenceTiming[static_cast<size_t>(k)];
    entry = SSentenceTiming{};
    entry.linecnt = k;
    entry.starttime = start;
    entry.endtime = end;
    app.m_nLastEndTime = end;
    english.Trim();
    english += "\n";
    chinese.Trim();
    chinese += "\n";
    app.m_arrForeignText.Add(english);
    viewText += english;
    app.m_arrChineseText.Add(chinese);
}

void EndSubtitleLoad(CQuenlowApp& app) { app.m_nSentenceCount = app.m_arrForeignText.GetSize(); }

// Splits file bytes into lines: no "\r" or "\n" at their ends, a last line
// without a line end included. A line ends at "\n" with any carriage returns
// before it ("\r\n", and the "\r\r\n" of a file converted twice), or at a
// lone "\r", as files made on older systems end their lines.
void SplitLines(const std::string& bytes, std::vector<CString>& lines)
{
    lines.clear();
    size_t begin = 0;
    while (begin < bytes.size()) {
        const size_t end = std::min(bytes.find_first_of("\r\n", begin), bytes.size());
        lines.emplace_back(std::string(bytes, begin, end - begin));
        // The carriage returns are looked at once: without a "\n" after them
        // each ends a line, the second and later ones empty lines.
        size_t returns = end;
        while (returns < bytes.size() && bytes[returns] == '\r')
            ++returns;
        if (returns < bytes.size() && bytes[returns] == '\n') {
            begin = returns + 1;
            continue;
        }
        for (size_t extra = end + 1; extra < returns; ++extra)
            lines.emplace_back();
        begin = returns;
    }
}

// Reads a ".srt", ".ass" or ".lrc" file. A UTF-8 file is converted in memory, never
// on disk; its lines come out trimmed, as a converted copy would hold them.
EFileReadResult ReadSubtitleLines(const CQuenlowApp& app, const CString& path, ELessonFileKind kind,
                                  std::vector<CString>& lines)
{
    lines.clear();
    std::string bytes;
    const EFileReadResult read = ReadRegularFile(path, bytes, kMaxSubtitleFileBytes);
    if (read != EFileReadResult::Read)
        return read;
    SplitLines(bytes, lines);
    if (!NeedsUtf8Conversion(app, lines, kind))
        return read;
    // One conversion for the whole file: an invalid byte is replaced on its
    // own and never takes the line end with it, so the lines stay the same.
    const std::string_view utf8 = std::string_view(bytes).starts_with("\xEF\xBB\xBF")
                                      ? std::string_view(bytes).substr(3)   // the byte-order mark is no text
                                      : std::string_view(bytes);
    SplitLines(ConvertBytes(utf8, CP_UTF8, CP_ACP), lines);
    for (CString& line : lines) {
        const size_t zero = line.view().find('\0');
        if (zero != std::string_view::npos)
            line = line.Left(static_cast<int>(zero));   // converted text ends at a zero byte
        line.Trim();
    }
    return read;
}

// The Chinese part of an ".ass" line with a break, for the sample test. The
// whole text before the break is sampled: stopping a byte short would cut a
// UTF-8 character and take a Chinese-first UTF-8 file for GB18030.
bool AssSampleChinesePart(const CString& line, CString& chinese)
{
    int breakPos = FindBytes(line, "\\N");
    if (breakPos < 0)
        breakPos = FindBytes(line, "\\n");
    if (breakPos <= 0)
        return false;
    int textStart = FindBytes(line, "00,,");
    if (textStart >= 0) {
        textStart += 4;
    } else {
        int comma = -1;
        for (int n = 0; n < 9; ++n) {
            comma = FindBytes(line, ",", static_cast<size_t>(comma + 1));
            if (comma < 0)
                return false;
        }
        textStart = comma + 1;
    }
    const CString first = line.Mid(textStart, breakPos - textStart);
    chinese = IsForeignLine(first) ? line.Mid(breakPos + 2) : first;
    return true;
}

} // namespace

// ---- Text rules ----

bool IsForeignLine(const CString& text)
{
    CString trimmed = text;
    trimmed.Trim();
    if (trimmed.IsEmpty())
        return false;
    int singleBytes = 0;
    for (const char c : trimmed.view()) {
        if (!IsDBCSLeadByte(static_cast<unsigned char>(c)))
            ++singleBytes;
    }
    return singleBytes > trimmed.GetLength() / 2;
}

namespace {

bool HoldsCreditKeyword(const CString& text)
{
    static const std::vector<CString> keywords = [] {
        std::vector<CString> list = {"YYeTs", "人人影视", "字幕组", "字幕", "商业用途", "时间轴：", "校对监制："};
        const char* numerals[] = {"一", "二", "三", "四", "五", "六", "七", "八",
                                  "九", "十", "十一", "十二", "十三", "十四", "十五"};
        for (int n = 1; n <= 15; ++n) {
            list.push_back(CString("第") + numerals[n - 1] + "季");
            CString arabic;
            arabic.Format("第%d季", n);
            list.push_back(arabic);
        }
        return list;
    }();
    for (const CString& keyword : keywords) {
        if (HasAfterFirst(text, keyword))
            return true;
    }
    return false;
}

// A Chinese text is a credit only by the group names and credit captions:
// "字幕" or a season tag alone also occur in ordinary dialogue.
bool HoldsChineseCreditKeyword(const CString& text)
{
    for (const char* keyword : {"YYeTs", "人人影视", "字幕组", "商业用途", "时间轴：", "校对监制：", "翻译："}) {
        if (FindText(text, keyword) >= 0)
            return true;
    }
    return false;
}

} // namespace

bool IsCreditLine(const CString& text) { return text.IsEmpty() || HoldsCreditKeyword(text); }

bool IsCreditEntry(const CString& english, const CString& chinese)
{
    if (english.IsEmpty() && chinese.IsEmpty())
        return true;
    return HoldsCreditKeyword(english) || HoldsChineseCreditKeyword(chinese);
}

// One pass over the line: a "{" (a whole character, never a GB18030 trail
// byte) drops everything up to the next "}". Removing the tags one at a time,
// each by rescanning and copying the line, took quadratic time on lines made
// of thousands of tags.
CString StripBraceTags(const CString& text)
{
    const std::string_view bytes = text.view();
    std::string result;
    result.reserve(bytes.size());
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t length = static_cast<size_t>(CharLengthAt(bytes, pos));
        if (length == 1 && bytes[pos] == '{') {
            const int close = text.Find('}', static_cast<int>(pos));
            if (close < 0) {
                result.append(bytes.substr(pos));   // an unmatched "{" stays, with the rest of the line
                break;
            }
            pos = static_cast<size_t>(close) + 1;
            continue;
        }
        result.append(bytes.substr(pos, length));
        pos += length;
    }
    return CString(std::string_view(result));
}

CString NormalizePunctuation(const CString& text)
{
    CString result = text;
    ReplaceText(result, "。", ".");
    ReplaceText(result, "？", "?");
    ReplaceText(result, "！", "!");
    ReplaceText(result, "，", ",");
    ReplaceText(result, "；", ";");
    ReplaceText(result, "“", "\"");
    ReplaceText(result, "”", "\"");
    ReplaceText(result, "<i>", "");
    ReplaceText(result, "</i>", "");
    return result;
}

CString CleanScriptEnglish(const CString& text)
{
    CString result = text;
    ReplaceText(result, "*", "'");
    ReplaceText(result, "—", "--");
    ReplaceText(result, "<i>", "---");
    ReplaceText(result, "</i>", "----");
    ReplaceText(result, "0000,,", "------");
    ReplaceText(result, "0000,", "-----");
    ReplaceText(result, "\\N", "--");
    ReplaceText(result, "{\\r}", "----");
    return result;
}

CString CleanScriptChinese(const CString& text)
{
    CString result = text;
    ReplaceText(result, "*", "'");
    ReplaceText(result, "—", "--");
    for (const char* markup : {"<i>", "</i>", "0000,,", "0000,", "\\N", "{\\r}"})
        ReplaceText(result, markup, "");
    if (result == "tmpchntxt")
        result.Empty();
    return result;
}

CString CleanSubtitleText(const CString& text)
{
    CString result = text;
    result.Trim();
    ReplaceText(result, "\\n", "");   // the soft line break of ".ass" texts
    ReplaceText(result, "*", "'");
    ReplaceText(result, "—", "--");
    for (const char* markup : {"<i>", "</i>", "0000,,", "0000,", "\\N", "{\\r}"})
        ReplaceText(result, markup, "");
    return result;
}

// ---- Time parsers ----

namespace {

// Reads one time field; false when it is outside 0 <= value <= max. Digits
// beyond int clamp to INT_MAX and so fail the check too.
bool ReadTimeField(const CString& text, int max, int& value)
{
    value = ToInt(text);
    return value >= 0 && value <= max;
}

// One side of an ".srt" time line: h:m:s then milliseconds after "," or ".".
// A missing field reads as 0; false when a field is out of range (hours
// 0..99, minutes and seconds 0..59, milliseconds 0..999).
bool ParseSrtSide(CString side, int& time)
{
    static constexpr int kMax[4] = {99, 59, 59, 999};
    side.Replace(',', ':');
    side.Replace('.', ':');
    side.Remove(' ');
    int fields[4] = {0, 0, 0, 0};
    CString rest = side;
    for (int i = 0; i < 4; ++i) {
        const int colon = rest.Find(':');
        if (i == 3 || colon < 0) {
            // The last field is the rest.
            CString last = rest;
            last.Trim();
            if (!ReadTimeField(last, kMax[i], fields[i]))
                return false;
            break;
        }
        if (!ReadTimeField(rest.Left(colon), kMax[i], fields[i]))
            return false;
        rest = rest.Mid(colon + 1);
    }
    time = static_cast<int>(HmsToMs(fields[0], fields[1], fields[2], fields[3]));
    return true;
}

} // namespace

ESrtTimeLine ParseSrtTimeLine(const CString& line, int& start, int& end)
{
    const int arrow = FindText(line, "-->");
    if (arrow <= 0)
        return ESrtTimeLine::None;
    start = 0;
    end = 0;
    int first = 0;
    int second = 0;
    if (!ParseSrtSide(line.Left(arrow), first) || !ParseSrtSide(line.Mid(arrow + 3), second) || second < first)
        return ESrtTimeLine::OutOfRange;
    start = first;
    end = second;
    return ESrtTimeLine::Valid;
}

void ParseAssTimes(const CString& line, int& start, int& end)
{
    // "Dialogue: 0,0:00:01.00,0:00:03.00,...": columns of a one-digit layer.
    const auto at = [&](int index, int count) { return ToInt(line.Mid(index, count)); };
    start = ClampTime(HmsToMs(at(12, 1), at(14, 2), at(17, 2), at(20, 2) * 10));
    end = ClampTime(HmsToMs(at(23, 1), at(25, 2), at(28, 2), at(31, 2) * 10));
}

namespace {

// Reads up to `maxDigits` digits at `pos`; false when there are none.
bool ReadDigits(std::string_view text, size_t& pos, size_t maxDigits, int& value, size_t& digits)
{
    value = 0;
    digits = 0;
    while (pos < text.size() && digits < maxDigits && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}

} // namespace

bool ParseLrcTimeTag(std::string_view tag, int& ms)
{
    size_t pos = 0;
    int minutes = 0;
    int seconds = 0;
    size_t digits = 0;
    if (!ReadDigits(tag, pos, 3, minutes, digits) || pos >= tag.size() || tag[pos++] != ':')
        return false;
    if (!ReadDigits(tag, pos, 2, seconds, digits) || seconds > 59)
        return false;
    int fraction = 0;
    if (pos < tag.size()) {
        if (tag[pos] != '.' && tag[pos] != ':')
            return false;
        ++pos;
        // The fraction is a decimal fraction of a second: ".5", ".50" and
        // ".500" are all half a second.
        if (!ReadDigits(tag, pos, 3, fraction, digits))
            return false;
        for (; digits < 3; ++digits)
            fraction *= 10;
    }
    if (pos != tag.size())
        return false;
    ms = (minutes * 60 + seconds) * 1000 + fraction;
    return true;
}

int ParseLrcTime(const CString& line)
{
    const std::string_view text = line.view();
    const size_t close = text.find(']');
    int ms = -1;
    if (text.starts_with('[') && close != std::string_view::npos && ParseLrcTimeTag(text.substr(1, close - 1), ms))
        return ms;
    return -1;
}

CString GetAssDialogueText(const CString& line)
{
    const int zeroMargins = FindText(line, "00,,");
    if (zeroMargins >= 0)
        return line.Mid(zeroMargins + 4);
    // Ordinary margins ("0,0,0,,"): the text follows the ninth comma.
    int comma = -1;
    for (int n = 0; n < 9; ++n) {
        comma = line.Find(',', comma + 1);
        if (comma < 0)
            return CString();
    }
    return line.Mid(comma + 1);
}

// ---- Reading subtitle files ----

EFileReadResult ReadTextLines(const CString& path, std::vector<CString>& lines)
{
    lines.clear();
    std::string bytes;
    const EFileReadResult read = ReadRegularFile(path, bytes, kMaxSubtitleFileBytes);
    if (read == EFileReadResult::Read)
        SplitLines(bytes, lines);
    return read;
}

bool NeedsUtf8Conversion(const CQuenlowApp& app, const std::vector<CString>& lines, ELessonFileKind kind)
{
    if (kind != ELessonFileKind::Srt && kind != ELessonFileKind::Ass && kind != ELessonFileKind::Lrc)
        return false;
    if (!lines.empty() && lines[0].view().starts_with("\xEF\xBB\xBF"))
        return true;   // the UTF-8 byte-order mark
    const size_t count = std::min(lines.size(), kSampleLines);
    for (size_t i = 0; i < count; ++i) {
        CString sample = lines[i];
        if (kind == ELessonFileKind::Ass && !AssSampleChinesePart(lines[i], sample))
            continue;
        if (sample.GetLength() > 10 && !IsForeignLine(sample))
            return app.IsUtf8Text(reinterpret_cast<const unsigned char*>(sample.GetString()), sample.GetLength());
    }
    // No line is mostly Chinese (English lines with Chinese after them, or
    // "…" and curly quotes only): the file is UTF-8 when every sampled line
    // that is not plain ASCII reads as UTF-8.
    bool anyUtf8 = false;
    for (size_t i = 0; i < count; ++i) {
        const std::string_view bytes = lines[i].view();
        if (std::ranges::all_of(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            continue;
        if (!app.IsUtf8Text(reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size())))
            return false;
        anyUtf8 = true;
    }
    return anyUtf8;
}

bool NeedsUtf8Conversion(const CQuenlowApp& app, const CString& path)
{
    const ELessonFileKind kind = GetLessonFileKind(path);
    if (kind == ELessonFileKind::None || kind == ELessonFileKind::Script)
        return false;
    std::vector<CString> lines;
    return ReadTextLines(path, lines) == EFileReadResult::Read && NeedsUtf8Conversion(app, lines, kind);
}

// ---- Choosing and running a loader ----

ELessonFileKind GetLessonFileKind(const CString& path)
{
    const CString name = FileNameOf(path);
    if (HasAfterFirst(name, ".script"))
        return ELessonFileKind::Script;
    if (HasAfterFirst(name, ".srt"))
        return ELessonFileKind::Srt;
    if (HasAfterFirst(name, ".ass"))
        return ELessonFileKind::Ass;
    if (HasAfterFirst(name, ".lrc"))
        return ELessonFileKind::Lrc;
    return ELessonFileKind::None;
}

namespace {

// The result of a subtitle loader: its failure to read the file, or a file
// that gave no sentence, stays visible to the caller.
ELessonLoadResult SubtitleLoadResult(EFileReadResult read, const CQuenlowApp& app)
{
    if (read == EFileReadResult::TooLarge)
        return ELessonLoadResult::TooLarge;
    if (read != EFileReadResult::Read)
        return ELessonLoadResult::Unreadable;
    return app.m_nSentenceCount > 0 ? ELessonLoadResult::Loaded : ELessonLoadResult::NoSentences;
}

} // namespace

ELessonLoadResult LoadLessonFile(CQuenlowApp& app, const CString& path, CString& viewText)
{
    switch (GetLessonFileKind(path)) {
    case ELessonFileKind::Script:
        return LoadScriptFile(app, path, viewText);
    case ELessonFileKind::Srt:
        return SubtitleLoadResult(LoadSrtFile(app, path, viewText), app);
    case ELessonFileKind::Ass:
        return SubtitleLoadResult(LoadAssFile(app, path, viewText), app);
    case ELessonFileKind::Lrc:
        return SubtitleLoadResult(LoadLrcFile(app, path, viewText), app);
    case ELessonFileKind::None:
        break;
    }
    return ELessonLoadResult::NoLoader;
}

CString SubtitleTooLargeMessage(const CString& path)
{
    CString text;
    text.Format("字幕文件太大（超过%d MB），不能作为课文载入：", static_cast<int>(kMaxSubtitleFileBytes >> 20));
    return text + path;
}

// ---- The lesson database ----

namespace {

// The sentence rows of a lesson database (none for a file without the
// table). Lesson files also come inside downloaded packages: the file is
// only read, and a crafted one must not hang the program or fill its memory.
ELessonLoadResult ReadScriptRows(const CString& path, SQueryResult& result)
{
    CSqliteDb db;
    if (!db.Open(path, CSqliteDb::ReadOnlyLimited))
        return ELessonLoadResult::CannotOpen;
    // A file that is not a database at all (a text renamed, a broken
    // download) is refused by name; an empty one is an empty database.
    SQueryResult schema;
    if (!db.Query("select count(*) from sqlite_master", {}, schema))
        return ELessonLoadResult::Refused;
    // Only a stored table is read; a view can compute rows without end.
    // A file without the table stays a blank lesson.
    const CString kind = db.ObjectType("tablename");
    if (db.LimitReached() || (!kind.IsEmpty() && kind != "table"))
        return ELessonLoadResult::Refused;
    const bool read = db.Query(kSentenceQuery, {}, result);
    if (!read && db.LimitReached())
        return ELessonLoadResult::Refused;
    if (!read)
        result = SQueryResult();
    return ELessonLoadResult::Loaded;
}

} // namespace

bool IsLessonWithSentences(const CString& path)
{
    SQueryResult result;
    return ReadScriptRows(path, result) == ELessonLoadResult::Loaded && result.nRow > 0;
}

ELessonLoadResult LoadScriptFile(CQuenlowApp& app, const CString& path, CString& viewText)
{
    BeginLoad(app, viewText);
    SQueryResult result;
    const ELessonLoadResult opened = ReadScriptRows(path, result);
    if (opened == ELessonLoadResult::CannotOpen)
        app.ShowMessage("打开播放数据文件失败!", "error", 5000);
    if (opened != ELessonLoadResult::Loaded)
        return opened;
    if (result.nRow > 0) {
        app.EnsureSentenceCapacity(result.nRow);
        for (int i = 0; i < result.nRow; ++i) {
            SSentenceTiming& entry = app.m_arrSentenceTiming[static_cast<size_t>(i)];
            entry.linecnt = ToInt(result.GetCell(i, 0));
            entry.starttime = ToInt(result.GetCell(i, 1));
            entry.endtime = ToInt(result.GetCell(i, 2));
            entry.fgnstartpos = ToInt(result.GetCell(i, 3));
            entry.fgntxtlen = ToInt(result.GetCell(i, 4));
            entry.chnstartpos = ToInt(result.GetCell(i, 5));
            entry.chntxtlen = ToInt(result.GetCell(i, 6));
            app.m_nLastEndTime = entry.endtime;

            const CString english = CleanScriptEnglish(CString(result.GetCell(i, 7)));
            app.m_arrForeignText.Add(english);
            viewText += english;
            app.m_arrChineseText.Add(CleanScriptChinese(CString(result.GetCell(i, 8))));
        }
        app.m_nSentenceCount = result.nRow;
    }
    return ELessonLoadResult::Loaded;
}

// ---- ".srt" ----

namespace {

bool IsEntryNumber(const CString& line)
{
    return !line.IsEmpty() && line.view().find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

EFileReadResult LoadSrtFile(CQuenlowApp& app, const CString& path, CString& viewText)
{
    BeginLoad(app, viewText);
    std::vector<CString> lines;
    const EFileReadResult read = ReadSubtitleLines(app, path, ELessonFileKind::Srt, lines);
    if (read != EFileReadResult::Read)
        return read;
    const size_t count = lines.size();
    size_t next = 0;
    while (next < count) {
        int start = 0;
        int end = 0;
        const ESrtTimeLine times = ParseSrtTimeLine(lines[next++], start, end);
        if (times == ESrtTimeLine::None)
            continue;
        // The entry's text runs to the blank line between entries or to the
        // next time line, which is then read again as the next entry's start.
        // Short lines ("No.", "OK") are text like any other.
        std::vector<CString> textLines;
        bool atTimeLine = false;
        while (next < count) {
            CString line = lines[next];
            line.Trim();
            if (line.IsEmpty())
                break;
            if (FindText(line, "-->") > 0) {
                atTimeLine = true;
                break;
            }
            textLines.push_back(line);
            ++next;
        }
        // Without a blank line before it, the next entry's number ends up
        // here, directly above the next time line. A number that ends the
        // text at a blank line or at the end of the file is a reply ("1984").
        if (atTimeLine && !textLines.empty() && IsEntryNumber(textLines.back()))
            textLines.pop_back();
        CString english;
        CString chinese;
        for (const CString& line : textLines) {
            if (IsForeignLine(line))
                english += line + " ";
            else
                chinese += line + " ";
        }
        english = CleanSubtitleText(english);
        chinese = CleanSubtitleText(chinese);
        // An entry with broken times is read to its end, then dropped.
        if (times != ESrtTimeLine::Valid || IsCreditEntry(english, chinese))
            continue;
        StoreSubtitleEntry(app, start, end, NormalizePunctuation(english), chinese, viewText);
    }
    EndSubtitleLoad(app);
    return read;
}

// ---- ".ass" ----

EFileReadResult LoadAssFile(CQuenlowApp& app, const CString& path, CString& viewText)
{
    BeginLoad(app, viewText);
    std::vector<CString> lines;
    const EFileReadResult read = ReadSubtitleLines(app, path, ELessonFileKind::Ass, lines);
    if (read != EFileReadResult::Read)
        return read;
    for (const CString& original : lines) {
        if (FindText(original, "Dialogue:") < 0 || IsCreditLine(original))
            continue;
        // The zero-width breaks of the files written for the video go whole,
        // their space with them.
        CString unwrapped = original;
        ReplaceText(unwrapped, kAssWrapPoint, "");
        const CString line = StripBraceTags(unwrapped);
        int start = 0;
        int end = 0;
        ParseAssTimes(line, start, end);

        // The text after the margins, with the empty-name style and the
        // italic tags tidied as on the whole line.
        CString text = GetAssDialogueText(line);
        ReplaceText(text, "Default,,", "Default,");
        ReplaceText(text, "default,,", "default,");
        ReplaceText(text, "正文,,", "正文,");
        ReplaceText(text, "<i>", "");
        ReplaceText(text, "</i>", "");

        CString english;
        CString chinese;
        int breakPos = FindText(text, "\\N");
        if (breakPos < 0)
            breakPos = FindText(text, "\\n");
        if (breakPos < 0) {
            text.Trim();
            if (IsForeignLine(text))
                english = text;
        } else {
            const CString first = text.Left(breakPos);
            const CString second = text.Mid(breakPos + 2);
            if (IsForeignLine(first)) {
                english = first;
                chinese = second;
            } else {
                chinese = first;
                english = second;
            }
        }
        english.Trim();
        if (english.IsEmpty())
            continue;
        english = NormalizePunctuation(CleanSubtitleText(english));
        StoreSubtitleEntry(app, start, end, english, CleanSubtitleText(chinese), viewText);
    }
    EndSubtitleLoad(app);
    return read;
}

// ---- ".lrc" ----

namespace {

// A GB18030 character that is a Chinese ideograph: a two-byte character
// outside the symbol rows 0xA1-0xA9 (where "…", "“" and full-width marks
// are, which English lines also carry).
bool IsHanziAt(std::string_view text, size_t pos)
{
    if (CharLengthAt(text, pos) != 2)
        return false;
    const auto lead = static_cast<unsigned char>(text[pos]);
    return lead < 0xA1 || lead > 0xA9;
}

// A line's text as English and Chinese: English before the first Chinese
// ideograph when what stands before it is English; a text that starts with
// Chinese, or is not English, is all Chinese.
void SplitLrcText(const CString& text, CString& english, CString& chinese)
{
    english.Empty();
    chinese.Empty();
    const std::string_view bytes = text.view();
    size_t pos = 0;
    while (pos < bytes.size() && !IsHanziAt(bytes, pos))
        pos += static_cast<size_t>(CharLengthAt(bytes, pos));
    if (pos < bytes.size()) {
        CString head = text.Left(static_cast<int>(pos));
        head.Trim();
        if (IsForeignLine(head)) {
            english = head;
            chinese = text.Mid(static_cast<int>(pos));
        } else {
            chinese = text;
        }
    } else if (IsForeignLine(text)) {
        english = text;
    } else {
        chinese = text;
    }
    english = NormalizePunctuation(english);
    english.Trim();
    chinese.Trim();
}

struct SLrcLine {
    std::vector<int> times;   // the line's time tags, in their order
    bool isTag = false;       // an identification tag ("[ti:...]", "[offset:...]")
    CString tagName;
    CString tagValue;
    CString text;             // after the last time tag, trimmed
};

SLrcLine ParseLrcLine(const CString& line)
{
    SLrcLine parsed;
    const std::string_view bytes = line.view();
    size_t pos = 0;
    while (pos < bytes.size() && bytes[pos] == '[') {
        const size_t close = bytes.find(']', pos);
        if (close == std::string_view::npos)
            break;
        const std::string_view inner = bytes.substr(pos + 1, close - pos - 1);
        int ms = 0;
        if (ParseLrcTimeTag(inner, ms)) {
            parsed.times.push_back(ms);
        } else if (parsed.times.empty()) {
            const size_t colon = inner.find(':');
            parsed.isTag = true;
            parsed.tagName = CString(inner.substr(0, colon == std::string_view::npos ? inner.size() : colon));
            parsed.tagName.MakeLower();
            parsed.tagName.Trim();
            if (colon != std::string_view::npos)
                parsed.tagValue = CString(inner.substr(colon + 1));
            return parsed;
        } else {
            break;   // a bracket in the text after the time tags
        }
        pos = close + 1;
    }
    parsed.text = line.Mid(static_cast<int>(pos));
    parsed.text.Trim();
    return parsed;
}

struct SLrcEntry {
    int start = 0;
    CString english;
    CString chinese;
};

// The entry at `time` of the line just before (entries [from, to)) that
// lacks the other language: English and Chinese on consecutive lines with
// the same time are one sentence.
SLrcEntry* FindPartner(std::vector<SLrcEntry>& entries, size_t from, size_t to, int time, bool lacksEnglish)
{
    for (size_t i = from; i < to; ++i) {
        SLrcEntry& entry = entries[i];
        if (entry.start == time && (lacksEnglish ? entry.english.IsEmpty() : entry.chinese.IsEmpty()))
            return &entry;
    }
    return nullptr;
}

} // namespace

EFileReadResult LoadLrcFile(CQuenlowApp& app, const CString& path, CString& viewText)
{
    BeginLoad(app, viewText);
    std::vector<CString> lines;
    const EFileReadResult read = ReadSubtitleLines(app, path, ELessonFileKind::Lrc, lines);
    if (read != EFileReadResult::Read)
        return read;
    int offset = 0;
    std::vector<SLrcEntry> entries;
    std::vector<int> times;   // every time tag, the empty lines' too: they end sentences
    size_t previousLine = 0;   // the entries of the last timed line: [previousLine, previousEnd)
    size_t previousEnd = 0;
    for (const CString& raw : lines) {
        const SLrcLine line = ParseLrcLine(raw);
        if (line.isTag) {
            if (line.tagName == "offset")
                offset = ToInt(line.tagValue.GetString());
            continue;
        }
        CString english;
        CString chinese;
        SplitLrcText(line.text, english, chinese);
        if (line.times.empty()) {
            // An untagged Chinese line belongs to the timed line before it.
            if (english.IsEmpty() && !chinese.IsEmpty()) {
                for (size_t i = previousLine; i < previousEnd; ++i) {
                    if (entries[i].chinese.IsEmpty())
                        entries[i].chinese = chinese;
                }
            }
            continue;
        }
        const size_t first = entries.size();
        for (const int time : line.times) {
            times.push_back(time);
            if (line.text.IsEmpty())
                continue;
            if (english.IsEmpty() || chinese.IsEmpty()) {
                const bool isEnglish = !english.IsEmpty();
                SLrcEntry* partner = FindPartner(entries, previousLine, previousEnd, time, isEnglish);
                if (partner != nullptr) {
                    (isEnglish ? partner->english : partner->chinese) = isEnglish ? english : chinese;
                    continue;
                }
            }
            entries.push_back({time, english, chinese});
        }
        previousLine = first;
        previousEnd = entries.size();
    }

    // A positive offset shows the text earlier.
    const auto shifted = [offset](int time) { return ClampTime(std::max<int64_t>(0, int64_t{time} - offset)); };
    std::stable_sort(entries.begin(), entries.end(), [](const SLrcEntry& a, const SLrcEntry& b) { return a.start < b.start; });
    std::sort(times.begin(), times.end());
    for (const SLrcEntry& entry : entries) {
        const auto later = std::upper_bound(times.begin(), times.end(), entry.start);
        const int end = later == times.end() ? kLrcOpenEnd : shifted(*later);
        StoreSubtitleEntry(app, shifted(entry.start), std::max(end, shifted(entry.start)), entry.english, entry.chinese,
                           viewText);
    }
    EndSubtitleLoad(app);
    return read;
}
