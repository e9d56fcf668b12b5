// The downloader program: it lives in "<program>/Downloader/", takes the
// program's commands from the command files every quarter second, reports
// the download-and-play task in progress files, and fetches the talks whose
// download commands appear on the clipboard. One runs per program folder;
// SIGTERM (or SIGINT, SIGHUP) ends it: the tasks stop (the bytes of the
// download-and-play file stay) and the lock file goes.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "downloader/clipboardreader.h"
#include "downloader/clipboardwatch.h"
#include "downloader/command.h"
#include "downloader/commandinbox.h"
#include "downloader/downloader.h"
#include "downloader/instancelock.h"
#include "downloader/paths.h"

int main()
{
    // Blocked before any thread starts, so every thread inherits the mask and
    // the signals wait for the main loop, which takes them as its pause.
    sigset_t ending;
    sigemptyset(&ending);
    sigaddset(&ending, SIGTERM);
    sigaddset(&ending, SIGINT);
    sigaddset(&ending, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &ending, nullptr);
    signal(SIGPIPE, SIG_IGN);

    const SDownloaderPaths paths = DownloaderPaths(ProgramFolderAboveExecutable());
    CInstanceLock lock;
    if (!lock.Acquire(paths.lockFile))
        return 0;   // another downloader serves this program folder

    CDownloader downloader(paths);
    CClipboardWatch watch(OpenClipboardReader, [&downloader](const std::vector<std::string>& addresses) {
        downloader.QueueTalkDownloads(addresses);
    });
    const timespec pause {0, 250'000'000};
    for (;;) {
        if (const std::optional<CString> text = TakeCommand(paths))
            downloader.Perform(ParseCommand(*text));
        downloader.Tick(std::chrono::steady_clock::now());
        if (sigtimedwait(&ending, nullptr, &pause) > 0)
            break;
    }
    std::fprintf(stderr, "HalvikSoftDownloader: ending\n");
    watch.Stop();
    downloader.StopAll();
    return 0;
}
