#include "views/AnnotateView.h"

#include "frames/MovieAdapter.h"
#include "platform/framework/CmdUI.h"
#include "platform/framework/DC.h"
#include "platform/framework/FileDialog.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/MessageMap.h"
#include "platform/registry/Registry.h"
#include "platform/wintypes/WinMessages.h"
#include "shell/DlgOptionsBaseTab.h"
#include "tracking/records/TrackFeature.h"
#include "views/DrawArc.h"
#include "views/DrawBSpline.h"
#include "views/DrawCalipers.h"
#include "views/DrawCalipersB.h"
#include "views/DrawDimAngle.h"
#include "views/DrawDimLength.h"
#include "views/DrawEllipse.h"
#include "views/DrawInfo.h"
#include "views/DrawLengthCalibration.h"
#include "views/DrawLine.h"
#include "views/DrawObjectTypes.h"
#include "views/DrawPolygon.h"
#include "views/DrawRect.h"
#include "views/DrawText.h"
#include "views/MeasurePointNote.h"

#include <algorithm>
#include <type_traits>

namespace {

constexpr const char* kCaption = "Vidra Player";
// The type codes of the objects the view treats apart.
constexpr int kCalibrationType = 11;
constexpr int kMeasurePointType = 15;
constexpr COLORREF kCalibrationColour = 0x0000FF;
// The longest font face the registry may give (the stored field holds 100 bytes with its end).
constexpr int kMaxFaceLength = 99;

// The stored type made for the tools of the measurement overlays.
int OverlayTypeOfTool(int tool) {
    switch (tool) {
        case CAnnotateView::kLengthCalibration:
            return 11;
        case CAnnotateView::kCaliper:
        case CAnnotateView::kVelocityCaliper:
            return 10;
        case CAnnotateView::kJumpNote:
            return 12;
        case CAnnotateView::kSlider:
            return 13;
        case CAnnotateView::kInformation:
            return 14;
        case CAnnotateView::kMeasurePoint:
            return 15;
        case CAnnotateView::kTrackCaliper:
            return 16;
        default:
            return 0;
    }
}

// The tool of a tool command number, -1 for the other commands.
int ToolOfCommand(UINT command) {
    switch (command) {
        case 0:
            return CAnnotateView::kLine;
        case 1:
            return CAnnotateView::kArc;
        case 12:
            return CAnnotateView::kSelect;
        case 30:
            return CAnnotateView::kLengthDimension;
        case 31:
            return CAnnotateView::kAngleDimension;
        default:
            return command >= 2 && command <= 11 ? static_cast<int>(command) : -1;
    }
}

bool IsMultiClickTool(int tool) {
    return (tool >= CAnnotateView::kPolygon && tool <= CAnnotateView::kClosedCurve) ||
           tool == CAnnotateView::kAngleDimension || tool == CAnnotateView::kArc;
}

CDoublePoint ToDouble(CPoint p) {
    return {static_cast<double>(p.x), static_cast<double>(p.y)};
}

}  // namespace

IMPLEMENT_DYNCREATE(CAnnotateView, CPZView)

BEGIN_MESSAGE_MAP(CAnnotateView, CPZView)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_MOUSEMOVE()
ON_WM_KEYDOWN()
ON_COMMAND_RANGE(CAnnotateView::kCmdLine, CAnnotateView::kCmdSelect, OnToolCommand)
ON_COMMAND_RANGE(CAnnotateView::kCmdLengthDimension, CAnnotateView::kCmdAngleDimension,
                 OnToolCommand)
ON_UPDATE_COMMAND_UI_RANGE(CAnnotateView::kCmdLine, CAnnotateView::kCmdSelect, OnUpdateToolCommand)
ON_UPDATE_COMMAND_UI_RANGE(CAnnotateView::kCmdLengthDimension, CAnnotateView::kCmdAngleDimension,
                           OnUpdateToolCommand)
ON_COMMAND_RANGE(CAnnotateView::kCmdNoTool, CAnnotateView::kCmdNoTool, OnToolCommand)
ON_UPDATE_COMMAND_UI(CAnnotateView::kCmdNoTool, OnUpdateToolCommand)
ON_COMMAND(CAnnotateView::kCmdDuplicate, OnDuplicate)
ON_UPDATE_COMMAND_UI(CAnnotateView::kCmdDuplicate, OnUpdateDuplicate)
ON_COMMAND_RANGE(CAnnotateView::kCmdBringForward, CAnnotateView::kCmdSendToBack, OnRestack)
ON_COMMAND_RANGE(CAnnotateView::kCmdThisFrameOnly, CAnnotateView::kCmdAllFrames, OnFrameRule)
ON_UPDATE_COMMAND_UI_RANGE(CAnnotateView::kCmdThisFrameOnly, CAnnotateView::kCmdAllFrames,
                           OnUpdateFrameRule)
