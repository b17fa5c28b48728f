#include "groups/MeasurementFormDoc.h"

#include "frames/DataFileSaveTarget.h"
#include "frames/DlgSaveData.h"
#include "frames/FileInUse.h"
#include "frames/FileNames.h"
#include "frames/FrameSource.h"
#include "frames/IDataPlayView.h"
#include "frames/MeasFrameAdapter.h"
#include "frames/SaveControllerBase.h"
#include "frames/SaveVideoParams.h"
#include "groups/FrameParentingView.h"
#include "groups/GeneralDoc.h"
#include "groups/GeneralView.h"
#include "groups/GroupSettings.h"
#include "groups/IDeviceMemory.h"
#include "groups/IPlayGroupView.h"
#include "groups/MeasurementView.h"
#include "groups/NotesFile.h"
#include "groups/PlayGroupAdapter.h"
#include "groups/RecordingNotes.h"
#include "groups/SaveDocCallback.h"
#include "groups/SyncResavePass.h"
#include "groups/SyncSaveListDlg.h"
#include "platform/com/ISettingsStore.h"
#include "platform/com/Variant.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/FrameWnd.h"
#include "platform/framework/FrameworkIds.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/RunningOperation.h"
#include "platform/framework/View.h"
#include "platform/framework/WinApp.h"
#include "platform/wintypes/Assert.h"
#include "shell/VidraApp.h"
#include "shell/VidraFrameWnd.h"
#include "shell/ViewChildedFrame.h"
#include "views/PlaybackView.h"
#include "views/VidFrame.h"
#include "views/VidView.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <utility>

IMPLEMENT_DYNCREATE(CMeasurementFormDoc, CDocument)

BEGIN_MESSAGE_MAP(CMeasurementFormDoc, CDocument)
END_MESSAGE_MAP()

namespace {

// Group files are written as UTF-8; one written on Windows may hold its paths in Windows-1252,
// which is how it is read when the bytes are not valid UTF-8 (its members would be lost).
QString DecodeGroupText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // 0x80..0x9F of Windows-1252; the five unassigned bytes keep their Latin-1 code.
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t{b}));
    }
    return out;
}

constexpr const char* kVideoTemplate = "DT:Vid";
constexpr const char* kDataFilterTemplate = "DT:QNSensPlayVCF";
constexpr const char* kDataTemplate = "DT:PmoPlayVCF";
constexpr const char* kNotesTemplate = "DT:NotesBasicVCF";
constexpr const char* kGroupTemplate = "DT:Meas2";

// How a new member frame is sized inside the container.
enum SizeRule { kSizeVideo, kSizeData, kSizeKept };

CMeasurementFormDoc::DataSetFactory& DataSetFactoryRef() {
    static CMeasurementFormDoc::DataSetFactory s_factory;
    return s_factory;
}

CMeasurementFormDoc::AnalysisFactory& AnalysisFactoryRef() {
    static CMeasurementFormDoc::AnalysisFactory s_factory;
    return s_factory;
}

// Groups made by OnNewDocument so far; never lowered, so titles are not reused.
int s_newGroupCount = 0;

CDocTemplate* TemplateByKey(const QString& key) {
    CVidraApp* app = AfxGetVidraApp();
    if (!app)
        return nullptr;
    for (POSITION pos = app->GetFirstDocTemplatePosition(); pos;) {
        CDocTemplate* docTemplate = app->GetNextDocTemplate(pos);
        if (app->KeyOfTemplate(docTemplate) == key)
            return docTemplate;
    }
    return nullptr;
}

QString FilterOf(const CDocTemplate* docTemplate) {
    QString filter;
    if (docTemplate)
        docTemplate->GetDocString(filter, CDocTemplate::filterExt);
    return filter;
}

CView* FirstViewOf(const CDocument* doc) {
    POSITION pos = doc->GetFirstViewPosition();
    return pos ? doc->GetNextView(pos) : nullptr;
}

// The child windows of parent by handle, top first: closing one may destroy others, so each is
// looked up again before use.
std::vector<HWND> ChildWindows(CWnd* parent) {
    std::vector<HWND> children;
    if (!parent)
        return children;
    for (CWnd* child = parent->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        children.push_back(child->GetSafeHwnd());
    return children;
}

// What a save of a group's member uses: the group and the documents of the windows that show
// the member.
std::vector<CDocument*> DocumentsUsedBy(CMeasurementFormDoc* group, int type, int id) {
    std::vector<CDocument*> documents{group};
    for (HWND handle : ChildWindows(group->GetContainer())) {
        CPlaybackView* playback = CMeasurementFormDoc::PlaybackOfFrame(CWnd::FromHandle(handle));
        if (playback && playback->GetGroupDocument() == group &&
            playback->GetSourceType() == type && CMeasurementView::SourceIdOf(playback) == id)
            documents.push_back(playback->GetDocument());
    }
    return documents;
}

// The name of a file up to and including the first occurrence of c; "" without one.
QString UpToAndIncluding(const QString& name, QChar c) {
    const qsizetype at = name.indexOf(c);
    return at < 0 ? QString() : name.left(at + 1);
}

IDeviceMemory*& DeviceMemoryRef() {
    static IDeviceMemory* s_memory = nullptr;
    return s_memory;
}

// A group-file line joined to the folder of the group file. Lines written on Windows use
// '\'; a line with a drive letter or a leading separator is a whole path.
QString ResolveGroupLine(const QString& groupFolder, QString line) {
    line.replace('\\', '/');
    if (line.isEmpty())
        return {};
    const bool whole = line.startsWith('/') || (line.size() >= 2 && line[1] == ':');
    return whole ? ResolveRelativePath(line) : ResolveRelativePath(groupFolder + '/' + line);
}

// Group files being read right now: a group that lists itself, directly or through another
// group file, would otherwise be opened without end.
QSet<QString>& GroupFilesBeingOpened() {
    static QSet<QString> s_paths;
    return s_paths;
}

}  // namespace

void CMeasurementFormDoc::SetDataSetFactory(DataSetFactory factory) {
    DataSetFactoryRef() = std::move(factory);
}

void CMeasurementFormDoc::SetAnalysisFactory(AnalysisFactory factory) {
    AnalysisFactoryRef() = std::move(factory);
}

void CMeasurementFormDoc::SetDeviceMemory(IDeviceMemory* memory) {
    DeviceMemoryRef() = memory;
}

bool CMeasurementFormDoc::IsDeviceMarker(const QString& path) {
    return path.contains(QLatin1String(kDeviceMarker));
}

bool CMeasurementFormDoc::ParseDeviceMarker(const QString& path, CDeviceId* id) {
    const qsizetype marker = path.indexOf(QLatin1String(kDeviceMarker));
    if (marker < 0)
        return false;
    // The identity follows the marker; a '#' in the folders before it is no part of it.
    CDeviceId parsed;
    parsed.FromString(path.mid(marker + qsizetype(qstrlen(kDeviceMarker))));
    if (id)
        *id = parsed;
    return !parsed.IsNone();
}

QString CMeasurementFormDoc::DeviceMarkerPath(const CDeviceId& id) {
    return QStringLiteral("__") + QLatin1String(kDeviceMarker) + QStringLiteral("device") +
           id.ToString();
}

CMeasurementFormDoc::CMeasurementFormDoc()
    : m_saveCallback(std::make_unique<CSaveDocCallback>(this)),
      m_frameAdapter(std::make_unique<CMeasFrameAdapter>(this)),
      m_groupAdapter(std::make_unique<CPlayGroupAdapter>(this)) {}

