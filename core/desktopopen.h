// Opening a file, folder or address with the desktop's own program, and
// telling the learner, with the path, when nothing could open it, so the
// file can still be found by hand.
#pragma once

#include "platform/cstring.h"

// False (the learner has been told) when nothing could open the target.
bool OpenOnDesktop(const CString& target);
