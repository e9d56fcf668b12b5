#include "ui/mainframehost.h"

namespace {
IMainFrameHost* g_host = nullptr;
}

IMainFrameHost* MainFrameHost() { return g_host; }

void SetMainFrameHost(IMainFrameHost* host) { g_host = host; }
