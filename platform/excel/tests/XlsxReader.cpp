#include "platform/excel/tests/XlsxReader.h"

#include <QFile>
#include <QXmlStreamReader>

#include <zlib.h>

#include <cstring>
#include <vector>

namespace {

uint32_t Le(const QByteArray& data, qsizetype at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<uint8_t>(data[at + i]);
    return v;
}

QByteArray Inflate(const QByteArray& packed, uint32_t size) {
    QByteArray out(static_cast<qsizetype>(size), '\0');
    z_stream z;
    std::memset(&z, 0, sizeof z);
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return {};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    z.avail_in = static_cast<uInt>(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = size;
    const int result = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return result == Z_STREAM_END ? out : QByteArray();
}

struct Style {
    bool bold = false;
    double size = 0;
    QString bottom;
    QString numberFormat;
};

std::vector<Style> ReadStyles(const QByteArray& xml) {
    std::map<int, QString> numFmts;
    std::vector<Style> fonts;
    std::vector<QString> borders;
    std::vector<Style> xfs;
    QXmlStreamReader r(xml);
    QString section;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            const auto name = r.name();
            const auto at = r.attributes();
            if (name == u"fonts" || name == u"borders" || name == u"cellXfs" ||
                name == u"cellStyleXfs" || name == u"numFmts")
                section = name.toString();
            else if (name == u"numFmt")
                numFmts[at.value("numFmtId").toInt()] = at.value("formatCode").toString();
            else if (section == "fonts" && name == u"font")
                fonts.emplace_back();
            else if (section == "fonts" && name == u"b" && !fonts.empty())
                fonts.back().bold = true;
            else if (section == "fonts" && name == u"sz" && !fonts.empty())
                fonts.back().size = at.value("val").toDouble();
            else if (section == "borders" && name == u"border")
                borders.emplace_back();
            else if (section == "borders" && name == u"bottom" && !borders.empty()) {
                borders.back() = at.value("style").toString();
            } else if (section == "cellXfs" && name == u"xf") {
                Style s;
                const int font = at.value("fontId").toInt();
                const int border = at.value("borderId").toInt();
                if (font >= 0 && font < static_cast<int>(fonts.size()))
                    s = fonts[font];
                if (border >= 0 && border < static_cast<int>(borders.size()))
                    s.bottom = borders[border];
                const int fmt = at.value("numFmtId").toInt();
                if (numFmts.count(fmt))
                    s.numberFormat = numFmts[fmt];
                xfs.push_back(s);
            }
        } else if (r.isEndElement()) {
            if (r.name() == section)
                section.clear();
        }
    }
    return xfs;
}

QString SheetPath(int sheet) {
    return QStringLiteral("xl/worksheets/sheet%1.xml").arg(sheet);
}

}  // namespace

bool XlsxReader::Open(const QString& path) {
    m_entries.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    // The end-of-central-directory record lies in the last 64 KiB + 22 bytes.
    qsizetype end = -1;
    for (qsizetype i = data.size() - 22; i >= 0 && i >= data.size() - 65557; --i) {
        if (Le(data, i, 4) == 0x06054b50) {
            end = i;
            break;
        }
    }
    if (end < 0)
        return false;
    const uint32_t count = Le(data, end + 10, 2);
    qsizetype at = Le(data, end + 16, 4);
    for (uint32_t n = 0; n < count; ++n) {
        if (at + 46 > data.size() || Le(data, at, 4) != 0x02014b50)
            return false;
        const uint32_t method = Le(data, at + 10, 2);
        const uint32_t packedSize = Le(data, at + 20, 4);
        const uint32_t size = Le(data, at + 24, 4);
        const uint32_t nameLength = Le(data, at + 28, 2);
        const uint32_t extra = Le(data, at + 30, 2);
        const uint32_t comment = Le(data, at + 32, 2);
        const qsizetype local = Le(data, at + 42, 4);
        const QString name = QString::fromUtf8(data.mid(at + 46, nameLength));
        if (local + 30 > data.size())
            return false;
        const qsizetype start = local + 30 + Le(data, local + 26, 2) + Le(data, local + 28, 2);
        const QByteArray packed = data.mid(start, packedSize);
        m_entries[name] = method == 0 ? packed : Inflate(packed, size);
        at += 46 + nameLength + extra + comment;
    }
    return true;
}

QByteArray XlsxReader::Entry(const QString& name, bool* found) const {
    const auto it = m_entries.find(name);
    if (found)
        *found = it != m_entries.end();
    return it == m_entries.end() ? QByteArray() : it->second;
}

QStringList XlsxReader::SheetNames() const {
    QStringList names;
    QXmlStreamReader r(Entry("xl/workbook.xml"));
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"sheet")
            names << r.attributes().value("name").toString();
    }
    return names;
}

std::map<QString, XlsxCell> XlsxReader::Cells(int sheet) const {
    QStringList shared;
    {
        QXmlStreamReader r(Entry("xl/sharedStrings.xml"));
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == u"si")
                shared << QString();
            else if (r.isStartElement() && r.name() == u"t" && !shared.isEmpty())
                shared.back() += r.readElementText();
        }
    }
    const std::vector<Style> styles = ReadStyles(Entry("xl/styles.xml"));
    std::map<QString, XlsxCell> cells;
    QXmlStreamReader r(Entry(SheetPath(sheet)));
    QString ref, type;
    int style = 0;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"c") {
            ref = r.attributes().value("r").toString();
            type = r.attributes().value("t").toString();
            style = r.attributes().value("s").toInt();
            XlsxCell& cell = cells[ref];
            if (style >= 0 && style < static_cast<int>(styles.size())) {
                cell.bold = styles[style].bold;
                cell.size = styles[style].size;
                cell.bottomBorder = styles[style].bottom;
                cell.numberFormat = styles[style].numberFormat;
            }
        } else if (r.isStartElement() && r.name() == u"v") {
            XlsxCell& cell = cells[ref];
            const QString v = r.readElementText();
            if (type == "s") {
                cell.isText = true;
                const int i = v.toInt();
                cell.value = i >= 0 && i < shared.size() ? shared[i] : QString();
            } else {
                cell.value = v;
            }
        } else if (r.isStartElement() && r.name() == u"t" && type == "inlineStr") {
            cells[ref].isText = true;
            cells[ref].value += r.readElementText();
        }
    }
    return cells;
}

QStringList XlsxReader::Merges(int sheet) const {
    QStringList merges;
    QXmlStreamReader r(Entry(SheetPath(sheet)));
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"mergeCell")
            merges << r.attributes().value("ref").toString();
    }
    return merges;
}
