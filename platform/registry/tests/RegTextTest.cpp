#include "platform/registry/RegText.h"

#include "platform/registry/Hive.h"
#include "platform/registry/Registry.h"
#include "platform/registry/tests/RegTestSupport.h"
#include "testsupport/IsolatedTest.h"

#include <QFile>

#include <random>

namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values)
        bytes.append(static_cast<char>(v));
    return bytes;
}

QByteArray Dword(DWORD v) {
    return Bytes({int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int(v >> 24)});
}

// A hive with every form the text has: each plain form, each reason to fall back to hex(T),
// escapes, a default value, an empty key, a long value that wraps, non-ASCII names.
std::unique_ptr<CRegNode> RichHive() {
    auto root = std::make_unique<CRegNode>(kRoot);
    root->SetValue(QStringLiteral("AtRoot"), REG_DWORD, Dword(7));
    CRegNode* options = root->Ensure({"Software", "Tolvar", "Vidra OS", "Options"});
    options->SetValue(QStringLiteral("AppBehave : bPR_StartMax"), REG_DWORD, Dword(1));
    options->SetValue(QStringLiteral("LastUpdateCheck"), REG_DWORD,
                      Bytes({0x10, 0x32, 0x54, 0x76, 0x98, 0xba, 0xdc, 0xfe}));
    options->SetValue(QStringLiteral("Path \"quoted\" \\ back"), REG_SZ,
                      RegStringData(QStringLiteral("C:\\Data\\\"new\" ÄÖ €")));
    options->SetValue(QString(), REG_SZ, RegStringData(QStringLiteral("default")));
    options->SetValue(QStringLiteral("Multi"), REG_MULTI_SZ, QByteArray("a\0\0\0b\0\0\0\0\0", 10));
    options->SetValue(QStringLiteral("TextWithNewline"), REG_SZ,
                      RegStringData(QStringLiteral("one\ntwo")));
    options->SetValue(QStringLiteral("OddText"), REG_SZ, Bytes({0x41, 0x00, 0x42}));
    options->SetValue(QStringLiteral("Quad"), REG_QWORD, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    options->SetValue(QStringLiteral("Nothing"), REG_BINARY, QByteArray());
    options->SetValue(QStringLiteral("Short dword"), REG_DWORD, Bytes({0x2a}));
    QByteArray longBlob;
    for (int i = 0; i < 70; ++i)
        longBlob.append(static_cast<char>(i * 37));
    options->SetValue(QStringLiteral("Blob"), REG_BINARY, longBlob);
    options->SetValue(QStringLiteral("HighType"), 0xFFFFFFFFu, Bytes({0xff}));
    root->Ensure({"Software", "Empty key"});
    root->Ensure({"Software", "Tolvar", "Vidra OS", "Record Options"})
        ->SetValue(QStringLiteral("Record:UseLiveVideo"), REG_DWORD, Dword(1));
    root->Ensure({"Software", "Ünïcødé ]["})->SetValue(QStringLiteral("@"), REG_DWORD, Dword(0));
    return root;
}

}  // namespace

