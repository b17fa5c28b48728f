#pragma once

// CQnVidraData: the data server behind the second family of data playback windows
// ("QnSens.QnCVidraData"), an automation object of the program's own over one sensor data
// set. Method 18 (path) reads the file into its data set (".au2" as text, anything else as
// the binary data file) and method 14 (path) writes the data set to the binary data file
// (through a temporary file); both answer VT_I4 0 on success and 1 otherwise. The family's
// views draw the data set it holds. User-interface thread only.

#include "platform/com/ComObject.h"
#include "platform/com/IDispatch.h"
#include "sensordata/model/SensorDataSet.h"

#include <QString>

class CQnVidraData : public CComObject<IDispatch> {
public:
    static constexpr const char* kProgId = "QnSens.QnCVidraData";
    static constexpr DISPID kDispSave = 14;
    static constexpr DISPID kDispOpen = 18;

    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override;

    CSensorDataSet& GetDataSet() { return m_data; }

    // A new server of the class progId names, its IDispatch in *out (a reference the caller
    // owns): this program carries the one class; CO_E_CLASSSTRING for any other name.
    static HRESULT CreateByProgId(const QString& progId, IDispatch** out);

private:
    CSensorDataSet m_data;
};
