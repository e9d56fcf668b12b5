#include "vocabulary/docevthandler.h"

#include "ui/explorer1.h"
#include "ui/onlinepage.h"
#include "ui/wxtext.h"

namespace {

// Listens for clicks in the capture phase, so that a page that stops a
// click's propagation still reports it.
const char* const kClickScript =
    "document.addEventListener('click', function (event) {"
    "  for (var e = event.target; e; e = e.parentElement) {"
    "    if (e.tagName === 'a' || e.tagName === 'A') {"
    "      post(e.innerText !== undefined ? e.innerText : e.textContent);"
    "      return;"
    "    }"
    "  }"
    "}, true);";

} // namespace

SDocEvtHandler::SDocEvtHandler() : m_self(std::make_shared<SDocEvtHandler*>(this))
{
    static int s_nextChannel = 0;
    m_strChannel = wxString::Format("quenlowLinkClick%d", ++s_nextChannel);
}

SDocEvtHandler::~SDocEvtHandler()
{
    *m_self = nullptr;
}

bool SDocEvtHandler::Attach(CExplorer1* browser)
{
    COnlinePage* page = browser ? browser->GetWebView() : nullptr;
    if (page == nullptr)
        return false;
    return page->AddScriptListener(m_strChannel, kClickScript, [self = m_self](const wxString& text) {
        if (*self)
            (*self)->m_strText = FromWx(text);
    });
}
