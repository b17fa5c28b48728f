#include "platform/registry/RegNode.h"

#include <algorithm>

namespace {

// The key under which a name is indexed: each code point simply case-folded, which is what a
// case-insensitive QString comparison compares.
QString Folded(const QString& name) {
    QString folded;
    folded.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            const char32_t pair = QChar::surrogateToUcs4(c, name.at(++i));
            folded.append(QStringView(QChar::fromUcs4(QChar::toCaseFolded(pair))));
        } else {
            folded.append(c.toCaseFolded());  // A lone surrogate stays itself.
        }
    }
    return folded;
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
    const auto it = m_childIndex.constFind(Folded(name));
    return it == m_childIndex.cend() ? nullptr : m_children[*it].get();
}

CRegNode* CRegNode::AddChild(const QString& name, bool* created) {
    const QString key = Folded(name);
    const auto it = m_childIndex.constFind(key);
    if (created)
        *created = it == m_childIndex.cend();
    if (it != m_childIndex.cend())
        return m_children[*it].get();
    m_childIndex.insert(key, m_children.size());
    m_children.push_back(std::make_unique<CRegNode>(name));
    return m_children.back().get();
}

bool CRegNode::RemoveChild(const QString& name) {
    const auto it = m_childIndex.constFind(Folded(name));
    if (it == m_childIndex.cend())
        return false;
    m_children.erase(m_children.begin() + static_cast<ptrdiff_t>(*it));
    RebuildIndexes();
    return true;
}

const RegValue* CRegNode::FindValue(const QString& name) const {
    const auto it = m_valueIndex.constFind(Folded(name));
    return it == m_valueIndex.cend() ? nullptr : &m_values[*it];
}

void CRegNode::SetValue(const QString& name, DWORD type, const QByteArray& data) {
    const QString key = Folded(name);
    if (const auto it = m_valueIndex.constFind(key); it != m_valueIndex.cend()) {
        RegValue& value = m_values[*it];
        value.type = type;
        value.data = data;
        return;
    }
    m_valueIndex.insert(key, m_values.size());
    m_values.push_back(RegValue{name, type, data});
}

bool CRegNode::RemoveValue(const QString& name) {
    const auto it = m_valueIndex.constFind(Folded(name));
    if (it == m_valueIndex.cend())
        return false;
    m_values.erase(m_values.begin() + static_cast<ptrdiff_t>(*it));
    RebuildIndexes();
    return true;
}

void CRegNode::Clear() {
    m_values.clear();
    m_children.clear();
    RebuildIndexes();
}

// Removing shifts the positions after it; removals are rare, so the indexes are rebuilt.
void CRegNode::RebuildIndexes() {
    m_valueIndex.clear();
    for (size_t i = 0; i < m_values.size(); ++i)
        m_valueIndex.insert(Folded(m_values[i].name), i);
    m_childIndex.clear();
    for (size_t i = 0; i < m_children.size(); ++i)
        m_childIndex.insert(Folded(m_children[i]->m_name), i);
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