ON_COMMAND(CAnnotateView::kCmdOpen, OnOpenAnnotations)
ON_COMMAND(CAnnotateView::kCmdSaveAs, OnSaveAnnotationsAs)
ON_UPDATE_COMMAND_UI(CAnnotateView::kCmdSaveAs, OnUpdateSaveAnnotationsAs)
ON_COMMAND(CAnnotateView::kCmdSave, OnSaveAnnotations)
ON_COMMAND(CAnnotateView::kCmdDeleteFrame, OnDeleteFrameAnnotations)
ON_COMMAND(CAnnotateView::kCmdDeleteAll, OnDeleteAllAnnotations)
ON_COMMAND(CAnnotateView::kCmdShowHandles, OnToggleDisplayFlags)
ON_UPDATE_COMMAND_UI(CAnnotateView::kCmdShowHandles, OnUpdateToggleDisplayFlags)
ON_COMMAND(CAnnotateView::kCmdShowAnnotations, OnToggleAnnotations)
ON_UPDATE_COMMAND_UI(CAnnotateView::kCmdShowAnnotations, OnUpdateToggleAnnotations)
END_MESSAGE_MAP()

CAnnotateView::CAnnotateView() : m_styles(ReadStyles()) {}

CAnnotateView::~CAnnotateView() = default;

void CAnnotateView::OnDraw(CDC* pDC) {
    DrawObjects(pDC, m_currentFrame, &m_transform);
}

CAnnotateView::Styles CAnnotateView::ReadStyles() {
    Styles s;
    HKEY key = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, QString(kOptionsRoot) + kStylesSubKey, 0, KEY_READ,
                     &key) != ERROR_SUCCESS)
        return s;
    // Each number is exactly four bytes; a value of another size keeps the default.
    const auto number = [key](const char* name, auto& field) {
        DWORD v = 0;
        if (RegQueryDword(key, QString::fromLatin1(name), &v) == ERROR_SUCCESS)
            field = static_cast<std::remove_reference_t<decltype(field)>>(v);
    };
    number("Color Foreground", s.lineColour);
    number("Color Background", s.fillColour);
    number("Color Text", s.textColour);
    number("Line Style", s.lineStyle);
    number("Line Thickness", s.lineThickness);
    number("Arrow Head", s.arrowHead);
    number("Arrow Tail", s.arrowTail);
    number("Text Font Size", s.fontSize);
    number("Text Bold", s.bold);
    number("Text Italic", s.italic);
    number("Text Underline", s.underline);
    QString face;
    if (RegQueryString(key, QStringLiteral("Text Face"), &face) == ERROR_SUCCESS &&
        !face.isEmpty() && face.size() <= kMaxFaceLength)
        s.fontFace = face;
    RegCloseKey(key);
    // Values a damaged or hand-made key may hold are kept drawable.
    s.lineThickness = CDrawObject::StoredExtent(s.lineThickness);
    s.fontSize = CDrawObject::StoredExtent(s.fontSize);
    return s;
}

BOOL CAnnotateView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // Without a document the editor's commands are not there.
    if (!m_annotateDoc && nID >= kCommandBase && nID <= kCommandLast)
        return FALSE;
    return CPZView::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CAnnotateView::SetDocument(CAnnotateDoc* document) {
    m_annotateDoc = document;
    m_list = document ? document->GetObjectList() : nullptr;
    ResetMouse();
}

void CAnnotateView::SetMovieAdapter(std::unique_ptr<CMovieAdapter> adapter) {
    m_adapter = std::move(adapter);
    SetOwnerOfAll();
}

void CAnnotateView::SetOwnerOfAll() {
    if (!m_list)
        return;
    for (CDrawObject* object : *m_list)
        object->SetOwnerPointer(m_adapter.get());
}

int CAnnotateView::AskYesNo(const QString& text) const {
    MessageBoxPrompt prompt;
    prompt.text = text;
    prompt.caption = QString::fromLatin1(kCaption);
    prompt.type = MB_YESNO | MB_ICONQUESTION;
    return AfxPrompter().MessageBox(prompt);
}

