#include "platform/framework/Accel.h"

#include "platform/wintypes/WinMessages.h"

namespace {

AcceleratorLoader& Loader() {
    static AcceleratorLoader loader;
    return loader;
}

int QtKeyOfVirtualKey(UINT vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        return static_cast<int>(vk);  // Qt's letter and digit keys share these codes
    if (vk >= VK_F1 && vk < VK_F1 + 24)
        return Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    switch (vk) {
        case VK_BACK:
            return Qt::Key_Backspace;
        case VK_TAB:
            return Qt::Key_Tab;
        case VK_RETURN:
            return Qt::Key_Return;
        case VK_ESCAPE:
            return Qt::Key_Escape;
        case VK_SPACE:
            return Qt::Key_Space;
        case VK_PRIOR:
            return Qt::Key_PageUp;
        case VK_NEXT:
            return Qt::Key_PageDown;
        case VK_END:
            return Qt::Key_End;
        case VK_HOME:
            return Qt::Key_Home;
        case VK_LEFT:
            return Qt::Key_Left;
        case VK_UP:
            return Qt::Key_Up;
        case VK_RIGHT:
            return Qt::Key_Right;
        case VK_DOWN:
            return Qt::Key_Down;
        case VK_INSERT:
            return Qt::Key_Insert;
        case VK_DELETE:
            return Qt::Key_Delete;
        case VK_ADD:
        case VK_OEM_PLUS:
            return Qt::Key_Plus;
        case VK_SUBTRACT:
        case VK_OEM_MINUS:
            return Qt::Key_Minus;
        default:
            return 0;
    }
}

}  // namespace

QKeySequence AccelKeySequence(const ACCEL& accel) {
    int key = (accel.fVirt & FVIRTKEY) ? QtKeyOfVirtualKey(accel.key)
                                       : QChar(accel.key).toUpper().unicode();
    if (key == 0)
        return QKeySequence();
    if (accel.fVirt & FSHIFT)
        key |= Qt::SHIFT;
    if (accel.fVirt & FCONTROL)
        key |= Qt::CTRL;
    if (accel.fVirt & FALT)
        key |= Qt::ALT;
    return QKeySequence(key);
}

void AfxSetAcceleratorLoader(AcceleratorLoader loader) {
    Loader() = std::move(loader);
}

std::vector<ACCEL> AfxLoadAccelerators(UINT nID) {
    return Loader() ? Loader()(nID) : std::vector<ACCEL>();
}
