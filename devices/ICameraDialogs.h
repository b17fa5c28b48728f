#pragma once

// ICameraDialogs: the device dialogs a camera window opens. The program installs the real
// dialogs; tests install scripted ones, so no test waits on a modal window.

#include <QString>

#include <optional>

class CDevice;
class CWnd;

class ICameraDialogs {
public:
    virtual ~ICameraDialogs() = default;
    // A one-line text dialog: the edited text on OK, nothing on Cancel.
    virtual std::optional<QString> AskText(const QString& title, const QString& prompt,
                                           const QString& text, CWnd* owner) = 0;
    virtual void ShowDeviceInformation(const QString& text, CWnd* owner) = 0;
    virtual void ShowColourAdjustment(CDevice& device, CWnd* owner) = 0;
    virtual void ShowCameraSettings(CDevice& device, CWnd* owner) = 0;
    // The modal "Set Active Area" dialog over the device's live video.
    virtual void ShowActiveArea(CDevice& device, CWnd* owner);

    // The dialogs in use (never null: a plain set until the program installs its own).
    static ICameraDialogs& Get();
    // Installs dialogs (null: the plain set); the previous ones come back.
    static ICameraDialogs* Install(ICameraDialogs* dialogs);
};