CDrawObject* CAnnotateView::CreateObjectOfType(int tool, int frame) {
    if (!m_list)
        return nullptr;
    const Styles& s = m_styles;
    std::unique_ptr<CDrawObject> object;
    const auto lined = [&s](CDrawObject& o) {
        o.SetLineThickness(s.lineThickness);
        o.SetLineStyle(s.lineStyle);
    };
    const auto texted = [&s](CDrawText& o) {
        o.SetFont(s.fontFace, s.fontSize, 0, s.bold, s.italic, s.underline, FALSE);
    };
    switch (tool) {
        case kLine: {
            auto line = std::make_unique<CDrawLine>();
            line->SetArrowHead(s.arrowHead);
            line->SetArrowTail(s.arrowTail);
            lined(*line);
            object = std::move(line);
            break;
        }
        case kRect:
        case kFilledRect:
            object = std::make_unique<CDrawRect>();
            object->SetFilled(tool == kFilledRect);
            lined(*object);
            break;
        case kEllipse:
        case kFilledEllipse:
            object = std::make_unique<CDrawEllipse>();
            object->SetFilled(tool == kFilledEllipse);
            lined(*object);
            break;
        case kPolygon:
        case kFilledPolygon:
            object = std::make_unique<CDrawPolygon>();
            object->SetFilled(tool == kFilledPolygon);
            lined(*object);
            break;
        case kCurve:
        case kClosedCurve: {
            auto curve = std::make_unique<CDrawBSpline>();
            curve->SetFilled(tool == kClosedCurve);
            curve->SetClosed(tool == kClosedCurve);
            lined(*curve);
            object = std::move(curve);
            break;
        }
        case kText:
        case kFilledText: {
            auto text = std::make_unique<CDrawText>();
            text->SetFilled(tool == kFilledText);
            texted(*text);
            object = std::move(text);
            break;
        }
        case kLengthDimension: {
            auto length = std::make_unique<CDrawDimLength>();
            lined(*length);
            length->SetFont(s.fontFace, s.fontSize, s.bold, s.italic, s.underline);
            object = std::move(length);
            break;
        }
        case kAngleDimension: {
            auto angle = std::make_unique<CDrawDimAngle>();
            lined(*angle);
            angle->SetFont(s.fontFace, s.fontSize, s.bold, s.italic, s.underline);
            object = std::move(angle);
            break;
        }
        case kArc: {
            auto arc = std::make_unique<CDrawArc>();
            arc->SetArrowAtStart(s.arrowHead);
            arc->SetArrowAtEnd(s.arrowTail);
            lined(*arc);
            object = std::move(arc);
            break;
        }
        default:
            if (const int type = OverlayTypeOfTool(tool)) {
                object.reset(DrawObjectTypes::CreateOfType(type));
                if (object) {
                    if (auto* text = dynamic_cast<CDrawText*>(object.get())) {
                        text->SetFilled(FALSE);
                        texted(*text);
                    } else {
                        lined(*object);
                        if (auto* length = dynamic_cast<CDrawDimLength*>(object.get()))
                            length->SetFont(s.fontFace, s.fontSize, s.bold, s.italic, s.underline);
                        else
                            object->SetFilled(FALSE);
                    }
                }
            }
            break;
    }
    if (!object) {
        MessageBoxPrompt prompt;
        prompt.text = QStringLiteral("Unrecognized annotation object requested.");
        prompt.caption = QString::fromLatin1(kCaption);
        prompt.type = MB_OK | MB_ICONEXCLAMATION;
        AfxPrompter().MessageBox(prompt);
        return nullptr;
    }
    CDrawObject* made = object.release();
    if (tool == kTrackCaliper)
        m_list->insert(m_list->begin(), made);
    else
        m_list->push_back(made);
    made->SetFrame(frame);
    made->SetTextColor(s.textColour);
    made->SetLineColor(tool == kLengthCalibration ? kCalibrationColour : s.lineColour);
    made->SetFillColor(s.fillColour);
    made->SetDisplayFlag(tool == kJumpNote || tool == kMeasurePoint ? TRUE : m_displayAll);
    m_annotateDoc->SelectAll(FALSE);
    made->SetSelected(TRUE);
    made->SetOwnerPointer(m_adapter.get());
    if (auto* caliper = dynamic_cast<CDrawCalipersB*>(made))
        caliper->SetSeparateFrames(tool == kVelocityCaliper || tool == kTrackCaliper);
    CPoint reticle;
    if (auto* info = dynamic_cast<CDrawInfo*>(made); info && GetReticlePoint(&reticle))
        info->SetReticlePosition(reticle.x, reticle.y);
    m_annotateDoc->SetModifiedFlag();
    ApplyCalibration();
    return made;
}

void CAnnotateView::ApplyCalibration() {
    auto* source = dynamic_cast<CDrawLengthCalibration*>(FindOfType(kCalibrationType));
    if (!source)
        return;
    CCalibrationData calibration;
    source->GetCalibration(&calibration);
    for (CDrawObject* object : *m_list) {
        if (auto* caliper = dynamic_cast<CDrawCalipersB*>(object))
            caliper->SetCalibration(&calibration);
        else if (auto* info = dynamic_cast<CDrawInfo*>(object))
            info->SetCalibration(&calibration);
    }
}

void CAnnotateView::SyncInfoPoints() {
    std::vector<CDrawObject*> points;
    GetMeasurePoints(&points);
    const auto pointOf = [&points](size_t i) {
        return i < points.size() ? points[i]->GetPoint(0, FALSE) : CDoublePoint(0.0, 0.0);
    };
    const auto frameOf = [&points](size_t i) {
        return i < points.size() ? points[i]->GetFrame() : -1;
    };
    for (CDrawObject* object : *m_list) {
        if (auto* info = dynamic_cast<CDrawInfo*>(object)) {
            info->SetMeasurePoint1(pointOf(0), frameOf(0));
            info->SetMeasurePoint2(pointOf(1), frameOf(1));
        }
    }
}

