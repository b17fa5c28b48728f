#include "views/ActiveAreaDlg.h"

#include "devices/core/Device.h"
#include "devices/core/DeviceVideoStream.h"
#include "frames/FrameImage.h"
#include "frames/FrameSource.h"
#include "platform/com/ComObject.h"
#include "platform/com/SafeArrayVariant.h"
#include "platform/controls/ActiveAreaControl.h"
#include "platform/framework/DataExchange.h"
#include "platform/imaging/BitmapData.h"

#include <QByteArray>

#include <cstring>

// Passes the control's events to the dialog (arguments arrive last first).
class CActiveAreaDlg::CEventSink : public CComObject<IDispatch> {
public:
    explicit CEventSink(CActiveAreaDlg& dialog) : m_dialog(dialog) {}
    HRESULT Invoke(DISPID member, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        const UINT count = params ? params->cArgs : 0;
        auto arg = [&](UINT i) { return params->rgvarg[count - 1 - i].lVal; };
        if (member == CActiveAreaControl::kEventAreaChanged && count == 4)
            m_dialog.OnAreaChanged(arg(0), arg(1), arg(2), arg(3));
        else if (member == CActiveAreaControl::kEventPointClicked && count == 2)
            m_dialog.OnPointClicked(arg(0), arg(1));
        return S_OK;
    }

private:
    CActiveAreaDlg& m_dialog;
};

CActiveAreaDlg::CActiveAreaDlg(CDevice& device, CWnd* pParent)
    : CDialog(IDD, pParent), m_device(device), m_image(std::make_unique<CFrameImage>()) {
    m_source = std::dynamic_pointer_cast<CFrameSource>(device.GetFrameSourceRef());
    if (m_source)
        return;
    if (CDeviceVideoStream* stream = device.CreateLiveStream()) {
        auto own = std::make_shared<CFrameSource>();
        CDeviceDescriptor descriptor;
        device.GetDescriptor(&descriptor);
        if (own->OpenStream(stream, descriptor.m_name))
            m_source = std::move(own);
        stream->Release();
    }
}

CActiveAreaDlg::~CActiveAreaDlg() {
    if (m_sink)
        m_area.UnadviseEvents(m_cookie);
}

void CActiveAreaDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kAreaControlId, m_area);
}

BOOL CActiveAreaDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_sink = CComPtr<CEventSink>(new CEventSink(*this));
    if (FAILED(m_area.AdviseEvents(m_sink.Get(), &m_cookie)))
        m_sink = nullptr;

    // A query the device cannot answer leaves its properties at the control's defaults.
    int limits[7] = {};
    if (m_device.GetActiveAreaLimits(&limits[0], &limits[1], &limits[2], &limits[3], &limits[4],
                                     &limits[5], &limits[6]) == 0) {
        const DISPID ids[] = {9, 10, 15, 16, 14, 13};
        for (int i = 0; i < 6; ++i)
            m_area.SetProperty(ids[i], limits[i]);
    }
    int movable = 0, centred = 0, bitsPerPixel = 8;
    if (m_device.GetActiveAreaMode(&movable, &centred, &bitsPerPixel) == 0) {
        m_area.SetProperty6(movable);
        m_area.SetProperty7(centred);
        m_area.SetProperty8(bitsPerPixel);
    }
    double rate = 0;
    m_device.GetRecordRate(&rate);
    int maxWidth = 0, maxHeight = 0;
    if (m_device.GetMaxActiveArea(rate, bitsPerPixel, &maxWidth, &maxHeight) == 0) {
        m_area.SetProperty11(maxWidth);
        m_area.SetProperty12(maxHeight);
    }
    int left = 0, top = 0;
    if (m_device.GetActiveAreaOrigin(&left, &top) == 0) {
        m_area.SetProperty2(left);
        m_area.SetProperty3(top);
    }
    int width = 0, height = 0;
    if (m_device.GetActiveAreaSize(&width, &height) == 0) {
        m_area.SetProperty4(width);
        m_area.SetProperty5(height);
    }
    m_area.Method17();
    Refresh();
    return TRUE;
}

void CActiveAreaDlg::Refresh() {
    DriverImageFormat format;
    const bool haveFormat = m_device.GetImageFormat(&format) == 0 &&
                            (format.bitsPerPixel == 8 || format.bitsPerPixel == 24);
    const imaging::PixelFormat pixelFormat =
        format.bitsPerPixel == 8 ? imaging::PixelFormat8bppIndexed : imaging::PixelFormat24bppRGB;
    // Live video is read afresh every time: its latest frame has no number of its own.
    const bool read = haveFormat && m_source &&
                      m_image->Create(format.width, format.height, pixelFormat, false) &&
                      m_source->MoveToFrame(-1, 0, 1) && m_source->GetFrame(-1, m_image.get(), 0);
    if (!read || !ShowImage(format.bitsPerPixel))
        m_area.Method17();
}

bool CActiveAreaDlg::ShowImage(int bitsPerPixel) {
    const imaging::PixelFormat pixelFormat =
        bitsPerPixel == 8 ? imaging::PixelFormat8bppIndexed : imaging::PixelFormat24bppRGB;
    imaging::BitmapData data;
    if (!m_image->LockBits(nullptr, imaging::ImageLockModeRead, pixelFormat, &data))
        return false;
    // The control takes bottom-up rows padded to 4 bytes.
    const int rowBytes = static_cast<int>(data.Width) * (bitsPerPixel / 8);
    const int padded = (rowBytes + 3) / 4 * 4;
    QByteArray bytes(padded * static_cast<int>(data.Height), '\0');
    for (UINT y = 0; y < data.Height; ++y) {
        const auto* row = static_cast<const char*>(data.Scan0) +
                          static_cast<ptrdiff_t>(data.Stride) * (data.Height - 1 - y);
        std::memcpy(bytes.data() + static_cast<ptrdiff_t>(padded) * y, row, rowBytes);
    }
    const LONG width = static_cast<LONG>(data.Width);
    const LONG height = static_cast<LONG>(data.Height);
    m_image->UnlockBits(&data);
    CSafeArrayVariant array;
    LONG answer = -1;
    return SUCCEEDED(array.CreateOneDim(bytes)) &&
           SUCCEEDED(m_area.Method18(0, 0, width, height, static_cast<int16_t>(bitsPerPixel), array,
                                     &answer)) &&
           answer == 0;
}

void CActiveAreaDlg::OnAreaChanged(LONG left, LONG top, LONG width, LONG height) {
    const int64_t right = int64_t{left} + width;
    const int64_t bottom = int64_t{top} + height;
    if (width <= 0 || height <= 0 || right > INT32_MAX || bottom > INT32_MAX)
        return;
    if (m_device.SetActiveArea(left, top, static_cast<int>(right), static_cast<int>(bottom)) == 0)
        Refresh();
}

void CActiveAreaDlg::OnPointClicked(LONG x, LONG y) {
    if (m_device.SetActiveAreaOrigin(x, y) == 0)
        Refresh();
}
