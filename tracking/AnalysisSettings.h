#pragma once

// CAnalysisSettings: the analysis coordinate system of one recording: its current calibration
// (origin, x direction, y orientation, scale segment and units), five display styles of the
// axes overlay, the conversion of image positions into calibrated coordinates and units, and
// the calibration commands of the calibration panel. Loads and saves the calibration in the
// registry and in calibration files. Every change of the calibration repaints the view that the
// embedded listener is attached to.

#include "platform/wintypes/WinError.h"
#include "platform/wintypes/WinTypes.h"
#include "tracking/records/CalibrationData.h"
#include "tracking/records/TrackFeature.h"
#include "tracking/sectioned/SectionedList.h"
#include "views/OverlayListener.h"

#include <QString>

#include <functional>

class IImageSizeSource;
class IPositionSource;

class CAnalysisSettings {
public:
    // Entries of the units choice list and the styles of the "CA" list.
    static constexpr int kUnitsChoiceCount = 7;
    static constexpr int kStyleCount = 5;
    // The distance of the preset x directions from the origin, in pixels.
    static constexpr int kPresetAxisLength = 200;

    CAnalysisSettings();
    virtual ~CAnalysisSettings() = default;
    CAnalysisSettings(const CAnalysisSettings&) = delete;
    CAnalysisSettings& operator=(const CAnalysisSettings&) = delete;

    // E_POINTER for a null out.
    virtual HRESULT GetListener(COverlayListener** out);
    // Both borrowed; null clears.
    virtual HRESULT SetPositionSource(IPositionSource* source);
    virtual HRESULT SetSizeSource(IImageSizeSource* source);
    virtual HRESULT GetPositionSource(IPositionSource** out);
    virtual HRESULT GetSizeSource(IImageSizeSource** out);
    // True when the current calibration's Type is non-zero.
    virtual HRESULT IsCalibrated(BYTE* out);
    // Image position in tenths of a pixel (truncated) to calibrated coordinates in pixels: moved
    // to the origin, turned by the tilt and, with CoordNature 1, Y negated. Outputs optional.
    virtual HRESULT ToCalibrated(double x10, double y10, double* outX, double* outY);
    // value (scaled by 1 / scale) from one units index to another. E_FAIL, with the value
    // unchanged, when either is -1 (pixels) or the scale is not above 0.
    virtual HRESULT ConvertUnits(double value, double* out, double scale, int fromUnits,
                                 int toUnits);
    // ConvertUnits with the current calibration's pixels per unit and units.
    virtual HRESULT PixelsToUnits(double value, double* out, int toUnits);
    virtual HRESULT GetStoredWord(int32_t* out);
    virtual HRESULT SetStoredWord(int32_t value);
    // The inverse of ToCalibrated: calibrated coordinates back to an image position in tenths
    // of a pixel. With a size the position must lie inside the image (E_FAIL otherwise, the
    // outputs still written).
    virtual HRESULT FromCalibratedInImage(double x, double y, int width, int height, double* outX10,
                                          double* outY10);
    virtual HRESULT FromCalibrated(double x, double y, double* outX10, double* outY10);
    virtual HRESULT GetUnitsChoiceCount(int* out);
    // Choice entry i to units index -2 .. 4; any other entry gives -1.
    virtual HRESULT UnitsFromChoice(int entry, int* out);
    // Short ("mm") or long ("Millimeter") name; empty for an index outside -1 .. 4.
    virtual HRESULT GetUnitsName(int units, QString* out, bool longForm);
    // Copies the current calibration into record (nothing for null); S_OK.
    virtual HRESULT GetCalibration(CCalibrationData* record);
    // Makes record the current calibration and repaints. E_POINTER for null; E_FAIL, with the
    // calibration unchanged, for a distance that is not above 0.
    virtual HRESULT SetCalibration(const CCalibrationData* record);
    // Style index of "CA"; found = the style's Param6 is non-zero. E_POINTER for a null record.
    virtual HRESULT GetFeature(int index, BYTE* found, CTrackFeature* out);
    virtual HRESULT SetFeature(int index, const CTrackFeature* record);
    virtual HRESULT SetRegistryBase(const QString& base);
    virtual HRESULT GetRegistryBase(QString* out);
    // The calibration under HKEY_LOCAL_MACHINE\<RegistryBase>\Analysis. E_FAIL with a base
    // shorter than two characters, when the key cannot be opened or written, or when the stored
    // calibration is refused.
    virtual HRESULT LoadFromRegistry();
    virtual HRESULT SaveToRegistry();
    // A calibration file holds the sectioned list "CI". Loading a file that cannot be opened or
    // holds no calibration changes nothing and says nothing (E_FAIL). Saving writes a temporary
    // file, then renames it; the outcome is shown ("Write Success" or "Write Error").
    virtual HRESULT LoadFromFile(const QString& path);
    virtual HRESULT SaveToFile(const QString& path);

    // The calibration commands. The reticle ones give E_POINTER without a position source and
    // E_FAIL when it fails; the corner ones the same for the size source. A failure leaves the
    // calibration unchanged.
    virtual HRESULT SetFirstPoint();
    virtual HRESULT SetSecondPoint();
    // The origin moves to the reticle and takes the x direction with it (the tilt stays).
    virtual HRESULT MoveOrigin();
    // The origin moves to the reticle, the x direction point stays (the tilt changes).
    virtual HRESULT SetOrigin();
    virtual HRESULT SetXDirection();
    virtual HRESULT FlipY();
    virtual HRESULT QuadrantUpperRight();
    virtual HRESULT QuadrantUpperLeft();
    virtual HRESULT QuadrantLowerRight();
    virtual HRESULT QuadrantLowerLeft();
    virtual HRESULT CornerUpperLeft();
    virtual HRESULT CornerUpperRight();
    virtual HRESULT CornerLowerLeft();
    virtual HRESULT CornerLowerRight();
    // Switches the position source's tool; E_FAIL without one.
    virtual HRESULT SwitchPositionSource(int on);

    // The name the calibration panel copies between settings objects.
    void SetName(const QString& name) { m_name = name; }
    QString GetName() const { return m_name; }
    // Told after every change of the calibration, besides the repaint.
    void SetChangeCallback(std::function<void()> callback) { m_changed = std::move(callback); }

private:
    CCalibrationData Current() const;
    HRESULT PickedPosition(int* x, int* y);
    HRESULT ImageSize(int* width, int* height);
    // Reads the current calibration, lets change alter it and applies it.
    HRESULT Modify(const std::function<void(CCalibrationData&)>& change);
    HRESULT AtReticle(const std::function<void(CCalibrationData&, int, int)>& change);
    HRESULT AtCorner(const std::function<void(CCalibrationData&, int, int)>& change);

    CSectionedList<CCalibrationData> m_calibrations;
    CSectionedList<CTrackFeature> m_styles;
    IImageSizeSource* m_sizeSource = nullptr;
    IPositionSource* m_positionSource = nullptr;
    int32_t m_storedWord = 0;
    COverlayListener m_listener;
    QString m_registryBase;
    QString m_name;
    std::function<void()> m_changed;
};
