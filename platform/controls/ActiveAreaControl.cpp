#include "platform/controls/ActiveAreaControl.h"

#include "platform/com/ComVariant.h"
#include "platform/com/DispArgs.h"
#include "platform/com/SafeArray.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <cstring>

namespace {

// Shows the picture scaled into the widget and the area over it; drags move the area.
class CActiveAreaWidget : public QWidget {
public:
    CActiveAreaWidget(CActiveAreaControl* control, QWidget* parent)
        : QWidget(parent), m_control(control) {}
    void DetachControl() { m_control = nullptr; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        if (!m_control)
            return;
        const QImage& image = m_control->Image();
        if (!image.isNull())
            painter.drawImage(rect(), image);
        if (m_control->Property(CActiveAreaControl::kShowArea)) {
            painter.setPen(QPen(Qt::green, 1));
            painter.drawRect(ToWidget(Shown()).adjusted(0, 0, -1, -1));
        }
    }
    void mousePressEvent(QMouseEvent* event) override {
        m_pressed = event->position().toPoint();
        m_start = Shown();
        m_dragged = false;
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!m_control || !(event->buttons() & Qt::LeftButton) ||
            !m_control->Property(CActiveAreaControl::kEditArea))
            return;
        const QPoint delta = ToImage(event->position().toPoint()) - ToImage(m_pressed);
        m_moved = m_start.translated(delta);
        m_dragged = true;
        update();
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (!m_control)
            return;
        if (m_dragged)
            m_control->UserMovedArea(m_moved);
        else
            m_control->UserClicked(ToImage(event->position().toPoint()));
        m_dragged = false;
    }

private:
    QRect Shown() const { return m_dragged ? m_moved : m_control->AppliedArea(); }
    QSize ImageSize() const {
        const QImage& image = m_control->Image();
        return image.isNull() ? size() : image.size();
    }
    QRect ToWidget(const QRect& r) const {
        const QSize image = ImageSize();
        const double sx = double(width()) / std::max(1, image.width());
        const double sy = double(height()) / std::max(1, image.height());
        return QRect(int(r.x() * sx), int(r.y() * sy), int(r.width() * sx), int(r.height() * sy));
    }
    QPoint ToImage(const QPoint& p) const {
        const QSize image = ImageSize();
        return QPoint(p.x() * image.width() / std::max(1, width()),
                      p.y() * image.height() / std::max(1, height()));
    }

    CActiveAreaControl* m_control;
    QPoint m_pressed;
    QRect m_start;
    QRect m_moved;
    bool m_dragged = false;
};

// The picture of method 18: bottom-up rows of 8-bit grey or 24-bit BGR pixels, each padded to
// 4 bytes. A null image when the bytes do not hold the size given.
QImage ReadPicture(LONG width, LONG height, int16_t bits, const VARIANT* bytes) {
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535 || (bits != 8 && bits != 24))
        return {};
    if (!bytes || bytes->vt != (VT_ARRAY | VT_UI1) || !bytes->parray)
        return {};
    const qint64 stride = (qint64(width) * (bits / 8) + 3) / 4 * 4;
    SAFEARRAY* array = bytes->parray;
    if (qint64(SafeArrayGetElementCount(array)) < stride * height)
        return {};
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data)))
        return {};
    QImage image(int(width), int(height),
                 bits == 8 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    const auto* source = static_cast<const uchar*>(data);
    for (int y = 0; y < height; ++y) {
        const uchar* row = source + stride * (height - 1 - y);
        uchar* line = image.scanLine(y);
        if (bits == 8) {
            std::memcpy(line, row, size_t(width));
        } else {
            for (int x = 0; x < width; ++x) {
                line[3 * x] = row[3 * x + 2];
                line[3 * x + 1] = row[3 * x + 1];
                line[3 * x + 2] = row[3 * x];
            }
        }
    }
    SafeArrayUnaccessData(array);
    return image;
}

}  // namespace

