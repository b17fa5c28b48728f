#include "frames/SaveVideoDlg.h"

#include "frames/FileInUse.h"
#include "frames/FileNames.h"
#include "frames/FrameSource.h"
#include "frames/SaveVideoOptionsDlg.h"
#include "frames/SaveVideoPanelDlg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {

bool IsSequenceExtension(const QString& extension) {
    return extension == QLatin1String("bmp") || extension == QLatin1String("tif") ||
           extension == QLatin1String("jpg");
}

// True when name (no folder) is prefix, then only digits (and, for batch names, the
// characters of "[..of..]"), then suffix.
bool BelongsToSet(const QString& name, const QString& prefix, const QString& suffix, bool batch) {
    if (!name.startsWith(prefix, Qt::CaseInsensitive) ||
        !name.endsWith(suffix, Qt::CaseInsensitive) || name.size() <= prefix.size() + suffix.size())
        return false;
    const QString middle = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
    for (const QChar c : middle) {
        if (c.isDigit())
            continue;
        if (batch && QStringLiteral("[of]").contains(c))
            continue;
        return false;
    }
    return true;
}

}  // namespace

CSaveVideoDlg::CSaveVideoDlg(BOOL bOpenFileDialog, int frameCount, int zeroOffset,
                             const QString& defaultExt, const QString& fileName, DWORD flags,
                             const QString& filter, CWnd* pParentWnd, BOOL showEncrypt,
                             BOOL enableBayer)
    : CFileDialog(bOpenFileDialog, defaultExt, fileName, flags, filter, pParentWnd),
      m_showEncrypt(showEncrypt),
      m_enableBayer(enableBayer),
      m_frameCount(frameCount),
      m_zeroOffset(zeroOffset) {
    const QStringList parts = filter.split('|');
    for (qsizetype i = 1; i < parts.size(); i += 2)
        m_patterns.append(parts[i]);
}

CSaveVideoDlg::~CSaveVideoDlg() = default;

int CSaveVideoDlg::DoModal() {
    if (m_from > -m_zeroOffset || m_to < m_frameCount - m_zeroOffset - 1)
        m_rangeChoice = 1;
    m_framesPerFile = std::max(m_frameCount, 1);
    m_aviIndex = FilterIndexOf(QStringLiteral("avi"));
    m_pviIndex = FilterIndexOf(QStringLiteral("pvi"));
    m_xmvIndex = FilterIndexOf(QStringLiteral("xmv"));
    m_bmpIndex = FilterIndexOf(QStringLiteral("bmp"));
    m_tifIndex = FilterIndexOf(QStringLiteral("tif"));
    m_jpgIndex = FilterIndexOf(QStringLiteral("jpg"));
    m_staleFiles.clear();
    if (m_panelHome.GetSafeHwnd() ||
        m_panelHome.Create(nullptr, QString(), WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0)) {
        m_panel = std::make_unique<CSaveVideoPanelDlg>(this);
        if (!m_panel->Create(CSaveVideoPanelDlg::kTemplate, &m_panelHome)) {
            m_panel.reset();
        } else {
            m_options = std::make_unique<CSaveVideoOptionsDlg>(this);
            if (m_options->Create(CSaveVideoOptionsDlg::kTemplate, m_panel.get()))
                m_panel->PlaceOptions(m_options.get());
            else
                m_options.reset();
        }
    }
    const int result = CFileDialog::DoModal();
    if (m_options) {
        m_options->DestroyWindow();
        m_options.reset();
    }
    if (m_panel) {
        m_panel->DestroyWindow();
        m_panel.reset();
    }
    return result;
}

QWidget* CSaveVideoDlg::GetExtension() {
    return m_panel ? m_panel->GetQWidget() : nullptr;
}

QString CSaveVideoDlg::OnTypeChange(int index, const QString& typedName) {
    if (m_options)
        m_options->OnTypeChange();
    const QString extension = EntryExtension(index);
    if (typedName.trimmed().isEmpty() || extension.isEmpty())
        return {};
    const QString name = GetFileNameFromPath(typedName);
    const qsizetype dot = name.lastIndexOf('.');
    return QStringLiteral("%1.%2").arg(
        dot > 0 ? typedName.left(typedName.size() - name.size() + dot) : typedName, extension);
}

int CSaveVideoDlg::FramesOfChoice() const {
    return m_rangeChoice == 1 ? std::max(m_to - m_from + 1, 0) : m_frameCount;
}

double CSaveVideoDlg::EstimateMegabytes() const {
    const int index = m_ofn.nFilterIndex;
    const int frames = m_batch ? m_framesPerFile : FramesOfChoice() / Step();
    int kind = 0;
    if (index == m_bmpIndex)
        kind = 1;
    else if (index == m_tifIndex)
        kind = 2;
    else if (index == m_jpgIndex || index == m_xmvIndex)
        kind = 3;
    const int64_t bytes =
        CFrameSource::EstimateSaveSize(m_frameBytes, m_paletteEntries, frames, kind);
    if (bytes <= 0)
        return -1;
    return std::floor(static_cast<double>(bytes) / 1048576.0 * 100.0) / 100.0;
}

