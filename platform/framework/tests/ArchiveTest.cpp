#include "platform/framework/Archive.h"

#include "testsupport/IsolatedTest.h"

#include <QFile>

#include <functional>
#include <memory>
#include <set>
#include <vector>

namespace {

int g_live = 0;  // Test objects alive, to see that failed reads delete what they made.

// A list element: a number, a name and a reference (not owned) to another node.
class CNodeForTest : public CObject {
    DECLARE_SERIAL(CNodeForTest)

public:
    CNodeForTest() { ++g_live; }
    ~CNodeForTest() override { --g_live; }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_value << m_name << m_peer;
        } else {
            ar >> m_value >> m_name >> m_peer;
        }
    }

    int m_value = 0;
    QString m_name;
    CNodeForTest* m_peer = nullptr;
};

// A node whose layout grew an extra field in schema 2; it still reads schema 1.
class CVersionedNodeForTest : public CNodeForTest {
    DECLARE_SERIAL(CVersionedNodeForTest)

public:
    void Serialize(CArchive& ar) override {
        if (ar.IsLoading()) {
            // Taken and put back, as a class does that checks the version before its base reads.
            const UINT schema = ar.GetObjectSchema();
            ar.SetObjectSchema(schema);
            m_storedSchema = ar.GetObjectSchema();
            m_schemaAfter = ar.GetObjectSchema();
        }
        CNodeForTest::Serialize(ar);
        if (ar.IsStoring()) {
            ar << m_extra;
        } else if (m_storedSchema >= 2) {
            ar >> m_extra;
        }
    }

    QString m_extra;
    UINT m_storedSchema = 0;
    UINT m_schemaAfter = 0;
};

// Owns the node it reads, so a failed read must delete it through the owner.
class COwnerForTest : public CObject {
    DECLARE_SERIAL(COwnerForTest)

public:
    COwnerForTest() { ++g_live; }
    ~COwnerForTest() override { --g_live; }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_child.get() << m_weight << m_tail;
        } else {
            CNodeForTest* child = nullptr;
            ar >> child;
            m_child.reset(child);
            ar >> m_weight >> m_tail;
        }
    }

    std::unique_ptr<CNodeForTest> m_child;
    double m_weight = 0;
    QString m_tail;
};

IMPLEMENT_SERIAL(CNodeForTest, CObject, 1)
IMPLEMENT_SERIAL(CVersionedNodeForTest, CNodeForTest, VERSIONABLE_SCHEMA | 2)
IMPLEMENT_SERIAL(COwnerForTest, CObject, 1)

QByteArray Le16(unsigned v) {
    QByteArray b;
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
    return b;
}

QByteArray Le32(uint32_t v) {
    return Le16(v & 0xFFFF) + Le16(v >> 16);
}

// The tag that introduces the first object of a class.
QByteArray NewClass(const QByteArray& name, unsigned schema) {
    return Le16(0xFFFF) + Le16(schema) + Le16(static_cast<unsigned>(name.size())) + name;
}

// A CNodeForTest's own bytes with a short ASCII name; `peer` is the peer's tag and contents.
QByteArray NodeData(int value, const QByteArray& name, const QByteArray& peer = Le16(0)) {
    return Le32(static_cast<uint32_t>(value)) + QByteArray(1, static_cast<char>(name.size())) +
           name + peer;
}

// Deletes the distinct objects a test read.
void DeleteAll(const std::vector<CObject*>& objects) {
    const std::set<CObject*> distinct(objects.begin(), objects.end());
    for (CObject* object : distinct)
        delete object;
}

class ArchiveTest : public IsolatedTest {
protected:
    QString Path() const { return WorkPath("archive.bin"); }

