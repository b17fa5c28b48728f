#include "views/AnnotateDoc.h"

#include "platform/framework/Archive.h"
#include "platform/framework/File.h"
#include "platform/framework/IPrompter.h"
#include "views/CloneDrawObject.h"
#include "views/DrawObject.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <unordered_set>

namespace {

constexpr int kArchiveBufferSize = 4096;
constexpr int kMaxErrorTextLength = 256;
constexpr double kDuplicateOffset = 10.0;

QString ErrorText(const CException& e) {
    return e.ErrorMessage().left(kMaxErrorTextLength);
}

// A message box without owner window under a caption of its own.
void ShowCaptioned(const QString& text, const QString& caption, UINT type) {
    MessageBoxPrompt prompt;
    prompt.text = text;
    prompt.caption = caption;
    prompt.type = type;
    AfxPrompter().MessageBox(prompt);
}

// Replaces `to` with `from` in one step, so that no moment exists without a whole file.
bool ReplaceFile(const QString& from, const QString& to, int& osError) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return true;
    osError = errno;
    return false;
}

}  // namespace

IMPLEMENT_DYNCREATE(CAnnotateDoc, CDocument)

CAnnotateDoc::CAnnotateDoc() = default;

CAnnotateDoc::~CAnnotateDoc() {
    DeleteAllObjects();
}

void CAnnotateDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_objects.size()));
        for (const CDrawObject* object : m_objects)
            ar.WriteObject(object);
        return;
    }
    ReadObjects(ar);
}

void CAnnotateDoc::ReadObjects(CArchive& ar) {
    // Elements that are not drawing objects are kept aside until reading ends: a later
    // reference in the file may still name them, so they must not be deleted before.
    std::vector<std::unique_ptr<CObject>> rejected;
    std::unordered_set<const CObject*> seen;
    int dropped = 0;
    const DWORD count = ar.ReadCount();
    for (DWORD i = 0; i < count; ++i) {
        CObject* object = ar.ReadObject(nullptr);
        if (!object || !seen.insert(object).second) {
            ++dropped;  // A null element, or one the file names a second time.
            continue;
        }
        if (!object->IsKindOf(RUNTIME_CLASS(CDrawObject))) {
            rejected.emplace_back(object);
            ++dropped;
            continue;
        }
        m_objects.push_back(static_cast<CDrawObject*>(object));
    }
    if (dropped > 0) {
        ShowCaptioned(QStringLiteral("An error was encountered while loading annotations from "
                                     "file.\nFile %1 may be corrupted.")
                          .arg(ar.m_strFileName),
                      QStringLiteral("Read Error"), MB_OK | MB_ICONEXCLAMATION);
    }
}

BOOL CAnnotateDoc::IsModified() {
    if (CDocument::IsModified())
        return TRUE;
    for (const CDrawObject* object : m_objects) {
        if (object->IsModified())
            return TRUE;
    }
    return FALSE;
}

void CAnnotateDoc::ClearAllModified() {
    for (CDrawObject* object : m_objects)
        object->SetModified(FALSE);
    SetModifiedFlag(FALSE);
}

BOOL CAnnotateDoc::OnNewDocument() {
    return FALSE;
}

BOOL CAnnotateDoc::OnOpenDocument(const QString& pathName) {
    // The framework's own opening reads the list through Serialize; loading on top of it
    // would append every object a second time. The file is read once, here, with the
    // annotation messages.
    const int loaded = LoadAnnotations(pathName, FALSE);
    ClearAllModified();
    return loaded;
}

void CAnnotateDoc::DeleteAllObjects() {
    for (CDrawObject* object : m_objects)
        delete object;
    m_objects.clear();
    SetModifiedFlag();
}

void CAnnotateDoc::DeleteWhere(bool (*doomed)(const CDrawObject&, int), int frame) {
    for (auto it = m_objects.begin(); it != m_objects.end();) {
        if (doomed(**it, frame)) {
            delete *it;
            it = m_objects.erase(it);
            SetModifiedFlag();
        } else {
            ++it;
        }
    }
}

void CAnnotateDoc::DeleteObjectsOfFrame(int frame) {
    DeleteWhere([](const CDrawObject& o, int f) { return o.GetFrame() == f; }, frame);
}

void CAnnotateDoc::DeleteSelectedObjects() {
    DeleteWhere([](const CDrawObject& o, int) { return o.IsSelected() != 0; }, 0);
}

void CAnnotateDoc::SelectAll(BOOL selected) {
    for (CDrawObject* object : m_objects)
        object->SetSelected(selected);
}

CDrawObject* CAnnotateDoc::GetFirstSelected(int* position) const {
    for (size_t i = 0; i < m_objects.size(); ++i) {
        if (m_objects[i]->IsSelected()) {
            if (position)
                *position = static_cast<int>(i);
            return m_objects[i];
        }
    }
    return nullptr;
}

