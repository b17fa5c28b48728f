#include "frames/MovieAdapter.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/DC.h"
#include "platform/framework/MessageMap.h"
#include "platform/framework/ResourceChain.h"
#include "platform/registry/Registry.h"
#include "platform/wintypes/WinMessages.h"
#include "resources/DrawPropsTemplates.h"
#include "testsupport/IsolatedTest.h"
#include "views/AnnotateDoc.h"
#include "views/AnnotateView.h"
#include "views/CalipersPropsDlg.h"
#include "views/DrawArc.h"
#include "views/DrawBSpline.h"
#include "views/DrawCalipers.h"
#include "views/DrawDimAngle.h"
#include "views/DrawDimLength.h"
#include "views/DrawEllipse.h"
#include "views/DrawInfoPropsDlg.h"
#include "views/DrawLine.h"
#include "views/DrawPolygon.h"
#include "views/DrawPropsDlg.h"
#include "views/DrawRect.h"
#include "views/DrawText.h"
#include "views/JumpNotePropsDlg.h"
#include "views/LengthCalibrationPropsDlg.h"
#include "views/MeasurePointNote.h"
#include "views/SliderPropsDlg.h"
#include "views/ZoomTransform.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QTimer>

#include <memory>
#include <typeinfo>
#include <vector>

namespace {

using V = CAnnotateView;

// A menu item that remembers what its update handler made of it.
class ProbeCmdUI : public CCmdUI {
public:
    void Enable(BOOL on) override { enabled = on; }
    void SetCheck(int check) override { checked = check; }
    BOOL enabled = -1;
    int checked = -1;
};

class AnnotateViewTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        m_view = std::make_unique<CAnnotateView>();
        m_view->SetDocument(&m_doc);
        // Image and window pixels coincide: scale 1, no pan, a 200 x 200 image.
        m_transform.SetScale(1.0);
        m_transform.SetOffset(0.0, 0.0);
        m_transform.SetImageSize(200.0, 200.0);
        m_view->SetTransform(&m_transform);
    }

    CDrawObjectList& List() { return *m_doc.GetObjectList(); }
    void Press(int x, int y, UINT flags = MK_LBUTTON) { m_view->OnLButtonDown(flags, {x, y}); }
    void Move(int x, int y) { m_view->OnMouseMove(MK_LBUTTON, {x, y}); }
    void Release(int x, int y) { m_view->OnLButtonUp(0, {x, y}); }
    void Drag(CPoint from, CPoint to) {
        Press(from.x, from.y);
        Move(to.x, to.y);
        Release(to.x, to.y);
    }
    BOOL Command(UINT number) {
        return m_view->OnCmdMsg(V::kCommandBase + number, CN_COMMAND, nullptr, nullptr);
    }
    ProbeCmdUI Update(UINT number) {
        ProbeCmdUI ui;
        ui.m_nID = V::kCommandBase + number;
        m_view->OnCmdMsg(ui.m_nID, CN_UPDATE_COMMAND_UI, &ui, nullptr);
        return ui;
    }
    CDrawObject* AddLine(CDoublePoint a, CDoublePoint b, int frame) {
        auto* line = new CDrawLine;
        line->SetPoint(0, a, TRUE, FALSE);
        line->SetPoint(1, b, TRUE, FALSE);
        line->SetFrame(frame);
        List().push_back(line);
        return line;
    }

    CAnnotateDoc m_doc;
    CZoomTransform m_transform;
    std::unique_ptr<CAnnotateView> m_view;
};

TEST_F(AnnotateViewTest, DragToolsCreateEachShape) {
    struct Case {
        int tool;
        const CRuntimeClass* cls;
        int type;
        BOOL filled;
    };
    const Case cases[] = {
        {V::kLine, RUNTIME_CLASS(CDrawLine), 1, 1},
        {V::kRect, RUNTIME_CLASS(CDrawRect), 2, 0},
        {V::kFilledRect, RUNTIME_CLASS(CDrawRect), 2, 1},
        {V::kEllipse, RUNTIME_CLASS(CDrawEllipse), 3, 0},
        {V::kFilledEllipse, RUNTIME_CLASS(CDrawEllipse), 3, 1},
        {V::kLengthDimension, RUNTIME_CLASS(CDrawDimLength), 7, 0},
    };
    m_view->SetCurrentFrame(4);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        m_view->SetTool(c.tool);
        Drag({10, 10}, {50, 40});
        ASSERT_FALSE(List().empty());
        CDrawObject* o = List().back();
        EXPECT_EQ(o->GetRuntimeClass(), c.cls);
        EXPECT_EQ(o->GetType(), c.type);
        if (c.type != 1) {
            EXPECT_EQ(o->GetFilled(), c.filled);
        }
        EXPECT_EQ(o->GetFrame(), 4);
        EXPECT_EQ(o->GetPoint(0, FALSE), CDoublePoint(10, 10));
        EXPECT_EQ(o->GetPoint(1, FALSE), CDoublePoint(50, 40));
        EXPECT_TRUE(o->IsSelected());
        EXPECT_EQ(o->GetLineColor(), 0x00FF00u);
        EXPECT_EQ(o->GetFillColor(), 0x00FFFFu);
        EXPECT_EQ(o->GetTextColor(), 0x0000FFu);
        EXPECT_EQ(m_view->GetTool(), V::kSelect);
        EXPECT_EQ(m_view->GetCurrentObject(), nullptr);
        EXPECT_FALSE(m_view->IsDragging());
    }
    EXPECT_EQ(List().size(), std::size(cases));
    int selected = 0;
    for (CDrawObject* o : List())
        selected += o->IsSelected() ? 1 : 0;
    EXPECT_EQ(selected, 1);
}

