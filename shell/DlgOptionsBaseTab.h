#pragma once

// CDlgOptionsBaseTab: one page of option values. The value instance of a page keeps the live
// values, answers named reads and writes and persists them; the edit instance is the child dialog
// shown under a tab and is synchronised with the value instance by CopyFrom.

#include "platform/com/Variant.h"
#include "platform/framework/Dialog.h"

#include <QString>

class CDlgOptionsBaseTab : public CDialog {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab)

public:
    CDlgOptionsBaseTab(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Reads the persisted values; a value that cannot be read keeps the field as it is.
    virtual void LoadFromRegistry() = 0;
    virtual void SaveToRegistry() = 0;
    // Copies every value field from another page of the same class.
    virtual void CopyFrom(const CDlgOptionsBaseTab& page) = 0;
    // The field of key (a new BSTR for a string field), VT_EMPTY for a key this page lacks.
    virtual VARIANT GetValue(const QString& key, int index) = 0;
    // Stores value when the page knows key and says so; the value stays the caller's.
    virtual BOOL SetValue(const QString& key, const VARIANT& value, int index) = 0;
    // Called after the page's controls were loaded from its values.
    virtual void UpdateControls();
};

// Registry folder of the option pages: HKEY_LOCAL_MACHINE kOptionsRoot + kProgramOptionsKey or
// kRecordOptionsKey.
inline constexpr char kOptionsRoot[] = "Software\\Tolvar\\Vidra OS";
inline constexpr char kProgramOptionsKey[] = "\\Options";
inline constexpr char kRecordOptionsKey[] = "\\Record Options";
