#include "platform/framework/ArchiveException.h"
#include "platform/framework/FileException.h"
#include "testsupport/IsolatedTest.h"
#include "views/AnnotateDoc.h"
#include "views/CloneDrawObject.h"
#include "views/DrawBSpline.h"
#include "views/DrawEllipse.h"
#include "views/DrawLine.h"
#include "views/DrawPolygon.h"
#include "views/DrawRect.h"
#include "views/DrawText.h"
#include "views/tests/ArchiveBytes.h"

#include <QDir>
#include <QFile>

#include <memory>

namespace {

// A serialisable class that is not a drawing object.
class CNotDrawingForTest : public CObject {
    DECLARE_SERIAL(CNotDrawingForTest)

public:
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << m_value;
        else
            ar >> m_value;
    }
    int m_value = 0;
};
IMPLEMENT_SERIAL(CNotDrawingForTest, CObject, 1)

// Answers every message box with its default button and keeps what it was shown, for the
// runs whose messages are not the point.
class AnyPromptAnswerer : public IPrompter {
public:
    AnyPromptAnswerer() : m_previous(AfxSetPrompter(this)) {}
    ~AnyPromptAnswerer() override { AfxSetPrompter(m_previous); }
    int MessageBox(const MessageBoxPrompt& prompt) override {
        m_texts.push_back(prompt.text);
        return MessageBoxDefaultAnswer(prompt.type);
    }
    FileDialogAnswer FileDialog(const FileDialogPrompt&) override { return {}; }
    std::optional<QString> BrowseForFolder(const FolderPrompt&) override { return {}; }
    std::optional<COLORREF> ChooseColor(const ColorPrompt&) override { return {}; }
    const std::vector<QString>& Texts() const { return m_texts; }

private:
    IPrompter* m_previous;
    std::vector<QString> m_texts;
};

class AnnotateDocTest : public IsolatedTest {
protected:
    QString AntPath() const { return WorkPath("clip.ant"); }

    static void Add(CAnnotateDoc& doc, CDrawObject* o, int frame,
                    std::initializer_list<CDoublePoint> points) {
        o->SetFrame(frame);
        int i = 0;
        for (const CDoublePoint& p : points)
            o->SetPoint(i++, p, TRUE, FALSE);
        doc.GetObjectList()->push_back(o);
    }

    // One of every class of types 1-6, and a second line.
    static void FillMixed(CAnnotateDoc& doc) {
        Add(doc, new CDrawLine, -1, {{1, 2}, {3, 4}});
        Add(doc, new CDrawRect, 0, {{5, 6}, {7, 8}});
        Add(doc, new CDrawEllipse, 3, {{9, 10}, {11, 12}});
        Add(doc, new CDrawPolygon, -2, {{0, 0}, {10, 0}, {10, 10}});
        Add(doc, new CDrawBSpline, 7, {{0, 0}, {5, 5}, {10, 0}, {15, 5}});
        auto* text = new CDrawText;
        text->SetText(QStringLiteral("5\u00B0 left"));
        Add(doc, text, -7, {{20, 20}});
        Add(doc, new CDrawLine, 2, {{-1, -2}, {-3, -4}});
    }

    std::vector<int> Types(CAnnotateDoc& doc) {
        std::vector<int> types;
        for (const CDrawObject* o : *doc.GetObjectList())
            types.push_back(o->GetType());
        return types;
    }

    static QString LoadingError(const QString& path, const CException& e) {
        return QStringLiteral(
                   "During annotation loading from %1, the following error "
                   "occurred:\n%2")
            .arg(path, e.ErrorMessage());
    }
};