CDrawObject* CAnnotateDoc::FindNextInFrame(int frame, int* position) const {
    if (!position)
        return nullptr;
    const int count = static_cast<int>(m_objects.size());
    for (int i = std::max(*position + 1, 0); i < count; ++i) {
        const int value = m_objects[static_cast<size_t>(i)]->GetFrame();
        if (value == frame || value < 0) {
            *position = i;
            return m_objects[static_cast<size_t>(i)];
        }
    }
    return nullptr;
}

CDrawObject* CAnnotateDoc::FindPreviousInFrame(int frame, int* position) const {
    if (!position)
        return nullptr;
    const int count = static_cast<int>(m_objects.size());
    for (int i = std::min(*position, count) - 1; i >= 0; --i) {
        const int value = m_objects[static_cast<size_t>(i)]->GetFrame();
        if (value == frame || value < 0) {
            *position = i;
            return m_objects[static_cast<size_t>(i)];
        }
    }
    return nullptr;
}

void CAnnotateDoc::DuplicateSelected() {
    const size_t originals = m_objects.size();
    for (size_t i = 0; i < originals; ++i) {
        if (!m_objects[i]->IsSelected())
            continue;
        CDrawObject* copy = CloneDrawObject(m_objects[i]);
        if (!copy)
            continue;
        copy->OffsetPoints({kDuplicateOffset, kDuplicateOffset}, TRUE);
        copy->SetSelected(FALSE);
        m_objects.push_back(copy);
        SetModifiedFlag();
    }
    for (size_t i = 0; i < m_objects.size(); ++i)
        m_objects[i]->SetSelected(i >= originals);
}

int CAnnotateDoc::SaveAnnotations(const QString& path, BOOL quiet) {
    if (m_objects.empty()) {
        // Shown whatever `quiet` says: the user learns that the file went away.
        const bool removed = QFile::remove(path);
        AfxMessageBox(removed ? QStringLiteral("No annotations to save.  Annotations file removed.")
                              : QStringLiteral("No annotations to save."),
                      MB_OK | MB_ICONINFORMATION);
        return 1;
    }

    const QString temporary = path + QStringLiteral(".saving");
    CFile file;
    if (!file.Open(temporary, CFile::modeCreate | CFile::modeWrite)) {
        if (!quiet)
            AfxMessageBox(QStringLiteral("Unable to open file for writing: %1.").arg(path),
                          MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    try {
        CArchive ar(&file, CArchive::store, kArchiveBufferSize);
        ar.m_strFileName = path;
        Serialize(ar);
        ar.Close();
        file.Close();
        int osError = 0;
        if (!ReplaceFile(temporary, path, osError))
            throw CFileException(CFileException::accessDenied, osError, path);
    } catch (const CException& e) {
        file.Abort();
        QFile::remove(temporary);
        AfxMessageBox(QStringLiteral("During annotation saving to %1, the following error "
                                     "occurred:\n%2")
                          .arg(path, ErrorText(e)),
                      MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    if (!quiet)
        AfxMessageBox(QStringLiteral("Annotations successfully saved to file %1.").arg(path),
                      MB_OK | MB_ICONINFORMATION);
    return 1;
}

int CAnnotateDoc::LoadAnnotations(const QString& path, BOOL quiet) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        if (!quiet)
            AfxMessageBox(QStringLiteral("Could not open annotations file."),
                          MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    try {
        CArchive ar(&file, CArchive::load, kArchiveBufferSize);
        Serialize(ar);
        ar.Close();
    } catch (const CException& e) {
        file.Abort();
        AfxMessageBox(QStringLiteral("During annotation loading from %1, the following error "
                                     "occurred:\n%2")
                          .arg(path, ErrorText(e)),
                      MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    file.Abort();
    return 1;
}

int CAnnotateDoc::PromptSaveModified() {
    if (!IsModified())
        return 1;
    const QString name = m_name.isEmpty() ? GetPathName() : m_name;
    const int answer = AfxMessageBox(QStringLiteral("Annotations have been modified for %1.\nWould "
                                                    "you like to save your changes before closing?")
                                         .arg(name),
                                     MB_YESNOCANCEL | MB_ICONINFORMATION);
    if (answer == IDCANCEL)
        return 0;
    if (answer == IDNO)
        return 1;
    return SaveAnnotations(DefaultAnnotationPath(name), FALSE);
}

QString CAnnotateDoc::DefaultAnnotationPath(const QString& name) {
    const qsizetype slash = std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\'));
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > slash ? name.left(dot) : name;
    return stem + u'.' + QLatin1String(kExtension);
}
