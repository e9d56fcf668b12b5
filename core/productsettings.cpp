#include "core/productsettings.h"

#include "core/quenlow.h"

CString GetProductSetting(const CString& name, const CString& fallback)
{
    const auto settings = ReadProductSettings(theApp.m_strAppDir + "AppData/CommonData/Product.cfg");
    const auto it = settings.find(name);
    return it == settings.end() ? fallback : it->second;
}
