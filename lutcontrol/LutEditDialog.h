#pragma once

// CLutEditDialog: the editor panel that fills the look-up-table editor control. It shows the
// colour parameter set per channel and the black-and-white set, links channels so that one
// move changes every enabled channel, resets, and saves and loads ".lut" files. After every
// user change it refreshes itself and calls the change callback of its state. It keeps working
// copies of both sets and the state; the controls are the up-to-date values between reads.
// User-interface thread only.

#include "lutcontrol/LutSettingsFile.h"

#include <QHash>
#include <QWidget>

#include <array>

class CMultiPointerSlide;

class CLutEditDialog : public QWidget {
public:
    static constexpr int kTemplateId = 1625;

    // Control ids of the panel.
    enum ControlId : int {
        kColourBrightness = 1374,
        kColourContrast = 1375,
        kColourGamma = 1376,
        kColourExpLog = 1377,
        kBwBrightness = 1378,
        kBwContrast = 1379,
        kBwGamma = 1380,
        kBwExpLog = 1381,
        kRedOn = 1401,
        kGreenOn = 1402,
        kBlueOn = 1403,
        kBrightnessRed = 1407,
        kBrightnessGreen = 1004,
        kBrightnessBlue = 1007,
        kContrastRed = 1009,
        kContrastGreen = 1011,
        kContrastBlue = 1018,
        kGammaRed = 1010,
        kGammaGreen = 1012,
        kGammaBlue = 1019,
        kExpLogRed = 1005,
        kExpLogGreen = 1006,
        kExpLogBlue = 1008,
        kBwBrightnessEdit = 1014,
        kBwContrastEdit = 1015,
        kBwGammaEdit = 1016,
        kBwExpLogEdit = 1017,
        kLinkBrightness = 1408,
        kLinkContrast = 1409,
        kLinkGamma = 1050,
        kLinkExpLog = 1051,
        kReverseRed = 1410,
        kReverseGreen = 1411,
        kReverseBlue = 1013,
        kReverseBw = 1028,
        kRedScale = 1404,
        kGreenScale = 1405,
        kBlueScale = 1406,
        kColor2BW = 1412,
        kLoad = 1363,
        kSave = 1362,
        kReset = 1413,
    };
    // Properties in slide order: brightness, contrast, gamma, exp/log.
    static constexpr int kProperties = 4;
    static constexpr int kGammaProperty = 2;
    // A double-click this close to either end of a colour slide does not toggle its link.
    static constexpr int kLinkToggleMargin = 10;

    explicit CLutEditDialog(QWidget* parent);

    // Copies the given sets (values only) and the whole state, callback included, and
    // refreshes the controls. No callback.
    void SetParamsAndState(const CLutParamSet* colour, const CLutParamSet* bw,
                           const LutEditState* state);
    // Reads the controls into the values, then copies them out; an out state gets the eight
    // flags and keeps its own callback and context.
    void GetParamsAndState(CLutParamSet* colour, CLutParamSet* bw, LutEditState* state);
    void SetEnabled(bool enabled);
    bool GetEnabled() const { return m_enabled; }
    // The starting file name of the Load and Save file dialogs (its extension becomes "lut").
    void SetBasePath(const QString& path) { m_basePath = path; }
    // Refreshes the controls, then calls the change callback; its result, else 0.
    LONG NotifyChanged();

    // Settings file: false on any failure. Loading applies the state rules of the file format
    // and notifies; saving does not.
    bool SaveToFile(const QString& path);
    bool LoadFromFile(const QString& path);

    // The control of an id, nullptr for an unknown id.
    QWidget* Control(int id) const { return m_controls.value(id); }

private:
    struct PropertyIds {
        int slide;
        int bwSlide;
        int link;
        std::array<int, 3> edits;
        int bwEdit;
    };
    static const PropertyIds kPropertyIds[kProperties];

    void BuildControls();
    template <class T>
    T* Add(int id, T* widget);
    CMultiPointerSlide* Slide(int id) const;

    void RefreshControls();
    void ReadControls();
    bool ChannelOn(int channel) const;
    LONG& LinkFlag(int property);
    // The set's value of property on channel, gamma in tenths for slides when scaled.
    double Value(const CLutParamSet& set, int property, int channel) const;
    void SetValue(CLutParamSet& set, int property, int channel, double value);
    // Gives value to every enabled channel when property is linked, else to channel.
    void ApplyColourValue(int property, int channel, double value);

    void OnColourSlideValue(int property, int pointer, int value);
    void OnBwSlideValue(int property, int value);
    void OnColourSlideDoubleClick(int property, int x);
    void OnEditFinished(int property, int channel);
    void OnBwEditFinished();
    void OnReverse(CLutParamSet& set, int channel);
    void OnChannelButton(int channel);
    void OnScale();
    void OnReset();
    void OnLoad();
    void OnSave();
    QString StartingFileName() const;

    CLutParamSet m_colour;
    CLutParamSet m_bw;
    LutEditState m_state;
    bool m_enabled = true;
    bool m_refreshing = false;
    QString m_basePath;
    // One per slide: colour slides 0..3, black-and-white slides 4..7.
    std::array<bool, 2 * kProperties> m_slideInUse{};
    QHash<int, QWidget*> m_controls;
};
