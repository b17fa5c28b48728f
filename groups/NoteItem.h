#pragma once

// CNoteItem: what one pane of a notes window shows: the global note or the current-frame note
// of one playback of the group.

#include <QString>

class CNoteItem {
public:
    // Scopes.
    static constexpr int kGlobal = 0;
    static constexpr int kCurrent = 1;

    CNoteItem() = default;
    CNoteItem(int type, int id, int scope, const QString& title)
        : m_type(type), m_id(id), m_scope(scope), m_title(title) {}
    virtual ~CNoteItem() = default;
    CNoteItem(const CNoteItem&) = default;
    CNoteItem& operator=(const CNoteItem&) = default;

    int GetType() const { return m_type; }
    int GetId() const { return m_id; }
    int GetScope() const { return m_scope; }
    const QString& GetTitle() const { return m_title; }

private:
    // 3 video, 2 data.
    int m_type = 0;
    int m_id = -1;
    int m_scope = -1;
    QString m_title;
};
