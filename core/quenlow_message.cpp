// The show-message slot: one pending notice (kind, text, seconds). The
// program's writers run on the user-interface thread (the update check's
// outcome comes back there before its notice is written) and the main frame's
// timers read and empty it; the three values still move under one lock, so a
// notice written from another thread arrives whole.
#include "core/quenlow.h"

void CQuenlowApp::ShowMessage(const CString& text, const CString& kind, int milliseconds)
{
    int kindNumber = kMessageInfo;
    if (kind == "error")
        kindNumber = kMessageError;
    else if (kind == "warning")
        kindNumber = kMessageWarning;
    SetMessage(kindNumber, text, milliseconds / 1000);
}

void CQuenlowApp::SetMessage(int kind, const CString& text, int seconds)
{
    const std::lock_guard<std::mutex> lock(m_messageLock);
    m_nMessageKind = kind;
    m_nMessageSeconds = seconds;
    m_strMessageText = text;
}

bool CQuenlowApp::TakeMessage(int& kind, CString& text, int& seconds)
{
    const std::lock_guard<std::mutex> lock(m_messageLock);
    if (m_strMessageText.GetLength() <= 1)
        return false;
    kind = m_nMessageKind;
    text = m_strMessageText;
    seconds = m_nMessageSeconds;
    m_strMessageText.Empty();
    return true;
}
