#include "platform/framework/ArchiveException.h"
#include "platform/framework/DC.h"
#include "testsupport/IsolatedTest.h"
#include "views/DrawBSpline.h"
#include "views/DrawEllipse.h"
#include "views/DrawLine.h"
#include "views/DrawObjectTypes.h"
#include "views/DrawPolygon.h"
#include "views/DrawRect.h"
#include "views/DrawText.h"
#include "views/ZoomTransform.h"
#include "views/tests/ArchiveBytes.h"

#include <QImage>

#include <climits>
#include <limits>

#include <functional>
#include <memory>
#include <vector>

namespace {

class DrawObjectArchiveTest : public IsolatedTest {
protected:
    QString Path() const { return WorkPath("object.bin"); }
};

// Every shape gets the same base values so that the golden records differ only where the
// shapes do.
void FillBase(CDrawObject& o) {
    o.SetFrame(-7);
    o.SetLineColor(0x00123456);
    o.SetFillColor(0x00ABCDEF);
    o.SetTextColor(0x00000080);
    o.SetLineThickness(5);
    o.SetLineStyle(2);
    o.SetFilled(FALSE);
    o.SetPoint(0, {1.5, -2.25}, TRUE, FALSE);
    o.SetPoint(1, {1e6, 0.1}, TRUE, FALSE);
}

ArchiveBytes GoldenBase(const char* className) {
    ArchiveBytes b;
    b.NewClass(className)
        .Base(-7, 0x00123456, 0x00ABCDEF, 0x00000080, 5, 2, 0)
        .U16(2)
        .F64(1.5)
        .F64(-2.25)
        .F64(1e6)
        .F64(0.1);
    return b;
}

void ExpectBase(const CDrawObject& o) {
    EXPECT_EQ(o.GetFrame(), -7);
    EXPECT_EQ(o.GetLineColor(), 0x00123456u);
    EXPECT_EQ(o.GetFillColor(), 0x00ABCDEFu);
    EXPECT_EQ(o.GetTextColor(), 0x00000080u);
    EXPECT_EQ(o.GetLineThickness(), 5);
    EXPECT_EQ(o.GetLineStyle(), 2);
    EXPECT_EQ(o.GetFilled(), 0);
    ASSERT_EQ(o.GetPointCount(), 2);
    EXPECT_EQ(o.GetPoint(0, FALSE).x, 1.5);
    EXPECT_EQ(o.GetPoint(0, FALSE).y, -2.25);
    EXPECT_EQ(o.GetPoint(1, FALSE).x, 1e6);
    EXPECT_EQ(o.GetPoint(1, FALSE).y, 0.1);
    EXPECT_FALSE(o.IsModified());
    EXPECT_FALSE(o.HasMarkedPoint());
}

struct GoldenCase {
    const char* className;
    int type;
    std::function<std::unique_ptr<CDrawObject>()> make;
    std::function<void(ArchiveBytes&)> tail;
    std::function<void(const CDrawObject&)> check;
};

std::vector<GoldenCase> GoldenCases() {
    return {
        {"CDrawLine", 1,
         [] {
             auto line = std::make_unique<CDrawLine>();
             FillBase(*line);
             line->SetArrowHead(FALSE);
             line->SetArrowTail(TRUE);
             return std::unique_ptr<CDrawObject>(std::move(line));
         },
         [](ArchiveBytes& b) { b.I32(0).I32(1); },
         [](const CDrawObject& o) {
             const auto& line = static_cast<const CDrawLine&>(o);
             EXPECT_EQ(line.GetArrowHead(), 0);
             EXPECT_EQ(line.GetArrowTail(), 1);
         }},
        {"CDrawRect", 2,
         [] {
             auto o = std::make_unique<CDrawRect>();
             FillBase(*o);
             return std::unique_ptr<CDrawObject>(std::move(o));
         },
         [](ArchiveBytes&) {}, [](const CDrawObject&) {}},
        {"CDrawEllipse", 3,
         [] {
             auto o = std::make_unique<CDrawEllipse>();
             FillBase(*o);
             return std::unique_ptr<CDrawObject>(std::move(o));
         },
         [](ArchiveBytes&) {}, [](const CDrawObject&) {}},
        {"CDrawPolygon", 4,
         [] {
             auto o = std::make_unique<CDrawPolygon>();
             FillBase(*o);
             o->SetClosed(FALSE);
             return std::unique_ptr<CDrawObject>(std::move(o));
         },
         [](ArchiveBytes& b) { b.I32(0); },
         [](const CDrawObject& o) {
             EXPECT_EQ(static_cast<const CDrawPolygon&>(o).GetClosed(), 0);
         }},
        {"CDrawBSpline", 5,
         [] {
             auto o = std::make_unique<CDrawBSpline>();
             FillBase(*o);
             o->SetClosed(TRUE);
             return std::unique_ptr<CDrawObject>(std::move(o));
         },
         [](ArchiveBytes& b) { b.I32(1); },
         [](const CDrawObject& o) {
             EXPECT_EQ(static_cast<const CDrawPolygon&>(o).GetClosed(), 1);
         }},
        {"CDrawText", 6,
         [] {
             auto o = std::make_unique<CDrawText>();
             FillBase(*o);
             o->SetText(QStringLiteral("Speed 5\u00B0"));
             o->SetFont(QStringLiteral("Courier New"), -24, 450, TRUE, FALSE, TRUE, FALSE);
             return std::unique_ptr<CDrawObject>(std::move(o));
         },
         [](ArchiveBytes& b) {
             b.Str("Speed 5\xB0").I32(-24).I32(450).I32(1).I32(0).I32(1).Str("Courier New");
         },
         [](const CDrawObject& o) {
             const auto& text = static_cast<const CDrawText&>(o);
             EXPECT_EQ(text.GetText(), QStringLiteral("Speed 5\u00B0"));
             QString face;
             int height = 0, escapement = 0, bold = 0, italic = 0, underline = 0;
             text.GetFont(&face, &height, &escapement, &bold, &italic, &underline);
             EXPECT_EQ(face, QStringLiteral("Courier New"));
             EXPECT_EQ(height, -24);
             EXPECT_EQ(escapement, 450);
             EXPECT_EQ(bold, 1);
             EXPECT_EQ(italic, 0);
             EXPECT_EQ(underline, 1);
         }},
    };
}

TEST_F(DrawObjectArchiveTest, GoldenRecordsWriteAndRead) {
    for (const GoldenCase& c : GoldenCases()) {
        SCOPED_TRACE(c.className);
        ArchiveBytes golden = GoldenBase(c.className);
        c.tail(golden);

        auto object = c.make();
        EXPECT_EQ(object->GetType(), c.type);
        EXPECT_EQ(StoreObject(Path(), object.get()), golden.Bytes());
        EXPECT_FALSE(object->IsModified());  // Writing clears the flag too.

        auto back = LoadObject<CDrawObject>(Path(), golden.Bytes());
        ASSERT_TRUE(back);
        EXPECT_STREQ(back->GetRuntimeClass()->m_lpszClassName, c.className);
        EXPECT_EQ(back->GetType(), c.type);
        ExpectBase(*back);
        c.check(*back);
    }
}

TEST_F(DrawObjectArchiveTest, OlderSchemasReadIntegerPointsAndDefaults) {
    for (uint16_t schema : {0, 1, 2}) {
        SCOPED_TRACE(schema);
        ArchiveBytes b;
        b.NewClass("CDrawLine", schema)
            .Base(3, 0xFF, 0xFF00, 0xFFFFFF, 3, 0, 1)
            .U16(2)
            .I32(10)
            .I32(20)
            .I32(-5)
            .I32(7)
            .I32(1)
            .I32(0);
        auto line = LoadObject<CDrawLine>(Path(), b.Bytes());
        ASSERT_TRUE(line);
        ASSERT_EQ(line->GetPointCount(), 2);
        EXPECT_EQ(line->GetPoint(0, FALSE), CDoublePoint(10.0, 20.0));
        EXPECT_EQ(line->GetPoint(1, FALSE), CDoublePoint(-5.0, 7.0));
        EXPECT_EQ(line->GetFrame(), 3);
        EXPECT_EQ(line->GetArrowHead(), 1);
        EXPECT_FALSE(line->IsModified());
    }
}

TEST_F(DrawObjectArchiveTest, NewerSchemaIsRefused) {
    ArchiveBytes b;
    b.NewClass("CDrawRect", 4).Base(0, 0, 0, 0, 1, 0, 0).U16(0);
    Prompter().ExpectMessageBox(QStringLiteral("The annotations file contains objects from a "
                                               "newer version of software.\nUnable to load "
                                               "objects from file %1.\n")
                                    .arg(Path()),
                                IDOK);
    try {
        LoadObject<CDrawRect>(Path(), b.Bytes());
        ADD_FAILURE() << "a schema-4 record loaded";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badSchema);
        EXPECT_EQ(e.m_strFileName, Path());
    }
    EXPECT_EQ(Prompter().Prompts().back().caption, QStringLiteral("Error"));
}

