#include "platform/registry/RegText.h"

#include "platform/wintypes/CLocale.h"

#include <QList>
#include <QStringDecoder>

#include <optional>

namespace {

constexpr DWORD kRegSz = 1;
constexpr DWORD kRegBinary = 3;
constexpr DWORD kRegDword = 4;
constexpr int kLineWidth = 80;
constexpr char kHexDigits[] = "0123456789abcdef";

bool IsBlank(QChar c) {
    return c == QChar(' ') || c == QChar('\t');
}

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// The text of REG_SZ data when "text" gives the same bytes back, else nothing.
std::optional<QString> PlainString(const QByteArray& data) {
    if (data.size() < 2 || data.size() % 2 != 0 || data.at(data.size() - 1) != 0 ||
        data.at(data.size() - 2) != 0)
        return std::nullopt;
    QString text;
    text.reserve(data.size() / 2 - 1);
    for (qsizetype i = 0; i + 2 < data.size(); i += 2) {
        const auto low = static_cast<uint8_t>(data.at(i));
        const auto high = static_cast<uint8_t>(data.at(i + 1));
        text.append(QChar(static_cast<char16_t>(low | (high << 8))));
    }
    if (!IsStorableRegName(text))
        return std::nullopt;
    return text;
}

QString Quote(const QString& text) {
    QString out;
    out.reserve(text.size() + 2);
    out.append(QChar('"'));
    for (QChar c : text) {
        if (c == QChar('\\') || c == QChar('"'))
            out.append(QChar('\\'));
        out.append(c);
    }
    out.append(QChar('"'));
    return out;
}

void WriteHex(QString* out, QString line, const QByteArray& data) {
    int onLine = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto byte = static_cast<uint8_t>(data.at(i));
        QString token;
        token.append(QLatin1Char(kHexDigits[byte >> 4]))
            .append(QLatin1Char(kHexDigits[byte & 0xF]));
        if (i + 1 < data.size())
            token.append(QChar(','));
        if (onLine > 0 && line.size() + token.size() + 1 > kLineWidth) {
            out->append(line).append(QLatin1String("\\\n"));
            line = QStringLiteral("  ");
            onLine = 0;
        }
        line.append(token);
        ++onLine;
    }
    out->append(line).append(QChar('\n'));
}

void WriteValue(QString* out, const RegValue& value) {
    QString line = value.name.isEmpty() ? QStringLiteral("@") : Quote(value.name);
    line.append(QChar('='));
    if (value.type == kRegDword && value.data.size() == 4) {
        const DWORD number = static_cast<uint8_t>(value.data.at(0)) |
                             (static_cast<DWORD>(static_cast<uint8_t>(value.data.at(1))) << 8) |
                             (static_cast<DWORD>(static_cast<uint8_t>(value.data.at(2))) << 16) |
                             (static_cast<DWORD>(static_cast<uint8_t>(value.data.at(3))) << 24);
        out->append(line).append(QFormatC("dword:%08x\n", number));
        return;
    }
    if (value.type == kRegSz) {
        if (const auto text = PlainString(value.data)) {
            out->append(line).append(Quote(*text)).append(QChar('\n'));
            return;
        }
    }
    if (value.type == kRegBinary)
        line.append(QLatin1String("hex:"));
    else
        line.append(QFormatC("hex(%x):", value.type));
    WriteHex(out, line, value.data);
}

void WriteKey(QString* out, const CRegNode& node, const QString& path) {
    out->append(QChar('\n')).append(QChar('[')).append(path).append(QLatin1String("]\n"));
    for (const RegValue& value : node.Values())
        WriteValue(out, value);
    for (const auto& child : node.Children())
        WriteKey(out, *child, path + QChar('\\') + child->Name());
}

// Reads one text line after another; the hex lists of values may run on over several lines.
class Reader {
public:
    Reader(const QByteArray& text, const QString& rootName, CRegNode* root)
        : m_rootName(rootName), m_root(root) {
        m_lines = text.split('\n');
        // The piece after the last newline is empty in a whole file; anything else there was
        // cut off while being written and cannot be trusted.
        const QByteArray tail = m_lines.takeLast();
        m_incompleteTail = !tail.trimmed().isEmpty();
        if (!m_lines.isEmpty() && m_lines.first().startsWith("\xEF\xBB\xBF"))
            m_lines.first().remove(0, 3);
    }

