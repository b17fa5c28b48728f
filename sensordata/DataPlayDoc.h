#pragma once

// CDataPlayDoc: the document of a data playback window of the first family: one data set,
// shared through CSharedRef with the play group and the views that show it. A new document
// holds a fresh, empty data set; opening a file fills it; a play group or the record
// controller hands it another one.

#include "frames/SharedRef.h"
#include "platform/framework/Document.h"

class CSensorDataSet;

class CDataPlayDoc : public CDocument {
    DECLARE_DYNCREATE(CDataPlayDoc)

public:
    // The hints SetDataSet updates the views with: a data set in place of the one shown, or
    // the data shown changed.
    static constexpr LPARAM kHintNewData = 1;
    static constexpr LPARAM kHintDataChanged = 2;

    CDataPlayDoc();
    ~CDataPlayDoc() override;

    // The held data set reads the file (".au2" as text, anything else as the binary data file).
    // FALSE without a data set, or when the file cannot be read, which is reported as a failed
    // open.
    BOOL OnOpenDocument(const QString& pathName) override;
    // Writes the binary data file (through a temporary file); FALSE without a data set or when
    // the file could not be written (the data set says so).
    BOOL OnSaveDocument(const QString& pathName) override;

    // Holds data from now on and updates the views: hint kHintNewData when newData is set,
    // else kHintDataChanged.
    void SetDataSet(const CSharedRef<CSensorDataSet>& data, int newData);
    CSharedRef<CSensorDataSet> GetDataSet() const { return m_data; }

private:
    CSharedRef<CSensorDataSet> m_data;
};
