// The web-browser control of the dialogs and forms that show web pages. Local
// pages (a path, a file:// address, "about:blank") are shown in a light HTML
// window; an http or https address creates a full web view the first time
// one is needed (the WebKit view costs about 0.4 GB, so local pages never
// create it). A local page that cannot be read shows blank, and without a
// web-view backend online addresses show nothing; an online page that fails
// to load is replaced by a page of our own that names the cause in Chinese,
// never the engine's English error page.
#pragma once

#include <functional>
#include <string>
#include <memory>
#include <string>

#include <wx/panel.h>

#include "platform/cstring.h"

class wxHtmlWindow;
class COnlinePage;
enum class EOnlineLoadError;

class CExplorer1 : public wxPanel {
public:
    CExplorer1();
    ~CExplorer1() override;

    bool Create(wxWindow* parent, int id);
    // A browser that fills `parent` (the parent gets a sizer holding it);
    // null when it cannot be created.
    static CExplorer1* CreateFilling(wxWindow* parent, int id);

    // Opens an address given in program text.
    void Navigate(const CString& address);

    // The address shown: the web view's current address when it shows the
    // page, otherwise the last local address opened.
    CString GetLocationURL() const;

    // Called with the word a double click picks in the page shown: the
    // selection the page makes of it (the clipboard is left alone).
    using WordPicker = std::function<void(const CString& word)>;
    void SetWordPicker(WordPicker picker);
    // Links and scripts that would open a new window open here instead.
    void SetNewWindowsInPlace(bool inPlace) { m_bNewWindowsInPlace = inPlace; }
    // Asked before every navigation, the page's own links included; true
    // cancels it (the address was handled elsewhere).
    using NavigationFilter = std::function<bool(const CString& address)>;
    void SetNavigationFilter(NavigationFilter filter) { m_filter = std::move(filter); }
    // Told the page's title when it changes, and that a page has loaded.
    void SetPageListeners(std::function<void(const CString& title)> onTitle, std::function<void()> onLoaded)
    {
        m_onTitle = std::move(onTitle);
        m_onLoaded = std::move(onLoaded);
    }
    // History and loading of the online page (nothing for a local page).
    void GoBack();
    void GoForward();
    void Stop();
    void Reload();
    CString GetTitle() const;
    // Finds text in the online page shown (COnlinePage::Find); -1 for a
    // local page, which has no find.
    long Find(const CString& text);

    // Creates the web view now, hidden, so that the first online page opened
    // later shows without waiting for the engine to start.
    void PrepareOnlinePage();
    bool HasWebView() const { return m_online != nullptr; }
    COnlinePage* GetWebView() const { return m_online.get(); }
    wxHtmlWindow* GetHtmlWindow() const;

    // How Navigate treats an address.
    enum class AddressKind { Blank, Local, Online, Unsupported };
    static AddressKind ClassifyAddress(const CString& address);
    // The file path (program text) of a local address: a path as it stands,
    // or a file:// address with its %-escapes decoded.
    static CString LocalPathOf(const CString& address);
    // The text of an HTML file: UTF-8 when the bytes are valid UTF-8 (a byte
    // order mark is dropped), GB18030 otherwise.
    static wxString DecodePageBytes(const std::string& bytes);
    // The page shown in place of an online page that failed to load.
    static wxString LoadErrorPage(const CString& address, EOnlineLoadError error);

    // A page the program made but could not write to its file (a read-only
    // program folder): every browser that opens that local path shows these
    // bytes instead of what the file still holds, until the file is written
    // again and the stand-in is dropped.
    static void SetLocalPageStandIn(const CString& path, std::string bytes);
    static void DropLocalPageStandIn(const CString& path);

private:
    class LocalPageWindow;
    friend class LocalPageWindow;

    void ShowLocal(const CString& path);
    bool EnsureOnlinePage();
    void ShowOnline(const CString& address);
    void ShowOnly(wxWindow* window);
    void PickSelectedWord();
    void ShowLoadError(const wxString& address, EOnlineLoadError error);

    LocalPageWindow* m_html = nullptr;
    std::unique_ptr<COnlinePage> m_online;
    wxWindow* m_web = nullptr;   // the online page's window
    bool m_bWebShown = false;
    CString m_strLocation;
    WordPicker m_picker;
    bool m_bNewWindowsInPlace = false;
    NavigationFilter m_filter;
    std::function<void(const CString&)> m_onTitle;
    std::function<void()> m_onLoaded;
};
