#include "sensordata/DataDisplayDlg.h"

#include "platform/controls/GraphWidget.h"
#include "platform/framework/Button.h"
#include "platform/framework/DataExchange.h"
#include "platform/framework/Menu.h"
#include "platform/framework/ResourceChain.h"
#include "platform/framework/ResourceModuleScope.h"
#include "sensordata/FormatSettingsDlg.h"
#include "sensordata/GraphConfigDlg.h"
#include "sensordata/model/VidraData.h"
#include "sensorres/SensorResourceIds.h"

#include <QAbstractButton>
#include <QListWidget>
#include <QPixmap>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <vector>

IMPLEMENT_DYNAMIC(CDataDisplayDlg, CDialog)

BEGIN_MESSAGE_MAP(CDataDisplayDlg, CDialog)
ON_WM_SIZE()
ON_WM_DESTROY()
ON_BN_CLICKED(DataDisplayId::kCursorMode, OnCursorMode)
ON_BN_CLICKED(DataDisplayId::kZoomMode, OnZoomMode)
ON_BN_CLICKED(DataDisplayId::kPanMode, OnPanMode)
ON_BN_CLICKED(DataDisplayId::kValuesButton, OnValues)
ON_BN_CLICKED(DataDisplayId::kConfigure, OnConfigure)
ON_BN_CLICKED(DataDisplayId::kDataCentric, OnDataCentric)
ON_BN_CLICKED(DataDisplayId::kBack, OnBack)
ON_BN_CLICKED(DataDisplayId::kFwd, OnFwd)
ON_WM_CONTEXTMENU()
ON_COMMAND(SensorRes::kFormatSettingsCommand, OnFormatSettings)
END_MESSAGE_MAP()

namespace {

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kMajorGrid = 0x808080;
constexpr COLORREF kMinorGridOnBlack = 0x404040;
constexpr COLORREF kMinorGridOnWhite = 0xC0C0C0;

GraphMouseMode GraphModeOf(int mode) {
    switch (mode) {
        case CDataDisplayDlg::kZoomMode:
            return GraphMouseMode::Zoom;
        case CDataDisplayDlg::kPanMode:
            return GraphMouseMode::Pan;
        default:
            return GraphMouseMode::Cursor;
    }
}

constexpr int kSidePanelControls[] = {DataDisplayId::kValuesList, DataDisplayId::kIndexLabel,
                                      DataDisplayId::kIndexField, DataDisplayId::kTimeLabel,
                                      DataDisplayId::kTimeField};

}  // namespace

CDataDisplayDlg::CDataDisplayDlg(CWnd* pParent, CVidraData* data)
    : CDialog(SensorRes::kDataDisplayTemplate, pParent), m_pParent(pParent), m_pData(data) {}

CDataDisplayDlg::~CDataDisplayDlg() = default;

BOOL CDataDisplayDlg::Create(CWnd* pParent, CVidraData* data, UINT nIDTemplate) {
    if (pParent)
        m_pParent = pParent;
    if (data)
        m_pData = data;
    CResourceModuleScope scope(SensorRes::kModuleName);
    return CDialog::Create(nIDTemplate ? nIDTemplate : SensorRes::kDataDisplayTemplate, m_pParent);
}

