#include "app/SpanrecApp.h"

#include "app/AboutDlg.h"
#include "app/SplashWnd.h"
#include "groups/MeasurementFormDoc.h"
#include "platform/framework/CommandLineInfo.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/MultiDocTemplate.h"
#include "resources/ProgramResources.h"
#include "shell/MainFrame.h"
#include "shell/PlaceholderDoc.h"
#include "shell/PlaceholderFrame.h"
#include "shell/PlaceholderView.h"
#include "views/VidDoc.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

IMPLEMENT_DYNAMIC(CSpanrecApp, CVidraApp)

BEGIN_MESSAGE_MAP(CSpanrecApp, CVidraApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
END_MESSAGE_MAP()

namespace {

struct TemplateRow {
    const char* key;
    UINT resourceId;
    const CRuntimeClass* document;
    const CRuntimeClass* frame;
    const CRuntimeClass* view;
};

// Registration order is key index: later code finds the templates by these keys. A row with
// placeholder classes is a window kind whose subsystem is not built yet.
const TemplateRow* Rows() {
    static const TemplateRow rows[CSpanrecApp::kTemplateCount] = {
        {"DT:Orig", 129, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:Rec", 134, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:Rec2", 134, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:Cam", 138, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:Cam2", 141, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:Meas", 129, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:Meas2", 152, RUNTIME_CLASS(CMeasurementFormDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:Vid", 145, RUNTIME_CLASS(CVidDoc), RUNTIME_CLASS(CVidFrame), RUNTIME_CLASS(CVidView)},
        {"DT:QNSens", 149, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:QNSensVCF", 149, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:QNSensPlay", 151, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:QNSensPlayVCF", 151, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:PmoSensVCF", 149, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:PmoPlayVCF", 151, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:NotesBasicVCF", 153, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
        {"DT:Gen", 154, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
         RUNTIME_CLASS(CPlaceholderView)},
    };
    return rows;
}

}  // namespace

CSpanrecApp::CSpanrecApp() : CVidraApp(QString::fromLatin1(kMainTitle)) {}

QString CSpanrecApp::TemplateKey(int index) {
    return QString::fromLatin1(Rows()[index].key);
}

void CSpanrecApp::AddTemplates() {
    for (int i = 0; i < kTemplateCount; ++i) {
        const TemplateRow& row = Rows()[i];
        auto* docTemplate =
            new CMultiDocTemplate(row.resourceId, row.document, row.frame, row.view);
        // The play group's type strings are its own: its file extension is defined there.
        if (row.document == RUNTIME_CLASS(CMeasurementFormDoc))
            docTemplate->SetDocString(QString::fromLatin1(CMeasurementFormDoc::kDocString));
        m_templates[static_cast<size_t>(i)] = docTemplate;
        AddDocTemplateWithKey(QString::fromLatin1(row.key), docTemplate);
    }
}

BOOL CSpanrecApp::InitInstance() {
    // The program's texts are needed by the first message, that of a second start.
    CProgramResources::Register();
    CCommandLineInfo splashInfo;
    ParseCommandLine(splashInfo);
    CSplashWnd::EnableSplashScreen(splashInfo.m_bShowSplash);
    if (!CVidraApp::InitInstance())
        return FALSE;

    SetRegistryKey(QStringLiteral("Tolvar"));
    LoadStdProfileSettings(10);
    AddTemplates();

    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(128, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE)) {
        delete frame;
        m_nExitCode = 1;
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->DragAcceptFiles();
    CSplashWnd::ShowSplashScreen(frame);

    // There is no object server on this platform: /Embedding and /Automation start the
    // program normally instead of leaving a hidden process with nothing to serve.
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    cmdInfo.m_bRunEmbedded = FALSE;
    cmdInfo.m_bRunAutomated = FALSE;
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::AppUnregister ||
        cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen) {
        if (!ProcessShellCommand(cmdInfo))
            return FALSE;
    }

    m_nCmdShow = SW_SHOWMAXIMIZED;
    frame->ShowWindow(SW_SHOWMAXIMIZED);
    frame->UpdateWindow();
    frame->SetWindowText(QString::fromLatin1(kMainTitle));
    return TRUE;
}

void CSpanrecApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}

BOOL CSpanrecApp::PreTranslateMessage(MSG* pMsg) {
    if (CSplashWnd::PreTranslateAppMessage(pMsg))
        return TRUE;
    return CVidraApp::PreTranslateMessage(pMsg);
}
