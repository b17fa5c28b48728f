#include "tracking/AnalysisSettings.h"

#include "platform/framework/FileException.h"
#include "platform/framework/IPrompter.h"
#include "platform/registry/Registry.h"
#include "tracking/IPositionSource.h"
#include "tracking/sectioned/CheckedFile.h"

#include <QFile>

#include <array>
#include <cmath>
#include <cstdio>

namespace {

struct UnitsEntry {
    const char* shortName;
    const char* longName;
    double metresPerUnit;
    double unitsPerMetre;
};

// Index 0 .. 4 of the units table; -1 (pixels) is handled apart.
constexpr std::array<UnitsEntry, 5> kUnits = {{
    {"ft", "Feet", 0.3048, 3.2808398950131235},
    {"in", "Inches", 0.0254, 39.37007874015748},
    {"m", "Meters", 1.0, 1.0},
    {"mm", "Millimeter", 0.001, 1000.0},
    {"cm", "Centimeter", 0.01, 100.0},
}};

bool IsUnitsIndex(int units) {
    return units >= 0 && units < static_cast<int>(kUnits.size());
}

CTrackFeature DefaultStyle() {
    CTrackFeature style;
    style.SetFlag1(1);
    style.SetParam2(3);
    style.SetParam4(0xFF00FF);
    style.SetParam5(3);
    style.SetParam6(2);
    return style;
}

// Registry values of the calibration in the order they are written.
constexpr const char* kDistanceValue = "Distance";
constexpr const char* kUnitsValue = "Units";
constexpr const char* kTypeValue = "Type";
constexpr const char* kCoordNatureValue = "Coord Nature";
constexpr int kMaxDistanceTextBytes = 100;

QString AnalysisKey(const QString& base) {
    return base + QStringLiteral("\\Analysis");
}

void ShowFileMessage(const QString& text, const QString& caption, UINT type) {
    MessageBoxPrompt prompt;
    prompt.text = text;
    prompt.caption = caption;
    prompt.type = type;
    AfxPrompter().MessageBox(prompt);
}

bool ReadDwordValue(HKEY key, const char* name, int* value) {
    DWORD word = 0;
    if (RegQueryDword(key, QString::fromLatin1(name), &word) != ERROR_SUCCESS)
        return false;
    *value = static_cast<int32_t>(word);
    return true;
}

}  // namespace

CAnalysisSettings::CAnalysisSettings() {
    m_calibrations.SetName(QStringLiteral("CI"));
    m_calibrations.SetHeaderValue(0);
    m_calibrations.Init(CSectionedList<CCalibrationData>::kFlat, 1, 1, CCalibrationData());
    m_styles.SetName(QStringLiteral("CA"));
    m_styles.SetHeaderValue(0);
    m_styles.Init(CSectionedList<CTrackFeature>::kFlat, 1, kStyleCount, DefaultStyle());
}

HRESULT CAnalysisSettings::GetListener(COverlayListener** out) {
    if (!out)
        return E_POINTER;
    *out = &m_listener;
    return S_OK;
}

HRESULT CAnalysisSettings::SetPositionSource(IPositionSource* source) {
    m_positionSource = source;
    return S_OK;
}

HRESULT CAnalysisSettings::SetSizeSource(IImageSizeSource* source) {
    m_sizeSource = source;
    return S_OK;
}

HRESULT CAnalysisSettings::GetPositionSource(IPositionSource** out) {
    if (!out)
        return E_POINTER;
    *out = m_positionSource;
    return S_OK;
}

HRESULT CAnalysisSettings::GetSizeSource(IImageSizeSource** out) {
    if (!out)
        return E_POINTER;
    *out = m_sizeSource;
    return S_OK;
}

CCalibrationData CAnalysisSettings::Current() const {
    return m_calibrations.GetNumLists() > 0 ? m_calibrations.GetItem(0, 0) : CCalibrationData();
}

HRESULT CAnalysisSettings::IsCalibrated(BYTE* out) {
    if (!out)
        return E_POINTER;
    int type = 0;
    if (m_calibrations.GetNumLists() > 0)
        Current().GetType(&type);
    *out = type != 0 ? 1 : 0;
    return S_OK;
}

