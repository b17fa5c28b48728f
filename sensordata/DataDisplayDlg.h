#pragma once

// CDataDisplayDlg: the "Data Display" window: plots the channels of one CVidraData against time
// or against the frame-data index, with a cursor whose sample is read out per channel beside
// the graph and reported to the owner, so that video and data move together. Made from
// template 287 (a window of its own) or 1538 (a child of the sensor panel) of the
// sensor-resource library; its display options live in a CFormatSettingsDlg. The graph is the
// program's graph widget unless one is given before creation. User-interface thread only.

#include "platform/framework/Dialog.h"
#include "platform/framework/ListBox.h"
#include "platform/wintypes/Rect.h"
#include "sensordata/ReadoutDelegate.h"
#include "sensordata/ReadoutField.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResource.h"

#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>

#include <array>
#include <vector>

class CFormatSettingsDlg;
class IGraphControl;
class QListWidget;
class QStyle;
class QWidget;

class CDataDisplayDlg : public CDialog {
    DECLARE_DYNAMIC(CDataDisplayDlg)
    DECLARE_MESSAGE_MAP()

public:
    // The mouse modes the window remembers.
    enum MouseMode { kCursorMode = 0, kZoomMode = 1, kPanMode = 2 };
    using CursorChanged = void (*)(void* context, int index);

    explicit CDataDisplayDlg(CWnd* pParent = nullptr, CVidraData* data = nullptr);
    ~CDataDisplayDlg() override;

    // Creates the window from the template (0: 287) with the sensor-resource library's
    // templates first. A null parent or data keeps the one given before.
    BOOL Create(CWnd* pParent, CVidraData* data, UINT nIDTemplate = 0);

    // The graph to draw on instead of the window's own (not owned); before Create.
    void SetGraph(IGraphControl* graph) { m_graph = graph; }
    void SetData(CVidraData* data) { m_pData = data; }
    void SetFormatSettings(CFormatSettingsDlg* settings) { m_pSettings = settings; }
    void SetCursorCallback(CursorChanged callback, void* context) {
        m_pfnCursorChanged = callback;
        m_pCursorContext = context;
    }
    void SetCaption(const QString& caption) { m_caption = caption; }
    // The window whose context menu a right-click on the display shows instead of the
    // display's own (null: its own); it stays the caller's.
    void SetContextMenuTarget(CWnd* target) { m_contextTarget = target; }
    void SetBusy(bool busy) { m_bBusy = busy; }
    bool IsDataCentric() const { return m_bDataCentric; }
    // As the data-centric check does: the graph counts from the data's second origin (on) or
    // from its zero point, and is drawn again keeping the cursor.
    void SetDataCentric(bool on);
    bool IsSidePanelShown() const { return m_bSidePanel; }
    int GetMouseMode() const { return m_nMouseMode; }
    // The mouse mode (MouseMode) on the graph and remembered.
    void SetMouseMode(int mode);

    // Rebuilds the whole graph from the data and the settings; nothing while busy, or without
    // data, settings or graph.
    void BuildPlot();
    // Draws the data again keeping the user's zoom, pan and cursor: while the plots stand for
    // the same channels over the same scans as at the last build only their samples are
    // replaced; otherwise the graph is built anew. Live data is redrawn this way every tick.
    void UpdatePlot();
    // Shows or hides the buttons along the top and the read-out panel; without them the graph
    // fills the window.
    void ShowControls(bool show);
    bool AreControlsShown() const { return !m_bBare; }
    // Rewrites the index, time and per-channel texts for the cursor's sample.
    void UpdateReadout();
    int GetCursorIndex() const;
    // Puts the cursor at index and updates the read-out; with notify, an index other than the
    // one before and a callback set, tells the owner.
    void SetCursorIndex(int index, bool notify);
    // A rebuild asked for from outside: in zoom or pan mode the graph is rebuilt (back to its
    // full range) keeping the cursor's sample; in cursor mode nothing happens.
    void RequestRebuild();
    // The user moved the cursor to graph position x.
    void OnGraphCursorMoved(double x);

