// The document: it carries nothing but the window title. Lessons and media
// are opened through the program's own commands, never through a document.
#pragma once

#include "platform/cstring.h"

class CQuenlowDoc {
public:
    // A new, empty document: the title becomes "未载入文件".
    bool OnNewDocument();
    // Opening a file only names the window after it; nothing is loaded.
    // False (and the title unchanged) when the file cannot be read.
    bool OnOpenDocument(const CString& path);
    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(const CString& title) { m_strTitle = title; }

private:
    CString m_strTitle;
};
