#pragma once

// CDeviceId names a device by type, subtype and index; CDeviceDescriptor adds what the driver
// says about it. The text form "#type#subtype#index#" travels in record-controller paths.

#include <QString>

class CDeviceId {
public:
    CDeviceId() = default;
    CDeviceId(int type, int subtype, int index)
        : m_type(type), m_subtype(subtype), m_index(index) {}
    virtual ~CDeviceId() = default;
    CDeviceId(const CDeviceId&) = default;
    CDeviceId& operator=(const CDeviceId&) = default;

    // Reads the fields between the first four '#' signs, each as atoi reads it; fields that are
    // not there keep their values. Nothing beyond the text is read.
    void FromString(const QString& text);
    QString ToString() const;
    // An id whose type is 0 names no device.
    bool IsNone() const { return m_type == 0; }

    bool operator==(const CDeviceId& other) const {
        return m_type == other.m_type && m_subtype == other.m_subtype && m_index == other.m_index;
    }
    bool operator!=(const CDeviceId& other) const { return !(*this == other); }

    int m_type = 0;
    int m_subtype = -1;
    int m_index = -1;
};

class CDeviceDescriptor : public CDeviceId {
public:
    CDeviceDescriptor() = default;
    // From a bare id the strings stay empty.
    explicit CDeviceDescriptor(const CDeviceId& id)
        : CDeviceId(id), m_model(), m_name(), m_driver() {}

    int m_flags = 0;
    QString m_model = QStringLiteral("no model");
    QString m_name = QStringLiteral("no name");
    QString m_driver = QStringLiteral("no driver");
};