    CRegText::Damage Run() {
        while (m_next < m_lines.size()) {
            const int lineNumber = static_cast<int>(m_next) + 1;
            std::optional<QString> line = NextLine();
            if (!line) {
                Problem(lineNumber, QStringLiteral("not valid UTF-8"));
                continue;
            }
            m_line = *line;
            m_pos = 0;
            SkipBlanks();
            if (AtEnd() || Peek() == QChar(';'))
                continue;
            if (Peek() == QChar('['))
                ReadSection(lineNumber);
            else if (Peek() == QChar('"') || Peek() == QChar('@'))
                ReadValue(lineNumber);
            else
                Problem(lineNumber, QStringLiteral("neither a key nor a value"));
        }
        if (m_incompleteTail)
            Problem(static_cast<int>(m_lines.size()) + 1, QStringLiteral("incomplete last line"));
        return m_damage;
    }

private:
    std::optional<QString> NextLine() {
        QByteArray bytes = m_lines.at(m_next++);
        if (bytes.endsWith('\r'))
            bytes.chop(1);
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(bytes);
        if (decoder.hasError())
            return std::nullopt;
        return text;
    }

    void Problem(int lineNumber, const QString& reason) {
        if (m_damage.problems++ == 0) {
            m_damage.firstLine = lineNumber;
            m_damage.firstReason = reason;
        }
    }

    bool AtEnd() const { return m_pos >= m_line.size(); }
    QChar Peek() const { return m_line.at(m_pos); }
    void SkipBlanks() {
        while (!AtEnd() && IsBlank(Peek()))
            ++m_pos;
    }
    bool RestIsBlank() {
        SkipBlanks();
        return AtEnd();
    }
    bool Accept(QLatin1String word) {
        if (QStringView(m_line).mid(m_pos).startsWith(word, Qt::CaseInsensitive)) {
            m_pos += word.size();
            return true;
        }
        return false;
    }

