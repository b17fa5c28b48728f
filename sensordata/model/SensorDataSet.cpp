#include "sensordata/model/SensorDataSet.h"

#include "sensordata/model/DiskSpace.h"
#include "sensordata/model/SafeSave.h"
#include "sensordata/model/SensorDataExcel.h"
#include "sensordata/model/SensorDataText.h"
#include "sensordata/model/VidraData.h"

#include "platform/framework/Archive.h"
#include "platform/framework/Exception.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"
#include "platform/media/OpenFileRegistry.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

int ShowMessage(const QString& text, const QString& caption, UINT type) {
    CWnd* main = AfxGetMainWnd();
    return AfxPrompter().MessageBox({text, caption, type, main ? main->GetQWidget() : nullptr});
}

void ShowWriteError() {
    ShowMessage(QStringLiteral("Could not save data file."), QStringLiteral("Write Error"),
                MB_OK | MB_ICONEXCLAMATION);
}

bool IsTextFileName(const QString& path) {
    return QFileInfo(path).suffix().compare(QLatin1String("au2"), Qt::CaseInsensitive) == 0 &&
           QFileInfo(path).fileName().contains('.');
}

}  // namespace

CSensorDataSet::CSensorDataSet() : m_data(std::make_unique<CVidraData>()) {}

CSensorDataSet::~CSensorDataSet() = default;

int CSensorDataSet::GetActiveChannelCount() const {
    return m_data->GetActiveChannelCount();
}

double CSensorDataSet::GetScanRate() const {
    return m_data->m_nScanRate;
}

int CSensorDataSet::GetScansPerFrame() const {
    return m_data->m_nScansPerFrame;
}

int CSensorDataSet::GetZeroPoint() const {
    return m_data->m_nZP;
}

void CSensorDataSet::SetZeroPoint(int zeroPoint) {
    m_data->m_nZP = zeroPoint;
}

int CSensorDataSet::GetSecondOrigin() const {
    return m_data->m_nSecondOrigin;
}

int CSensorDataSet::GetLiveCopy() const {
    return m_data->m_nLiveCopy;
}

int CSensorDataSet::GetDataId() const {
    return m_data->m_nDataId;
}

int CSensorDataSet::GetScanCount() const {
    return m_data->m_channels.empty() ? -1 : static_cast<int>(m_data->m_channels.front().size());
}

HRESULT CSensorDataSet::Init(int channels, int scans, int scansPerFrame, double rate,
                             int zeroPoint) {
    channels = std::clamp(channels, 0, CVidraData::kChannelSlots);
    scans = std::max(scans, 0);
    CVidraData& d = *m_data;
    d.m_channels.assign(static_cast<size_t>(channels),
                        std::vector<float>(static_cast<size_t>(scans), 0.0f));
    d.m_nScansPerFrame = std::max(1, scansPerFrame);
    d.m_nFrameCount = scans / d.m_nScansPerFrame;
    d.m_nTotalScans = scans;
    d.m_nZP = zeroPoint;
    d.m_nScanRate = rate >= 2147483647.0    ? 2147483647
                    : rate <= -2147483648.0 ? -2147483647 - 1
                    : rate == rate          ? static_cast<int>(rate)
                                            : 0;
    for (int c = 0; c < CVidraData::kChannelSlots; ++c)
        d.m_onFlags[c] = c < channels ? 1 : 0;
    return S_OK;
}

HRESULT CSensorDataSet::SetLastScan(const std::vector<float>* values) {
    if (!values)
        return E_FAIL;
    return SetLastScans(values->data(), 1, static_cast<int>(values->size()));
}

HRESULT CSensorDataSet::SetLastScans(const float* values, int scans, int valueCount) {
    std::vector<std::vector<float>>& channels = m_data->m_channels;
    const size_t m = channels.size();
    if (!values || scans < 1 || static_cast<size_t>(valueCount) != m * size_t(scans))
        return E_FAIL;
    for (size_t k = 0; k < m; ++k) {
        std::vector<float>& samples = channels[k];
        const size_t n = samples.size();
        const size_t fresh = std::min(n, static_cast<size_t>(scans));
        if (fresh < n)
            std::memmove(samples.data(), samples.data() + fresh, (n - fresh) * sizeof(float));
        // Only the newest scans that fit the window are kept.
        const size_t skip = static_cast<size_t>(scans) - fresh;
        for (size_t i = 0; i < fresh; ++i)
            samples[n - fresh + i] = values[(skip + i) * m + k];
    }
    return S_OK;
}

HRESULT CSensorDataSet::Write(const CVidraData& data, const QString& path) {
    const bool saved = SaveThroughTemporary(path, [&data](CFile& file) {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        ar.m_strFileName = file.GetFilePath();
        const_cast<CVidraData&>(data).Serialize(ar);
        ar.Close();
        return true;
    });
    if (!saved) {
        ShowWriteError();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CSensorDataSet::Save(const QString& path) {
    return Write(*m_data, path);
}

HRESULT CSensorDataSet::SaveRange(const QString& path, int useRange, int first, int last) {
    if (useRange < 1)
        return Save(path);
    CVidraData range;
    m_data->CopyRange(range, first, last);
    return Write(range, path);
}

HRESULT CSensorDataSet::Open(const QString& path) {
    if (IsTextFileName(path)) {
        QFile text(path);
        if (text.open(QIODevice::ReadOnly) && ReadAu2(text, *m_data)) {
            m_openFile = std::make_unique<COpenFileEntry>(path);
            return S_OK;
        }
    }
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary))
        return E_FAIL;
    // Loading takes the file's values only once all of it was read and found valid, so a bad
    // file changes nothing.
    try {
        CArchive ar(&file, CArchive::load);
        ar.m_strFileName = path;
        m_data->Serialize(ar);
    } catch (const CException&) {
        return E_FAIL;
    } catch (const std::bad_alloc&) {
        return E_FAIL;
    }
    m_openFile = std::make_unique<COpenFileEntry>(path);
    return S_OK;
}

HRESULT CSensorDataSet::ExportText(const QString& path) {
    const CVidraData& d = *m_data;
    const int64_t neededKb =
        ((10 * int64_t(d.m_channels.size()) + 18) * int64_t(d.GetStoredLength())) / 1012;
    if (!CheckDiskSpaceKb(neededKb, FolderOfPath(path), true))
        return E_FAIL;
    const bool saved = SaveThroughTemporary(path, [&d](CFile& file) {
        WriteSensorDataText(file, d);
        return true;
    });
    if (!saved) {
        ShowWriteError();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CSensorDataSet::ExportTextPrompt() {
    const QString ext = QStringLiteral("au2");
    const QString filter =
        QStringLiteral("Text File (*.") + ext + ")|*." + ext + "| All Files (*.*)|*.*||";
    CWnd* main = AfxGetMainWnd();
    CFileDialog dialog(FALSE, QStringLiteral("dat"), QString(), OFN_HIDEREADONLY, filter, main);
    dialog.m_ofn.lpstrTitle = QStringLiteral("Save Data");
    if (dialog.DoModal() != IDOK)
        return E_FAIL;
    return ExportText(dialog.GetPathName());
}

HRESULT CSensorDataSet::ExportToExcel(const QString& name, int unitsFlag) {
    ExportSensorDataToExcel(*m_data, name, unitsFlag);
    return S_OK;
}
