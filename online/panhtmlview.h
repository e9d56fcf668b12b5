// The web view of the cloud-disk browser pane: a panel filled by a browser
// control. Every navigation passes its recognition first: an address that
// downloads a file from a recognised cloud-storage service, or names a media
// file, is not loaded; a download-and-play command for the downloader goes
// to the frame's mailbox instead. Links meant for a new window open here.
#pragma once

#include <wx/panel.h>

#include "platform/cstring.h"

class CExplorer1;

class CPanHtmlView : public wxPanel {
public:
    enum { IDC_BROWSER = 1001 };

    CPanHtmlView() = default;

    bool Create(wxWindow* parent, int id);
    void Navigate(const CString& address);
    // Script-error dialogs: the browser control shows none, so this changes nothing.
    void SetSilent(bool silent);
    // True when the focused window is this view or one of its descendants.
    bool HasFocusWithin() const;

    // A navigation about to happen: true (cancel it) when the address was
    // handed to the downloader.
    bool OnBeforeNavigate2(const CString& address);
    void OnTitleChange(const CString& title) { m_strTitle = title; }
    void OnDocumentComplete() { m_bPageLoaded = 1; }
    // The first showing: the start page of the cloud-disk browser.
    void OnInitialUpdate();

    CExplorer1* m_wndBrowser = nullptr;
    CString m_strTargetName;   // the file name given to the downloader
    CString m_strUrl;          // the address being examined
    CString m_strTitle;        // the page's title
    CString m_strCommand;      // the composed downloader command
    int m_bPageLoaded = 0;     // 1 when a page has loaded; the pane clears it
};