BOOL CDataDisplayDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(DataDisplayId::kValuesList, this);
    // The read-out fields change at every step of the cursor: held rather than looked up.
    m_indexField.Attach(DataDisplayId::kIndexField, this);
    m_timeField.Attach(DataDisplayId::kTimeField, this);
    if (auto* list = qobject_cast<QListWidget*>(m_list.GetQWidget())) {
        m_readout = new CReadoutDelegate(list);
        list->setItemDelegate(m_readout);
    }
    if (!m_graph) {
        // The template holds the graph's place; the program's graph widget takes it over.
        auto* widget = new CGraphWidget(GetQWidget());
        if (CWnd* place = GetDlgItem(DataDisplayId::kGraph)) {
            CRect rect;
            place->GetWindowRect(&rect);
            ScreenToClient(&rect);
            widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
            place->ShowWindow(SW_HIDE);
        }
        widget->show();
        m_graphWidget = widget;
        m_graph = widget;
    }
    m_graph->SetCursorMovedHandler([this](int, double x) { OnGraphCursorMoved(x); });
    CheckRadioButton(DataDisplayId::kCursorMode, DataDisplayId::kPanMode,
                     DataDisplayId::kCursorMode);
    for (auto [id, icon] : {std::pair{DataDisplayId::kBack, SensorRes::kBackIcon},
                            std::pair{DataDisplayId::kFwd, SensorRes::kStepIcon}}) {
        const QImage image = CResourceChain::LoadIcon(icon);
        CWnd* button = GetDlgItem(id);
        if (auto* widget = button ? qobject_cast<QAbstractButton*>(button->GetQWidget()) : nullptr;
            widget && !image.isNull()) {
            widget->setIcon(QPixmap::fromImage(image));
            widget->setText(QString());
            widget->setToolTip(id == DataDisplayId::kBack ? QStringLiteral("Back")
                                                          : QStringLiteral("Fwd"));
        }
    }
    m_bLayoutReady = true;
    ApplyLayout();
    if (!m_bBusy) {
        BuildPlot();
        UpdateReadout();
        if (!m_caption.isEmpty())
            SetWindowText(m_caption);
        SetCursorIndex(0, true);
    }
    return TRUE;
}

bool CDataDisplayDlg::UsesSecondOrigin() const {
    return m_bDataCentric && m_pData && m_pData->m_nSecondOrigin != 0;
}

int CDataDisplayDlg::Origin() const {
    if (!m_pData)
        return 0;
    return UsesSecondOrigin() ? m_pData->m_nSecondOrigin : m_pData->m_nZP;
}

CDataDisplayDlg::PlotShape CDataDisplayDlg::CurrentShape() const {
    PlotShape shape;
    shape.scaledView = m_pSettings->m_nScaledView != 0;
    shape.origin = Origin();
    shape.rate = m_pData->SafeScanRate();
    // The plot holds no more scans than the drawn arrays: none when nothing is drawn.
    size_t held = 0;
    int k = 0;  // index among the channels that are on: the stored array
    for (int c = 0; c < CVidraData::kChannelSlots; ++c) {
        if (!m_pData->m_onFlags[c])
            continue;
        const size_t stored = static_cast<size_t>(k++);
        if (m_pSettings->m_displayed[c] && stored < m_pData->m_channels.size()) {
            shape.channels.push_back(c);
            held = std::max(held, m_pData->m_channels[stored].size());
        }
    }
    shape.scans =
        static_cast<int>(std::min(held, static_cast<size_t>(std::max(0, m_pData->m_nTotalScans))));
    return shape;
}

void CDataDisplayDlg::AxisValues(bool scaledView, int scans, std::vector<float>* x) const {
    x->resize(static_cast<size_t>(scans));
    if (scaledView) {
        if (UsesSecondOrigin())
            m_pData->GetTimeAxisSecondOrigin(*x);
        else
            m_pData->GetTimeAxis(*x);
    } else {
        if (UsesSecondOrigin())
            m_pData->GetIndexAxisSecondOrigin(*x);
        else
            m_pData->GetIndexAxis(*x);
    }
}

void CDataDisplayDlg::ChannelValues(int channel, bool scaledView, int scans,
                                    std::vector<float>* y) const {
    const std::vector<float>* samples = m_pData->ChannelSamples(channel);
    y->assign(static_cast<size_t>(scans), 0.0f);
    if (!samples)
        return;
    // A short array (a damaged model) is drawn as far as it goes.
    std::copy_n(samples->begin(), std::min(samples->size(), y->size()), y->begin());
    if (!scaledView)
        return;
    const float factor = m_pSettings->m_factors[channel];
    const float offset = m_pSettings->m_offsets[channel];
    for (float& v : *y)
        v = v * factor + offset;
}

