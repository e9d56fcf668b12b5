#include "catalogue/playlistpane.h"

#include <wx/sizer.h>

#include "catalogue/localviewtree.h"
#include "platform/file.h"
#include "platform/wintypes.h"
#include "shell/base/wxcolour.h"
#include "shell/core/quenlow.h"

namespace {

bool HasSrtExtension(const CString& path)
{
    return path.GetLength() > 4 && path.Right(4).CompareNoCase(".srt") == 0;
}

} // namespace

bool CPlayListPane::Create(wxWindow* frame, const CString& caption, int id)
{
    if (!CDockablePane::Create(frame, caption, id))
        return false;
    m_wndLocalTree = new CLocalViewTree;
    if (!m_wndLocalTree->Create(this))
        return false;
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_wndLocalTree, 1, wxEXPAND);
    SetSizer(sizer);
    return true;
}

void CPlayListPane::ApplyColors()
{
    // The tree draws its connecting lines in its text colour.
    m_wndLocalTree->SetForegroundColour(ToWxColour(theApp.m_clrText));
    m_wndLocalTree->SetBackgroundColour(ToWxColour(theApp.m_clrBackground));
    m_wndLocalTree->Refresh();
}

void CPlayListPane::FillTalkList(const CString& category, const CString& sortField)
{
    // Only the choice is remembered now; the tree keeps what it shows.
    if (theApp.m_strTalkCategory != category)
        theApp.m_strTalkCategory = category;
    if (theApp.m_strTalkSortField != sortField)
        theApp.m_strTalkSortField = sortField;
}

void CPlayListPane::LoadFamousIds()
{
    // The talks database is not read now, so the list stays as it is.
}

void CPlayListPane::RebuildWordFrequency()
{
    // No talk rows are loaded to match against, so no figure changes.
}

void CPlayListPane::DeleteSrtFiles(const CString& folder)
{
    m_arrSrtFiles.RemoveAll();
    for (const CString& path : ListFilesRecursive(folder))
        if (HasSrtExtension(path))
            m_arrSrtFiles.Add(path);
    for (const CString& path : m_arrSrtFiles)
        if (FileExists(path))
            DeleteFile(path);
}