TEST_F(DrawObjectArchiveTest, PointCountBeyondTheDataFailsWithoutGrowing) {
    // A count of 0xFFFFFFFF announced with a handful of bytes behind it.
    ArchiveBytes b;
    b.NewClass("CDrawPolygon").Base(0, 0, 0, 0, 1, 0, 0).U16(0xFFFF).I32(-1).F64(1).F64(2);
    EXPECT_THROW(LoadObject<CDrawPolygon>(Path(), b.Bytes()), CArchiveException);
    ArchiveBytes c;
    c.NewClass("CDrawPolygon").Base(0, 0, 0, 0, 1, 0, 0).U16(40).F64(1).F64(2);
    EXPECT_THROW(LoadObject<CDrawPolygon>(Path(), c.Bytes()), CArchiveException);
}

// Values at the ends of their types come back held within what drawing can do arithmetic on,
// and the shapes then draw and hit-test with them (the sanitizers of the test build watch that).
TEST_F(DrawObjectArchiveTest, ExtremeStoredValuesAreHeldInBounds) {
    constexpr double kMax = CDrawObject::kMaxStoredCoordinate;
    constexpr int kExtent = CDrawObject::kMaxStoredExtent;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    ArchiveBytes polygon;
    polygon.NewClass("CDrawPolygon")
        .Base(0, 0, 0, 0, INT_MAX, 0, 1)
        .U16(4)
        .F64(1e300)
        .F64(-1e300)
        .F64(nan)
        .F64(inf)
        .F64(-inf)
        .F64(0.5)
        .F64(-1e9)
        .F64(1e9)
        .I32(1);
    auto shape = LoadObject<CDrawPolygon>(Path(), polygon.Bytes());
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->GetLineThickness(), kExtent);
    const CDoublePoint expected[] = {{kMax, -kMax}, {0.0, kMax}, {-kMax, 0.5}, {-kMax, kMax}};
    ASSERT_EQ(shape->GetPointCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(shape->GetPoint(i, FALSE), expected[i]) << i;

    ArchiveBytes text;
    text.NewClass("CDrawText")
        .Base(0, 0, 0, 0, INT_MIN, 0, 1)
        .U16(2)
        .F64(-1e12)
        .F64(3)
        .F64(1e12)
        .F64(-3)
        .Str("x")
        .I32(INT_MIN)
        .I32(INT_MAX)
        .I32(0)
        .I32(0)
        .I32(0)
        .Str("Sans");
    auto label = LoadObject<CDrawText>(Path(), text.Bytes());
    ASSERT_TRUE(label);
    EXPECT_EQ(label->GetLineThickness(), -kExtent);
    int height = 0;
    int escapement = 0;
    label->GetFont(nullptr, &height, &escapement, nullptr, nullptr, nullptr);
    EXPECT_EQ(height, -kExtent);
    EXPECT_EQ(escapement, INT_MAX % 3600);

    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc(&image);
    CZoomTransform zoom;
    zoom.SetScale(4.0);
    for (CDrawObject* o :
         {static_cast<CDrawObject*>(shape.get()), static_cast<CDrawObject*>(label.get())}) {
        for (BOOL selected : {FALSE, TRUE}) {
            o->SetSelected(selected);
            o->Draw(&dc, nullptr, 0);
            o->Draw(&dc, &zoom, 0);
        }
        int part = 0;
        o->HitTest({kMax, -kMax}, &part);
        o->HitTest({0, 0}, &part);
    }
}

