#include "frames/SideFileReaders.h"

#include "frames/CfgFileInfo.h"
#include "frames/EvtInfo.h"
#include "frames/ProfileString.h"
#include "platform/framework/Archive.h"
#include "platform/framework/IPrompter.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace {

constexpr int kProfileBufferChars = 256;

// Leading blanks, a sign and decimal digits, as the C library reads an int; anything else
// stops the number, and values beyond an int saturate.
int DecimalInt(const QString& text) {
    int i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > int64_t{std::numeric_limits<int>::max()} + 1)
            break;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// The first decimal number in text ("1/2000" gives 1), or NaN.
double FirstNumber(const QString& text, QString* rest = nullptr) {
    static const QRegularExpression number(R"([-+]?\d+(\.\d+)?)");
    const auto match = number.match(text);
    if (!match.hasMatch())
        return std::nan("");
    if (rest)
        *rest = text.mid(match.capturedEnd());
    return match.captured().toDouble();
}

}  // namespace

int ReadAcquisitionIniFile(const QString& path, CCfgFileInfo* record) {
    const auto read = [&](const char* key) {
        return ReadProfileString(path, "Acquisition", key, "1", kProfileBufferChars);
    };
    const auto rate = read("Rate");
    if (!rate)
        return 0;
    if (rate->isEmpty())
        return 0;
    record->m_rate = DecimalInt(*rate);
    record->m_rateHz = record->m_rate;
    const auto exposure = read("ExposureNs");
    if (!exposure || exposure->isEmpty())
        return 0;
    record->m_exposureNs = DecimalInt(*exposure);
    const auto start = read("StartIdx");
    if (!start || start->isEmpty())
        return 0;
    const int startIndex = DecimalInt(*start);
    record->m_firstFrame = startIndex == std::numeric_limits<int>::min()
                               ? std::numeric_limits<int>::max()
                               : -startIndex;
    return 1;
}

int ReadEventFile(const QString& path, CCfgFileInfo* record) {
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite))
        return 0;
    CEvtInfo info;
    try {
        CArchive ar(&file, CArchive::load);
        ar.m_strFileName = path;
        info.Serialize(ar);
    } catch (const CException&) {
        return 0;
    }
    if (info.m_rate <= 0)
        return 0;
    record->m_rate = info.m_rate;
    record->m_rateHz = info.m_rate;
    record->m_exposureNs = info.m_exposureNs;
    record->m_firstFrame = info.m_firstFrame;
    return 1;
}

int ReadCameraHeaderFile(const QString& path, CCfgFileInfo* record, bool quiet) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        if (!quiet)
            AfxMessageBox("Could not open file for reading.");
        return 0;
    }
    double rate = std::nan("");
    double exposureNs = std::nan("");
    double firstFrame = std::nan("");
    // Lines "Key : value" (or "Key = value"); only the rate, the shutter and the start frame
    // matter here. A shutter of "1/N" is N-th of a second; a plain number is in the unit the
    // key names ("(s)", "(ms)", "(us)", "(ns)"), microseconds when it names none.
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromLatin1(raw).trimmed();
        const int colon = line.indexOf(QRegularExpression("[:=]"));
        if (colon <= 0)
            continue;
        const QString key = line.left(colon).trimmed();
        const QString value = line.mid(colon + 1).trimmed();
        if (key.startsWith("Reco", Qt::CaseInsensitive)) {
            rate = FirstNumber(value);
        } else if (key.startsWith("Shut", Qt::CaseInsensitive)) {
            QString rest;
            const double first = FirstNumber(value, &rest);
            if (rest.trimmed().startsWith('/')) {
                const double divisor = FirstNumber(rest);
                if (divisor > 0)
                    exposureNs = first * 1e9 / divisor;
            } else {
                const QString unit = key.toLower();
                const double scale = unit.contains("(ns)")   ? 1.0
                                     : unit.contains("(ms)") ? 1e6
                                     : unit.contains("(s)")  ? 1e9
                                                             : 1e3;
                exposureNs = first * scale;
            }
        } else if (key.startsWith("Start Frame", Qt::CaseInsensitive) ||
                   key.compare("Start", Qt::CaseInsensitive) == 0) {
            firstFrame = FirstNumber(value);
        }
    }
    const auto fits = [](double v) {
        return std::isfinite(v) && v >= std::numeric_limits<int>::min() &&
               v <= std::numeric_limits<int>::max();
    };
    if (!fits(rate) || rate <= 0) {
        if (!quiet)
            AfxMessageBox("Nothing read from file, possibly badly formatted.");
        return 0;
    }
    record->m_rate = static_cast<int>(rate);
    record->m_rateHz = rate;
    if (fits(exposureNs))
        record->m_exposureNs = static_cast<int>(exposureNs);
    if (fits(firstFrame))
        record->m_firstFrame = static_cast<int>(firstFrame);
    return 1;
}
