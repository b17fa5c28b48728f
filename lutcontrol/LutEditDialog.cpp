#include "lutcontrol/LutEditDialog.h"

#include "platform/controls/MultiPointerSlide.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/IPrompter.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include <cmath>

namespace {

constexpr COLORREF kActiveSlideColor = 0x00FFFF;
constexpr COLORREF kInactiveSlideColor = 0xC0C0C0;
constexpr int kScaleMax = 255;
constexpr int kGammaTenthsMin = 10;
constexpr int kGammaTenthsMax = 50;

// Group boxes and labels, enabled with the part they label.
enum LabelId : int {
    kColourGroup = 1635,
    kBwGroup = 1636,
    kBwLabelFirst = 1637,      // 1637..1640: brightness, contrast, gamma, nonlinear
    kScaleLabelFirst = 1641,   // 1641..1643: red, green, blue
    kColourLabelFirst = 1094,  // 1094..1097
};

const char* const kPropertyNames[] = {"Brightness", "Contrast", "Gamma", "Nonlinear"};
const char* const kColourSlideTips[] = {"RGB Brightness (double click to separate channels)",
                                        "RGB Contrast (double click to separate channels)",
                                        "RGB Gamma (double click to separate channels)",
                                        "RGB Nonlinear LUT (double click to separate channels)"};
const char* const kBwSlideTips[] = {"Brightness", "Contrast", "Gamma", "Nonlinear LUT"};
const char* const kLinkTips[] = {
    "Adjust RGB Brightness Simultaneously", "Adjust RGB Contrast Simultaneously",
    "Adjust RGB Gamma Simultaneously", "Adjust RGB Nonlinear LUT Simultaneously"};

constexpr int kRowTop = 24;
constexpr int kRowStep = 30;
constexpr int kColumnStep = 55;
constexpr int kEditLeft = 340;
constexpr int kBwTop = 250;

QString Format(double value, bool gamma) {
    return gamma ? QString::asprintf("%.1f", value) : QString::number(static_cast<LONG>(value));
}

}  // namespace

const CLutEditDialog::PropertyIds CLutEditDialog::kPropertyIds[kProperties] = {
    {kColourBrightness,
     kBwBrightness,
     kLinkBrightness,
     {kBrightnessRed, kBrightnessGreen, kBrightnessBlue},
     kBwBrightnessEdit},
    {kColourContrast,
     kBwContrast,
     kLinkContrast,
     {kContrastRed, kContrastGreen, kContrastBlue},
     kBwContrastEdit},
    {kColourGamma, kBwGamma, kLinkGamma, {kGammaRed, kGammaGreen, kGammaBlue}, kBwGammaEdit},
    {kColourExpLog, kBwExpLog, kLinkExpLog, {kExpLogRed, kExpLogGreen, kExpLogBlue}, kBwExpLogEdit},
};

CLutEditDialog::CLutEditDialog(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LutEditDialog"));
    BuildControls();
    RefreshControls();
}

template <class T>
T* CLutEditDialog::Add(int id, T* widget) {
    widget->setProperty("controlId", id);
    m_controls.insert(id, widget);
    return widget;
}

CMultiPointerSlide* CLutEditDialog::Slide(int id) const {
    return static_cast<CMultiPointerSlide*>(Control(id));
}