void CDataDisplayDlg::BuildPlot() {
    if (m_bBusy || !m_pData || !m_pSettings || !m_graph)
        return;
    IGraphControl& graph = *m_graph;
    const CFormatSettingsDlg& settings = *m_pSettings;
    graph.RemoveAllPlots();
    graph.RemoveAllCursors();
    graph.SetAxisCaption(GraphAxis::Y, QString());

    m_shape = CurrentShape();
    const int n = m_shape.scans;
    const bool scaledView = m_shape.scaledView;
    std::vector<float> x;
    std::vector<float> y;
    AxisValues(scaledView, n, &x);
    if (GetSafeHwnd())
        CheckDlgButton(DataDisplayId::kDataCentric, m_bDataCentric ? BST_CHECKED : BST_UNCHECKED);

    // The plot's number is the one the graph hands out: channels that are on but hidden add no
    // plot.
    for (int c : m_shape.channels) {
        ChannelValues(c, scaledView, n, &y);
        const int plot = graph.AddPlot();
        graph.SetPlotColor(plot, static_cast<COLORREF>(m_pData->m_colors[c]));
        graph.SetPlotFlag(plot, true);
        if (n > 0)
            graph.SetAxisRange(GraphAxis::X, x.front(), x.back());
        graph.PlotXY(plot, x.data(), n, y.data(), n);
        if (scaledView && c == settings.m_nCaptionChannel)
            graph.SetAxisCaption(GraphAxis::Y, settings.m_labels[c] + QStringLiteral(" (") +
                                                   settings.m_units[c] + QStringLiteral(")"));
    }
    const bool drawn = !m_shape.channels.empty();

    const bool black = settings.m_nBlackBackground != 0;
    graph.SetPlotAreaColor(black ? kBlack : kWhite);
    for (GraphAxis axis : {GraphAxis::X, GraphAxis::Y}) {
        if (settings.m_nGridLines) {
            graph.SetGridLines(axis, true, true);
            graph.SetGridColors(axis, kMajorGrid, black ? kMinorGridOnBlack : kMinorGridOnWhite);
        } else {
            graph.SetGridLines(axis, false, false);
        }
    }
    if (drawn)
        graph.SetAxisCaption(GraphAxis::X, scaledView ? QStringLiteral("Time (seconds)")
                                                      : QStringLiteral("Frame-Data Index"));
    graph.SetMouseMode(GraphModeOf(m_nMouseMode));
    const int cursor = graph.AddCursor();
    graph.SetCursorStyle(cursor, 1, 5, 0);
    graph.SetCursorEnabled(cursor, true);
    graph.SetCursorPosition(cursor, n > 0 ? x.front() : 0.0);
    m_shownIndex = GetCursorIndex();
}

void CDataDisplayDlg::UpdatePlot() {
    if (m_bBusy || !m_pData || !m_pSettings || !m_graph)
        return;
    const PlotShape shape = CurrentShape();
    if (!(shape == m_shape)) {
        BuildPlot();
        return;
    }
    // Same axis, same plots: the axis range, and with it the user's zoom and pan, stays.
    std::vector<float> x;
    std::vector<float> y;
    AxisValues(shape.scaledView, shape.scans, &x);
    int plot = 0;
    for (int c : shape.channels) {
        ChannelValues(c, shape.scaledView, shape.scans, &y);
        m_graph->SetPlotColor(++plot, static_cast<COLORREF>(m_pData->m_colors[c]));
        m_graph->PlotXY(plot, x.data(), shape.scans, y.data(), shape.scans);
    }
}

void CDataDisplayDlg::ShowControls(bool show) {
    m_bBare = !show;
    if (!GetSafeHwnd())
        return;
    for (CWnd* child = GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
        const int id = child->GetDlgCtrlID();
        // The graph's place stays hidden under the program's graph.
        if (id == DataDisplayId::kGraph)
            continue;
        const bool inPanel = std::find(std::begin(kSidePanelControls), std::end(kSidePanelControls),
                                       id) != std::end(kSidePanelControls);
        child->ShowWindow(show && (!inPanel || m_bSidePanel) ? SW_SHOW : SW_HIDE);
    }
    ApplyLayout();
}

