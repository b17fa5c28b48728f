#pragma once

// CFormatSettingsDlg: the "Format Settings" window (template 162 of the sensor-resource
// library): each channel's label, units, factor and offset in a list with edits below it, the
// font choice and whether exports scale the data. It also holds the display options of the data
// graph (displayed channels, scaled view, caption channel, grid lines, background), and keeps
// its values in the registry under HKEY_LOCAL_MACHINE "Software\Tolvar\Vidra\Stamping".
// User-interface thread only.

#include "platform/framework/Dialog.h"
#include "platform/wintypes/ColorRef.h"
#include "sensordata/StyleListCtrl.h"

#include <array>
#include <vector>

class CVidraData;

class CFormatSettingsDlg : public CDialog {
    DECLARE_DYNAMIC(CFormatSettingsDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr int kChannels = 64;
    enum Font { kSmallFont = 0, kLargeFont = 1, kAutoFont = 2 };

    // Starts from the defaults and loads the registry values over them.
    explicit CFormatSettingsDlg(CWnd* pParent = nullptr, CVidraData* data = nullptr);

    // Modeless from template 162, with the templates of the sensor-resource library first.
    // A null parent keeps the one given at construction.
    BOOL Create(CWnd* pParent = nullptr);
    // The data whose on channels the list shows (not owned); refills the list.
    void SetData(CVidraData* data);
    // Every value field of another settings object (not its data or window).
    void CopyValuesFrom(const CFormatSettingsDlg& other);

    // Writes every setting kept in the registry; the scaled view and the caption channel are
    // not kept. FALSE when a key could not be written.
    BOOL SaveSettings() const;
    // Reads them back; a missing key or value keeps what the field holds.
    void LoadSettings();

    BOOL OnInitDialog() override;
    void OnOK() override;
    // Drops the edits since the window opened or last took OK, marks included, so that a later
    // OK writes none of them.
    void OnCancel() override;

    int m_nCurrentChannel = 0;
    int m_nFont = kAutoFont;
    std::array<float, kChannels> m_factors{};
    std::array<float, kChannels> m_offsets{};
    std::array<COLORREF, kChannels> m_colors{};
    std::vector<QString> m_labels;
    std::vector<QString> m_units;
    std::array<bool, kChannels> m_displayed{};
    int m_nExportScaled = 1;
    int m_nScaledView = 0;
    int m_nCaptionChannel = 0;
    int m_nGridLines = 1;
    int m_nBlackBackground = 1;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void FillList();
    // The edits to the current channel's fields, and back.
    void StoreChannelEdits();
    void LoadChannelEdits();
    void OnItemChanged(NMHDR* hdr, LRESULT* result);

    CStyleListCtrl m_list;
    CVidraData* m_pData = nullptr;
    // The channels whose edits the user changed since the window opened: OK writes only these
    // into the data, so that a channel merely shown keeps the data file's own calibration.
    std::array<bool, kChannels> m_edited{};
    // The channel fields as the window opened or last took OK, which Cancel puts back.
    struct ChannelFields {
        std::array<float, kChannels> factors{};
        std::array<float, kChannels> offsets{};
        std::vector<QString> labels;
        std::vector<QString> units;
    };
    ChannelFields m_kept;
    bool m_filling = false;
};