void CAnnotateView::SyncCaliperEnds() {
    std::vector<CDrawObject*> points;
    GetMeasurePoints(&points);
    for (CDrawObject* object : *m_list) {
        auto* caliper = dynamic_cast<CDrawCalipers*>(object);
        if (!caliper)
            continue;
        for (int end = 0; end < 2; ++end) {
            CDrawCalipers::LinkPair link;
            caliper->GetEndLink(end, &link);
            for (CDrawObject* p : points) {
                auto* point = static_cast<CMeasurePointNote*>(p);
                CDrawCalipers::LinkPair pair;
                point->GetLinkPair(&pair.pointId, &pair.serial);
                if (pair == link) {
                    caliper->SetPoint(end, point->GetPoint(0, FALSE), FALSE, FALSE);
                    caliper->SetEndFrame(end, point->GetFrame());
                    break;
                }
            }
        }
    }
}

CDrawObject* CAnnotateView::AddMeasurePoint(int frame, CDoublePoint image, int pointId,
                                            const CTrackFeature* feature) {
    CDrawObject* made = CreateObjectOfType(kMeasurePoint, frame);
    auto* point = dynamic_cast<CMeasurePointNote*>(made);
    if (!point)
        return made;
    point->SetSelected(FALSE);
    point->SetPoint(0, image, TRUE, FALSE);
    if (feature) {
        LONG colour = 0, shape = 0, size = 0, pen = 1;
        feature->GetParam4(&colour);
        feature->GetParam1(&shape);
        feature->GetParam2(&size);
        feature->GetParam5(&pen);
        point->SetMarkerColor(static_cast<COLORREF>(colour));
        point->SetMarkerStyle(shape, size, pen);
    }
    point->SetPointId(pointId);
    point->SetOrigin(image.x, image.y);
    Redraw();
    return point;
}

void CAnnotateView::SetReticlePoint(int x, int y) {
    CPZView::SetReticlePoint(x, y);
    CPoint reticle;
    if (!m_list || !GetReticlePoint(&reticle))
        return;
    for (CDrawObject* object : *m_list) {
        if (auto* info = dynamic_cast<CDrawInfo*>(object))
            info->SetReticlePosition(reticle.x, reticle.y);
    }
}

void CAnnotateView::DrawObjects(CDC* dc, int frame, const CZoomTransform* transform) {
    if (!m_list || !m_annotationsShown || !dc)
        return;
    // The measurement overlays report what the other objects hold now.
    ApplyCalibration();
    SyncInfoPoints();
    SyncCaliperEnds();
    for (CDrawObject* object : *m_list) {
        if (!object->ShowsOnFrame(frame) && !object->IsAlwaysDrawn())
            continue;
        object->SetDrawState(0);
        object->SetDrawState2(0);
        object->SetDrawStatePair(0, 2);
        object->SetCurrentFrame(frame);
        object->Draw(dc, transform, 0);
    }
}

void CAnnotateView::ResetMouse() {
    m_current = nullptr;
    m_dragging = FALSE;
}

void CAnnotateView::SetTool(int tool) {
    m_tool = tool;
    ResetMouse();
    if (tool == kLengthCalibration) {
        if (CDrawObject* calibration = FindOfType(kCalibrationType)) {
            m_annotateDoc->SelectAll(FALSE);
            calibration->SetSelected(TRUE);
            calibration->SetFrame(m_currentFrame);
            m_tool = kSelect;
            Redraw();
        }
    }
}

CDrawObject* CAnnotateView::FindOfType(int type) const {
    if (!m_list)
        return nullptr;
    for (CDrawObject* object : *m_list) {
        if (object->GetType() == type)
            return object;
    }
    return nullptr;
}

CDrawObject* CAnnotateView::FirstSelected(int* position) const {
    return m_annotateDoc ? m_annotateDoc->GetFirstSelected(position) : nullptr;
}

void CAnnotateView::GetMeasurePoints(std::vector<CDrawObject*>* points) const {
    if (!points)
        return;
    points->clear();
    if (!m_list)
        return;
    for (CDrawObject* object : *m_list) {
        if (object->GetType() == kMeasurePointType)
            points->push_back(object);
    }
}

CDoublePoint CAnnotateView::ToImage(CPoint window) const {
    if (m_imageMapping) {
        const CPoint p = m_imageMapping(window);
        return {static_cast<double>(p.x), static_cast<double>(p.y)};
    }
    double x = 0.0;
    double y = 0.0;
    WindowToImageF(window.x, window.y, &x, &y, -1, -1, -1.0, -1, -1, TRUE);
    return {x, y};
}

