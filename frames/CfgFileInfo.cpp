#include "frames/CfgFileInfo.h"

#include "frames/FileNames.h"
#include "frames/SideFileReaders.h"
#include "platform/framework/Archive.h"
#include "platform/framework/IPrompter.h"

#include <QFile>

#include <array>
#include <bit>
#include <cstdio>

IMPLEMENT_SERIAL(CCfgFileInfo, CObject, 1)

namespace {

constexpr int kArchiveBufferBytes = 4096;
constexpr int kWords = 13;

// The thirteen words from the rate to the last further word, in file order.
std::array<int*, kWords> Words(CCfgFileInfo& r) {
    return {&r.m_rate,           &r.m_reserved1,  &r.m_firstFrame,  &r.m_exposureNs,
            &r.m_framesPerBatch, &r.m_reserved2,  &r.m_batchOffset, &r.m_cycle,
            &r.m_further[0],     &r.m_further[1], &r.m_further[2],  &r.m_further[3],
            &r.m_further[4]};
}

// A word, or false at the end of the data. Part of a word is damage and throws.
bool ReadWord(CArchive& ar, int* value) {
    BYTE bytes[4];
    const UINT got = ar.Read(bytes, 4);
    if (got == 0)
        return false;
    if (got != 4)
        throw CArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    *value = static_cast<int>(static_cast<uint32_t>(bytes[0]) | (uint32_t{bytes[1]} << 8) |
                              (uint32_t{bytes[2]} << 16) | (uint32_t{bytes[3]} << 24));
    return true;
}

// Loads path into *record; false (record untouched) for a missing or damaged file or one
// without an exposure.
bool LoadCfgFile(const QString& path, CCfgFileInfo* record) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
        return false;
    CCfgFileInfo loaded(*record);
    try {
        CArchive ar(&file, CArchive::load, kArchiveBufferBytes);
        ar.m_strFileName = path;
        loaded.Serialize(ar);
        ar.Close();
    } catch (const CException&) {
        return false;
    }
    if (loaded.m_exposureNs == -1)
        return false;
    *record = loaded;
    return true;
}

}  // namespace

void CCfgFileInfo::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_name;
        for (int* word : Words(*this))
            ar << *word;
        ar << m_rateHz << m_hasTimeStamp << m_year << m_month << m_day << m_msOfDay << m_refFrame;
        return;
    }
    // Older files end early: what is missing keeps the value it had.
    ar >> m_name;
    for (int* word : Words(*this)) {
        if (!ReadWord(ar, word))
            return;
    }
    BYTE probe[8];
    const UINT got = ar.Read(probe, 8);
    if (got == 0)
        return;
    if (got != 8)
        throw CArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits |= uint64_t{probe[i]} << (8 * i);
    m_rateHz = std::bit_cast<double>(bits);
    int stamp[6] = {};
    int count = 0;
    while (count < 6 && ReadWord(ar, &stamp[count]))
        ++count;
    if (count == 0)
        return;
    if (count != 6)
        throw CArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    m_hasTimeStamp = stamp[0];
    m_year = stamp[1];
    m_month = stamp[2];
    m_day = stamp[3];
    m_msOfDay = stamp[4];
    m_refFrame = stamp[5];
}

int CCfgFileInfo::Save(const QString& path, const CCfgFileInfo* record) const {
    const CCfgFileInfo& source = record ? *record : *this;
    const QString temporary = path + ".saving";
    bool written = false;
    {
        CFile file;
        if (file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
            try {
                CArchive ar(&file, CArchive::store, kArchiveBufferBytes);
                ar.m_strFileName = path;
                CCfgFileInfo copy(source);
                copy.Serialize(ar);
                ar.Close();
                file.Close();
                written = true;
            } catch (const CException&) {
                file.Abort();
            }
        }
    }
    if (written && std::rename(QFile::encodeName(temporary).constData(),
                               QFile::encodeName(path).constData()) == 0)
        return 1;
    QFile::remove(temporary);
    AfxMessageBox("Could not save configuration file.", MB_ICONEXCLAMATION);
    return 0;
}

int CCfgFileInfo::Load(const QString& path, CCfgFileInfo* record, bool tryAlternatives) {
    CCfgFileInfo* target = record ? record : this;
    if (LoadCfgFile(path, target))
        return 1;
    if (!tryAlternatives)
        return 0;
    if (ReadEventFile(ChangeFileExtension(path, "evt"), target))
        return 1;
    if (ReadCameraHeaderFile(ChangeFileExtension(path, "cih"), target, true))
        return 1;
    QString folder = GetFolderFromPath(path);
    const QString acquisition = folder.isEmpty() ? QString("_config.xsv") : folder + "/_config.xsv";
    return ReadAcquisitionIniFile(acquisition, target);
}
