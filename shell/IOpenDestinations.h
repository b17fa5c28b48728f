#pragma once

// IOpenDestinations: the windows and documents the open router places files into. The
// projects, play groups and record controllers live in higher layers; the application
// implements this interface over them, tests with recording fakes.

#include <QString>

class CDocument;

class IOpenDestinations {
public:
    // A window found among the MDI children: its view, opaque to the router and handed back
    // to Activate, and the view's document, which may be missing.
    struct Window {
        void* view = nullptr;
        CDocument* document = nullptr;
    };

    // The filter-extension field of the template registered under key (".a;.b"), or empty.
    virtual QString FilterExtensions(const QString& templateKey) = 0;
    // An integer setting of the settings store; 0 when it is absent.
    virtual int IntegerSetting(const QString& key) = 0;
    // Creation option 0 of the application: 0 places files into projects, any other value
    // into stand-alone play groups.
    virtual int PlacementMode() = 0;

    // The first project view (top of the Z order first) that hosts a record group.
    virtual Window FindRecordProject() = 0;
    // The first record-controller view.
    virtual Window FindRecordController() = 0;
    // The first project view that hosts no record group.
    virtual Window FindPlayProject() = 0;
    // The first play-group view.
    virtual Window FindPlayGroup() = 0;

    // The operations return false when they did not happen (the document cannot do it, or
    // its kind is not part of the program).
    // Opens a record configuration into the project's record group.
    virtual bool OpenRecordConfiguration(CDocument* project, const QString& path) = 0;
    // Opens a file into the project's play group; *group is the group it went to, or stays
    // null.
    virtual bool OpenPlayGroupFile(CDocument* project, const QString& path, CDocument** group) = 0;
    // Adds a file to a play group.
    virtual bool AddFileToPlayGroup(CDocument* group, const QString& path) = 0;
    // Opens the companions of a file the group has opened; false also when it has none.
    virtual bool OpenFileWithSimilarlyNamed(CDocument* group, const QString& path) = 0;
    // Makes the path the record controller's own, without the side effects of a path name.
    virtual bool StorePathName(CDocument* recordController, const QString& path) = 0;
    // Loads the devices of the record controller's stored path.
    virtual bool LoadDeviceSet(CDocument* recordController, int flag) = 0;
    // Opens the path with the template registered under key, visible. Null when it did not
    // open.
    virtual CDocument* OpenWithTemplate(const QString& templateKey, const QString& path) = 0;

    virtual void AddToRecentFileList(const QString& path) = 0;
    // Brings the window's frame to the front of the MDI client.
    virtual void Activate(const Window& window) = 0;

protected:
    ~IOpenDestinations() = default;
};