    // Runs `write` on a storing archive over a new file; returns the whole file.
    QByteArray Store(const std::function<void(CArchive&)>& write, int bufSize = 4096) {
        {
            CFile file(Path(), CFile::modeCreate | CFile::modeWrite);
            CArchive ar(&file, CArchive::store, bufSize);
            write(ar);
            ar.Close();
            file.Close();
        }
        QFile f(Path());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    // Puts `bytes` in a file and runs `read` on a loading archive over it.
    void Load(const QByteArray& bytes, const std::function<void(CArchive&)>& read,
              int bufSize = 4096) {
        {
            QFile f(Path());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_EQ(f.write(bytes), bytes.size());
        }
        CFile file(Path(), CFile::modeRead);
        CArchive ar(&file, CArchive::load, bufSize);
        read(ar);
    }

    // The cause of the archive exception that `run` throws, or -1 when it throws none.
    int CauseOf(const std::function<void()>& run) {
        try {
            run();
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_strFileName, Path());
            return e.m_cause;
        }
        return -1;
    }
};

}  // namespace

TEST_F(ArchiveTest, PrimitivesAreLittleEndianAtFixedWidths) {
    const QByteArray bytes = Store([](CArchive& ar) {
        ar << BYTE(0x12) << 'A' << short(-2) << WORD(0xBEEF) << -3 << DWORD(0x89ABCDEF) << -4LL
           << 0x0102030405060708ULL << 1.5f << -2.25 << true << false;
    });
    const QByteArray expected = QByteArray("\x12\x41\xFE\xFF\xEF\xBE", 6) +
                                QByteArray("\xFD\xFF\xFF\xFF\xEF\xCD\xAB\x89", 8) +
                                QByteArray("\xFC\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8) +
                                QByteArray("\x08\x07\x06\x05\x04\x03\x02\x01", 8) +
                                QByteArray("\x00\x00\xC0\x3F", 4) +
                                QByteArray("\x00\x00\x00\x00\x00\x00\x02\xC0\x01\x00", 10);
    EXPECT_EQ(bytes.toHex(' '), expected.toHex(' '));

    Load(bytes, [](CArchive& ar) {
        BYTE b = 0;
        char c = 0;
        short s = 0;
        WORD w = 0;
        int i = 0;
        DWORD d = 0;
        long long ll = 0;
        unsigned long long ull = 0;
        float f = 0;
        double x = 0;
        bool yes = false;
        bool no = true;
        ar >> b >> c >> s >> w >> i >> d >> ll >> ull >> f >> x >> yes >> no;
        EXPECT_EQ(b, 0x12);
        EXPECT_EQ(c, 'A');
        EXPECT_EQ(s, -2);
        EXPECT_EQ(w, 0xBEEF);
        EXPECT_EQ(i, -3);
        EXPECT_EQ(d, 0x89ABCDEFu);
        EXPECT_EQ(ll, -4);
        EXPECT_EQ(ull, 0x0102030405060708ULL);
        EXPECT_EQ(f, 1.5f);
        EXPECT_EQ(x, -2.25);
        EXPECT_TRUE(yes);
        EXPECT_FALSE(no);
    });
}

TEST_F(ArchiveTest, CountedStringsAreByteExact) {
    struct Case {
        int length;
        QByteArray prefix;
    };
    const Case cases[] = {
        {0, QByteArray(1, '\0')},
        {254, QByteArray("\xFE")},
        {255, QByteArray("\xFF") + Le16(255)},
        {0xFFFD, QByteArray("\xFF") + Le16(0xFFFD)},
        {0xFFFE, QByteArray("\xFF") + Le16(0xFFFF) + Le32(0xFFFE)},
        {70000, QByteArray("\xFF") + Le16(0xFFFF) + Le32(70000)},
    };
    // The degree sign and the euro sign are single bytes in Windows-1252.
    const QString pattern = QString::fromUtf8("a\u00B0b\u20AC");
    const QByteArray patternBytes(
        "a\xB0"
        "b\x80");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        QString text;
        QByteArray payload;
        for (int i = 0; i < c.length; ++i) {
            text += pattern[i % 4];
            payload += patternBytes[i % 4];
        }
        const QByteArray bytes = Store([&](CArchive& ar) { ar << text; }, 7);
        EXPECT_EQ(bytes.size(), c.prefix.size() + c.length);
        EXPECT_TRUE(bytes == c.prefix + payload);

        for (int bufSize : {1, 7, 4096}) {
            Load(
                bytes,
                [&](CArchive& ar) {
                    QString back;
                    ar >> back;
                    EXPECT_EQ(back, text) << "buffer " << bufSize;
                    char rest = 0;
                    EXPECT_EQ(ar.Read(&rest, 1), 0u);
                },
                bufSize);
        }
    }
}

