#include "core/productsettings.h"

#include <atomic>

#include "core/quenlow.h"

CString GetProductSetting(const CString& name, const CString& fallback)
{
    const CString path = theApp.m_strAppDir + "AppData/CommonData/Product.cfg";
    EFileReadResult read = EFileReadResult::Read;
    const auto settings = ReadProductSettings(path, &read);
    // A file that is there but cannot be used (a FIFO, a folder, a file of
    // gigabytes) leaves every setting at its fallback; the learner is told
    // once, not at every setting asked for.
    static std::atomic<bool> reported {false};
    if (read != EFileReadResult::Read && FileExists(path) && !reported.exchange(true))
        theApp.ShowMessage("产品设置文件无法使用（不是普通文件或太大），在线功能已按默认设置运行：AppData/CommonData/Product.cfg",
                           "warning", 8000);
    const auto it = settings.find(name);
    return it == settings.end() ? fallback : it->second;
}
