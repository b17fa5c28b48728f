#pragma once

// CAnnotateDoc: the annotations of one video: an ordered list of drawing objects (drawing
// order, head first, and storing order) and its annotation file (".ant"), an object archive of
// the list with nothing before or after it.
//
// The document owns its objects and deletes them when they leave the list or the document
// goes. Positions in the list are indices from the head. Messages go through the prompter
// without owner window. Its owner (the video's window) creates and deletes it; it cannot be
// made new through the framework, but the framework may open a file into it.

#include "platform/framework/Document.h"
#include "platform/wintypes/WinTypes.h"

#include <QString>

#include <vector>

class CArchive;
class CDrawObject;

using CDrawObjectList = std::vector<CDrawObject*>;

class CAnnotateDoc : public CDocument {
    DECLARE_DYNCREATE(CAnnotateDoc)

public:
    static constexpr const char* kExtension = "ant";

    CAnnotateDoc();
    ~CAnnotateDoc() override;
    CAnnotateDoc(const CAnnotateDoc&) = delete;
    CAnnotateDoc& operator=(const CAnnotateDoc&) = delete;

    // The list the view works on; objects added to it belong to the document.
    CDrawObjectList* GetObjectList() { return &m_objects; }
    QString GetName() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }

    // Writes the list, or appends what the archive holds to it. Elements that are not drawing
    // objects (or that the file names twice) are dropped with a "Read Error" message. On an
    // archive or file error the objects read before it stay in the list.
    void Serialize(CArchive& ar) override;

    // The document's own flag, or any object that reports itself modified.
    BOOL IsModified() override;
    // Clears the document's flag and every object's mark.
    void ClearAllModified();

    // FALSE: an annotation document belongs to a video and is never made empty on its own.
    BOOL OnNewDocument() override;
    // Appends the file's objects (LoadAnnotations, with its messages) and leaves everything
    // unmodified; the result is the loading's.
    BOOL OnOpenDocument(const QString& pathName) override;

    void DeleteAllObjects();
    // Deletes the objects whose frame value is exactly `frame`.
    void DeleteObjectsOfFrame(int frame);
    void DeleteSelectedObjects();
    void SelectAll(BOOL selected);
    // The first selected object from the head and its position; nullptr when none.
    CDrawObject* GetFirstSelected(int* position) const;
    // From just after (before) *position toward the tail (head): the first object whose frame
    // value is `frame` or negative; *position follows it. nullptr when there is none.
    CDrawObject* FindNextInFrame(int frame, int* position) const;
    CDrawObject* FindPreviousInFrame(int frame, int* position) const;
    // Appends a copy, moved by (10, 10), of every selected object; afterwards exactly the
    // copies are selected.
    void DuplicateSelected();

    // 1 when saved (or, for an empty list, when there was nothing to save), else 0. The file
    // is written under a temporary name and then renamed over the old one, so a failed save
    // leaves the old file as it was. `quiet` hides the open failure and the success message.
    int SaveAnnotations(const QString& path, BOOL quiet);
    // 1 when the whole file was read, else 0; what was read before an error stays in the list.
    int LoadAnnotations(const QString& path, BOOL quiet);
    // Asks before closing: 1 to go on, 0 to keep the window (Cancel, or a save that failed).
    virtual int PromptSaveModified();

    // The name with its extension (of the last path component) replaced by ".ant".
    static QString DefaultAnnotationPath(const QString& name);

private:
    void DeleteWhere(bool (*doomed)(const CDrawObject&, int), int frame);
    void ReadObjects(CArchive& ar);

    CDrawObjectList m_objects;
    QString m_name;
};