TEST_F(ArchiveTest, ReadsUtf16Strings) {
    QByteArray longUtf16;
    QString longText;
    for (int i = 0; i < 300; ++i) {
        longUtf16 += QByteArray("\xAC\x20", 2);  // U+20AC
        longText += QChar(0x20AC);
    }
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {QByteArray("\xFF") + Le16(0xFFFE) + QByteArray("\x02") + QByteArray("a\0\xAC\x20", 4),
         QString::fromUtf8("a\u20AC")},
        {QByteArray("\xFF") + Le16(0xFFFE) + QByteArray(1, '\0'), QString()},
        {QByteArray("\xFF") + Le16(0xFFFE) + QByteArray("\xFF") + Le16(300) + longUtf16, longText},
        {QByteArray("\xFF") + Le16(0xFFFE) + QByteArray("\xFF") + Le16(0xFFFF) + Le32(2) +
             QByteArray("x\0y\0", 4),
         QString("xy")},
    };
    for (const Case& c : cases) {
        Load(c.bytes, [&](CArchive& ar) {
            QString text;
            ar >> text;
            EXPECT_EQ(text, c.text);
        });
    }
}

TEST_F(ArchiveTest, CountsEscapeToThirtyTwoBits) {
    struct Case {
        DWORD count;
        QByteArray bytes;
    };
    const Case cases[] = {
        {0, Le16(0)},
        {0xFFFE, Le16(0xFFFE)},
        {0xFFFF, Le16(0xFFFF) + Le32(0xFFFF)},
        {70000, Le16(0xFFFF) + Le32(70000)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        EXPECT_EQ(Store([&](CArchive& ar) { ar.WriteCount(c.count); }), c.bytes);
        // One byte per element follows, as the reader expects at least that much.
        Load(c.bytes + QByteArray(static_cast<qsizetype>(c.count), 'x'),
             [&](CArchive& ar) { EXPECT_EQ(ar.ReadCount(), c.count); });
    }
}

TEST_F(ArchiveTest, ListOfOneClassWritesTheClassOnceThenItsIndex) {
    CNodeForTest first;
    first.m_value = 7;
    first.m_name = "first";
    CNodeForTest second;
    second.m_value = -1;
    second.m_name = "second";
    const QByteArray bytes = Store([&](CArchive& ar) {
        ar.WriteCount(2);
        ar << &first << &second;
    });
    const QByteArray expected = Le16(2) + NewClass("CNodeForTest", 1) + NodeData(7, "first") +
                                Le16(0x8001) + NodeData(-1, "second");
    EXPECT_EQ(bytes.toHex(' '), expected.toHex(' '));

    const int before = g_live;
    Load(bytes, [&](CArchive& ar) {
        ASSERT_EQ(ar.ReadCount(), 2u);
        std::unique_ptr<CNodeForTest> a;
        std::unique_ptr<CNodeForTest> b;
        CNodeForTest* p = nullptr;
        ar >> p;
        a.reset(p);
        ar >> p;
        b.reset(p);
        ASSERT_TRUE(a && b);
        EXPECT_NE(a.get(), b.get());
        EXPECT_EQ(a->GetRuntimeClass(), RUNTIME_CLASS(CNodeForTest));
        EXPECT_EQ(b->GetRuntimeClass(), RUNTIME_CLASS(CNodeForTest));
        EXPECT_EQ(a->m_value, 7);
        EXPECT_EQ(a->m_name, "first");
        EXPECT_EQ(b->m_value, -1);
        EXPECT_EQ(b->m_name, "second");
    });
    EXPECT_EQ(g_live, before);
}

TEST_F(ArchiveTest, SharedObjectsReadBackAsOnePointer) {
    CNodeForTest a;
    a.m_value = 1;
    CNodeForTest b;
    b.m_value = 2;
    b.m_peer = &a;
    CNodeForTest self;
    self.m_value = 3;
    self.m_peer = &self;
    const QByteArray bytes = Store([&](CArchive& ar) {
        ar << &a << &a << &b << &self << static_cast<const CObject*>(nullptr);
    });
    // Class 1, a 2, b 3, self 4.
    const QByteArray expected = NewClass("CNodeForTest", 1) + NodeData(1, "") + Le16(2) +
                                Le16(0x8001) + NodeData(2, "", Le16(2)) + Le16(0x8001) +
                                NodeData(3, "", Le16(4)) + Le16(0);
    EXPECT_EQ(bytes.toHex(' '), expected.toHex(' '));

    Load(bytes, [](CArchive& ar) {
        CNodeForTest* p[5] = {};
        for (CNodeForTest*& object : p)
            ar >> object;
        ASSERT_TRUE(p[0] && p[2] && p[3]);
        EXPECT_EQ(p[0], p[1]);
        EXPECT_EQ(p[2]->m_peer, p[0]);
        EXPECT_EQ(p[3]->m_peer, p[3]);
        EXPECT_EQ(p[4], nullptr);
        DeleteAll({p[0], p[2], p[3]});
    });
}

TEST_F(ArchiveTest, BigIndexFormsPastTheSmallTagRange) {
    // Class 1 and nodes 2..0x7FFF fill the 15-bit tags; what follows needs the 32-bit forms.
    std::vector<std::unique_ptr<CNodeForTest>> nodes;
    for (int i = 0; i < 0x7FFE; ++i) {
        nodes.push_back(std::make_unique<CNodeForTest>());
        nodes.back()->m_value = i;
    }
    CVersionedNodeForTest v1;
    v1.m_value = -1;
    v1.m_extra = "one";
    CVersionedNodeForTest v2;
    v2.m_value = -2;
    v2.m_extra = "two";
    const QByteArray bytes = Store([&](CArchive& ar) {
        for (const auto& node : nodes)
            ar << node.get();
        ar << nodes.back().get() << &v1 << &v2 << nodes.front().get() << &v1;
    });
    const QByteArray tail = Le16(0x7FFF) + Le32(0x7FFF) + NewClass("CVersionedNodeForTest", 2) +
                            NodeData(-1, "") + QByteArray("\x03one") + Le16(0x7FFF) +
                            Le32(0x80008000) + NodeData(-2, "") + QByteArray("\x03two") + Le16(2) +
                            Le16(0x7FFF) + Le32(0x8001);
    EXPECT_EQ(bytes.right(tail.size()).toHex(' '), tail.toHex(' '));

    Load(bytes, [&](CArchive& ar) {
        std::vector<CObject*> read;
        for (int i = 0; i < 0x7FFE + 5; ++i)
            read.push_back(ar.ReadObject(RUNTIME_CLASS(CNodeForTest)));
        const auto node = [&](size_t i) { return static_cast<CNodeForTest*>(read[i]); };
        EXPECT_EQ(node(0x7FFD)->m_value, 0x7FFD);
        EXPECT_EQ(read[0x7FFE], read[0x7FFD]);
        ASSERT_TRUE(read[0x7FFF]->IsKindOf(RUNTIME_CLASS(CVersionedNodeForTest)));
        ASSERT_TRUE(read[0x8000]->IsKindOf(RUNTIME_CLASS(CVersionedNodeForTest)));
        EXPECT_EQ(static_cast<CVersionedNodeForTest*>(read[0x7FFF])->m_extra, "one");
        EXPECT_EQ(static_cast<CVersionedNodeForTest*>(read[0x8000])->m_extra, "two");
        EXPECT_EQ(read[0x8001], read[0]);
        EXPECT_EQ(read[0x8002], read[0x7FFF]);
        DeleteAll(read);
    });
}

TEST_F(ArchiveTest, BadTagsClassesAndSchemasAreRefused) {
    const CRuntimeClass* versioned = RUNTIME_CLASS(CVersionedNodeForTest);
    const QByteArray node = NewClass("CNodeForTest", 1) + NodeData(1, "n");
    struct Case {
        const char* what;
        QByteArray bytes;
        std::vector<const CRuntimeClass*> requests;  // One ReadObject each.
        int cause;
    };
    const Case cases[] = {
        {"schema newer than the class",
         NewClass("CNodeForTest", 2) + NodeData(1, ""),
         {nullptr},
         CArchiveException::badSchema},
        {"older schema of a class that is not versionable",
         NewClass("CNodeForTest", 0) + NodeData(1, ""),
         {nullptr},
         CArchiveException::badSchema},
        {"unknown class",
         NewClass("CNoSuchClassForTest", 1) + NodeData(1, ""),
         {nullptr},
         CArchiveException::badClass},
        {"class that cannot be serialised",
         NewClass("CFile", 0xFFFF),
         {nullptr},
         CArchiveException::badClass},
        {"class name with a NUL inside",
         NewClass(QByteArray("CNodeForTest\0x", 14), 1),
         {nullptr},
         CArchiveException::badClass},
        {"new object of another class than asked", node, {versioned}, CArchiveException::badClass},
        {"reference to an object of another class than asked",
         node + Le16(2),
         {nullptr, versioned},
         CArchiveException::badClass},
        {"class index zero", Le16(0x8000), {nullptr}, CArchiveException::badIndex},
        {"class index never defined", Le16(0x8001), {nullptr}, CArchiveException::badIndex},
        {"class index naming an object",
         node + Le16(0x8002) + NodeData(2, ""),
         {nullptr, nullptr},
         CArchiveException::badIndex},
        {"object index never defined", Le16(5), {nullptr}, CArchiveException::badIndex},
        {"object index naming a class",
         node + Le16(1),
         {nullptr, nullptr},
         CArchiveException::badIndex},
        {"big object index out of range",
         Le16(0x7FFF) + Le32(0x10000),
         {nullptr},
         CArchiveException::badIndex},
        {"big class index out of range",
         Le16(0x7FFF) + Le32(0x80010000),
         {nullptr},
         CArchiveException::badIndex},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = g_live;
        std::vector<CObject*> read;
        EXPECT_EQ(CauseOf([&] {
                      Load(c.bytes, [&](CArchive& ar) {
                          for (const CRuntimeClass* cls : c.requests)
                              read.push_back(ar.ReadObject(cls));
                      });
                  }),
                  c.cause);
        DeleteAll(read);
        EXPECT_EQ(g_live, before);
    }
}

TEST_F(ArchiveTest, VersionableSchemaReachesSerialize) {
    // Written by an older program: schema 1, without the extra field.
    const QByteArray old = NewClass("CVersionedNodeForTest", 1) + NodeData(5, "old") +
                           Le16(0x8001) + NodeData(6, "older");
    Load(old, [](CArchive& ar) {
        EXPECT_EQ(ar.GetObjectSchema(), 0xFFFFFFFFu);  // Outside an object.
        for (int value : {5, 6}) {
            std::unique_ptr<CObject> object(ar.ReadObject(RUNTIME_CLASS(CVersionedNodeForTest)));
            auto* node = static_cast<CVersionedNodeForTest*>(object.get());
            ASSERT_NE(node, nullptr);
            EXPECT_EQ(node->m_value, value);
            EXPECT_EQ(node->m_storedSchema, 1u);
            EXPECT_EQ(node->m_schemaAfter, 0xFFFFFFFFu);
            EXPECT_TRUE(node->m_extra.isEmpty());
        }
        EXPECT_EQ(ar.GetObjectSchema(), 0xFFFFFFFFu);
    });

    CVersionedNodeForTest current;
    current.m_value = 9;
    current.m_extra = "extra";
    const QByteArray bytes = Store([&](CArchive& ar) { ar << &current; });
    EXPECT_EQ(bytes.left(4), Le16(0xFFFF) + Le16(2));  // The flag is not stored.
    Load(bytes, [](CArchive& ar) {
        CVersionedNodeForTest* node = nullptr;
        ar >> node;
        std::unique_ptr<CVersionedNodeForTest> owner(node);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(node->m_storedSchema, 2u);
        EXPECT_EQ(node->m_extra, "extra");
    });
}

TEST_F(ArchiveTest, TruncatedArchivesFailWithoutLeaks) {
    COwnerForTest o1;
    o1.m_child = std::make_unique<CNodeForTest>();
    o1.m_child->m_value = 1;
    o1.m_child->m_name = QString(300, 'c');
    o1.m_weight = 0.5;
    o1.m_tail = "tail one";
    COwnerForTest o2;
    o2.m_child = std::make_unique<CNodeForTest>();
    o2.m_child->m_peer = o1.m_child.get();
    o2.m_tail = "tail two";
    const QByteArray bytes = Store([&](CArchive& ar) {
        ar << QString("header");
        ar.WriteCount(2);
        ar << &o1 << &o2;
    });

    const int before = g_live;
    const auto read = [](CArchive& ar) {
        QString header;
        ar >> header;
        const DWORD count = ar.ReadCount();
        std::vector<std::unique_ptr<COwnerForTest>> owners;
        for (DWORD i = 0; i < count; ++i) {
            COwnerForTest* owner = nullptr;
            ar >> owner;
            owners.emplace_back(owner);
        }
        ASSERT_EQ(owners.size(), 2u);
        EXPECT_EQ(owners[0]->m_child->m_name, QString(300, 'c'));
        EXPECT_EQ(owners[1]->m_child->m_peer, owners[0]->m_child.get());
        EXPECT_EQ(owners[1]->m_tail, "tail two");
    };
    EXPECT_EQ(CauseOf([&] { Load(bytes, read); }), -1);
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_EQ(CauseOf([&] { Load(bytes.left(length), read, 16); }),
                  CArchiveException::endOfFile);
        EXPECT_EQ(g_live, before);
    }
}

