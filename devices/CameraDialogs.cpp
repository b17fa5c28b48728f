#include "devices/ICameraDialogs.h"

#include "devices/CameraColorProcessor.h"
#include "devices/CameraSettingsDlg.h"
#include "shell/DlgDeviceInformation.h"
#include "shell/DlgTextInput.h"
#include "views/ActiveAreaDlg.h"
#include "views/BayerColorDlg.h"

namespace {

ICameraDialogs*& Installed() {
    static ICameraDialogs* dialogs = nullptr;
    return dialogs;
}

}  // namespace

std::optional<QString> ICameraDialogs::AskText(const QString& title, const QString& prompt,
                                               const QString& text, CWnd* owner) {
    CDlgTextInput dialog(owner);
    dialog.SetPrompt(title, prompt);
    dialog.SetText(text);
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    return dialog.GetText();
}

void ICameraDialogs::ShowDeviceInformation(const QString& text, CWnd* owner) {
    CDlgDeviceInformation dialog(owner);
    dialog.m_strText = text;
    dialog.DoModal();
}

std::unique_ptr<IColorAdjustment> ICameraDialogs::MakeColourAdjustment(const CDeviceLink& link,
                                                                       CWnd*) {
    // A window of its own: the owner keeps the object and destroys it before itself, so the
    // window never goes with the owner's window tree.
    auto dialog = std::make_unique<CBayerColorDlg>(std::make_unique<CCameraColorProcessor>(link));
    if (!dialog->Create(CBayerColorDlg::kTemplate, nullptr))
        return nullptr;
    return dialog;
}

bool ICameraDialogs::ShowCameraSettings(CDevice& device, CWnd* owner) {
    CCameraSettingsDlg dialog(device, owner);
    return dialog.DoModal() == IDOK;
}

void ICameraDialogs::ShowActiveArea(CDevice& device, CWnd* owner) {
    CActiveAreaDlg dialog(device, owner);
    dialog.DoModal();
}

ICameraDialogs& ICameraDialogs::Get() {
    static ICameraDialogs own;
    return Installed() ? *Installed() : own;
}

ICameraDialogs* ICameraDialogs::Install(ICameraDialogs* dialogs) {
    ICameraDialogs* previous = Installed();
    Installed() = dialogs;
    return previous;
}
