#include "platform/cstring.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

bool IsDBCSLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

int CharLengthAt(std::string_view text, size_t pos)
{
    if (pos >= text.size())
        return 0;
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    if (!IsDBCSLeadByte(byte(pos)) || pos + 1 >= text.size())
        return 1;
    const unsigned char second = byte(pos + 1);
    if (second >= 0x30 && second <= 0x39) {
        if (pos + 3 < text.size() && IsDBCSLeadByte(byte(pos + 2)) && byte(pos + 3) >= 0x30 && byte(pos + 3) <= 0x39)
            return 4;
        return 1;
    }
    if (second >= 0x40 && second <= 0xFE && second != 0x7F)
        return 2;
    return 1;
}

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Calls visit(pos, len) for each character from byte position start; stops
// when visit returns false.
template <typename Visit>
void ForEachChar(std::string_view text, size_t start, Visit visit)
{
    for (size_t pos = start; pos < text.size();) {
        const int len = CharLengthAt(text, pos);
        if (!visit(pos, len))
            return;
        pos += static_cast<size_t>(len);
    }
}

int FindAt(std::string_view text, std::string_view sub, size_t start)
{
    if (start > text.size())
        return -1;
    if (sub.empty())
        return static_cast<int>(start);
    int found = -1;
    ForEachChar(text, start, [&](size_t pos, int) {
        if (text.compare(pos, sub.size(), sub) == 0) {
            found = static_cast<int>(pos);
            return false;
        }
        return true;
    });
    return found;
}

bool IsSingleByteIn(std::string_view text, size_t pos, int len, std::string_view set)
{
    return len == 1 && set.find(text[pos]) != std::string_view::npos;
}

int Clamp(int value, int low, int high) { return std::max(low, std::min(value, high)); }

} // namespace

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const
{
    count = Clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(const char* set) const
{
    size_t end = 0;
    ForEachChar(m_s, 0, [&](size_t pos, int len) {
        if (!IsSingleByteIn(m_s, pos, len, set ? set : ""))
            return false;
        end = pos + static_cast<size_t>(len);
        return true;
    });
    return CString(m_s.substr(0, end));
}

CString CString::SpanExcluding(const char* set) const
{
    size_t end = m_s.size();
    ForEachChar(m_s, 0, [&](size_t pos, int len) {
        if (IsSingleByteIn(m_s, pos, len, set ? set : "")) {
            end = pos;
            return false;
        }
        return true;
    });
    return CString(m_s.substr(0, end));
}

int CString::Find(char ch, int start) const
{
    const char sub[2] = {ch, 0};
    return Find(sub, start);
}

int CString::Find(const char* sub, int start) const
{
    if (start < 0)
        start = 0;
    return FindAt(m_s, sub ? sub : "", static_cast<size_t>(start));
}

int CString::ReverseFind(char ch) const
{
    int found = -1;
    ForEachChar(m_s, 0, [&](size_t pos, int len) {
        if (len == 1 && m_s[pos] == ch)
            found = static_cast<int>(pos);
        return true;
    });
    return found;
}

int CString::FindOneOf(const char* set) const
{
    int found = -1;
    ForEachChar(m_s, 0, [&](size_t pos, int len) {
        if (IsSingleByteIn(m_s, pos, len, set ? set : "")) {
            found = static_cast<int>(pos);
            return false;
        }
        return true;
    });
    return found;
}

int CString::Replace(char oldCh, char newCh)
{
    int count = 0;
    ForEachChar(m_s, 0, [&](size_t pos, int len) {
        if (len == 1 && m_s[pos] == oldCh) {
            m_s[pos] = newCh;
            ++count;
        }
        return true;
    });
    return count;
}

int CString::Replace(const char* oldText, const char* newText)
{
    const std::string_view from = oldText ? oldText : "";
    const std::string_view to = newText ? newText : "";
    if (from.empty())
        return 0;
    std::string out;
    int count = 0;
    size_t copied = 0;
    for (int pos = FindAt(m_s, from, 0); pos >= 0; pos = FindAt(m_s, from, copied)) {
        out.append(m_s, copied, static_cast<size_t>(pos) - copied);
        out.append(to);
        copied = static_cast<size_t>(pos) + from.size();
        ++count;
    }
    if (count > 0) {
        out.append(m_s, copied);
        m_s.swap(out);
    }
    return count;
}

int CString::Remove(char ch)
{
    std::string out;
    out.reserve(m_s.size());
    int count = 0;
    ForEachChar(m_s, 0, [&](size_t pos, int len) {
        if (len == 1 && m_s[pos] == ch)
            ++count;
        else
            out.append(m_s, pos, static_cast<size_t>(len));
        return true;
    });
    m_s.swap(out);
    return count;
}

int CString::Insert(int index, const char* text)
{
    index = Clamp(index, 0, GetLength());
    m_s.insert(static_cast<size_t>(index), text ? text : "");
    return GetLength();
}

int CString::Insert(int index, char ch)
{
    index = Clamp(index, 0, GetLength());
    m_s.insert(static_cast<size_t>(index), 1, ch);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index >= 0 && index < GetLength() && count > 0)
        m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

CString& CString::MakeLower()
{
    ForEachChar(m_s, 0, [&](size_t pos, int len) {
        if (len == 1 && m_s[pos] >= 'A' && m_s[pos] <= 'Z')
            m_s[pos] = static_cast<char>(m_s[pos] - 'A' + 'a');
        return true;
    });
    return *this;
}

CString& CString::MakeUpper()
{
    ForEachChar(m_s, 0, [&](size_t pos, int len) {
        if (len == 1 && m_s[pos] >= 'a' && m_s[pos] <= 'z')
            m_s[pos] = static_cast<char>(m_s[pos] - 'a' + 'A');
        return true;
    });
    return *this;
}

CString& CString::MakeReverse()
{
    // Reverses the order of characters, keeping each character's bytes.
    std::string out(m_s.size(), '\0');
    size_t end = m_s.size();
    ForEachChar(m_s, 0, [&](size_t pos, int len) {
        end -= static_cast<size_t>(len);
        out.replace(end, static_cast<size_t>(len), m_s, pos, static_cast<size_t>(len));
        return true;
    });
    m_s.swap(out);
    return *this;
}

namespace {

template <typename IsTarget>
void TrimLeftWhere(std::string& s, IsTarget isTarget)
{
    size_t begin = s.size();
    ForEachChar(s, 0, [&](size_t pos, int len) {
        if (len == 1 && isTarget(s[pos]))
            return true;
        begin = pos;
        return false;
    });
    s.erase(0, begin);
}

template <typename IsTarget>
void TrimRightWhere(std::string& s, IsTarget isTarget)
{
    // The end of the last character that is not trimmed.
    size_t keep = 0;
    ForEachChar(s, 0, [&](size_t pos, int len) {
        if (!(len == 1 && isTarget(s[pos])))
            keep = pos + static_cast<size_t>(len);
        return true;
    });
    s.erase(keep);
}

auto InSet(const char* targets)
{
    std::string_view set = targets ? targets : "";
    return [set](char c) { return set.find(c) != std::string_view::npos; };
}

} // namespace

CString& CString::TrimLeft() { TrimLeftWhere(m_s, IsSpace); return *this; }
CString& CString::TrimLeft(char target) { TrimLeftWhere(m_s, [target](char c) { return c == target; }); return *this; }
CString& CString::TrimLeft(const char* targets) { TrimLeftWhere(m_s, InSet(targets)); return *this; }
CString& CString::TrimRight() { TrimRightWhere(m_s, IsSpace); return *this; }
CString& CString::TrimRight(char target) { TrimRightWhere(m_s, [target](char c) { return c == target; }); return *this; }
CString& CString::TrimRight(const char* targets) { TrimRightWhere(m_s, InSet(targets)); return *this; }
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char target) { return TrimRight(target).TrimLeft(target); }
CString& CString::Trim(const char* targets) { return TrimRight(targets).TrimLeft(targets); }