TEST_F(AnnotateViewTest, MultiClickToolsBuildVertexByVertex) {
    struct Case {
        int tool;
        const CRuntimeClass* cls;
        bool endsByItself;
    };
    const Case cases[] = {
        {V::kPolygon, RUNTIME_CLASS(CDrawPolygon), false},
        {V::kFilledPolygon, RUNTIME_CLASS(CDrawPolygon), false},
        {V::kCurve, RUNTIME_CLASS(CDrawBSpline), false},
        {V::kClosedCurve, RUNTIME_CLASS(CDrawBSpline), false},
        {V::kAngleDimension, RUNTIME_CLASS(CDrawDimAngle), true},
        {V::kArc, RUNTIME_CLASS(CDrawArc), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tool);
        m_view->SetTool(c.tool);
        Press(10, 10);
        EXPECT_EQ(m_view->GetCurrentObject()->GetPointCount(), 2);
        Move(60, 10);
        Release(60, 10);
        EXPECT_EQ(m_view->GetTool(), c.tool);
        EXPECT_TRUE(m_view->IsDragging());
        Press(60, 10);
        CDrawObject* o = m_view->GetCurrentObject();
        ASSERT_TRUE(o);
        EXPECT_EQ(o->GetPointCount(), 3);
        Move(60, 60);  // The newest point follows the mouse between presses.
        Release(60, 60);
        EXPECT_EQ(o->GetPoint(2, FALSE), CDoublePoint(60, 60));
        if (c.endsByItself) {
            Move(30, 70);
            Press(30, 70);  // Places point 2 and ends.
            Release(30, 70);
            EXPECT_EQ(m_view->GetTool(), V::kSelect);
            EXPECT_EQ(o->GetPointCount(), 3);
            EXPECT_EQ(o->GetPoint(2, FALSE), CDoublePoint(30, 70));
        } else {
            m_view->SetTool(V::kSelect);
        }
        EXPECT_EQ(m_view->GetCurrentObject(), nullptr);
        EXPECT_EQ(o->GetRuntimeClass(), c.cls);
        EXPECT_EQ(o->GetPoint(0, FALSE), CDoublePoint(10, 10));
        EXPECT_EQ(o->GetPoint(1, FALSE), CDoublePoint(60, 10));
    }
    auto* angle = dynamic_cast<CDrawDimAngle*>(List()[4]);
    ASSERT_TRUE(angle);
    angle->UpdateValue();
    // Arms (-50, 0) and (-30, 60) from the vertex (60, 10).
    EXPECT_NEAR(angle->GetValue(), 63.435, 0.01);
    auto* closed = dynamic_cast<CDrawBSpline*>(List()[3]);
    ASSERT_TRUE(closed);
    EXPECT_TRUE(closed->GetClosed());
    EXPECT_FALSE(dynamic_cast<CDrawBSpline*>(List()[2])->GetClosed());
}