TEST(RegTextTest, WritesTheFamiliarFormExactly) {
    CRegNode root(kRoot);
    CRegNode* key = root.Ensure({"Software", "Tolvar"});
    key->SetValue(QStringLiteral("AppBehave : bPR_StartMax"), REG_DWORD, Dword(42));
    key->SetValue(QStringLiteral("Dir"), REG_SZ, RegStringData(QStringLiteral("C:\\x \"y\"")));
    key->SetValue(QString(), REG_SZ, RegStringData(QStringLiteral("def")));
    key->SetValue(QStringLiteral("LastUpdateCheck"), REG_DWORD, Bytes({1, 2, 3, 4, 5, 6, 7, 8}));
    key->SetValue(QStringLiteral("Bin"), REG_BINARY, Bytes({0xde, 0xad}));
    key->SetValue(QStringLiteral("Q"), REG_QWORD, Bytes({0xff, 0, 0, 0, 0, 0, 0, 0}));
    root.Ensure({"Software", "Tolvar", "Empty"});
    QByteArray wide(30, '\x11');
    root.Ensure({"W"})->SetValue(QStringLiteral("Wide"), REG_BINARY, wide);

    const QByteArray expected =
        "; Registry hive HKEY_CURRENT_USER, UTF-8\n"
        "\n[HKEY_CURRENT_USER\\Software]\n"
        "\n[HKEY_CURRENT_USER\\Software\\Tolvar]\n"
        "\"AppBehave : bPR_StartMax\"=dword:0000002a\n"
        "\"Dir\"=\"C:\\\\x \\\"y\\\"\"\n"
        "@=\"def\"\n"
        "\"LastUpdateCheck\"=hex(4):01,02,03,04,05,06,07,08\n"
        "\"Bin\"=hex:de,ad\n"
        "\"Q\"=hex(b):ff,00,00,00,00,00,00,00\n"
        "\n[HKEY_CURRENT_USER\\Software\\Tolvar\\Empty]\n"
        "\n[HKEY_CURRENT_USER\\W]\n"
        "\"Wide\"=hex:11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,11,\\\n"
        "  11,11,11,11,11,11,11,11\n";
    EXPECT_EQ(CRegText::Write(root, kRoot).toStdString(), expected.toStdString());
}

TEST(RegTextTest, EveryValueRoundTripsByteExact) {
    const auto hive = RichHive();
    const QByteArray text = CRegText::Write(*hive, kRoot);
    CRegNode back(kRoot);
    const CRegText::Damage damage = CRegText::Read(text, kRoot, &back);
    EXPECT_EQ(damage.problems, 0) << damage.firstLine << ": " << damage.firstReason.toStdString();
    EXPECT_EQ(Dump(back), Dump(*hive));
    EXPECT_TRUE(text.contains("\"LastUpdateCheck\"=hex(4):10,32,54,76,98,ba,dc,fe\n"));
    EXPECT_TRUE(text.contains("\"Short dword\"=hex(4):2a\n"));
    EXPECT_TRUE(text.contains("\"OddText\"=hex(1):41,00,42\n"));
    EXPECT_TRUE(text.contains("\"HighType\"=hex(ffffffff):ff\n"));
}

TEST(RegTextTest, ReadsHandWrittenVariants) {
    // Byte-order mark, CRLF, comments, blanks, spaces round '=', upper-case hex, a root key with
    // values, a repeated section, a continued hex list.
    const QByteArray text =
        "\xEF\xBB\xBF; edited by hand\r\n"
        "\r\n"
        "[hkey_current_user]\r\n"
        "\"Top\" = DWORD:0000ABCD\r\n"
        "  [HKEY_CURRENT_USER\\A\\B]  \r\n"
        "\t\"x\"=hex:0A, 0B,\\\r\n"
        "    0C\r\n"
        "[HKEY_CURRENT_USER\\A]\r\n"
        "\"y\"=\"\"\r\n"
        "[HKEY_CURRENT_USER\\A\\B]\r\n"
        "\"z\"=hex(0):\r\n";
    CRegNode root(kRoot);
    const CRegText::Damage damage = CRegText::Read(text, kRoot, &root);
    EXPECT_EQ(damage.problems, 0) << damage.firstLine << ": " << damage.firstReason.toStdString();
    const QStringList expected = {
        "|Top|4|cdab0000", "A", "A|y|1|0000", "A\\B", "A\\B|x|3|0a0b0c", "A\\B|z|0|",
    };
    EXPECT_EQ(Dump(root), expected);
}

