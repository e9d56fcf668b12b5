// Online pages: the web engine's view. Linked into the program, the engine
// (WebKitGTK) would cost some 100 ms at every start before the first line of
// the program runs, though most sessions never show an online page; it lives
// in a library of its own beside the program (libquenlow_webview.so), loaded
// when the first online page is opened.
#pragma once

#include <functional>
#include <memory>

#include <wx/string.h>

class wxWindow;

class COnlinePage {
public:
    virtual ~COnlinePage() = default;
    // The view's window, a child of the parent it was created in.
    virtual wxWindow* GetWindow() = 0;
    virtual void LoadUrl(const wxString& address) = 0;
    virtual wxString GetCurrentUrl() const = 0;
    virtual bool IsBusy() const = 0;
    // Runs a script in the page shown, without waiting for its result. The
    // view must outlive the result: the toolkit hands it to the view by a
    // plain pointer.
    virtual void RunScript(const wxString& javascript) = 0;
    virtual wxString GetCurrentTitle() const = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Stop() = 0;
    virtual void Reload() = 0;
    // Copies the page's selection to the clipboard.
    virtual void Copy() = 0;
    // Finds text in the page shown (any case, forward, on from the start
    // after the last match): each call with the same text selects the next
    // match, and all of them are highlighted. The number of matches for a
    // new text, the place of the match for a repeated one, -1 for none.
    // Empty text ends the search.
    virtual long Find(const wxString& text) = 0;
    // Runs `script` once in the page shown and in every page loaded after
    // it, with a function post(text) in its scope that hands text to
    // onMessage. False when the engine offers no script messages or the
    // channel's name is taken in this view.
    virtual bool AddScriptListener(const wxString& channel, const wxString& script,
                                   std::function<void(const wxString& message)> onMessage) = 0;
};

// Why a page could not be loaded.
enum class EOnlineLoadError {
    Connection,       // no network, an unknown host, a refused or broken connection
    Certificate,      // the site's certificate is not valid
    Authentication,   // the site asks for a log-in
    Security,         // the engine's security settings refused it
    NotFound,         // no such page or resource
    Request,          // the request itself was wrong (an address the engine cannot use)
    Other,
};

struct SOnlinePageOptions {
    // Links and scripts that would open a new window open in this view.
    bool newWindowsInPlace = false;
    // Called with the word a double click selects in a page.
    std::function<void(const wxString& word)> onWordPicked;
    // Called before every navigation of the view; true cancels it.
    std::function<bool(const wxString& address)> onNavigating;
    // Called when the page's title changes, and when a page has loaded.
    std::function<void(const wxString& title)> onTitleChanged;
    std::function<void()> onLoaded;
    // Called when a page fails to load, with its address and the reason (a
    // load the view stopped itself, for another address, is no failure);
    // the engine's own error page is shown unless this shows another page.
    std::function<void(const wxString& address, EOnlineLoadError error)> onLoadFailed;
};

// A view of online pages in `parent`; null when the library or a web engine
// is missing.
std::unique_ptr<COnlinePage> CreateOnlinePage(wxWindow* parent, const SOnlinePageOptions& options);

// The library's one entry point, by the name kOnlinePageEntry.
using CreateOnlinePageFunction = COnlinePage* (*)(wxWindow* parent, const SOnlinePageOptions* options);
constexpr const char* kOnlinePageLibrary = "libquenlow_webview.so";
constexpr const char* kOnlinePageEntry = "QuenlowCreateOnlinePage";
