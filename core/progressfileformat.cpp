#include "core/progressfileformat.h"

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
