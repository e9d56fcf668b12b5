// The online-page view of libquenlow_webview.so: the toolkit's web view over
// the platform's web engine (see ui/onlinepage.h).
#include <wx/webview.h>

#include "ui/onlinepage.h"

namespace {

// Pages tell the word a double click selected through this channel.
const char* const kWordPickChannel = "quenlowWordPick";

// Every channel's messages arrive as the one script-message event, and this
// engine's events do not name the channel (GetMessageHandler() is empty), so
// each message starts with its channel's name and a newline.
//
// Registers `channel`, has every page loaded from now on run `script` once,
// with a function post(text) that hands text to onMessage, and returns the
// script as pages run it; empty when the channel cannot be registered.
wxString ListenToScript(wxWebView* web, const wxString& channel, const wxString& script,
                        std::function<void(const wxString&)> onMessage)
{
    if (!web->AddScriptMessageHandler(channel))
        return wxString();
    web->Bind(wxEVT_WEBVIEW_SCRIPT_MESSAGE_RECEIVED, [prefix = channel + "\n", onMessage](wxWebViewEvent& event) {
        wxString text;
        if (!event.GetString().StartsWith(prefix, &text)) {
            event.Skip();
            return;
        }
        onMessage(text);
    });
    const wxString pageScript = wxString::Format("(function (post) {"
                                                 "  if (window.%s_ran) return;"
                                                 "  window.%s_ran = true;"
                                                 "  %s"
                                                 "})(function (text) {"
                                                 "  window.webkit.messageHandlers.%s.postMessage('%s\\n' + String(text));"
                                                 "});",
                                                 channel, channel, script, channel, channel);
    web->AddUserScript(pageScript);
    return pageScript;
}

class COnlineWebPage : public COnlinePage {
public:
    explicit COnlineWebPage(wxWebView* web) : m_web(web) {}

    wxWindow* GetWindow() override { return m_web; }
    void LoadUrl(const wxString& address) override { m_web->LoadURL(address); }
    wxString GetCurrentUrl() const override { return m_web->GetCurrentURL(); }
    bool IsBusy() const override { return m_web->IsBusy(); }
    void RunScript(const wxString& javascript) override { m_web->RunScriptAsync(javascript); }
    wxString GetCurrentTitle() const override { return m_web->GetCurrentTitle(); }
    void GoBack() override
    {
        if (m_web->CanGoBack())
            m_web->GoBack();
    }
    void GoForward() override
    {
        if (m_web->CanGoForward())
            m_web->GoForward();
    }
    void Stop() override { m_web->Stop(); }
    void Reload() override { m_web->Reload(); }
    void Copy() override { m_web->Copy(); }
    long Find(const wxString& text) override
    {
        const bool repeated = text == m_findText;
        m_findText = text;
        const long found = m_web->Find(text, wxWEBVIEW_FIND_WRAP | wxWEBVIEW_FIND_HIGHLIGHT_RESULT);
        // This engine answers a text it does not find with 0 matches.
        if (!repeated)
            m_nFindCount = found == wxNOT_FOUND ? 0 : found;
        return m_nFindCount <= 0 ? -1 : found;
    }
    bool AddScriptListener(const wxString& channel, const wxString& script,
                           std::function<void(const wxString&)> onMessage) override
    {
        const wxString pageScript = ListenToScript(m_web, channel, script, std::move(onMessage));
        if (pageScript.empty())
            return false;
        // The user script reaches the pages loaded from now on; the page
        // shown runs it now. The call waits for the script: an answer that
        // came after the view had gone would reach freed memory (the
        // toolkit's callback keeps a plain pointer to the view).
        m_web->RunScript(pageScript);
        return true;
    }

private:
    wxWebView* m_web;
    wxString m_findText;
    long m_nFindCount = 0;
};

EOnlineLoadError LoadErrorOf(int navigationError, const wxString& message)
{
    // The engine reports a refused connection or an unknown host ("Could not
    // connect", "Error resolving ...") as an unclassified error: its message
    // tells which.
    const wxString lowered = message.Lower();
    if (navigationError == wxWEBVIEW_NAV_ERR_OTHER) {
        if (lowered.Contains("connect") || lowered.Contains("resolv") || lowered.Contains("network") ||
            lowered.Contains("timed out"))
            return EOnlineLoadError::Connection;
        if (lowered.Contains("certificate") || lowered.Contains("tls"))
            return EOnlineLoadError::Certificate;
    }
    switch (navigationError) {
    case wxWEBVIEW_NAV_ERR_CONNECTION: return EOnlineLoadError::Connection;
    case wxWEBVIEW_NAV_ERR_CERTIFICATE: return EOnlineLoadError::Certificate;
    case wxWEBVIEW_NAV_ERR_AUTH: return EOnlineLoadError::Authentication;
    case wxWEBVIEW_NAV_ERR_SECURITY: return EOnlineLoadError::Security;
    case wxWEBVIEW_NAV_ERR_NOT_FOUND: return EOnlineLoadError::NotFound;
    case wxWEBVIEW_NAV_ERR_REQUEST: return EOnlineLoadError::Request;
    default: return EOnlineLoadError::Other;
    }
}

// The handlers hold the view and the options' callback, never the page
// object, which its owner may delete before the window goes.
void AddBehaviour(wxWebView* web, const SOnlinePageOptions& options)
{
    if (options.newWindowsInPlace) {
        // A link with a new-window target asks for a window: its page loads here.
        web->Bind(wxEVT_WEBVIEW_NEWWINDOW, [web](wxWebViewEvent& event) { web->LoadURL(event.GetURL()); });
        // A script's window.open loading here the same way aborts the program
        // inside this platform's engine; the page's window.open is replaced by
        // one that opens the address here.
        web->AddUserScript("window.open = function (url) { if (url) location.assign(url); return window; };");
    }
    if (options.onWordPicked)
        ListenToScript(web, kWordPickChannel,
                       "document.addEventListener('dblclick', function () {"
                       "  var word = String(window.getSelection()).trim();"
                       "  if (word) post(word);"
                       "});",
                       options.onWordPicked);
    if (options.onNavigating)
        web->Bind(wxEVT_WEBVIEW_NAVIGATING, [navigating = options.onNavigating](wxWebViewEvent& event) {
            if (navigating(event.GetURL()))
                event.Veto();
        });
    if (options.onTitleChanged)
        web->Bind(wxEVT_WEBVIEW_TITLE_CHANGED,
                  [changed = options.onTitleChanged](wxWebViewEvent& event) { changed(event.GetString()); });
    if (options.onLoaded)
        web->Bind(wxEVT_WEBVIEW_LOADED, [loaded = options.onLoaded](wxWebViewEvent&) { loaded(); });
    if (options.onLoadFailed)
        web->Bind(wxEVT_WEBVIEW_ERROR, [failed = options.onLoadFailed](wxWebViewEvent& event) {
            // A load replaced by another one is cancelled, not failed.
            if (event.GetInt() != wxWEBVIEW_NAV_ERR_USER_CANCELLED)
                failed(event.GetURL(), LoadErrorOf(event.GetInt(), event.GetString()));
        });
}

} // namespace

extern "C" __attribute__((visibility("default"))) COnlinePage* QuenlowCreateOnlinePage(
    wxWindow* parent, const SOnlinePageOptions* options)
{
    if (!wxWebView::IsBackendAvailable(wxWebViewBackendDefault))
        return nullptr;
    wxWebView* web = wxWebView::New(parent, wxID_ANY, wxString());
    if (web == nullptr)
        return nullptr;
    AddBehaviour(web, *options);
    return new COnlineWebPage(web);
}
