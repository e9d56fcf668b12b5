// The playlist pane's exports: lesson scripts of talks or of local media as
// numbered dialogue texts and LRC files in the export folder.
#include "catalogue/playlistpane.h"

#include "catalogue/core/lessonexport.h"
#include "catalogue/core/talkfiles.h"
#include "catalogue/localviewtree.h"
#include "platform/file.h"
#include "ui/wxtext.h"
#include "core/productsettings.h"
#include "core/desktopopen.h"
#include "core/quenlow.h"

namespace {

constexpr int kErrorMs = 5000;

// The name with its final extension replaced ("a.mp4" -> "a.lrc").
CString WithExtension(const CString& name, const char* extension)
{
    const int dot = name.ReverseFind('.');
    return (dot > 0 ? name.Left(dot) : name) + extension;
}

CString ExportFolder(bool lrc)
{
    CString folder = lrc ? theApp.m_strLrcExportDir : theApp.m_strTextExportDir;
    while (folder.GetLength() > 1 && folder.Right(1) == "/")
        folder = folder.Left(folder.GetLength() - 1);
    return folder;
}

} // namespace

bool CPlayListPane::EnsureExportFolder(const CString& folder)
{
    if (FolderExists(folder) || CreateFolder(folder))
        return true;
    theApp.ShowMessage("创建目录[" + folder + "]失败！\n" + "请手动创建目录。", "error", kErrorMs);
    return false;
}

bool CPlayListPane::ExportScript(const CString& script, const CString& output, bool lrc)
{
    const CString web = GetProductSetting("HomePage");
    const EExportResult result = lrc ? WriteLrcFile(script, output, web) : WriteDialogueText(script, output, web);
    switch (result) {
    case EExportResult::Written:
        return true;
    case EExportResult::CannotOpenScript:
        theApp.ShowMessage("打开数据文件失败!", "error", kErrorMs);
        return false;
    case EExportResult::CannotWriteOutput:
        theApp.ShowMessage("无法写入文件：" + output, "error", kErrorMs);
        return false;
    case EExportResult::NoSentences:
        return false;
    }
    return false;
}

void CPlayListPane::OnExportTalks(bool lrc)
{
    const CString folder = ExportFolder(lrc);
    if (!EnsureExportFolder(folder))
        return;
    for (const CString& name : SelectedTalkFileNames()) {
        const CString script = TalkScriptPath(theApp.m_strPlaylistDir + name);
        if (!IsRegularFile(script)) {
            theApp.ShowMessage("字幕文件不存在！", "error", kErrorMs);
            continue;
        }
        ExportScript(script, folder + "/" + WithExtension(name, lrc ? ".lrc" : ".txt"), lrc);
    }
    // Opened once the files are there, so the browser lists them.
    OpenOnDesktop(folder);
}

void CPlayListPane::AddScriptOfItem(wxTreeItemId item)
{
    const CString script = ScriptPathBeside(GetItemFilePath(item));
    if (IsRegularFile(script))
        m_arrExportScripts.push_back(script);
}

void CPlayListPane::CollectFolderScripts(wxTreeItemId folder)
{
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = m_wndTree->GetFirstChild(folder, cookie); child.IsOk();
         child = m_wndTree->GetNextChild(folder, cookie)) {
        if (!m_wndTree->ItemHasChildren(child))
            AddScriptOfItem(child);
        CollectFolderScripts(child);
    }
}

void CPlayListPane::OnExportLocal(bool lrc)
{
    m_arrExportScripts.clear();
    for (const wxTreeItemId item : m_wndTree->GetSelectedShownItems()) {
        if (m_wndTree->ItemHasChildren(item))
            CollectFolderScripts(item);
        else
            AddScriptOfItem(item);
    }
    if (m_arrExportScripts.empty()) {
        theApp.SetMessage(kMessageError, "没有发现任何Script字幕文件，不能导出Lrc文件！", 5);
        return;
    }
    const CString folder = ExportFolder(lrc);
    if (!EnsureExportFolder(folder))
        return;
    for (const CString& script : m_arrExportScripts) {
        if (!IsRegularFile(script)) {
            theApp.ShowMessage("字幕文件不存在！", "error", kErrorMs);
            continue;
        }
        ExportScript(script, folder + "/" + WithExtension(FileNamePart(script), lrc ? ".lrc" : ".txt"), lrc);
    }
    OpenOnDesktop(folder);
}
