#pragma once

// What the two sensor-data targets share: the bytes are opened as a data file of the given
// extension through CSensorDataSet::Open, and whatever is read must meet the model's invariants,
// hold no more than the file could, and save again. What opens is shown in the data display as
// the data window shows it, every channel that is on displayed, and its cursor stepped to both
// ends.

#include "fuzz/FuzzSupport.h"
#include "platform/framework/ResourceChain.h"
#include "sensordata/DataDisplayDlg.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensordata/model/DataInvariants.h"
#include "sensordata/model/SensorDataSet.h"
#include "sensorres/SensorResourceIds.h"
#include "sensorres/SondrelModule.h"

#include <QAbstractButton>

#include <cstdlib>

inline void ShowInDataDisplay(CVidraData* data) {
    static const bool resources = [] {
        CResourceChain::AddModule(RmResourceModule());
        return true;
    }();
    (void)resources;
    CFormatSettingsDlg settings(nullptr, data);
    settings.m_displayed.fill(true);
    settings.m_nScaledView = 1;
    CDataDisplayDlg display(nullptr, data);
    display.SetFormatSettings(&settings);
    if (!display.Create(nullptr, data))
        std::abort();
    for (const int button : {int(DataDisplayId::kFwd), int(DataDisplayId::kBack)}) {
        auto* widget = qobject_cast<QAbstractButton*>(display.GetDlgItem(button)->GetQWidget());
        display.SetCursorIndex(button == DataDisplayId::kFwd ? data->m_nTotalScans - 1 : 1, true);
        widget->click();
    }
    display.DestroyWindow();
}

inline int FuzzSensorDataFile(const uint8_t* data, size_t size, const QString& extension) {
    const QString path = FuzzFile(data, size, QStringLiteral("input.") + extension);
    CSensorDataSet set;
    if (set.Open(path) == S_OK) {
        CVidraData& read = *set.GetData();
        if (!MeetsDataInvariants(read))
            std::abort();
        if (read.m_channels.size() * size_t(read.m_nTotalScans) > size)
            std::abort();
        ShowInDataDisplay(&read);
        if (set.Save(FuzzFile(nullptr, 0, QStringLiteral("again.mdat"))) != S_OK)
            std::abort();
    }
    return 0;
}
