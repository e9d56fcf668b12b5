#include "downloader/paths.h"

#include "platform/file.h"
#include "core/downloaderprocess.h"
#include "core/talkdownloadreport.h"

SDownloaderPaths DownloaderPaths(const CString& programFolder)
{
    SDownloaderPaths paths;
    const CString& dir = programFolder;
    paths.programFolder = dir;
    paths.commandFile = dir + "AppData/CommandExchange/Player2Downloader/command.data";
    paths.commandMarker = dir + "AppData/CommandExchange/Player2Downloader/commandcopy.data";
    paths.progressFolder = dir + "AppData/DataExchange/DownloaderData/";
    // Outside the progress folder, on the same file system: the rename that
    // moves a finished file in is one step, so the program never reads half.
    paths.progressTemp = dir + "AppData/DataExchange/progress.tmp";
    paths.talkReportFolder = TalkReportFolder(dir);
    paths.talkReportTemp = dir + "AppData/DataExchange/talkreport.tmp";
    paths.lockFile = DownloaderLockPath(dir);
    paths.playlistFolder = dir + "Playlist/";
    paths.productSettings = dir + "AppData/CommonData/Product.cfg";
    paths.productIdFile = dir + "AppData/CommonData/PrdID.data";
    paths.updateFile = dir + "AppData/CommonData/update.data";
    return paths;
}

CString ProgramFolderAboveExecutable()
{
    return ProgramFolderOfDownloader(GetProgramFolder());   // from "<program>/Downloader/"
}
