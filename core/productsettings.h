// The installation's product settings: "AppData/CommonData/Product.cfg" in
// the program folder. Hosts of the online services live here so that tests
// can point them at a local server.
#pragma once

#include "core/productsettingsfile.h"

// A value from the program folder's file (theApp.m_strAppDir), or fallback.
CString GetProductSetting(const CString& name, const CString& fallback = CString());
