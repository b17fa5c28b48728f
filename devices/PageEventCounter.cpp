#include "devices/PageEventCounter.h"

#include <QWidget>

CPageEventCounter::CPageEventCounter(int period, std::function<void()> refresh)
    : m_period(period > 0 ? period : 1), m_refresh(std::move(refresh)) {}

void CPageEventCounter::Watch(QWidget* page) {
    if (!page)
        return;
    page->removeEventFilter(this);
    page->installEventFilter(this);
}

bool CPageEventCounter::eventFilter(QObject*, QEvent*) {
    if (m_refreshing)
        return false;
    if (++m_count >= m_period) {
        m_count = 0;
        m_refreshing = true;
        if (m_refresh)
            m_refresh();
        m_refreshing = false;
    }
    return false;
}
