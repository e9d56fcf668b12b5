// The application's parentless windows that the application object names
// (the message window and the second player): created by the main frame,
// destroyed here at exit.
#pragma once

void CreateMessageDialog();
void CreateStreamDialog();

// Destroys every parentless window of the program except the main frame:
// theApp's message window, second player and word window, and the main
// frame's own (CMainFrame::DestroyOwnTopLevelWindows). The pointers become
// null; the windows go with the next pending deletes. A hidden parentless
// window would otherwise keep the program running after the frame closed.
// The frame's close calls it; safe to call again or without a frame.
void DestroyAppWindows();
