#include "ui/playercommand.h"

wxDEFINE_EVENT(EVT_PLAYERCOMMAND, CPlayerCommandEvent);

CPlayerCommandEvent::CPlayerCommandEvent(const CString& keyword, const CString& argument)
    : wxEvent(wxID_ANY, EVT_PLAYERCOMMAND), m_strKeyword(keyword), m_strArgument(argument)
{
}

void PostPlayerCommand(wxEvtHandler* target, const CString& keyword, const CString& argument)
{
    if (target)
        wxQueueEvent(target, new CPlayerCommandEvent(keyword, argument));
}