CDrawObject* CAnnotateView::HitVisible(CDoublePoint window, CDoublePoint image, int* part,
                                       BOOL dblClick, BOOL select) {
    // What is drawn on every frame answers on every frame (a jump note, a measure point's
    // buttons, a slider), but the objects of the frame on screen come first: a tracked point
    // dragged on its frame is not to be taken for its neighbour of the next frame.
    for (const bool ownFrame : {true, false}) {
        for (auto it = m_list->rbegin(); it != m_list->rend(); ++it) {
            CDrawObject* object = *it;
            if (object->ShowsOnFrame(m_currentFrame) != ownFrame ||
                (!ownFrame && !object->IsAlwaysDrawn()))
                continue;
            if (object->HitTestEx(image, window, part, dblClick, select, 0))
                return object;
        }
    }
    return nullptr;
}

void CAnnotateView::StartObject(CDoublePoint window, CDoublePoint image,
                                const CDrawCalipers::LinkPair* link, int endFrame) {
    CDrawObject* object = CreateObjectOfType(m_tool, m_currentFrame);
    if (!object)
        return;
    object->SetPointInSpace(0, image, window, TRUE, TRUE);
    object->SetPointInSpace(1, image, window, TRUE, TRUE);
    if (auto* caliper = dynamic_cast<CDrawCalipers*>(object); caliper && link) {
        caliper->SetEndLink(0, link);
        caliper->SetEndFrame(0, endFrame);
    }
    m_activePoint = 1;
    m_current = object;
    m_lastImage = image;
    m_lastWindow = window;
    m_dragging = TRUE;
}

void CAnnotateView::BeginCreate(CDoublePoint window, CDoublePoint image,
                                const CDrawCalipers::LinkPair* link, int endFrame) {
    switch (m_tool) {
        case kLengthCalibration:
            if (CDrawObject* calibration = FindOfType(kCalibrationType)) {
                // There is at most one length calibration.
                m_annotateDoc->SelectAll(FALSE);
                calibration->SetSelected(TRUE);
                calibration->SetFrame(m_currentFrame);
                m_tool = kSelect;
                ResetMouse();
                Redraw();
                return;
            }
            StartObject(window, image);
            return;
        case kPolygon:
        case kFilledPolygon:
        case kCurve:
        case kClosedCurve:
            if (!m_current) {
                StartObject(window, image);
            } else if (m_current->IsKindOf(RUNTIME_CLASS(CDrawPolygon))) {
                const int index = m_current->GetPointCount();
                m_current->SetPointInSpace(index, image, window, TRUE, TRUE);
                m_activePoint = index;
                m_lastImage = image;
                m_lastWindow = window;
                m_dragging = TRUE;
            }
            return;
        case kAngleDimension:
        case kArc: {
            const CRuntimeClass* cls =
                m_tool == kArc ? RUNTIME_CLASS(CDrawArc) : RUNTIME_CLASS(CDrawDimAngle);
            if (!m_current) {
                StartObject(window, image);
            } else if (m_current->GetRuntimeClass() == cls) {
                const int n = m_current->GetPointCount();
                if (n <= 2) {
                    m_current->SetPointInSpace(n, image, window, TRUE, TRUE);
                    // Through MovePoint, so that the shape's derived values follow.
                    m_current->MovePointInSpace(n, image, window, TRUE);
                    m_activePoint = n;
                    m_lastImage = image;
                    m_lastWindow = window;
                    m_dragging = TRUE;
                } else {
                    m_current->MovePointInSpace(n - 1, image, window, TRUE);
                    m_tool = kSelect;
                    ResetMouse();
                }
            }
            return;
        }
        case kText:
        case kFilledText:
        case kJumpNote:
        case kMeasurePoint: {
            CDrawObject* object = CreateObjectOfType(m_tool, m_currentFrame);
            if (!object)
                return;
            object->SetPointInSpace(0, image, window, TRUE, TRUE);
            if (auto* text = dynamic_cast<CDrawText*>(object))
                text->SetText(m_tool == kText || m_tool == kFilledText ? QStringLiteral(" ")
                                                                       : QStringLiteral("Goto"));
            Redraw();
            return;
        }
        default:
            StartObject(window, image, link, endFrame);
            return;
    }
}

