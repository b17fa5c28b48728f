#include "sensordata/DataDisplayWindow.h"

#include "sensordata/model/VidraData.h"

#include <QFileInfo>

CDataDisplayWindow::CDataDisplayWindow() = default;

CDataDisplayWindow::~CDataDisplayWindow() {
    if (m_display.GetSafeHwnd())
        m_display.DestroyWindow();
}

std::unique_ptr<CDataDisplayWindow> CDataDisplayWindow::Open(const QString& path, CWnd* parent) {
    std::unique_ptr<CDataDisplayWindow> window(new CDataDisplayWindow);
    if (window->m_set.Open(path) != S_OK)
        return nullptr;
    CVidraData* data = window->m_set.GetData();
    for (int c = 0; c < CVidraData::kChannelSlots; ++c)
        window->m_settings.m_displayed[c] = data->m_onFlags[c] != 0;
    window->m_settings.SetData(data);
    window->m_display.SetFormatSettings(&window->m_settings);
    window->m_display.SetCaption(
        QStringLiteral("Data Display - %1").arg(QFileInfo(path).fileName()));
    if (!window->m_display.Create(parent, data))
        return nullptr;
    window->m_display.ShowWindow(SW_SHOW);
    return window;
}

bool CDataDisplayWindow::IsShown() const {
    return m_display.GetSafeHwnd() && m_display.IsWindowVisible();
}
