#pragma once

// CSpanrecApp: the program's application object. It registers the sixteen document
// templates under their keys, creates the main window and handles the command line. Each
// window kind whose subsystem is not built yet is registered with placeholder classes that
// say so when opened.

#include "shell/VidraApp.h"

#include <QString>

#include <array>

class CMultiDocTemplate;

class CSpanrecApp : public CVidraApp {
    DECLARE_DYNAMIC(CSpanrecApp)
    DECLARE_MESSAGE_MAP()

public:
    CSpanrecApp();

    BOOL InitInstance() override;
    // Gives the splash the first look at input.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The template registered at index i of the table, or nullptr before start-up.
    CMultiDocTemplate* GetTemplate(int index) const {
        return m_templates[static_cast<size_t>(index)];
    }

    static constexpr int kTemplateCount = 16;
    // The key of table row i.
    static QString TemplateKey(int index);

protected:
    void OnAppAbout();

private:
    void AddTemplates();

    std::array<CMultiDocTemplate*, kTemplateCount> m_templates{};
};
