#pragma once

// CCalibrationData: the calibration of the analysis coordinate system: origin and X-axis point,
// the scale segment with its real-world length and units, and the Y-axis turn. Item of the list
// "CI"; also held by the measurement objects. 168-byte record image.

#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"
#include "tracking/records/TrackPoint.h"

#include <QString>

#include <cstdint>
#include <span>

class CCalibrationData {
public:
    static constexpr int kRecordSize = 168;
    // Units index of an uncalibrated system.
    static constexpr int kUnitsPixels = -1;

    CCalibrationData();
    CCalibrationData(const CCalibrationData&) = default;
    CCalibrationData& operator=(const CCalibrationData&) = default;
    virtual ~CCalibrationData() = default;

    // Getters ignore a null out-pointer and, like the setters, return S_OK. Points are given
    // and taken as doubles; setting truncates toward zero.
    virtual HRESULT GetDistance(double* value) const;
    // Pixels per unit: the length of the scale segment divided by Distance. A Distance that is
    // not above 0 (NaN included) gives 1.0 and E_FAIL.
    virtual HRESULT GetPixelsPerUnit(double* value) const;
    virtual HRESULT GetUnits(int* value) const;
    virtual HRESULT GetType(int* value) const;
    // Radians, positive when PositiveX lies above Origin on screen.
    virtual HRESULT GetTilt(double* value) const;
    virtual HRESULT GetCoordNature(int* value) const;
    virtual HRESULT GetOrigin(double* x, double* y) const;
    virtual HRESULT GetPositiveX(double* x, double* y) const;
    virtual HRESULT GetFirstPoint(double* x, double* y) const;
    virtual HRESULT GetSecondPoint(double* x, double* y) const;
    // Copies every field that has an accessor, points by position; PositiveY stays.
    virtual HRESULT CopyFrom(const CCalibrationData& source);
    virtual HRESULT SetDistance(double value);
    virtual HRESULT SetUnits(int value);
    virtual HRESULT SetType(int value);
    virtual HRESULT SetCoordNature(int value);
    virtual HRESULT SetOrigin(double x, double y);
    virtual HRESULT SetPositiveX(double x, double y);
    virtual HRESULT SetFirstPoint(double x, double y);
    virtual HRESULT SetSecondPoint(double x, double y);
    // Name of a units index (-1 .. 4), short ("mm") or long ("Millimeter"); empty for others.
    virtual HRESULT GetUnitName(int units, QString* name, BOOL longForm) const;

    // Distance (exactly), Units, Origin, PositiveX, FirstPoint and SecondPoint; Type, PositiveY
    // and CoordNature take no part.
    bool operator==(const CCalibrationData& other) const;

    void StoreRecord(std::span<uint8_t, kRecordSize> record) const;
    void LoadRecord(std::span<const uint8_t, kRecordSize> record);

private:
    double m_distance = 1.0;
    int32_t m_units = kUnitsPixels;
    int32_t m_type = 0;
    CTrackPoint m_origin;
    CTrackPoint m_positiveX;
    CTrackPoint m_positiveY;
    CTrackPoint m_firstPoint;
    CTrackPoint m_secondPoint;
    int32_t m_coordNature = 0;
};