void CDataDisplayDlg::UpdateReadout() {
    if (m_bBusy || !m_pData || !m_pSettings || !GetSafeHwnd())
        return;
    const CFormatSettingsDlg& settings = *m_pSettings;
    const int n = std::max(0, m_pData->m_nTotalScans);
    const int scan = std::clamp(GetCursorIndex(), 0, std::max(0, n - 1));
    const int index = scan - Origin();
    m_indexField.SetText(QString::number(index));
    m_timeField.SetText(CReadoutField::FixedText(double(index) / m_pData->SafeScanRate(), 6));
    QStringList lines;
    const bool scaledView = settings.m_nScaledView != 0;
    int k = 0;
    // Without scans there is nothing to read out.
    for (int c = 0; n > 0 && c < CVidraData::kChannelSlots; ++c) {
        if (!m_pData->m_onFlags[c])
            continue;
        const int stored = k++;
        if (!settings.m_displayed[c] || stored >= static_cast<int>(m_pData->m_channels.size()))
            continue;
        const std::vector<float>& samples = m_pData->m_channels[stored];
        const float sample = scan < static_cast<int>(samples.size()) ? samples[scan] : 0.0f;
        ReadoutTexts& texts = m_readoutTexts[static_cast<size_t>(c)];
        if (!texts.known || texts.label != settings.m_labels[c]) {
            texts.known = true;
            texts.label = settings.m_labels[c];
            // Written as a C string: the label ends at its first NUL.
            texts.heading = QStringLiteral("Ch") + QString::number(c) + QStringLiteral(" (") +
                            QString::fromUtf8(texts.label.toUtf8().constData()) +
                            QStringLiteral("):");
        }
        lines << texts.heading;
        if (scaledView) {
            if (!texts.unitsKnown || texts.units != settings.m_units[c]) {
                texts.unitsKnown = true;
                texts.units = settings.m_units[c];
                texts.suffix =
                    QLatin1Char(' ') + QString::fromUtf8(texts.units.toUtf8().constData());
            }
            lines << CReadoutField::FixedText(
                         double(sample) * settings.m_factors[c] + settings.m_offsets[c], 6) +
                         texts.suffix;
        } else {
            lines << CReadoutField::FixedText(double(sample), 6) + QStringLiteral(" V");
        }
    }
    ShowLines(lines);
}

void CDataDisplayDlg::ShowLines(const QStringList& lines) {
    auto* list = qobject_cast<QListWidget*>(m_list.GetQWidget());
    if (!list || list->count() != lines.size()) {
        m_list.ResetContent();
        for (const QString& line : lines)
            m_list.AddString(line);
        return;
    }
    // The read-out changes with every step of the cursor. While the old and the new texts fit
    // the rows, the rows keep their places: the texts are rewritten without telling the list,
    // which would lay out and repaint every row, and only the rows that changed are repainted.
    const QFont font = list->font();
    const double room = list->viewport()->width() - 2 * CReadoutDelegate::TextMargin(list);
    const int margin = CReadoutDelegate::TextMargin(list);
    QList<QRect> changed;
    bool quiet = m_readout != nullptr;
    CheckRowPlaces(list, font);
    for (int i = 0; i < lines.size(); ++i) {
        QListWidgetItem* item = list->item(i);
        const QString before = item->text();
        if (before == lines[i])
            continue;
        CReadoutDelegate::Span span;
        if (quiet) {
            double widthBefore = 0.0;
            double widthAfter = 0.0;
            span = m_readout->ChangedSpan(before, lines[i], font, &widthBefore, &widthAfter);
            quiet = widthBefore <= room && widthAfter <= room;
        }
        if (quiet) {
            const QSignalBlocker block(list->model());
            item->setText(lines[i]);
            // Left and right of where the glyphs differ the row stays as it is.
            QRect row = RowPlace(list, i);
            const int textLeft = row.left() + margin;
            if (span.right < row.right() - textLeft)
                row.setRight(std::max(row.left(), textLeft + int(std::ceil(span.right))));
            row.setLeft(std::clamp(textLeft + int(std::floor(span.left)), row.left(), row.right()));
            if (!row.isEmpty())
                changed.push_back(row);
        } else {
            item->setText(lines[i]);
            // The list lays its rows out again.
            m_rowPlaces.rows.assign(m_rowPlaces.rows.size(), QRect());
        }
    }
    if (changed.isEmpty())
        return;
    // Rows one below the other make a region as they stand.
    bool banded = true;
    for (qsizetype i = 1; i < changed.size(); ++i)
        banded = banded && changed[i].top() > changed[i - 1].bottom();
    QRegion region;
    if (banded) {
        region.setRects(changed.constData(), static_cast<int>(changed.size()));
    } else {
        for (const QRect& row : changed)
            region += row;
    }
    m_readout->RepaintRows(list, region);
}