void CLutEditDialog::BuildControls() {
    auto* colourGroup = Add(kColourGroup, new QGroupBox(QStringLiteral("Color"), this));
    colourGroup->setGeometry(4, 4, 512, 236);
    auto* bwGroup = Add(kBwGroup, new QGroupBox(QStringLiteral("Black && White"), this));
    bwGroup->setGeometry(4, kBwTop - 18, 512, 144);

    for (int p = 0; p < kProperties; ++p) {
        const PropertyIds& ids = kPropertyIds[p];
        const int y = kRowTop + p * kRowStep;
        const bool gamma = p == kGammaProperty;
        const int low = gamma ? kGammaTenthsMin : lut_settings::kMinValue;
        const int high = gamma ? kGammaTenthsMax : lut_settings::kMaxValue;

        Add(kColourLabelFirst + p, new QLabel(QString::fromLatin1(kPropertyNames[p]), this))
            ->setGeometry(10, y, 70, 24);
        auto* slide = Add(ids.slide, new CMultiPointerSlide(4, this));
        slide->setGeometry(80, y, 200, 24);
        slide->SetRange(low, high);
        slide->setToolTip(QString::fromLatin1(kColourSlideTips[p]));
        slide->SetMouseDownCallback([this, p](int) { m_slideInUse[p] = true; });
        slide->SetMouseMoveCallback([this, p](int) { m_slideInUse[p] = true; });
        slide->SetValueCallback(
            [this, p](int pointer, int value) { OnColourSlideValue(p, pointer, value); });
        slide->SetDoubleClickCallback([this, p](int x) { OnColourSlideDoubleClick(p, x); });

        auto* link = Add(ids.link, new QCheckBox(QStringLiteral("Link"), this));
        link->setGeometry(285, y, 52, 24);
        link->setToolTip(QString::fromLatin1(kLinkTips[p]));
        connect(link, &QCheckBox::clicked, this, [this] {
            ReadControls();
            RefreshControls();
        });

        for (int c = 0; c < CLutParamSet::kChannels; ++c) {
            auto* edit = Add(ids.edits[c], new QLineEdit(this));
            edit->setGeometry(kEditLeft + c * kColumnStep, y, 50, 22);
            connect(edit, &QLineEdit::editingFinished, this,
                    [this, p, c] { OnEditFinished(p, c); });
        }

        const int bwY = kBwTop + p * kRowStep;
        Add(kBwLabelFirst + p, new QLabel(QString::fromLatin1(kPropertyNames[p]), this))
            ->setGeometry(10, bwY, 70, 24);
        auto* bwSlide = Add(ids.bwSlide, new CMultiPointerSlide(1, this));
        bwSlide->setGeometry(80, bwY, 200, 24);
        bwSlide->SetRange(low, high);
        bwSlide->setToolTip(QString::fromLatin1(kBwSlideTips[p]));
        bwSlide->SetMouseDownCallback([this, p](int) { m_slideInUse[kProperties + p] = true; });
        bwSlide->SetMouseMoveCallback([this, p](int) { m_slideInUse[kProperties + p] = true; });
        bwSlide->SetValueCallback([this, p](int, int value) { OnBwSlideValue(p, value); });
        auto* bwEdit = Add(ids.bwEdit, new QLineEdit(this));
        bwEdit->setGeometry(kEditLeft, bwY, 50, 22);
        connect(bwEdit, &QLineEdit::editingFinished, this, [this] { OnBwEditFinished(); });
    }

    const int channelButtons[] = {kRedOn, kGreenOn, kBlueOn};
    const int reverseButtons[] = {kReverseRed, kReverseGreen, kReverseBlue};
    const int scales[] = {kRedScale, kGreenScale, kBlueScale};
    const char* const channelNames[] = {"Red", "Green", "Blue"};
    const char* const reverseTips[] = {"Reverse Red Channel", "Reverse Green Channel",
                                       "Reverse Blue Channel"};
    const int lowerTop = kRowTop + kProperties * kRowStep;
    for (int c = 0; c < CLutParamSet::kChannels; ++c) {
        const int x = kEditLeft + c * kColumnStep;
        auto* on =
            Add(channelButtons[c], new QPushButton(QString::fromLatin1(channelNames[c]), this));
        on->setCheckable(true);
        on->setGeometry(x, lowerTop, 50, 22);
        connect(on, &QPushButton::clicked, this, [this, c] { OnChannelButton(c); });

        auto* reverse = Add(reverseButtons[c], new QPushButton(QStringLiteral("Rev"), this));
        reverse->setCheckable(true);
        reverse->setGeometry(x, lowerTop + 26, 50, 22);
        reverse->setToolTip(QString::fromLatin1(reverseTips[c]));
        connect(reverse, &QPushButton::clicked, this, [this, c] { OnReverse(m_colour, c); });

        Add(kScaleLabelFirst + c, new QLabel(QString::fromLatin1(channelNames[c]), this))
            ->setGeometry(10, lowerTop + 26 * c, 70, 22);
        auto* scale = Add(scales[c], new QSlider(Qt::Horizontal, this));
        scale->setRange(0, kScaleMax);
        scale->setGeometry(80, lowerTop + 26 * c, 200, 22);
        connect(scale, &QSlider::valueChanged, this, [this] {
            if (!m_refreshing)
                OnScale();
        });
    }

    auto* color2bw = Add(kColor2BW, new QPushButton(this));
    color2bw->setGeometry(kEditLeft, lowerTop + 52, 160, 22);
    color2bw->setToolTip(QStringLiteral("Convert Color to Black and White"));
    connect(color2bw, &QPushButton::clicked, this, [this] {
        ReadControls();
        m_colour.SetColor2BW(m_colour.Color2BW() ? 0 : 1);
        NotifyChanged();
    });

    auto* bwReverse = Add(kReverseBw, new QPushButton(QStringLiteral("Rev"), this));
    bwReverse->setCheckable(true);
    bwReverse->setGeometry(kEditLeft + kColumnStep, kBwTop, 50, 22);
    bwReverse->setToolTip(QStringLiteral("Reverse"));
    connect(bwReverse, &QPushButton::clicked, this, [this] { OnReverse(m_bw, 0); });

    struct Command {
        int id;
        const char* text;
        const char* tip;
        void (CLutEditDialog::*handler)();
    };
    const Command commands[] = {
        {kLoad, "Load", "Load LUT Settings from File", &CLutEditDialog::OnLoad},
        {kSave, "Save", "Save LUT Settings to File", &CLutEditDialog::OnSave},
        {kReset, "Reset", "Restore Default Settings", &CLutEditDialog::OnReset},
    };
    int x = 10;
    for (const Command& command : commands) {
        auto* button = Add(command.id, new QPushButton(QString::fromLatin1(command.text), this));
        button->setGeometry(x, kBwTop + kProperties * kRowStep + 10, 75, 24);
        button->setToolTip(QString::fromLatin1(command.tip));
        connect(button, &QPushButton::clicked, this, command.handler);
        x += 80;
    }
    setMinimumSize(520, kBwTop + kProperties * kRowStep + 40);
}

