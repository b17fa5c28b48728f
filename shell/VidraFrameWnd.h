#pragma once

// CVidraFrameWnd: the reusable layer of the main window. It answers the settings interface
// for the whole program by asking its option stores in turn, keeps the program's indexed
// list, owns the toolbars (each shown from its "View:" setting), finds views among the MDI
// children and handles the File, View, Tools and Window commands of the main menu.

#include "platform/com/ISettingsStore.h"
#include "platform/framework/IIndexedValues.h"
#include "platform/framework/ToolBar.h"
#include "platform/wintypes/Rect.h"
#include "shell/DlgProgramOptions.h"
#include "shell/DlgSnapkeepOptions.h"
#include "shell/DlgSystemConfiguration.h"
#include "shell/MDIFrameWndPlus.h"

#include <array>
#include <vector>

class CDialog;
class CView;
struct CRuntimeClass;

// Command ids of the main menu and toolbars.
inline constexpr UINT ID_VIEW_CONTROL_BAR = 32774;
inline constexpr UINT ID_FILE_OPEN_VIDEO = 32791;
inline constexpr UINT ID_FILE_OPEN_PLAY_GROUP = 32813;
inline constexpr UINT ID_FILE_OPEN_DATA_FILE = 32811;
inline constexpr UINT ID_CAPTURE_WIZARD = 32814;
inline constexpr UINT ID_FILE_NEW_PLAY_PROJECT = 32821;
inline constexpr UINT ID_EDIT_PROGRAM_OPTIONS = 32836;
inline constexpr UINT ID_EDIT_SYSTEM_CONFIGURATION = 32941;
inline constexpr UINT ID_VIEW_MAIN_TOOLBAR = 59392;
inline constexpr UINT ID_VIEW_PLAY_PROJECT_TOOLBAR = 32837;
inline constexpr UINT ID_VIEW_RECORD_PROJECT_TOOLBAR = 32838;
inline constexpr UINT ID_VIEW_VIDEO_CONTROLS_TOOLBAR = 32890;
inline constexpr UINT ID_VIEW_PROJECT_LAYOUT_TOOLBAR = 32889;
inline constexpr UINT ID_VIEW_VIDEO_TOOLS_TOOLBAR = 32898;
inline constexpr UINT ID_VIEW_ONE_STEP_SAVE_TOOLBAR = 32862;
inline constexpr UINT ID_TOOLS_BACKGROUND_MIXER = 32850;
inline constexpr UINT ID_TOOLS_ONE_STEP_SAVE_SETTINGS = 32861;
inline constexpr UINT ID_EDIT_COPY_APPLICATION_WINDOW = 32923;
inline constexpr UINT ID_WINDOW_CASCADE_GROUPS = 32870;
inline constexpr UINT ID_WINDOW_GROUP_FIRST = 32873;
inline constexpr UINT ID_WINDOW_GROUP_LAST = 32881;
inline constexpr UINT ID_WINDOW_LIST = 32882;
inline constexpr UINT ID_WINDOW_CLOSE_ALL_GROUPS = 32918;
inline constexpr UINT ID_WINDOW_CLOSE_ALL = 32929;
inline constexpr UINT ID_RECORD_ADD_DEVICE = 32801;
inline constexpr UINT ID_FILE_OPEN_CAMERA = 32815;
inline constexpr UINT ID_FILE_OPEN_DATA_CARD = 32816;
inline constexpr UINT ID_FILE_NEW_RECORD_CONTROLLER = 32771;
inline constexpr UINT ID_FILE_NEW_CAMERA = 32772;
inline constexpr UINT ID_FILE_NEW_RECORD_CONTROLLER_CAMERA = 32773;
inline constexpr UINT ID_RECORD_DISABLED_A = 32798;
inline constexpr UINT ID_RECORD_DISABLED_B = 32851;

inline constexpr const char* kMainTitle = "Vidra Player";

// Window messages of the project windows that reach the main frame; the project code answers
// them through the handler it installs.
inline constexpr UINT WM_PROJECT_MESSAGE_11036 = 11036;
inline constexpr UINT WM_PROJECT_MESSAGE_21124 = 21124;
inline constexpr UINT WM_PROJECT_MESSAGE_21125 = 21125;
using ProjectMessageHandler = LRESULT (*)(UINT message, WPARAM wParam, LPARAM lParam);
// Closes the hosted frames inside view when it hosts frames (TRUE); FALSE for other views.
using HostedFramesCloser = BOOL (*)(CView* view);

// The path that opens a project with one empty play group.
inline constexpr const char* kEmptyPlayGroupProjectPath = "__xxx3456empthplaygropXXX";

class CVidraFrameWnd : public CMDIFrameWndPlus, public ISettingsStore, public IIndexedValues {
    DECLARE_DYNAMIC(CVidraFrameWnd)
    DECLARE_MESSAGE_MAP()

public:
    // The toolbars in member order, with the setting that shows each (null: no setting).
    enum ToolBarIndex {
        kMainToolBar,
        kPlayProjectToolBar,
        kRecordProjectToolBar,
        kVideoControlsToolBar,
        kProjectLayoutToolBar,
        kVideoToolsToolBar,
        kOneStepSaveToolBar,
        kExtraToolBar,
        kToolBarCount
    };
    static const char* ToolBarKey(int index);

