// A form that holds only the static text "translation". Nothing creates it.
#pragma once

#include "ui/viewbase.h"

class wxStaticText;

class CTranslationView : public CView {
public:
    CTranslationView() = default;
    bool Create(wxWindow* host, int id) override;

    wxStaticText* m_label = nullptr;
};