TEST_F(AnnotateViewTest, TextToolsPlaceAtOnce) {
    for (int tool : {int(V::kText), int(V::kFilledText)}) {
        SCOPED_TRACE(tool);
        m_view->SetTool(tool);
        Press(20, 30);
        Release(20, 30);
        auto* text = dynamic_cast<CDrawText*>(List().back());
        ASSERT_TRUE(text);
        EXPECT_EQ(text->GetText(), " ");
        EXPECT_EQ(text->GetFilled(), tool == V::kFilledText);
        EXPECT_EQ(text->GetPoint(0, FALSE), CDoublePoint(20, 30));
        QString face;
        int height = 0;
        text->GetFont(&face, &height, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(face, "Arial");
        EXPECT_EQ(height, 18);
        EXPECT_EQ(m_view->GetTool(), V::kSelect);
    }
}

// The text of a text box is typed in the properties dialog a double-click on it opens, and
// the annotation file keeps it.
TEST_F(AnnotateViewTest, TextIsTypedInItsPropertiesAndKeptInTheFile) {
    CResourceModule module;
    module.name = QStringLiteral("properties");
    module.dialogs = DrawPropsTemplates();
    CResourceChain::AddModule(&module);
    m_view->SetTool(V::kText);
    Press(20, 30);
    Release(20, 30);
    auto* text = dynamic_cast<CDrawText*>(List().back());
    ASSERT_TRUE(text);
    // Drawn once, as the window's paint does: the box reaches to the end of the text.
    QImage image(200, 200, QImage::Format_RGB32);
    CDC dc(&image);
    m_view->DrawObjects(&dc, 0, &m_transform);

    bool typed = false;
    QTimer typist;
    typist.setInterval(5);
    QObject::connect(&typist, &QTimer::timeout, [&] {
        auto* dialog =
            dynamic_cast<CDrawPropsDlg*>(CWnd::FromWidget(QApplication::activeModalWidget()));
        if (!dialog)
            return;
        typist.stop();
        auto* field =
            qobject_cast<QLineEdit*>(dialog->GetDlgItem(CDrawPropsDlg::kText)->GetQWidget());
        ASSERT_NE(field, nullptr);
        EXPECT_TRUE(field->isEnabled());
        field->setText(QStringLiteral("Runway 2"));
        typed = true;
        dialog->SendMessage(WM_COMMAND, IDOK);
    });
    typist.start();
    m_view->OnLButtonDblClk(0, {20, 30});
    CResourceChain::RemoveModule(&module);
    ASSERT_TRUE(typed) << "no properties dialog";
    EXPECT_EQ(text->GetText(), "Runway 2");

    const QString path = WorkPath("text.ant");
    ASSERT_EQ(m_doc.SaveAnnotations(path, TRUE), 1);
    CAnnotateDoc reloaded;
    ASSERT_EQ(reloaded.LoadAnnotations(path, TRUE), 1);
    ASSERT_EQ(reloaded.GetObjectList()->size(), 1u);
    auto* loaded = dynamic_cast<CDrawText*>(reloaded.GetObjectList()->front());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->GetText(), "Runway 2");
}

TEST_F(AnnotateViewTest, SelectMoveAndEditPoints) {
    CDrawObject* line = AddLine({10, 10}, {100, 10}, -1);
    CDrawObject* hidden = AddLine({10, 10}, {100, 10}, 9);  // Not on frame 0: never clicked.
    Press(50, 10);
    EXPECT_TRUE(line->IsSelected());
    EXPECT_FALSE(hidden->IsSelected());
    Move(60, 20);
    Release(60, 20);
    EXPECT_EQ(line->GetPoint(0, FALSE), CDoublePoint(20, 20));
    EXPECT_EQ(line->GetPoint(1, FALSE), CDoublePoint(110, 20));
    EXPECT_FALSE(m_view->IsDragging());
    Press(111, 21);  // Within 4 pixels of point 1.
    Move(120, 50);
    Release(125, 55);
    EXPECT_EQ(line->GetPoint(1, FALSE), CDoublePoint(125, 55));
    EXPECT_EQ(line->GetPoint(0, FALSE), CDoublePoint(20, 20));
    Press(180, 180);  // Nothing there: the selection goes.
    Release(180, 180);
    EXPECT_FALSE(line->IsSelected());
    // Shift hands the press to the pan-zoom handling: nothing is selected.
    Press(60, 30, MK_LBUTTON | MK_SHIFT);
    Release(60, 30);
    EXPECT_FALSE(line->IsSelected());
}

TEST_F(AnnotateViewTest, HoverMarksThePointUnderTheMouse) {
    CDrawObject* line = AddLine({10, 10}, {100, 10}, 5);  // Hovering ignores the frame rule.
    m_view->OnMouseMove(0, {99, 11});
    EXPECT_TRUE(line->HasMarkedPoint());
    m_view->OnMouseMove(0, {50, 80});
    EXPECT_FALSE(line->HasMarkedPoint());
}

TEST_F(AnnotateViewTest, KeysMoveInsertAndDelete) {
    auto* triangle = new CDrawPolygon;
    triangle->SetPoint(0, {10, 10}, TRUE, FALSE);
    triangle->SetPoint(1, {90, 10}, TRUE, FALSE);
    triangle->SetPoint(2, {50, 80}, TRUE, FALSE);
    List().push_back(triangle);
    triangle->SetSelected(TRUE);
    struct Step {
        UINT key;
        CDoublePoint expectedFirst;
    };
    const Step steps[] = {
        {VK_LEFT, {9, 10}}, {VK_UP, {9, 9}}, {VK_RIGHT, {10, 9}}, {VK_DOWN, {10, 10}}};
    for (const Step& s : steps) {
        m_view->OnKeyDown(s.key, 1, 0);
        EXPECT_EQ(triangle->GetPoint(0, FALSE), s.expectedFirst) << s.key;
    }
    m_view->OnMouseMove(0, {50, 80});
    m_view->OnKeyDown(VK_DELETE, 1, 0);  // The vertex under the mouse goes; no question.
    ASSERT_EQ(triangle->GetPointCount(), 2);
    EXPECT_EQ(triangle->GetPoint(1, FALSE), CDoublePoint(90, 10));
    m_view->OnMouseMove(0, {50, 40});
    m_view->OnKeyDown(VK_INSERT, 1, 0);
    EXPECT_EQ(triangle->GetPointCount(), 3);
    triangle->RemovePoint(2);
    Prompter().ExpectMessageBox("Delete selected annotation?", IDNO);
    m_view->OnKeyDown(VK_DELETE, 1, 0);
    EXPECT_EQ(List().size(), 1u);
    Prompter().ExpectMessageBox("Delete selected annotation?", IDYES);
    m_view->OnKeyDown(VK_DELETE, 1, 0);
    EXPECT_TRUE(List().empty());
}

