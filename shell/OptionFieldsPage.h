#pragma once

// CDlgOptionsBaseTab_Fields: an option page whose values are described by a table of fields, each
// with its key, its default and the registry value names it is read from and written to.

#include "shell/DlgOptionsBaseTab.h"

#include <span>
#include <vector>

struct OptionField {
    const char* key;  // nullptr: a field no key reaches
    int defaultValue;
    const char* loadName;               // the registry value read on load; nullptr: not read
    const char* saveName;               // the registry value written on save; nullptr: not written
    const char* defaultText = nullptr;  // set for a string field: its default
};

// The "Restore Defaults" button of the pages that have defaults to restore.
inline constexpr UINT kRestoreDefaultsId = 2038;

// Where a field shows on the page's template, and as what.
struct OptionControl {
    // kRadio: the first button of a radio group, the value the index of the checked one.
    enum Kind { kCheck, kNumber, kText, kListIndex, kRadio };
    int field;
    int id;
    Kind kind;
    // A number outside [minimum, maximum] is refused when the page is read; no range when
    // minimum > maximum.
    int minimum = 0;
    int maximum = -1;
};

class CDlgOptionsBaseTab_Fields : public CDlgOptionsBaseTab {
    DECLARE_DYNAMIC(CDlgOptionsBaseTab_Fields)
    DECLARE_MESSAGE_MAP()

public:
    void LoadFromRegistry() override;
    void SaveToRegistry() override;
    void CopyFrom(const CDlgOptionsBaseTab& page) override;
    VARIANT GetValue(const QString& key, int index) override;
    BOOL SetValue(const QString& key, const VARIANT& value, int index) override;
    // The values that "Restore Defaults" writes into the page; pages whose button has no action
    // keep this empty one.
    virtual void RestoreDefaults() {}

    std::span<const OptionField> Fields() const { return m_fields; }
    // The registry key below HKEY_LOCAL_MACHINE that the page persists in.
    QString RegistryPath() const;

protected:
    CDlgOptionsBaseTab_Fields(UINT nIDTemplate, std::span<const OptionField> fields,
                              const char* subKey, CWnd* pParentWnd);

    // The page's controls; a control its template lacks is left out of the data exchange.
    void SetControls(std::span<const OptionControl> controls) { m_controls = controls; }
    void DoDataExchange(CDataExchange* pDX) override;
    // Takes what the controls show, restores the page's defaults and shows them.
    void OnRestoreDefaults();

    // The field with this key; -1 when the page has none.
    int FieldIndex(const QString& key) const;
    int& Int(int field) { return m_ints[field]; }
    // Writes or reads the page's schema and then its first count int fields in order.
    void SerializeInts(CArchive& ar, int count);
    QString& Text(int field) { return m_texts[field]; }

    std::span<const OptionField> m_fields;
    std::span<const OptionControl> m_controls;
    const char* m_subKey;
    std::vector<int> m_ints;
    std::vector<QString> m_texts;
};
