#include "shell/OpenRouter.h"

#include "shell/ExtensionList.h"

CDocument* COpenRouter::Open(const QString& path) {
    if (path.isEmpty())
        return nullptr;
    const CExtensionList recordExtensions(
        m_destinations.FilterExtensions(QString::fromLatin1(kRecordTemplateKey)));
    const CExtensionList groupExtensions(
        m_destinations.FilterExtensions(QString::fromLatin1(kPlayGroupTemplateKey)));
    const int mode = m_destinations.PlacementMode();

    // Play-group files have their own choice of going into an open window.
    const bool inExisting =
        m_destinations.IntegerSetting(groupExtensions.Matches(path)
                                          ? QStringLiteral("AppBehave:bOpenPGInExisting")
                                          : QStringLiteral("AppBehave:bOpenInExisting")) == 1;
    const bool similar =
        m_destinations.IntegerSetting(QStringLiteral("AppBehave:bOpenSimilarlyNamed")) != 0;

    if (recordExtensions.Matches(path))
        return OpenRecordConfiguration(path, mode);
    if (inExisting)
        return OpenIntoExisting(path, mode, similar);
    if (mode == 0)
        return m_destinations.OpenWithTemplate(QString::fromLatin1(kProjectTemplateKey), path);
    return OpenNewGroup(path, similar);
}

CDocument* COpenRouter::OpenRecordConfiguration(const QString& path, int mode) {
    // A record configuration joins the record group that is open already; without one it
    // opens as a new project would take it (its record group from the file), or as a record
    // controller of its own.
    if (mode == 0) {
        const IOpenDestinations::Window project = m_destinations.FindRecordProject();
        if (!project.view || !project.document)
            return m_destinations.OpenWithTemplate(QString::fromLatin1(kProjectTemplateKey), path);
        if (!m_destinations.OpenRecordConfiguration(project.document, path))
            return nullptr;
        Finish(path, project);
        return project.document;
    }
    const IOpenDestinations::Window controller = m_destinations.FindRecordController();
    if (!controller.view || !controller.document)
        return m_destinations.OpenWithTemplate(QString::fromLatin1(kRecordTemplateKey), path);
    if (!m_destinations.StorePathName(controller.document, path) ||
        !m_destinations.LoadDeviceSet(controller.document, 0))
        return nullptr;
    Finish(path, controller);
    return controller.document;
}

CDocument* COpenRouter::OpenIntoExisting(const QString& path, int mode, bool similar) {
    if (mode == 0) {
        const IOpenDestinations::Window project = m_destinations.FindPlayProject();
        if (!project.view || !project.document)
            return m_destinations.OpenWithTemplate(QString::fromLatin1(kProjectTemplateKey), path);
        CDocument* group = nullptr;
        if (!m_destinations.OpenPlayGroupFile(project.document, path, &group))
            return nullptr;
        if (similar && group)
            m_destinations.OpenFileWithSimilarlyNamed(group, path);
        Finish(path, project);
        return project.document;
    }
    const IOpenDestinations::Window group = m_destinations.FindPlayGroup();
    if (!group.view || !group.document)
        return OpenNewGroup(path, similar);
    if (!m_destinations.AddFileToPlayGroup(group.document, path))
        return nullptr;
    if (similar)
        m_destinations.OpenFileWithSimilarlyNamed(group.document, path);
    Finish(path, group);
    return group.document;
}

CDocument* COpenRouter::OpenNewGroup(const QString& path, bool similar) {
    CDocument* group =
        m_destinations.OpenWithTemplate(QString::fromLatin1(kPlayGroupTemplateKey), path);
    if (group && similar)
        m_destinations.OpenFileWithSimilarlyNamed(group, path);
    return group;
}

void COpenRouter::Finish(const QString& path, const IOpenDestinations::Window& window) {
    m_destinations.AddToRecentFileList(path);
    m_destinations.Activate(window);
}
