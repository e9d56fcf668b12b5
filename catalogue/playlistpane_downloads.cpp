// The playlist pane's talk downloads: one download command per selected
// talk goes to the downloader on the clipboard; and playing a talk from the
// podcast host.
#include "catalogue/playlistpane.h"

#include <wx/clipbrd.h>

#include "catalogue/localviewtree.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"

std::vector<CString> CPlayListPane::SelectedTalkFileNames() const
{
    std::vector<CString> names;
    for (const wxTreeItemId item : m_wndTree->GetSelectedShownItems()) {
        const CString name = TalkFileNameOf(FromWx(m_wndTree->GetItemText(item)));
        if (!name.IsEmpty())
            names.push_back(name);
    }
    return names;
}

void CPlayListPane::OnDownloadTalk(ETalkQuality quality)
{
    CString commands = TalkDownloadCommands(SelectedTalkFileNames(), quality);
    // The downloader takes its commands from the clipboard; without a talk
    // the learner's clipboard is left alone.
    if (!commands.IsEmpty() && wxTheClipboard->Open()) {
        // The downloader takes a text when the clipboard changes to it: the
        // same request again (a talk whose download failed, asked for once
        // more) ends in one more blank, which its reading of a command ignores.
        wxTextDataObject current;
        if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && wxTheClipboard->GetData(current) &&
            FromWx(current.GetText()) == commands)
            commands += " ";
        wxTheClipboard->SetData(new wxTextDataObject(ToWx(commands)));
        wxTheClipboard->Close();
    }
    m_downloaderExchange.EnsureDownloaderRuns();
}

void CPlayListPane::OnPlayTalkOnline(ETalkQuality quality)
{
    theApp.m_strCatalogueTalkPlaying = "true";
    const wxTreeItemId item = m_wndTree->GetFocusedItem();
    if (!item.IsOk() || item == m_wndTree->GetRootItem())
        return;
    const CString text = FromWx(m_wndTree->GetItemText(item));
    const CString name = TalkFileNameOf(text);
    if (name.IsEmpty())
        return;
    theApp.m_strMediaPath = TalkPodcastAddress(name, quality);
    PostToFrame("playlist+/" + GetItemTreePath(item), text);
}
