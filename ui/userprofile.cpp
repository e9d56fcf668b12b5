#include "ui/userprofile.h"

#include <string>

#include <wx/app.h>
#include <wx/fileconf.h>
#include <wx/mstream.h>

#include "platform/file.h"
#include "ui/wxtext.h"
#include "core/quenlow.h"

namespace {

CString g_profilePath;
bool g_saveFailureReported = false;

} // namespace

CString UserProfilePath()
{
    const wxString name = wxTheApp != nullptr ? wxTheApp->GetAppName() : wxString("quenlow");
    return FromWx(wxFileConfig::GetLocalFileName(name));
}

void InstallUserProfile(const CString& path)
{
    g_profilePath = path;
    g_saveFailureReported = false;
    std::string bytes;
    const EFileReadResult read = ReadRegularFile(path, bytes, kMaxUserProfileBytes);
    if (read != EFileReadResult::Read) {
        bytes.clear();
        if (FileExists(path))
            theApp.ShowMessage("设置文件无法使用（不是普通文件或太大），已使用默认设置：" + path, "warning", 8000);
    }
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    auto* config = new wxFileConfig(stream, wxConvUTF8);
    // Written only by SaveUserProfile: the object has no file of its own.
    config->DisableAutoSave();
    delete wxConfigBase::Set(config);
    wxConfigBase::DontCreateOnDemand();
}

wxConfigBase* UserProfile()
{
    if (wxConfigBase::Get(false) == nullptr)
        InstallUserProfile(UserProfilePath());
    return wxConfigBase::Get(false);
}

bool SaveUserProfile()
{
    auto* config = dynamic_cast<wxFileConfig*>(wxConfigBase::Get(false));
    if (config == nullptr || g_profilePath.IsEmpty())
        return false;
    wxMemoryOutputStream stream;
    if (!config->Save(stream, wxConvUTF8))
        return false;
    const wxStreamBuffer* buffer = stream.GetOutputStreamBuffer();
    const std::string_view bytes(static_cast<const char*>(buffer->GetBufferStart()), buffer->GetIntPosition());
    if (WriteFileAtomically(g_profilePath, bytes))
        return true;
    if (!g_saveFailureReported) {
        g_saveFailureReported = true;
        theApp.ShowMessage("无法保存设置：用户配置文件夹不可写（只读或已满），本次更改的设置在下次启动时不会保留。", "warning", 8000);
    }
    return false;
}

void RemoveUserProfile()
{
    delete wxConfigBase::Set(nullptr);
}
