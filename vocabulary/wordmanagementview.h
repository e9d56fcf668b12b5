// The word book view: one word list at a time with the examples of the chosen
// word. The main frame creates it with child id 378 for the ribbon category
// 词汇管理 and sets the fields below each time it shows the view.
#pragma once

#include "platform/cstring.h"
#include "shell/base/viewbase.h"

class wxStyledTextCtrl;

class CWordManagementView : public CView {
public:
    static constexpr int kWordListId = 1014;
    static constexpr int kExamplesId = 1019;
    // The lists' font size (points).
    static constexpr int kListPoints = 12;

    CWordManagementView() = default;
    bool Create(wxWindow* host, int id) override;

    // Re-applies the list formats when the application's font-change counter
    // moved since this view last applied them.
    void RefreshStyle();
    // The lesson font face and colours, 12 points, on the word list (bold)
    // and on the example list.
    void ApplyListColors();
    // Switches the list to the current lesson's words: sets the list kind
    // "CURRENTUNITWORD" and empties the list.
    void OnCurrentunitword();

    wxStyledTextCtrl* m_editWordList = nullptr;
    wxStyledTextCtrl* m_editExamples = nullptr;

    // The lesson the unit list was last built for.
    CString m_strLessonPath;
    CStringArray m_arrWords;
    // Examples play by themselves (1) or not (0).
    int m_bAutoPlayExample = 0;
    int m_nExampleIndex = 0;
    CString m_strExerciseLessonPath;
};
