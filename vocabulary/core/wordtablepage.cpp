#include "vocabulary/core/wordtablepage.h"

#include "platform/file.h"

namespace {

const char* const kCellTemplate =
    "<td width=\"7%\"><b><font face=\"HGPGyoshotai\" size=\"2\" color=\"tmpcolor\">tmpkeyword</font></b></td>";
const char* const kEmptyCell = "<td width=\"7%\"></td>";

CString EscapeHtml(const CString& text)
{
    CString escaped = text;
    escaped.Replace("&", "&amp;");   // first: the other replacements add "&"
    escaped.Replace("<", "&lt;");
    escaped.Replace(">", "&gt;");
    escaped.Replace("\"", "&quot;");
    escaped.Replace("'", "&#39;");
    return escaped;
}

// The first character of a word, ASCII letters folded, so that "Apple" and
// "apple" share a group; a Chinese first character counts whole.
std::string GroupKey(const CString& word)
{
    std::string key = word.str().substr(0, static_cast<size_t>(CharLengthAt(word.view(), 0)));
    if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z')
        key[0] = static_cast<char>(key[0] - 'A' + 'a');
    return key;
}

std::string Cell(const CString& word, const char* color)
{
    CString cell = kCellTemplate;
    // The colour goes in first: a word that reads "tmpcolor" stays a word.
    cell.Replace("tmpcolor", color);
    cell.Replace("tmpkeyword", EscapeHtml(word));
    return cell.str();
}

// The lines of a file without their "\r\n" or "\n".
std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

// The words of a word list: one a line, trimmed, empty lines skipped.
std::vector<CString> ParseWordList(const std::string& bytes)
{
    std::vector<CString> words;
    for (const std::string& line : SplitLines(bytes)) {
        CString word(line);
        word.Trim();
        if (!word.IsEmpty())
            words.push_back(word);
    }
    return words;
}

} // namespace

std::string MakeWordTableRows(const std::vector<CString>& words)
{
    std::string rows;
    int filled = 0;   // cells in the open row; 0 when no row is open
    bool mainClass = false;
    std::string group;
    auto closeRow = [&] {
        if (filled == 0)
            return;
        for (; filled < kWordTableColumns; ++filled)
            rows += std::string(kEmptyCell) + "\r\n";
        rows += "</tr>\r\n";
        filled = 0;
    };
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string key = GroupKey(words[i]);
        if (i == 0 || key != group) {
            closeRow();
            group = key;
            mainClass = !mainClass;
        }
        if (filled == 0)
            rows += std::string("<tr class=\"") + (mainClass ? kWordTableMainClass : kWordTableAltClass) + "\">\r\n";
        rows += Cell(words[i], mainClass ? kWordTableMainColor : kWordTableAltColor) + "\r\n";
        if (++filled == kWordTableColumns) {
            rows += "</tr>\r\n";
            filled = 0;
        }
    }
    closeRow();
    return rows;
}

bool WriteWordTablePage(const CString& wordFolder)
{
    std::string header;
    std::string wordList;
    // The shipped header is a few hundred bytes and the list a few hundred
    // kilobytes; anything past the bound is not theirs.
    constexpr int64_t kMaxSourceBytes = int64_t{16} * 1024 * 1024;
    if (ReadRegularFile(wordFolder + "header.html", header, kMaxSourceBytes) != EFileReadResult::Read ||
        ReadRegularFile(wordFolder + "wordlist.data", wordList, kMaxSourceBytes) != EFileReadResult::Read)
        return false;
    std::string page;
    for (const std::string& line : SplitLines(header))
        page += line + "\r\n";
    page += MakeWordTableRows(ParseWordList(wordList));
    page += "</tbody>\r\n</table>\r\n</body>\r\n</html>\r\n";
    return WriteFileAtomically(wordFolder + "word.html", page);
}
