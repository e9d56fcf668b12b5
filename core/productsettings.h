// The installation's product settings: "AppData/CommonData/Product.cfg",
// lines of "Name=value" (UTF-8; "#" starts a comment). Hosts of the online
// services live here so that tests can point them at a local server.
#pragma once

#include <map>

#include "platform/cstring.h"

// Reads the file (program text values); an unreadable file gives no settings.
std::map<CString, CString> ReadProductSettings(const CString& path);

// A value from the program folder's file (theApp.m_strAppDir), or fallback.
CString GetProductSetting(const CString& name, const CString& fallback = CString());
