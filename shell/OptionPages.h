#pragma once

// The option pages of the program's stores. Each page class here is a table of fields (see
// CDlgOptionsBaseTab_Fields) plus the behaviour that is its own.

#include "shell/OptionFieldsPage.h"

#include <QStringList>

// Toolbars and window titles ("View:" keys); kept for the run only.
class CDlgOptionsBaseTab_View : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_View)
public:
    explicit CDlgOptionsBaseTab_View(CWnd* pParentWnd = nullptr);
};

// Opening and window behaviour ("AppBehave:" keys of the General Settings tab).
class CDlgOptionsBaseTab_General : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_General)
public:
    explicit CDlgOptionsBaseTab_General(CWnd* pParentWnd = nullptr);
    // Loads the persisted values, then applies the basic-interface rule.
    void LoadFromRegistry() override;
    void UpdateControls() override;
    // Single play-group window: forces the values that go with it.
    void ApplyBasicInterface();
    void RestoreDefaults();
};

// The record control panel ("ReccCP:" keys).
class CDlgOptionsBaseTab_ReccCP : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_ReccCP)
public:
    explicit CDlgOptionsBaseTab_ReccCP(CWnd* pParentWnd = nullptr);
    void RestoreDefaults();
};

// Project naming and tracking ("Other:" and "Track:" keys).
class CDlgOptionsBaseTab_Other : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Other)
public:
    explicit CDlgOptionsBaseTab_Other(CWnd* pParentWnd = nullptr);
    void RestoreDefaults();
};

// Saving behaviour ("AppBehave:" keys of saving).
class CDlgOptionsBaseTab_Application : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Application)
public:
    explicit CDlgOptionsBaseTab_Application(CWnd* pParentWnd = nullptr);
    void RestoreDefaults();
};

// Camera families the device search includes ("Cameras:" keys).
class CDlgOptionsBaseTab_Cameras : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Cameras)
public:
    explicit CDlgOptionsBaseTab_Cameras(CWnd* pParentWnd = nullptr);
};

// How cameras of one family connect ("RecordFC:" key, kept with the record options).
class CDlgOptionsBaseTab_Connections : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Connections)
public:
    explicit CDlgOptionsBaseTab_Connections(CWnd* pParentWnd = nullptr);
    // The combo index showing a stored connection value; unknown values show as " Auto".
    static int IndexOfConnection(int value);
    static int ConnectionOfIndex(int index);
    static QStringList ConnectionItems();
};

// Video display defaults ("Video:" keys).
class CDlgOptionsBaseTab_Video : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Video)
public:
    explicit CDlgOptionsBaseTab_Video(CWnd* pParentWnd = nullptr);
    static QStringList ZoomModeItems();
};

// The update check ("Update:" keys).
class CDlgOptionsBaseTab_Update : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Update)
public:
    explicit CDlgOptionsBaseTab_Update(CWnd* pParentWnd = nullptr);
    void RestoreDefaults();
};

// The one-step save: folders, file name, format and frame range ("SK:" keys); kept in an option
// file.
class CDlgOptionsBaseTab_Snapkeep : public CDlgOptionsBaseTab {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Snapkeep)
public:
    explicit CDlgOptionsBaseTab_Snapkeep(CWnd* pParentWnd = nullptr);
    void LoadFromRegistry() override {}
    void SaveToRegistry() override {}
    void CopyFrom(const CDlgOptionsBaseTab& page) override;
    VARIANT GetValue(const QString& key, int index) override;
    BOOL SetValue(const QString& key, const VARIANT& value, int index) override;
    void Serialize(CArchive& ar) override;
    // Base name "snapkeep", format "JPG", range -50 to 50; the folders stay.
    void RestoreDefaults();

    QStringList m_dirs;
    QString m_baseName = "filename";
    QString m_format = "JPG";
    int m_rangeOption = 1;
    int m_rangeFrom = -50;
    int m_rangeTo = 50;
};

// The one-step save's naming and re-opening ("SK:" keys); kept in an option file.
class CDlgOptionsBaseTab_SnapkeepAdv : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_SnapkeepAdv)
public:
    explicit CDlgOptionsBaseTab_SnapkeepAdv(CWnd* pParentWnd = nullptr);
    void Serialize(CArchive& ar) override;
    void RestoreDefaults();
};

// Automatic recording and download ("ADL:" keys); kept in an option file.
class CDlgOptionsBaseTab_AutoDown : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_AutoDown)
public:
    explicit CDlgOptionsBaseTab_AutoDown(CWnd* pParentWnd = nullptr);
    void Serialize(CArchive& ar) override;
};

// Live display and synchronisation while recording ("Record:" keys).
class CDlgOptionsBaseTab_Record : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Record)
public:
    explicit CDlgOptionsBaseTab_Record(CWnd* pParentWnd = nullptr);
};

// Memory given to recording ("RecordData:" key).
class CDlgOptionsBaseTab_RecordData : public CDlgOptionsBaseTab_Fields {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_RecordData)
public:
    explicit CDlgOptionsBaseTab_RecordData(CWnd* pParentWnd = nullptr);
    void RestoreDefaults();
};
