// An annotation file (".ant") loaded as a video's window loads it, then every object drawn into
// an offscreen image the way the view paints a frame (unzoomed and zoomed, selected and not) and
// hit-tested as clicks do: on each of its points and beside them.

#include "fuzz/FuzzSupport.h"
#include "platform/framework/DC.h"
#include "views/AnnotateDoc.h"
#include "views/DrawObject.h"
#include "views/ZoomTransform.h"

#include <QImage>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString path = FuzzFile(data, size, QStringLiteral("input.ant"));
    CAnnotateDoc doc;
    doc.LoadAnnotations(path, TRUE);
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::black);
    CDC dc(&image);
    CZoomTransform zoomed;
    zoomed.SetScale(2.5);
    zoomed.SetOffset(3, -4);
    zoomed.SetWindowSize(64, 48);
    zoomed.SetImageSize(40, 30);
    for (CDrawObject* object : *doc.GetObjectList()) {
        for (const CZoomTransform* t : {static_cast<const CZoomTransform*>(nullptr),
                                        static_cast<const CZoomTransform*>(&zoomed)}) {
            for (const BOOL selected : {FALSE, TRUE}) {
                object->SetSelected(selected);
                object->SetCurrentFrame(object->GetFrame());
                object->Draw(&dc, t, 0);
            }
        }
        int part = 0;
        const int points = std::min(object->GetPointCount(), 16);
        for (int i = 0; i < points; ++i) {
            const CDoublePoint p = object->GetPoint(i, FALSE);
            object->HitTest(p, &part);
            object->HitTestEx(p.Minus(2, -3), p, &part, FALSE, 0, 0);
        }
        object->HitTest({20, 20}, &part);
    }
    doc.DuplicateSelected();
    doc.SaveAnnotations(FuzzFile(nullptr, 0, QStringLiteral("saved.ant")), TRUE);
    return 0;
}