CActiveAreaControl::~CActiveAreaControl() {
    if (auto* widget = dynamic_cast<CActiveAreaWidget*>(m_widget.data()))
        widget->DetachControl();
}

LONG CActiveAreaControl::Property(DISPID id) const {
    if (id < kFirstProperty || id > kLastProperty)
        return 0;
    return m_properties[size_t(id - kFirstProperty)];
}

HRESULT CActiveAreaControl::Invoke(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT* argErr) {
    CDispArgs args(params, argErr);
    if (member >= kFirstProperty && member <= kLastProperty) {
        if (!(flags & DISPATCH_PROPERTYPUT))
            return DISP_E_MEMBERNOTFOUND;
        HRESULT hr = args.Expect(1);
        LONG value = 0;
        if (SUCCEEDED(hr))
            hr = args.GetLong(0, &value);
        if (FAILED(hr))
            return hr;
        const bool isFlag = member == kShowArea || member == kEditArea;
        m_properties[size_t(member - kFirstProperty)] = isFlag ? (value != 0) : value;
        return S_OK;
    }
    if (!(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    if (member == kDispApply) {
        const HRESULT hr = args.Expect(0);
        if (FAILED(hr))
            return hr;
        m_applied = QRect(Property(2), Property(3), Property(4), Property(5));
        Repaint();
        return S_OK;
    }
    if (member == kDispSetImage) {
        HRESULT hr = args.Expect(6);
        LONG left = 0, top = 0, width = 0, height = 0;
        int16_t bits = 0;
        const VARIANT* bytes = nullptr;
        if (SUCCEEDED(hr))
            hr = args.GetLong(0, &left);
        if (SUCCEEDED(hr))
            hr = args.GetLong(1, &top);
        if (SUCCEEDED(hr))
            hr = args.GetLong(2, &width);
        if (SUCCEEDED(hr))
            hr = args.GetLong(3, &height);
        if (SUCCEEDED(hr))
            hr = args.GetShort(4, &bits);
        if (SUCCEEDED(hr))
            hr = args.GetVariant(5, &bytes);
        if (FAILED(hr))
            return hr;
        QImage image = ReadPicture(width, height, bits, bytes);
        const LONG answer = image.isNull() ? -1 : 0;
        if (!image.isNull())
            m_image = std::move(image);
        Repaint();
        if (result) {
            VariantClear(result);
            result->vt = VT_I4;
            result->lVal = answer;
        }
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT CActiveAreaControl::CreateControlWidget(QWidget* parent, int controlId, QWidget** widget) {
    if (!parent || !widget)
        return E_POINTER;
    if (m_widget)
        return E_UNEXPECTED;
    m_widget = new CActiveAreaWidget(this, parent);
    m_widget->setProperty("controlId", controlId);
    *widget = m_widget;
    return S_OK;
}

HRESULT CActiveAreaControl::AdviseEvents(IDispatch* sink, DWORD* cookie) {
    return m_events.Advise(sink, cookie);
}

HRESULT CActiveAreaControl::UnadviseEvents(DWORD cookie) {
    return m_events.Unadvise(cookie);
}

void CActiveAreaControl::UserMovedArea(const QRect& rect) {
    m_properties[0] = rect.x();
    m_properties[1] = rect.y();
    m_applied = QRect(rect.x(), rect.y(), Property(4), Property(5));
    Repaint();
    m_events.Fire(kEventAreaChanged, {CComVariant(LONG(rect.x())), CComVariant(LONG(rect.y())),
                                      CComVariant(Property(4)), CComVariant(Property(5))});
}

void CActiveAreaControl::UserClicked(const QPoint& point) {
    m_events.Fire(kEventPointClicked, {CComVariant(LONG(point.x())), CComVariant(LONG(point.y()))});
}

void CActiveAreaControl::Repaint() {
    if (m_widget)
        m_widget->update();
}

HRESULT CreateActiveAreaControl(REFIID iid, void** object) {
    return CreateComObject<CActiveAreaControl>(iid, object);
}
