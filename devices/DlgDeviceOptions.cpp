#include "devices/DlgDeviceOptions.h"

#include <QFileInfo>

IMPLEMENT_DYNAMIC(CDlgDeviceOptions, CDlgOptionsBase)

CDlgDeviceOptions::CDlgDeviceOptions(CWnd* pParentWnd) : CDlgOptionsBase(186, pParentWnd) {
    AddPage(&m_deviceValue, &m_deviceEdit, 0, QStringLiteral("Device"), FALSE, FALSE);
    AddPage(&m_cameraValue, &m_cameraEdit, 0, QStringLiteral("Camera"), FALSE, FALSE);
    AddPage(&m_acquisitionValue, &m_acquisitionEdit, 0, QStringLiteral("Acquisition"), FALSE,
            FALSE);
}

QString CDlgDeviceOptions::DefaultsFileName(const CDeviceId& id) {
    return QStringLiteral("DT%1DST%2DID%3.devdflt")
        .arg(id.m_type)
        .arg(id.m_subtype)
        .arg(id.m_index);
}

HRESULT CDlgDeviceOptions::LoadDefaultsFile(const CDeviceId& id) {
    const QString path = ApplicationFolder() + DefaultsFileName(id);
    // A file that is there but cannot be read fails the same way as a missing one.
    if (!QFileInfo(path).isReadable())
        return E_FAIL;
    return LoadFromFile(path);
}

HRESULT CDlgDeviceOptions::SaveDefaultsFile() {
    return SaveToFile(ApplicationFolder() + DefaultsFileName(m_deviceValue.m_descriptor));
}
