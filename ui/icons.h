// The program's pictures: the status-bar icons, the caption bar's message
// kinds, the application button and the images of the ribbon's commands.
//
// A picture comes from the toolkit's stock art where a fitting stock picture
// exists; when the stock art gives nothing (no icon theme, as under a bare X
// server) the program draws its own. Pictures are never empty and are cached
// per id and size.
#pragma once

#include <wx/artprov.h>

#include <functional>

#include <vector>

#include <wx/bitmap.h>

// Status bar: 316 folder, 319 player window, 359 sentence progress,
// 360 ribbon panels, 367 pause, 368 play, 369 stop, 377 volume, 421 reset
// player, 448 download information. Caption bar: 453 error,
// 454 information, 455 warning. 408: the application button. The pop-up
// dictionary browser: 500 previous word, 499 next word, 501 save to the
// new-word book, 497 delete from it, 498 exit. Any other id gives a neutral picture.
wxBitmap LoadProgramIcon(int resourceId, int size = 16);

// The image of a ribbon command (32 px for large buttons, 16 for small ones).
wxBitmap LoadCommandIcon(int commandId, int size);

// The command's image on a highlighted background: how a drop-down button,
// which the ribbon never draws pressed, shows that it is checked.
wxBitmap LoadCheckedCommandIcon(int commandId, int size);

// The program's own drawings, without the stock art (the fallbacks of the
// two functions above).
wxBitmap DrawProgramIcon(int resourceId, int size);
wxBitmap DrawCommandIcon(int commandId, int size);

// Every icon and bitmap id the program loads with LoadProgramIcon.
const std::vector<int>& GetProgramIconIds();

// An icon of the desktop theme at the given size, or the picture `draw` makes
// on a transparent bitmap when the theme has none (under a bare X server).
wxBitmap ThemeIconOrDrawn(const wxArtID& id, const wxArtClient& client, const wxSize& size,
                          const std::function<void(wxDC&)>& draw);
