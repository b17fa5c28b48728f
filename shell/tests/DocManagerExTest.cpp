#include "platform/framework/Document.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/MultiDocTemplate.h"
#include "platform/registry/Registry.h"
#include "shell/DocManagerEx.h"
#include "shell/MultiExtFilterFileDialog.h"
#include "shell/PlaceholderDoc.h"
#include "shell/PlaceholderFrame.h"
#include "shell/PlaceholderView.h"
#include "shell/ShellFileTypes.h"
#include "testsupport/IsolatedTest.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>

namespace {

// A template that notes which files it was asked to open instead of opening them.
class CRecordingTemplate : public CMultiDocTemplate {
public:
    CRecordingTemplate(const QString& docString, QStringList* opened)
        : CMultiDocTemplate(0, RUNTIME_CLASS(CPlaceholderDoc), RUNTIME_CLASS(CPlaceholderFrame),
                            RUNTIME_CLASS(CPlaceholderView)),
          m_opened(opened) {
        SetDocString(docString);
    }

    CDocument* OpenDocumentFile(const QString& pathName, BOOL) override {
        QString name;
        GetDocString(name, docName);
        *m_opened << name + ":" + QFileInfo(pathName).fileName();
        return nullptr;
    }

private:
    QStringList* m_opened;
};

const char* const kPlayGroupString =
    "\nPlay Group\nPlay Group\nPlay Group Files (*.playgrp)\n.playgrp\nPlaygroup.Document\n"
    "Playgroup Document";
const char* const kDataString =
    "\nData\n\nData Files (*.mdat;*.au2)\n.mdat;.au2\nReelmark.Data\nData File";
const char* const kVideoString = "\nVid\n\nVideo Files\n.avi";

// Every key and value under a root, one line each, to compare whole registries.
void DumpKey(HKEY root, const QString& path, QStringList* out) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    QString name;
    for (DWORD i = 0; RegEnumValue(key, i, &name, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i) {
        QString text;
        RegQueryString(key, name, &text);
        *out << path + " [" + name + "]=" + text;
    }
    QStringList children;
    for (DWORD i = 0; RegEnumKeyEx(key, i, &name) == ERROR_SUCCESS; ++i)
        children << name;
    RegCloseKey(key);
    for (const QString& child : children) {
        const QString childPath = path.isEmpty() ? child : path + "\\" + child;
        *out << childPath;
        DumpKey(root, childPath, out);
    }
}

QStringList DumpClassesRoot() {
    QStringList out;
    DumpKey(HKEY_CLASSES_ROOT, QString(), &out);
    return out;
}

// Every folder and file below a folder, files with their contents.
QStringList DumpFolder(const QString& folder) {
    QStringList out;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QString line = QDir(folder).relativeFilePath(path);
        if (it.fileInfo().isFile()) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            line += "=" + QString::fromUtf8(file.readAll());
        }
        out << line;
    }
    out.sort();
    return out;
}

QString ReadValue(const QString& keyPath, const QString& valueName = QString()) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_CLASSES_ROOT, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<no key>";
    QString value;
    const long rc = RegQueryString(key, valueName, &value);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? value : "<no value>";
}

void WriteValue(const QString& keyPath, const QString& valueName, const QString& value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CLASSES_ROOT, keyPath, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegSetString(key, valueName, value), ERROR_SUCCESS);
    RegCloseKey(key);
}

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

class DocManagerExTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_hadDataHome = qEnvironmentVariableIsSet("XDG_DATA_HOME");
        m_oldDataHome = qgetenv("XDG_DATA_HOME");
        ASSERT_TRUE(QDir().mkpath(DataHome()));
        qputenv("XDG_DATA_HOME", DataHome().toUtf8());
        m_manager.SetProgramPath("/opt/reel mark/bin/reelmark");
        m_manager.AddDocTemplate(new CRecordingTemplate(kVideoString, &m_opened));
        m_manager.AddDocTemplate(new CRecordingTemplate(kPlayGroupString, &m_opened));
        m_manager.AddDocTemplate(new CRecordingTemplate(kDataString, &m_opened));
    }

    void TearDown() override {
        if (m_hadDataHome)
            qputenv("XDG_DATA_HOME", m_oldDataHome);
        else
            qunsetenv("XDG_DATA_HOME");
        IsolatedTest::TearDown();
    }

    QString DataHome() const { return WorkPath("xdg"); }

    QStringList m_opened;
    CDocManagerEx m_manager;
    bool m_hadDataHome = false;
    QByteArray m_oldDataHome;
};

