#include "downloader/address.h"

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string TransferAddress(std::string_view utf8Address)
{
    if (utf8Address.size() > kMaxAddressBytes)
        return std::string();
    size_t schemeLength = 0;
    if (StartsWithNoCase(utf8Address, "http://"))
        schemeLength = 7;
    else if (StartsWithNoCase(utf8Address, "https://"))
        schemeLength = 8;
    else if (StartsWithNoCase(utf8Address, "ftp://"))
        schemeLength = 6;
    if (schemeLength == 0 || utf8Address.size() == schemeLength || utf8Address[schemeLength] == '/')
        return std::string();
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8Address.size());
    for (const char ch : utf8Address) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0x0F];
        } else {
            out += ch;
        }
    }
    return out.size() > kMaxAddressBytes ? std::string() : out;
}

std::string FileNameOfAddress(std::string_view utf8Address)
{
    std::string_view path = utf8Address.substr(0, utf8Address.find_first_of("?#"));
    const size_t scheme = path.find("://");
    if (scheme != std::string_view::npos) {
        path.remove_prefix(scheme + 3);
        const size_t slash = path.find('/');
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash);
    }
    const std::string_view last = path.substr(path.rfind('/') + 1);
    std::string name;
    for (size_t i = 0; i < last.size(); ++i) {
        if (last[i] == '%' && i + 2 < last.size() && HexValue(last[i + 1]) >= 0 && HexValue(last[i + 2]) >= 0) {
            name += static_cast<char>(HexValue(last[i + 1]) * 16 + HexValue(last[i + 2]));
            i += 2;
        } else {
            name += last[i];
        }
    }
    if (name.empty() || name[0] == '.')
        return std::string();
    for (const char ch : name) {
        if (ch == '/' || ch == '\\' || static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F)
            return std::string();
    }
    return name;
}
