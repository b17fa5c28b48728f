#pragma once

// CQnGraphControl: the graph control that the second-family data views host by class id
// ("QNGraph"), a dispatch face over the program's graph widget. Its methods, each answering
// VT_I4:
//   3  (plot VT_I4, x VT_ARRAY|VT_R4, y VT_ARRAY|VT_R4, colour VT_I4): draws y against x as plot
//      `plot` (1-based; missing plots up to it are added); the plot's number, -1 when refused
//      (arrays of unequal length, a plot number below 1);
//   5  (mode VT_I4: 1 cursor, 3 pan, 6 zoom): the mouse mode; 0;
//   6  (): removes every plot and cursor; 0;
//   8  (caption VT_BSTR): the x axis caption; 0;
//   14 (index VT_I4): puts cursor 1 (made when missing) on that sample; the index it took;
//   18 (colour VT_I4): the plot-area colour; 0.
// User-interface thread only.

#include "platform/com/ComObject.h"
#include "platform/com/Guid.h"
#include "platform/com/IDispatch.h"
#include "platform/com/IHostedControl.h"
#include "platform/controls/GraphWidget.h"

#include <QPointer>

class CQnGraphControl : public CComObject<IDispatch, IHostedControl> {
public:
    static constexpr CLSID kClsid = GuidLiteral("{31F1FCBD-017B-4958-8441-2AB997339A1B}");

    static constexpr DISPID kDispPlotXY = 3;
    static constexpr DISPID kDispMouseMode = 5;
    static constexpr DISPID kDispClear = 6;
    static constexpr DISPID kDispXCaption = 8;
    static constexpr DISPID kDispCursorIndex = 14;
    static constexpr DISPID kDispPlotAreaColor = 18;

    CQnGraphControl();
    ~CQnGraphControl() override;

    HRESULT Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) override;

    HRESULT CreateControlWidget(QWidget* parent, int controlId, QWidget** widget) override;
    // The graph sends no events.
    HRESULT AdviseEvents(IDispatch* sink, DWORD* cookie) override;
    HRESULT UnadviseEvents(DWORD cookie) override;

    // The widget, once made (null before CreateControlWidget or after its parent went).
    CGraphWidget* Widget() const { return m_widget; }

private:
    QPointer<CGraphWidget> m_widget;
};

// Creates a graph control and answers interface iid of it (the class factory's work).
HRESULT CreateQnGraphControl(REFIID iid, void** object);
