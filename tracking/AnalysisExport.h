#pragma once

// CAnalysisExport: writes the tracked positions of all features of a recording, one row per
// frame with tracking data, under a header that names the recording and its calibration,
// either as a text file that is then opened in an editor or as the tracking sheet of a
// workbook.

#include "platform/wintypes/FileTime.h"
#include "platform/wintypes/WinError.h"
#include "tracking/AnalysisCalculator.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

class CAnalysisSettings;
class CTrackFeatureSet;
class IRecordingInfoSource;

class CAnalysisExport {
public:
    enum Kind { kTextFile = 0, kWorkbook = 1, kWorkbookFromTemplate = 2 };

    struct Header {
        QString date;
        QString time;
        QString fileName;
        QString calibrationValue = QStringLiteral("1");
        QString calibrationText = QStringLiteral("Pixel / Pixel");
        QString tilt = QStringLiteral("0");
        QString unitsText = QStringLiteral("Pixels");
    };

    // All borrowed.
    void SetRecordingInfo(IRecordingInfoSource* info) { m_info = info; }
    void SetFeatureSet(CTrackFeatureSet* features);
    void SetSettings(CAnalysisSettings* settings);
    CAnalysisCalculator& GetCalculator() { return m_calculator; }
    // The local time the header states; the clock by default.
    void SetNow(std::function<QDateTime()> now) { m_now = std::move(now); }

    // units: -1 pixels, 0 ft, 1 in, 2 m, 3 mm, 4 cm. E_FAIL without calibration settings;
    // otherwise S_OK once the export ran (a cancelled dialog or a failed write included, which
    // the user was told of).
    HRESULT Export(int kind, int units, bool applyCoordinateSystem, bool convertUnits);

    Header MakeHeader(int units, bool applyCoordinateSystem) const;
    // The text file's content.
    static QByteArray FormatText(const Header& header, const std::vector<double>& table, int rows,
                                 int columns);

private:
    void ExportText(const Header& header, const std::vector<double>& table, int rows, int columns);
    void ExportWorkbook(int kind, const Header& header, const std::vector<double>& table, int rows,
                        int columns);
    QString BaseName() const;

    IRecordingInfoSource* m_info = nullptr;
    CTrackFeatureSet* m_features = nullptr;
    CAnalysisSettings* m_settings = nullptr;
    CAnalysisCalculator m_calculator;
    std::function<QDateTime()> m_now;
};

// Opens the file in the desktop's editor for it; false after telling the user to open it.
bool OpenFileInEditor(const QString& path);

// "2007-03-09" and "14:05:09.123456" of a FILETIME.
void FileTimeText(const FILETIME& time, QString* date, QString* clock);