bool CLutEditDialog::ChannelOn(int channel) const {
    const LONG flags[] = {m_state.stateRedChan, m_state.stateGreenChan, m_state.stateBlueChan};
    return flags[channel] != 0;
}

LONG& CLutEditDialog::LinkFlag(int property) {
    return m_state.Flag(4 + property);
}

double CLutEditDialog::Value(const CLutParamSet& set, int property, int channel) const {
    switch (property) {
        case 0:
            return set.Brightness(channel);
        case 1:
            return set.Contrast(channel);
        case kGammaProperty:
            return set.Gamma(channel);
        default:
            return set.ExpLog(channel);
    }
}

void CLutEditDialog::SetValue(CLutParamSet& set, int property, int channel, double value) {
    switch (property) {
        case 0:
            set.SetBrightness(channel, static_cast<LONG>(value));
            break;
        case 1:
            set.SetContrast(channel, static_cast<LONG>(value));
            break;
        case kGammaProperty:
            set.SetGamma(channel, value);
            break;
        default:
            set.SetExpLog(channel, static_cast<LONG>(value));
            break;
    }
}

void CLutEditDialog::ApplyColourValue(int property, int channel, double value) {
    if (LinkFlag(property)) {
        for (int c = 0; c < CLutParamSet::kChannels; ++c) {
            if (ChannelOn(c))
                SetValue(m_colour, property, c, value);
        }
    } else {
        SetValue(m_colour, property, channel, value);
    }
}