TEST_F(AnnotateViewTest, RestackingOrder) {
    struct Case {
        UINT command;
        int selected;
        const char* expected;
    };
    // At frame 3: B (frame 5) is passed over by forward and backward.
    const Case cases[] = {
        {17, 0, "BCAD"}, {18, 0, "BCDA"}, {19, 3, "ABDC"}, {20, 3, "DABC"},
        {17, 3, "ABCD"}, {19, 0, "ABCD"}, {19, 2, "CABD"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.command << " on " << c.selected);
        m_doc.DeleteAllObjects();
        const int frames[] = {-1, 5, -1, -1};
        for (int i = 0; i < 4; ++i) {
            CDrawObject* o = AddLine({0, 0}, {1, 1}, frames[i]);
            o->SetIndex(i);
        }
        List()[c.selected]->SetSelected(TRUE);
        m_view->SetCurrentFrame(3);
        EXPECT_TRUE(Command(c.command));
        QString order;
        for (CDrawObject* o : List())
            order += QChar('A' + o->GetIndex());
        EXPECT_EQ(order, QString::fromLatin1(c.expected));
    }
}

TEST_F(AnnotateViewTest, FrameRuleCommandsAndChecks) {
    CDrawObject* o = AddLine({0, 0}, {10, 10}, -1);
    m_view->SetCurrentFrame(7);
    for (UINT n : {21u, 22u, 23u}) {
        EXPECT_EQ(Update(n).checked, 0) << n;  // No selection: nothing checked.
        Command(n);
    }
    EXPECT_EQ(o->GetFrame(), -1);
    o->SetSelected(TRUE);
    struct Case {
        UINT command;
        int frame;
        int checks[3];
    };
    const Case cases[] = {
        {22, -9, {0, 1, 0}},
        {23, -1, {0, 0, 1}},
        {21, 7, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        Command(c.command);
        EXPECT_EQ(o->GetFrame(), c.frame);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(Update(21 + i).checked, c.checks[i]) << 21 + i;
    }
}

TEST_F(AnnotateViewTest, ToolCommandsAndTheirChecks) {
    struct Case {
        UINT command;
        int tool;
    };
    const Case cases[] = {{0, V::kLine},
                          {1, V::kArc},
                          {2, V::kRect},
                          {7, 7},
                          {11, 11},
                          {30, V::kLengthDimension},
                          {31, V::kAngleDimension},
                          {12, V::kSelect},
                          {34, V::kNoTool}};
    const UINT toolCommands[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 30, 31, 34};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        m_view->SetTool(V::kPolygon);
        Press(10, 10);  // A polygon under way ends with any tool command.
        EXPECT_TRUE(Command(c.command));
        EXPECT_EQ(m_view->GetTool(), c.tool);
        EXPECT_EQ(m_view->GetCurrentObject(), nullptr);
        EXPECT_FALSE(m_view->IsDragging());
        for (UINT other : toolCommands)
            EXPECT_EQ(Update(other).checked, other == c.command ? 1 : 0) << other;
    }
    // With no tool a press goes to the pan-zoom handling.
    const size_t count = List().size();
    Press(30, 30);
    Release(30, 30);
    EXPECT_EQ(List().size(), count);
}

TEST_F(AnnotateViewTest, DuplicateDisplayAndShowCommands) {
    CDrawObject* o = AddLine({0, 0}, {10, 10}, -1);
    EXPECT_EQ(Update(13).enabled, FALSE);
    o->SetSelected(TRUE);
    EXPECT_EQ(Update(13).enabled, TRUE);
    Command(13);
    ASSERT_EQ(List().size(), 2u);
    EXPECT_FALSE(o->IsSelected());
    EXPECT_TRUE(List()[1]->IsSelected());
    EXPECT_EQ(List()[1]->GetPoint(0, FALSE), CDoublePoint(10, 10));

    EXPECT_EQ(Update(28).checked, 1);
    Command(28);
    EXPECT_EQ(Update(28).checked, 0);
    EXPECT_FALSE(o->GetDisplayFlag());
    EXPECT_FALSE(List()[1]->GetDisplayFlag());
    EXPECT_EQ(Update(29).checked, 1);
    Command(29);
    EXPECT_EQ(Update(29).checked, 0);
    EXPECT_FALSE(m_view->AreAnnotationsShown());
    // Hidden annotations take no clicks.
    Press(10, 10);
    EXPECT_FALSE(m_view->IsDragging());
}

