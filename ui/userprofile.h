// The learner's profile: the toolkit's configuration object
// (wxConfigBase::Get()) for the program's small settings, such as the look
// chosen, kept in one file of the user's configuration folder. The toolkit
// never opens that file itself: it is read under the program's rule for
// replaceable files and written atomically by the program, so a FIFO or a
// huge file in its place cannot block or stall the start, and a home that
// cannot be written (read-only, full) gives one notice and a clean end
// instead of the toolkit's error box at clean-up.
#pragma once

#include <cstdint>

#include "platform/cstring.h"

class wxConfigBase;

// A profile holds a handful of lines; a larger file is not read.
inline constexpr int64_t kMaxUserProfileBytes = 1024 * 1024;

// The profile file's path (the toolkit's usual one for this program).
CString UserProfilePath();
// Reads the file at `path` into a new configuration object and makes it the
// current one; the toolkit creates none of its own from then on. A file that
// is there but is no regular file or passes the bound leaves the profile
// empty and puts a notice in the show-message slot.
void InstallUserProfile(const CString& path);
// The current profile; the one at UserProfilePath() is installed first when
// there is none yet.
wxConfigBase* UserProfile();
// Writes the profile (callers save after a change). False when it could not be
// written; the first failure of a run puts a notice in the show-message slot
// (the settings of this run cannot be kept), later ones say nothing more.
bool SaveUserProfile();
// Drops the configuration object without writing it (a failed write was
// reported already), so the toolkit has nothing left to write at clean-up.
void RemoveUserProfile();
