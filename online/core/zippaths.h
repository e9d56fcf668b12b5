// Where zip members may land: the clean-up of member names, the resolution
// of an extraction destination, and the creation of a fresh output file.
#pragma once

#include <string>
#include <string_view>

#include "platform/cstring.h"

// A member name as reported. "/" and "\" both separate parts; drive prefixes
// ("C:"), empty parts, "." and every ".." are dropped and the rest is joined
// with "/", so the name never climbs out of a folder it is put below. A
// trailing separator (a folder member) is kept. utf8: the name is flagged
// UTF-8; otherwise it is GB18030, whose trail bytes can equal "\" and must
// not split a character.
std::string CleanMemberName(std::string_view name, bool utf8);

// The file an extraction writes: an absolute destination ("/...") as given,
// a relative one cleaned like a member name and put below baseDir (which
// ends in "/"), so it cannot leave it. Empty when nothing is left.
CString ResolveDestination(const CString& baseDir, const CString& destination);

// Opens path as a new regular file (mode 0644) for writing. What was there
// before is unlinked first, so a read-only file is replaced and a symbolic
// link is never written through; a link made in between makes the open fail.
// -1 on failure.
int CreateFileAnew(const CString& path);
