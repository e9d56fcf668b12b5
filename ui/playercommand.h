// The keyword command that windows post to the main frame ("HalvikSoftPlayerPlay:"
// and the others) with its argument. The event carries its own copies of both
// texts, so a second post before the frame handles the first loses nothing.
#pragma once

#include <wx/event.h>

#include "platform/cstring.h"

class CPlayerCommandEvent : public wxEvent {
public:
    CPlayerCommandEvent(const CString& keyword = CString(), const CString& argument = CString());
    wxEvent* Clone() const override { return new CPlayerCommandEvent(*this); }
    const CString& GetKeyword() const { return m_strKeyword; }
    const CString& GetArgument() const { return m_strArgument; }

private:
    CString m_strKeyword;
    CString m_strArgument;
};

wxDECLARE_EVENT(EVT_PLAYERCOMMAND, CPlayerCommandEvent);

// Queues a keyword command for the window (normally the main frame).
void PostPlayerCommand(wxEvtHandler* target, const CString& keyword, const CString& argument);