void CLutEditDialog::RefreshControls() {
    m_refreshing = true;
    m_slideInUse.fill(false);
    if (!m_state.stateColor) {
        m_state.stateRedChan = m_state.stateGreenChan = m_state.stateBlueChan = 0;
        m_colour.SetColor2BW(1);
    }
    const bool colourOn = m_state.stateColor && m_enabled;
    const bool bwDisplay = !m_state.stateColor || m_colour.Color2BW();
    const bool bwOn = m_enabled && bwDisplay;

    for (int p = 0; p < kProperties; ++p) {
        const PropertyIds& ids = kPropertyIds[p];
        const bool gamma = p == kGammaProperty;
        const bool linked = LinkFlag(p) != 0;
        CMultiPointerSlide* slide = Slide(ids.slide);
        slide->setEnabled(colourOn);
        slide->SetColor(m_state.stateColor ? kActiveSlideColor : kInactiveSlideColor);
        double sum = 0;
        int enabledChannels = 0;
        LONG intSum = 0;
        for (int c = 0; c < CLutParamSet::kChannels; ++c) {
            const double value = Value(m_colour, p, c);
            slide->SetPointerValue(c + 1,
                                   static_cast<int>(std::lround(gamma ? value * 10 : value)));
            slide->SetPointerVisible(c + 1, ChannelOn(c) && !linked);
            if (ChannelOn(c)) {
                sum += value;
                intSum += static_cast<LONG>(value);
                ++enabledChannels;
            }
            auto* edit = static_cast<QLineEdit*>(Control(ids.edits[c]));
            edit->setText(Format(value, gamma));
            edit->setEnabled(ChannelOn(c) && m_enabled);
        }
        int all = gamma ? 10 : 0;
        if (enabledChannels)
            all = gamma ? static_cast<int>(std::lround(sum / enabledChannels * 10))
                        : static_cast<int>(intSum / enabledChannels);
        slide->SetPointerValue(4, all);
        slide->SetPointerVisible(4, linked);

        auto* link = static_cast<QCheckBox*>(Control(ids.link));
        link->setChecked(linked);
        link->setEnabled(colourOn);
        Control(kColourLabelFirst + p)->setEnabled(colourOn);

        CMultiPointerSlide* bwSlide = Slide(ids.bwSlide);
        const double bwValue = Value(m_bw, p, 0);
        bwSlide->SetPointerValue(1, static_cast<int>(std::lround(gamma ? bwValue * 10 : bwValue)));
        bwSlide->setEnabled(bwOn);
        bwSlide->SetColor(bwDisplay ? kActiveSlideColor : kInactiveSlideColor);
        auto* bwEdit = static_cast<QLineEdit*>(Control(ids.bwEdit));
        bwEdit->setText(Format(bwValue, gamma));
        bwEdit->setEnabled(bwOn);
        Control(kBwLabelFirst + p)->setEnabled(bwOn);
    }

    const int channelButtons[] = {kRedOn, kGreenOn, kBlueOn};
    const int reverseButtons[] = {kReverseRed, kReverseGreen, kReverseBlue};
    const int scales[] = {kRedScale, kGreenScale, kBlueScale};
    const BYTE scaleValues[] = {m_colour.RedScale(), m_colour.GreenScale(), m_colour.BlueScale()};
    for (int c = 0; c < CLutParamSet::kChannels; ++c) {
        auto* on = static_cast<QPushButton*>(Control(channelButtons[c]));
        on->setChecked(ChannelOn(c));
        on->setEnabled(colourOn);
        auto* reverse = static_cast<QPushButton*>(Control(reverseButtons[c]));
        reverse->setChecked(m_colour.Reverse(c) != 0);
        reverse->setEnabled(ChannelOn(c) && m_enabled);
        auto* scale = static_cast<QSlider*>(Control(scales[c]));
        scale->setValue(scaleValues[c]);
        scale->setEnabled(colourOn);
        Control(kScaleLabelFirst + c)->setEnabled(colourOn);
    }
    auto* color2bw = static_cast<QPushButton*>(Control(kColor2BW));
    color2bw->setText(m_colour.Color2BW() ? QStringLiteral("Display As Color")
                                          : QStringLiteral("Display B&&W"));
    color2bw->setEnabled(colourOn);
    auto* bwReverse = static_cast<QPushButton*>(Control(kReverseBw));
    bwReverse->setChecked(m_bw.Reverse(0) != 0);
    bwReverse->setEnabled(bwOn);
    Control(kColourGroup)->setEnabled(colourOn);
    Control(kBwGroup)->setEnabled(bwOn);
    for (int id : {kLoad, kSave, kReset})
        Control(id)->setEnabled(m_enabled);
    m_refreshing = false;
}