TEST_F(DrawObjectArchiveTest, ManyPointsUseTheLongCount) {
    CDrawPolygon polygon;
    for (int i = 0; i < 0xFFFF; ++i)
        polygon.SetPoint(i, {static_cast<double>(i), 0.5}, FALSE, FALSE);
    const QByteArray bytes = StoreObject(Path(), &polygon);
    const int countAt = 6 + 12 + 7 * 4;  // Tag, schema, name length, name, seven integers.
    ASSERT_GT(bytes.size(), countAt + 6);
    EXPECT_EQ(bytes.mid(countAt, 6), QByteArray("\xFF\xFF\xFF\xFF\x00\x00", 6));
    EXPECT_EQ(bytes.size(), countAt + 6 + 0xFFFF * 16 + 4);
    auto back = LoadObject<CDrawPolygon>(Path(), bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetPointCount(), 0xFFFF);
    EXPECT_EQ(back->GetPoint(0xFFFE, FALSE), CDoublePoint(65534.0, 0.5));
}

TEST(DrawObjectTypesTest, StoredClassNamesAndCreation) {
    struct Case {
        int type;
        const char* name;
        bool creatable;
    };
    const Case cases[] = {
        {0, nullptr, false},          {1, "CDrawLine", true},
        {2, "CDrawRect", true},       {3, "CDrawEllipse", true},
        {4, "CDrawPolygon", true},    {5, "CDrawBSpline", true},
        {6, "CDrawText", true},       {7, "CDrawDimLength", true},
        {8, "CDrawDimAngle", true},   {9, "CDrawArc", true},
        {10, "CDrawCalipersB", true}, {11, "CDrawLengthCalibration", true},
        {12, "CDrawJumpNote", true},  {13, "CDrawSlider", true},
        {14, "CDrawInfo", true},      {15, "CDrawJumpNote", true},
        {16, "CDrawCalipersB", true}, {17, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        if (c.name) {
            EXPECT_STREQ(DrawObjectTypes::StoredClassName(c.type), c.name);
        } else {
            EXPECT_EQ(DrawObjectTypes::StoredClassName(c.type), nullptr);
        }
        std::unique_ptr<CDrawObject> o(DrawObjectTypes::CreateOfStoredClass(c.type));
        EXPECT_EQ(o != nullptr, c.creatable);
        if (o) {
            // 15 and 16 are stored as their bases and come back as those.
            EXPECT_EQ(o->GetType(), c.type == 15 ? 12 : c.type == 16 ? 10 : c.type);
        }
        std::unique_ptr<CDrawObject> made(DrawObjectTypes::CreateOfType(c.type));
        EXPECT_EQ(made != nullptr, c.creatable);
        if (made) {
            EXPECT_EQ(made->GetType(), c.type);
        }
    }
}

}  // namespace