TEST_F(DocManagerExTest, RegistrationWritesTheTypesOfTemplatesWithATypeId) {
    // A second frame kind of the same document registers nothing more.
    m_manager.AddDocTemplate(new CRecordingTemplate(kDataString, &m_opened));
    m_manager.RegisterShellFileTypes(TRUE);

    EXPECT_EQ(ReadValue("Playgroup.Document"), "Playgroup Document");
    EXPECT_EQ(ReadValue("Playgroup.Document\\DefaultIcon"), "/opt/reel mark/bin/reelmark,1");
    EXPECT_EQ(ReadValue("Playgroup.Document\\shell\\open\\command"),
              "\"/opt/reel mark/bin/reelmark\" \"%1\"");
    EXPECT_EQ(ReadValue(".playgrp"), "Playgroup.Document");
    EXPECT_EQ(ReadValue(".playgrp\\ShellNew", "NullFile"), "");
    // Both extensions of one template point at its type; no file-new name, no ShellNew.
    EXPECT_EQ(ReadValue("Reelmark.Data"), "Data File");
    EXPECT_EQ(ReadValue(".mdat"), "Reelmark.Data");
    EXPECT_EQ(ReadValue(".au2"), "Reelmark.Data");
    EXPECT_EQ(ReadValue(".mdat\\ShellNew"), "<no key>");
    // No shell here prints through the program or speaks DDE to it.
    EXPECT_EQ(ReadValue("Playgroup.Document\\shell\\print"), "<no key>");
    EXPECT_EQ(ReadValue("Playgroup.Document\\shell\\printto"), "<no key>");
    EXPECT_EQ(ReadValue("Playgroup.Document\\shell\\open\\ddeexec"), "<no key>");
    // A template without a type id registers nothing.
    EXPECT_EQ(ReadValue(".avi"), "<no key>");

    EXPECT_EQ(CShellFileTypes::DesktopEntryPath(), DataHome() + "/applications/reelmark.desktop");
    EXPECT_EQ(ReadText(CShellFileTypes::DesktopEntryPath()),
              "[Desktop Entry]\nType=Application\nName=Reelmark\n"
              "Exec=\"/opt/reel mark/bin/reelmark\" %f\nTerminal=false\n"
              "MimeType=application/x-reelmark-playgroup-document;"
              "application/x-reelmark-reelmark-data;\n");
    const QString package = ReadText(DataHome() + "/mime/packages/reelmark.xml");
    EXPECT_TRUE(package.contains("<mime-type type=\"application/x-reelmark-reelmark-data\">"));
    EXPECT_TRUE(package.contains("<comment>Data File</comment>"));
    EXPECT_TRUE(package.contains("<glob pattern=\"*.mdat\"/>"));
    EXPECT_TRUE(package.contains("<glob pattern=\"*.au2\"/>"));
    EXPECT_TRUE(package.contains("<glob pattern=\"*.playgrp\"/>"));
}

TEST_F(DocManagerExTest, UnregisteringRestoresRegistryAndDataFolderExactly) {
    // Things of other programs that registration and removal must leave alone.
    WriteValue(".txt", QString(), "txtfile");
    WriteValue(".mdat\\OpenWithProgids", "Other.Viewer", QString());
    ASSERT_TRUE(QDir().mkpath(DataHome() + "/applications"));
    QFile other(DataHome() + "/applications/other.desktop");
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("[Desktop Entry]\nName=Other\n");
    other.close();
    const QStringList registryBefore = DumpClassesRoot();
    const QStringList folderBefore = DumpFolder(DataHome());

    for (int round = 0; round < 2; ++round) {
        m_manager.RegisterShellFileTypes(TRUE);
        // Registering at every start rewrites the same entries.
        m_manager.RegisterShellFileTypes(TRUE);
        EXPECT_NE(DumpClassesRoot(), registryBefore);
        EXPECT_NE(DumpFolder(DataHome()), folderBefore);
        EXPECT_TRUE(m_manager.RemoveShellFileTypes());
        EXPECT_EQ(DumpClassesRoot(), registryBefore) << round;
        EXPECT_EQ(DumpFolder(DataHome()), folderBefore) << round;
    }
}