int CSaveVideoDlg::FilterIndexOf(const QString& extension) const {
    const qsizetype at = m_patterns.indexOf(QStringLiteral("*.") + extension);
    return at < 0 ? -1 : static_cast<int>(at) + 1;
}

QString CSaveVideoDlg::EntryExtension(int index) const {
    if (index < 1 || index > m_patterns.size())
        return {};
    const QString& pattern = m_patterns[index - 1];
    return pattern.startsWith(QLatin1String("*.")) ? pattern.mid(2).toLower() : QString();
}

BOOL CSaveVideoDlg::OnFileNameOK() {
    // The options as the panel holds them; a number outside its limits keeps the dialog open.
    if (m_options && !m_options->UpdateData(TRUE))
        return TRUE;
    m_savePath = GetPathName();
    m_staleFiles.clear();
    if (m_skipEnabled && m_skipCount != 0 &&
        AfxMessageBox(QStringLiteral("When the skip frame feature is used in saving,\nthe "
                                     "associated data, analysis, and notes will not be "
                                     "saved.\nContinue with save?"),
                      MB_YESNO | MB_ICONINFORMATION) == IDNO)
        return TRUE;
    // A typed extension of another entry makes that entry the type.
    const int typed = FilterIndexOf(GetFileExtension(m_savePath).toLower());
    if (typed > 0 && typed != m_ofn.nFilterIndex)
        m_ofn.nFilterIndex = typed;
    const QString extension = EntryExtension(m_ofn.nFilterIndex);
    if (IsSequenceExtension(extension) || extension == QLatin1String("pvi"))
        return CheckSet(extension);
    return CheckAvi(extension);
}

BOOL CSaveVideoDlg::CheckAvi(const QString& extension) {
    if (!extension.isEmpty() &&
        !m_savePath.endsWith(QLatin1Char('.') + extension, Qt::CaseInsensitive))
        m_savePath += QLatin1Char('.') + extension;
    if (!QFileInfo::exists(m_savePath))
        return FALSE;
    if (!GetFileNameFromPath(m_savePath).contains('*') && IsFileInUse(m_savePath)) {
        AfxMessageBox(QStringLiteral("Cannot overwrite a currently open AVI."), MB_ICONEXCLAMATION);
        return TRUE;
    }
    if (m_confirmOverwrite &&
        AfxMessageBox(m_savePath + QStringLiteral(" already exists.\nDo you want to replace it?"),
                      MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return TRUE;
    return FALSE;
}

BOOL CSaveVideoDlg::CheckSet(const QString& extension) {
    const bool batch = extension == QLatin1String("pvi");
    QString base;
    if (batch) {
        const qsizetype bracket = m_savePath.lastIndexOf('[');
        base = bracket >= 0 ? m_savePath.left(bracket)
                            : (m_savePath.endsWith(QLatin1String(".pvi"), Qt::CaseInsensitive)
                                   ? m_savePath.chopped(4)
                                   : m_savePath);
    } else {
        base = GetSequenceBaseName(m_savePath, false) + QLatin1Char('_');
    }
    const QString suffix = batch ? QStringLiteral("].pvi") : QLatin1Char('.') + extension;
    const QString pattern = batch ? base + QStringLiteral("[*].pvi") : base + '*' + suffix;
    const QString prefix = GetFileNameFromPath(batch ? base + '[' : base);
    QDir folder(GetFolderFromPath(base).isEmpty() ? QStringLiteral(".") : GetFolderFromPath(base));
    QStringList existing;
    for (const QString& name : folder.entryList(QDir::Files)) {
        if (BelongsToSet(name, prefix, suffix, batch))
            existing.append(folder.filePath(name));
    }
    if (existing.isEmpty()) {
        if (m_askBeforeNewSequence &&
            AfxMessageBox(QStringLiteral("Save as sequence ") + pattern + '?', MB_OKCANCEL) ==
                IDCANCEL)
            return TRUE;
        return FALSE;
    }
    for (const QString& file : existing) {
        if (IsFileInUse(file)) {
            AfxMessageBox(QStringLiteral("Cannot overwrite a currently open file."),
                          MB_ICONEXCLAMATION);
            return TRUE;
        }
    }
    if (m_confirmOverwrite &&
        AfxMessageBox(QStringLiteral("The files ") + pattern +
                          QStringLiteral(" already exist.\nDo you want to overwrite these files?"),
                      MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return TRUE;
    // Deleted by the controller once the new set is complete, so that a failed save keeps them.
    m_staleFiles = existing;
    return FALSE;
}
