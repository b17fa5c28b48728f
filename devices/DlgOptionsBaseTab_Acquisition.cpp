#include "devices/DlgOptionsBaseTab_Acquisition.h"

#include "platform/framework/Archive.h"
#include "sensordata/DataAcqWnd.h"

IMPLEMENT_DYNAMIC(CDlgOptionsBaseTab_Acquisition, CDlgOptionsBaseTab)

namespace {

// The fields of a record the file keeps, from one record to another.
void CopyStored(const CAcqSettings& from, CAcqSettings& to) {
    to.m_nDevice = from.m_nDevice;
    to.SetChannelCount(from.GetChannelCount());
    to.m_nConnector = from.m_nConnector;
    to.m_nAdapter = from.m_nAdapter;
    to.m_on = from.m_on;
    to.m_mode = from.m_mode;
    to.m_lower = from.m_lower;
    to.m_upper = from.m_upper;
}

}  // namespace

CDlgOptionsBaseTab_Acquisition::CDlgOptionsBaseTab_Acquisition(CWnd* pParentWnd)
    : CDlgOptionsBaseTab(0, pParentWnd) {}

void CDlgOptionsBaseTab_Acquisition::CopyFrom(const CDlgOptionsBaseTab& page) {
    if (const auto* acquisition = dynamic_cast<const CDlgOptionsBaseTab_Acquisition*>(&page))
        m_settings = acquisition->m_settings;
}

VARIANT CDlgOptionsBaseTab_Acquisition::GetValue(const QString&, int) {
    return VARIANT{};
}

BOOL CDlgOptionsBaseTab_Acquisition::SetValue(const QString&, const VARIANT&, int) {
    return FALSE;
}

void CDlgOptionsBaseTab_Acquisition::Serialize(CArchive& ar) {
    CAcqSettings& s = m_settings;
    if (ar.IsStoring()) {
        ar << kSchema << s.m_nDevice << s.GetChannelCount() << s.m_nConnector << s.m_nAdapter;
        for (int c = 0; c < s.ChannelNumbers(); ++c)
            ar << s.m_on[c] << s.m_mode[c] << s.m_lower[c] << s.m_upper[c];
        return;
    }
    int schema = 0;
    ar >> schema;
    if (schema != kSchema)
        return;
    int channels = 0;
    ar >> s.m_nDevice >> channels;
    if (channels < 0 || channels > CAcqSettings::kMaxChannelCount)
        return;
    s.SetChannelCount(channels);
    ar >> s.m_nConnector >> s.m_nAdapter;
    for (int c = 0; c < s.ChannelNumbers(); ++c)
        ar >> s.m_on[c] >> s.m_mode[c] >> s.m_lower[c] >> s.m_upper[c];
}

void CDlgOptionsBaseTab_Acquisition::ReadFrom(const CDevice& device) {
    if (const auto* card = dynamic_cast<const CDataAcqWnd*>(&device))
        CopyStored(card->GetAcqSettings(), m_settings);
}

void CDlgOptionsBaseTab_Acquisition::ApplyTo(CDevice& device) const {
    auto* card = dynamic_cast<CDataAcqWnd*>(&device);
    if (!card)
        return;
    CAcqSettings& settings = card->GetAcqSettings();
    CopyStored(m_settings, settings);
    settings.UpdateMaxChannelRate();
    card->ReapplyParams();
}
