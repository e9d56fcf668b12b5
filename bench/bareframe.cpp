// The peer of the start-up figure: a bare toolkit frame holding one list,
// the least a window of this toolkit costs to come up.
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/listctrl.h>

class CBareFrameApp : public wxApp {
public:
    bool OnInit() override
    {
        auto* frame = new wxFrame(nullptr, wxID_ANY, "bare frame", wxDefaultPosition, wxSize(1280, 800));
        auto* list = new wxListCtrl(frame, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT);
        list->AppendColumn("item");
        list->InsertItem(0, "one");
        frame->Show();
        return true;
    }
};

wxIMPLEMENT_APP(CBareFrameApp);
