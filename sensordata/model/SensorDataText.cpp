#include "sensordata/model/SensorDataText.h"

#include "sensordata/model/SensorDataSet.h"
#include "sensordata/model/VidraData.h"

#include "platform/framework/File.h"
#include "platform/framework/IPrompter.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"
#include "platform/wintypes/CLocale.h"
#include "platform/wintypes/Cp1252.h"

#include <QIODevice>
#include <QStringDecoder>

#include <locale.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Formats into one buffer and hands it to the file in large writes.
class TextSink {
public:
    explicit TextSink(CFile& file) : m_file(file) {
        m_buffer.reserve(kFlushAt + 4096);
        m_previous = uselocale(CLocale());
    }
    ~TextSink() { uselocale(m_previous); }
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    template <typename... Args>
    void Printf(const char* format, Args... args) {
        char piece[128];
        const int n = std::snprintf(piece, sizeof piece, format, args...);
        if (n < 0)
            return;
        if (n < static_cast<int>(sizeof piece)) {
            m_buffer.append(piece, static_cast<size_t>(n));
        } else {
            std::string big(static_cast<size_t>(n) + 1, '\0');
            std::snprintf(big.data(), big.size(), format, args...);
            m_buffer.append(big.data(), static_cast<size_t>(n));
        }
    }
    void Append(const char* text) { m_buffer.append(text); }
    void EndLine() {
        m_buffer.push_back('\n');
        if (m_buffer.size() >= kFlushAt)
            Flush();
    }
    void Flush() {
        if (!m_buffer.empty())
            m_file.Write(m_buffer.data(), static_cast<UINT>(m_buffer.size()));
        m_buffer.clear();
    }

private:
    static locale_t CLocale() {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        return c;
    }
    static constexpr size_t kFlushAt = 1 << 18;

    CFile& m_file;
    std::string m_buffer;
    locale_t m_previous;
};

// Cut or padded the way "%-16.16s" does, counting characters rather than bytes; written as
// UTF-8 like every plain text file of the program.
std::string FixedWidth(const QString& text, int width) {
    QString cut = text.left(width);
    return cut.leftJustified(width, ' ').toStdString();
}

}  // namespace

void WriteSensorDataText(CFile& file, const CVidraData& data) {
    TextSink out(file);
    // The k-th on channel takes stored array k; a channel beyond the stored arrays has nothing.
    std::vector<int> on;
    for (int c = 0; c < CVidraData::kChannelSlots; ++c) {
        if (data.m_onFlags[c] && on.size() < data.m_channels.size())
            on.push_back(c);
    }
    out.Printf("Scan Rate:  %d", data.m_nScanRate);
    out.EndLine();
    out.Printf("Scans Per Frame:  %d", data.m_nScansPerFrame);
    out.EndLine();
    out.Printf("Total Scans:  %d", data.m_nTotalScans);
    out.EndLine();
    out.Printf("ZP: %d \t TP: %d ", data.m_nZP, data.m_nTP);
    out.EndLine();
    out.Printf("Number of Channels:  %d", static_cast<int>(on.size()));
    out.EndLine();
    out.Append("Scaled:  Yes");
    out.EndLine();
    out.Append("Scale Factor:     \t");
    for (int c : on)
        out.Printf("%-e\t", double(data.m_factors[c]));
    out.EndLine();
    out.Append("Offset:           \t");
    for (int c : on)
        out.Printf("%-e\t", double(data.m_offsets[c]));
    out.EndLine();
    out.Append("Label:            \t");
    for (int c : on)
        out.Printf("%s\t", FixedWidth(data.m_labels[size_t(c)], 16).c_str());
    out.EndLine();
    out.Append("Units:            \t");
    for (int c : on)
        out.Printf("%s\t", FixedWidth(data.m_units[size_t(c)], 10).c_str());
    out.EndLine();
    out.Append("Index      Time   \t");
    for (int c : on)
        out.Printf("Ch.%-2.2d  \t", c);
    out.EndLine();

    const size_t rows = static_cast<size_t>(data.GetStoredLength());
    const double step = 1.0 / data.SafeScanRate();
    const bool scale = data.m_nScaled == 0;
    for (size_t s = 0; s < rows; ++s) {
        const long long index = static_cast<long long>(s) - data.m_nZP;
        out.Printf("%-7lld\t%9.7f\t", index, double(index) * step);
        for (size_t k = 0; k < on.size(); ++k) {
            const std::vector<float>& samples = data.m_channels[k];
            const double raw = s < samples.size() ? samples[s] : 0.0f;
            const int c = on[k];
            out.Printf("%-e\t", scale ? raw * data.m_factors[c] + data.m_offsets[c] : raw);
        }
        out.EndLine();
    }
    out.Flush();
}