void CAnnotateView::OnLButtonDown(UINT nFlags, CPoint point) {
    m_mouse = point;
    if (!m_list || m_panMode || m_zoomMode || (nFlags & MK_SHIFT)) {
        if (!m_dragging)
            CPZView::OnLButtonDown(nFlags, point);
        return;
    }
    const CDoublePoint window = ToDouble(point);
    const CDoublePoint image = ToImage(point);
    if (m_tool == kNoTool || !m_annotationsShown) {
        if (!m_dragging)
            CPZView::OnLButtonDown(nFlags, point);
        return;
    }
    if (m_tool != kSelect) {
        BeginCreate(window, image);
        Redraw();
    } else {
        m_annotateDoc->SelectAll(FALSE);
        int part = CDrawObject::kHitNone;
        CDrawObject* hit = HitVisible(window, image, &part, FALSE, TRUE);
        auto* point = hit && hit->GetType() == kMeasurePointType
                          ? static_cast<CMeasurePointNote*>(hit)
                          : nullptr;
        if (point && part == CMeasurePointNote::kDragHandle) {
            // The drag handle starts a caliper whose first end sits on the measure point.
            const CPoint marker = point->GetMarkerScreenPosition();
            CDrawCalipers::LinkPair link;
            point->GetLinkPair(&link.pointId, &link.serial);
            SetTool(kTrackCaliper);
            BeginCreate(ToDouble(marker), ToImage(marker), &link, point->GetFrame());
        } else if (hit) {
            hit->SetSelected(TRUE);
            m_activePoint = part;
            m_lastImage = image;
            m_lastWindow = window;
            m_current = hit;
            m_dragging = TRUE;
        }
        Redraw();
    }
    if (!m_dragging)
        CPZView::OnLButtonDown(nFlags, point);
}

void CAnnotateView::OnMouseMove(UINT nFlags, CPoint point) {
    m_mouse = point;
    if (!m_list) {
        CPZView::OnMouseMove(nFlags, point);
        return;
    }
    const bool follows = m_tool != kText && m_tool != kFilledText && m_tool != kJumpNote &&
                         m_tool != kInformation && m_tool != kMeasurePoint && m_tool != kNoTool;
    if (follows) {
        const CDoublePoint window = ToDouble(point);
        const CDoublePoint image = ToImage(point);
        if (m_dragging && m_current) {
            if (m_activePoint == CDrawObject::kHitBody) {
                m_current->OffsetPointsInSpace(
                    {image.x - m_lastImage.x, image.y - m_lastImage.y},
                    {window.x - m_lastWindow.x, window.y - m_lastWindow.y}, FALSE);
                m_lastImage = image;
                m_lastWindow = window;
            } else if (m_activePoint >= 0) {
                m_current->MovePointInSpace(m_activePoint, image, window, TRUE);
            } else {
                ResetMouse();
            }
            Redraw();
        } else if (!m_dragging) {
            bool changed = false;
            for (CDrawObject* object : *m_list)
                changed = object->ClearPointMarks() || changed;
            for (auto it = m_list->rbegin(); it != m_list->rend(); ++it) {
                if ((*it)->HitTestEx(image, window, nullptr, FALSE, FALSE, 0)) {
                    changed = true;
                    break;
                }
            }
            if (changed)
                Redraw();
        }
    }
    CPZView::OnMouseMove(nFlags, point);
}

void CAnnotateView::OnLButtonUp(UINT nFlags, CPoint point) {
    m_mouse = point;
    if (m_list && m_tool != kNoTool && m_annotationsShown) {
        const CDoublePoint window = ToDouble(point);
        const CDoublePoint image = ToImage(point);
        if (m_tool == kSelect && m_dragging && m_current && m_activePoint >= 0) {
            m_current->MovePointInSpace(m_activePoint, image, window, TRUE);
            Redraw();
        }
        if (m_tool == kTrackCaliper)
            EndTrackCaliper(window, image);
        if (m_tool == kLengthCalibration && m_current && m_current->GetType() == kCalibrationType)
            m_current->ShowProperties();
        if (!IsMultiClickTool(m_tool)) {
            m_tool = kSelect;
            ResetMouse();
        }
    }
    CPZView::OnLButtonUp(nFlags, point);
}

void CAnnotateView::EndTrackCaliper(CDoublePoint window, CDoublePoint image) {
    // The last measure point in list order whose marker is under the release.
    CMeasurePointNote* target = nullptr;
    for (CDrawObject* object : *m_list) {
        int part = CDrawObject::kHitNone;
        if (object->GetType() == kMeasurePointType &&
            object->HitTestEx(image, window, &part, FALSE, FALSE, 0) &&
            part == CMeasurePointNote::kMarker)
            target = static_cast<CMeasurePointNote*>(object);
    }
    auto* caliper = dynamic_cast<CDrawCalipers*>(m_current);
    if (!target || !caliper) {
        // A caliper between measure points needs a point at each end.
        ResetMouse();
        m_annotateDoc->DeleteSelectedObjects();
        Redraw();
        return;
    }
    const CPoint marker = target->GetMarkerScreenPosition();
    caliper->SetPointInSpace(1, ToImage(marker), ToDouble(marker), TRUE, TRUE);
    CDrawCalipers::LinkPair link;
    target->GetLinkPair(&link.pointId, &link.serial);
    caliper->SetEndLink(1, &link);
    caliper->SetEndFrame(1, target->GetFrame());
    Redraw();
}

void CAnnotateView::OnLButtonDblClk(UINT, CPoint point) {
    m_mouse = point;
    if (!m_list || m_tool != kSelect || !m_annotationsShown)
        return;
    HitVisible(ToDouble(point), ToImage(point), nullptr, TRUE, FALSE);
    // The object's properties may have changed it.
    ResetMouse();
    Redraw();
}