void CDataDisplayDlg::CheckRowPlaces(const QListWidget* list, const QFont& font) {
    const QPoint scroll(list->horizontalScrollBar()->value(), list->verticalScrollBar()->value());
    RowPlaces& places = m_rowPlaces;
    if (places.count == list->count() && places.viewport == list->viewport()->size() &&
        places.scroll == scroll && places.style == list->style() && places.font == font)
        return;
    places.count = list->count();
    places.viewport = list->viewport()->size();
    places.scroll = scroll;
    places.font = font;
    places.style = list->style();
    places.rows.assign(static_cast<size_t>(places.count), QRect());
}

QRect CDataDisplayDlg::RowPlace(const QListWidget* list, int row) {
    QRect& place = m_rowPlaces.rows[static_cast<size_t>(row)];
    if (place.isNull()) {
        place = list->visualItemRect(list->item(row));
        // A row's own width follows its text; to the viewport's right edge it takes in any.
        place.setRight(std::max(place.right(), list->viewport()->rect().right()));
    }
    return place;
}

int CDataDisplayDlg::GetCursorIndex() const {
    return m_graph ? m_graph->GetCursorIndex(1) : 0;
}

void CDataDisplayDlg::SetCursorIndex(int index, bool notify) {
    if (!m_graph)
        return;
    // The graph's own cursor may have moved already (a drag moves it before it says so): the
    // owner knows the index this window last settled on.
    const int previous = m_shownIndex;
    m_graph->SetCursorIndex(1, index);
    m_shownIndex = GetCursorIndex();
    UpdateReadout();
    if (notify && index != previous && m_pfnCursorChanged)
        m_pfnCursorChanged(m_pCursorContext, index);
}

void CDataDisplayDlg::RequestRebuild() {
    if (m_nMouseMode == kCursorMode)
        return;
    RebuildKeepingCursor();
}

void CDataDisplayDlg::RebuildKeepingCursor() {
    const int index = GetCursorIndex();
    BuildPlot();
    SetCursorIndex(index, true);
}

void CDataDisplayDlg::OnGraphCursorMoved(double x) {
    if (!m_pData || !m_pSettings)
        return;
    const bool timeAxis = m_pSettings->m_nScaledView != 0;
    const float at = static_cast<float>(x);
    const int scan = UsesSecondOrigin() ? m_pData->XToScanSecondOrigin(at, timeAxis)
                                        : m_pData->XToScan(at, timeAxis);
    SetCursorIndex(scan, true);
}

void CDataDisplayDlg::Step(int direction) {
    if (!m_pData || !m_graph)
        return;
    const int start = GetCursorIndex();
    // The cursor moves over the plotted scans only: with nothing plotted it stays.
    const int n = m_shape.scans;
    for (int i = start + direction; direction > 0 ? i < n : i >= 1; i += direction) {
        SetCursorIndex(i, true);
        if (GetCursorIndex() != start)
            break;
    }
}

void CDataDisplayDlg::OnBack() {
    Step(-1);
}

void CDataDisplayDlg::OnFwd() {
    Step(+1);
}

void CDataDisplayDlg::SetMouseMode(int mode) {
    m_nMouseMode = mode;
    if (m_graph)
        m_graph->SetMouseMode(GraphModeOf(mode));
}

void CDataDisplayDlg::OnCursorMode() {
    SetMouseMode(kCursorMode);
}

void CDataDisplayDlg::OnZoomMode() {
    SetMouseMode(kZoomMode);
}

void CDataDisplayDlg::OnPanMode() {
    SetMouseMode(kPanMode);
}

void CDataDisplayDlg::OnValues() {
    if (m_bBare)
        return;
    m_bSidePanel = !m_bSidePanel;
    for (int id : kSidePanelControls) {
        if (CWnd* control = GetDlgItem(id))
            control->ShowWindow(m_bSidePanel ? SW_SHOW : SW_HIDE);
    }
    ApplyLayout();
}

void CDataDisplayDlg::SetDataCentric(bool on) {
    m_bDataCentric = on;
    RebuildKeepingCursor();
}

void CDataDisplayDlg::OnDataCentric() {
    m_bDataCentric = IsDlgButtonChecked(DataDisplayId::kDataCentric) == BST_CHECKED;
    RebuildKeepingCursor();
}