// ---- Reading ------------------------------------------------------------------------------

namespace {

// The lines of an open text file without their line ends (LF or CR LF).
class LineReader {
public:
    explicit LineReader(QIODevice& file) : m_file(file) {}

    bool Next(QByteArray& line) {
        if (m_file.atEnd())
            return false;
        line = m_file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        return true;
    }
    qint64 BytesLeft() const { return m_file.bytesAvailable(); }

private:
    QIODevice& m_file;
};

// "%d" of the text after the line's first colon.
bool ValueAfterColon(const QByteArray& line, int& value) {
    const int colon = line.indexOf(':');
    return colon >= 0 && ScanC(line.constData() + colon + 1, "%d", &value) == 1;
}

// Just past the next occurrence of c at or after p, or the end.
const char* SkipPast(const char* p, char c) {
    const char* hit = std::strchr(p, c);
    return hit ? hit + 1 : p + std::strlen(p);
}

// m "%f" values after the first tab, each followed by a skip past the next tab; values that
// cannot be read keep fallback.
std::vector<float> ReadFloatFields(const QByteArray& line, int m, float fallback) {
    std::vector<float> values(static_cast<size_t>(m), fallback);
    const char* p = SkipPast(line.constData(), '\t');
    for (int i = 0; i < m && *p; ++i) {
        float v = 0;
        if (ScanC(p, "%f", &v) == 1)
            values[size_t(i)] = v;
        p = SkipPast(p, '\t');
    }
    return values;
}

QString DecodeLine(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? Cp1252ToUnicode(bytes) : text;
}

// The first word of each of m fields after the first tab; an empty or missing field gives "".
std::vector<QString> ReadWordFields(const QByteArray& line, int m) {
    std::vector<QString> words(static_cast<size_t>(m));
    const QStringList fields = DecodeLine(line).split('\t');
    for (int i = 0; i < m && i + 1 < fields.size(); ++i) {
        const QStringList parts = fields[i + 1].split(' ', Qt::SkipEmptyParts);
        if (!parts.isEmpty())
            words[size_t(i)] = parts.front().trimmed();
    }
    return words;
}

void ShowRowError(int scan) {
    CWnd* main = AfxGetMainWnd();
    AfxPrompter().MessageBox({QFormatC("Error reading scan %d", scan), QStringLiteral("Read Error"),
                              MB_OK | MB_ICONEXCLAMATION, main ? main->GetQWidget() : nullptr});
}

}  // namespace