TEST_F(AnnotateViewTest, DeleteCommandsAsk) {
    AddLine({0, 0}, {10, 10}, 2);
    AddLine({0, 0}, {10, 10}, -1);
    m_view->SetCurrentFrame(2);
    Prompter().ExpectMessageBox("Delete annotations in the current frame?", IDYES);
    Command(26);
    ASSERT_EQ(List().size(), 1u);
    EXPECT_EQ(List()[0]->GetFrame(), -1);
    Prompter().ExpectMessageBox("Delete all annotations?", IDNO);
    Command(27);
    EXPECT_EQ(List().size(), 1u);
    Prompter().ExpectMessageBox("Delete all annotations?", IDYES);
    Command(27);
    EXPECT_TRUE(List().empty());
    Command(27);  // Nothing to delete: no question.
    EXPECT_EQ(Update(25).enabled, FALSE);
}

TEST_F(AnnotateViewTest, UnknownAndMissingKindsAreRefused) {
    Prompter().ExpectMessageBox("Unrecognized annotation object requested.", IDOK);
    EXPECT_EQ(m_view->CreateObjectOfType(99, 0), nullptr);
    CAnnotateView unbound;
    EXPECT_EQ(unbound.CreateObjectOfType(V::kLine, 0), nullptr);
    EXPECT_FALSE(unbound.OnCmdMsg(V::kCommandBase + 27, CN_COMMAND, nullptr, nullptr));
}

TEST_F(AnnotateViewTest, ColourMessagesChangeDefaultsAndSelection) {
    CDrawObject* o = AddLine({0, 0}, {10, 10}, -1);
    o->SetSelected(TRUE);
    EXPECT_EQ(m_view->OnColourMessage(V::kSetColourMessage, 0x123456, V::kFillColour), 1);
    EXPECT_EQ(o->GetFillColor(), 0x123456u);
    EXPECT_EQ(m_view->GetStyles().fillColour, 0x123456u);
    EXPECT_EQ(m_view->OnColourMessage(V::kSetTargetColourMessage, 0x000042, 0), 1);
    EXPECT_EQ(o->GetLineColor(), 0x000042u);  // The target starts at the line colour.
    EXPECT_EQ(m_view->OnColourMessage(102, 7, 7), 1);
    EXPECT_EQ(m_view->OnColourMessage(106, 7, 7), 0);
}

TEST_F(AnnotateViewTest, MovieAdapterReachesEveryObjectAndLoadedOnes) {
    AddLine({0, 0}, {10, 10}, -1);
    auto* length = new CDrawDimLength;
    List().push_back(length);
    auto adapter = std::make_unique<CMovieAdapter>();
    CMovieAdapter* raw = adapter.get();
    m_view->SetMovieAdapter(std::move(adapter));
    for (CDrawObject* o : List())
        EXPECT_EQ(o->GetOwnerPointer(), raw);
    m_view->SetTool(V::kRect);
    Drag({5, 5}, {20, 20});
    EXPECT_EQ(List().back()->GetOwnerPointer(), raw);

    // Saved and opened again through the annotation commands.
    const QString path = WorkPath("clip.ant");
    Prompter().AnswerFileDialog({path});
    Prompter().ExpectMessageBox(
        QStringLiteral("Annotations successfully saved to file %1.").arg(path), IDOK);
    Command(25);
    ASSERT_TRUE(QFile::exists(path));
    m_view->SetMovieAdapter(nullptr);
    Prompter().ExpectMessageBox("Delete existing annotations?", IDYES);
    Prompter().AnswerFileDialog({path});
    Command(24);
    ASSERT_EQ(List().size(), 3u);
    EXPECT_EQ(List()[1]->GetType(), 7);
    EXPECT_EQ(List()[2]->GetPoint(1, FALSE), CDoublePoint(20, 20));
    EXPECT_EQ(List()[0]->GetOwnerPointer(), nullptr);
    auto second = std::make_unique<CMovieAdapter>();
    raw = second.get();
    m_view->SetMovieAdapter(std::move(second));
    Prompter().ExpectMessageBox("Delete existing annotations?", IDNO);
    Prompter().AnswerFileDialog({path});
    Command(24);  // Appends to what is there.
    ASSERT_EQ(List().size(), 6u);
    for (CDrawObject* o : List())
        EXPECT_EQ(o->GetOwnerPointer(), raw);
    const auto& files = Prompter().FilePrompts();
    ASSERT_FALSE(files.empty());
    EXPECT_EQ(files.back().filter, "Annotation Files (*.ant)|*.ant||");
    EXPECT_EQ(files.back().defaultExt, "ant");
}

