#include "platform/framework/DataExchange.h"
#include "platform/framework/Dialog.h"
#include "platform/framework/DocTemplate.h"
#include "platform/framework/Menu.h"
#include "platform/framework/ResourceChain.h"
#include "resources/ProgramResources.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QTimer>

#include <functional>

namespace {

// Tables standing in for two modules: ids 1 to 3 in both, 4 only in the second.
CResourceModule Module(const QString& name, const QString& tag, bool withExtra,
                       const QString& imageDir) {
    CResourceModule m;
    m.name = name;
    const std::vector<UINT> ids =
        withExtra ? std::vector<UINT>{1, 2, 3, 4} : std::vector<UINT>{1, 2, 3};
    for (const UINT id : ids) {
        DialogTemplate dialog;
        dialog.id = id;
        dialog.caption = tag;
        m.dialogs.push_back(dialog);
        m.strings[id] = tag;
        MenuTemplate menu;
        menu.id = id;
        menu.items = {{0, 100 + id, tag, {}}};
        m.menus.push_back(menu);
        m.accelerators.push_back({id, {{FVIRTKEY | FCONTROL, 'S', static_cast<WORD>(100 + id)}}});
        m.toolBars.push_back({id, 16, 15, {100 + id, 0}});
        m.bitmaps.push_back({id, imageDir + "/" + tag + ".png"});
        m.icons.push_back({id, imageDir + "/" + tag + ".png"});
    }
    return m;
}

class ResourceChainTest : public IsolatedTest {
protected:
    void TearDown() override {
        CResourceChain::RemoveModule(&m_first);
        CResourceChain::RemoveModule(&m_second);
        IsolatedTest::TearDown();
    }

    // Writes a 2 x 2 image of one colour under the tag's name.
    void WriteImage(const QString& tag, QRgb colour) {
        QImage image(2, 2, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(WorkPath(tag + ".png")));
    }

    CResourceModule m_first;
    CResourceModule m_second;
};

// Which module answers a look-up of each kind, while both are in the chain and after the first
// has left it.
TEST_F(ResourceChainTest, LookupsFallThroughTheChainInOrder) {
    WriteImage("first", qRgb(255, 0, 0));
    WriteImage("second", qRgb(0, 0, 255));
    m_first = Module("first", "first", false, WorkDir());
    m_second = Module("second", "second", true, WorkDir());
    CResourceChain::AddModule(&m_first);
    CResourceChain::AddModule(&m_second);
    CResourceChain::AddModule(&m_first);

    struct Lookup {
        const char* kind;
        std::function<QString(UINT)> find;
    };
    const auto colourTag = [](const QImage& image) {
        return image.isNull()                         ? QString()
               : image.pixel(0, 0) == qRgb(255, 0, 0) ? "first"
                                                      : "second";
    };
    const Lookup lookups[] = {
        {"dialog",
         [](UINT id) {
             const DialogTemplate* t = CResourceChain::FindDialog(id);
             return t ? t->caption : QString();
         }},
        {"string",
         [](UINT id) {
             QString text;
             return LoadString(id, text) ? text : QString();
         }},
        {"menu",
         [](UINT id) {
             const MenuTemplate* t = CResourceChain::FindMenu(id);
             return t ? t->items.front().text : QString();
         }},
        {"accelerators",
         [this](UINT id) {
             const AcceleratorTable* t = CResourceChain::FindAccelerators(id);
             return !t ? QString() : t == &m_first.accelerators[id - 1] ? "first" : "second";
         }},
        {"toolbar",
         [this](UINT id) {
             const ToolBarTemplate* t = CResourceChain::FindToolBar(id);
             return !t ? QString() : t == &m_first.toolBars[id - 1] ? "first" : "second";
         }},
        {"bitmap", [&](UINT id) { return colourTag(CResourceChain::LoadBitmap(id)); }},
        {"icon", [&](UINT id) { return colourTag(CResourceChain::LoadIcon(id)); }},
    };
    EXPECT_EQ(CResourceChain::ModuleNames(), (std::vector<QString>{"first", "second"}));
    for (const Lookup& l : lookups) {
        EXPECT_EQ(l.find(2), QStringLiteral("first")) << l.kind;
        EXPECT_EQ(l.find(4), QStringLiteral("second")) << l.kind;
        EXPECT_EQ(l.find(5), QString()) << l.kind;
    }
    CResourceChain::RemoveModule(&m_first);
    for (const Lookup& l : lookups)
        EXPECT_EQ(l.find(2), QStringLiteral("second")) << l.kind;
}

TEST_F(ResourceChainTest, MissingStringAndUnreadableBitmap) {
    m_first = Module("first", "first", false, WorkPath("nowhere"));
    CResourceChain::AddModule(&m_first);
    QString text = QStringLiteral("unchanged");
    EXPECT_FALSE(LoadString(99, text));
    EXPECT_EQ(text, QStringLiteral("unchanged"));
    EXPECT_TRUE(CResourceChain::LoadBitmap(1).isNull());
}

TEST_F(ResourceChainTest, ProgramModuleGoesFirstOnce) {
    CProgramResources::Register();
    m_first = Module("first", "first", false, WorkDir());
    CResourceChain::AddModule(&m_first);
    CProgramResources::Register();
    const std::vector<QString> names = CResourceChain::ModuleNames();
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], QStringLiteral("Reelmark"));
    AfxSetMenuLoader(nullptr);
    AfxSetAcceleratorLoader(nullptr);
    AfxSetDocStringLoader(nullptr);
    CResourceChain::RemoveModule(&CProgramResources::Module());
}

