// The connection test reads the kernel's route tables: only a default route
// that is up, not a reject route and not on loopback counts.
#include <gtest/gtest.h>

#include <string>

#include "platform/netconnection.h"

namespace {

const std::string kIpv4Header =
    "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

std::string Ipv4Route(const char* iface, const char* destination, const char* flags, const char* mask)
{
    return std::string(iface) + "\t" + destination + "\t010200C0\t" + flags + "\t0\t0\t0\t" + mask + "\t0\t0\t0\n";
}

std::string Ipv6Route(const char* destination, const char* prefix, const char* flags, const char* iface)
{
    return std::string(destination) + " " + prefix + " 00000000000000000000000000000000 00 " +
           "fd000000000000000000000000000001 00000400 00000002 00000000 " + flags + "     " + iface + "\n";
}

const char* const kZero6 = "00000000000000000000000000000000";

} // namespace

TEST(NetConnection, OnlyAUsableDefaultRouteCounts)
{
    struct Case {
        const char* why;
        std::string ipv4;
        std::string ipv6;
        bool connected;
    };
    const Case cases[] = {
        {"an IPv4 default route that is up", kIpv4Header + Ipv4Route("eth0", "00000000", "0003", "00000000"), "",
         true},
        {"only the local network's route", kIpv4Header + Ipv4Route("eth0", "000200C0", "0001", "00FFFFFF"), "",
         false},
        {"a default route that is down", kIpv4Header + Ipv4Route("eth0", "00000000", "0002", "00000000"), "", false},
        {"a reject route", kIpv4Header + Ipv4Route("eth0", "00000000", "0201", "00000000"), "", false},
        {"the default route on loopback", kIpv4Header + Ipv4Route("lo", "00000000", "0001", "00000000"), "", false},
        {"no tables at all (no /proc)", "", "", false},
        {"an IPv6 default route", kIpv4Header, Ipv6Route(kZero6, "00", "00000003", "eth0"), true},
        {"IPv6's unreachable default on loopback", kIpv4Header, Ipv6Route(kZero6, "00", "00200200", "lo"), false},
        {"an IPv6 route of one prefix", kIpv4Header,
         Ipv6Route("fd000000000000000000000000000000", "40", "00000001", "eth0"), false},
        {"a cut line", kIpv4Header + "eth0\t00000000\n", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HasDefaultRoute(c.ipv4, c.ipv6), c.connected) << c.why;
}