HRESULT CAnalysisSettings::ToCalibrated(double x10, double y10, double* outX, double* outY) {
    if (m_calibrations.GetNumLists() <= 0)
        return E_FAIL;
    const CCalibrationData calibration = Current();
    double ox = 0;
    double oy = 0;
    double tilt = 0;
    int nature = 0;
    calibration.GetOrigin(&ox, &oy);
    calibration.GetTilt(&tilt);
    calibration.GetCoordNature(&nature);
    const double dx = std::trunc(x10) * 0.1 - ox;
    const double dy = std::trunc(y10) * 0.1 - oy;
    const double c = std::cos(tilt);
    const double s = std::sin(tilt);
    const double x = c * dx - s * dy;
    double y = c * dy + s * dx;
    if (nature == 1)
        y = -y;
    if (outX)
        *outX = x;
    if (outY)
        *outY = y;
    return S_OK;
}

HRESULT CAnalysisSettings::FromCalibrated(double x, double y, double* outX10, double* outY10) {
    if (m_calibrations.GetNumLists() <= 0)
        return E_FAIL;
    const CCalibrationData calibration = Current();
    double ox = 0;
    double oy = 0;
    double tilt = 0;
    int nature = 0;
    calibration.GetOrigin(&ox, &oy);
    calibration.GetTilt(&tilt);
    calibration.GetCoordNature(&nature);
    if (nature == 1)
        y = -y;
    // The transpose of the forward turn.
    const double c = std::cos(tilt);
    const double s = std::sin(tilt);
    const double dx = c * x + s * y;
    const double dy = c * y - s * x;
    if (outX10)
        *outX10 = (dx + ox) * 10.0;
    if (outY10)
        *outY10 = (dy + oy) * 10.0;
    return S_OK;
}

HRESULT CAnalysisSettings::FromCalibratedInImage(double x, double y, int width, int height,
                                                 double* outX10, double* outY10) {
    double x10 = 0;
    double y10 = 0;
    if (FromCalibrated(x, y, &x10, &y10) != S_OK)
        return E_FAIL;
    if (outX10)
        *outX10 = x10;
    if (outY10)
        *outY10 = y10;
    const bool inside = x10 >= 0 && y10 >= 0 && x10 < width * 10.0 && y10 < height * 10.0;
    return inside ? S_OK : E_FAIL;
}

HRESULT CAnalysisSettings::ConvertUnits(double value, double* out, double scale, int fromUnits,
                                        int toUnits) {
    if (fromUnits == CCalibrationData::kUnitsPixels || toUnits == CCalibrationData::kUnitsPixels ||
        !(scale > 0)) {
        if (out)
            *out = value;
        return E_FAIL;
    }
    double v = value / scale;
    if (IsUnitsIndex(fromUnits))
        v *= kUnits[static_cast<size_t>(fromUnits)].metresPerUnit;
    if (IsUnitsIndex(toUnits))
        v *= kUnits[static_cast<size_t>(toUnits)].unitsPerMetre;
    if (out)
        *out = v;
    return S_OK;
}

HRESULT CAnalysisSettings::PixelsToUnits(double value, double* out, int toUnits) {
    double scale = 1.0;
    int units = CCalibrationData::kUnitsPixels;
    if (m_calibrations.GetNumLists() > 0) {
        const CCalibrationData calibration = Current();
        calibration.GetPixelsPerUnit(&scale);
        calibration.GetUnits(&units);
        double distance = 0;
        calibration.GetDistance(&distance);
        if (!(distance > 0))
            scale = 0;
    }
    return ConvertUnits(value, out, scale, units, toUnits);
}

HRESULT CAnalysisSettings::GetStoredWord(int32_t* out) {
    if (!out)
        return E_POINTER;
    *out = m_storedWord;
    return S_OK;
}

HRESULT CAnalysisSettings::SetStoredWord(int32_t value) {
    m_storedWord = value;
    return S_OK;
}

HRESULT CAnalysisSettings::GetUnitsChoiceCount(int* out) {
    if (!out)
        return E_POINTER;
    *out = kUnitsChoiceCount;
    return S_OK;
}

HRESULT CAnalysisSettings::UnitsFromChoice(int entry, int* out) {
    if (!out)
        return E_POINTER;
    *out = entry >= 0 && entry < kUnitsChoiceCount ? entry - 2 : CCalibrationData::kUnitsPixels;
    return S_OK;
}

HRESULT CAnalysisSettings::GetUnitsName(int units, QString* out, bool longForm) {
    if (!out)
        return E_POINTER;
    if (units == CCalibrationData::kUnitsPixels)
        *out = longForm ? QStringLiteral("Pixels") : QStringLiteral("pixels");
    else if (IsUnitsIndex(units))
        *out = QString::fromLatin1(longForm ? kUnits[static_cast<size_t>(units)].longName
                                            : kUnits[static_cast<size_t>(units)].shortName);
    else
        out->clear();
    return S_OK;
}

