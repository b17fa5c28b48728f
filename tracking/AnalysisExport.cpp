#include "tracking/AnalysisExport.h"

#include "frames/FileInUse.h"
#include "frames/FileNames.h"
#include "platform/framework/Exception.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/Shell.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"
#include "platform/wintypes/CLocale.h"
#include "sensordata/model/WorkbookDelivery.h"
#include "tracking/AnalysisSettings.h"
#include "tracking/ExcelDispatchSet.h"
#include "tracking/IRecordingInfoSource.h"
#include "tracking/TrackFeatureSet.h"

#include <QSaveFile>
#include <QTimeZone>

#include <cmath>
#include <exception>

namespace {

constexpr double kDegreesPerRadian = 57.29579143313326;
constexpr uint64_t kTicksPerSecond = 10000000;
constexpr uint64_t kTicksPerMillisecond = 10000;

int Show(const QString& text, UINT type) {
    CWnd* main = AfxGetMainWnd();
    return AfxPrompter().MessageBox(
        {text, AfxGetAppTitle(), type, main ? main->GetQWidget() : nullptr});
}

// The local calendar time of when as a FILETIME, as the header shows it.
FILETIME LocalFileTime(const QDateTime& when) {
    const QDateTime local = when.toLocalTime();
    const QDateTime asUtc(local.date(), local.time(), QTimeZone::utc());
    const int64_t ms = asUtc.toMSecsSinceEpoch();
    return FILETIME::FromTicks(kFileTimeUnixEpoch +
                               static_cast<uint64_t>(ms) * kTicksPerMillisecond);
}

}  // namespace

void FileTimeText(const FILETIME& time, QString* date, QString* clock) {
    const uint64_t ticks = time.Ticks();
    const uint64_t micro = (ticks % kTicksPerSecond) / 10;
    const int64_t seconds = static_cast<int64_t>(ticks / kTicksPerSecond) -
                            static_cast<int64_t>(kFileTimeUnixEpoch / kTicksPerSecond);
    const QDateTime at = QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
    if (date)
        *date = QFormatC("%d-%02d-%02d", at.date().year(), at.date().month(), at.date().day());
    if (clock)
        *clock = QFormatC("%02d:%02d:%02d.%06u", at.time().hour(), at.time().minute(),
                          at.time().second(), static_cast<unsigned>(micro));
}

bool OpenFileInEditor(const QString& path) {
    if (AfxShellOpen(path))
        return true;
    const QString quoted = " \"" + path + "\"";
    if (WinExec("wordpad" + quoted, SW_SHOW) >= 32 || WinExec("notepad" + quoted, SW_SHOW) >= 32)
        return true;
    Show(QStringLiteral("An error occurred trying to launch the default Windows editor for this "
                        "file extension.\nPlease try opening the file [%1] manually.")
             .arg(path),
         MB_OK | MB_ICONINFORMATION);
    return false;
}

void CAnalysisExport::SetFeatureSet(CTrackFeatureSet* features) {
    m_features = features;
    m_calculator.SetFeatureSet(features);
}

void CAnalysisExport::SetSettings(CAnalysisSettings* settings) {
    m_settings = settings;
    m_calculator.SetSettings(settings);
}

QString CAnalysisExport::BaseName() const {
    const QString path = m_info ? m_info->GetFileName() : QString();
    return path.isEmpty() ? QString() : GetFileNameFromPath(GetSequenceBaseName(path, false));
}

CAnalysisExport::Header CAnalysisExport::MakeHeader(int units, bool applyCoordinateSystem) const {
    Header header;
    FileTimeText(LocalFileTime(m_now ? m_now() : QDateTime::currentDateTime()), &header.date,
                 &header.time);
    if (m_info)
        header.fileName = m_info->GetFileName();
    if (!m_settings)
        return header;
    CCalibrationData calibration;
    m_settings->GetCalibration(&calibration);
    BYTE calibrated = 0;
    m_settings->IsCalibrated(&calibrated);
    if (calibrated) {
        double scale = 1.0;
        calibration.GetPixelsPerUnit(&scale);
        int own = CCalibrationData::kUnitsPixels;
        calibration.GetUnits(&own);
        QString ownName, exportName;
        m_settings->GetUnitsName(own, &ownName, true);
        m_settings->GetUnitsName(units, &exportName, true);
        header.calibrationValue = QFormatC("%f", scale);
        header.calibrationText = "Pixels / " + ownName;
        header.unitsText = exportName;
    }
    if (applyCoordinateSystem) {
        double tilt = 0;
        calibration.GetTilt(&tilt);
        header.tilt = QFormatC("%f", tilt * kDegreesPerRadian);
    }
    return header;
}