    void ReadSection(int lineNumber) {
        m_key = nullptr;
        QStringView inner = QStringView(m_line).mid(m_pos + 1);
        while (!inner.isEmpty() && IsBlank(inner.back()))
            inner.chop(1);
        if (!inner.endsWith(QChar(']'))) {
            Problem(lineNumber, QStringLiteral("key header without ']'"));
            return;
        }
        inner.chop(1);
        const QList<QStringView> parts = inner.split(QChar('\\'));
        if (parts.first().compare(m_rootName, Qt::CaseInsensitive) != 0) {
            Problem(lineNumber, QStringLiteral("key outside %1").arg(m_rootName));
            return;
        }
        if (parts.size() - 1 > kMaxRegKeyDepth) {
            Problem(lineNumber, QStringLiteral("key too deep"));
            return;
        }
        QStringList path;
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QString name = parts.at(i).toString();
            if (name.isEmpty() || !IsStorableRegName(name)) {
                Problem(lineNumber, QStringLiteral("bad key name"));
                return;
            }
            path.append(name);
        }
        m_key = m_root->Ensure(path);
    }

    // A quoted text with \\ and \" escapes; m_pos is on the opening quote.
    std::optional<QString> ReadQuoted() {
        QString text;
        for (++m_pos; !AtEnd(); ++m_pos) {
            QChar c = Peek();
            if (c == QChar('"')) {
                ++m_pos;
                return text;
            }
            if (c == QChar('\\') && m_pos + 1 < m_line.size()) {
                const QChar escaped = m_line.at(m_pos + 1);
                if (escaped == QChar('\\') || escaped == QChar('"')) {
                    c = escaped;
                    ++m_pos;
                }
            }
            text.append(c);
        }
        return std::nullopt;
    }

    void ReadValue(int lineNumber) {
        QString name;
        if (Peek() == QChar('@')) {
            ++m_pos;
        } else {
            const auto quoted = ReadQuoted();
            if (!quoted || !IsStorableRegName(*quoted))
                return Problem(lineNumber, QStringLiteral("bad value name"));
            name = *quoted;
        }
        SkipBlanks();
        if (AtEnd() || Peek() != QChar('='))
            return Problem(lineNumber, QStringLiteral("value without '='"));
        ++m_pos;
        SkipBlanks();

        DWORD type = 0;
        QByteArray data;
        if (!AtEnd() && Peek() == QChar('"')) {
            const auto text = ReadQuoted();
            if (!text || !IsStorableRegName(*text) || !RestIsBlank())
                return Problem(lineNumber, QStringLiteral("bad text value"));
            type = kRegSz;
            data = RegStringData(*text);
        } else if (Accept(QLatin1String("dword:"))) {
            DWORD number = 0;
            for (int i = 0; i < 8; ++i) {
                const int digit = AtEnd() ? -1 : HexDigit(Peek());
                if (digit < 0)
                    return Problem(lineNumber, QStringLiteral("dword needs 8 hex digits"));
                number = (number << 4) | static_cast<DWORD>(digit);
                ++m_pos;
            }
            if (!RestIsBlank())
                return Problem(lineNumber, QStringLiteral("dword needs 8 hex digits"));
            type = kRegDword;
            for (int shift = 0; shift < 32; shift += 8)
                data.append(static_cast<char>((number >> shift) & 0xFF));
        } else if (Accept(QLatin1String("hex:"))) {
            type = kRegBinary;
            if (!ReadHexList(&data))
                return Problem(lineNumber, QStringLiteral("bad hex data"));
        } else if (Accept(QLatin1String("hex("))) {
            int digits = 0;
            while (!AtEnd() && HexDigit(Peek()) >= 0 && digits < 8) {
                type = (type << 4) | static_cast<DWORD>(HexDigit(Peek()));
                ++m_pos;
                ++digits;
            }
            if (digits == 0 || !Accept(QLatin1String("):")) || !ReadHexList(&data))
                return Problem(lineNumber, QStringLiteral("bad hex data"));
        } else {
            return Problem(lineNumber, QStringLiteral("unknown value form"));
        }
        if (!m_key)
            return Problem(lineNumber, QStringLiteral("value outside a readable key"));
        m_key->SetValue(name, type, data);
    }

    // Bytes as two hex digits each, separated by commas; a line ending in ",\" goes on in the
    // next line.
    bool ReadHexList(QByteArray* data) {
        if (RestIsBlank())
            return true;
        for (;;) {
            SkipBlanks();
            if (m_pos + 1 >= m_line.size())
                return false;
            const int high = HexDigit(m_line.at(m_pos));
            const int low = HexDigit(m_line.at(m_pos + 1));
            if (high < 0 || low < 0)
                return false;
            data->append(static_cast<char>((high << 4) | low));
            m_pos += 2;
            if (RestIsBlank())
                return true;
            if (Peek() != QChar(','))
                return false;
            ++m_pos;
            SkipBlanks();
            if (AtEnd() || Peek() != QChar('\\'))
                continue;
            ++m_pos;
            if (!RestIsBlank() || m_next >= m_lines.size())
                return false;
            const auto next = NextLine();
            if (!next)
                return false;
            m_line = *next;
            m_pos = 0;
        }
    }

    QString m_rootName;
    CRegNode* m_root;
    QList<QByteArray> m_lines;
    bool m_incompleteTail = false;
    qsizetype m_next = 0;
    QString m_line;
    qsizetype m_pos = 0;
    CRegNode* m_key = nullptr;
    CRegText::Damage m_damage;
};

}  // namespace

CRegText::Damage CRegText::Read(const QByteArray& text, const QString& rootName, CRegNode* root) {
    return Reader(text, rootName, root).Run();
}

QByteArray CRegText::Write(const CRegNode& root, const QString& rootName) {
    QString out = QStringLiteral("; Registry hive %1, UTF-8\n").arg(rootName);
    if (!root.Values().empty()) {
        out.append(QChar('\n')).append(QChar('[')).append(rootName).append(QLatin1String("]\n"));
        for (const RegValue& value : root.Values())
            WriteValue(&out, value);
    }
    for (const auto& child : root.Children())
        WriteKey(&out, *child, rootName + QChar('\\') + child->Name());
    return out.toUtf8();
}