CMeasurementFormDoc::~CMeasurementFormDoc() {
    m_groupAdapter->DetachDocument();
}

QString CMeasurementFormDoc::TemplateFilterExtension(const QString& key) {
    return FilterOf(TemplateByKey(key));
}

bool CMeasurementFormDoc::FilterContainsExtension(const QString& filter, const QString& extension) {
    if (extension.isEmpty())
        return false;
    const QString wanted = '.' + extension.toLower();
    const QStringList entries = filter.split(';', Qt::SkipEmptyParts);
    return std::any_of(entries.begin(), entries.end(),
                       [&](const QString& entry) { return entry.trimmed().toLower() == wanted; });
}

BOOL CMeasurementFormDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return FALSE;
    ++s_newGroupCount;
    const QString name = QStringLiteral("Play Group");
    SetTitle(s_newGroupCount == 1 ? name : QStringLiteral("%1 %2").arg(name).arg(s_newGroupCount));
    return TRUE;
}

BOOL CMeasurementFormDoc::OnOpenDocument(const QString& pathName) {
    m_pendingGroupPath = pathName;
    if (pathName.contains(QLatin1String(kDeviceMarker)))
        return OnNewDocument();
    return TRUE;
}

BOOL CMeasurementFormDoc::OnSaveDocument(const QString&) {
    IPlayGroupView* view = GetGroupView();
    if (!view)
        return FALSE;
    const int id = view->GetActiveVideoSourceId();
    CFrameSource* source = GetVideoSourceById(id, nullptr);
    if (!source)
        return FALSE;
    const CRunningOperation running(DocumentsUsedBy(this, kTypeVideo, id),
                                    CSaveControllerBase::CancellerOf(source));
    return source->SaveAs(0) ? TRUE : FALSE;
}

void CMeasurementFormDoc::OnCloseDocument() {
    // While an operation uses the group its playbacks stay: the close comes again after it.
    if (!CRunningOperation::IsRunning(this))
        CloseAllPlaybacks();
    CDocument::OnCloseDocument();
}

BOOL CMeasurementFormDoc::CanCloseFrame(CFrameWnd* pFrame) {
    if (!CDocument::CanCloseFrame(pFrame))
        return FALSE;
    CloseAllPlaybacks();
    return TRUE;
}

BOOL CMeasurementFormDoc::SaveModified() {
    // Notes changed since they were written are changes of the group: its save writes them.
    bool notesChanged = false;
    for (int i = 0; i < GetVideoCount(); ++i)
        notesChanged = notesChanged || (GetVideoNotes(i) && GetVideoNotes(i)->IsModified());
    for (int i = 0; i < GetDataCount(); ++i)
        notesChanged = notesChanged || (GetDataNotes(i) && GetDataNotes(i)->IsModified());
    if (!IsModified() && !notesChanged)
        return TRUE;
    OfferDeviceMemoryResave();
    if (!HasFileEntry())
        return TRUE;
    const QString prompt = QStringLiteral("Save changes to %1?").arg(GetTitle());
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
        case IDCANCEL:
            return FALSE;
        case IDYES:
            // The device memory was offered just now: it is not asked for a second time.
            return SaveGroupFileAs(GetPathName());
        default:
            // No: the notes the group save would have written are given up with it, so the
            // members' closes that follow do not ask about them again.
            for (int i = 0; i < GetVideoCount(); ++i)
                if (CRecordingNotes* notes = GetVideoNotes(i))
                    notes->SetModified(false);
            for (int i = 0; i < GetDataCount(); ++i)
                if (CRecordingNotes* notes = GetDataNotes(i))
                    notes->SetModified(false);
            SetModifiedFlag(FALSE);
            return TRUE;
    }
}

void CMeasurementFormDoc::OfferDeviceMemoryResave() {
    if (!HasDeviceMemoryEntry())
        return;
    const int answer = AfxMessageBox(
        QStringLiteral("This play project contains one (or more) playback from device memory. "
                       "Save the playback(s) from memory?"),
        MB_YESNO | MB_ICONQUESTION);
    if (answer != IDNO)
        ResaveGroup(0, kFromDeviceMemory, 0, 1, 1, 0, 0, QString());
}

BOOL CMeasurementFormDoc::DoSave(const QString& pathName, BOOL) {
    OfferDeviceMemoryResave();
    return SaveGroupFileAs(pathName);
}

BOOL CMeasurementFormDoc::SaveGroupFileAs(const QString& pathName) {
    QString path = IsPlayGroupPath(pathName) ? pathName : QString();
    if (path.isEmpty() && !PromptPlayGroupFileName(GetPathName(), &path))
        return FALSE;
    // The dialog's own type makes the name a group file; one typed with another extension
    // still must not land on a recording.
    if (!IsPlayGroupPath(path))
        path += GroupFilterExtension();
    if (!WritePlayGroupFile(path))
        return FALSE;
    WriteMemberNotes();
    return TRUE;
}

void CMeasurementFormDoc::SetPathName(const QString& pathName, BOOL bAddToMRU) {
    if (IsPlayGroupPath(pathName))
        CDocument::SetPathName(pathName, bAddToMRU);
}

bool CMeasurementFormDoc::IsPlayGroupPath(const QString& path) {
    QString extension = TemplateFilterExtension(kGroupTemplate);
    if (extension.isEmpty())
        extension = QStringLiteral(".playgrp");
    return FilterContainsExtension(extension, GetFileExtension(path));
}

BOOL CMeasurementFormDoc::DoFileSave() {
    return DoSave(GetPathName(), FALSE);
}

QString CMeasurementFormDoc::GroupFilterExtension() const {
    const QString own = FilterOf(GetDocTemplate());
    return own.isEmpty() ? TemplateFilterExtension(kGroupTemplate) : own;
}

CFrameWnd* CMeasurementFormDoc::ParentNewVideoFrame() {
    CDocument* doc = nullptr;
    CView* view = nullptr;
    return ParentVideoFrame(QString(), &doc, &view, TRUE) ? view->GetParentFrame() : nullptr;
}

CFrameWnd* CMeasurementFormDoc::ParentNewDataFrame() {
    CDocument* doc = nullptr;
    CView* view = nullptr;
    CFrameWnd* frame = nullptr;
    return ParentDataFrame(QString(), &doc, &view, &frame, TRUE) ? frame : nullptr;
}

bool CMeasurementFormDoc::GetMemberFrameChangedCallback(FrameChangedFn* fn, void** context) {
    IPlayGroupView* view = GetGroupView();
    return view && view->GetMemberFrameChangedCallback(fn, context);
}

IPlayGroupView* CMeasurementFormDoc::GetGroupView() const {
    return dynamic_cast<IPlayGroupView*>(FirstViewOf(this));
}

CWnd* CMeasurementFormDoc::GetContainer() const {
    CView* view = FirstViewOf(this);
    if (!view)
        return nullptr;
    if (auto* groupView = dynamic_cast<IPlayGroupView*>(view))
        return groupView->GetOwnerParentingView();
    // Without its own group view the group's frame still sits in the window that holds it.
    if (CFrameWnd* frame = view->GetParentFrame()) {
        if (auto* childed = dynamic_cast<CViewChildedFrame*>(frame))
            return childed->GetParentView();
        if (CWnd* parent = frame->GetParent())
            return parent;
    }
    return view;
}

