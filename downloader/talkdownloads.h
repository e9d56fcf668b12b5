// The talk downloads: the program puts "HalvikSoftDL:<address>" plus two
// blanks on the clipboard for each talk the learner chose, and each address
// is fetched into the program's "Playlist/" folder under its own file name.
#pragma once

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "platform/cstring.h"

// The addresses of a clipboard text's download commands (UTF-8), in order.
// An address ends at the next command, at two blanks, or at a tab or line end.
std::vector<std::string> TalkAddresses(std::string_view text);

// Downloads one address into the folder (a job of the talk queue). The file
// appears under its name only when it is whole: it is fetched under a
// hidden partial name that a failure removes. A file already there is kept
// and not fetched again.
void DownloadTalk(const std::string& address, const CString& playlistFolder, const std::atomic<bool>& cancel);
