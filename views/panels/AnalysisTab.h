#pragma once

// CAnalysisTab: the "Analysis" page: one button, "Launch Analysis", that starts the separate
// analysis program from the program's folder.

#include "views/panels/TabDlg.h"

#include <QString>

inline constexpr UINT kAnalysisTabTemplate = 182;

class CAnalysisTab : public CTabDlg {
    DECLARE_DYNAMIC(CAnalysisTab)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kLaunchButton = 2029;
    static constexpr const char* kProgramName = "VidraProAnalysis";
    static constexpr const char* kLaunchFailed = "An error occurred trying to launch analysis.";

    explicit CAnalysisTab(CWnd* pParentWnd = nullptr);

    // The analysis program in the program's folder.
    static QString ProgramPath();
    // Starts the program, detached, with one empty argument; says so when it cannot start.
    void OnLaunchAnalysis();
};
