#include "devices/VideoTriggerTab.h"

#include "devices/CamView.h"
#include "devices/IDeviceViewFinder.h"
#include "devices/RecordControllerDoc.h"
#include "devices/core/Device.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/MessageMap.h"
#include "platform/wintypes/CLocale.h"
#include "sensordata/DataPlayView.h"
#include "shell/NumberEntryDlg.h"

#include <QAbstractButton>
#include <QIcon>

IMPLEMENT_DYNAMIC(CVideoTriggerTab, CTabDlg)

BEGIN_MESSAGE_MAP(CVideoTriggerTab, CTabDlg)
ON_WM_DESTROY()
ON_BN_CLICKED(CVideoTriggerTab::kDefineRegion, OnDefineRegion)
ON_BN_CLICKED(CVideoTriggerTab::kSetRegion, OnSetRegion)
ON_BN_CLICKED(CVideoTriggerTab::kShowTrace, OnShowTrace)
ON_BN_CLICKED(CVideoTriggerTab::kRemove, OnRemoveRegion)
ON_BN_CLICKED(CVideoTriggerTab::kReadLevels, OnReadLevels)
ON_BN_CLICKED(CVideoTriggerTab::kReadTraining, OnReadTraining)
ON_BN_CLICKED(CVideoTriggerTab::kSendRising, OnSendRising)
ON_BN_CLICKED(CVideoTriggerTab::kSendFalling, OnSendFalling)
ON_BN_CLICKED(CVideoTriggerTab::kSendTraining, OnSendTraining)
ON_BN_CLICKED(CVideoTriggerTab::kRetrain, OnRetrain)
ON_BN_CLICKED(CVideoTriggerTab::kTrainOnRecord, OnTrainOnRecord)
ON_CONTROL(CBN_DROPDOWN, CVideoTriggerTab::kRisingCombo, OnRisingDropDown)
ON_CONTROL(CBN_DROPDOWN, CVideoTriggerTab::kFallingCombo, OnFallingDropDown)
ON_CONTROL(CBN_DROPDOWN, CVideoTriggerTab::kTrainingCombo, OnTrainingDropDown)
ON_CBN_SELCHANGE(CVideoTriggerTab::kRisingCombo, OnRisingChosen)
ON_CBN_SELCHANGE(CVideoTriggerTab::kFallingCombo, OnFallingChosen)
ON_CBN_SELCHANGE(CVideoTriggerTab::kTrainingCombo, OnTrainingChosen)
END_MESSAGE_MAP()

namespace {

// Below this size (in image pixels) a drawn rectangle is a click, not a region.
constexpr double kMinRegionSize = 1.0;

}  // namespace

CVideoTriggerTab::CVideoTriggerTab(UINT nIDTemplate, CWnd* pParentWnd)
    : CTabDlg(nIDTemplate, pParentWnd),
      m_link(*this),
      m_trace([this](CVideoTriggerTraceWnd::Sample* sample) {
          CDevice* device = FindDevice();
          IDriverDevice* driver = device ? device->Driver() : nullptr;
          if (!driver || driver->GetVideoTriggerLevel(&sample->level) != 0)
              return false;
          driver->GetVideoTriggerItem(kVideoTriggerRising, &sample->rising);
          driver->GetVideoTriggerItem(kVideoTriggerFalling, &sample->falling);
          return true;
      }),
      m_events(kPollPeriod, [this] { m_link.OnDeviceUpdate(); }) {}

CVideoTriggerTab::~CVideoTriggerTab() {
    if (m_trace.GetSafeHwnd())
        m_trace.DestroyWindow();
}

const CVideoTriggerTab::Item& CVideoTriggerTab::ItemOf(int item) {
    static const Item kItems[] = {
        {kVideoTriggerRising, kRisingCombo, kRisingEdit, "Rising Level",
         "Desired Rising Level :", 0, 65535},
        {kVideoTriggerFalling, kFallingCombo, kFallingEdit, "Falling Level",
         "Desired Falling Level :", 0, 65535},
        {kVideoTriggerTraining, kTrainingCombo, kTrainingEdit, "Training Count",
         "Desired Training Count :", 1, 10000},
    };
    for (const Item& entry : kItems) {
        if (entry.item == item)
            return entry;
    }
    return kItems[0];
}

void CVideoTriggerTab::DoDataExchange(CDataExchange* pDX) {
    CTabDlg::DoDataExchange(pDX);
    DDX_Control(pDX, kRisingCombo, m_risingBox);
    DDX_Control(pDX, kFallingCombo, m_fallingBox);
    DDX_Control(pDX, kTrainingCombo, m_trainingBox);
}