CString CString::Tokenize(const char* tokens, int& pos) const
{
    const auto isDelimiter = InSet(tokens);
    if (pos < 0 || pos >= GetLength()) {
        pos = -1;
        return CString();
    }
    size_t begin = std::string::npos;
    size_t end = m_s.size();
    ForEachChar(m_s, static_cast<size_t>(pos), [&](size_t at, int len) {
        const bool delimiter = len == 1 && isDelimiter(m_s[at]);
        if (begin == std::string::npos) {
            if (!delimiter)
                begin = at;
            return true;
        }
        if (delimiter) {
            end = at;
            return false;
        }
        return true;
    });
    if (begin == std::string::npos) {
        pos = -1;
        return CString();
    }
    pos = static_cast<int>(std::min(end + 1, m_s.size()));
    return CString(m_s.substr(begin, end - begin));
}

int CString::Compare(const char* other) const
{
    const int r = std::strcmp(m_s.c_str(), other ? other : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(const char* other) const
{
    CString a(*this), b(other);
    return a.MakeLower().Compare(b.MakeLower());
}

void CString::FormatV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0) {
        m_s.clear();
        return;
    }
    std::string out(static_cast<size_t>(needed) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(needed));
    m_s.swap(out);
}

void CString::Format(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const char* format, ...)
{
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_s += tail.m_s;
}

void CStringArray::RemoveAt(int index, int count)
{
    if (index < 0 || count <= 0 || index >= GetSize())
        return;
    const auto first = m_items.begin() + index;
    m_items.erase(first, first + std::min(count, GetSize() - index));
}

void CStringArray::InsertAt(int index, const CString& item, int count)
{
    if (count <= 0)
        return;
    if (index >= GetSize()) {
        SetSize(index);
        m_items.insert(m_items.end(), static_cast<size_t>(count), item);
        return;
    }
    m_items.insert(m_items.begin() + std::max(index, 0), static_cast<size_t>(count), item);
}

void CStringArray::SetAtGrow(int index, const CString& item)
{
    if (index < 0)
        return;
    if (index >= GetSize())
        SetSize(index + 1);
    m_items[static_cast<size_t>(index)] = item;
}

int CStringArray::Append(const CStringArray& other)
{
    const int first = GetSize();
    m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
    return first;
}

CString WithoutLineBreaks(const CString& text)
{
    CString result = text;
    result.Remove('\r');
    result.Remove('\n');
    return result;
}

CString LineBreaksAsBlanks(const CString& text)
{
    CString line = text;
    line.Replace("\r", " ");
    line.Replace("\n", " ");
    return line;
}

CString TruncateAtCharBoundary(const CString& text, int maxBytes)
{
    const std::string_view view = text.view();
    size_t end = 0;
    while (end < view.size()) {
        const size_t length = static_cast<size_t>(CharLengthAt(view, end));
        if (end + length > static_cast<size_t>(std::max(maxBytes, 0)))
            break;
        end += length;
    }
    return CString(view.substr(0, end));
}