TEST_F(AnnotateViewTest, DraggingAMeasurePointsHandleLinksACaliperBetweenPoints) {
    auto* first = static_cast<CMeasurePointNote*>(m_view->AddMeasurePoint(3, {50.0, 100.0}, 1));
    auto* second = static_cast<CMeasurePointNote*>(m_view->AddMeasurePoint(7, {150.0, 100.0}, 1));
    ASSERT_TRUE(first && second);
    // The markers and buttons are placed where they were last drawn.
    QImage image(200, 200, QImage::Format_RGB32);
    CDC dc(&image);
    m_view->DrawObjects(&dc, 3, &m_transform);
    m_view->SetCurrentFrame(3);
    CDrawCalipers::LinkPair a, b;
    first->GetLinkPair(&a.pointId, &a.serial);
    second->GetLinkPair(&b.pointId, &b.serial);

    // From the first point's drag handle (32 pixels above its marker) to the second's marker.
    Press(50, 68);
    EXPECT_EQ(m_view->GetTool(), V::kTrackCaliper);
    Move(120, 90);
    Release(151, 101);
    ASSERT_EQ(List().size(), 3u);
    auto* caliper = dynamic_cast<CDrawCalipers*>(List().front());
    ASSERT_NE(caliper, nullptr);
    EXPECT_EQ(caliper->GetType(), 16);
    EXPECT_EQ(caliper->GetPoint(0, FALSE), CDoublePoint(50.0, 100.0));
    EXPECT_EQ(caliper->GetPoint(1, FALSE), CDoublePoint(150.0, 100.0));
    CDrawCalipers::LinkPair end;
    caliper->GetEndLink(0, &end);
    EXPECT_EQ(end, a);
    caliper->GetEndLink(1, &end);
    EXPECT_EQ(end, b);
    EXPECT_EQ(caliper->GetEndFrame(0), 3);
    EXPECT_EQ(caliper->GetEndFrame(1), 7);
    EXPECT_EQ(m_view->GetTool(), V::kSelect);
    EXPECT_FALSE(m_view->IsDragging());

    // Released where no measure point is: the new caliper goes again.
    m_view->DrawObjects(&dc, 3, &m_transform);
    Press(50, 68);
    ASSERT_EQ(List().size(), 4u);
    Release(100, 180);
    EXPECT_EQ(List().size(), 3u);
    EXPECT_EQ(List().front(), caliper);
}

