#include "platform/pathname.h"

CString FileNameOf(const CString& path)
{
    return path.Mid(path.ReverseFind('/') + 1);
}

CString FolderOf(const CString& path)
{
    return path.Left(path.ReverseFind('/') + 1);
}

CString WithExtension(const CString& path, const char* extension)
{
    const int slash = path.ReverseFind('/');
    const int dot = path.ReverseFind('.');
    return (dot > slash + 1 ? path.Left(dot) : path) + extension;
}