void CAnnotateView::OnKeyDown(UINT nChar, UINT, UINT) {
    if (!m_list || m_tool != kSelect || !m_annotationsShown)
        return;
    CDrawObject* selected = FirstSelected(nullptr);
    if (!selected)
        return;
    const CDoublePoint window = ToDouble(m_mouse);
    const CDoublePoint image = ToImage(m_mouse);
    auto* polygon = dynamic_cast<CDrawPolygon*>(selected);
    switch (nChar) {
        case VK_LEFT:
        case VK_UP:
        case VK_RIGHT:
        case VK_DOWN: {
            const CDoublePoint step = nChar == VK_LEFT    ? CDoublePoint(-1, 0)
                                      : nChar == VK_UP    ? CDoublePoint(0, -1)
                                      : nChar == VK_RIGHT ? CDoublePoint(1, 0)
                                                          : CDoublePoint(0, 1);
            selected->OffsetPoints(step, TRUE);
            break;
        }
        case VK_INSERT:
            if (polygon)
                polygon->InsertVertex(polygon->IsImageSpace() ? image : window);
            break;
        case VK_DELETE: {
            int part = CDrawObject::kHitNone;
            if (polygon && polygon->GetPointCount() > 2 &&
                polygon->HitTestEx(image, window, &part, FALSE, FALSE, 0) && part >= 0 &&
                part != CDrawObject::kHitBody) {
                polygon->RemovePoint(part);
                break;
            }
            if (AskYesNo(QStringLiteral("Delete selected annotation?")) == IDYES) {
                ResetMouse();
                m_annotateDoc->DeleteSelectedObjects();
            }
            break;
        }
        default:
            return;
    }
    Redraw();
}

LRESULT CAnnotateView::OnColourMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message < kFirstColourMessage || message > kLastColourMessage)
        return 0;
    if (message != kSetTargetColourMessage && message != kSetColourMessage)
        return 1;
    const auto colour = static_cast<COLORREF>(wParam);
    const int kind = message == kSetColourMessage ? static_cast<int>(lParam) : m_colourTarget;
    CDrawObject* selected = FirstSelected(nullptr);
    bool changed = false;
    switch (kind) {
        case kLineColour:
            m_styles.lineColour = colour;
            if (selected)
                selected->SetLineColor(colour);
            changed = selected != nullptr;
            break;
        case kFillColour:
            m_styles.fillColour = colour;
            if (selected)
                selected->SetFillColor(colour);
            changed = selected != nullptr;
            break;
        case kTextColour:
            m_styles.textColour = colour;
            if (selected)
                selected->SetTextColor(colour);
            changed = selected != nullptr;
            break;
        default:
            break;
    }
    if (changed)
        Redraw();
    return 1;
}

LRESULT CAnnotateView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= kFirstColourMessage && message <= kLastColourMessage)
        return OnColourMessage(message, wParam, lParam);
    return CPZView::WindowProc(message, wParam, lParam);
}

void CAnnotateView::OnToolCommand(UINT nID) {
    if (nID == kCmdNoTool) {
        if (m_annotateDoc)
            m_annotateDoc->SelectAll(FALSE);
        ResetMouse();
        m_tool = kNoTool;
        Redraw();
        return;
    }
    SetTool(ToolOfCommand(nID - kCommandBase));
}

void CAnnotateView::OnUpdateToolCommand(CCmdUI* pCmdUI) {
    const int tool =
        pCmdUI->m_nID == kCmdNoTool ? kNoTool : ToolOfCommand(pCmdUI->m_nID - kCommandBase);
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(m_tool == tool ? 1 : 0);
}

void CAnnotateView::OnDuplicate() {
    m_annotateDoc->DuplicateSelected();
    ResetMouse();
    Redraw();
}

void CAnnotateView::OnUpdateDuplicate(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FirstSelected(nullptr) != nullptr);
}

void CAnnotateView::OnRestack(UINT nID) {
    int position = -1;
    CDrawObject* object = FirstSelected(&position);
    if (!object)
        return;
    CDrawObjectList& list = *m_list;
    int neighbour = position;
    list.erase(list.begin() + position);
    switch (nID) {
        case kCmdBringForward:
            // The search starts from the object's old place, now the next object's.
            neighbour = position - 1;
            if (m_annotateDoc->FindNextInFrame(m_currentFrame, &neighbour))
                list.insert(list.begin() + neighbour + 1, object);
            else
                list.push_back(object);
            break;
        case kCmdBringToFront:
            list.push_back(object);
            break;
        case kCmdSendBackward:
            if (m_annotateDoc->FindPreviousInFrame(m_currentFrame, &neighbour))
                list.insert(list.begin() + neighbour, object);
            else
                list.insert(list.begin(), object);
            break;
        default:
            list.insert(list.begin(), object);
            break;
    }
    m_annotateDoc->SetModifiedFlag();
    Redraw();
}

