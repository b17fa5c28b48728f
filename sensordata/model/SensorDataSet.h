#pragma once

// CSensorDataSet: owns one CVidraData and is what documents, views, play groups and the save
// targets pass around, shared through CSharedRef. Results that are HRESULTs are S_OK or E_FAIL.

#include "platform/wintypes/WinError.h"

#include <QString>

#include <memory>
#include <vector>

class COpenFileEntry;
class CVidraData;
class QIODevice;

class CSensorDataSet {
public:
    CSensorDataSet();
    virtual ~CSensorDataSet();
    CSensorDataSet(const CSensorDataSet&) = delete;
    CSensorDataSet& operator=(const CSensorDataSet&) = delete;

    CVidraData* GetData() const { return m_data.get(); }

    int GetActiveChannelCount() const;
    double GetScanRate() const;
    int GetScansPerFrame() const;
    int GetZeroPoint() const;
    void SetZeroPoint(int zeroPoint);
    int GetSecondOrigin() const;
    int GetLiveCopy() const;
    int GetDataId() const;
    // Samples per stored channel; -1 without a stored channel.
    int GetScanCount() const;

    // channels arrays (at most 64) of scans zero samples on channels 0 .. channels-1; the other
    // channels are switched off so that stored arrays and on flags stay one to one.
    HRESULT Init(int channels, int scans, int scansPerFrame, double rate, int zeroPoint);
    // One value per stored channel becomes the newest sample; the oldest is dropped.
    HRESULT SetLastScan(const std::vector<float>* values);
    // The same for scans newest scans at once, values laid out scan by scan (scans x channels);
    // live acquisition hands over a block per display period and shifts the window once.
    HRESULT SetLastScans(const float* values, int scans, int valueCount);

    // The binary data file, written through a temporary name; a failure shows "Could not save
    // data file." / "Write Error" and keeps the file that was there.
    HRESULT Save(const QString& path);
    // With useRange >= 1 only scans first .. last-1 (see CVidraData::CopyRange).
    HRESULT SaveRange(const QString& path, int useRange, int first, int last);
    // "au2" (by the last component's extension) as text, falling back to the binary format;
    // anything else as binary. The held data changes only when a whole valid file was read.
    // The file read stays registered as open (see COpenFileRegistry) until another file is read
    // or the set goes, so that no save in the program writes over it.
    HRESULT Open(const QString& path);

    // The ".au2" text file, checked against the free disk space before anything is created.
    HRESULT ExportText(const QString& path);
    // Asks for the path ("Save Data") and exports there; E_FAIL when cancelled.
    HRESULT ExportTextPrompt();
    // The workbook export: the held data on sheets "Data 1", "Data 2", ... of a workbook the
    // user saves, then opens. unitsFlag 0 heads the channels "(Volts)", others "(units)".
    HRESULT ExportToExcel(const QString& name, int unitsFlag);

    // Reads the ".au2" layout from file into data; false (with data unchanged) when the file is
    // not a complete, consistent one. A bad row says "Error reading scan %d" / "Read Error".
    static bool ReadAu2(QIODevice& file, CVidraData& data);

private:
    HRESULT Write(const CVidraData& data, const QString& path);

    std::unique_ptr<CVidraData> m_data;
    std::unique_ptr<COpenFileEntry> m_openFile;
};
