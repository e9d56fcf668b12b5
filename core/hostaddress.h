// Host name resolution for the transfers: the first IPv4 address of a name.
#pragma once

#include "platform/cstring.h"

// The first IPv4 address of a host name as dotted text; empty when the name
// does not resolve. Blocks for as long as the system's resolver takes.
CString ResolveHostIPv4(const CString& host);
