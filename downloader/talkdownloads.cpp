#include "downloader/talkdownloads.h"

#include <algorithm>
#include <cstdio>

#include "downloader/address.h"
#include "downloader/transferlimits.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "core/httptransfer.h"

namespace {

constexpr std::string_view kKeyword = "HalvikSoftDL:";

} // namespace

std::vector<std::string> TalkAddresses(std::string_view text)
{
    std::vector<std::string> addresses;
    for (size_t at = text.find(kKeyword); at != std::string_view::npos;) {
        const size_t start = at + kKeyword.size();
        const size_t next = text.find(kKeyword, start);
        std::string_view address = text.substr(start, next == std::string_view::npos ? next : next - start);
        const size_t first = address.find_first_not_of(' ');
        address = first == std::string_view::npos ? std::string_view() : address.substr(first);
        address = address.substr(0, std::min(address.find("  "), address.find_first_of("\t\r\n")));
        while (!address.empty() && address.back() == ' ')
            address.remove_suffix(1);
        if (!address.empty())
            addresses.emplace_back(address);
        at = next;
    }
    return addresses;
}

void DownloadTalk(const std::string& address, const CString& playlistFolder, const std::atomic<bool>& cancel)
{
    const std::string url = TransferAddress(address);
    const std::string name = FileNameOfAddress(address);
    if (url.empty() || name.empty()) {
        std::fprintf(stderr, "HalvikSoftDownloader: refused talk address (%zu bytes)\n", address.size());
        return;
    }
    const CString fileName = Utf8BytesToAnsi(name);
    const CString target = playlistFolder + fileName;
    if (FileExists(target)) {
        std::fprintf(stderr, "HalvikSoftDownloader: %s is there already\n", name.c_str());
        return;
    }
    CreateFolders(playlistFolder);
    const CString partial = playlistFolder + "." + fileName + ".part";
    const SHttpDownload result = DownloadToFile(url, partial, DownloadOptions(cancel), {}, kMaxDownloadBytes);
    if (!result.ok) {
        std::fprintf(stderr, "HalvikSoftDownloader: %s: %s (status %ld)\n", url.c_str(), result.error.c_str(),
                     result.status);
        return;
    }
    if (!MoveFile(partial, target)) {
        std::fprintf(stderr, "HalvikSoftDownloader: cannot move %s into place\n", name.c_str());
        DeleteFile(partial);
    }
}
