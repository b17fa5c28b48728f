#include "platform/framework/ControlWidgets.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <map>

// Every dialog template the program and its sensor library carry, laid out: a click at the
// centre of each enabled control reaches that control, not a group box or a neighbour drawn
// over it.

namespace {

class ProgramResourcesTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CResourceChain::AddModule(&CProgramResources::Module());
        QString error;
        ASSERT_TRUE(CResourceChain::LoadLibrary(QStringLiteral(SENSOR_RESOURCE_LIBRARY), &error))
            << error.toStdString();
    }
    void TearDown() override {
        CResourceChain::UnloadLibrary(QStringLiteral(SENSOR_RESOURCE_LIBRARY));
        CResourceChain::RemoveModule(&CProgramResources::Module());
        IsolatedTest::TearDown();
    }
};

bool IsGroupBox(const DialogItemTemplate& item) {
    return item.type == DlgControl::Button && (item.style & BS_TYPEMASK) == BS_GROUPBOX;
}

// Controls a user operates: enabled, visible, with an id of their own in the template.
std::vector<const DialogItemTemplate*> OperableControls(const DialogTemplate& tmpl) {
    std::map<int, int> uses;
    for (const DialogItemTemplate& item : tmpl.items)
        ++uses[item.id];
    std::vector<const DialogItemTemplate*> controls;
    for (const DialogItemTemplate& item : tmpl.items) {
        if (item.id <= 0 || item.id == 0xFFFF || uses[item.id] > 1 || IsGroupBox(item) ||
            item.type == DlgControl::Static || (item.style & WS_DISABLED) ||
            !(item.style & WS_VISIBLE) || item.cx <= 0 || item.cy <= 0)
            continue;
        controls.push_back(&item);
    }
    return controls;
}

TEST_F(ProgramResourcesTest, AClickAtEachControlsCentreReachesIt) {
    int checked = 0;
    for (const QString& name : CResourceChain::ModuleNames()) {
        const CResourceModule* module = CResourceChain::FindModule(name);
        ASSERT_NE(module, nullptr);
        for (const DialogTemplate& original : module->dialogs) {
            // Child templates (pages, panels) are laid out on their own: only the order and
            // rectangles of their controls matter here.
            DialogTemplate tmpl = original;
            tmpl.style = (tmpl.style & ~(WS_CHILD | WS_VISIBLE)) | WS_POPUP;
            CDialog dlg(&tmpl);
            ASSERT_TRUE(dlg.CreateIndirect(&tmpl)) << original.id;
            QWidget* window = dlg.GetQWidget();
            for (const DialogItemTemplate* item : OperableControls(tmpl)) {
                CWnd* control = dlg.GetDlgItem(item->id);
                ASSERT_NE(control, nullptr) << original.id << " " << item->id;
                QWidget* widget = control->GetQWidget();
                QWidget* hit = window->childAt(widget->geometry().center());
                EXPECT_TRUE(hit == widget || widget->isAncestorOf(hit))
                    << name.toStdString() << " dialog " << original.id << " \""
                    << original.caption.toStdString() << "\": control " << item->id << " \""
                    << item->text.toStdString() << "\" is covered by "
                    << (hit ? hit->metaObject()->className() : "nothing");
                ++checked;
            }
            dlg.DestroyWindow();
        }
    }
    EXPECT_GT(checked, 500);
}

}  // namespace
