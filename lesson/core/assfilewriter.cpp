// Writes the loaded lesson as three subtitle files for the media engine:
// bilingual, English only and Chinese only, in UTF-8, with the learner's
// colour, size and line order. Every call writes new numbered files, so the
// player is never handed a file it still holds open.
#include "lesson/core/assfilewriter.h"

#include <algorithm>
#include <cinttypes>
#include <cctype>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "platform/codepage.h"
#include "lesson/core/subtitlehandover.h"
#include "platform/file.h"
#include "core/mediatime.h"
#include "core/quenlow.h"

namespace {

struct SNamedColours {
    const char* name;
    SAssColours colours;
};

// In the format's &HAABBGGRR notation, tested in this order.
constexpr SNamedColours kColourTable[] = {
    {"White", {"&H00FFFFFF", "&HF0000000"}},
    {"WeakYellow", {"&H004EEE94", "&H004EEE94"}},
    {"WeakZhiSe", {"&H00FF6A6A", "&H00FF6A6A"}},
    {"WeakGray", {"&H00C6E2FF", "&H00C6E2FF"}},
    {"Green", {"&H007FFF00", "&H007FFF00"}},
    {"QingSe", {"&H00EEE685", "&H00EEE685"}},
    {"Yellow", {"&H0063B8FF", "&H0063B8FF"}},
    {"HighGreen", {"&H00458B00", "&H00458B00"}},
    {"GoldYellow", {"&H0000BFFF", "&H0000BFFF"}},
    {"Pink", {"&H00CD69C9", "&H00CD69C9"}},
};
constexpr SAssColours kOtherColours = {"&H0000BFFF", "&H0000BFFF"};

// A sentence text as one dialogue line holds it: no line breaks, "'" for the
// stored "*", no italic tags or margin remains.
CString CleanDialogueText(const CString& text)
{
    CString result = WithoutLineBreaks(text);
    result.Replace("*", "'");
    for (const char* markup : {"<i>", "</i>", "0000,,", "0000,", "\\N"})
        result.Replace(markup, "");
    return result;
}

// Characters that never begin a line: closing punctuation of Chinese text.
constexpr std::string_view kWideClosing[] = {"，", "。", "！", "？", "；", "：", "、", "）", "》", "」", "』", "”",
                                             "’", "〉", "】", "〕", "…", "—", "～", "·", "％", "．"};
// Characters that never end a line: opening punctuation.
constexpr std::string_view kWideOpening[] = {"（", "《", "「", "『", "“", "‘", "〈", "【", "〔"};

bool IsAmong(std::string_view c, std::span<const std::string_view> set)
{
    return std::find(set.begin(), set.end(), c) != set.end();
}

bool IsAsciiAmong(std::string_view c, std::string_view set)
{
    return c.size() == 1 && set.find(c[0]) != std::string_view::npos;
}

// An ASCII quote mark may open or close: no line begins or ends with one.
bool NeverStartsLine(std::string_view c)
{
    if (c.size() == 1)
        return std::ispunct(static_cast<unsigned char>(c[0])) && !IsAsciiAmong(c, "([{<");
    return IsAmong(c, kWideClosing);
}

bool NeverEndsLine(std::string_view c) { return IsAsciiAmong(c, "([{<\"'") || IsAmong(c, kWideOpening); }

// The stored files end their lines as a text-mode write does.
std::string WithCrLf(const CString& text)
{
    std::string out;
    out.reserve(static_cast<size_t>(text.GetLength()) + static_cast<size_t>(text.GetLength()) / 16);
    for (const char c : text.view()) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

bool WriteUtf8File(const CString& path, const CString& text)
{
    const int slash = path.ReverseFind('/');
    if (slash > 0)
        CreateFolders(path.Left(slash));
    return WriteFileAtomically(path, AnsiToUtf8Bytes(WithCrLf(text)));
}

CString DecimalText(int64_t value)
{
    CString text;
    text.Format("%" PRId64, value);
    return text;
}

} // namespace

CString AddWrapPoints(const CString& text)
{
    const std::string_view bytes = text.view();
    std::string result;
    std::string_view previous;
    for (size_t pos = 0; pos < bytes.size();) {
        const std::string_view c = bytes.substr(pos, static_cast<size_t>(CharLengthAt(bytes, pos)));
        const bool wide = c.size() > 1 || previous.size() > 1;
        if (wide && !previous.empty() && c != " " && previous != " " && !NeverStartsLine(c) &&
            !NeverEndsLine(previous))
            result += kAssWrapPoint;
        result += c;
        previous = c;
        pos += c.size();
    }
    return CString(result);
}

SAssColours GetAssColours(const CString& colourName)
{
    for (const SNamedColours& entry : kColourTable) {
        if (colourName == entry.name)
            return entry.colours;
    }
    return kOtherColours;
}

CString NumberedAssPath(const CString& basePath, int counter)
{
    CString number;
    number.Format("%d", counter);
    // Only the trailing extension: a folder named "x.ass" keeps its name.
    if (basePath.GetLength() >= 4 && basePath.Right(4) == ".ass")
        return basePath.Left(basePath.GetLength() - 4) + number + ".ass";
    return basePath + number + ".ass";
}

void RemoveWrittenSubtitleFiles(const CQuenlowApp& app)
{
    for (const CString* base : {&app.m_strAssBothBasePath, &app.m_strAssEngBasePath, &app.m_strAssChnBasePath}) {
        const int slash = base->ReverseFind('/');
        if (slash < 0 || base->Right(4) != ".ass")
            continue;
        const CString folder = base->Left(slash + 1);
        const std::string_view stem = base->view().substr(static_cast<size_t>(slash) + 1, base->GetLength() - slash - 5);
        for (const SFolderEntry& entry : ListFolder(folder)) {
            std::string_view name = entry.name.view();
            if (entry.isFolder || !name.starts_with(stem) || !name.ends_with(".ass"))
                continue;
            name = name.substr(stem.size(), name.size() - stem.size() - 4);
            if (!name.empty() && name.find_first_not_of("0123456789") == std::string_view::npos)
                DeleteFile(entry.path);
        }
        for (const SFolderEntry& entry : ListFolder(folder + kUtf8CopyFolder))
            if (!entry.isFolder)
                DeleteFile(entry.path);
    }
}

CString BuildAssHeader(const CString& colourName, const CString& fontSizeText)
{
    const SAssColours colours = GetAssColours(colourName);
    CString style;
    style.Format("Style: Default,微软雅黑,%d,%s,%s,&H00000000,&H00FFFF,0,0,0,0,100,100,0,0.00,1,1,0,2,5,5,5,134\n\n",
                 std::atoi(fontSizeText) + 4, colours.primary, colours.secondary);
    return CString("[Script Info]\nTitle:HalvikSoft\nOriginal Script:HalvikSoft\nSynch Point:1\nScriptType:v4.00+\n"
                   "Collisions:Normal\nTimer:100.0000\n\n[V4+ Styles]\n") +
           "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, "
           "Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, "
           "Alignment, MarginL, MarginR, MarginV, Encoding\n" +
           style + "[Events]\nFormat: Layer, Start, End, Style, Actor, MarginL, MarginR, MarginV, Effect, Text\n";
}

CString CQuenlowApp::FormatAssTime(const CString& ms) const
{
    // A subtitle time cannot be negative: an offset that moves a sentence
    // before the start of the media puts it at 0.
    const int64_t v = std::max<int64_t>(0, std::strtoll(ms, nullptr, 10));
    const int64_t h = v / 3600000;
    const int64_t m = (v / 1000 - h * 3600) / 60;
    const int64_t s = v / 1000 - h * 3600 - m * 60;
    const int64_t hundredths = v % 1000 / 10;
    CString text;
    text.Format("%" PRId64 ":%02" PRId64 ":%02" PRId64 ".%02" PRId64, h, m, s, hundredths);
    return text;
}

CString CQuenlowApp::FormatMinSec(int64_t ms) const { return ::FormatMinSec(ms); }

void CQuenlowApp::WriteAssFiles()
{
    ++m_nAssFileCounter;
    m_strAssBothPath = NumberedAssPath(m_strAssBothBasePath, m_nAssFileCounter);
    m_strAssEngPath = NumberedAssPath(m_strAssEngBasePath, m_nAssFileCounter);
    m_strAssChnPath = NumberedAssPath(m_strAssChnBasePath, m_nAssFileCounter);

    const CString header = BuildAssHeader(m_strSubtitleColor, m_strSubtitleFontSize);
    CString both = header;
    CString english = header;
    CString chinese = header;
    const bool englishFirst = m_strAssLineOrder == "engchn";
    const int count = m_arrForeignText.GetSize();
    for (int i = 0; i < count; ++i) {
        const SSentenceTiming timing =
            static_cast<size_t>(i) < m_arrSentenceTiming.size() ? m_arrSentenceTiming[static_cast<size_t>(i)]
                                                                 : SSentenceTiming{};
        const CString start = FormatAssTime(DecimalText(int64_t{timing.starttime} + m_nTimeOffset));
        const CString end = FormatAssTime(DecimalText(int64_t{timing.endtime} + m_nTimeOffset));
        const CString engText = AddWrapPoints(CleanDialogueText(m_arrForeignText[i]));
        const CString chnText =
            i < m_arrChineseText.GetSize() ? AddWrapPoints(CleanDialogueText(m_arrChineseText[i])) : CString();

        const CString prefix = "Dialogue: 0," + start + "," + end + ",*Default,NTP,0000,0000,0000,,";
        both += prefix + (englishFirst ? engText + "\\N " + chnText : chnText + "\\N " + engText) + "\n";
        english += prefix + engText + "\n";
        chinese += prefix + chnText + "\n";
    }

    // A file that cannot be written leaves the video without that subtitle;
    // the learner is told once, with the first such file named.
    const std::pair<const CString*, const CString*> files[] = {
        {&m_strAssBothPath, &both}, {&m_strAssEngPath, &english}, {&m_strAssChnPath, &chinese}};
    CString unwritten;
    for (const auto& [path, text] : files) {
        if (!WriteUtf8File(*path, *text) && unwritten.IsEmpty())
            unwritten = *path;
    }
    if (!unwritten.IsEmpty())
        ShowMessage("无法写入视频字幕文件：" + unwritten, "error", 5000);
}