// Once registered, the framework's menus and accelerator tables come from the chain.
TEST_F(ResourceChainTest, MenusAndAcceleratorsLoadThroughTheChain) {
    m_first = Module("first", "first", false, WorkDir());
    MenuTemplate menu;
    menu.id = 50;
    menu.items = {{MF_POPUP,
                   0,
                   QStringLiteral("&File"),
                   {{MF_STRING, 0xE101, QStringLiteral("&Open"), {}},
                    {MF_SEPARATOR, 0, QString(), {}},
                    {MF_GRAYED, 0xE141, QStringLiteral("E&xit"), {}}}},
                  {MF_STRING, 32814, QStringLiteral("&Capture"), {}}};
    m_first.menus.push_back(menu);
    CResourceChain::AddModule(&m_first);
    CProgramResources::Register();

    CMenu loaded;
    ASSERT_TRUE(loaded.LoadMenu(50));
    ASSERT_EQ(loaded.GetMenuItemCount(), 2);
    EXPECT_EQ(loaded.GetMenuItemID(1), 32814u);
    CMenu* file = loaded.GetSubMenu(0);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->GetMenuItemCount(), 3);
    EXPECT_EQ(file->GetMenuItemID(0), 0xE101u);
    EXPECT_EQ(file->GetMenuItemID(1), 0u);
    EXPECT_EQ(file->GetMenuItemID(2), 0xE141u);
    CMenu none;
    EXPECT_FALSE(none.LoadMenu(51));

    const std::vector<ACCEL> keys = AfxLoadAccelerators(2);
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].cmd, 102);
    EXPECT_EQ(keys[0].fVirt, FVIRTKEY | FCONTROL);
    EXPECT_TRUE(AfxLoadAccelerators(9).empty());

    AfxSetMenuLoader(nullptr);
    AfxSetAcceleratorLoader(nullptr);
    AfxSetDocStringLoader(nullptr);
    CResourceChain::RemoveModule(&CProgramResources::Module());
}

// A dialog that only the library loaded at run time has, opened through the chain.
class CLibraryDlg : public CDialog {
public:
    CLibraryDlg() : CDialog(7001) {}
    QString m_text;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        QTimer::singleShot(0, GetQWidget(), [this] {
            GetDlgItem(1501)->SetWindowText(QStringLiteral("typed"));
            dynamic_cast<QAbstractButton*>(GetDlgItem(IDOK)->GetQWidget())->click();
        });
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 1501, m_text); }
};

TEST_F(ResourceChainTest, LibraryLoadedAtRunTimeAddsItsTables) {
    m_first = Module("program", "program", false, WorkDir());
    m_first.strings[100] = QStringLiteral("program's copy");
    CResourceChain::AddModule(&m_first);
    ASSERT_EQ(CResourceChain::FindDialog(7001), nullptr);

    QString error;
    ASSERT_TRUE(CResourceChain::LoadLibrary(QStringLiteral(TEST_RESOURCE_LIBRARY), &error))
        << error.toStdString();
    EXPECT_EQ(CResourceChain::ModuleNames(), (std::vector<QString>{"program", "test library"}));
    QString text;
    EXPECT_TRUE(LoadString(7002, text));
    EXPECT_EQ(text, QStringLiteral("from the library"));
    EXPECT_TRUE(LoadString(100, text));
    EXPECT_EQ(text, QStringLiteral("program's copy"));
    ASSERT_NE(CResourceChain::FindMenu(7003), nullptr);
    EXPECT_EQ(CResourceChain::FindMenu(7003)->items.front().id, 32814u);

    CLibraryDlg dlg;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_text, QStringLiteral("typed"));

    EXPECT_TRUE(CResourceChain::UnloadLibrary(QStringLiteral(TEST_RESOURCE_LIBRARY)));
    EXPECT_EQ(CResourceChain::FindDialog(7001), nullptr);
    EXPECT_EQ(text, QStringLiteral("program's copy"));
    EXPECT_FALSE(CResourceChain::UnloadLibrary(QStringLiteral(TEST_RESOURCE_LIBRARY)));
}

TEST_F(ResourceChainTest, LibraryThatCannotLoadIsReported) {
    QString error;
    EXPECT_FALSE(CResourceChain::LoadLibrary(WorkPath("missing.so"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(CResourceChain::ModuleNames().empty());
}

}  // namespace
