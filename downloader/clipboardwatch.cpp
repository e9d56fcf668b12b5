#include "downloader/clipboardwatch.h"

#include <chrono>
#include <cstdio>

#include "downloader/clipboardreader.h"
#include "downloader/talkdownloads.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kReadEvery = 1000ms;
// An owner that takes longer than this is asked again next time.
constexpr auto kReadTimeout = 500ms;

} // namespace

CClipboardWatch::CClipboardWatch(OpenReader openReader, OnAddresses onAddresses)
    : m_openReader(std::move(openReader)), m_onAddresses(std::move(onAddresses)), m_thread([this] { Watch(); })
{
}

void CClipboardWatch::Stop()
{
    {
        const std::lock_guard<std::mutex> lock(m_lock);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void CClipboardWatch::Watch()
{
    // The display connection belongs to this thread alone.
    const std::unique_ptr<CClipboardReader> reader = m_openReader();
    if (!reader) {
        std::fprintf(stderr, "HalvikSoftDownloader: no display: the clipboard is not watched\n");
        return;
    }
    // The text read last time: a text is handled when the clipboard changes
    // to it, so the same talks chosen again later (after other text) are
    // handled again, and the files already fetched are skipped then.
    std::string lastRead;
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_stop && reader->Usable()) {
        lock.unlock();
        const std::optional<std::string> text = reader->ReadText(kReadTimeout);
        if (text && *text != lastRead) {
            lastRead = *text;
            const std::vector<std::string> addresses = TalkAddresses(*text);
            if (!addresses.empty())
                m_onAddresses(addresses);
        }
        lock.lock();
        m_wake.wait_for(lock, kReadEvery, [this] { return m_stop; });
    }
}