CComboBox& CVideoTriggerTab::ComboOf(const Item& item) {
    if (item.combo == kRisingCombo)
        return m_risingBox;
    return item.combo == kFallingCombo ? m_fallingBox : m_trainingBox;
}

BOOL CVideoTriggerTab::OnInitDialog() {
    CTabDlg::OnInitDialog();
    // The two buttons without a caption read the camera's values into the edits beside them.
    for (int id : {int(kReadLevels), int(kReadTraining)}) {
        CWnd* item = GetDlgItem(id);
        if (auto* button = item ? qobject_cast<QAbstractButton*>(item->GetQWidget()) : nullptr) {
            button->setIcon(QIcon::fromTheme(QStringLiteral("go-previous")));
            button->setToolTip(QStringLiteral("Read from the camera"));
        }
    }
    m_events.Watch(GetQWidget());
    RefreshFields();
    return TRUE;
}

void CVideoTriggerTab::OnDestroy() {
    if (m_trace.GetSafeHwnd())
        m_trace.DestroyWindow();
    CTabDlg::OnDestroy();
}

CCamView* CVideoTriggerTab::FindCameraView() {
    if (!m_finder)
        return nullptr;
    int kind = IDeviceViewFinder::kOtherView;
    CView* view = m_finder->GetActiveDeviceView(&kind, nullptr);
    if (auto* camera = dynamic_cast<CCamView*>(view))
        return camera;
    // In front of a data playback the page edits the camera that goes with it: the one it was
    // matched with before, else the one the finder names, which the playback then keeps.
    auto* dataPlay = dynamic_cast<CDataPlayView*>(view);
    if (dataPlay) {
        if (auto* partner = dynamic_cast<CCamView*>(dataPlay->GetDisplayPartner()))
            return partner;
    } else if (kind != IDeviceViewFinder::kDataSensorView) {
        return nullptr;
    }
    CCamView* camera = m_finder->FindCameraViewForDataView(view);
    if (dataPlay && camera)
        dataPlay->SetDisplayPartner(camera);
    return camera;
}

CDevice* CVideoTriggerTab::FindDevice() {
    CCamView* view = FindCameraView();
    CDevice* device = view ? view->GetDevice() : nullptr;
    if (device) {
        int handle = -1;
        device->GetHandle(&handle);
        if (m_link.GetHandle() != handle)
            m_link.SetHandle(handle);
    }
    return device;
}

void CVideoTriggerTab::ShowLevel(CDevice* device) {
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    double level = 0.0;
    QString text = QString::fromLatin1(kLevelPrefix);
    if (driver && driver->GetVideoTriggerLevel(&level) == 0)
        text += QFormatC("%.1f", level);
    SetFieldTextIfChanged(this, kLevelText, text, true);
}

void CVideoTriggerTab::RefreshFields() {
    if (!GetSafeHwnd())
        return;
    CDevice* device = FindDevice();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!driver)
        return;
    int onRecord = 0;
    if (driver->GetVideoTriggerItem(kVideoTriggerTrainOnRecord, &onRecord) == 0)
        SetCheckIfChanged(this, kTrainOnRecord, onRecord != 0);
}

void CVideoTriggerTab::OnDefineRegion() {
    if (CCamView* view = FindCameraView())
        view->SetSelectionMode(true);
}

void CVideoTriggerTab::OnSetRegion() {
    CCamView* view = FindCameraView();
    IDriverDevice* driver = view && view->GetDevice() ? view->GetDevice()->Driver() : nullptr;
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    if (!driver || view->GetSelection(&left, &top, &right, &bottom) != S_OK ||
        right - left <= kMinRegionSize || bottom - top <= kMinRegionSize)
        return;
    const DriverRect region{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                            static_cast<int>(bottom)};
    if (driver->SetVideoTriggerRegion(region) != 0)
        return;
    view->SetSelectionMode(false);
    ShowLevel(view->GetDevice());
    // In a record controller the region is also shown in the controller's tool windows.
    if (CRecordControllerDoc* controller = CRecordControllerDoc::OfEmbeddedView(view))
        controller->ShowVideoTriggerRegion(
            view, CRect(region.left, region.top, region.right, region.bottom));
}

void CVideoTriggerTab::OnShowTrace() {
    if (FindDevice())
        m_trace.Open();
}

void CVideoTriggerTab::OnRemoveRegion() {
    CDevice* device = FindDevice();
    if (!device || !device->Driver() || device->Driver()->ClearVideoTriggerRegion() != 0)
        return;
    SetFieldTextIfChanged(this, kLevelText, QString::fromLatin1(kLevelPrefix), true);
}