TEST_F(ArchiveTest, HostileLengthsFailBeforeAllocating) {
    enum Reader { String, Count, Object };
    struct Case {
        const char* what;
        QByteArray bytes;
        Reader reader;
    };
    const QByteArray some(16, 'x');
    const Case cases[] = {
        {"string of 2^31 bytes", QByteArray("\xFF") + Le16(0xFFFF) + Le32(0x80000000) + some,
         String},
        {"string of 2^32-1 bytes", QByteArray("\xFF") + Le16(0xFFFF) + Le32(0xFFFFFFFF) + some,
         String},
        {"UTF-16 string of 2^31 characters",
         QByteArray("\xFF") + Le16(0xFFFE) + QByteArray("\xFF") + Le16(0xFFFF) + Le32(0x80000000) +
             some,
         String},
        {"string longer than the file", QByteArray("\xFF") + Le16(0x1000) + some, String},
        {"count of 2^31", Le16(0xFFFF) + Le32(0x80000000) + some, Count},
        {"count longer than the file", Le16(0x1000) + some, Count},
        {"class name longer than the file", Le16(0xFFFF) + Le16(1) + Le16(0xFFFF) + "CNode",
         Object},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CauseOf([&] {
                      Load(c.bytes, [&](CArchive& ar) {
                          QString text;
                          switch (c.reader) {
                              case String:
                                  ar >> text;
                                  break;
                              case Count:
                                  ar.ReadCount();
                                  break;
                              case Object:
                                  delete ar.ReadObject(nullptr);
                                  break;
                          }
                      });
                  }),
                  CArchiveException::endOfFile);
    }
}

