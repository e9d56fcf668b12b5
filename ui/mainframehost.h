// What a subsystem's window may ask of the main frame: read the main player,
// play or pause, show the dictionary pane and look a word up in it, read and
// set the ribbon's stand-ins. The frame implements it and registers itself;
// windows call MainFrameHost(), which is null while no main frame exists
// (tests of a single window), so every caller checks.
#pragma once

#include <vector>

#include "platform/cstring.h"
#include "platform/wintypes.h"

class CVlcPlayer;
class wxEvtHandler;

class IMainFrameHost {
public:
    virtual ~IMainFrameHost() = default;

    // Where posted keyword commands go.
    virtual wxEvtHandler* CommandTarget() = 0;

    // ---- The main player ----
    // Null until the player pane holds its player.
    virtual CVlcPlayer* MainPlayer() = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    // Opens a media file with the lesson beside it in the main player.
    virtual void PlayMediaWithScript(const CString& mediaPath) = 0;
    // Hides the player pane (its player keeps playing). A host without the
    // pane has nothing to hide.
    virtual void HidePlayerPane() {}
    // Opens files dropped on a window of the frame as a drop on the frame
    // itself (the video window's drop).
    virtual void OpenDroppedFiles(const std::vector<CString>& /*paths*/) {}
    // Shows the current sentence's number in the status bar, at the moment
    // the lesson view takes up a new sentence.
    virtual void ShowSentenceCounter() {}

    // ---- The dictionary pane ----
    virtual bool IsDictionaryPaneVisible() = 0;
    // Shows the pane docked at half the screen's width.
    virtual void ShowDictionaryPane() = 0;
    virtual void LookUpWordInPane(const CString& word) = 0;
    // Opens an address in the pane's web page.
    virtual void NavigateDictionaryPane(const CString& address) = 0;
    // Looks the clipboard's text up in the pane (a phrase is translated),
    // unless it is the text looked up last.
    virtual void LookUpClipboardText() = 0;

    // ---- The pop-up dictionary browser ----
    // Shows `address` in the pop-up, its top left corner at the screen point
    // (x, y), without taking the focus from the lesson.
    virtual void ShowDictionaryPopup(const CString& address, int x, int y, int width, int height) = 0;
    void ShowDictionaryPopup(const CString& address, int x, int y) { ShowDictionaryPopup(address, x, y, 500, 350); }
    virtual void HideDictionaryPopup() = 0;
    // Readies the hidden pop-up for word pick-up: in the online look-up mode
    // its web view is made now, so the first word shown does not wait on it.
    virtual void PrepareDictionaryPopup() = 0;
    // Whether the screen point lies inside the shown pop-up.
    virtual bool IsInDictionaryPopup(int x, int y) = 0;

    // ---- The ribbon's stand-ins, by command id ----
    virtual CString GetComboText(int commandId) = 0;
    virtual void SetComboText(int commandId, const CString& text) = 0;
    virtual bool ComboHasFocus(int commandId) = 0;
    // Whether the combo's list holds the text.
    virtual bool ComboListHas(int commandId, const CString& text) = 0;
    virtual COLORREF GetColorButtonColor(int commandId) = 0;

    // The playlist pane takes the lesson's colours again.
    virtual void ApplyPlaylistColors() = 0;
};

IMainFrameHost* MainFrameHost();
// The frame registers itself when created and clears it when destroyed.
void SetMainFrameHost(IMainFrameHost* host);
