#include "core/desktopopen.h"

#include "core/quenlow.h"
#include "platform/process.h"

bool OpenOnDesktop(const CString& target)
{
    if (ShellOpen(target))
        return true;
    theApp.ShowMessage("无法打开：" + target, "error", 8000);
    return false;
}
