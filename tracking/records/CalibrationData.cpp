#include "tracking/records/CalibrationData.h"

#include "tracking/records/RecordFields.h"
#include "tracking/sectioned/LittleEndian.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kTypeWord = RecordTypeWord("CALD");

// Distance is a double at its natural alignment, behind four unused bytes.
constexpr size_t kDistanceOffset = 8;
constexpr size_t kUnitsOffset = 16;
constexpr size_t kTypeOffset = 20;
constexpr size_t kOriginOffset = 24;
constexpr size_t kPositiveXOffset = 52;
constexpr size_t kPositiveYOffset = 80;
constexpr size_t kFirstPointOffset = 108;
constexpr size_t kSecondPointOffset = 136;
constexpr size_t kCoordNatureOffset = 164;

constexpr size_t kPointSize = CTrackPoint::kRecordSize;

HRESULT GetInt(int32_t field, int* value) {
    if (value)
        *value = field;
    return S_OK;
}

}  // namespace

CCalibrationData::CCalibrationData() {
    m_positiveX.SetPosition(200, 0);
    m_positiveY.SetPosition(0, 200);
    m_secondPoint.SetPosition(0, 1);
}

HRESULT CCalibrationData::GetDistance(double* value) const {
    if (value)
        *value = m_distance;
    return S_OK;
}

HRESULT CCalibrationData::GetPixelsPerUnit(double* value) const {
    if (!(m_distance > 0)) {
        if (value)
            *value = 1.0;
        return E_FAIL;
    }
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    m_firstPoint.GetPosition(&x1, &y1);
    m_secondPoint.GetPosition(&x2, &y2);
    if (value)
        *value = std::hypot(x2 - x1, y2 - y1) / m_distance;
    return S_OK;
}

HRESULT CCalibrationData::GetUnits(int* value) const {
    return GetInt(m_units, value);
}

HRESULT CCalibrationData::GetType(int* value) const {
    return GetInt(m_type, value);
}

HRESULT CCalibrationData::GetTilt(double* value) const {
    double ox = 0;
    double oy = 0;
    double px = 0;
    double py = 0;
    m_origin.GetPosition(&ox, &oy);
    m_positiveX.GetPosition(&px, &py);
    if (value)
        *value = std::atan2(oy - py, px - ox);
    return S_OK;
}

HRESULT CCalibrationData::GetCoordNature(int* value) const {
    return GetInt(m_coordNature, value);
}

HRESULT CCalibrationData::GetOrigin(double* x, double* y) const {
    return m_origin.GetPosition(x, y);
}

HRESULT CCalibrationData::GetPositiveX(double* x, double* y) const {
    return m_positiveX.GetPosition(x, y);
}

HRESULT CCalibrationData::GetFirstPoint(double* x, double* y) const {
    return m_firstPoint.GetPosition(x, y);
}

HRESULT CCalibrationData::GetSecondPoint(double* x, double* y) const {
    return m_secondPoint.GetPosition(x, y);
}

HRESULT CCalibrationData::CopyFrom(const CCalibrationData& source) {
    double distance = 0;
    int units = 0;
    int type = 0;
    int coordNature = 0;
    double points[4][2] = {};
    source.GetDistance(&distance);
    source.GetUnits(&units);
    source.GetType(&type);
    source.GetCoordNature(&coordNature);
    source.GetOrigin(&points[0][0], &points[0][1]);
    source.GetPositiveX(&points[1][0], &points[1][1]);
    source.GetFirstPoint(&points[2][0], &points[2][1]);
    source.GetSecondPoint(&points[3][0], &points[3][1]);
    SetDistance(distance);
    SetUnits(units);
    SetType(type);
    SetCoordNature(coordNature);
    SetOrigin(points[0][0], points[0][1]);
    SetPositiveX(points[1][0], points[1][1]);
    SetFirstPoint(points[2][0], points[2][1]);
    SetSecondPoint(points[3][0], points[3][1]);
    return S_OK;
}

HRESULT CCalibrationData::SetDistance(double value) {
    m_distance = value;
    return S_OK;
}

HRESULT CCalibrationData::SetUnits(int value) {
    m_units = value;
    return S_OK;
}

HRESULT CCalibrationData::SetType(int value) {
    m_type = value;
    return S_OK;
}

HRESULT CCalibrationData::SetCoordNature(int value) {
    m_coordNature = value;
    return S_OK;
}

HRESULT CCalibrationData::SetOrigin(double x, double y) {
    return m_origin.SetPosition(x, y);
}

HRESULT CCalibrationData::SetPositiveX(double x, double y) {
    return m_positiveX.SetPosition(x, y);
}

HRESULT CCalibrationData::SetFirstPoint(double x, double y) {
    return m_firstPoint.SetPosition(x, y);
}

HRESULT CCalibrationData::SetSecondPoint(double x, double y) {
    return m_secondPoint.SetPosition(x, y);
}

HRESULT CCalibrationData::GetUnitName(int units, QString* name, BOOL longForm) const {
    static const char* const kShort[] = {"pixels", "ft", "in", "m", "mm", "cm"};
    static const char* const kLong[] = {"Pixels", "Feet",       "Inches",
                                        "Meters", "Millimeter", "Centimeter"};
    if (!name)
        return S_OK;
    if (units < -1 || units > 4)
        name->clear();
    else
        *name = QString::fromLatin1((longForm ? kLong : kShort)[units + 1]);
    return S_OK;
}

bool CCalibrationData::operator==(const CCalibrationData& other) const {
    return m_distance == other.m_distance && m_units == other.m_units &&
           m_origin == other.m_origin && m_positiveX == other.m_positiveX &&
           m_firstPoint == other.m_firstPoint && m_secondPoint == other.m_secondPoint;
}

void CCalibrationData::StoreRecord(std::span<uint8_t, kRecordSize> record) const {
    uint8_t* p = record.data();
    std::fill(record.begin(), record.end(), uint8_t{0});
    PutUInt32(p, kTypeWord);
    PutDouble(p + kDistanceOffset, m_distance);
    PutInt32(p + kUnitsOffset, m_units);
    PutInt32(p + kTypeOffset, m_type);
    m_origin.StoreRecord(record.subspan<kOriginOffset, kPointSize>());
    m_positiveX.StoreRecord(record.subspan<kPositiveXOffset, kPointSize>());
    m_positiveY.StoreRecord(record.subspan<kPositiveYOffset, kPointSize>());
    m_firstPoint.StoreRecord(record.subspan<kFirstPointOffset, kPointSize>());
    m_secondPoint.StoreRecord(record.subspan<kSecondPointOffset, kPointSize>());
    PutInt32(p + kCoordNatureOffset, m_coordNature);
}

void CCalibrationData::LoadRecord(std::span<const uint8_t, kRecordSize> record) {
    const uint8_t* p = record.data();
    m_distance = GetDouble(p + kDistanceOffset);
    m_units = GetInt32(p + kUnitsOffset);
    m_type = GetInt32(p + kTypeOffset);
    m_origin.LoadRecord(record.subspan<kOriginOffset, kPointSize>());
    m_positiveX.LoadRecord(record.subspan<kPositiveXOffset, kPointSize>());
    m_positiveY.LoadRecord(record.subspan<kPositiveYOffset, kPointSize>());
    m_firstPoint.LoadRecord(record.subspan<kFirstPointOffset, kPointSize>());
    m_secondPoint.LoadRecord(record.subspan<kSecondPointOffset, kPointSize>());
    m_coordNature = GetInt32(p + kCoordNatureOffset);
}
