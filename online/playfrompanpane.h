// The cloud-disk browser pane ("网盘浏览器", id 605): a toolbar for page
// navigation, an address box with the list of visited pages, and the web
// view that hands download links to the downloader. A second view is created
// hidden and never shown. Neither view loads a page until the pane is first
// shown, since an online page needs a costly browser engine.
#pragma once

#include <wx/timer.h>

#include "ui/viewbase.h"

class CPanHtmlView;
class CPaneToolBar;
class wxComboBox;

class CPlayFromPanPane : public CDockablePane {
public:
    // The view shown gets an id of the toolkit's choosing: its own number
    // lies above the toolkit's window ids (kLargestToolkitId).
    enum { IDC_TOOLBAR = 131, IDC_SPARE_VIEW = 2073 };
    // Timer 300 follows an address chosen from the list; 400 records a
    // visited page once it has loaded.
    enum EPanPaneTimer { kTimerChosenAddress = 300, kTimerRecordPage = 400 };
    // The visited-page list keeps at most this many rows; beyond it the
    // oldest kPrunedRows go.
    static constexpr int kMaxVisitedRows = 100;
    static constexpr int kPrunedRows = 50;

    CPlayFromPanPane();
    ~CPlayFromPanPane() override;

    // Caption "网盘浏览器", id 605.
    bool Create(wxWindow* frame, const CString& caption, int id) override;

    // The first showing: the view goes to the start page.
    void OnFirstShow();
    void OnCommand(int command);
    // Enter in the address box.
    void OnAddressEntered();
    // Fills the list with the visited pages, newest first, and forgets the
    // oldest when there are too many.
    void OnDropDownAddress();
    void OnChosenAddressTick();
    void OnRecordPageTick();
    // Asks the frame to widen the pane.
    void OnMaxPanPane();

    CPanHtmlView* m_wndView = nullptr;        // the view shown
    CPanHtmlView* m_wndSpareView = nullptr;   // created hidden
    CPaneToolBar* m_wndToolBar = nullptr;
    wxComboBox* m_wndAddress = nullptr;
    CString m_strTypedAddress;
    CString m_strLastAddress;      // the last address sent by Enter
    CString m_strPendingAddress;   // waiting for its page to load

private:
    // The address box's text up to a "(" (the title part of a list entry).
    static CString AddressOf(CString text);
    // Navigates to an address with a scheme ("http://" put in front when it
    // has none); false, with an error, when it still has none in front.
    bool NavigateTo(CString address);

    wxTimer m_chosenTimer;
    wxTimer m_recordTimer;
    bool m_bShownOnce = false;
};