TEST(RegTextTest, DamagedLinesAreSkippedAndTheRestLoads) {
    struct Case {
        const char* what;
        QByteArray badLines;
    };
    const Case cases[] = {
        {"short dword", "\"bad\"=dword:2a\n"},
        {"long dword", "\"bad\"=dword:0000002a1\n"},
        {"odd hex digit", "\"bad\"=hex:01,2\n"},
        {"trailing comma", "\"bad\"=hex:01,\n"},
        {"continuation at end of file", "\"bad\"=hex:01,\\\n"},
        {"bad hex type", "\"bad\"=hex(zz):01\n"},
        {"unclosed name", "\"bad=dword:00000001\n"},
        {"unclosed text", "\"bad\"=\"abc\n"},
        {"text then junk", "\"bad\"=\"abc\" x\n"},
        {"no equals", "\"bad\" dword:00000001\n"},
        {"unknown form", "\"bad\"=qword:1\n"},
        {"deletion form", "\"bad\"=-\n"},
        {"garbage", "garbage\n"},
        {"invalid UTF-8", "\"bad\xff\"=dword:00000001\n"},
        {"NUL in name", QByteArray("\"b\0d\"=dword:00000001\n", 22)},
        {"CR in name", "\"b\rd\"=dword:00000001\n"},
        {"header without bracket", "[HKEY_CURRENT_USER\\Bad\n\"bad\"=dword:00000001\n"},
        {"header of another hive", "[HKEY_LOCAL_MACHINE\\Bad]\n\"bad\"=dword:00000001\n"},
        {"empty key name", "[HKEY_CURRENT_USER\\A\\\\Bad]\n\"bad\"=dword:00000001\n"},
        {"deleted-key header", "[-HKEY_CURRENT_USER\\Bad]\n\"bad\"=dword:00000001\n"},
        {"key too deep", "[HKEY_CURRENT_USER" + QByteArray("\\k").repeated(kMaxRegKeyDepth + 1) +
                             "]\n\"bad\"=dword:00000001\n"},
    };
    for (const Case& c : cases) {
        const QByteArray text = "[HKEY_CURRENT_USER\\Good]\n\"before\"=dword:00000001\n" +
                                c.badLines +
                                "[HKEY_CURRENT_USER\\Good]\n\"after\"=dword:00000002\n";
        CRegNode root(kRoot);
        const CRegText::Damage damage = CRegText::Read(text, kRoot, &root);
        EXPECT_GE(damage.problems, 1) << c.what;
        EXPECT_EQ(damage.firstLine, 3) << c.what;
        const QStringList expected = {"Good", "Good|before|4|01000000", "Good|after|4|02000000"};
        EXPECT_EQ(Dump(root), expected) << c.what;
    }
}

TEST(RegTextTest, KeysAtTheDeepestLevelLoad) {
    const QByteArray text = "[HKEY_CURRENT_USER" + QByteArray("\\k").repeated(kMaxRegKeyDepth) +
                            "]\n\"v\"=dword:00000001\n";
    CRegNode root(kRoot);
    EXPECT_EQ(CRegText::Read(text, kRoot, &root).problems, 0);
    const CRegNode* node = root.Find(QStringList(kMaxRegKeyDepth, QStringLiteral("K")));
    ASSERT_NE(node, nullptr);
    EXPECT_NE(node->FindValue(QStringLiteral("V")), nullptr);
}

// Names are found without regard to case, also after removals have moved the others.
TEST(RegNodeTest, NamesAreFoundWithoutCaseAfterRemovals) {
    CRegNode node(kRoot);
    for (const char* name : {"Alpha", "\u00C4rger", "Gamma", "Delta"}) {
        node.AddChild(QString::fromUtf8(name));
        node.SetValue(QString::fromUtf8(name), REG_DWORD, Dword(1));
    }
    bool created = true;
    EXPECT_EQ(node.AddChild(QStringLiteral("ALPHA"), &created), node.Children().front().get());
    EXPECT_FALSE(created);
    node.SetValue(QStringLiteral("gamma"), REG_DWORD, Dword(2));
    EXPECT_EQ(node.Values().size(), 4u);
    EXPECT_TRUE(node.RemoveChild(QStringLiteral("alpha")));
    EXPECT_TRUE(node.RemoveValue(QStringLiteral("ALPHA")));
    EXPECT_FALSE(node.RemoveValue(QStringLiteral("Alpha")));
    ASSERT_NE(node.FindChild(QString::fromUtf8("\u00E4RGER")), nullptr);
    EXPECT_EQ(node.FindChild(QStringLiteral("delta"))->Name(), QStringLiteral("Delta"));
    ASSERT_NE(node.FindValue(QStringLiteral("GAMMA")), nullptr);
    EXPECT_EQ(node.FindValue(QStringLiteral("GAMMA"))->data, Dword(2));
    EXPECT_EQ(node.FindValue(QStringLiteral("Gamma"))->name, QStringLiteral("Gamma"));
    node.Clear();
    EXPECT_EQ(node.FindChild(QStringLiteral("Delta")), nullptr);
    EXPECT_EQ(node.FindValue(QStringLiteral("Delta")), nullptr);
}