TEST_F(AnnotateDocTest, SecondObjectOfAClassIsWrittenAsAClassReference) {
    CAnnotateDoc doc;
    Add(doc, new CDrawRect, 4, {{1, 2}, {3, 4}});
    Add(doc, new CDrawRect, -1, {});
    Prompter().ExpectMessageBox(
        QStringLiteral("Annotations successfully saved to file %1.").arg(AntPath()), IDOK);
    EXPECT_EQ(doc.SaveAnnotations(AntPath(), FALSE), 1);

    ArchiveBytes golden;
    golden.U16(2)
        .NewClass("CDrawRect")
        .Base(4, 0xFF, 0xFF00, 0xFFFFFF, 3, 0, 1)
        .U16(2)
        .F64(1)
        .F64(2)
        .F64(3)
        .F64(4)
        .U16(0x8001)  // The class was the archive's first entry.
        .Base(-1, 0xFF, 0xFF00, 0xFFFFFF, 3, 0, 1)
        .U16(0);
    EXPECT_EQ(ReadBytes(AntPath()), golden.Bytes());
    EXPECT_FALSE(QFile::exists(AntPath() + ".saving"));
}

TEST_F(AnnotateDocTest, MixedListRoundTripAndLoadingTwiceDoubles) {
    CAnnotateDoc doc;
    FillMixed(doc);
    EXPECT_EQ(doc.SaveAnnotations(AntPath(), TRUE), 1);

    CAnnotateDoc back;
    EXPECT_EQ(back.LoadAnnotations(AntPath(), FALSE), 1);
    const std::vector<int> once = {1, 2, 3, 4, 5, 6, 1};
    EXPECT_EQ(Types(back), once);
    const CDrawObjectList& list = *back.GetObjectList();
    EXPECT_EQ(list[3]->GetPoint(2, FALSE), CDoublePoint(10, 10));
    EXPECT_EQ(list[6]->GetFrame(), 2);
    EXPECT_EQ(static_cast<CDrawText*>(list[5])->GetText(), QStringLiteral("5\u00B0 left"));
    EXPECT_FALSE(back.IsModified());
    EXPECT_EQ(ReadBytes(AntPath()).count('\xB0'), 1);  // The degree sign is one byte.

    EXPECT_EQ(back.LoadAnnotations(AntPath(), FALSE), 1);
    std::vector<int> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(Types(back), twice);
}

// The framework makes the document from its class record and opens the file into it: the
// list must be read once, not by the framework's reading and then again by the loading.
TEST_F(AnnotateDocTest, OpeningThroughTheFrameworkLoadsTheFileOnce) {
    {
        CAnnotateDoc doc;
        FillMixed(doc);
        ASSERT_EQ(doc.SaveAnnotations(AntPath(), TRUE), 1);
    }
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CAnnotateDoc)->CreateObject());
    ASSERT_TRUE(made && made->IsKindOf(RUNTIME_CLASS(CDocument)));
    auto* doc = static_cast<CAnnotateDoc*>(made.get());
    CDocument* base = doc;
    EXPECT_FALSE(base->OnNewDocument());

    EXPECT_TRUE(base->OnOpenDocument(AntPath()));
    EXPECT_EQ(Types(*doc), (std::vector<int>{1, 2, 3, 4, 5, 6, 1}));
    EXPECT_FALSE(base->IsModified());
    EXPECT_TRUE(Prompter().Prompts().empty());

    // The framework asks the document, which also asks its objects.
    (*doc->GetObjectList())[2]->SetFrame(9);
    EXPECT_TRUE(base->IsModified());

    // The framework's save writes the very bytes of the annotation file and leaves nothing
    // modified; opening that file gives the list back once more.
    const QString copy = WorkPath("copy.ant");
    ASSERT_TRUE(base->OnSaveDocument(copy));
    EXPECT_FALSE(base->IsModified());
    ASSERT_EQ(doc->SaveAnnotations(AntPath(), TRUE), 1);
    EXPECT_EQ(ReadBytes(copy), ReadBytes(AntPath()));
    CAnnotateDoc reopened;
    EXPECT_TRUE(reopened.OnOpenDocument(copy));
    EXPECT_EQ(reopened.GetObjectList()->size(), 7u);
    EXPECT_EQ((*reopened.GetObjectList())[2]->GetFrame(), 9);

    // Failures answer FALSE with the loading's own messages and leave everything unmodified.
    CAnnotateDoc missing;
    Prompter().ExpectMessageBox(QStringLiteral("Could not open annotations file."), IDOK);
    EXPECT_FALSE(missing.OnOpenDocument(WorkPath("none.ant")));
    EXPECT_FALSE(missing.IsModified());
    const QString cut = WorkPath("cut.ant");
    WriteBytes(cut, ReadBytes(AntPath()).left(60));
    CAnnotateDoc partial;
    AnyPromptAnswerer answerer;
    EXPECT_FALSE(partial.OnOpenDocument(cut));
    ASSERT_EQ(answerer.Texts().size(), 1u);
    EXPECT_TRUE(answerer.Texts()[0].startsWith(
        QStringLiteral("During annotation loading from %1, the following error occurred:\n")
            .arg(cut)));
    EXPECT_FALSE(partial.IsModified());
}

