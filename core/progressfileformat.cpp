#include "core/progressfileformat.h"

#include <algorithm>

bool IsProgressFileName(const CString& name)
{
    const CString extension(".data");
    const int stem = name.GetLength() - extension.GetLength();
    if (stem <= 0 || name.Right(extension.GetLength()) != extension)
        return false;
    for (int i = 0; i < stem; ++i) {
        if (name[i] < '0' || name[i] > '9')
            return false;
    }
    return true;
}

int ParsePercent(const CString& text)
{
    int value = 0;
    for (int i = 0; i < text.GetLength() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > 100000)   // no real percentage; stop before the int overflows
            break;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

CString PercentText(int64_t written, int64_t total, bool complete)
{
    if (complete)
        return "100";
    int64_t tenths = 0;
    if (total > 0 && written > 0)
        tenths = written >= total ? 999 : static_cast<int64_t>(static_cast<long double>(written) * 1000 / total);
    tenths = std::min<int64_t>(tenths, 999);
    CString text;
    text.Format("%lld.%lld", static_cast<long long>(tenths / 10), static_cast<long long>(tenths % 10));
    return text;
}
