#pragma once

// CQnGraphDlg: the wrapper through which a window reaches its "QNGraph" graph control. It
// creates the control by class id inside the window, known there by a control id, and turns
// each call into one dispatch call by id (see CQnGraphControl for what each id does). A control
// that cannot be created leaves the wrapper empty, and every call on it then returns -1 instead
// of throwing. Enabling and showing go to the control's widget. User-interface thread only.

#include "platform/com/ComPtr.h"
#include "platform/com/IDispatch.h"
#include "platform/wintypes/ColorRef.h"

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <vector>

class CComVariant;

class CQnGraphDlg {
public:
    CQnGraphDlg();
    ~CQnGraphDlg();
    CQnGraphDlg(const CQnGraphDlg&) = delete;
    CQnGraphDlg& operator=(const CQnGraphDlg&) = delete;

    // Makes the control and its widget at rect inside parent; false (wrapper empty) when
    // either cannot be made or the wrapper holds a control already.
    bool Create(QWidget* parent, const QRect& rect, int controlId);
    bool IsEmpty() const { return !m_control; }
    IDispatch* GetControl() const { return m_control.Get(); }
    QWidget* GetWidget() const { return m_widget; }

    void EnableWindow(bool enable);
    void ShowWindow(bool show);

    // Dispatch id 3: y against x as plot number plot in colour; the plot's number, or -1.
    LONG PlotXY(LONG plot, const std::vector<float>& x, const std::vector<float>& y,
                COLORREF color);
    // Dispatch id 5: 1 cursor, 3 pan, 6 zoom.
    LONG SetMouseMode(LONG mode);
    // Dispatch id 6: no plots and no cursors.
    LONG Clear();
    // Dispatch id 8.
    LONG SetXCaption(const QString& caption);
    // Dispatch id 14: the sample index the cursor took.
    LONG SetCursorIndex(LONG index);
    // Dispatch id 18.
    LONG SetPlotAreaColor(COLORREF color);

private:
    LONG Call(DISPID member, const std::vector<CComVariant>& args) const;

    CComPtr<IDispatch> m_control;
    QPointer<QWidget> m_widget;
};