TEST_F(AnnotateViewTest, SaveGoesBesideTheRecording) {
    m_doc.SetName(WorkPath("run.avi"));
    AddLine({0, 0}, {10, 10}, -1);
    const QString path = WorkPath("run.ant");
    Prompter().ExpectMessageBox(
        QStringLiteral("Annotations successfully saved to file %1.").arg(path), IDOK);
    Command(32);
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(AnnotateViewTest, ObjectsDrawOnTheirFrames) {
    struct Placed {
        int frame;
        int y;
    };
    const Placed placed[] = {{-1, 10}, {4, 30}, {-5, 50}};  // -5: from frame 3 on.
    for (const Placed& p : placed) {
        CDrawObject* o = AddLine({10, double(p.y)}, {90, double(p.y)}, p.frame);
        o->SetLineColor(0x0000FF);
    }
    struct Case {
        int frame;
        bool shown[3];
    };
    const Case cases[] = {
        {0, {true, false, false}}, {2, {true, false, false}}, {3, {true, false, true}},
        {4, {true, true, true}},   {9, {true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::black);
        {
            CDC dc(&image);
            m_view->DrawObjects(&dc, c.frame, &m_transform);
        }
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(image.pixel(50, placed[i].y) == qRgb(255, 0, 0), c.shown[i]) << i;
    }
    Command(29);
    QImage hidden(100, 100, QImage::Format_RGB32);
    hidden.fill(Qt::black);
    {
        CDC dc(&hidden);
        m_view->DrawObjects(&dc, 4, &m_transform);
    }
    EXPECT_EQ(hidden.pixel(50, 10), qRgb(0, 0, 0));
}

TEST_F(AnnotateViewTest, DefaultStylesComeFromTheRegistry) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar\\Vidra OS\\Annotations",
                             KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    RegSetDword(key, "Color Foreground", 0x00112233);
    RegSetDword(key, "Line Thickness", 7);
    RegSetDword(key, "Arrow Tail", 1);
    RegSetDword(key, "Text Font Size", 24);
    RegSetString(key, "Text Face", "Courier");
    // Eight bytes under a number and an over-long face keep their defaults.
    const BYTE eight[8] = {5, 0, 0, 0, 0, 0, 0, 0};
    RegSetValueEx(key, "Line Style", REG_DWORD, eight, sizeof eight);
    RegSetValueEx(key, "Text Bold", REG_DWORD, eight, 2);
    RegCloseKey(key);
    const CAnnotateView::Styles s = CAnnotateView::ReadStyles();
    EXPECT_EQ(s.lineColour, 0x00112233u);
    EXPECT_EQ(s.lineThickness, 7);
    EXPECT_EQ(s.arrowTail, 1);
    EXPECT_EQ(s.arrowHead, 1);
    EXPECT_EQ(s.fontSize, 24);
    EXPECT_EQ(s.fontFace, "Courier");
    EXPECT_EQ(s.lineStyle, 0);
    EXPECT_EQ(s.bold, 0);
    EXPECT_EQ(s.fillColour, 0x00FFFFu);

    ASSERT_EQ(RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Software\\Tolvar\\Vidra OS\\Annotations",
                             KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    RegSetString(key, "Text Face", QString(150, 'x'));
    RegCloseKey(key);
    EXPECT_EQ(CAnnotateView::ReadStyles().fontFace, "Arial");

    CAnnotateView view;
    CAnnotateDoc doc;
    view.SetDocument(&doc);
    auto* line = dynamic_cast<CDrawLine*>(view.CreateObjectOfType(V::kLine, 0));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->GetLineThickness(), 7);
    EXPECT_EQ(line->GetLineColor(), 0x00112233u);
    EXPECT_TRUE(line->GetArrowTail());
}

// Places an object made by a tool on `frame` with its points at (40, 40), (120, 90) and,
// for the shapes of three or more points, (40, 120).
CDrawObject* PlaceByTool(CAnnotateView& view, int tool, int frame) {
    CDrawObject* o = view.CreateObjectOfType(tool, frame);
    if (!o)
        return nullptr;
    const CDoublePoint points[] = {{40.0, 40.0}, {120.0, 90.0}, {40.0, 120.0}};
    const bool three = tool == V::kPolygon || tool == V::kFilledPolygon || tool == V::kCurve ||
                       tool == V::kClosedCurve || tool == V::kAngleDimension || tool == V::kArc;
    for (int i = 0; i < (three ? 3 : 2); ++i)
        o->SetPointInSpace(i, points[i], points[i], TRUE, TRUE);
    if (auto* caliper = dynamic_cast<CDrawCalipers*>(o)) {
        caliper->SetEndFrame(0, frame);
        caliper->SetEndFrame(1, frame);
    }
    o->SetSelected(FALSE);
    return o;
}

TEST_F(AnnotateViewTest, WhatIsDrawnOnEveryFrameIsClickedOnEveryFrame) {
    struct Case {
        const char* name;
        int tool;
        CPoint click;
        bool hit;
    };
    const Case cases[] = {
        {"jump note, on its icon", V::kJumpNote, {15, 40}, true},
        {"slider, in a corner", V::kSlider, {42, 42}, true},
        {"information box", V::kInformation, {80, 60}, true},
        {"measure point, on its marker", V::kMeasurePoint, {40, 40}, true},
        {"caliper between measure points", V::kTrackCaliper, {80, 65}, true},
        {"a line keeps to its own frame", V::kLine, {80, 65}, false},
        {"so does a rectangle", V::kRect, {80, 60}, false},
    };
    QImage image(200, 200, QImage::Format_RGB32);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_doc.DeleteAllObjects();
        CDrawObject* o = PlaceByTool(*m_view, c.tool, 250);
        ASSERT_NE(o, nullptr);
        // Drawn where the user sees it, at frame 3.
        {
            CDC dc(&image);
            m_view->DrawObjects(&dc, 3, &m_transform);
        }
        m_view->SetCurrentFrame(3);
        Press(c.click.x, c.click.y);
        EXPECT_EQ(o->IsSelected() != FALSE, c.hit);
        EXPECT_EQ(m_view->IsDragging() != FALSE, c.hit);
        Release(c.click.x, c.click.y);
    }

    // Where an object of the frame on screen and one of another frame overlap, the click takes
    // the one of this frame, whichever lies on top.
    m_doc.DeleteAllObjects();
    CDrawObject* here = PlaceByTool(*m_view, V::kMeasurePoint, 3);
    CDrawObject* elsewhere = PlaceByTool(*m_view, V::kMeasurePoint, 4);
    ASSERT_TRUE(here && elsewhere);
    {
        CDC dc(&image);
        m_view->DrawObjects(&dc, 3, &m_transform);
    }
    m_view->SetCurrentFrame(3);
    Press(40, 40);
    EXPECT_TRUE(here->IsSelected());
    EXPECT_FALSE(elsewhere->IsSelected());
    Release(40, 40);
}

