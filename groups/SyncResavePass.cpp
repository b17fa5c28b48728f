#include "groups/SyncResavePass.h"

#include "frames/FileNames.h"
#include "groups/GroupSettings.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "views/PlaybackView.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace {

// The one-step save's folder: where recordings taken from a device's memory are saved.
constexpr const char* kSnapkeepFolderKey = "SK:sDir";

QString NameTag(int type, int number) {
    const QChar kind = type == CMeasurementFormDoc::kTypeVideo ? 'v' : 'd';
    return QStringLiteral("{%1%2}").arg(kind).arg(number);
}

QString Canonical(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

CSyncResavePass::CSyncResavePass(CMeasurementFormDoc* group, Options options)
    : m_group(group),
      m_running({group}, [this] { m_cancelled = true; }),
      m_target(group),
      m_options(std::move(options)) {}

int CSyncResavePass::OriginOf(const CPlaybackView* playback) {
    int mark = -1;
    if (playback->GetFrameNumberOrigin(&mark) && mark >= 0)
        return mark;
    return std::max(CMeasurementView::ZeroFrameOf(playback), 0);
}

QString CSyncResavePass::DeviceNameOfTitle(const QString& title) {
    const qsizetype colon = title.indexOf(':');
    return colon < 0 ? title.mid(3) : title.mid(colon + 3);
}

QString CSyncResavePass::ProposedOutput(const CPlaybackView* playback, const QString& title) const {
    if (m_options.entry == Entry::kToFolder)
        return QDir(m_options.folder).filePath(m_options.name);
    if (m_options.sourceKind == CMeasurementFormDoc::kFromDeviceMemory) {
        const QString folder = GroupTextSetting(QString::fromLatin1(kSnapkeepFolderKey), 0);
        return folder.isEmpty() ? title : QDir(folder).filePath(title);
    }
    // A title without its folder is placed beside the recording it shows.
    QString folder = GetFolderFromPath(title);
    if (folder.isEmpty())
        folder = GetFolderFromPath(
            m_group->GetPathFor(playback->GetSourceType(), CMeasurementView::SourceIdOf(playback)));
    const QString name = QStringLiteral("Resave ") + StripSyncNameTag(title, false);
    return folder.isEmpty() ? name : folder + '/' + name;
}

bool CSyncResavePass::IsTaken(const QString& path) const {
    const QString canonical = Canonical(path);
    return std::any_of(m_outputs.begin(), m_outputs.end(),
                       [&](const QString& output) { return Canonical(output) == canonical; }) ||
           QFileInfo::exists(path);
}

void CSyncResavePass::TakeReference(const CSaveVideoParams& request, int origin, double rate) {
    m_haveReference = true;
    m_firstOutput = request.m_outputPath;
    m_referenceFirst = request.m_firstFrame - origin;
    m_referenceLast = request.m_lastFrame - origin;
    m_referenceRate = std::max(rate, 1.0);
}

void CSyncResavePass::SaveFrame(HWND frame) {
    if (m_cancelled)
        return;
    CPlaybackView* playback = CMeasurementFormDoc::PlaybackOfFrame(CWnd::FromHandle(frame));
    if (!playback || playback->GetGroupDocument() != m_group)
        return;
    const int type = playback->GetSourceType();
    if ((type != CMeasurementFormDoc::kTypeVideo && type != CMeasurementFormDoc::kTypeData) ||
        playback->GetSourceKind() != m_options.sourceKind)
        return;

    const int id = CMeasurementView::SourceIdOf(playback);
    const double rate = playback->GetFrameRate();
    const int count = playback->GetFrameCount();
    int in = -1;
    int out = -1;
    playback->GetInPoint(&in);
    playback->GetOutPoint(&out);
    const int origin = OriginOf(playback);
    QString title = playback->GetDocumentTitle();
    if (m_options.sourceKind == CMeasurementFormDoc::kFromDeviceMemory)
        title = DeviceNameOfTitle(title);
    const bool fromDevice = m_options.entry == Entry::kFromDeviceMemory;
    const int number = type == CMeasurementFormDoc::kTypeVideo ? ++m_videoNumber : ++m_dataNumber;
    const QString tag = NameTag(type, number);
    // Saved from device memory, every output after the first carries its tag.
    const bool tagged = fromDevice ? m_haveReference : m_options.tags;

    CSaveVideoParams request;
    m_group->InitSaveRequest(id, type, &request);
    request.m_sourcePath = title;
    // Unset points stand for the whole recording.
    m_group->SetSaveRequestRange(id, type, &request, in < 0 ? 0 : in, out < 0 ? count - 1 : out);
    request.m_zeroOffset = origin;

    const bool askFirst = m_options.askFirst && m_saved == 0;
    bool mustAsk = false;
    if (!m_haveReference) {
        const QString proposal = ProposedOutput(playback, title);
        CMeasurementFormDoc::InsertNameTag(&request, proposal, QString());
        // Without a folder of its own the output would land wherever the program runs.
        mustAsk = QFileInfo(proposal).isRelative() || IsTaken(request.m_outputPath);
    } else {
        CMeasurementFormDoc::InsertNameTag(&request, m_firstOutput, tagged ? tag : QString());
        if (!tagged && IsTaken(request.m_outputPath))
            CMeasurementFormDoc::InsertNameTag(&request, m_firstOutput, tag);
        mustAsk = IsTaken(request.m_outputPath);
        int first = 0;
        int last = 0;
        CPlaybackView::MapFrameRangeByRate(rate, origin, count, m_referenceRate, m_referenceLast,
                                           m_referenceFirst, &first, &last);
        m_group->SetSaveRequestRange(id, type, &request, first, last);
    }
    const bool asked = m_options.askEach || askFirst || mustAsk;
    if (asked && !m_group->PreparePlaybackSave(id, type, &request))
        return;

    if (!m_haveReference && !fromDevice) {
        TakeReference(request, origin, rate);
        if (m_options.openInNewGroup) {
            CDocument* group = nullptr;
            if (m_group->OpenInNewProject(0, &group))
                if (auto* newGroup = dynamic_cast<CMeasurementFormDoc*>(group))
                    m_target = newGroup;
        }
        if (tagged) {
            CMeasurementFormDoc::InsertNameTag(&request, m_firstOutput, tag);
            if (IsTaken(request.m_outputPath) && !m_group->PreparePlaybackSave(id, type, &request))
                return;
        }
    }

    request.m_doneCallback = m_target->GetGroupSaveCallback();
    request.m_notify = m_options.addToGroup;
    request.m_notifyTag = 0;
    if (!m_group->SavePlayback(id, type, &request)) {
        ++m_failed;
        return;
    }
    ++m_saved;
    m_outputs.append(request.m_outputPath);
    if (!m_haveReference)
        TakeReference(request, origin, rate);
}