TEST_F(DocManagerExTest, UnregisteringFromAnEmptyDataFolderLeavesItEmpty) {
    m_manager.RegisterShellFileTypes(TRUE);
    EXPECT_TRUE(m_manager.RemoveShellFileTypes());
    EXPECT_EQ(DumpFolder(DataHome()), QStringList());
    EXPECT_EQ(DumpClassesRoot(), QStringList());
}

TEST_F(DocManagerExTest, ExtensionTakenByAnotherProgramStaysItsOwn) {
    m_manager.RegisterShellFileTypes(TRUE);
    WriteValue(".au2", QString(), "Other.Type");
    EXPECT_TRUE(m_manager.RemoveShellFileTypes());
    EXPECT_EQ(ReadValue(".au2"), "Other.Type");
    EXPECT_EQ(ReadValue(".mdat"), "<no key>");
    EXPECT_EQ(ReadValue("Reelmark.Data"), "<no key>");
}

TEST_F(DocManagerExTest, OpeningPicksTheTemplateByWholeExtension) {
    for (const char* name : {"a.au2", "b.MDAT", "c.playgrp", "d.mdat.bak", "e.avi"}) {
        QFile file(WorkPath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir().mkpath(WorkPath("f.mdat")));
    QFile inFolder(WorkPath("f.mdat/plain"));
    ASSERT_TRUE(inFolder.open(QIODevice::WriteOnly));
    inFolder.close();

    for (const char* name : {"a.au2", "b.MDAT", "c.playgrp", "e.avi", "d.mdat.bak", "f.mdat/plain"})
        m_manager.OpenDocumentFile(WorkPath(name));
    // Files no template claims fall to the first template.
    EXPECT_EQ(m_opened, QStringList({"Data:a.au2", "Data:b.MDAT", "Play Group:c.playgrp",
                                     "Vid:e.avi", "Vid:d.mdat.bak", "Vid:plain"}));
}

TEST_F(DocManagerExTest, MissingFileIsReportedAndNotOpened) {
    const QString missing = WorkPath("gone.au2");
    Prompter().ExpectMessageBox("Cannot open the file " + missing + ": it does not exist.", IDOK);
    EXPECT_EQ(m_manager.OpenDocumentFile(missing), nullptr);
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(DocManagerExTest, FileDialogListsEveryExtensionOfEachTemplate) {
    POSITION pos = m_manager.GetFirstDocTemplatePosition();
    m_manager.GetNextDocTemplate(pos);
    m_manager.GetNextDocTemplate(pos);
    CDocTemplate* data = m_manager.GetNextDocTemplate(pos);

    Prompter().AnswerFileDialog({WorkPath("saved")});
    QString name;
    ASSERT_TRUE(m_manager.DoPromptFileName(name, "Save As", OFN_OVERWRITEPROMPT, FALSE, data));
    EXPECT_EQ(name, WorkPath("saved.mdat"));
    ASSERT_EQ(Prompter().FilePrompts().size(), 1u);
    const FileDialogPrompt& prompt = Prompter().FilePrompts()[0];
    EXPECT_EQ(prompt.title, "Save As");
    EXPECT_EQ(prompt.filter,
              "Data Files (*.mdat;*.au2)|*.mdat;*.au2|Video Files|*.avi|Play Group Files "
              "(*.playgrp)|*.playgrp|All Files (*.*)|*.*||");

    Prompter().AnswerFileDialog({});
    EXPECT_FALSE(m_manager.DoPromptFileName(name, "Open", OFN_FILEMUSTEXIST, TRUE, nullptr));
    EXPECT_EQ(Prompter().FilePrompts()[1].filter,
              "Video Files|*.avi|Play Group Files (*.playgrp)|*.playgrp|Data Files "
              "(*.mdat;*.au2)|*.mdat;*.au2|All Files (*.*)|*.*||");
    EXPECT_EQ(Prompter().FilePrompts()[1].defaultExt, "");
}

}  // namespace
