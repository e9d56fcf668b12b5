#include "playback/purewmpdialog.h"

#include <optional>

#include <wx/frame.h>  // wxFRAME_NO_TASKBAR, which every top-level window takes
#include <wx/panel.h>

#include "core/commandids.h"
#include "core/quenlow.h"

namespace {

// The subtitle commands: the entry each shows, counted back from the end of
// the engine's list (none: subtitles off), and the caption language it
// stands for.
struct SSubtitleCommand {
    int id;
    std::optional<int> fromEnd;
    const char* language;
};

const SSubtitleCommand kSubtitleCommands[] = {
    {kCmdSecondPlayerSubtitleBoth, 2, "Both"},
    {kCmdSecondPlayerSubtitleEnglish, 1, "Eng"},
    {kCmdSecondPlayerSubtitleChinese, 0, "Chn"},
    {kCmdSecondPlayerSubtitleOff, std::nullopt, ""},
};

} // namespace

CPureWMPDialog::~CPureWMPDialog()
{
    if (m_player) {
        const int state = m_player->GetState();
        if (state >= 1 && state <= 4)
            StopPlayer();
        m_player.reset();
    }
}

bool CPureWMPDialog::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, wxEmptyString, wxPoint(0, 0), wxDefaultSize,
                          wxRESIZE_BORDER | wxSTAY_ON_TOP | wxFRAME_NO_TASKBAR))
        return false;
    // Enter and Esc neither close nor hide the window.
    SetEscapeId(wxID_NONE);
    SetAffirmativeId(wxID_NONE);
    Bind(wxEVT_CHAR_HOOK, [](wxKeyEvent& event) {
        if (event.GetKeyCode() != WXK_ESCAPE && event.GetKeyCode() != WXK_RETURN)
            event.Skip();
    });
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
        if (event.CanVeto()) {
            event.Veto();
            Hide();
            theApp.m_bStreamDlgVisible = 0;
        } else {
            event.Skip();
        }
    });
    SetBackgroundColour(*wxBLACK);

    // The form's layout in dialog units; the application object moves both
    // the window and the surface in pixels right after creation.
    SetSize(ConvertDialogToPixels(wxSize(531, 225)));
    m_staticVideo = new wxPanel(this, IDC_STATIC_VIDEO, ConvertDialogToPixels(wxPoint(2, 0)),
                                ConvertDialogToPixels(wxSize(529, 190)));
    m_staticVideo->SetBackgroundColour(*wxBLACK);
    if (m_video.Create(m_staticVideo))
        m_video.AttachPlayer(*m_player);
    // The surface follows the window only once lesson playback has started;
    // before that it keeps the place it was given.
    Bind(wxEVT_SIZE, [this](wxSizeEvent&) {
        if (!theApp.m_strPlaybackStarted.IsEmpty())
            m_staticVideo->SetSize(0, 0, GetClientSize().x, GetClientSize().y);
    });
    for (const SSubtitleCommand& command : kSubtitleCommands) {
        Bind(wxEVT_MENU, [this](wxCommandEvent& event) { OnSubtitleCommand(event.GetId()); }, command.id);
        Bind(wxEVT_UPDATE_UI,
             [command](wxUpdateUIEvent& event) { event.Check(theApp.m_strCaptionLanguage == command.language); },
             command.id);
    }
    Hide();
    return true;
}

void CPureWMPDialog::StopPlayer()
{
    // Never waits on the interface thread for the engine to let a subtitle go.
    m_player->StopWithoutWaiting();
}

int CPureWMPDialog::GetPlayerState() const { return m_player->GetState(); }

bool CPureWMPDialog::OpenMedia(const CString& location)
{
    m_strLocation = location;
    if (location.Left(5) == "http:")
        return m_player->OpenLocation(location, ":network-caching=20000");
    return m_player->OpenPath(location);
}

void CPureWMPDialog::OnSubtitleCommand(int commandId)
{
    for (const SSubtitleCommand& command : kSubtitleCommands) {
        if (command.id != commandId)
            continue;
        m_player->SetSpu(command.fromEnd ? m_player->GetSpuCount() - *command.fromEnd : -1);
        theApp.m_strCaptionLanguage = command.language;
        return;
    }
}
