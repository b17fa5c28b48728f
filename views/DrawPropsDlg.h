#pragma once

// CDrawPropsDlg: the modal dialog in which the user edits one drawing object's appearance:
// colours, filled, line thickness and style, arrows, closed outline, text and font. One class
// serves the templates that share its control ids; the measurement overlays' dialogs derive
// from it and replace how values move between object and fields. Fields are plain members so
// that a dialog without a window (tests, callers that apply directly) works the same.

#include "platform/framework/ComboBox.h"
#include "platform/framework/Dialog.h"
#include "platform/wintypes/ColorRef.h"
#include "views/FontNameCombo.h"

#include <QString>

#include <initializer_list>
#include <map>

class CDrawObject;

class CDrawPropsDlg : public CDialog {
    DECLARE_DYNAMIC(CDrawPropsDlg)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT kTemplate = 324;
    enum : int {
        kArrowHead = 1540,
        kArrowTail = 1541,
        kFilled = 1539,
        kClosed = 1189,
        kText = 1542,
        kLineColour = 1543,
        kFillColour = 1544,
        kTextColour = 1545,
        kThickness = 1538,
        kStyle = 1516,
        kFontFace = 1547,
        kFontSize = 1546,
        kBold = 1548,
        kItalic = 1549,
        kUnderline = 1550,
        kApply = 1307,
    };
    static constexpr int kMaxThickness = 100;
    static constexpr int kMinFontSize = 5;
    static constexpr int kMaxFontSize = 100;

    explicit CDrawPropsDlg(UINT templateId = kTemplate);

    // Loads the object, runs the dialog and, on OK, applies it; redraw (may be null) is the
    // window Apply repaints. Returns the dialog's result.
    INT_PTR DoModalForObject(CDrawObject* object, CWnd* redraw);
    // Object to fields.
    virtual void LoadFromObject(CDrawObject* object);
    // Controls to fields (when the window exists), then fields to object; false, with nothing
    // applied, when a field fails its check.
    virtual BOOL ApplyToObject(CDrawObject* object);
    // Enables the controls the type uses; *usesOwnType (when given) says whether the type is
    // the dialog's own.
    virtual void EnableForType(int type, int* usesOwnType);

    // The fields, as the controls show them.
    int m_type = -1;
    COLORREF m_lineColour = 0;
    COLORREF m_fillColour = 0;
    COLORREF m_textColour = 0;
    int m_filled = 0;
    int m_thicknessIndex = 0;
    int m_styleIndex = 0;
    int m_arrowHead = 0;
    int m_arrowTail = 0;
    QString m_text;
    QString m_faceName;
    int m_fontSizeIndex = -1;
    int m_bold = 0;
    int m_italic = 0;
    int m_underline = 0;
    int m_closed = 0;
    int m_escapement = 0;

    CFontNameCombo& FaceList() { return m_faceList; }

    // Which controls were last enabled (also without a window): id to state.
    bool IsControlEnabled(int id) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    // The defaults every load starts from.
    void SetDefaults(CDrawObject* object);
    // Line colour, style, thickness, filled and fill colour: what every shape has.
    void LoadShape(const CDrawObject& object);
    void ApplyShape(CDrawObject& object) const;
    // Line colour, style (when it names one of the list) and thickness.
    void ApplyLine(CDrawObject& object) const;
    void LoadFont(const QString& face, int height, int escapement, int bold, int italic,
                  int underline);
    // Thickness and font size from their list indexes; an index outside the list leaves the
    // value as it was.
    int ThicknessOr(int current) const;
    int FontSizeOr(int current) const;
    // Moves the controls into the fields when the window exists; false when that fails.
    BOOL SaveControls();
    void Enable(std::initializer_list<int> on, std::initializer_list<int> off);
    // The combo box of the id through its member (taken over on first use); null without it.
    CComboBox* ComboOf(CComboBox& member, int id);

private:
    void OnApply();
    void ChooseColour(COLORREF* colour, int id);
    void OnLineColour() { ChooseColour(&m_lineColour, kLineColour); }
    void OnFillColour() { ChooseColour(&m_fillColour, kFillColour); }
    void OnTextColour() { ChooseColour(&m_textColour, kTextColour); }
    void ShowColour(int id, COLORREF colour);

    CComboBox m_thicknessList;
    CComboBox m_sizeList;
    CComboBox m_styleList;
    CFontNameCombo m_faceList;
    CDrawObject* m_object = nullptr;
    CWnd* m_redraw = nullptr;
    std::map<int, bool> m_enabled;
};
