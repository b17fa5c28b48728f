#pragma once

// CRecordControllerDoc: the document of a record controller window. It owns the record group of
// the cameras and data cards the controller drives together, the group's automatic download and
// the recording settings the group reads. The devices' windows are embedded in the controller's
// view; each keeps its settings in a numbered device file beside the controller's own file
// ("<base>_dev1.devset" ...), which holds nothing but two marker integers.
//
// A path containing "launchXXX" is no file: it asks for a new controller around the one device
// named by the "#type#subtype#index#" text inside it.

#include "devices/core/DeviceId.h"
#include "devices/core/IRecordGroupListener.h"
#include "devices/core/RecordGroup.h"
#include "frames/IMeasFrameDoc.h"
#include "groups/IProjectRecordGroup.h"
#include "platform/framework/Document.h"
#include "shell/DlgOptionsRecord.h"
#include "shell/MainFrame.h"

#include <memory>
#include <vector>

class CAutoDownloadWnd;
class CCmdUI;
class CDevice;
class CMeasurementFormDoc;
class CNotifier;
class CRecordFrameAdapter;
class CRegionToolWnd;
class CToolWindowTitler;
class CVidView;
class IIdUnknown;
class CRecordControllerView;
class CView;
class CViewChildedFrame;

class CRecordControllerDoc : public CDocument,
                             public IRecordingState,
                             public IProjectRecordGroup,
                             public IRecordGroupListener,
                             public IMeasFrameDoc {
    DECLARE_DYNCREATE(CRecordControllerDoc)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr const char* kLaunchMarker = "launchXXX";
    static constexpr const char* kTemplateKey = "DT:Rec";
    // The controller file: these two integers, nothing else.
    static constexpr int32_t kFileMarker1 = 71372;
    static constexpr int32_t kFileMarker2 = 7836;
    // The controller's own commands.
    static constexpr UINT kRecordOptionsCommand = 32963;
    static constexpr UINT kConnectionsCommand = 32964;
    // Opens the latest recording of the device in front as a play-group member.
    static constexpr UINT kDevicePlaybackCommand = 32988;
    // Tools/Auto-Record Controller..., answered by the controller in front for its own group.
    static constexpr UINT kAutoRecordCommand = 33121;

    CRecordControllerDoc();
    ~CRecordControllerDoc() override;

    // Titles the document "Record Group" and binds the group.
    BOOL OnNewDocument() override;
    // A launch path is kept and the document starts as a new one; a file must carry the
    // controller's extension and read as a controller file.
    BOOL OnOpenDocument(const QString& pathName) override;
    // Saves every embedded device window's document to its numbered device file, then the
    // controller file; FALSE when any of them could not be written. Only after every device
    // file was written are the numbered files of devices no longer there removed.
    BOOL OnSaveDocument(const QString& pathName) override;
    void OnCloseDocument() override;
    // The base question, then one for every device of the group whose memory holds a
    // recording not yet saved (DeviceMemoryGuard).
    BOOL SaveModified() override;
    // A launch path never becomes the document's path nor enters the recent-file list.
    void SetPathName(const QString& pathName, BOOL bAddToMRU = TRUE) override;
    void Serialize(CArchive& ar) override;

    static bool IsLaunchPath(const QString& path);
    // Whether the whole extension of path is the controller template's (case aside).
    static bool HasControllerExtension(const QString& path);

    // Keeps path as the document's path without retitling it or touching the recent files; a
    // launch path the document was opened with is forgotten.
    void StorePathName(const QString& path);
    // Adds the devices of path: the launch path's one device, or those of the numbered device
    // files up to the first missing one. How many devices were added.
    int LoadDeviceSet(const QString& path);
    // LoadDeviceSet with the launch path, or else the document's own path.
    int LoadDeviceSet();

    // IProjectRecordGroup
    void StoreConfigurationPath(const QString& path) override { StorePathName(path); }
    void ReloadDeviceSet() override { LoadDeviceSet(); }
    // IRecordingState
    BOOL IsRecording() const override;

    // Opens the device's window inside the controller (opening the device itself when it is
    // not open yet), puts the device into the group and activates the window. The window's
    // view, or null when the device could not be opened (nothing is added then).
    CView* AddDevice(const CDeviceId& id);
    // Opens a camera window from a camera document path (a device path or a settings file)
    // embedded in the controller's view; its view, or null.
    CView* OpenDeviceVideoWindow(const QString& path);
    // Opens a window of the template key embedded in the controller's view; its view, or null.
    CView* OpenVideoWindow(const QString& templateKey, const QString& path);

    // The embedded frames whose view shows a device (camera or data sensor), in window order.
    std::vector<CViewChildedFrame*> DeviceFrames() const;
    // Asks every device window to close.
    void CloseDeviceWindows();

    // The "Record Options" dialog over a copy of the document's recording settings.
    void ShowRecordOptions();
    // The connection assistant over the open devices, or the message that there are none.
    void ShowConnections();
    // The Auto-Record Controller over the group's automatic download, with the options as the
    // option file holds them now; its answer, or -1 (the user told) when the group is empty.
    INT_PTR RunAutoRecord();

    CRecordGroup* GetRecordGroup() override { return &m_group; }
    CDlgOptionsRecord& GetRecordOptions() { return m_recordOptions; }
    CAutoDownloadWnd* GetAutoDownload() const { return m_download.get(); }
    const QString& GetLaunchPath() const { return m_launchPath; }
    CRecordControllerView* GetControllerView() const;

    // IRecordGroupListener: a device's recording opens as a playback (OpenDevicePlayback;
    // E_FAIL when none opened); the views show the group as it is after a change of state, an
    // ended recording or a change of its devices.
    HRESULT AddPlayback(int deviceHandle) override;
    HRESULT OnStateChanged(int oldState, int newState) override;
    HRESULT OnRecordingEnded(int state) override;
    HRESULT OnBeforeLive() override { return S_OK; }
    HRESULT OnGroupChanged() override;

    // Device playback (asked of the group's state listener: the project that holds the
    // controller, else this document): opens what the group's device with that handle holds (a
    // camera's latest recording, a data card's memory) as a member of a play group: the open play
    // group when "AppBehave:bOpenDevPlayInExisting" is on and there is one (the one beside this
    // controller first), else the group of a new play project. The member's view is linked with the
    // document's interface object. The view, or null when the device is no member of the group
    // or nothing could be opened.
    CView* OpenDevicePlayback(int deviceHandle);
    // The device whose recording the playback command opens: the device in front when it holds
    // one, else the first device of the group that does; null when none does.
    CDevice* FindPlaybackDevice();
    // Whether the device holds a recording that a playback can show.
    static bool HoldsRecording(CDevice* device);

    // Connects object's notifier (interface id 4) with the document's interface object, so
    // that views attached to the controller follow each other's frames; a notifier connected
    // already is left as it is. E_FAIL when the interface object gives no notifier, E_POINTER
    // when object gives none.
    HRESULT LinkInterfaceObject(IIdUnknown* object) override;
    CNotifier* GetInterfaceObject() const { return m_interfaceObject.get(); }

    // The adapter through which the controller's video views show derived sources and data
    // in windows of the controller; every video window opened in it gets it as tool context.
    CRecordFrameAdapter* GetFrameWindowAdapter() const { return m_frameAdapter.get(); }
    // IMeasFrameDoc: the controller's view holds the windows; new ones are shown at once.
    CWnd* GetMemberFrameParent() override;
    CFrameWnd* ParentNewVideoFrame() override;
    CFrameWnd* ParentNewDataFrame() override;
    bool GetMemberFrameChangedCallback(FrameChangedFn*, void**) override { return false; }

    // Shows a window opened in the controller; its frame, or null without one.
    static CFrameWnd* ShowNewWindow(CView* view);

    // The video trigger's region on a camera's picture: the controller's region tool takes it
    // over the camera's live source, and the tool windows show the picture with the region
    // outlined ("VT Settings") and the region alone ("VT Zoom Region"); they are opened when
    // they are not open. E_FAIL without a picture or when the windows cannot be made.
    HRESULT ShowVideoTriggerRegion(CVidView* camera, const CRect& region);
    CToolWindowTitler& GetToolWindowTitler() { return *m_titler; }
    CRegionToolWnd& GetRegionTool() { return *m_regionTool; }
    // The record controller whose view holds the window of view, or null.
    static CRecordControllerDoc* OfEmbeddedView(CView* view);

    // The device kind of a view of a device window: 3 camera, 2 data sensor, 0 other.
    static int DeviceKindOfView(const CView* view);
    // The device a device window's view shows; null for other views.
    static CDevice* DeviceOfView(CView* view);

protected:
    void OnRecordOptions();
    void OnConnections();
    void OnDevicePlayback();
    void OnUpdateDevicePlayback(CCmdUI* pCmdUI);
    void OnAutoRecord();

private:
    void BindGroup();
    // Puts the device of a new device window into the group and activates the window; a window
    // without a device is closed again. The view, or null.
    CView* AdoptDeviceWindow(CView* view);
    // Shows the controller's frame, hidden until now, in front in the window that holds it.
    void ShowController(CRecordControllerView* host);
    // The window of the device's kind, opened on path; null for a kind without windows.
    CView* OpenDeviceWindow(const CDeviceId& id, const QString& path);
    bool IsGroupDevice(CDevice* device) const;
    // The play group a device playback joins (see OpenDevicePlayback); null when none could
    // be opened.
    CMeasurementFormDoc* PlaybackGroup() const;
    // The play group of the project that holds this controller, or null.
    CMeasurementFormDoc* ProjectPlayGroup() const;

    QString m_launchPath;
    // Destroyed in this order from the bottom: the download, the group, the settings.
    CDlgOptionsRecord m_recordOptions;
    CRecordGroup m_group;
    std::unique_ptr<CAutoDownloadWnd> m_download;
    std::unique_ptr<CNotifier> m_interfaceObject;
    std::unique_ptr<CRecordFrameAdapter> m_frameAdapter;
    std::unique_ptr<CRegionToolWnd> m_regionTool;
    std::unique_ptr<CToolWindowTitler> m_titler;
    // The picture the region tool's source cuts the region out of.
    CFrameSourcePtr m_regionPicture;
};
