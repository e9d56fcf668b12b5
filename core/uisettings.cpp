// Reading and writing the window settings file. Keywords are compared
// case-sensitively; free-form lines (font face, colour name, switches) are
// taken as they stand.
#include "core/uisettings.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file.h"
#include "core/quenlow.h"

namespace {

constexpr COLORREF kDefaultTextColor = 0xF0FBFF;
constexpr COLORREF kDefaultBackColor = 0x535353;
constexpr int kDefaultFontSize = 16;
constexpr int kMinFontSize = 12;
constexpr int kMaxFontSize = 50;
constexpr int kDefaultVolume = 75;
constexpr int kMinSubtitleFontSize = 12;
constexpr int kMaxSubtitleFontSize = 20;
// A shorter file is ignored: lines 15 and 16 only tell that it is complete.
constexpr size_t kMinLineCount = 16;
constexpr int kTrailerLines = 5;
// Lines 20 to 22: the lesson text's effects.
constexpr size_t kEffectsFirstLine = 19;
// Line 23: the text margin.
constexpr size_t kMarginLine = 22;
constexpr int kMaxTextMargin = 1000;

// The file's lines without their line ends ("\n" or "\r\n"). A last line
// without a line end still counts; a final line end opens no new line.
std::vector<CString> SplitLines(std::string_view bytes)
{
    std::vector<CString> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

// The number at the start of the text as atoi reads it (leading blanks, a
// sign, digits; 0 when there is none).
long long ParseNumber(const CString& text) { return std::strtoll(text.GetString(), nullptr, 10); }

int ParseInt(const CString& text)
{
    const long long value = ParseNumber(text);
    if (value < INT_MIN)
        return INT_MIN;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

// Colours are written signed; a number written unsigned reads the same.
COLORREF ParseColor(const CString& text) { return static_cast<COLORREF>(static_cast<uint64_t>(ParseNumber(text))); }


bool IsOneOf(const CString& value, std::initializer_list<const char*> keywords)
{
    for (const char* keyword : keywords) {
        if (value == keyword)
            return true;
    }
    return false;
}

// Appends one line. A value is cut at an embedded line end so that it cannot
// shift the lines after it; GB18030 trail bytes never equal CR or LF.
void AppendLine(std::string& text, std::string_view value)
{
    const size_t end = value.find_first_of("\r\n");
    text += value.substr(0, end);
    text += "\r\n";
}

std::string ColorText(COLORREF color) { return std::to_string(static_cast<int32_t>(color)); }

} // namespace

void LoadUiSettings(CQuenlowApp& app, const CString& path)
{
    RemoveLeftoverTemporaryFiles(path);
    // The file holds some twenty short lines. One that is there but is no
    // regular file or passes the bound (a FIFO, a file of gigabytes) is not
    // read: the defaults stay and the learner is told.
    std::string bytes;
    const EFileReadResult read = ReadRegularFile(path, bytes, kMaxUiSettingsBytes);
    if (read != EFileReadResult::Read) {
        if (FileExists(path))
            app.ShowMessage("界面设置文件无法使用（不是普通文件或太大），已使用默认设置：" + path, "warning", 8000);
        return;
    }
    const std::vector<CString> lines = SplitLines(bytes);
    if (lines.size() < kMinLineCount)
        return;

    app.m_strFontName = lines[0].GetLength() >= 2 ? lines[0] : CString("Arial");
    app.m_strFontName = TruncateAtCharBoundary(app.m_strFontName, kMaxFontNameBytes);

    app.m_nFontSize = ParseInt(lines[1]);
    if (app.m_nFontSize < kMinFontSize) {
        // Lines 3 and 4 are skipped, not used.
        app.m_nFontSize = kDefaultFontSize;
        app.m_clrText = kDefaultTextColor;
        app.m_clrBackground = kDefaultBackColor;
    } else {
        app.m_clrText = ParseColor(lines[2]);
        app.m_clrBackground = ParseColor(lines[3]);
    }
    app.m_strWordLookupMode = lines[4];
    app.m_strSkipBlank = lines[5];
    app.m_strShowChinese = lines[6];
    app.m_strTextLayout = lines[7];
    app.m_nVolume = ParseInt(lines[8]);
    app.m_strAutoPlayExample = lines[9];
    app.m_strAssLineOrder = lines[10];
    app.m_strSubtitleColor = lines[11];
    app.m_strSubtitleFontSize = lines[12];
    app.m_strClickReadMode = lines[13];
    if (lines.size() >= kEffectsFirstLine + 3) {
        app.m_strTextBold = lines[kEffectsFirstLine];
        app.m_strTextItalic = lines[kEffectsFirstLine + 1];
        app.m_strTextUnderline = lines[kEffectsFirstLine + 2];
    }
    if (lines.size() > kMarginLine) {
        const int margin = ParseInt(lines[kMarginLine]);
        app.m_nTextMargin = margin >= 0 && margin <= kMaxTextMargin ? margin : 0;
    }

    if (app.m_nFontSize > kMaxFontSize) {
        app.m_nFontSize = kDefaultFontSize;
        app.m_clrText = kDefaultTextColor;
        app.m_clrBackground = kDefaultBackColor;
    }
    if (!IsOneOf(app.m_strWordLookupMode, {"OnWordHome", "OnWordWeb"}))
        app.m_strWordLookupMode = "OnWordHome";
    if (!IsOneOf(app.m_strTextLayout, {"script", "para", "engchn"}))
        app.m_strTextLayout = "script";
    if (app.m_nVolume < 0 || app.m_nVolume > 100)
        app.m_nVolume = kDefaultVolume;
    if (!IsOneOf(app.m_strAssLineOrder, {"engchn", "chneng"}))
        app.m_strAssLineOrder = "engchn";
    const int subtitleSize = ParseInt(app.m_strSubtitleFontSize);
    if (subtitleSize < kMinSubtitleFontSize || subtitleSize > kMaxSubtitleFontSize)
        app.m_strSubtitleFontSize = "16";
    if (!IsOneOf(app.m_strClickReadMode, {"Pause", "Continue"}))
        app.m_strClickReadMode = "Pause";
}

bool SaveUiSettings(CQuenlowApp& app, const CString& path)
{
    // No font chosen yet (size below 12): the file gets the default size and
    // colours, so the next start shows what the first one did.
    const bool defaultFont = app.m_nFontSize < kMinFontSize;
    const COLORREF textColor = defaultFont ? kDefaultTextColor : app.m_clrText;
    const COLORREF backColor = defaultFont ? kDefaultBackColor : app.m_clrBackground;

    std::string text;
    AppendLine(text, app.m_strFontName.GetLength() > 1 ? app.m_strFontName.view() : std::string_view("Arial"));
    AppendLine(text, std::to_string(defaultFont ? kDefaultFontSize : app.m_nFontSize));
    AppendLine(text, ColorText(textColor));
    AppendLine(text, ColorText(backColor));
    AppendLine(text, app.m_strWordLookupMode.view());
    AppendLine(text, app.m_strSkipBlank.view());
    AppendLine(text, app.m_strShowChinese.view());
    AppendLine(text, app.m_strTextLayout.view());
    AppendLine(text, std::to_string(app.m_nVolume));
    AppendLine(text, app.m_strAutoPlayExample.view());
    AppendLine(text, app.m_strAssLineOrder.view());
    AppendLine(text, app.m_strSubtitleColor.view());
    AppendLine(text, app.m_strSubtitleFontSize.view());
    AppendLine(text, app.m_strClickReadMode.view());
    for (int i = 0; i < kTrailerLines; ++i)
        AppendLine(text, "999");
    AppendLine(text, app.m_strTextBold.view());
    AppendLine(text, app.m_strTextItalic.view());
    AppendLine(text, app.m_strTextUnderline.view());
    AppendLine(text, std::to_string(app.m_nTextMargin));

    if (!WriteFileAtomically(path, text))
        return false;
    app.m_clrText = textColor;
    app.m_clrBackground = backColor;
    return true;
}