HRESULT CAnalysisSettings::GetCalibration(CCalibrationData* record) {
    if (record)
        record->CopyFrom(Current());
    return S_OK;
}

HRESULT CAnalysisSettings::SetCalibration(const CCalibrationData* record) {
    if (!record)
        return E_POINTER;
    double distance = 0;
    record->GetDistance(&distance);
    // A scale segment of no length would make every later conversion divide by zero.
    if (!(distance > 0))
        return E_FAIL;
    CCalibrationData stored;
    stored.CopyFrom(*record);
    m_calibrations.SetItem(0, 0, stored);
    m_listener.Invalidate();
    if (m_changed)
        m_changed();
    return S_OK;
}

HRESULT CAnalysisSettings::GetFeature(int index, BYTE* found, CTrackFeature* out) {
    if (!out)
        return E_POINTER;
    const bool inside = index >= 0 && index < m_styles.GetNumLists();
    *out = inside ? m_styles.GetItem(0, index) : CTrackFeature();
    LONG defined = 0;
    out->GetParam6(&defined);
    if (found)
        *found = inside && defined != 0 ? 1 : 0;
    return S_OK;
}

HRESULT CAnalysisSettings::SetFeature(int index, const CTrackFeature* record) {
    if (!record)
        return E_POINTER;
    if (index < 0 || index >= m_styles.GetNumLists())
        return E_FAIL;
    m_styles.SetItem(0, index, *record);
    m_listener.Invalidate();
    return S_OK;
}

HRESULT CAnalysisSettings::SetRegistryBase(const QString& base) {
    m_registryBase = base;
    return S_OK;
}

HRESULT CAnalysisSettings::GetRegistryBase(QString* out) {
    if (!out)
        return E_POINTER;
    *out = m_registryBase;
    return S_OK;
}

HRESULT CAnalysisSettings::LoadFromRegistry() {
    if (m_registryBase.size() < 2)
        return E_FAIL;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, AnalysisKey(m_registryBase), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return E_FAIL;
    CCalibrationData record;
    QString text;
    if (RegQueryString(key, QString::fromLatin1(kDistanceValue), &text) == ERROR_SUCCESS &&
        text.toUtf8().size() <= kMaxDistanceTextBytes) {
        bool ok = false;
        const double distance = text.trimmed().toDouble(&ok);  // C locale, whatever the user's
        if (ok)
            record.SetDistance(distance);
    }
    int value = 0;
    if (ReadDwordValue(key, kUnitsValue, &value))
        record.SetUnits(value);
    if (ReadDwordValue(key, kTypeValue, &value))
        record.SetType(value);
    const auto readPoint = [&](const char* name, double x, double y, auto set) {
        int px = static_cast<int>(x);
        int py = static_cast<int>(y);
        ReadDwordValue(key, (QByteArray(name) + " X").constData(), &px);
        ReadDwordValue(key, (QByteArray(name) + " Y").constData(), &py);
        (record.*set)(px, py);
    };
    double x = 0;
    double y = 0;
    record.GetOrigin(&x, &y);
    readPoint("Origin", x, y, &CCalibrationData::SetOrigin);
    record.GetPositiveX(&x, &y);
    readPoint("PositiveX", x, y, &CCalibrationData::SetPositiveX);
    if (ReadDwordValue(key, kCoordNatureValue, &value))
        record.SetCoordNature(value);
    record.GetFirstPoint(&x, &y);
    readPoint("FirstPoint", x, y, &CCalibrationData::SetFirstPoint);
    record.GetSecondPoint(&x, &y);
    readPoint("SecondPoint", x, y, &CCalibrationData::SetSecondPoint);
    RegCloseKey(key);
    return SetCalibration(&record);
}

