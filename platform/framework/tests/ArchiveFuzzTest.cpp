#include "platform/framework/Archive.h"

#include "testsupport/IsolatedTest.h"

#include <QFile>

#include <random>
#include <set>
#include <vector>

namespace {

class CFuzzNodeForTest;

// Every fuzz object alive; what a read leaves behind is deleted through this after each run.
std::set<CFuzzNodeForTest*>& Live() {
    static std::set<CFuzzNodeForTest*> live;
    return live;
}

// A node with the field kinds archives hold: numbers, a string, a counted array and a
// reference (not owned) to another node.
class CFuzzNodeForTest : public CObject {
    DECLARE_SERIAL(CFuzzNodeForTest)

public:
    CFuzzNodeForTest() { Live().insert(this); }
    ~CFuzzNodeForTest() override { Live().erase(this); }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_value << m_weight << m_name;
            ar.WriteCount(static_cast<DWORD>(m_samples.size()));
            for (int sample : m_samples)
                ar << sample;
            ar << m_peer;
        } else {
            ar >> m_value >> m_weight >> m_name;
            m_samples.resize(ar.ReadCount());
            for (int& sample : m_samples)
                ar >> sample;
            ar >> m_peer;
        }
    }

    int m_value = 0;
    double m_weight = 0;
    QString m_name;
    std::vector<int> m_samples;
    CFuzzNodeForTest* m_peer = nullptr;
};

// A versionable node with a field that only schema 2 stores.
class CFuzzLeafForTest : public CFuzzNodeForTest {
    DECLARE_SERIAL(CFuzzLeafForTest)

public:
    void Serialize(CArchive& ar) override {
        const UINT schema = ar.IsLoading() ? ar.GetObjectSchema() : 2;
        CFuzzNodeForTest::Serialize(ar);
        if (ar.IsStoring()) {
            ar << m_note;
        } else if (schema >= 2) {
            ar >> m_note;
        }
    }

    QString m_note;
};

IMPLEMENT_SERIAL(CFuzzNodeForTest, CObject, 1)
IMPLEMENT_SERIAL(CFuzzLeafForTest, CFuzzNodeForTest, VERSIONABLE_SCHEMA | 2)

void DeleteLeftovers() {
    const std::set<CFuzzNodeForTest*> left = Live();
    for (CFuzzNodeForTest* node : left)
        delete node;
}

class ArchiveFuzzTest : public IsolatedTest {
protected:
    void TearDown() override {
        DeleteLeftovers();
        IsolatedTest::TearDown();
    }

    // A valid archive: a header, then a list of nodes and leaves that share and nest.
    QByteArray ValidArchive() {
        std::vector<CFuzzNodeForTest*> list;
        for (int i = 0; i < 12; ++i) {
            CFuzzNodeForTest* node = i % 3 == 2 ? new CFuzzLeafForTest : new CFuzzNodeForTest;
            node->m_value = i * 1000 - 5000;
            node->m_weight = i / 7.0;
            node->m_name = QString(i == 5 ? 300 : i, QChar(0xE0 + i));
            node->m_samples.assign(static_cast<size_t>(i % 4), i);
            if (auto* leaf = dynamic_cast<CFuzzLeafForTest*>(node))
                leaf->m_note = QString::fromUtf8("note \u00B0%1").arg(i);
            if (i > 0)
                node->m_peer = list[static_cast<size_t>((i * 5 + 3) % i)];
            list.push_back(node);
        }
        list[3]->m_peer = list[3];
        CFuzzNodeForTest* nested = new CFuzzNodeForTest;  // Written only through its referrer.
        list[10]->m_peer = nested;

        const QString path = WorkPath("valid.bin");
        {
            CFile file(path, CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&file, CArchive::store, 64);
            ar << QString("fuzz header") << 3;
            ar.WriteCount(static_cast<DWORD>(list.size() + 2));
            for (CFuzzNodeForTest* node : list)
                ar << node;
            ar << list[4] << static_cast<const CObject*>(nullptr);
            ar.Close();
        }
        DeleteLeftovers();
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    // Reads `bytes` as ValidArchive wrote it; false when the archive refuses them.
    bool ReadArchive(const QByteArray& bytes) {
        const QString path = WorkPath("mutated.bin");
        {
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
        }
        CFile file(path, CFile::modeRead);
        CArchive ar(&file, CArchive::load, 32);
        try {
            QString header;
            int version = 0;
            ar >> header >> version;
            std::vector<CFuzzNodeForTest*> list(ar.ReadCount());
            for (CFuzzNodeForTest*& node : list)
                ar >> node;
            // Whatever came back must be alive: touch it and what it refers to.
            for (CFuzzNodeForTest* node : list) {
                if (!node)
                    continue;
                EXPECT_TRUE(Live().count(node));
                if (node->m_peer) {
                    EXPECT_TRUE(Live().count(node->m_peer));
                }
            }
            return true;
        } catch (const CArchiveException&) {
            return false;
        }
    }
};

}  // namespace

TEST_F(ArchiveFuzzTest, RandomMutationsOfAValidArchiveFailCleanly) {
    const QByteArray valid = ValidArchive();
    ASSERT_TRUE(ReadArchive(valid));
    DeleteLeftovers();

    std::mt19937 random(20261209);
    const auto pick = [&](qsizetype n) {
        return static_cast<qsizetype>(random() % static_cast<uint32_t>(n));
    };
    const char interesting[] = {'\x00', '\x01', '\x7F', '\x80', '\xFE', '\xFF'};
    int refused = 0;
    int accepted = 0;
    for (int run = 0; run < 3000; ++run) {
        QByteArray bytes = valid;
        const int mutations = 1 + static_cast<int>(random() % 4);
        for (int m = 0; m < mutations && !bytes.isEmpty(); ++m) {
            const qsizetype at = pick(bytes.size());
            switch (random() % 6) {
                case 0:
                    bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
                    break;
                case 1:
                    bytes[at] = interesting[pick(sizeof interesting)];
                    break;
                case 2:
                    bytes.truncate(at);
                    break;
                case 3:
                    bytes.insert(at, bytes.mid(pick(bytes.size()), 1 + pick(16)));
                    break;
                case 4:
                    bytes.remove(at, 1 + pick(8));
                    break;
                default:
                    bytes.replace(at, 4, QByteArray("\x00\x00\x00\x80", 4));
                    break;
            }
        }
        if (ReadArchive(bytes))
            ++accepted;
        else
            ++refused;
        DeleteLeftovers();
    }
    // Both outcomes occur, so the mutations reach past the first bytes and the reader is not
    // simply refusing everything.
    EXPECT_GT(refused, 1000);
    EXPECT_GT(accepted, 10);
}