void CLutEditDialog::ReadControls() {
    for (int p = 0; p < kProperties; ++p) {
        const PropertyIds& ids = kPropertyIds[p];
        const bool gamma = p == kGammaProperty;
        auto read = [&](int editId, CLutParamSet& set, int channel) {
            const QString text = static_cast<QLineEdit*>(Control(editId))->text().trimmed();
            bool ok = false;
            if (gamma) {
                const double value = text.toDouble(&ok);
                if (ok)
                    set.SetGamma(channel, lut_settings::ClampGamma(value));
            } else {
                const qlonglong value = text.toLongLong(&ok);
                if (ok)
                    SetValue(set, p, channel,
                             lut_settings::ClampValue(static_cast<LONG>(
                                 std::clamp<qlonglong>(value, INT32_MIN, INT32_MAX))));
            }
        };
        for (int c = 0; c < CLutParamSet::kChannels; ++c)
            read(ids.edits[c], m_colour, c);
        read(ids.bwEdit, m_bw, 0);
        LinkFlag(p) = static_cast<QCheckBox*>(Control(ids.link))->isChecked() ? 1 : 0;
    }
}

LONG CLutEditDialog::NotifyChanged() {
    RefreshControls();
    if (!m_state.callback)
        return 0;
    return m_state.callback(m_state.context);
}

void CLutEditDialog::SetParamsAndState(const CLutParamSet* colour, const CLutParamSet* bw,
                                       const LutEditState* state) {
    if (colour)
        m_colour = *colour;
    if (bw)
        m_bw = *bw;
    if (state)
        m_state = *state;
    RefreshControls();
}

void CLutEditDialog::GetParamsAndState(CLutParamSet* colour, CLutParamSet* bw,
                                       LutEditState* state) {
    ReadControls();
    if (colour)
        *colour = m_colour;
    if (bw)
        *bw = m_bw;
    if (state)
        state->CopyFlags(m_state);
}

void CLutEditDialog::SetEnabled(bool enabled) {
    m_enabled = enabled;
    RefreshControls();
}

void CLutEditDialog::OnColourSlideValue(int property, int pointer, int value) {
    if (!m_slideInUse[property])
        return;
    m_slideInUse[property] = false;
    const double v = property == kGammaProperty ? value * 0.1 : value;
    if (LinkFlag(property)) {
        ApplyColourValue(property, 0, v);
    } else {
        int channel = pointer - 1;
        if (pointer == 4) {
            channel = -1;
            for (int c = 0; c < CLutParamSet::kChannels && channel < 0; ++c) {
                if (ChannelOn(c))
                    channel = c;
            }
        }
        if (channel < 0 || channel >= CLutParamSet::kChannels)
            return;
        SetValue(m_colour, property, channel, v);
    }
    NotifyChanged();
}

void CLutEditDialog::OnBwSlideValue(int property, int value) {
    if (!m_slideInUse[kProperties + property])
        return;
    m_slideInUse[kProperties + property] = false;
    SetValue(m_bw, property, 0, property == kGammaProperty ? value * 0.1 : value);
    NotifyChanged();
}

void CLutEditDialog::OnColourSlideDoubleClick(int property, int x) {
    const int w = Slide(kPropertyIds[property].slide)->width();
    if (x <= kLinkToggleMargin || x >= w - kLinkToggleMargin)
        return;
    LinkFlag(property) = LinkFlag(property) ? 0 : 1;
    RefreshControls();
}

void CLutEditDialog::OnEditFinished(int property, int channel) {
    if (m_refreshing)
        return;
    // Reading every control first keeps what the user typed in the other fields.
    ReadControls();
    ApplyColourValue(property, channel, Value(m_colour, property, channel));
    NotifyChanged();
}