bool CSensorDataSet::ReadAu2(QIODevice& file, CVidraData& data) {
    LineReader lines(file);
    QByteArray line;
    int rate = 0;
    int scansPerFrame = 0;
    int total = 0;
    if (!lines.Next(line) || !line.startsWith("Scan") || !ValueAfterColon(line, rate))
        return false;
    if (!lines.Next(line) || !ValueAfterColon(line, scansPerFrame))
        return false;
    if (!lines.Next(line) || !ValueAfterColon(line, total) || total < 0)
        return false;
    if (!lines.Next(line))
        return false;
    bool haveZero = false;
    int zp = data.m_nZP;
    int tp = data.m_nTP;
    if (line.contains("ZP")) {
        const int colon = line.indexOf(':');
        haveZero = colon >= 0 && ScanC(line.constData() + colon + 1, "%d", &zp) == 1;
        const int tpAt = colon >= 0 ? line.indexOf("TP", colon + 1) : -1;
        if (tpAt >= 0) {
            const int next = line.indexOf(':', colon + 1);
            if (next >= 0)
                ScanC(line.constData() + next + 1, "%d", &tp);
        }
        if (!lines.Next(line))
            return false;
    }
    int m = 0;
    if (!ValueAfterColon(line, m) || m < 0 || m > CVidraData::kChannelSlots)
        return false;
    if (!lines.Next(line))
        return false;
    const bool scaledRows = line.endsWith("Yes");
    QByteArray factorLine, offsetLine, labelLine, unitLine, channelLine;
    if (!lines.Next(factorLine) || !lines.Next(offsetLine) || !lines.Next(labelLine) ||
        !lines.Next(unitLine) || !lines.Next(channelLine))
        return false;
    const std::vector<float> factors = ReadFloatFields(factorLine, m, 1.0f);
    const std::vector<float> offsets = ReadFloatFields(offsetLine, m, 0.0f);
    const std::vector<QString> labels = ReadWordFields(labelLine, m);
    const std::vector<QString> units = ReadWordFields(unitLine, m);

    CVidraData read(data);
    read.m_onFlags.fill(0);
    int distinct = 0;
    const char* p = SkipPast(channelLine.constData(), '.');
    for (int i = 0; i < m && *p; ++i) {
        int c = -1;
        if (ScanC(p, "%d", &c) == 1) {
            // A channel the model cannot hold, or one named twice, makes the file unreadable.
            if (c < 0 || c >= CVidraData::kChannelSlots || read.m_onFlags[c])
                return false;
            read.m_onFlags[c] = 1;
            read.m_factors[c] = factors[size_t(i)];
            read.m_offsets[c] = offsets[size_t(i)];
            read.m_labels[size_t(c)] = labels[size_t(i)];
            read.m_units[size_t(c)] = units[size_t(i)];
            ++distinct;
        }
        p = SkipPast(p, '.');
    }
    if (distinct != m)
        return false;
    // A row holds at least an index, two tabs, a time and a value and a tab per channel (less
    // the last tab and the line end): nothing is allocated for rows the file cannot hold.
    if (int64_t{total} * (2 * m + 2) > lines.BytesLeft())
        return false;

    std::vector<int> on;
    for (int c = 0; c < CVidraData::kChannelSlots; ++c) {
        if (read.m_onFlags[c])
            on.push_back(c);
    }
    read.m_channels.assign(size_t(m), std::vector<float>(size_t(total), 0.0f));
    for (int s = 0; s < total; ++s) {
        int index = 0;
        float time = 0;
        if (!lines.Next(line) || ScanC(line.constData(), "%d\t%f", &index, &time) != 2) {
            ShowRowError(s);
            return false;
        }
        if (s == 0 && !haveZero)
            zp = index == INT_MIN ? INT_MAX : std::abs(index);
        p = SkipPast(SkipPast(line.constData(), '\t'), '\t');
        for (size_t k = 0; k < on.size(); ++k) {
            float v = 0;
            if (!*p || ScanC(p, "%f", &v) != 1) {
                ShowRowError(s);
                return false;
            }
            if (scaledRows) {
                const float factor = read.m_factors[on[k]];
                v = std::fabs(factor) <= 1e-10f ? 0.0f : (v - read.m_offsets[on[k]]) / factor;
            }
            read.m_channels[k][size_t(s)] = v;
            p = SkipPast(p, '\t');
        }
    }
    read.m_nScanRate = rate;
    read.m_nScansPerFrame = scansPerFrame;
    read.m_nTotalScans = total;
    read.m_nFrameCount = total / read.SafeScansPerFrame();
    read.m_nZP = zp;
    read.m_nTP = tp;
    read.m_nScaled = 0;
    std::swap(data, read);
    return true;
}
