#include "platform/registry/RegNode.h"

#include <algorithm>

namespace {

bool SameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

bool IsStorableRegName(const QString& name) {
    if (!QStringView(name).isValidUtf16())
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) {
        return c == QChar(0) || c == QChar('\r') || c == QChar('\n');
    });
}

QByteArray RegStringData(const QString& text) {
    QByteArray bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    bytes.append(2, '\0');
    return bytes;
}

CRegNode* CRegNode::FindChild(const QString& name) const {
    for (const auto& child : m_children) {
        if (SameName(child->m_name, name))
            return child.get();
    }
    return nullptr;
}

CRegNode* CRegNode::AddChild(const QString& name, bool* created) {
    CRegNode* child = FindChild(name);
    if (created)
        *created = child == nullptr;
    if (child)
        return child;
    m_children.push_back(std::make_unique<CRegNode>(name));
    return m_children.back().get();
}

bool CRegNode::RemoveChild(const QString& name) {
    const auto it = std::find_if(m_children.begin(), m_children.end(),
                                 [&](const auto& child) { return SameName(child->m_name, name); });
    if (it == m_children.end())
        return false;
    m_children.erase(it);
    return true;
}

const RegValue* CRegNode::FindValue(const QString& name) const {
    for (const auto& value : m_values) {
        if (SameName(value.name, name))
            return &value;
    }
    return nullptr;
}

void CRegNode::SetValue(const QString& name, DWORD type, const QByteArray& data) {
    for (auto& value : m_values) {
        if (SameName(value.name, name)) {
            value.type = type;
            value.data = data;
            return;
        }
    }
    m_values.push_back(RegValue{name, type, data});
}

bool CRegNode::RemoveValue(const QString& name) {
    const auto it = std::find_if(m_values.begin(), m_values.end(),
                                 [&](const RegValue& value) { return SameName(value.name, name); });
    if (it == m_values.end())
        return false;
    m_values.erase(it);
    return true;
}

void CRegNode::Clear() {
    m_values.clear();
    m_children.clear();
}

CRegNode* CRegNode::Find(const QStringList& path) {
    CRegNode* node = this;
    for (const QString& name : path) {
        node = node->FindChild(name);
        if (!node)
            return nullptr;
    }
    return node;
}

CRegNode* CRegNode::Ensure(const QStringList& path, bool* created) {
    CRegNode* node = this;
    bool last = false;
    for (const QString& name : path)
        node = node->AddChild(name, &last);
    if (created)
        *created = last;
    return node;
}
