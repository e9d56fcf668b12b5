// Multibyte text in the program's ANSI code page (GB18030).
//
// Lengths and positions count bytes, as the stored files and the lesson
// offsets do; searching, replacing, trimming and case mapping step over whole
// characters, so a trail byte inside a Chinese character ("乕" is 81 5B) is
// never taken for the ASCII character it happens to equal ("[").
#pragma once

#include <compare>
#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// GB18030 character structure: a lead byte 0x81-0xFE starts a 2-byte
// character (trail 0x40-0xFE except 0x7F) or a 4-byte one (second and fourth
// byte 0x30-0x39, third 0x81-0xFE). Anything else is one byte.
bool IsDBCSLeadByte(unsigned char b);
// Byte length of the character that starts at text[pos] (1 for a broken or
// cut-off sequence, 0 at the end).
int CharLengthAt(std::string_view text, size_t pos);

class CString {
public:
    CString() = default;
    CString(const char* text) : m_s(text ? text : "") {}
    CString(const char* text, int length) : m_s(text ? std::string(text, static_cast<size_t>(length)) : std::string()) {}
    CString(std::string text) : m_s(std::move(text)) {}
    CString(std::string_view text) : m_s(text) {}
    CString(char ch, int repeat = 1) : m_s(static_cast<size_t>(repeat > 0 ? repeat : 0), ch) {}

    // Size and access (bytes).
    int GetLength() const { return static_cast<int>(m_s.size()); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    char GetAt(int index) const { return m_s.at(static_cast<size_t>(index)); }
    void SetAt(int index, char ch) { m_s.at(static_cast<size_t>(index)) = ch; }
    char operator[](int index) const { return GetAt(index); }
    operator const char*() const { return m_s.c_str(); }
    const char* GetString() const { return m_s.c_str(); }
    const std::string& str() const { return m_s; }
    std::string_view view() const { return m_s; }

    // Substrings (byte counts; out-of-range arguments are clamped).
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const char* set) const;
    CString SpanExcluding(const char* set) const;

    // Searching (character-aware; results are byte positions, -1 when absent).
    int Find(char ch, int start = 0) const;
    int Find(const char* sub, int start = 0) const;
    int ReverseFind(char ch) const;
    int FindOneOf(const char* set) const;

    // Editing (character-aware). Replace and Remove return the number of changes.
    int Replace(char oldCh, char newCh);
    int Replace(const char* oldText, const char* newText);
    int Remove(char ch);
    int Insert(int index, const char* text);
    int Insert(int index, char ch);
    int Delete(int index, int count = 1);
    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();
    CString& Trim();
    CString& Trim(char target);
    CString& Trim(const char* targets);
    CString& TrimLeft();
    CString& TrimLeft(char target);
    CString& TrimLeft(const char* targets);
    CString& TrimRight();
    CString& TrimRight(char target);
    CString& TrimRight(const char* targets);
    // Next token delimited by any of the characters in tokens, from pos on;
    // pos becomes -1 after the last token.
    CString Tokenize(const char* tokens, int& pos) const;

    // Comparison.
    int Compare(const char* other) const;
    int CompareNoCase(const char* other) const;

    // Formatting.
    void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void FormatV(const char* format, va_list args);

    CString& operator=(const char* text) { m_s = text ? text : ""; return *this; }
    CString& operator=(char ch) { m_s.assign(1, ch); return *this; }
    CString& operator+=(const CString& other) { m_s += other.m_s; return *this; }
    CString& operator+=(const char* text) { if (text) m_s += text; return *this; }
    CString& operator+=(char ch) { m_s += ch; return *this; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_s + (b ? b : "")); }
    friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_s); }
    friend CString operator+(const CString& a, char b) { return CString(a.m_s + b); }
    friend CString operator+(char a, const CString& b) { return CString(a + b.m_s); }

    friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
    friend bool operator==(const CString& a, const char* b) { return a.m_s == (b ? b : ""); }
    friend bool operator==(const char* a, const CString& b) { return b == a; }
    friend std::strong_ordering operator<=>(const CString& a, const CString& b) { return a.m_s <=> b.m_s; }

private:
    std::string m_s;
};

// The longest head of the text of at most maxBytes bytes that ends on a
// character boundary (a fixed-size buffer must never hold half a character).
CString TruncateAtCharBoundary(const CString& text, int maxBytes);

// The text with every carriage return and line feed taken out.
CString WithoutLineBreaks(const CString& text);
// The text as one line: every carriage return and line feed becomes a blank,
// so words stay apart and the text keeps its length.
CString LineBreaksAsBlanks(const CString& text);

// The framework's growable list of texts.
class CStringArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_items.empty(); }
    int Add(const CString& item) { m_items.push_back(item); return GetUpperBound(); }
    void RemoveAll() { m_items.clear(); }
    void RemoveAt(int index, int count = 1);
    void InsertAt(int index, const CString& item, int count = 1);
    void SetSize(int size) { m_items.resize(static_cast<size_t>(size > 0 ? size : 0)); }
    void SetAtGrow(int index, const CString& item);
    const CString& GetAt(int index) const { return m_items.at(static_cast<size_t>(index)); }
    void SetAt(int index, const CString& item) { m_items.at(static_cast<size_t>(index)) = item; }
    CString& ElementAt(int index) { return m_items.at(static_cast<size_t>(index)); }
    const CString& operator[](int index) const { return GetAt(index); }
    CString& operator[](int index) { return ElementAt(index); }
    void Copy(const CStringArray& other) { m_items = other.m_items; }
    int Append(const CStringArray& other);

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }

private:
    std::vector<CString> m_items;
};
