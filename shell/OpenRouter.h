#pragma once

// COpenRouter: decides where a file that reaches the program opens: a record configuration
// into the record project or record controller already open (else a new one), any other file
// into an open
// project or play group or a new one, with its similarly named companions when the user wants
// them.

#include "shell/IOpenDestinations.h"

#include <QString>

class CDocument;

// Keys of the templates the router reaches.
inline constexpr const char* kRecordTemplateKey = "DT:Rec";
inline constexpr const char* kPlayGroupTemplateKey = "DT:Meas2";
inline constexpr const char* kProjectTemplateKey = "DT:Gen";

class COpenRouter {
public:
    explicit COpenRouter(IOpenDestinations& destinations) : m_destinations(destinations) {}

    // The document the file went into (the project, record controller or play group), or null
    // when nothing opened it. Only a file that opened joins the recent-file list.
    CDocument* Open(const QString& path);

private:
    CDocument* OpenRecordConfiguration(const QString& path, int mode);
    CDocument* OpenIntoExisting(const QString& path, int mode, bool similar);
    CDocument* OpenNewGroup(const QString& path, bool similar);
    void Finish(const QString& path, const IOpenDestinations::Window& window);

    IOpenDestinations& m_destinations;
};