TEST_F(ArchiveTest, FailedObjectIsNeverHandedOutLater) {
    // Node 2 fails on its peer's unknown class; a later reference to node 2 must not return
    // the deleted object.
    const QByteArray bytes = NewClass("CNodeForTest", 1) + Le32(1) + QByteArray(1, '\0') +
                             NewClass("CNoSuchClassForTest", 1) + Le16(2);
    const int before = g_live;
    Load(bytes, [&](CArchive& ar) {
        EXPECT_EQ(CauseOf([&] { ar.ReadObject(nullptr); }), CArchiveException::badClass);
        EXPECT_EQ(g_live, before);
        EXPECT_EQ(CauseOf([&] { ar.ReadObject(nullptr); }), CArchiveException::badIndex);
    });
}

TEST_F(ArchiveTest, NestingDeeperThanAThousandObjectsIsRefused) {
    for (int depth : {1000, 1001}) {
        SCOPED_TRACE(depth);
        const int before = g_live;
        std::vector<std::unique_ptr<CNodeForTest>> chain;
        for (int i = 0; i < depth; ++i) {
            chain.push_back(std::make_unique<CNodeForTest>());
            if (i > 0)
                chain[i - 1]->m_peer = chain[i].get();
        }
        const int expected = depth <= 1000 ? -1 : CArchiveException::genericException;
        EXPECT_EQ(CauseOf([&] { Store([&](CArchive& ar) { ar << chain.front().get(); }); }),
                  expected);

        QByteArray bytes = NewClass("CNodeForTest", 1);
        for (int i = 0; i < depth; ++i)
            bytes += (i > 0 ? Le16(0x8001) : QByteArray()) + NodeData(i, "", QByteArray());
        bytes += Le16(0);
        chain.clear();
        EXPECT_EQ(CauseOf([&] {
                      Load(bytes, [](CArchive& ar) {
                          CNodeForTest* node = nullptr;
                          ar >> node;
                          while (node) {
                              CNodeForTest* next = node->m_peer;
                              delete node;
                              node = next;
                          }
                      });
                  }),
                  expected);
        EXPECT_EQ(g_live, before);
    }
}

