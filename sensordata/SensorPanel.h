#pragma once

// CSensorPanel: how the data documents and views reach the sensor windows. It makes on demand
// the format settings window, the data display window and an empty data model, and owns them
// (with the data source its host hands it) until it goes. User-interface thread only.

#include "platform/framework/Wnd.h"
#include "platform/wintypes/WinError.h"
#include "sensorres/SensorResource.h"

#include <memory>

class CDataDisplayDlg;
class CFormatSettingsDlg;
class CVidraData;

// Where a panel's windows get their settings and data: a data device or a data file.
class ISensorDataSource {
public:
    virtual ~ISensorDataSource() = default;
    // The settings the panel's format settings start from; null keeps the stored ones.
    virtual CFormatSettingsDlg* GetFormatSettings() = 0;
    // The data the display shows; null: the panel's own data model.
    virtual CVidraData* GetData() = 0;
    // Told the display window once the panel has made it.
    virtual void SetDataDisplay(CDataDisplayDlg* display) = 0;
};

class CSensorPanel : public CWnd {
    DECLARE_DYNAMIC(CSensorPanel)

public:
    CSensorPanel();
    ~CSensorPanel() override;

    void SetDataSource(std::unique_ptr<ISensorDataSource> source);
    ISensorDataSource* GetDataSource() const { return m_source.get(); }

    // Each: 1 when the window or model existed already, 0 when it was made, E_FAIL when the
    // window could not be made (nothing half-built is kept).
    // The format settings, with the data source's values, modeless from template 162.
    HRESULT CreateFormatSettings();
    // The data display, a child of parent (or of the panel) from template 1538, drawn with the
    // data source's format settings (the panel's without one); the source is told the window.
    HRESULT CreateDataDisplay(CWnd* parent);
    HRESULT CreateDataModel();

    CFormatSettingsDlg* GetFormatSettings() const { return m_settings.get(); }
    CDataDisplayDlg* GetDataDisplay() const { return m_display.get(); }
    CVidraData* GetDataModel() const { return m_data.get(); }
    // The data the display shows: the source's, else the panel's model.
    CVidraData* GetShownData() const;

private:
    std::unique_ptr<ISensorDataSource> m_source;
    std::unique_ptr<CFormatSettingsDlg> m_settings;
    std::unique_ptr<CDataDisplayDlg> m_display;
    std::unique_ptr<CVidraData> m_data;
    CSensorResource m_resource;  // keeps the sensor-resource library bound
};