TEST_F(AnnotateDocTest, UnknownClassKeepsTheObjectsBeforeIt) {
    // A line, then a shape of a class this program does not have, then a rectangle.
    ArchiveBytes b;
    b.U16(3)
        .NewClass("CDrawLine")
        .Base(-1, 0xFF, 0xFF00, 0xFFFFFF, 3, 0, 1)
        .U16(0)
        .I32(1)
        .I32(0)
        .NewClass("CDrawSpiral")
        .Base(-1, 0xFF, 0xFF00, 0xFFFFFF, 3, 0, 1)
        .U16(0)
        .NewClass("CDrawRect")
        .Base(-1, 0xFF, 0xFF00, 0xFFFFFF, 3, 0, 1)
        .U16(0);
    WriteBytes(AntPath(), b.Bytes());
    CAnnotateDoc doc;
    Prompter().ExpectMessageBox(
        LoadingError(AntPath(), CArchiveException(CArchiveException::badClass, AntPath())), IDOK);
    EXPECT_EQ(doc.LoadAnnotations(AntPath(), TRUE), 0);
    EXPECT_EQ(Types(doc), std::vector<int>{1});
    EXPECT_EQ(Prompter().Prompts().back().caption, AfxGetAppTitle());
    EXPECT_EQ(Prompter().Prompts().back().type, MB_OK | MB_ICONEXCLAMATION);
}

