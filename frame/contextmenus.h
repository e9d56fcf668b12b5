// The lesson view's context menu "编辑" (marking, repeat-read of the
// selection, online translation).
#pragma once

class wxMenu;

// A new menu; the caller owns it.
wxMenu* CreateEditContextMenu();
