#pragma once

// CPageEventCounter: refreshes a page at a rate tied to its own traffic: it counts the events
// that reach the page's window and runs the refresh on every periodth (on each one for a period
// of 1). It only watches; every event goes on as it would without it. A refresh that makes
// events of its own does not start another one.

#include <QObject>

#include <functional>

class QWidget;

class CPageEventCounter : public QObject {
public:
    CPageEventCounter(int period, std::function<void()> refresh);

    // Counts the events of page from now on (a page already watched is left alone).
    void Watch(QWidget* page);
    int GetCount() const { return m_count; }
    int GetPeriod() const { return m_period; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int m_period;
    int m_count = 0;
    bool m_refreshing = false;
    std::function<void()> m_refresh;
};