void CLutEditDialog::OnBwEditFinished() {
    if (m_refreshing)
        return;
    ReadControls();
    NotifyChanged();
}

void CLutEditDialog::OnReverse(CLutParamSet& set, int channel) {
    ReadControls();
    set.SetReverse(channel, set.Reverse(channel) ? 0 : 1);
    NotifyChanged();
}

void CLutEditDialog::OnChannelButton(int channel) {
    LONG* flags[] = {&m_state.stateRedChan, &m_state.stateGreenChan, &m_state.stateBlueChan};
    *flags[channel] = *flags[channel] ? 0 : 1;
    RefreshControls();
}

void CLutEditDialog::OnScale() {
    ReadControls();
    auto position = [this](int id) { return static_cast<QSlider*>(Control(id))->value(); };
    m_colour.SetRGBScale(position(kRedScale), position(kGreenScale), position(kBlueScale));
    NotifyChanged();
}

void CLutEditDialog::OnReset() {
    m_colour.SetDefaults();
    m_bw.SetDefaults();
    m_slideInUse.fill(false);
    NotifyChanged();
}

QString CLutEditDialog::StartingFileName() const {
    if (m_basePath.isEmpty())
        return QString();
    const QFileInfo info(m_basePath);
    const QString stem = info.suffix().isEmpty()
                             ? m_basePath
                             : m_basePath.left(m_basePath.size() - info.suffix().size() - 1);
    return stem + QLatin1Char('.') + QLatin1String(lut_settings::kExtension);
}

bool CLutEditDialog::SaveToFile(const QString& path) {
    LutSettings settings;
    GetParamsAndState(&settings.colour, &settings.bw, &settings.state);
    return lut_settings::Write(path, settings);
}

bool CLutEditDialog::LoadFromFile(const QString& path) {
    LutSettings loaded;
    if (!lut_settings::Read(path, &loaded))
        return false;
    ReadControls();
    const LutEditState state = lut_settings::RewriteLoadedState(loaded.colour, m_state);
    SetParamsAndState(&loaded.colour, &loaded.bw, &state);
    NotifyChanged();
    return true;
}

void CLutEditDialog::OnLoad() {
    FileDialogPrompt prompt;
    prompt.open = true;
    prompt.title = QStringLiteral("Select File to Load");
    prompt.filter = QStringLiteral("LUT File (*.lut)|*.lut||");
    prompt.defaultExt = QLatin1String(lut_settings::kExtension);
    prompt.fileName = StartingFileName();
    prompt.flags = OFN_HIDEREADONLY;
    prompt.owner = this;
    const FileDialogAnswer answer = AfxPrompter().FileDialog(prompt);
    if (!answer.ok || answer.paths.isEmpty())
        return;
    if (!LoadFromFile(answer.paths.first()))
        AfxMessageBox(QStringLiteral("Error loading image settings from file."));
}

void CLutEditDialog::OnSave() {
    FileDialogPrompt prompt;
    prompt.open = false;
    prompt.title = QStringLiteral("Select Filename to Save As");
    prompt.filter = QStringLiteral("LUT File (*.lut)|*.lut||");
    prompt.defaultExt = QLatin1String(lut_settings::kExtension);
    prompt.fileName = StartingFileName();
    prompt.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    prompt.owner = this;
    const FileDialogAnswer answer = AfxPrompter().FileDialog(prompt);
    if (!answer.ok || answer.paths.isEmpty())
        return;
    // A name typed without an extension is saved as a settings file, so Load lists it.
    if (SaveToFile(WithDefaultExtension(answer.paths.first(), prompt.defaultExt))) {
        MessageBoxPrompt done;
        done.text = QStringLiteral("Image LUT settings saved successfully to file.");
        done.caption = QStringLiteral("Save Success");
        done.type = MB_OK | MB_ICONINFORMATION;
        done.owner = this;
        AfxPrompter().MessageBox(done);
    } else {
        AfxMessageBox(QStringLiteral("Error saving image settings to file."));
    }
}
