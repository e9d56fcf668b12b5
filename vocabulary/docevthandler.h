// Keeps the text of the last link clicked in a browser's pages: a click
// anywhere inside an "a" element (on the link's own text or on an image or
// span within it) gives the inner text of the nearest such element. Only
// the web view's pages run scripts, so clicks in the light local-page window
// are not seen. Nothing creates it.
#pragma once

#include <memory>

#include <wx/string.h>

#include "platform/cstring.h"

class CExplorer1;

class SDocEvtHandler {
public:
    SDocEvtHandler();
    ~SDocEvtHandler();
    SDocEvtHandler(const SDocEvtHandler&) = delete;
    SDocEvtHandler& operator=(const SDocEvtHandler&) = delete;

    // Listens to clicks in the browser's online page and in every page it
    // opens after it. False when the browser has no online page yet or the
    // web engine offers no script messages.
    bool Attach(CExplorer1* browser);

    CString m_strText;   // the inner text of the last link clicked

private:
    // The script's messages reach the handler through this; the browser may
    // outlive the handler, which clears it when it goes.
    std::shared_ptr<SDocEvtHandler*> m_self;
    wxString m_strChannel;   // its own: a view takes each channel name once
};
