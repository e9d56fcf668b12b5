#include "core/quenlowdoc.h"

#include "platform/file.h"

bool CQuenlowDoc::OnNewDocument()
{
    m_strTitle = "未载入文件";
    return true;
}

bool CQuenlowDoc::OnOpenDocument(const CString& path)
{
    CFile file;
    if (!IsRegularFile(path) || !file.Open(path, CFile::modeRead))
        return false;
    (void)file.Close();   // read only: nothing to lose
    const int slash = path.ReverseFind('/');
    m_strTitle = path.Mid(slash + 1);
    return true;
}
