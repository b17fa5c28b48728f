#include "devices/ICameraDialogs.h"

#include "platform/framework/IPrompter.h"
#include "platform/framework/Wnd.h"
#include "views/ActiveAreaDlg.h"

#include <QInputDialog>

namespace {

// Until the program installs its own: the text and information dialogs of the toolkit. The
// colour-adjustment and camera-settings dialogs of a live camera come with the program's set.
class CPlainCameraDialogs : public ICameraDialogs {
public:
    std::optional<QString> AskText(const QString& title, const QString& prompt, const QString& text,
                                   CWnd* owner) override {
        bool ok = false;
        const QString answer = QInputDialog::getText(owner ? owner->GetQWidget() : nullptr, title,
                                                     prompt, QLineEdit::Normal, text, &ok);
        return ok ? std::optional<QString>(answer) : std::nullopt;
    }
    void ShowDeviceInformation(const QString& text, CWnd*) override {
        AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
    }
    void ShowColourAdjustment(CDevice&, CWnd*) override {}
    void ShowCameraSettings(CDevice&, CWnd*) override {}
};

ICameraDialogs*& Installed() {
    static ICameraDialogs* dialogs = nullptr;
    return dialogs;
}

}  // namespace

void ICameraDialogs::ShowActiveArea(CDevice& device, CWnd* owner) {
    CActiveAreaDlg dialog(device, owner);
    dialog.DoModal();
}

ICameraDialogs& ICameraDialogs::Get() {
    static CPlainCameraDialogs plain;
    return Installed() ? *Installed() : plain;
}

ICameraDialogs* ICameraDialogs::Install(ICameraDialogs* dialogs) {
    ICameraDialogs* previous = Installed();
    Installed() = dialogs;
    return previous;
}
