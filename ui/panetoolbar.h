// The toolbar at the top of a dockable pane, made from a table of its tools.
// The program's command ids lie beyond the toolkit's window ids, so each
// tool gets an id of its own; the toolbar maps them back to the commands.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include <wx/toolbar.h>

#include "platform/cstring.h"

struct SPaneTool {
    int command;             // 0 for a separator
    const char* shortText;
    const char* tooltip;
    wxItemKind kind = wxITEM_NORMAL;
    const char* art = nullptr;   // a stock picture, when the command has none of its own
};

class CPaneToolBar : public wxToolBar {
public:
    // Creates the tools in table order; a click calls onCommand with the
    // tool's command. False when the toolbar cannot be made.
    bool Create(wxWindow* parent, int id, const std::vector<SPaneTool>& tools, std::function<void(int command)> onCommand);
    // The toolbar's own id of a command's tool (wxID_NONE when none).
    int ToolIdOf(int command) const;

private:
    std::map<int, int> m_toolIds;   // command -> tool id
};
