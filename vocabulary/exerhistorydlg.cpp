#include "vocabulary/exerhistorydlg.h"

#include <wx/frame.h>  // wxFRAME_NO_TASKBAR, which every top-level window takes
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/sizer.h>

#include "ui/wxtext.h"
#include "core/quenlow.h"
#include "vocabulary/core/exercisehistory.h"

bool CExerHistoryDlg::Create(wxWindow* parent)
{
    if (!wxDialog::Create(parent, wxID_ANY, ToWx("做题履历"), wxDefaultPosition, wxSize(1000, 600),
                          wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER | wxMAXIMIZE_BOX))
        return false;
    m_list = new wxListCtrl(this, IDC_LIST, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_HRULES | wxLC_VRULES);
    // Column 0 keeps the row number out of sight: rows with equal names and
    // times are still told apart when deleted.
    m_list->AppendColumn(wxString(), wxLIST_FORMAT_CENTRE, 0);
    m_list->AppendColumn(ToWx("媒体名称"), wxLIST_FORMAT_LEFT, 600);
    m_list->AppendColumn(ToWx("练习时间"), wxLIST_FORMAT_LEFT, 250);
    m_list->AppendColumn(ToWx("总题数"), wxLIST_FORMAT_LEFT, 100);
    m_list->AppendColumn(ToWx("正确率(%)"), wxLIST_FORMAT_LEFT, 100);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_list, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);
    SetSizer(sizer);
    m_list->Bind(wxEVT_CONTEXT_MENU, &CExerHistoryDlg::OnContextMenu, this);
    Hide();
    return true;
}

void CExerHistoryDlg::LoadHistory()
{
    m_list->DeleteAllItems();
    for (const SExerciseHistoryRow& row : ReadExerciseHistory(theApp.m_strExerciseDbPath)) {
        const long item = m_list->InsertItem(m_list->GetItemCount(), ToWx(row.linecnt));
        m_list->SetItem(item, 1, ToWx(row.mediaName));
        m_list->SetItem(item, 2, ToWx(row.time));
        m_list->SetItem(item, 3, ToWx(row.questions));
        m_list->SetItem(item, 4, ToWx(row.score));
    }
}

std::vector<CString> CExerHistoryDlg::SelectedRowNumbers() const
{
    std::vector<CString> numbers;
    for (long item = m_list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); item != -1;
         item = m_list->GetNextItem(item, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        numbers.push_back(FromWx(m_list->GetItemText(item, 0)));
    return numbers;
}

void CExerHistoryDlg::OnDelete()
{
    const std::vector<CString> numbers = SelectedRowNumbers();
    if (numbers.empty())
        return;
    for (const CString& number : numbers)
        DeleteExerciseHistoryRow(theApp.m_strExerciseDbPath, number);
    LoadHistory();
}

void CExerHistoryDlg::OnContextMenu(wxContextMenuEvent&)
{
    wxMenu menu;
    const int deleteId = wxWindow::NewControlId();
    menu.Append(deleteId, ToWx("删除"));
    if (m_list->GetPopupMenuSelectionFromUser(menu) == deleteId)
        OnDelete();
}
