// Whether the machine is connected to a network at all: an interface other
// than loopback is up, and a default route leads somewhere. Answered from the
// kernel's own tables, without asking any server or resolving any name.
#pragma once

#include <string>

// An interface other than loopback is up and there is a default route.
bool IsNetworkConnected();

// Whether route tables in the kernel's text forms hold a usable default
// route: ipv4Table as /proc/net/route writes it (a header line, then
// "iface destination gateway flags ... mask ..." in hexadecimal), ipv6Table
// as /proc/net/ipv6_route (no header; destination, prefix length, ...,
// flags, iface). A route counts when it is up, is not a reject route and does
// not go through the loopback interface.
bool HasDefaultRoute(const std::string& ipv4Table, const std::string& ipv6Table);