TEST_F(AnnotateViewTest, JumpNoteDoubleClickedOnAnotherFrameMovesToItsFrame) {
    struct Case {
        const char* name;
        int noteFrame;
        int landsOn;
    };
    const Case cases[] = {
        {"a note of frame 250", 250, 250},
        {"a note of every frame jumps nowhere", -1, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_doc.DeleteAllObjects();
        auto adapter = std::make_unique<CMovieAdapter>();
        CMovieAdapter* movie = adapter.get();
        m_view->SetMovieAdapter(std::move(adapter));
        movie->SetCurrentFrame(3);
        CDrawObject* note = PlaceByTool(*m_view, V::kJumpNote, c.noteFrame);
        ASSERT_NE(note, nullptr);
        QImage image(200, 200, QImage::Format_RGB32);
        {
            CDC dc(&image);
            m_view->DrawObjects(&dc, 3, &m_transform);
        }
        m_view->SetCurrentFrame(3);
        // The icon lies left of the anchor; its double-click opens no dialog.
        m_view->OnLButtonDblClk(0, {15, 40});
        int frame = 0;
        movie->GetCurrentFrame(&frame);
        EXPECT_EQ(frame, c.landsOn);
    }
}

TEST_F(AnnotateViewTest, SelectedJumpNoteIsFramed) {
    CDrawObject* note = PlaceByTool(*m_view, V::kJumpNote, 3);
    ASSERT_NE(note, nullptr);
    const auto haloPixels = [&](BOOL selected) {
        note->SetSelected(selected);
        QImage image(200, 200, QImage::Format_RGB32);
        image.fill(Qt::black);
        {
            CDC dc(&image);
            m_view->DrawObjects(&dc, 3, &m_transform);
        }
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixel(x, y) == qRgb(0xFE, 0xFE, 0x00) ? 1 : 0;
        return count;
    };
    EXPECT_EQ(haloPixels(FALSE), 0);
    // A ring around the label: above and below the text's line, and beside its start.
    EXPECT_GT(haloPixels(TRUE), 100);
}

TEST_F(AnnotateViewTest, DoubleClickOpensTheKindsPropertiesDialog) {
    struct Case {
        int tool;
        int type;
        UINT dialogTemplate;
        const std::type_info& dialog;
    };
    const Case cases[] = {
        {V::kLine, 1, 324, typeid(CDrawPropsDlg)},
        {V::kRect, 2, 324, typeid(CDrawPropsDlg)},
        {V::kFilledEllipse, 3, 324, typeid(CDrawPropsDlg)},
        {V::kPolygon, 4, 324, typeid(CDrawPropsDlg)},
        {V::kCurve, 5, 324, typeid(CDrawPropsDlg)},
        {V::kText, 6, 324, typeid(CDrawPropsDlg)},
        {V::kLengthDimension, 7, 324, typeid(CDrawPropsDlg)},
        {V::kAngleDimension, 8, 324, typeid(CDrawPropsDlg)},
        {V::kArc, 9, 324, typeid(CDrawPropsDlg)},
        {V::kCaliper, 10, 324, typeid(CCalipersPropsDlg)},
        {V::kLengthCalibration, 11, 386, typeid(CLengthCalibrationPropsDlg)},
        {V::kJumpNote, 12, 30104, typeid(CJumpNotePropsDlg)},
        {V::kSlider, 13, 30106, typeid(CSliderPropsDlg)},
        {V::kInformation, 14, 324, typeid(CDrawInfoPropsDlg)},
        {V::kMeasurePoint, 15, 30104, typeid(CJumpNotePropsDlg)},
    };
    CResourceModule templates;
    templates.name = QStringLiteral("properties");
    templates.dialogs = DrawPropsTemplates();
    CResourceChain::AddModule(&templates);
    QImage image(200, 200, QImage::Format_RGB32);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        m_doc.DeleteAllObjects();
        CDrawObject* o = PlaceByTool(*m_view, c.tool, 3);
        ASSERT_NE(o, nullptr);
        ASSERT_EQ(o->GetType(), c.type);
        {
            CDC dc(&image);
            m_view->DrawObjects(&dc, 3, &m_transform);
        }
        m_view->SetCurrentFrame(3);
        m_view->SetTool(V::kSelect);
        UINT shownTemplate = 0;
        const std::type_info* shownClass = nullptr;
        QTimer answer;
        answer.setSingleShot(true);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* dialog = dynamic_cast<CDialog*>(
                CWnd::FromWidgetPermanent(QApplication::activeModalWidget()));
            if (!dialog)
                return;
            shownTemplate = dialog->GetTemplateID();
            shownClass = &typeid(*dialog);
            dialog->EndDialog(IDCANCEL);
        });
        answer.start(0);
        // On its first point, which every kind answers.
        m_view->OnLButtonDblClk(0, {40, 40});
        EXPECT_EQ(shownTemplate, c.dialogTemplate);
        ASSERT_NE(shownClass, nullptr);
        EXPECT_TRUE(*shownClass == c.dialog) << shownClass->name();
    }
    CResourceChain::RemoveModule(&templates);
}

}  // namespace
