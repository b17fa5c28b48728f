#pragma once

// CAcquisitionSettingsDlg: the modal "Data Acquisition Settings" dialog (template 1539 of the
// sensor-resource library): the channels that are on with their input mode, limits, label,
// factor, offset and units, the controls of the current channel below them, and the connector.
// It edits a data device's settings record and format settings in place; OK stores the
// controls, writes the record and the format settings to the registry and sets the card's
// rate per channel from the channels now on. User-interface thread only.

#include "platform/framework/ComboBox.h"
#include "platform/framework/Dialog.h"
#include "sensordata/StyleListCtrl.h"

#include <QString>

class CAcqSettings;
class CFormatSettingsDlg;

// "Rising Edge" for 1, "Falling Edge" for 2, "Unknown" for any other edge; nothing for a null
// text.
void GetTriggerEdgeText(int edge, QString* text);

class CAcquisitionSettingsDlg : public CDialog {
    DECLARE_DYNAMIC(CAcquisitionSettingsDlg)
    DECLARE_MESSAGE_MAP()

public:
    enum Control : int {
        kChannelCombo = 1065,
        kLower = 1075,
        kUpper = 1076,
        kChannelList = 1130,
        kColorButton = 1150,
        kColorSwatch = 1151,
        kConnector = 1157,
        kStatus = 1158,
        kRecordFlag = 1185,
        kOn = 2001,
        kMode = 2021,
        kFactor = 2081,
        kOffset = 2101,
        kLabel = 2221,
        kUnits = 2240,
    };

    explicit CAcquisitionSettingsDlg(CWnd* pParent = nullptr);

    // Both stay the caller's; each refills the list when the dialog is open.
    void SetAcqSettings(CAcqSettings* settings);
    void SetFormatSettings(CFormatSettingsDlg* format);
    int GetCurrentChannel() const { return m_nCurrentChannel; }

    BOOL OnInitDialog() override;
    void OnOK() override;

    // The handlers, as the controls call them.
    void OnListSelect();
    void OnChannelChosen();
    void OnModeChosen();
    void OnOnClicked();
    void OnConnectorChosen();
    void OnColor();

protected:
    void OnListNotify(NMHDR* hdr, LRESULT* result);

private:
    void FillList();
    void FillChannelCombo();
    // The current channel's fields to the controls, with the mode list and the partner rule.
    void LoadControls();
    // The controls to the current channel's fields.
    void StoreControls();
    void MakeCurrent(int channel);
    void PaintSwatch();
    // The dialog's combo box of that id; null before the window.
    CComboBox* Combo(int id);

    CStyleListCtrl m_list;
    CComboBox m_channelCombo;
    CComboBox m_modeCombo;
    CComboBox m_connectorCombo;
    CAcqSettings* m_pSettings = nullptr;
    CFormatSettingsDlg* m_pFormat = nullptr;
    int m_nCurrentChannel = 0;
    int m_nRecordFlag = 0;
    bool m_filling = false;
};
