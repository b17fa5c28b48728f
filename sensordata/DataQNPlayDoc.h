#pragma once

// CDataQNPlayDoc: the document of a data playback window of the second family. The data lives
// in its data server ("QnSens.QnCVidraData"), made with the document and let go with it; no
// data passes through the document itself. Without a server every open fails.

#include "platform/com/OleDispatchDriver.h"
#include "platform/framework/Document.h"

class CSensorDataSet;

class CDataQNPlayDoc : public CDocument {
    DECLARE_DYNCREATE(CDataQNPlayDoc)

public:
    CDataQNPlayDoc();
    ~CDataQNPlayDoc() override;

    // The server's method 18 with the path: TRUE when it answers 0; a failure is reported as a
    // failed open.
    BOOL OnOpenDocument(const QString& pathName) override;
    // The server's method 14 with the path: TRUE when it answers 0.
    BOOL OnSaveDocument(const QString& pathName) override;

    IDispatch* GetServer() const { return m_server.GetDispatch(); }
    // The data set the server holds, for the views to draw; null without a server.
    CSensorDataSet* GetServerData() const;

private:
    // The server's answer to method member with the path; -1 when the call failed.
    LONG CallServer(DISPID member, const QString& path) const;

    COleDispatchDriver m_server;
};