QByteArray CAnalysisExport::FormatText(const Header& h, const std::vector<double>& table, int rows,
                                       int columns) {
    std::string out;
    const auto line = [&out](const char* format, const QString& value) {
        out += FormatC(format, value.toUtf8().constData());
    };
    line("# Date         : %s\n", h.date);
    line("# Time         : %s\n", h.time);
    line("# File Name    : %s\n", h.fileName);
    out += "#\n";
    out += FormatC("# Calibration  : %s %s\n", h.calibrationValue.toUtf8().constData(),
                   h.calibrationText.toUtf8().constData());
    line("# Tilt         : %s\n", h.tilt);
    line("# Units        : %s\n", h.unitsText);
    out += "#\n#\n";
    const int points = columns >= 2 ? (columns - 2) / 2 : 0;
    out += FormatC("# %8s %-15s", "Frame ", " Time");
    for (int p = 1; p <= points; ++p)
        out += FormatC(" %-31s", FormatC(" Point %d", p).c_str());
    out += "\n";
    out += FormatC("# %8s %15s", "", "");
    for (int p = 1; p <= points; ++p)
        out += FormatC(" %-15s %-15s", " x", " y");
    out += "\n";
    for (int r = 0; r < rows; ++r) {
        const double* row = table.data() + static_cast<size_t>(r) * columns;
        out += FormatC("% 9d, ", static_cast<int>(row[0]));
        for (int c = 1; c < columns; ++c)
            out += FormatC(c + 1 < columns ? "% .6e, " : "% .6e", row[c]);
        out += "\n";
    }
    return QByteArray::fromStdString(out);
}

HRESULT CAnalysisExport::Export(int kind, int units, bool applyCoordinateSystem,
                                bool convertUnits) {
    if (!m_settings)
        return E_FAIL;
    try {
        double rate = m_info ? m_info->GetFrameRate() : 1.0;
        if (!(rate > 0))
            rate = 1.0;
        const int trigger = m_info ? m_info->GetTriggerFrameIndex() : 0;
        std::vector<double> table;
        int rows = 0, columns = 0;
        m_calculator.GetTable(trigger, rate, {applyCoordinateSystem, convertUnits, units}, &table,
                              &rows, &columns);
        const Header header = MakeHeader(units, applyCoordinateSystem);
        if (kind == kTextFile)
            ExportText(header, table, rows, columns);
        else
            ExportWorkbook(kind, header, table, rows, columns);
    } catch (const CException&) {
        Show(QStringLiteral("An error occurred during export to file."), MB_OK);
    } catch (const std::exception&) {
        Show(QStringLiteral("An error occurred during export to file."), MB_OK);
    }
    return S_OK;
}

void CAnalysisExport::ExportText(const Header& header, const std::vector<double>& table, int rows,
                                 int columns) {
    CFileDialog dialog(FALSE, QStringLiteral("txt"), BaseName() + ".txt",
                       OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"));
    dialog.m_ofn.lpstrTitle = QStringLiteral("Export Analysis to Text File");
    if (dialog.DoModal() != IDOK)
        return;
    const QString path = dialog.GetPathName();
    if (!CheckWriteDestination(path))
        return;
    // Written under a temporary name and renamed, so that a file it replaces stays whole
    // until the new one is.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        Show(QStringLiteral("Could not create export file."), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const QByteArray text = FormatText(header, table, rows, columns);
    if (file.write(text) != text.size() || !file.commit()) {
        Show(QStringLiteral("An error occurred during export to file."), MB_OK);
        return;
    }
    OpenFileInEditor(path);
}

void CAnalysisExport::ExportWorkbook(int kind, const Header& header,
                                     const std::vector<double>& table, int rows, int columns) {
    CExcelDispatchSet::SheetTexts texts{QString(),
                                        header.date,
                                        header.time,
                                        header.fileName,
                                        header.calibrationValue,
                                        header.calibrationText,
                                        header.unitsText,
                                        header.tilt};
    if (kind == kWorkbookFromTemplate) {
        CFileDialog dialog(
            TRUE, QStringLiteral("xls"), QString(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
            QStringLiteral("Excel Files (*.xls;*.xlt;*.xlw)|*.xls;*.xlt;*.xlw||"), AfxGetMainWnd());
        dialog.m_ofn.lpstrTitle = QStringLiteral("Select Excel File to Use As Template");
        if (dialog.DoModal() == IDOK)
            texts.templatePath = dialog.GetPathName();
        // The workbook writer cannot read a workbook: the sheet goes into a new one.
        if (!texts.templatePath.isEmpty())
            Show(QStringLiteral("The template workbook cannot be read here; the tracking sheet "
                                "is written to a new workbook instead."),
                 MB_OK | MB_ICONINFORMATION);
    }
    CExcelDispatchSet set;
    const int points = columns >= 2 ? (columns - 2) / 2 : 0;
    if (!set.FillTrackingSheet(texts, points) ||
        !set.WriteDataBlock(set.GetSheet(), table.data(), rows, columns,
                            CExcelDispatchSet::kFirstDataRow)) {
        Show(QStringLiteral("An error occurred during export to file."), MB_OK);
        return;
    }
    DeliverWorkbook(set.GetWorkbook(),
                    BaseName().isEmpty() ? QStringLiteral("Analysis") : BaseName());
}
