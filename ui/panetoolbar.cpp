#include "ui/panetoolbar.h"

#include <wx/artprov.h>

#include "ui/icons.h"
#include "ui/wxtext.h"

bool CPaneToolBar::Create(wxWindow* parent, int id, const std::vector<SPaneTool>& tools,
                          std::function<void(int command)> onCommand)
{
    if (!wxToolBar::Create(parent, id, wxDefaultPosition, wxDefaultSize, wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER))
        return false;
    SetToolBitmapSize(wxSize(16, 16));
    for (const SPaneTool& tool : tools) {
        if (tool.kind == wxITEM_SEPARATOR) {
            AddSeparator();
            continue;
        }
        wxBitmap bitmap;
        if (tool.art != nullptr)
            bitmap = wxArtProvider::GetBitmap(tool.art, wxART_TOOLBAR, wxSize(16, 16));
        if (!bitmap.IsOk())
            bitmap = LoadCommandIcon(tool.command, 16);
        const int toolId = wxWindow::NewControlId();
        m_toolIds[tool.command] = toolId;
        AddTool(toolId, ToWx(tool.shortText), bitmap, ToWx(tool.tooltip), tool.kind);
        Bind(wxEVT_TOOL, [onCommand, command = tool.command](wxCommandEvent&) { onCommand(command); }, toolId);
    }
    return Realize();
}

int CPaneToolBar::ToolIdOf(int command) const
{
    const auto found = m_toolIds.find(command);
    return found != m_toolIds.end() ? found->second : wxID_NONE;
}