void CAnnotateView::OnFrameRule(UINT nID) {
    CDrawObject* object = FirstSelected(nullptr);
    if (!object)
        return;
    if (nID == kCmdThisFrameOnly)
        object->SetFrame(m_currentFrame);
    else if (nID == kCmdFromThisFrameOn)
        object->SetFrame(-2 - m_currentFrame);
    else
        object->SetFrame(-1);
    Redraw();
}

void CAnnotateView::OnUpdateFrameRule(CCmdUI* pCmdUI) {
    const CDrawObject* object = FirstSelected(nullptr);
    pCmdUI->Enable(TRUE);
    if (!object) {
        pCmdUI->SetCheck(0);
        return;
    }
    const int frame = object->GetFrame();
    bool checked = false;
    if (pCmdUI->m_nID == kCmdThisFrameOnly)
        checked = frame >= 0;
    else if (pCmdUI->m_nID == kCmdFromThisFrameOn)
        checked = frame < -1;
    else
        checked = frame == -1;
    pCmdUI->SetCheck(checked ? 1 : 0);
}

void CAnnotateView::OnOpenAnnotations() {
    if (!m_list->empty() && AskYesNo(QStringLiteral("Delete existing annotations?")) == IDYES) {
        ResetMouse();
        m_annotateDoc->DeleteAllObjects();
        Redraw();
    }
    const QString ext = QString::fromLatin1(CAnnotateDoc::kExtension);
    CFileDialog dialog(TRUE, ext, QString(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       QStringLiteral("Annotation Files (*.%1)|*.%1||").arg(ext));
    if (dialog.DoModal() != IDOK)
        return;
    const size_t kept = m_list->size();
    m_annotateDoc->LoadAnnotations(dialog.GetPathName(), FALSE);
    CalibrateLoaded(kept);
    SetOwnerOfAll();
    Redraw();
}

void CAnnotateView::CalibrateLoaded(size_t first) {
    // The file keeps only the line: a reload must measure in the units it was saved in, which
    // are the recording's, not whatever a new calibration starts with.
    CCalibrationData recording;
    if (!m_recordingCalibration || !m_recordingCalibration(&recording))
        return;
    double distance = 1.0;
    int units = CCalibrationData::kUnitsPixels;
    recording.GetDistance(&distance);
    recording.GetUnits(&units);
    if (!(distance > 0))
        return;
    for (size_t i = first; i < m_list->size(); ++i) {
        auto* calibration = dynamic_cast<CDrawLengthCalibration*>((*m_list)[i]);
        if (!calibration)
            continue;
        CCalibrationData own;
        calibration->GetCalibration(&own);
        own.SetDistance(distance);
        own.SetUnits(units);
        calibration->SetCalibration(&own);
    }
}

void CAnnotateView::OnSaveAnnotationsAs() {
    const QString ext = QString::fromLatin1(CAnnotateDoc::kExtension);
    CFileDialog dialog(FALSE, ext, QString(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       QStringLiteral("Annotation Files (*.%1)|*.%1||").arg(ext));
    if (dialog.DoModal() != IDOK)
        return;
    m_annotateDoc->SaveAnnotations(dialog.GetPathName(), FALSE);
}

void CAnnotateView::OnUpdateSaveAnnotationsAs(CCmdUI* pCmdUI) {
    pCmdUI->Enable(!m_list->empty());
}

void CAnnotateView::OnSaveAnnotations() {
    // Without a recording there is no file beside it to save to: the user names one.
    if (m_annotateDoc->GetName().isEmpty()) {
        if (!m_list->empty())
            OnSaveAnnotationsAs();
        return;
    }
    m_annotateDoc->SaveAnnotations(CAnnotateDoc::DefaultAnnotationPath(m_annotateDoc->GetName()),
                                   FALSE);
}

void CAnnotateView::OnDeleteFrameAnnotations() {
    if (m_list->empty() ||
        AskYesNo(QStringLiteral("Delete annotations in the current frame?")) != IDYES)
        return;
    ResetMouse();
    m_annotateDoc->DeleteObjectsOfFrame(m_currentFrame);
    Redraw();
}

void CAnnotateView::OnDeleteAllAnnotations() {
    if (m_list->empty() || AskYesNo(QStringLiteral("Delete all annotations?")) != IDYES)
        return;
    ResetMouse();
    m_annotateDoc->DeleteAllObjects();
    Redraw();
}

void CAnnotateView::OnToggleDisplayFlags() {
    m_displayAll = !m_displayAll;
    for (CDrawObject* object : *m_list)
        object->SetDisplayFlag(m_displayAll);
    Redraw();
}

void CAnnotateView::OnUpdateToggleDisplayFlags(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_displayAll ? 1 : 0);
}

void CAnnotateView::OnToggleAnnotations() {
    m_annotationsShown = !m_annotationsShown;
    Redraw();
}

void CAnnotateView::OnUpdateToggleAnnotations(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_annotationsShown ? 1 : 0);
}
