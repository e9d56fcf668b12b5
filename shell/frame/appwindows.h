// The application's parentless windows that the application object names
// (the message window and the second player): created by the main frame,
// destroyed here at exit.
#pragma once

void CreateMessageDialog();
void CreateStreamDialog();