TEST(RegTextTest, CutOffLastLineIsNotTrusted) {
    // The cut line would parse (as a shorter list), but a file without its final newline was
    // not written to the end.
    const QByteArray whole = "[HKEY_CURRENT_USER\\K]\n\"a\"=hex:01,02\n\"b\"=hex:01,02,03\n";
    CRegNode root(kRoot);
    const CRegText::Damage damage = CRegText::Read(whole.left(whole.size() - 4), kRoot, &root);
    EXPECT_EQ(damage.problems, 1);
    EXPECT_EQ(damage.firstLine, 3);
    EXPECT_EQ(Dump(root), QStringList({"K", "K|a|3|0102"}));
}

class RegTextFuzzTest : public IsolatedTest {};

// Random damage to a valid hive file never crashes the reader, and whatever it reads is
// written and read back unchanged and without damage. Some of the damaged files also go
// through a hive's first load, which must keep the bad file beside it.
TEST_F(RegTextFuzzTest, MutatedHiveFilesLoadCleanly) {
    const QByteArray valid = CRegText::Write(*RichHive(), kRoot);
    const QByteArray special = QByteArray("\"\\[]=@,:;()\n\r\t \xff\xc3\xa4", 19) + '\0';
    std::mt19937 random(20261209);
    auto below = [&](qsizetype n) {
        return static_cast<qsizetype>(random() % static_cast<uint32_t>(std::max<qsizetype>(n, 1)));
    };

    WarningCatcher warnings;
    int damaged = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray text = valid;
        const int edits = 1 + static_cast<int>(below(4));
        for (int e = 0; e < edits; ++e) {
            if (text.isEmpty())
                break;
            const qsizetype at = below(text.size());
            switch (below(6)) {
                case 0:
                    text[at] = static_cast<char>(text.at(at) ^ (1 << below(8)));
                    break;
                case 1:
                    text[at] = special.at(below(special.size()));
                    break;
                case 2:
                    text.insert(at, special.at(below(special.size())));
                    break;
                case 3:
                    text.remove(at, 1 + below(40));
                    break;
                case 4:
                    text.insert(below(text.size()), text.mid(at, 1 + below(80)));
                    break;
                default:
                    text.truncate(at);
                    break;
            }
        }

        CRegNode root(kRoot);
        const CRegText::Damage damage = CRegText::Read(text, kRoot, &root);
        damaged += damage.problems > 0 ? 1 : 0;
        const QByteArray written = CRegText::Write(root, kRoot);
        CRegNode again(kRoot);
        const CRegText::Damage second = CRegText::Read(written, kRoot, &again);
        ASSERT_EQ(second.problems, 0) << "round " << round << ": " << second.firstLine << " "
                                      << second.firstReason.toStdString();
        ASSERT_EQ(CRegText::Write(again, kRoot), written) << "round " << round;

        if (round % 100 == 0) {
            const QString path = WorkPath(QStringLiteral("hive%1.reg").arg(round));
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(text);
            file.close();
            CHive hive(path, kRoot);
            EXPECT_EQ(Dump(*hive.Root()), Dump(root)) << "round " << round;
            QFile copy(path + ".damaged");
            EXPECT_EQ(copy.exists(), damage.problems > 0) << "round " << round;
            if (copy.open(QIODevice::ReadOnly)) {
                EXPECT_EQ(copy.readAll(), text) << "round " << round;
            }
        }
    }
    // The mutations must mostly hit something, or the test shows nothing.
    EXPECT_GT(damaged, 1500);
}