BOOL CMeasurementFormDoc::AddPlaybackFromFile(const QString& path, int viewFlag, int takePathName,
                                              CDocument** outDoc, CView** outView) {
    SetLastAdded(kTypeNone, -1, -1, -1, -1);
    m_lastPlaybackPath = path;
    const BOOL fullTitles =
        GroupIntegerSetting(QStringLiteral("View:ViewFullPathPlayTitles"), 0) != 0;

    if (IsDeviceMarker(path)) {
        AddDeviceMemory(path, viewFlag, outDoc, outView);
        UpdateMembersAndArrange();
        return TRUE;
    }

    const QString extension = GetFileExtension(path).toLower();
    if (FilterContainsExtension(TemplateFilterExtension(kVideoTemplate), extension)) {
        if (!AddVideoFile(path, fullTitles, viewFlag, takePathName, outDoc, outView))
            return FALSE;
    }
    if (FilterContainsExtension(TemplateFilterExtension(kDataFilterTemplate), extension)) {
        if (!AddDataFile(path, fullTitles, viewFlag, takePathName, outDoc, outView))
            return FALSE;
    }
    if (FilterContainsExtension(GroupFilterExtension(), extension) && OpenGroupFile(path, 1))
        SetModifiedFlag(TRUE);
    UpdateMembersAndArrange();
    return TRUE;
}

QString CMeasurementFormDoc::VideoMemberTitle(const QString& path, bool fullTitles) {
    const QString extension = GetFileExtension(path);
    const QString lower = extension.toLower();
    QString title = path;
    if (lower != QLatin1String("avi") && lower != QLatin1String("raw")) {
        // A numbered image stands for its whole sequence.
        const QString base = GetSequenceBaseName(path, true);
        title = base.size() < GetFileTitle(path, true).size() ? base + "*." + extension
                                                              : base + '.' + extension;
    }
    return fullTitles ? title : GetFileNameFromPath(title);
}

