#pragma once

// CDataDisplayWindow: a data file shown on its own in a "Data Display" window (template 287),
// with the format settings it is drawn by. It holds the opened data, the settings and the
// window together, so that all three live exactly as long as each other. Every channel that is
// on in the file is displayed at first. User-interface thread only.

#include "sensordata/DataDisplayDlg.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensordata/model/SensorDataSet.h"

#include <QString>

#include <memory>

class CDataDisplayWindow {
public:
    // Reads the data file and shows it; nullptr when the file cannot be read or the window
    // cannot be made (the caller tells the user).
    static std::unique_ptr<CDataDisplayWindow> Open(const QString& path, CWnd* parent);
    ~CDataDisplayWindow();

    CDataDisplayDlg& Display() { return m_display; }
    CFormatSettingsDlg& Settings() { return m_settings; }
    // FALSE once the user closed the window.
    bool IsShown() const;

private:
    CDataDisplayWindow();

    CSensorDataSet m_set;
    CFormatSettingsDlg m_settings;
    CDataDisplayDlg m_display;
};
