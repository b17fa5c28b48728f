#include "sensordata/model/SensorDataExcel.h"

#include "sensordata/model/ExcelBlockWriter.h"
#include "sensordata/model/VidraData.h"
#include "sensordata/model/WorkbookDelivery.h"

#include "platform/excel/ExcelCellName.h"
#include "platform/excel/ExcelWorkbook.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"

#include <algorithm>
#include <new>
#include <vector>

namespace {

// Rows of a sheet.
constexpr int kNameRow = 1;
constexpr int kPropertiesRow = 3;
constexpr int kFirstPropertyRow = 5;
constexpr int kChannelInfoRow = 11;
constexpr int kHeadingRow = 16;
constexpr int kFirstDataRow = 17;

QString Cell(int column, int row) {
    return ExcelCellName(column, row);
}

bool FillSheet(CExcelWorkbook& book, int sheet, const CVidraData& data, const QString& name,
               int unitsFlag, const std::vector<int>& on, int firstScan, int scans) {
    bool ok = book.SetText(sheet, Cell(1, kNameRow), "Name:");
    ok = ok && book.SetText(sheet, Cell(2, kNameRow), name);
    ok = ok && book.SetText(sheet, Cell(1, kPropertiesRow), "Properties");
    ok = ok && book.SetBold(sheet, Cell(1, kPropertiesRow), Cell(1, kPropertiesRow), true);
    ok = ok && book.Merge(sheet, Cell(1, kPropertiesRow), Cell(10, kPropertiesRow));
    ok = ok && book.SetDoubleBottomBorder(sheet, Cell(1, kPropertiesRow), Cell(10, kPropertiesRow));
    const struct {
        const char* label;
        double value;
    } properties[] = {{"Scan Rate:", double(data.m_nScanRate)},
                      {"Scans Per Frame:", double(data.m_nScansPerFrame)},
                      {"Total Scans:", double(data.m_nTotalScans)},
                      {"Number of Channels:", double(on.size())}};
    int row = kFirstPropertyRow;
    for (const auto& p : properties) {
        ok = ok && book.SetText(sheet, Cell(1, row), p.label);
        ok = ok && book.SetNumber(sheet, Cell(2, row), p.value);
        ++row;
    }
    // The rows below are always written scaled.
    ok = ok && book.SetText(sheet, Cell(1, row), "Scaled:");
    ok = ok && book.SetText(sheet, Cell(2, row), "Yes");

    const char* const infoLabels[] = {"Scale Factor:", "Offset:", "Label:", "Units:"};
    for (int i = 0; i < 4; ++i)
        ok = ok && book.SetText(sheet, Cell(1, kChannelInfoRow + i), infoLabels[i]);
    for (size_t k = 0; k < on.size(); ++k) {
        const int c = on[k];
        const int column = 2 + static_cast<int>(k);
        ok = ok && book.SetNumber(sheet, Cell(column, kChannelInfoRow), data.m_factors[c]);
        ok = ok && book.SetNumber(sheet, Cell(column, kChannelInfoRow + 1), data.m_offsets[c]);
        ok = ok && book.SetText(sheet, Cell(column, kChannelInfoRow + 2),
                                size_t(c) < data.m_labels.size() ? data.m_labels[c] : QString());
        ok = ok && book.SetText(sheet, Cell(column, kChannelInfoRow + 3),
                                size_t(c) < data.m_units.size() ? data.m_units[c] : QString());
    }

    ok = ok && book.SetText(sheet, Cell(1, kHeadingRow), "Index");
    ok = ok && book.SetText(sheet, Cell(2, kHeadingRow), "Time");
    for (size_t k = 0; k < on.size(); ++k) {
        const QString head = unitsFlag == 0 ? QStringLiteral("Ch. %1 (Volts)").arg(on[k])
                                            : QStringLiteral("Ch. %1 (units)").arg(on[k]);
        ok = ok && book.SetText(sheet, Cell(3 + static_cast<int>(k), kHeadingRow), head);
    }

    CExcelBlockWriter writer(book, sheet);
    std::vector<double> column(static_cast<size_t>(scans));
    const double step = 1.0 / data.SafeScanRate();
    for (int s = 0; s < scans; ++s)
        column[size_t(s)] = double(firstScan + s) - data.m_nZP;
    ok = ok && writer.WriteColumn(1, kFirstDataRow, column.data(), scans);
    for (int s = 0; s < scans; ++s)
        column[size_t(s)] = (double(firstScan + s) - data.m_nZP) * step;
    ok = ok && writer.WriteColumn(2, kFirstDataRow, column.data(), scans);
    const bool scale = data.m_nScaled == 0;
    for (size_t k = 0; k < on.size(); ++k) {
        const std::vector<float>& samples = data.m_channels[k];
        const int c = on[k];
        for (int s = 0; s < scans; ++s) {
            const size_t at = size_t(firstScan + s);
            const double raw = at < samples.size() ? samples[at] : 0.0;
            column[size_t(s)] = scale ? raw * data.m_factors[c] + data.m_offsets[c] : raw;
        }
        ok = ok && writer.WriteColumn(3 + static_cast<int>(k), kFirstDataRow, column.data(), scans);
    }
    return ok;
}

}  // namespace

bool BuildSensorDataWorkbook(CExcelWorkbook& book, const CVidraData& data, const QString& name,
                             int unitsFlag) {
    // The k-th on channel takes stored array k, as in the text file.
    std::vector<int> on;
    for (int c = 0; c < CVidraData::kChannelSlots; ++c) {
        if (data.m_onFlags[c] && on.size() < data.m_channels.size())
            on.push_back(c);
    }
    const int scans = data.GetStoredLength();
    const int sheets = std::max(1, (scans + kScansPerSheet - 1) / kScansPerSheet);
    for (int n = 1; n <= sheets; ++n) {
        const int sheet = book.AddSheet(QStringLiteral("Data %1").arg(n));
        const int first = (n - 1) * kScansPerSheet;
        const int count = std::min(kScansPerSheet, scans - first);
        if (sheet == 0 || !FillSheet(book, sheet, data, name, unitsFlag, on, first, count))
            return false;
    }
    return true;
}

void ExportSensorDataToExcel(const CVidraData& data, const QString& name, int unitsFlag) {
    CWnd* main = AfxGetMainWnd();
    QWidget* owner = main ? main->GetQWidget() : nullptr;
    if (data.GetStoredLength() >= kScansPerSheet)
        AfxPrompter().MessageBox(
            {QStringLiteral(
                 "Data exceeds 65000 points, export will be split across multiple sheets."),
             AfxGetAppTitle(), MB_OK | MB_ICONINFORMATION, owner});
    try {
        CExcelWorkbook book;
        if (!BuildSensorDataWorkbook(book, data, name, unitsFlag)) {
            AfxPrompter().MessageBox({QStringLiteral("An error occurred during export to file."),
                                      AfxGetAppTitle(), MB_OK | MB_ICONEXCLAMATION, owner});
            return;
        }
        DeliverWorkbook(book, name);
    } catch (const std::bad_alloc&) {
        // The blocks of a very long recording did not fit in memory; nothing was written.
        AfxPrompter().MessageBox({QStringLiteral("The safe Array allocation failed\n"),
                                  AfxGetAppTitle(), MB_OK | MB_ICONEXCLAMATION, owner});
    }
}