void CDataDisplayDlg::OnConfigure() {
    if (!m_pSettings)
        return;
    CFormatSettingsDlg& settings = *m_pSettings;
    CResourceModuleScope scope(SensorRes::kModuleName);
    CGraphConfigDlg dialog(this, m_pData);
    dialog.m_displayed = settings.m_displayed;
    dialog.m_nScaledView = settings.m_nScaledView;
    dialog.m_nCaptionChannel = settings.m_nCaptionChannel;
    dialog.m_nGridLines = settings.m_nGridLines;
    dialog.m_nBlackBackground = settings.m_nBlackBackground;
    if (dialog.DoModal() != IDOK)
        return;
    settings.m_displayed = dialog.m_displayed;
    settings.m_nScaledView = dialog.m_nScaledView;
    settings.m_nCaptionChannel = dialog.m_nCaptionChannel;
    settings.m_nGridLines = dialog.m_nGridLines;
    settings.m_nBlackBackground = dialog.m_nBlackBackground;
    RebuildKeepingCursor();
}

void CDataDisplayDlg::OnContextMenu(CWnd*, CPoint pos) {
    if (m_contextTarget && m_contextTarget->GetSafeHwnd()) {
        m_contextTarget->SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(GetSafeHwnd()),
                                     MAKELPARAM(pos.x, pos.y));
        return;
    }
    CMenu menu;
    {
        CResourceModuleScope scope(SensorRes::kModuleName);
        if (!menu.LoadMenu(SensorRes::kDataDisplayMenu))
            return;
    }
    if (CMenu* popup = menu.GetSubMenu(0))
        popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pos.x, pos.y, this);
}

void CDataDisplayDlg::OnFormatSettings() {
    if (!m_pSettings || m_pSettings->GetSafeHwnd())
        return;
    INT_PTR result = IDCANCEL;
    {
        CResourceModuleScope scope(SensorRes::kModuleName);
        result = m_pSettings->DoModal();
    }
    if (result == IDOK)
        RebuildKeepingCursor();
}

CDataDisplayDlg::Layout CDataDisplayDlg::ComputeLayout(int w, int h, bool sidePanel) {
    Layout l;
    if (sidePanel) {
        l.graph = CRect(0, 25, w - 100, h);
        l.list = CRect(w - 90, 28, w - 10, 28 + h - 105);
        l.indexLabel = CRect(w - 90, h - 73, w - 10, h - 59);
        l.indexField = CRect(w - 90, h - 58, w - 25, h - 40);
        l.timeLabel = CRect(w - 90, h - 37, w - 10, h - 23);
        l.timeField = CRect(w - 90, h - 22, w - 25, h - 4);
    } else {
        l.graph = CRect(0, 25, w - 10, h);
    }
    return l;
}

void CDataDisplayDlg::ApplyLayout() {
    if (!m_bLayoutReady || !GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    if (m_bBare) {
        if (m_graphWidget)
            m_graphWidget->setGeometry(0, 0, client.Width(), client.Height());
        return;
    }
    const Layout l = ComputeLayout(client.Width(), client.Height(), m_bSidePanel);
    if (m_graphWidget)
        m_graphWidget->setGeometry(l.graph.left, l.graph.top, l.graph.Width(), l.graph.Height());
    if (!m_bSidePanel)
        return;
    const std::pair<int, CRect> places[] = {{DataDisplayId::kValuesList, l.list},
                                            {DataDisplayId::kIndexLabel, l.indexLabel},
                                            {DataDisplayId::kIndexField, l.indexField},
                                            {DataDisplayId::kTimeLabel, l.timeLabel},
                                            {DataDisplayId::kTimeField, l.timeField}};
    for (const auto& [id, rect] : places) {
        if (CWnd* control = GetDlgItem(id))
            control->MoveWindow(rect);
    }
}

void CDataDisplayDlg::OnSize(UINT nType, int cx, int cy) {
    CDialog::OnSize(nType, cx, cy);
    ApplyLayout();
}

void CDataDisplayDlg::OnDestroy() {
    if (m_graph) {
        m_graph->SetCursorMovedHandler(nullptr);
        m_graph->RemoveAllPlots();
        m_graph->RemoveAllCursors();
    }
    if (m_graphWidget)
        m_graph = nullptr;
    m_bLayoutReady = false;
    CDialog::OnDestroy();
}
