#pragma once

// CActiveAreaControl: the control that shows a camera's live picture with the active area (the
// part of the sensor that is read out) drawn over it. Callers drive it only by dispatch id:
// properties 2-5 are the area's left, top, width and height in image pixels, 6 shows the area
// and 7 lets the user move it by dragging, 8-16 are further device values the control keeps
// for its caller; method 17 shows the values set so far and method 18 hands it a picture
// (left, top, width, height VT_I4, bits per pixel VT_I2 (8 or 24), the bytes as a VT_UI1
// array of bottom-up rows padded to 4 bytes) and answers 0, or -1 for a picture it cannot
// read. A drag fires event 1 (left, top, width, height VT_I4); a click without a drag fires
// event 2 (x, y VT_I4). User-interface thread only.

#include "platform/com/ComObject.h"
#include "platform/com/EventSource.h"
#include "platform/com/Guid.h"
#include "platform/com/IDispatch.h"
#include "platform/com/IHostedControl.h"

#include <QImage>
#include <QPointer>
#include <QRect>

#include <array>

class CActiveAreaControl : public CComObject<IDispatch, IHostedControl> {
public:
    static constexpr CLSID kClsid = GuidLiteral("{4771F4B5-E3FC-4E62-A4B8-C93196A9DB48}");

    static constexpr DISPID kFirstProperty = 2;
    static constexpr DISPID kLastProperty = 16;
    static constexpr DISPID kShowArea = 6;
    static constexpr DISPID kEditArea = 7;
    static constexpr DISPID kDispApply = 17;
    static constexpr DISPID kDispSetImage = 18;
    static constexpr DISPID kEventAreaChanged = 1;
    static constexpr DISPID kEventPointClicked = 2;

    CActiveAreaControl() = default;
    ~CActiveAreaControl() override;

    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override;
    HRESULT CreateControlWidget(QWidget* parent, int controlId, QWidget** widget) override;
    HRESULT AdviseEvents(IDispatch* sink, DWORD* cookie) override;
    HRESULT UnadviseEvents(DWORD cookie) override;

    // Property 2..16 as last put (booleans as 0 or 1); 0 for any other id.
    LONG Property(DISPID id) const;
    // The area as applied by method 17, in image pixels.
    QRect AppliedArea() const { return m_applied; }
    const QImage& Image() const { return m_image; }

    // From the widget: the user dragged the area to rect, or clicked at point (image pixels).
    void UserMovedArea(const QRect& rect);
    void UserClicked(const QPoint& point);

private:
    void Repaint();

    std::array<LONG, kLastProperty - kFirstProperty + 1> m_properties{};
    QRect m_applied;
    QImage m_image;
    CEventSource m_events;
    QPointer<QWidget> m_widget;
};

HRESULT CreateActiveAreaControl(REFIID iid, void** object);