TEST_F(AnnotateDocTest, NewerSchemaIsRefusedWithItsMessage) {
    ArchiveBytes b;
    b.U16(2)
        .NewClass("CDrawRect")
        .Base(-1, 0xFF, 0xFF00, 0xFFFFFF, 3, 0, 1)
        .U16(0)
        .NewClass("CDrawLine", 4)
        .Base(-1, 0xFF, 0xFF00, 0xFFFFFF, 3, 0, 1)
        .U16(0)
        .I32(1)
        .I32(0);
    WriteBytes(AntPath(), b.Bytes());
    CAnnotateDoc doc;
    Prompter().ExpectMessageBox(QStringLiteral("The annotations file contains objects from a "
                                               "newer version of software.\nUnable to load "
                                               "objects from file %1.\n")
                                    .arg(AntPath()),
                                IDOK);
    Prompter().ExpectMessageBox(
        LoadingError(AntPath(), CArchiveException(CArchiveException::badSchema, AntPath())), IDOK);
    EXPECT_EQ(doc.LoadAnnotations(AntPath(), FALSE), 0);
    EXPECT_EQ(Types(doc), std::vector<int>{2});
    ASSERT_EQ(Prompter().Prompts().size(), 2u);
    EXPECT_EQ(Prompter().Prompts()[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(Prompter().Prompts()[0].type, MB_OK | MB_ICONEXCLAMATION);
}

TEST_F(AnnotateDocTest, ElementsThatAreNotDrawingObjectsAreDropped) {
    // A rectangle, a null element, a foreign object, a second mention of the rectangle, and a
    // line.
    ArchiveBytes b;
    b.U16(5)
        .NewClass("CDrawRect")  // class 1, object 2
        .Base(-1, 0xFF, 0xFF00, 0xFFFFFF, 3, 0, 1)
        .U16(0)
        .U16(0)
        .NewClass("CNotDrawingForTest", 1)  // class 3, object 4
        .I32(42)
        .U16(2)
        .NewClass("CDrawLine")
        .Base(-1, 0xFF, 0xFF00, 0xFFFFFF, 3, 0, 1)
        .U16(0)
        .I32(0)
        .I32(0);
    WriteBytes(AntPath(), b.Bytes());
    CAnnotateDoc doc;
    Prompter().ExpectMessageBox(QStringLiteral("An error was encountered while loading "
                                               "annotations from file.\nFile %1 may be corrupted.")
                                    .arg(AntPath()),
                                IDOK);
    EXPECT_EQ(doc.LoadAnnotations(AntPath(), FALSE), 1);
    EXPECT_EQ(Types(doc), (std::vector<int>{2, 1}));
    EXPECT_EQ(Prompter().Prompts().back().caption, QStringLiteral("Read Error"));
}

TEST_F(AnnotateDocTest, FileCutAtEveryOffsetNeverCrashes) {
    {
        CAnnotateDoc doc;
        FillMixed(doc);
        ASSERT_EQ(doc.SaveAnnotations(AntPath(), TRUE), 1);
    }
    const QByteArray whole = ReadBytes(AntPath());
    AnyPromptAnswerer answerer;
    const QString cut = WorkPath("cut.ant");
    size_t previous = 0;
    for (qsizetype length = 0; length < whole.size(); ++length) {
        WriteBytes(cut, whole.left(length));
        CAnnotateDoc doc;
        EXPECT_EQ(doc.LoadAnnotations(cut, TRUE), 0) << length;
        const size_t loaded = doc.GetObjectList()->size();
        EXPECT_GE(loaded, previous) << length;  // A longer prefix never yields fewer objects.
        EXPECT_LT(loaded, 7u) << length;
        previous = loaded;
    }
    EXPECT_EQ(answerer.Texts().size(), static_cast<size_t>(whole.size()));
}

TEST_F(AnnotateDocTest, SavingAnEmptyListRemovesTheFile) {
    WriteBytes(AntPath(), "old");
    CAnnotateDoc doc;
    Prompter().ExpectMessageBox(
        QStringLiteral("No annotations to save.  Annotations file removed."), IDOK);
    EXPECT_EQ(doc.SaveAnnotations(AntPath(), TRUE), 1);
    EXPECT_FALSE(QFile::exists(AntPath()));
    Prompter().ExpectMessageBox(QStringLiteral("No annotations to save."), IDOK);
    EXPECT_EQ(doc.SaveAnnotations(AntPath(), TRUE), 1);
    EXPECT_EQ(Prompter().Prompts().back().type, MB_OK | MB_ICONINFORMATION);
}

TEST_F(AnnotateDocTest, FailedSavesReturnZeroAndKeepTheOldFile) {
    CAnnotateDoc doc;
    FillMixed(doc);
    WriteBytes(AntPath(), "old contents");

    // The temporary name cannot be made.
    ASSERT_TRUE(QDir().mkdir(AntPath() + ".saving"));
    Prompter().ExpectMessageBox(
        QStringLiteral("Unable to open file for writing: %1.").arg(AntPath()), IDOK);
    EXPECT_EQ(doc.SaveAnnotations(AntPath(), FALSE), 0);
    EXPECT_EQ(doc.SaveAnnotations(AntPath(), TRUE), 0);  // Quiet: no message.
    EXPECT_EQ(ReadBytes(AntPath()), QByteArray("old contents"));
    ASSERT_TRUE(QDir().rmdir(AntPath() + ".saving"));

    // The finished file cannot take the place of what is there.
    const QString folder = WorkPath("taken.ant");
    ASSERT_TRUE(QDir().mkdir(folder));
    ASSERT_TRUE(QDir().mkdir(folder + "/inside"));
    AnyPromptAnswerer answerer;
    EXPECT_EQ(doc.SaveAnnotations(folder, TRUE), 0);
    ASSERT_EQ(answerer.Texts().size(), 1u);
    EXPECT_TRUE(answerer.Texts()[0].startsWith(
        QStringLiteral("During annotation saving to %1, the following error occurred:\n")
            .arg(folder)));
    EXPECT_TRUE(QFileInfo(folder + "/inside").isDir());
    EXPECT_FALSE(QFile::exists(folder + ".saving"));
}

TEST_F(AnnotateDocTest, MissingFileLoadsNothing) {
    CAnnotateDoc doc;
    Prompter().ExpectMessageBox(QStringLiteral("Could not open annotations file."), IDOK);
    EXPECT_EQ(doc.LoadAnnotations(WorkPath("none.ant"), FALSE), 0);
    EXPECT_EQ(doc.LoadAnnotations(WorkPath("none.ant"), TRUE), 0);
    EXPECT_TRUE(doc.GetObjectList()->empty());
}

TEST_F(AnnotateDocTest, PromptBeforeClosing) {
    const QString prompt = QStringLiteral(
        "Annotations have been modified for %1.\nWould you like to save your changes before "
        "closing?");
    CAnnotateDoc doc;
    doc.SetPathName(WorkPath("run.avi"));
    EXPECT_EQ(doc.PromptSaveModified(), 1);  // Nothing modified: no question.

    FillMixed(doc);
    Prompter().ExpectMessageBox(prompt.arg(WorkPath("run.avi")), IDCANCEL);
    EXPECT_EQ(doc.PromptSaveModified(), 0);
    Prompter().ExpectMessageBox(prompt.arg(WorkPath("run.avi")), IDNO);
    EXPECT_EQ(doc.PromptSaveModified(), 1);
    EXPECT_FALSE(QFile::exists(WorkPath("run.ant")));

    doc.SetName(WorkPath("named.v1.avi"));
    Prompter().ExpectMessageBox(prompt.arg(WorkPath("named.v1.avi")), IDYES);
    Prompter().ExpectMessageBox(
        QStringLiteral("Annotations successfully saved to file %1.").arg(WorkPath("named.v1.ant")),
        IDOK);
    EXPECT_EQ(doc.PromptSaveModified(), 1);
    EXPECT_TRUE(QFile::exists(WorkPath("named.v1.ant")));
    EXPECT_EQ(Prompter().Prompts()[0].type, MB_YESNOCANCEL | MB_ICONINFORMATION);

    // A save that fails keeps the window open. (Writing cleared the objects' marks.)
    doc.SetModifiedFlag();
    ASSERT_TRUE(QDir().mkdir(WorkPath("named.v1.ant.saving")));
    Prompter().ExpectMessageBox(prompt.arg(WorkPath("named.v1.avi")), IDYES);
    Prompter().ExpectMessageBox(
        QStringLiteral("Unable to open file for writing: %1.").arg(WorkPath("named.v1.ant")), IDOK);
    EXPECT_EQ(doc.PromptSaveModified(), 0);
}

TEST_F(AnnotateDocTest, DefaultAnnotationPath) {
    struct Case {
        const char* name;
        const char* path;
    };
    const Case cases[] = {
        {"/data/run.avi", "/data/run.ant"},
        {"/data/run.v2.raw", "/data/run.v2.ant"},
        {"/data.v2/run", "/data.v2/run.ant"},
        {"C:\\data.v2\\run", "C:\\data.v2\\run.ant"},
        {"clip", "clip.ant"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CAnnotateDoc::DefaultAnnotationPath(c.name), QString::fromUtf8(c.path));
}

TEST_F(AnnotateDocTest, ListOperations) {
    CAnnotateDoc doc;
    Add(doc, new CDrawRect, 3, {{0, 0}, {1, 1}});   // 0
    Add(doc, new CDrawRect, -1, {{0, 0}, {1, 1}});  // 1
    Add(doc, new CDrawLine, 4, {{0, 0}, {1, 1}});   // 2
    Add(doc, new CDrawLine, -5, {{0, 0}, {1, 1}});  // 3
    Add(doc, new CDrawRect, 3, {{0, 0}, {1, 1}});   // 4

    int position = -1;
    std::vector<int> forward;
    while (doc.FindNextInFrame(3, &position))
        forward.push_back(position);
    EXPECT_EQ(forward, (std::vector<int>{0, 1, 3, 4}));
    position = 5;
    std::vector<int> backward;
    while (doc.FindPreviousInFrame(4, &position))
        backward.push_back(position);
    EXPECT_EQ(backward, (std::vector<int>{3, 2, 1}));

    int selectedAt = -1;
    EXPECT_EQ(doc.GetFirstSelected(&selectedAt), nullptr);
    (*doc.GetObjectList())[2]->SetSelected(TRUE);
    (*doc.GetObjectList())[4]->SetSelected(TRUE);
    EXPECT_EQ(doc.GetFirstSelected(&selectedAt), (*doc.GetObjectList())[2]);
    EXPECT_EQ(selectedAt, 2);

    doc.DuplicateSelected();
    ASSERT_EQ(doc.GetObjectList()->size(), 7u);
    const CDrawObjectList& list = *doc.GetObjectList();
    EXPECT_STREQ(list[5]->GetRuntimeClass()->m_lpszClassName, "CDrawLine");
    EXPECT_STREQ(list[6]->GetRuntimeClass()->m_lpszClassName, "CDrawRect");
    EXPECT_EQ(list[5]->GetPoint(1, FALSE), CDoublePoint(11, 11));
    EXPECT_EQ(list[5]->GetFrame(), 4);
    for (size_t i = 0; i < list.size(); ++i)
        EXPECT_EQ(list[i]->IsSelected() != 0, i >= 5) << i;

    doc.ClearAllModified();
    doc.DeleteObjectsOfFrame(3);  // Exactly 3: objects on all frames stay.
    EXPECT_EQ(Types(doc), (std::vector<int>{2, 1, 1, 1}));
    EXPECT_TRUE(doc.IsModified());
    doc.DeleteSelectedObjects();  // The line's copy.
    EXPECT_EQ(Types(doc), (std::vector<int>{2, 1, 1}));
    doc.SelectAll(TRUE);
    doc.DeleteSelectedObjects();
    EXPECT_TRUE(doc.GetObjectList()->empty());
}

TEST_F(AnnotateDocTest, ExactlyMaxShortObjectsUseTheLongCount) {
    CAnnotateDoc doc;
    for (int i = 0; i < 0xFFFF; ++i)
        doc.GetObjectList()->push_back(new CDrawRect);
    ASSERT_EQ(doc.SaveAnnotations(AntPath(), TRUE), 1);
    const QByteArray bytes = ReadBytes(AntPath());
    EXPECT_EQ(bytes.left(6), QByteArray("\xFF\xFF\xFF\xFF\x00\x00", 6));
    CAnnotateDoc back;
    EXPECT_EQ(back.LoadAnnotations(AntPath(), TRUE), 1);
    EXPECT_EQ(back.GetObjectList()->size(), 0xFFFFu);
}

TEST(CloneDrawObjectTest, ClonesKeepClassAndValues) {
    CDrawBSpline spline;
    spline.SetPoint(0, {1, 2}, TRUE, FALSE);
    spline.SetClosed(TRUE);
    std::unique_ptr<CDrawObject> copy(CloneDrawObject(&spline));
    ASSERT_TRUE(copy);
    EXPECT_STREQ(copy->GetRuntimeClass()->m_lpszClassName, "CDrawBSpline");
    EXPECT_EQ(static_cast<CDrawPolygon*>(copy.get())->GetClosed(), 1);
    EXPECT_EQ(copy->GetPoint(0, FALSE), CDoublePoint(1, 2));

    CDrawText text;
    text.SetText(QStringLiteral("note"));
    text.SetFont(QStringLiteral("Courier New"), 30, 0, TRUE, FALSE, FALSE, FALSE);
    std::unique_ptr<CDrawObject> textCopy(CloneDrawObject(&text));
    ASSERT_TRUE(textCopy);
    EXPECT_EQ(static_cast<CDrawText*>(textCopy.get())->GetText(), QStringLiteral("note"));
    int height = 0;
    static_cast<CDrawText*>(textCopy.get())
        ->GetFont(nullptr, &height, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(height, 30);
    EXPECT_EQ(CloneDrawObject(nullptr), nullptr);
}

}  // namespace
