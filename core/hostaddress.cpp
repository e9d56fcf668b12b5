#include "core/hostaddress.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include "platform/codepage.h"

CString ResolveHostIPv4(const CString& host)
{
    if (host.IsEmpty())
        return CString();
    addrinfo hints {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(AnsiToUtf8Bytes(host.view()).c_str(), nullptr, &hints, &found) != 0 || !found)
        return CString();
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    const bool ok = inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr;
    freeaddrinfo(found);
    return ok ? CString(text) : CString();
}