TEST_F(ArchiveTest, FlushHandsTheFileOverAtTheArchivePosition) {
    {
        CFile file(Path(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << 7;
        ar.Flush();
        EXPECT_EQ(file.GetLength(), 4u);
        file.Write("XY", 2);
        ar << WORD(0x0102);
        ar.Close();
        EXPECT_EQ(ar.GetFile(), nullptr);
    }
    CFile file(Path(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    EXPECT_EQ(ar.GetFile(), &file);
    int first = 0;
    ar >> first;
    EXPECT_EQ(first, 7);
    ar.Flush();
    EXPECT_EQ(file.GetPosition(), 4u);
    char direct[2] = {};
    EXPECT_EQ(file.Read(direct, 2), 2u);
    EXPECT_EQ(QByteArray(direct, 2), "XY");
    WORD last = 0;
    ar >> last;
    EXPECT_EQ(last, 0x0102);
}

TEST_F(ArchiveTest, MisuseThrows) {
    CFile file(Path(), CFile::modeCreate | CFile::modeReadWrite);
    CArchive storing(&file, CArchive::store);
    EXPECT_TRUE(storing.IsStoring());
    int value = 0;
    EXPECT_EQ(CauseOf([&] { storing >> value; }), CArchiveException::writeOnly);
    // A class without a schema cannot be written.
    EXPECT_EQ(CauseOf([&] { storing << &file; }), CArchiveException::badClass);
    storing.Close();
    EXPECT_EQ(CauseOf([&] { storing << 1; }), CArchiveException::genericException);

    CArchive loading(&file, CArchive::load);
    EXPECT_TRUE(loading.IsLoading());
    EXPECT_EQ(CauseOf([&] { loading << 1; }), CArchiveException::readOnly);
    EXPECT_EQ(CauseOf([&] { loading.WriteObject(nullptr); }), CArchiveException::readOnly);
}
