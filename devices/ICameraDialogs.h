#pragma once

// ICameraDialogs: the device dialogs a camera window opens. The program's own are the defaults;
// tests install scripted ones, so no test waits on a modal window.

#include <QString>

#include <memory>
#include <optional>

class CDevice;
class CDeviceLink;
class CWnd;
class IColorAdjustment;

class ICameraDialogs {
public:
    virtual ~ICameraDialogs() = default;
    // "Device Name" and the other one-line questions: the edited text on OK, nothing on Cancel.
    virtual std::optional<QString> AskText(const QString& title, const QString& prompt,
                                           const QString& text, CWnd* owner);
    virtual void ShowDeviceInformation(const QString& text, CWnd* owner);
    // The modeless colour adjustment window of the camera the link shows, for owner to keep
    // (the link must outlive it); null when it cannot be made.
    virtual std::unique_ptr<IColorAdjustment> MakeColourAdjustment(const CDeviceLink& link,
                                                                   CWnd* owner);
    // The modal "Camera Settings" dialog: true when the camera was given new settings.
    virtual bool ShowCameraSettings(CDevice& device, CWnd* owner);
    // The modal "Set Active Area" dialog over the device's live video.
    virtual void ShowActiveArea(CDevice& device, CWnd* owner);

    // The dialogs in use (never null: the program's own until others are installed).
    static ICameraDialogs& Get();
    // Installs dialogs (null: the program's own); the previous ones come back.
    static ICameraDialogs* Install(ICameraDialogs* dialogs);
};
