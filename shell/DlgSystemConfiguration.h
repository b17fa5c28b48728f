#pragma once

// CDlgSystemConfiguration: the older set of program-wide on/off options, kept apart from the
// settings store and read and written directly under HKEY_LOCAL_MACHINE
// "Software\Tolvar\Vidra OS\System Configuration". The main window owns one and hands it out.

#include "platform/framework/Dialog.h"

#include <QString>

#include <array>

inline constexpr UINT IDD_SYSTEM_CONFIGURATION = 153;

class CDlgSystemConfiguration : public CDialog {
    DECLARE_DYNAMIC(CDlgSystemConfiguration)

public:
    static constexpr int kFlagCount = 19;
    // The check box of flag i on the dialog is kFirstFlagId + i, in the order of ValueName.
    static constexpr int kFirstFlagId = 1100;

    // Starts from the defaults and takes what the registry holds.
    explicit CDlgSystemConfiguration(const QString& appName = QString());

    // The flag stored under that value name ("Prompt Before Close" ...), or -1 for an
    // unknown name.
    int GetFlag(const QString& valueName) const;
    // FALSE for an unknown name.
    BOOL SetFlag(const QString& valueName, int value);
    // Writes every flag to the registry (the application name is only read).
    void Save() const;

    static QString ValueName(int index);

    QString m_strAppName;
    // Set when the desktop knows spreadsheet files (".xls").
    BOOL m_bSpreadsheetAvailable = FALSE;
    int m_nUnstored = -1;

protected:
    // The check boxes show the flags; OK takes them (the caller saves).
    void DoDataExchange(CDataExchange* pDX) override;

private:
    void Load();

    std::array<int, kFlagCount> m_flags{};
};