    CVidraFrameWnd();
    ~CVidraFrameWnd() override;

    // ISettingsStore: the program options answer first, then the one-step save settings;
    // E_FAIL when neither knows the key.
    HRESULT GetSetting(const QString& key, VARIANT* out, int index = -1) override;
    HRESULT SetSetting(const QString& key, VARIANT value, int index) override;

    CDlgSystemConfiguration& GetSystemConfiguration() { return m_systemConfiguration; }
    CDlgProgramOptions& GetProgramOptions() { return m_programOptions; }
    CDlgSnapkeepOptions& GetSnapkeepOptions() { return m_snapkeepOptions; }

    // IIndexedValues; entries added by growing the list are -1.
    HRESULT SetDelegate(IIndexedValuesDelegate* pDelegate) override;
    HRESULT DelegateFirst(intptr_t value) override;
    HRESULT SetAt(int index, intptr_t value) override;
    HRESULT GetAt(int index, intptr_t* value) override;
    HRESULT DelegateSecond(intptr_t argument, intptr_t* value) override;

    // Finders over the MDI children from the top; children whose active view is not of
    // viewClass are skipped.
    CView* FindViewOfClass(const CRuntimeClass* viewClass) const;
    // The first such view holding at least one child frame of frameClass.
    CView* FindViewWithChildFrame(const CRuntimeClass* viewClass,
                                  const CRuntimeClass* frameClass) const;
    // The first such view holding none.
    CView* FindGroupView(const CRuntimeClass* viewClass, const CRuntimeClass* frameClass) const;
    CRect GetMDIClientRect() const;
    // Asks for a live camera or a video file (IDeviceSelection): a chosen device gives its
    // launch text "__launchXXXdevice#type#subtype#index#", a file its path; Cancel, or a device
    // of type 0, empty text.
    static QString AddVideoOrDevice();

    // The project code's handler of the project messages; without one they get default handling.
    static void SetProjectMessageHandler(ProjectMessageHandler handler);
    // The project code's closer of hosted frames, used by Window/Close All Windows.
    static void SetHostedFramesCloser(HostedFramesCloser closer);
    // The capture wizard that Tools/3-D Capture Wizard runs modally: one sheet for the whole
    // run, built and kept by the application (null: the command is disabled).
    static void SetCaptureWizard(CDialog* wizard);

    CToolBar& GetToolBar(int index) { return m_toolBars[static_cast<size_t>(index)]; }
    // Shows or hides each toolbar from its "View:" setting.
    void ApplyToolBarSettings();

protected:
    // Loads the option stores before the toolbars read them.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Saves the program options to the registry and the one-step save settings to their file.
    void OnDestroy();

    void OnFileOpenVideo();
    void OnFileOpenPlayGroup();
    void OnFileOpenDataFile();
    void OnWindowList();
    void OnActivateGroup(UINT nID);
    // Names the group entries of the Window menu after the open windows, hiding the rest.
    void OnUpdateGroupEntry(CCmdUI* pCmdUI);
    void OnToggleControlBar();
    void OnUpdateControlBar(CCmdUI* pCmdUI);
    void OnNewPlayProject();
    void OnEditProgramOptions();
    void OnEditSystemConfiguration();
    void OnToggleToolBar(UINT nID);
    void OnUpdateToolBarCheck(CCmdUI* pCmdUI);
    void OnUpdateDisabled(CCmdUI* pCmdUI);
    void OnFeatureNotAvailable();
    void OnCaptureWizard();
    void OnUpdateCaptureWizard(CCmdUI* pCmdUI);
    void OnEditCopyApplicationWindow();
    void OnCloseAllGroups();
    void OnCloseAllWindows();
    void OnUpdateNeedsActiveChild(CCmdUI* pCmdUI);
    void OnNothing() {}
    LRESULT OnProjectMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Closes every document; used by the close of the program and of all groups.
    void CloseEverything();

private:
    // Opens each chosen file through the application; a file that fails is reported.
    void OpenChosenFiles(const QString& title, const QString& filter, bool reportFailures);
    static int ToolBarOfCommand(UINT nID);
    std::vector<CView*> ViewsOfClass(const CRuntimeClass* viewClass) const;

    CDlgProgramOptions m_programOptions;
    CDlgSnapkeepOptions m_snapkeepOptions;
    IIndexedValuesDelegate* m_pIndexedDelegate = nullptr;
    std::vector<intptr_t> m_indexedValues;
    CDlgSystemConfiguration m_systemConfiguration;
    std::array<CToolBar, kToolBarCount> m_toolBars;

    static ProjectMessageHandler s_projectMessageHandler;
    static HostedFramesCloser s_hostedFramesCloser;
    static CDialog* s_captureWizard;
};