HRESULT CAnalysisSettings::SaveToRegistry() {
    if (m_registryBase.size() < 2)
        return E_FAIL;
    const CCalibrationData record = Current();
    HKEY key = nullptr;
    if (RegCreateKeyEx(HKEY_LOCAL_MACHINE, AnalysisKey(m_registryBase), KEY_ALL_ACCESS, &key) !=
        ERROR_SUCCESS)
        return E_FAIL;
    double distance = 0;
    int units = 0;
    int type = 0;
    int nature = 0;
    record.GetDistance(&distance);
    record.GetUnits(&units);
    record.GetType(&type);
    record.GetCoordNature(&nature);
    bool ok = RegSetString(key, QString::fromLatin1(kDistanceValue),
                           QString::asprintf("%8.6f", distance)) == ERROR_SUCCESS;
    const auto setWord = [&](const QString& name, int value) {
        ok = RegSetDword(key, name, static_cast<DWORD>(value)) == ERROR_SUCCESS && ok;
    };
    const auto setPoint = [&](const char* name, double x, double y) {
        setWord(QString::fromLatin1(name) + QStringLiteral(" X"), static_cast<int>(x));
        setWord(QString::fromLatin1(name) + QStringLiteral(" Y"), static_cast<int>(y));
    };
    setWord(QString::fromLatin1(kUnitsValue), units);
    setWord(QString::fromLatin1(kTypeValue), type);
    double x = 0;
    double y = 0;
    record.GetOrigin(&x, &y);
    setPoint("Origin", x, y);
    record.GetPositiveX(&x, &y);
    setPoint("PositiveX", x, y);
    // The Y direction is always stored as its default: it is derived, never edited.
    setPoint("PositiveY", 0, 200);
    setWord(QString::fromLatin1(kCoordNatureValue), nature);
    record.GetFirstPoint(&x, &y);
    setPoint("FirstPoint", x, y);
    record.GetSecondPoint(&x, &y);
    setPoint("SecondPoint", x, y);
    ok = RegCloseKey(key) == ERROR_SUCCESS && ok;
    return ok ? S_OK : E_FAIL;
}

HRESULT CAnalysisSettings::LoadFromFile(const QString& path) {
    CCheckedFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary))
        return E_FAIL;
    CSectionedList<CCalibrationData> loaded;
    loaded.SetName(QStringLiteral("CI"));
    DWORD status = kSectionFailed;
    try {
        status = loaded.ReadFromFile(file);
    } catch (const CFileException&) {
        status = kSectionFailed;
    }
    file.Abort();
    if ((status & kSectionFailed) != 0 || loaded.GetNumLists() < 1)
        return E_FAIL;
    const CCalibrationData record = loaded.GetItem(0, 0);
    return SetCalibration(&record);
}

HRESULT CAnalysisSettings::SaveToFile(const QString& path) {
    const QString temporary = path + QStringLiteral(".saving");
    CFile file;
    if (!file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
        ShowFileMessage(QStringLiteral("Could not create calibration file"),
                        QStringLiteral("Write Error"), MB_OK | MB_ICONEXCLAMATION);
        return E_FAIL;
    }
    CSectionedList<CCalibrationData> list;
    list.SetName(QStringLiteral("CI"));
    list.SetHeaderValue(0);
    list.Init(CSectionedList<CCalibrationData>::kFlat, 1, 1, CCalibrationData());
    list.SetItem(0, 0, Current());
    bool written = true;
    try {
        list.WriteToFile(file, 0, 0, 0);
        file.Close();
    } catch (const CFileException&) {
        file.Abort();
        written = false;
    }
    // The old file stays until the new one is complete.
    written = written && std::rename(QFile::encodeName(temporary).constData(),
                                     QFile::encodeName(path).constData()) == 0;
    if (!written) {
        QFile::remove(temporary);
        ShowFileMessage(QStringLiteral("Could not write calibration file"),
                        QStringLiteral("Write Error"), MB_OK | MB_ICONEXCLAMATION);
        return E_FAIL;
    }
    ShowFileMessage(QStringLiteral("Calibration saved successfully to file."),
                    QStringLiteral("Write Success"), MB_OK | MB_ICONINFORMATION);
    return S_OK;
}

HRESULT CAnalysisSettings::PickedPosition(int* x, int* y) {
    if (!m_positionSource)
        return E_POINTER;
    double px = 0;
    double py = 0;
    if (m_positionSource->GetPickedPosition(&px, &py) != S_OK)
        return E_FAIL;
    *x = static_cast<int>(px);
    *y = static_cast<int>(py);
    return S_OK;
}

HRESULT CAnalysisSettings::ImageSize(int* width, int* height) {
    if (!m_sizeSource)
        return E_POINTER;
    return m_sizeSource->GetSize(width, height) == S_OK ? S_OK : E_FAIL;
}

