// The kinds of a notice in the show-message slot; they pick the caption
// bar's icon and colours. The numbers are the values the slot holds.
#pragma once

enum EMessageKind : int { kMessageError = 1, kMessageWarning = 2, kMessageInfo = 3 };
