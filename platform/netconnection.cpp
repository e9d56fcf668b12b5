#include "platform/netconnection.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include <ifaddrs.h>
#include <net/if.h>

namespace {

// Route flags of the kernel's tables.
constexpr unsigned long kRouteUp = 0x0001;
constexpr unsigned long kRouteReject = 0x0200;

std::vector<std::string> Fields(const std::string& line)
{
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

unsigned long Hex(const std::string& text)
{
    try {
        return std::stoul(text, nullptr, 16);
    } catch (...) {
        return 0;
    }
}

bool Usable(unsigned long flags, const std::string& iface)
{
    return (flags & kRouteUp) != 0 && (flags & kRouteReject) == 0 && iface != "lo";
}

bool HasDefaultIpv4Route(const std::string& table)
{
    std::istringstream in(table);
    std::string line;
    std::getline(in, line);   // the header
    while (std::getline(in, line)) {
        const std::vector<std::string> f = Fields(line);
        // Iface Destination Gateway Flags RefCnt Use Metric Mask ...
        if (f.size() >= 8 && Hex(f[1]) == 0 && Hex(f[7]) == 0 && Usable(Hex(f[3]), f[0]))
            return true;
    }
    return false;
}

bool HasDefaultIpv6Route(const std::string& table)
{
    std::istringstream in(table);
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> f = Fields(line);
        // destination prefix source prefix next-hop metric refcnt use flags iface
        if (f.size() >= 10 && f[0].find_first_not_of('0') == std::string::npos && Hex(f[1]) == 0 &&
            Usable(Hex(f[8]), f[9]))
            return true;
    }
    return false;
}

std::string ReadAll(const char* path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool HasUpInterfaceBesidesLoopback()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    bool found = false;
    for (const ifaddrs* entry = list; entry != nullptr && !found; entry = entry->ifa_next)
        found = (entry->ifa_flags & IFF_UP) != 0 && (entry->ifa_flags & IFF_LOOPBACK) == 0;
    freeifaddrs(list);
    return found;
}

} // namespace

bool HasDefaultRoute(const std::string& ipv4Table, const std::string& ipv6Table)
{
    return HasDefaultIpv4Route(ipv4Table) || HasDefaultIpv6Route(ipv6Table);
}

bool IsNetworkConnected()
{
    return HasUpInterfaceBesidesLoopback() &&
           HasDefaultRoute(ReadAll("/proc/net/route"), ReadAll("/proc/net/ipv6_route"));
}