BOOL CMeasurementFormDoc::AddVideoFile(const QString& path, BOOL fullTitles, int viewFlag,
                                       int takePathName, CDocument** outDoc, CView** outView) {
    CDocument* doc = nullptr;
    CView* view = nullptr;
    if (!ParentVideoFrame(QString(), &doc, &view, FALSE))
        return FALSE;
    if (outDoc)
        *outDoc = doc;
    if (outView)
        *outView = view;
    CFrameWnd* frame = view->GetParentFrame();

    const QString title = VideoMemberTitle(path, fullTitles);
    if (takePathName == 1)
        doc->SetPathName(path, TRUE);
    doc->SetTitle(title);
    frame->SetWindowText(title);

    CFrameSourcePtr source(new CFrameSource);
    if (!source->Open(path)) {
        AfxMessageBox(QStringLiteral("Error loading video from file."), MB_ICONEXCLAMATION);
        const std::weak_ptr<bool> alive = frame->GetLifeToken();
        frame->SendMessage(WM_CLOSE);
        // The member never existed: its window goes even when the container would keep it.
        if (!alive.expired())
            frame->DestroyWindow();
        if (outDoc)
            *outDoc = nullptr;
        if (outView)
            *outView = nullptr;
        return FALSE;
    }

    AddVideoEntry(source, kFromFile, path);
    AttachAnalysisObjects(source, view);
    LoadVideoNotes(path, source.Get(), view);
    unsigned id = 0;
    source->GetSourceId(&id);
    SetLastAdded(kTypeVideo, GetVideoCount() - 1, static_cast<int>(id), kFromFile, -1);
    SetUpMember(view, viewFlag);
    view->ShowWindow(SW_SHOW);
    frame->ShowWindow(SW_SHOW);
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CMeasurementFormDoc::AddDataFile(const QString& path, BOOL fullTitles, int viewFlag,
                                      int takePathName, CDocument** outDoc, CView** outView) {
    CDocument* doc = nullptr;
    CView* view = nullptr;
    CFrameWnd* frame = nullptr;
    if (!ParentDataFrame(QString(), &doc, &view, &frame, FALSE))
        return FALSE;
    // A program with data windows has the sensor-data layer that reads their files.
    if (!RM_ASSERT(DataSetFactoryRef())) {
        frame->DestroyWindow();
        return FALSE;
    }
    CMemberDataRef data(DataSetFactoryRef()());
    // A file that cannot be read makes no member: an empty window would stand for nothing.
    // The user hears of it as of any document that failed to open.
    if (FAILED(data->Open(path))) {
        frame->DestroyWindow();
        AfxMessageBox(QStringLiteral("Failed to open document %1.").arg(path),
                      MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (outDoc)
        *outDoc = doc;
    if (outView)
        *outView = view;
    const QString title = fullTitles ? path : GetFileNameFromPath(path);
    if (takePathName == 1)
        doc->SetPathName(path, TRUE);
    doc->SetTitle(title);
    frame->SetWindowText(title);

    AddDataEntry(data, kFromFile, path);
    // The data document shows the member's data set from now on.
    if (auto* dataView = dynamic_cast<IDataPlayView*>(view))
        dataView->DataSetDataSet(data);
    SetLastAdded(kTypeData, GetDataCount() - 1, data->GetDataId(), kFromFile, -1);
    LoadDataNotes(path, data);
    SetUpMember(view, viewFlag);
    view->ShowWindow(SW_SHOW);
    frame->ShowWindow(SW_SHOW);
    SetModifiedFlag(TRUE);
    return TRUE;
}

void CMeasurementFormDoc::AddDeviceMemory(const QString& markerPath, int viewFlag,
                                          CDocument** outDoc, CView** outView) {
    CDeviceId id;
    if (!ParseDeviceMarker(markerPath, &id))
        return;
    CDocument* doc = nullptr;
    CView* view = nullptr;
    CFrameWnd* frame = nullptr;
    if (id.m_type == kTypeVideo) {
        if (!ParentVideoFrame(QString(), &doc, &view, FALSE))
            return;
        frame = view->GetParentFrame();
    } else if (id.m_type == kTypeData) {
        if (!ParentDataFrame(QString(), &doc, &view, &frame, FALSE))
            return;
    } else {
        return;
    }
    if (outDoc)
        *outDoc = doc;
    if (outView)
        *outView = view;

    IDeviceMemory* memory = DeviceMemoryRef();
    int handle = -1;
    QString name;
    // A device that is not open, or holds nothing, leaves the window empty and adds no member.
    if (memory && memory->FindDevice(id, &handle, &name)) {
        bool added = false;
        if (id.m_type == kTypeVideo) {
            const CFrameSourcePtr source = memory->GetLatestRecording(id);
            if (!source.IsEmpty()) {
                AddVideoEntry(source, kFromDeviceMemory, markerPath);
                AttachAnalysisObjects(source, view);
                LoadVideoNotes(markerPath, source.Get(), view);
                unsigned sourceId = 0;
                source->GetSourceId(&sourceId);
                SetLastAdded(kTypeVideo, GetVideoCount() - 1, static_cast<int>(sourceId),
                             kFromDeviceMemory, handle);
                added = true;
            }
        } else {
            const CMemberDataRef data = memory->CopyMemory(id);
            if (!data.IsEmpty()) {
                AddDataEntry(data, kFromDeviceMemory, markerPath);
                if (auto* dataView = dynamic_cast<IDataPlayView*>(view))
                    dataView->DataSetDataSet(data);
                SetLastAdded(kTypeData, GetDataCount() - 1, data->GetDataId(), kFromDeviceMemory,
                             handle);
                LoadDataNotes(markerPath, data);
                added = true;
            }
        }
        if (added) {
            SetUpMember(view, viewFlag);
            QString title = QStringLiteral("Hardware Memory : ");
            if (!name.isEmpty())
                title += ' ' + name;
            doc->SetTitle(title);
            frame->SetWindowText(title);
            SetModifiedFlag(TRUE);
        }
    }
    view->ShowWindow(SW_SHOW);
    frame->ShowWindow(SW_SHOW);
}

void CMeasurementFormDoc::SetUpMember(CView* view, int viewFlag) {
    if (IPlayGroupView* groupView = GetGroupView())
        groupView->SetUpMember(view, viewFlag);
}

void CMeasurementFormDoc::UpdateMembersAndArrange() {
    for (int i = 0; i < GetVideoCount(); ++i)
        UpdateAllViews(nullptr, i, nullptr);
    constexpr UINT kArrangeMembers = 32952;
    if (CView* view = FirstViewOf(this))
        view->PostMessage(WM_COMMAND, kArrangeMembers, 0);
}

BOOL CMeasurementFormDoc::OpenFileWithSimilarlyNamed(const QString& path) {
    if (!CollectSimilarlyNamedFiles(path))
        return FALSE;
    OpenPendingFiles();
    SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CMeasurementFormDoc::CollectSimilarlyNamedFiles(const QString& path) {
    const QString name = GetFileNameFromPath(path);
    const QString extension = GetFileExtension(path);
    QString title = GetFileTitle(name, false);
    if (extension == QLatin1String("bmp") || extension == QLatin1String("tif") ||
        extension == QLatin1String("jpg"))
        title = GetSequenceBaseName(name, false);
    const QString folder = GetFolderFromPath(path) + '/';

    const QString videoFilter = TemplateFilterExtension(kVideoTemplate);
    const QString dataFilter = TemplateFilterExtension(kDataFilterTemplate);
    const bool isVideo = FilterContainsExtension(videoFilter, extension);
    const bool isData = FilterContainsExtension(dataFilter, extension);
    if (!isVideo && !isData)
        return FALSE;

    const QString tagPrefix = UpToAndIncluding(name, '{');
    const QString tagEnd = UpToAndIncluding(name, '}');
    if (isVideo && (tagEnd.size() <= 1 || tagPrefix.size() <= 1)) {
        const QString companion = folder + title + ".au2";
        if (QFileInfo(companion).isFile())
            m_pendingList.append(companion);
        return !m_pendingList.isEmpty();
    }
    if (tagPrefix.size() <= 1)
        return FALSE;

    const QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    QSet<QString> tagsTaken;
    for (const QString& candidate : names) {
        if (!candidate.startsWith(tagPrefix))
            continue;
        const QString candidateExtension = GetFileExtension(candidate);
        if (!FilterContainsExtension(videoFilter, candidateExtension) &&
            !FilterContainsExtension(dataFilter, candidateExtension))
            continue;
        const QString tag = UpToAndIncluding(candidate, '}');
        if (tag == tagEnd || tagsTaken.contains(tag))
            continue;
        tagsTaken.insert(tag);
        m_pendingList.append(folder + candidate);
    }
    return !m_pendingList.isEmpty();
}

BOOL CMeasurementFormDoc::OpenPendingFiles() {
    // Opening a path may read another group file into the list: take the list first.
    const QStringList paths = std::exchange(m_pendingList, QStringList());
    const int modifiedAfterOpen = m_modifiedAfterOpen;
    for (const QString& path : paths) {
        AddPlaybackFromFile(path, 0, 0, nullptr, nullptr);
        SetModifiedFlag(modifiedAfterOpen);
    }
    return TRUE;
}

BOOL CMeasurementFormDoc::ParentVideoFrame(const QString& path, CDocument** outDoc, CView** outView,
                                           BOOL show) {
    return ParentFrame(kVideoTemplate, path, kSizeVideo, show, outDoc, outView, nullptr);
}

BOOL CMeasurementFormDoc::ParentDataFrame(const QString& path, CDocument** outDoc, CView** outView,
                                          CFrameWnd** outFrame, BOOL show) {
    return ParentFrame(kDataTemplate, path, kSizeData, show, outDoc, outView, outFrame);
}

BOOL CMeasurementFormDoc::ParentNotesFrame(const QString& path, CDocument** outDoc, CView** outView,
                                           CFrameWnd** outFrame) {
    return ParentFrame(kNotesTemplate, path, kSizeKept, TRUE, outDoc, outView, outFrame);
}

BOOL CMeasurementFormDoc::ParentFrame(const char* key, const QString& path, int sizeRule, BOOL show,
                                      CDocument** outDoc, CView** outView, CFrameWnd** outFrame) {
    if (outDoc)
        *outDoc = nullptr;
    if (outView)
        *outView = nullptr;
    if (outFrame)
        *outFrame = nullptr;
    CWnd* container = GetContainer();
    CDocTemplate* docTemplate = TemplateByKey(QString::fromLatin1(key));
    if (!container || !docTemplate)
        return FALSE;
    CDocument* doc = docTemplate->OpenDocumentFile(path, FALSE);
    if (!doc)
        return FALSE;
    CView* view = FirstViewOf(doc);
    CFrameWnd* frame = view ? view->GetParentFrame() : nullptr;
    if (!frame) {
        doc->OnCloseDocument();
        return FALSE;
    }

    // The template has given the view its initial update already.
    auto* childed = dynamic_cast<CViewChildedFrame*>(frame);
    auto* containerView = dynamic_cast<CView*>(container);
    if (childed && containerView)
        CViewChildedFrame::AttachToParentView(containerView, childed);
    else
        frame->SetParent(container);
    const int showCommand = show ? SW_SHOW : SW_HIDE;
    frame->ShowWindow(showCommand);
    frame->SetMenu(nullptr);
    view->ShowWindow(showCommand);

    CRect client;
    container->GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    if (sizeRule == kSizeVideo)
        frame->SetWindowPos(nullptr, 0, 0, (2 * w - 4) / 3, 3 * (h - 2) / 4,
                            SWP_NOMOVE | SWP_NOZORDER);
    else if (sizeRule == kSizeData)
        frame->SetWindowPos(nullptr, 0, 0, (2 * w - 4) / 3, (2 * h - 4) / 3,
                            SWP_NOMOVE | SWP_NOZORDER);
    if (auto* video = dynamic_cast<CVidView*>(view))
        video->SetToolContext(
            reinterpret_cast<intptr_t>(static_cast<IFrameWindowAdapter*>(m_frameAdapter.get())));
    container->SetFocus();
    container->SendMessage(WM_SIZE, 0, 0);

    if (outDoc)
        *outDoc = doc;
    if (outView)
        *outView = view;
    if (outFrame)
        *outFrame = frame;
    return TRUE;
}

void CMeasurementFormDoc::AttachAnalysisObjects(const CFrameSourcePtr& source, CView* view) {
    AnalysisFactory& factory = AnalysisFactoryRef();
    m_analysis.emplace_back(factory ? factory(source, view) : nullptr);
}

BOOL CMeasurementFormDoc::AddVideoEntry(const CFrameSourcePtr& source, int flag,
                                        const QString& path) {
    m_videos.push_back(source);
    m_videoFlags.push_back(flag);
    m_videoPaths.append(path);
    m_videoNotes.push_back(nullptr);
    UpdateAllViews(nullptr, GetVideoCount() - 1, nullptr);
    return TRUE;
}

void CMeasurementFormDoc::LoadVideoNotes(const QString& path, CFrameSource* source, CView* view) {
    if (m_videoNotes.empty() || !source)
        return;
    auto notes = std::make_unique<CRecordingNotes>();
    const int frames = source->GetFrameCount();
    notes->ResetAll(frames, 0);
    CNotesFile().ReadVideoNotes(path, *notes, frames);
    if (auto* video = dynamic_cast<CVidView*>(view)) {
        COverlayListener* listener = nullptr;
        notes->GetOverlayListener(&listener);
        video->GetOverlayHost().Add(listener);
        video->SetNotes(notes.get());
        notes->SetPlaybackView(video);
        notes->SetGroupView(GetGroupView() ? FirstViewOf(this) : nullptr);
    }
    m_videoNotes.back() = std::move(notes);
}

void CMeasurementFormDoc::LoadDataNotes(const QString& path, const CMemberDataRef& data) {
    if (m_dataNotes.empty() || !data.Get())
        return;
    const int scans = data->GetScanCount();
    const int perFrame = std::max(1, data->GetScansPerFrame());
    const int frames = static_cast<int>((static_cast<int64_t>(scans) + perFrame - 1) / perFrame);
    auto notes = std::make_unique<CRecordingNotes>();
    notes->ResetAll(frames, scans);
    CNotesFile().ReadDataNotes(path, *notes, frames, scans);
    m_dataNotes.back() = std::move(notes);
}

bool CMeasurementFormDoc::WriteMemberNotes() {
    bool ok = true;
    const auto write = [&](const QString& path, int flag, CRecordingNotes* notes, int kind) {
        // A device's memory has no file to put a side file beside.
        if (notes && flag == kFromFile && notes->IsModified())
            ok = CNotesFile().SaveNotes(path, *notes, kind) && ok;
    };
    for (int i = 0; i < GetVideoCount(); ++i)
        write(GetVideoPath(i), GetVideoFlag(i), GetVideoNotes(i), kTypeVideo);
    for (int i = 0; i < GetDataCount(); ++i)
        write(GetDataPath(i), GetDataFlag(i), GetDataNotes(i), kTypeData);
    return ok;
}

BOOL CMeasurementFormDoc::AddDataEntry(const CMemberDataRef& data, int flag, const QString& path) {
    m_data.push_back(data);
    m_dataFlags.push_back(flag);
    m_dataPaths.append(path);
    m_dataNotes.push_back(nullptr);
    return TRUE;
}

CFrameSource* CMeasurementFormDoc::GetVideoSource(int i) const {
    if (i < 0 || i >= GetVideoCount())
        return nullptr;
    CFrameSource* source = m_videos[static_cast<size_t>(i)].Get();
    return source && source->IsOpen() ? source : nullptr;
}

CFrameSourcePtr CMeasurementFormDoc::GetVideoSourcePtr(int i) const {
    if (i < 0 || i >= GetVideoCount())
        return CFrameSourcePtr();
    return m_videos[static_cast<size_t>(i)];
}

int CMeasurementFormDoc::GetVideoSourceId(int i) const {
    if (i < 0 || i >= GetVideoCount() || m_videos[static_cast<size_t>(i)].IsEmpty())
        return -1;
    unsigned id = 0;
    m_videos[static_cast<size_t>(i)]->GetSourceId(&id);
    return static_cast<int>(id);
}

int CMeasurementFormDoc::FindVideoBySourceId(int id) const {
    for (int i = 0; i < GetVideoCount(); ++i) {
        if (GetVideoSourceId(i) == id)
            return i;
    }
    return -1;
}

CFrameSource* CMeasurementFormDoc::GetVideoSourceById(int id, int* outIndex) const {
    const int index = FindVideoBySourceId(id);
    if (outIndex)
        *outIndex = index;
    return GetVideoSource(index);
}

CFrameSourcePtr CMeasurementFormDoc::GetVideoSourcePtrById(int id, int* outIndex) const {
    const int index = FindVideoBySourceId(id);
    if (outIndex)
        *outIndex = index;
    return GetVideoSourcePtr(index);
}

CMemberDataRef CMeasurementFormDoc::GetDataRef(int i) const {
    if (i < 0 || i >= GetDataCount())
        return CMemberDataRef();
    return m_data[static_cast<size_t>(i)];
}

int CMeasurementFormDoc::GetDataSourceId(int i) const {
    if (i < 0 || i >= GetDataCount() || m_data[static_cast<size_t>(i)].IsEmpty())
        return -1;
    return m_data[static_cast<size_t>(i)]->GetDataId();
}

int CMeasurementFormDoc::FindDataById(int id) const {
    for (int i = 0; i < GetDataCount(); ++i) {
        if (GetDataSourceId(i) == id)
            return i;
    }
    return -1;
}

CMemberDataRef CMeasurementFormDoc::GetDataRefById(int id, int* outIndex) const {
    const int index = FindDataById(id);
    if (outIndex)
        *outIndex = index;
    return GetDataRef(index);
}

CRecordingNotes* CMeasurementFormDoc::GetVideoNotes(int i) const {
    return i < 0 || i >= GetVideoCount() ? nullptr : m_videoNotes[static_cast<size_t>(i)].get();
}

CRecordingNotes* CMeasurementFormDoc::GetDataNotes(int i) const {
    return i < 0 || i >= GetDataCount() ? nullptr : m_dataNotes[static_cast<size_t>(i)].get();
}

CRecordingNotes* CMeasurementFormDoc::GetNotesFor(int type, int id) const {
    if (type == kTypeVideo)
        return GetVideoNotes(FindVideoBySourceId(id));
    if (type == kTypeData)
        return GetDataNotes(FindDataById(id));
    return nullptr;
}

QString CMeasurementFormDoc::GetPathFor(int type, int id) const {
    if (type == kTypeVideo)
        return GetVideoPath(FindVideoBySourceId(id));
    if (type == kTypeData)
        return GetDataPath(FindDataById(id));
    return {};
}

int CMeasurementFormDoc::GetVideoFlag(int i) const {
    return i < 0 || i >= GetVideoCount() ? -1 : m_videoFlags[static_cast<size_t>(i)];
}

int CMeasurementFormDoc::GetDataFlag(int i) const {
    return i < 0 || i >= GetDataCount() ? -1 : m_dataFlags[static_cast<size_t>(i)];
}

QString CMeasurementFormDoc::GetVideoPath(int i) const {
    return i < 0 || i >= GetVideoCount() ? QString() : m_videoPaths[i];
}

QString CMeasurementFormDoc::GetDataPath(int i) const {
    return i < 0 || i >= GetDataCount() ? QString() : m_dataPaths[i];
}

BOOL CMeasurementFormDoc::RemoveVideo(int i) {
    if (i < 0 || i >= GetVideoCount())
        return FALSE;
    m_videos.erase(m_videos.begin() + i);
    m_videoFlags.erase(m_videoFlags.begin() + i);
    m_videoPaths.removeAt(i);
    return TRUE;
}

BOOL CMeasurementFormDoc::RemoveData(int i) {
    if (i < 0 || i >= GetDataCount())
        return FALSE;
    m_data.erase(m_data.begin() + i);
    m_dataFlags.erase(m_dataFlags.begin() + i);
    m_dataPaths.removeAt(i);
    return TRUE;
}

BOOL CMeasurementFormDoc::RemoveVideoNotes(int i) {
    if (i < 0 || i >= static_cast<int>(m_videoNotes.size()))
        return FALSE;
    m_videoNotes.erase(m_videoNotes.begin() + i);
    return TRUE;
}

BOOL CMeasurementFormDoc::RemoveDataNotes(int i) {
    if (i < 0 || i >= static_cast<int>(m_dataNotes.size()))
        return FALSE;
    m_dataNotes.erase(m_dataNotes.begin() + i);
    return TRUE;
}

IVideoAnalysis* CMeasurementFormDoc::GetVideoAnalysis(int i) const {
    if (i < 0 || i >= static_cast<int>(m_analysis.size()))
        return nullptr;
    return m_analysis[static_cast<size_t>(i)].get();
}

BOOL CMeasurementFormDoc::RemoveVideoAnalysisObjects(int i) {
    if (i < 0 || i >= static_cast<int>(m_analysis.size()))
        return FALSE;
    m_analysis.erase(m_analysis.begin() + i);
    return TRUE;
}

std::vector<int> CMeasurementFormDoc::GetVideoArrayLengths() const {
    return {static_cast<int>(m_videos.size()), static_cast<int>(m_videoFlags.size()),
            static_cast<int>(m_videoPaths.size()), static_cast<int>(m_videoNotes.size()),
            static_cast<int>(m_analysis.size())};
}

std::vector<int> CMeasurementFormDoc::GetDataArrayLengths() const {
    return {static_cast<int>(m_data.size()), static_cast<int>(m_dataFlags.size()),
            static_cast<int>(m_dataPaths.size()), static_cast<int>(m_dataNotes.size())};
}

BOOL CMeasurementFormDoc::HasDeviceMemoryEntry() const {
    auto fromDevice = [](int flag) { return flag == kFromDeviceMemory; };
    return std::any_of(m_videoFlags.begin(), m_videoFlags.end(), fromDevice) ||
           std::any_of(m_dataFlags.begin(), m_dataFlags.end(), fromDevice);
}

BOOL CMeasurementFormDoc::HasFileEntry() const {
    auto fromFile = [](int flag) { return flag == kFromFile; };
    return std::any_of(m_videoFlags.begin(), m_videoFlags.end(), fromFile) ||
           std::any_of(m_dataFlags.begin(), m_dataFlags.end(), fromFile);
}

void CMeasurementFormDoc::SetLastAdded(int type, int index, int id, int kind, int handle) {
    m_lastAdded[0] = type;
    m_lastAdded[1] = index;
    m_lastAdded[2] = id;
    m_lastAdded[3] = kind;
    m_lastAdded[4] = handle;
}

void CMeasurementFormDoc::GetLastAdded(int* type, int* index, int* id, int* kind,
                                       int* handle) const {
    int* outs[5] = {type, index, id, kind, handle};
    for (size_t i = 0; i < 5; ++i) {
        if (outs[i])
            *outs[i] = m_lastAdded[i];
    }
}

CPlaybackView* CMeasurementFormDoc::PlaybackOfFrame(CWnd* frame) {
    // The frame's view is its pane; the frame's own widget holds further children of its
    // layout.
    if (!dynamic_cast<CViewChildedFrame*>(frame))
        return nullptr;
    return dynamic_cast<CPlaybackView*>(frame->GetDescendantWindow(AFX_IDW_PANE_FIRST));
}

std::vector<HWND> CMeasurementFormDoc::PlaybackFrames(int sourceKind) const {
    std::vector<HWND> frames;
    for (HWND handle : ChildWindows(GetContainer())) {
        const CPlaybackView* playback = PlaybackOfFrame(CWnd::FromHandle(handle));
        if (!playback || playback->GetGroupDocument() != this ||
            playback->GetSourceKind() != sourceKind)
            continue;
        const int type = playback->GetSourceType();
        if (type == kTypeVideo || type == kTypeData)
            frames.push_back(handle);
    }
    return frames;
}

BOOL CMeasurementFormDoc::CloseAllPlaybacks() {
    for (HWND handle : ChildWindows(GetContainer())) {
        CWnd* child = CWnd::FromHandle(handle);
        const CPlaybackView* playback = PlaybackOfFrame(child);
        // Another group's members may share the container (groups alone in the main window).
        if (playback && (!playback->GetGroupDocument() || playback->GetGroupDocument() == this))
            child->SendMessage(kClosePlaybackMessage);
    }
    return TRUE;
}

BOOL CMeasurementFormDoc::CloseLatestRecordingPlaybacks() {
    for (HWND handle : ChildWindows(GetContainer())) {
        CWnd* child = CWnd::FromHandle(handle);
        CPlaybackView* playback = PlaybackOfFrame(child);
        if (playback && child->IsWindowVisible() && playback->GetSourceKind() == kFromDeviceMemory)
            child->SendMessage(kClosePlaybackMessage);
    }
    return TRUE;
}

CFrameWnd* CMeasurementFormDoc::FindDevicePlaybackFrame(int deviceHandle) const {
    for (HWND handle : ChildWindows(GetContainer())) {
        CWnd* child = CWnd::FromHandle(handle);
        CPlaybackView* playback = PlaybackOfFrame(child);
        if (playback && child->IsWindowVisible() && playback->GetMemberParam() == deviceHandle)
            return playback->GetParentFrame();
    }
    return nullptr;
}

BOOL CMeasurementFormDoc::WritePlayGroupFile(const QString& path) {
    const bool relative = GroupIntegerSetting(QStringLiteral("Other:PGRelativeDefault"), 1) != 0;
    const QString folder = GetFolderFromPath(path);
    QByteArray text;
    auto addLines = [&](const QStringList& paths, const std::vector<int>& flags) {
        for (int i = 0; i < paths.size(); ++i) {
            if (flags[static_cast<size_t>(i)] != kFromFile)
                continue;
            QString line = relative ? MakeRelativePath(folder, paths[i]) : paths[i];
            line.replace('\\', '/');
            text += line.toUtf8() + '\n';
        }
    };
    addLines(m_videoPaths, m_videoFlags);
    addLines(m_dataPaths, m_dataFlags);

    if (!CheckWriteDestination(path))
        return FALSE;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return FALSE;

    SetModifiedFlag(FALSE);
    SetTitle(GetFileNameFromPath(path));
    SetPathName(path, TRUE);
    if (HasDeviceMemoryEntry())
        SetModifiedFlag(TRUE);
    return TRUE;
}

BOOL CMeasurementFormDoc::ReadPlayGroupFile(const QString& path, int modifiedAfterOpen) {
    if (!FilterContainsExtension(GroupFilterExtension(), GetFileExtension(path)))
        return FALSE;
    m_pendingList.clear();
    m_modifiedAfterOpen = 0;

    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty() || GroupFilesBeingOpened().contains(canonical))
        return FALSE;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FALSE;
    const QString text = DecodeGroupText(file.readAll());
    file.close();

    const QString folder = GetFolderFromPath(QString(path).replace('\\', '/'));
    for (QString line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        const QString resolved = ResolveGroupLine(folder, line);
        if (resolved.isEmpty() || !QFileInfo(resolved).isFile())
            continue;
        QFile probe(resolved);
        if (!probe.open(QIODevice::ReadOnly))
            continue;
        probe.close();
        m_pendingList.append(resolved);
        m_modifiedAfterOpen = modifiedAfterOpen;
    }
    return !m_pendingList.isEmpty();
}

BOOL CMeasurementFormDoc::OpenGroupFile(const QString& path, int modifiedAfterOpen) {
    if (!ReadPlayGroupFile(path, modifiedAfterOpen))
        return FALSE;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    GroupFilesBeingOpened().insert(canonical);
    OpenPendingFiles();
    GroupFilesBeingOpened().remove(canonical);
    return TRUE;
}

BOOL CMeasurementFormDoc::PromptPlayGroupFileName(const QString& defaultName, QString* outPath) {
    const QString extension = GroupFilterExtension();
    const QString filter = QStringLiteral("Play Group Files (*%1)|*%1||").arg(extension);
    // An untitled group offers its title as the name, as a document without a path does.
    QString name = defaultName.isEmpty() ? GetPathName() : defaultName;
    if (name.isEmpty() && !GetTitle().isEmpty())
        name = GetTitle() + extension;
    CFileDialog dialog(FALSE, extension, name, OFN_HIDEREADONLY, filter);
    dialog.m_ofn.lpstrTitle = QStringLiteral("Save Play Group File As");
    if (dialog.DoModal() != IDOK)
        return FALSE;
    if (outPath)
        *outPath = dialog.GetPathName();
    return TRUE;
}

void CMeasurementFormDoc::LoadPlayGroup(int modifiedAfterOpen) {
    if (GroupIntegerSetting(QStringLiteral("AppBehave:bCloseOthersFirst"), 1) != 0)
        CloseAllPlaybacks();
    const QString path = m_pendingGroupPath;
    const bool wasEmpty = GetVideoCount() == 0 && GetDataCount() == 0;
    m_openFailed = false;
    m_loadFailed = false;
    if (path.contains(QLatin1String(kDeviceMarker))) {
        m_loadFailed = !AddPlaybackFromFile(path, 0, 0, nullptr, nullptr);
    } else if (!OpenGroupFile(path, modifiedAfterOpen) && !path.isEmpty()) {
        // Not a group file that lists anything: the path may be a single media file.
        m_loadFailed = !AddPlaybackFromFile(path, 0, 0, nullptr, nullptr);
        m_openFailed = m_loadFailed && wasEmpty;
    }
    // A group that is just what was opened holds no change of the user's.
    if (wasEmpty && modifiedAfterOpen == 0)
        SetModifiedFlag(FALSE);
    for (int i = 0; i < GetVideoCount(); ++i)
        UpdateAllViews(nullptr, i, nullptr);
}

namespace {

constexpr const char* kProjectTemplate = "DT:Gen";

// The options the list dialog chose; one window alone keeps its name.
CSyncResavePass::Options DialogOptions(const CSyncSaveListDlg& dialog, int sourceKind,
                                       int addToGroup) {
    CSyncResavePass::Options options;
    options.sourceKind = sourceKind;
    options.openInNewGroup = dialog.m_openInNewGroup != 0;
    options.addToGroup = addToGroup;
    options.askEach = dialog.m_askEach != 0;
    options.askFirst = true;
    options.tags = dialog.m_syncNames != 0 && dialog.GetCheckedFrames().size() > 1;
    return options;
}

bool HasAnyNote(const CRecordingNotes& notes) {
    QString global;
    notes.GetGlobalNote(&global);
    return notes.FrameSet().CountSet() > 0 || notes.DataSet().CountSet() > 0 || !global.isEmpty();
}

CMeasurementFormDoc* PlayGroupOfProject(CDocument* doc) {
    auto* project = dynamic_cast<CGeneralDoc*>(doc);
    CView* groupView = project ? project->FindPlayGroupView() : nullptr;
    return groupView ? dynamic_cast<CMeasurementFormDoc*>(groupView->GetDocument()) : nullptr;
}

}  // namespace

BOOL CMeasurementFormDoc::ResaveGroup(int, int deviceMemory, int openInNewGroup, int addToGroup,
                                      int, int, int, const QString& title) {
    const int kind = deviceMemory ? kFromDeviceMemory : kFromFile;
    if (PlaybackFrames(kind).empty())
        return TRUE;
    CSyncSaveListDlg dialog(this, title, kind, AfxGetMainWnd());
    dialog.m_openInNewGroup = openInNewGroup ? 1 : 0;
    if (dialog.DoModal() != IDOK)
        return FALSE;
    CSyncResavePass pass(this, DialogOptions(dialog, kind, addToGroup));
    for (HWND frame : dialog.GetCheckedFrames())
        pass.SaveFrame(frame);
    return TRUE;
}

BOOL CMeasurementFormDoc::SaveGroupToFolder(const QString& folder, const QString& name,
                                            QStringList* outPaths) {
    const int kind = HasDeviceMemoryEntry() ? kFromDeviceMemory : kFromFile;
    if (PlaybackFrames(kind).empty())
        return FALSE;
    CSyncSaveListDlg dialog(this, QString(), kind, AfxGetMainWnd());
    if (dialog.DoModal() != IDOK)
        return FALSE;
    CSyncResavePass::Options options = DialogOptions(dialog, kind, 0);
    options.entry = CSyncResavePass::Entry::kToFolder;
    options.folder = folder;
    options.name = name;
    CSyncResavePass pass(this, options);
    for (HWND frame : dialog.GetCheckedFrames())
        pass.SaveFrame(frame);
    if (outPaths)
        outPaths->append(pass.GetOutputs());
    // A caller that goes on with the saved files must not hear of success without them.
    return pass.GetSavedCount() > 0 && pass.GetFailedCount() == 0;
}

BOOL CMeasurementFormDoc::SaveGroupFromDeviceMemory(int, int deviceMemory, int, int addToGroup,
                                                    int askEach, int writeGroupFile) {
    const int kind = deviceMemory ? kFromDeviceMemory : kFromFile;
    if (deviceMemory && askEach && HasFileEntry())
        AfxMessageBox(QStringLiteral("You are saving a play group from device memory. This \n"
                                     "group also contains videos or data from file. These\n"
                                     "files will not be re-saved nor listed in the new group \n"
                                     "file."),
                      MB_OK | MB_ICONEXCLAMATION);
    CSyncResavePass::Options options;
    options.entry = CSyncResavePass::Entry::kFromDeviceMemory;
    options.sourceKind = kind;
    options.addToGroup = addToGroup;
    options.askEach = askEach != 0;
    CSyncResavePass pass(this, options);
    for (HWND frame : PlaybackFrames(kind))
        pass.SaveFrame(frame);
    if (writeGroupFile && pass.GetSavedCount() > 0) {
        CMeasurementFormDoc* target = SaveTargetGroup();
        QString path;
        if (target->PromptPlayGroupFileName(GetFileTitle(pass.GetFirstOutput(), true), &path))
            target->SaveGroupFileAs(path);
    }
    return TRUE;
}

int CMeasurementFormDoc::PreparePlaybackSave(int id, int type, CSaveVideoParams* params) {
    if (!params)
        return 0;
    if (type == kTypeVideo) {
        CFrameSource* source = GetVideoSourceById(id, nullptr);
        return source ? source->PrepareSave(params) : 0;
    }
    const CMemberDataRef data = type == kTypeData ? GetDataRefById(id, nullptr) : CMemberDataRef();
    if (!data.Get())
        return 0;
    const int count = data->GetScanCount();
    const int zero = data->GetZeroPoint();
    CDlgSaveData dialog(count, zero, QStringLiteral("mdat"), params->m_outputPath,
                        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        QStringLiteral(" (*.mdat)|*.mdat||"), AfxGetMainWnd());
    dialog.m_ofn.lpstrTitle = QStringLiteral("Save Data File : ") +
                              GetSequenceBaseName(GetFileTitle(params->m_sourcePath, false), true);
    const bool valid = params->m_firstFrame >= 0 && params->m_lastFrame >= params->m_firstFrame;
    dialog.m_from = valid ? params->m_firstFrame - zero : -zero;
    dialog.m_to = valid ? params->m_lastFrame - zero : count - 1 - zero;
    if (dialog.DoModal() != IDOK)
        return 0;
    params->m_outputPath = dialog.GetPathName();
    params->m_firstFrame = dialog.GetRangeFrom();
    params->m_lastFrame = dialog.GetRangeTo();
    params->m_zeroOffset = zero;
    return 1;
}

BOOL CMeasurementFormDoc::SavePlayback(int id, int type, CSaveVideoParams* params) {
    if (!params)
        return FALSE;
    // The saved file joins a group only once its notes lie beside it: the savers tell nobody,
    // this does after the notes.
    const int notify = params->m_notify;
    params->m_notify = 0;
    bool saved = false;
    CRecordingNotes* notes = nullptr;
    int index = -1;
    if (type == kTypeVideo) {
        if (CFrameSource* source = GetVideoSourceById(id, &index)) {
            const CRunningOperation running(DocumentsUsedBy(this, type, id),
                                            CSaveControllerBase::CancellerOf(source));
            saved = source->Save(params) == 1;
            notes = GetVideoNotes(index);
        }
    } else if (type == kTypeData && id >= 0) {
        const CMemberDataRef data = GetDataRefById(id, &index);
        if (data.Get()) {
            const bool empty = params->m_firstFrame >= 0 && params->m_lastFrame >= 0 &&
                               params->m_firstFrame > params->m_lastFrame;
            if (empty)
                AfxMessageBox(QStringLiteral("Start and end frame numbers out of range."),
                              MB_ICONEXCLAMATION);
            else
                saved = SUCCEEDED(CDataFileSaveTarget(data).Save(params));
            notes = GetDataNotes(index);
        }
    }
    params->m_notify = notify;
    if (!saved)
        return FALSE;
    if (notes && HasAnyNote(*notes))
        CNotesFile().WriteNotes(params->m_outputPath, *notes, type, params->m_firstFrame,
                                params->m_lastFrame, params->m_skip);
    if (params->m_doneCallback && notify) {
        const bool sequence = params->m_outputKind == CSaveVideoParams::kSequence;
        params->m_doneCallback->OnFileSaved(
            sequence ? params->m_firstWrittenFile : params->m_outputPath, params->m_notifyTag);
    }
    return TRUE;
}

void CMeasurementFormDoc::InsertNameTag(CSaveVideoParams* params, const QString& path,
                                        const QString& tag) {
    if (!params)
        return;
    const QString extension = GetFileExtension(path);
    QString stem = extension.isEmpty() ? path : path.left(path.size() - extension.size() - 1);
    // A batch set's name ends in its counter.
    if (stem.endsWith(QLatin1String("[*]")))
        stem.chop(3);
    params->m_outputPath = extension.isEmpty() ? stem + tag : stem + tag + '.' + extension;
    params->SetOutputFormat(params->m_outputPath, params->m_outputKind, params->m_imageType,
                            params->m_firstFrame, params->m_lastFrame, params->m_skip,
                            params->m_reserved, params->m_tag);
}

BOOL CMeasurementFormDoc::InitSaveRequest(int, int type, CSaveVideoParams* params) {
    if (!params)
        return FALSE;
    params->SetDefaults();
    if (type == kTypeData) {
        params->m_outputKind = CSaveVideoParams::kDataFile;
        params->m_imageType = 0;
    }
    return TRUE;
}

BOOL CMeasurementFormDoc::SetSaveRequestRange(int, int, CSaveVideoParams* params, int first,
                                              int last) {
    if (!params)
        return FALSE;
    params->m_firstFrame = first;
    params->m_lastFrame = last;
    return TRUE;
}

BOOL CMeasurementFormDoc::OpenInNewProject(int, CDocument** outGroup) {
    if (outGroup)
        *outGroup = nullptr;
    CVidraApp* app = AfxGetVidraApp();
    if (!app)
        return FALSE;
    int alone = 0;
    app->GetCreateOption(0, &alone);
    CDocument* group = nullptr;
    if (alone != 0)
        group = app->CreateDocumentByKey(QString::fromLatin1(kGroupTemplate), QString(), TRUE);
    else
        group = PlayGroupOfProject(
            app->CreateDocumentByKey(QString::fromLatin1(kProjectTemplate),
                                     QString::fromLatin1(kEmptyPlayGroupProjectPath), TRUE));
    if (outGroup)
        *outGroup = group;
    return group ? TRUE : FALSE;
}

ISaveDoneCallback* CMeasurementFormDoc::GetGroupSaveCallback() {
    return SaveTargetGroup()->m_saveCallback.get();
}

CMeasurementFormDoc* CMeasurementFormDoc::SaveTargetGroup() {
    const CProjectGroupKinds& kinds = CGeneralDoc::GetGroupKinds();
    auto* container = dynamic_cast<CFrameParentingView*>(GetContainer());
    if (!container || !kinds.recordControllerView)
        return this;
    CFrameWnd* cursor = container->SetChildFrameCursor(nullptr);
    const bool besideRecordController =
        container->FindChildViewOfClass(kinds.recordControllerView) != nullptr;
    container->SetChildFrameCursor(cursor);
    if (!besideRecordController)
        return this;
    // A play project is one without a record controller, so its group keeps its own callback.
    CMeasurementFormDoc* group = nullptr;
    auto* main = dynamic_cast<CVidraFrameWnd*>(AfxGetMainWnd());
    if (main && kinds.recordControllerFrame)
        if (CView* project =
                main->FindGroupView(RUNTIME_CLASS(CGeneralView), kinds.recordControllerFrame))
            group = PlayGroupOfProject(project->GetDocument());
    if (!group)
        if (CVidraApp* app = AfxGetVidraApp())
            group = PlayGroupOfProject(
                app->CreateDocumentByKey(QString::fromLatin1(kProjectTemplate),
                                         QString::fromLatin1(kEmptyPlayGroupProjectPath), TRUE));
    return group ? group : this;
}

BOOL CMeasurementFormDoc::AddVideoWithoutWindow(const QString& path) {
    CFrameSourcePtr source(new CFrameSource);
    if (!source->Open(path)) {
        AfxMessageBox(QStringLiteral("Error loading video from file."), MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_lastPlaybackPath = path;
    SetTitle(VideoMemberTitle(path, false));
    AddVideoEntry(source, kFromFile, path);
    AttachAnalysisObjects(source, nullptr);
    LoadVideoNotes(path, source.Get(), nullptr);
    unsigned id = 0;
    source->GetSourceId(&id);
    SetLastAdded(kTypeVideo, GetVideoCount() - 1, static_cast<int>(id), kFromFile, -1);
    return TRUE;
}
