#pragma once

// WhenModal: a test's answer to the modal dialog that the next call opens.

#include "platform/framework/Wnd.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs act on the modal dialog of class T once it shows (and fails when none shows).
template <class T>
class WhenModal {
public:
    explicit WhenModal(std::function<void(T*)> act) {
        QTimer::singleShot(0, [this, act] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* window = dynamic_cast<T*>(CWnd::FromWidgetPermanent(widget));
                    window && widget->isVisible()) {
                    m_seen = true;
                    act(window);
                    return;
                }
            }
        });
    }
    ~WhenModal() { EXPECT_TRUE(m_seen) << "no dialog showed"; }

private:
    bool m_seen = false;
};