    // Where the graph and the read-out panel go in a client area of w x h.
    struct Layout {
        CRect graph;
        CRect list;
        CRect indexLabel;
        CRect indexField;
        CRect timeLabel;
        CRect timeField;
    };
    static Layout ComputeLayout(int w, int h, bool sidePanel);

    BOOL OnInitDialog() override;

protected:
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void OnCursorMode();
    void OnZoomMode();
    void OnPanMode();
    void OnValues();
    void OnConfigure();
    void OnDataCentric();
    void OnBack();
    void OnFwd();
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    // Opens the format settings modally; on OK the graph is rebuilt with them.
    void OnFormatSettings();

private:
    // What the graph's plots stand for: the channel of each plot in order, over which scans
    // and axis.
    struct PlotShape {
        std::vector<int> channels;
        int scans = -1;
        bool scaledView = false;
        int origin = 0;
        int rate = 0;
        bool operator==(const PlotShape&) const = default;
    };
    PlotShape CurrentShape() const;
    // The x axis values of the plotted scans and one channel's samples as plotted.
    void AxisValues(bool scaledView, int scans, std::vector<float>* x) const;
    void ChannelValues(int channel, bool scaledView, int scans, std::vector<float>* y) const;
    // The read-out list shows lines.
    void ShowLines(const QStringList& lines);
    // The scan that the read-out and the axes count from.
    int Origin() const;
    bool UsesSecondOrigin() const;
    // Rebuilds the graph and puts the cursor back on its sample, so that graph and read-out
    // agree (a rebuild alone puts the cursor at the start of the range).
    void RebuildKeepingCursor();
    void ApplyLayout();
    // One step at a time from the cursor towards the end (+1) or towards index 1 (-1), until
    // the graph's cursor has moved.
    void Step(int direction);

    // The texts of a channel's read-out that change only with its label and units, and what
    // they were made from.
    struct ReadoutTexts {
        bool known = false;
        bool unitsKnown = false;
        QString label;
        QString heading;
        QString units;
        QString suffix;
    };
    std::array<ReadoutTexts, CVidraData::kChannelSlots> m_readoutTexts;

    // Where the read-out's rows lie in the list's viewport, asked of the list once for as long
    // as nothing they depend on changes: the list measures every row anew when asked.
    struct RowPlaces {
        qsizetype count = -1;
        QSize viewport;
        QPoint scroll;
        QFont font;
        const QStyle* style = nullptr;
        std::vector<QRect> rows;  // null where not asked yet
    };
    // Forgets the places when the list's rows may lie elsewhere now.
    void CheckRowPlaces(const QListWidget* list, const QFont& font);
    QRect RowPlace(const QListWidget* list, int row);
    RowPlaces m_rowPlaces;

    CWnd* m_pParent = nullptr;
    CListBox m_list;
    CReadoutField m_indexField;
    CReadoutField m_timeField;
    QPointer<CReadoutDelegate> m_readout;  // the list's painter, owned by the list
    IGraphControl* m_graph = nullptr;
    QPointer<QWidget> m_graphWidget;  // the window's own graph, when it made one
    bool m_bLayoutReady = false;
    bool m_bBare = false;
    PlotShape m_shape;  // since the last build
    bool m_bSidePanel = true;
    bool m_bDataCentric = false;
    int m_nMouseMode = kCursorMode;
    CVidraData* m_pData = nullptr;
    CFormatSettingsDlg* m_pSettings = nullptr;
    bool m_bBusy = false;
    int m_shownIndex = 0;  // the cursor's index as this window last set it
    CursorChanged m_pfnCursorChanged = nullptr;
    void* m_pCursorContext = nullptr;
    QString m_caption;
    CWnd* m_contextTarget = nullptr;
    CSensorResource m_resource;  // keeps the sensor-resource library bound
};