HRESULT CAnalysisSettings::Modify(const std::function<void(CCalibrationData&)>& change) {
    CCalibrationData record;
    GetCalibration(&record);
    change(record);
    return SetCalibration(&record);
}

HRESULT CAnalysisSettings::AtReticle(
    const std::function<void(CCalibrationData&, int, int)>& change) {
    int x = 0;
    int y = 0;
    if (const HRESULT hr = PickedPosition(&x, &y); hr != S_OK)
        return hr;
    return Modify([&](CCalibrationData& record) { change(record, x, y); });
}

HRESULT CAnalysisSettings::AtCorner(
    const std::function<void(CCalibrationData&, int, int)>& change) {
    int width = 0;
    int height = 0;
    if (const HRESULT hr = ImageSize(&width, &height); hr != S_OK)
        return hr;
    return Modify([&](CCalibrationData& record) { change(record, width, height); });
}

HRESULT CAnalysisSettings::SetFirstPoint() {
    return AtReticle([](CCalibrationData& r, int x, int y) { r.SetFirstPoint(x, y); });
}

HRESULT CAnalysisSettings::SetSecondPoint() {
    return AtReticle([](CCalibrationData& r, int x, int y) { r.SetSecondPoint(x, y); });
}

HRESULT CAnalysisSettings::MoveOrigin() {
    return AtReticle([](CCalibrationData& r, int x, int y) {
        double ox = 0;
        double oy = 0;
        double px = 0;
        double py = 0;
        r.GetOrigin(&ox, &oy);
        r.GetPositiveX(&px, &py);
        r.SetOrigin(x, y);
        r.SetPositiveX(px + (x - ox), py + (y - oy));
    });
}

HRESULT CAnalysisSettings::SetOrigin() {
    return AtReticle([](CCalibrationData& r, int x, int y) { r.SetOrigin(x, y); });
}

HRESULT CAnalysisSettings::SetXDirection() {
    return AtReticle([](CCalibrationData& r, int x, int y) { r.SetPositiveX(x, y); });
}

HRESULT CAnalysisSettings::FlipY() {
    return Modify([](CCalibrationData& r) {
        int nature = 0;
        r.GetCoordNature(&nature);
        r.SetCoordNature(nature != 1 ? 1 : 0);
    });
}

namespace {

void SetAxes(CCalibrationData& r, int ox, int oy, int px, int py, int nature) {
    r.SetOrigin(ox, oy);
    r.SetPositiveX(px, py);
    r.SetCoordNature(nature);
}

constexpr int kAxis = CAnalysisSettings::kPresetAxisLength;

}  // namespace

HRESULT CAnalysisSettings::QuadrantUpperRight() {
    return AtReticle([](CCalibrationData& r, int x, int y) { SetAxes(r, x, y, x + kAxis, y, 1); });
}

HRESULT CAnalysisSettings::QuadrantUpperLeft() {
    return AtReticle([](CCalibrationData& r, int x, int y) { SetAxes(r, x, y, x - kAxis, y, 0); });
}

HRESULT CAnalysisSettings::QuadrantLowerRight() {
    return AtReticle([](CCalibrationData& r, int x, int y) { SetAxes(r, x, y, x + kAxis, y, 0); });
}

HRESULT CAnalysisSettings::QuadrantLowerLeft() {
    return AtReticle([](CCalibrationData& r, int x, int y) { SetAxes(r, x, y, x - kAxis, y, 1); });
}

HRESULT CAnalysisSettings::CornerUpperLeft() {
    return Modify([](CCalibrationData& r) { SetAxes(r, 0, 0, kAxis, 0, 0); });
}

HRESULT CAnalysisSettings::CornerUpperRight() {
    return AtCorner(
        [](CCalibrationData& r, int w, int) { SetAxes(r, w - 1, 0, w - 1 - kAxis, 0, 1); });
}

HRESULT CAnalysisSettings::CornerLowerLeft() {
    return AtCorner([](CCalibrationData& r, int, int h) { SetAxes(r, 0, h - 1, kAxis, h - 1, 1); });
}

HRESULT CAnalysisSettings::CornerLowerRight() {
    return AtCorner([](CCalibrationData& r, int w, int h) {
        SetAxes(r, w - 1, h - 1, w - 1 - kAxis, h - 1, 0);
    });
}

HRESULT CAnalysisSettings::SwitchPositionSource(int on) {
    if (!m_positionSource)
        return E_FAIL;
    return m_positionSource->Switch(on);
}