void CVideoTriggerTab::ReadItems(int first, int last) {
    CDevice* device = FindDevice();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    int count = 0;
    if (!driver || driver->GetVideoTriggerItemCount(&count) != 0)
        return;
    for (int item = first; item <= last && item < count; ++item) {
        int value = 0;
        if (driver->GetVideoTriggerItem(item, &value) == 0)
            SetFieldInt(this, ItemOf(item).edit, value, true);
    }
}

void CVideoTriggerTab::OnReadLevels() {
    ReadItems(kVideoTriggerRising, kVideoTriggerFalling);
}

void CVideoTriggerTab::OnReadTraining() {
    ReadItems(kVideoTriggerTraining, kVideoTriggerTraining);
}

void CVideoTriggerTab::SendEdit(const Item& item) {
    CDevice* device = FindDevice();
    bool ok = false;
    const int value = GetDlgItemText(item.edit).trimmed().toInt(&ok);
    if (device && device->Driver() && ok)
        device->Driver()->SetVideoTriggerItem(item.item, value);
}

void CVideoTriggerTab::OnSendRising() {
    SendEdit(ItemOf(kVideoTriggerRising));
}

void CVideoTriggerTab::OnSendFalling() {
    SendEdit(ItemOf(kVideoTriggerFalling));
}

void CVideoTriggerTab::OnSendTraining() {
    SendEdit(ItemOf(kVideoTriggerTraining));
}

void CVideoTriggerTab::OnRetrain() {
    if (CDevice* device = FindDevice(); device && device->Driver())
        device->Driver()->TrainVideoTrigger();
}

void CVideoTriggerTab::OnTrainOnRecord() {
    CDevice* device = FindDevice();
    if (!device || !device->Driver())
        return;
    device->Driver()->SetVideoTriggerItem(kVideoTriggerTrainOnRecord,
                                          IsDlgButtonChecked(kTrainOnRecord) ? 1 : 0);
    RefreshFields();
}

void CVideoTriggerTab::FillPresets(const Item& item) {
    CComboBox* combo = &ComboOf(item);
    if (!combo->GetSafeHwnd())
        return;
    const std::vector<int>& presets =
        item.item == kVideoTriggerTraining ? m_trainingPresets : m_levelPresets;
    combo->ResetContent();
    for (int preset : presets)
        combo->AddString(QFormatC("%d", preset));
    combo->AddString(QString::fromLatin1(kUserEntry));
    // Nothing chosen yet: every choice is one.
    combo->SetCurSel(-1);
}

void CVideoTriggerTab::ChoosePreset(const Item& item) {
    CComboBox* combo = &ComboOf(item);
    CDevice* device = FindDevice();
    IDriverDevice* driver = device ? device->Driver() : nullptr;
    if (!combo->GetSafeHwnd() || !driver)
        return;
    const int selection = combo->GetCurSel();
    const std::vector<int>& presets =
        item.item == kVideoTriggerTraining ? m_trainingPresets : m_levelPresets;
    if (selection >= 0 && selection < static_cast<int>(presets.size())) {
        driver->SetVideoTriggerItem(item.item, presets[static_cast<size_t>(selection)]);
        return;
    }
    if (selection < 0 || combo->GetLBText(selection) != QLatin1String(kUserEntry))
        return;
    int current = item.minimum;
    driver->GetVideoTriggerItem(item.item, &current);
    CNumberEntryDlg dialog(this);
    dialog.SetParameters(QString::fromLatin1(item.title), QString::fromLatin1(item.prompt),
                         item.minimum, item.maximum, current, 1);
    if (dialog.DoModal() != IDOK)
        return;
    driver->SetVideoTriggerItem(item.item, dialog.m_nValue);
}

void CVideoTriggerTab::OnRisingDropDown() {
    FillPresets(ItemOf(kVideoTriggerRising));
}

void CVideoTriggerTab::OnFallingDropDown() {
    FillPresets(ItemOf(kVideoTriggerFalling));
}

void CVideoTriggerTab::OnTrainingDropDown() {
    FillPresets(ItemOf(kVideoTriggerTraining));
}

void CVideoTriggerTab::OnRisingChosen() {
    ChoosePreset(ItemOf(kVideoTriggerRising));
}

void CVideoTriggerTab::OnFallingChosen() {
    ChoosePreset(ItemOf(kVideoTriggerFalling));
}

void CVideoTriggerTab::OnTrainingChosen() {
    ChoosePreset(ItemOf(kVideoTriggerTraining));
}
