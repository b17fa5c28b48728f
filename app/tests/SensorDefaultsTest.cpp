// The per-sensor defaults file of a live sensor window of the second family, with the device
// layer's settings sheet behind it: its bytes, and what a missing or damaged file does.

#include "app/SensorSettingsSheet.h"
#include "platform/framework/File.h"
#include "platform/framework/FileException.h"
#include "platform/framework/IPrompter.h"
#include "sensordata/DataQNSensorDoc.h"
#include "testsupport/IsolatedTest.h"

#include <gtest/gtest.h>

#include <QDataStream>
#include <QDir>
#include <QFile>

#include <random>

namespace {

const QString kSensorPath = QStringLiteral("sensorXXX#2#1#0#");

// Answers every message box with its default button and keeps the texts.
class CQuietPrompter : public IPrompter {
public:
    CQuietPrompter() : m_previous(AfxSetPrompter(this)) {}
    ~CQuietPrompter() override { AfxSetPrompter(m_previous); }
    int MessageBox(const MessageBoxPrompt& prompt) override {
        texts << prompt.text;
        return MessageBoxDefaultAnswer(prompt.type);
    }
    FileDialogAnswer FileDialog(const FileDialogPrompt&) override { return {}; }
    std::optional<QString> BrowseForFolder(const FolderPrompt&) override { return std::nullopt; }
    std::optional<COLORREF> ChooseColor(const ColorPrompt&) override { return std::nullopt; }
    QStringList texts;

private:
    IPrompter* m_previous;
};

class SensorDefaultsTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        IDeviceSettingsSheet::SetFactory([] { return std::make_unique<CSensorSettingsSheet>(); });
    }
    void TearDown() override {
        IDeviceSettingsSheet::SetFactory(nullptr);
        IsolatedTest::TearDown();
    }

    static CAcqSettings& Acquisition(CDataQNSensorDoc& doc) {
        return static_cast<CSensorSettingsSheet*>(doc.GetDeviceSettings())
            ->GetSheet()
            .m_acquisitionValue.m_settings;
    }
    // Opens the document of the card (2, 1, 0): TRUE when its defaults file was read.
    static BOOL Open(CDataQNSensorDoc& doc, QStringList* messages = nullptr) {
        CQuietPrompter quiet;
        const BOOL opened = doc.OnOpenDocument(kSensorPath);
        if (messages)
            *messages = quiet.texts;
        return opened;
    }
    static QByteArray ReadFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteDefaults(const QByteArray& bytes) {
        QFile file(CDataQNSensorDoc::DefaultsPath(CDeviceId(2, 1, 0)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // The defaults of the card with one channel pair: channel 0 on in mode 1 (-10 .. 10 V),
    // channel 1 off in mode 0 (-5 .. 5 V), device 3, connector 2, adapter 1.
    QByteArray SavedDefaults() {
        CDataQNSensorDoc doc;
        EXPECT_FALSE(Open(doc));
        CAcqSettings& s = Acquisition(doc);
        s.m_nDevice = 3;
        s.SetChannelCount(1);
        s.m_nConnector = 2;
        s.m_nAdapter = 1;
        s.m_on[0] = 1;
        s.m_on[1] = 0;
        s.m_mode[0] = 1;
        s.m_mode[1] = 0;
        s.m_lower[0] = -10.0;
        s.m_upper[0] = 10.0;
        s.m_lower[1] = -5.0;
        s.m_upper[1] = 5.0;
        EXPECT_TRUE(doc.OnSaveDocument(kSensorPath));
        return ReadFile(CDataQNSensorDoc::DefaultsPath(CDeviceId(2, 1, 0)));
    }
};

TEST_F(SensorDefaultsTest, TheFileIsSchemaDeviceAndAcquisitionPage) {
    EXPECT_EQ(CDataQNSensorDoc::DefaultsPath(CDeviceId(2, 1, 0)),
              QDir::current().filePath(QStringLiteral("S2ST1N0.sensdflt")));
    const QByteArray saved = SavedDefaults();

    QByteArray golden;
    QDataStream out(&golden, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.setFloatingPointPrecision(QDataStream::DoublePrecision);
    out << qint32(1);
    out << quint8(7);
    out.writeRawData("#2#1#0#", 7);
    out << qint32(1) << qint32(3) << qint32(1) << qint32(2) << qint32(1);
    out << qint32(1) << qint32(1) << -10.0 << 10.0;
    out << qint32(0) << qint32(0) << -5.0 << 5.0;
    EXPECT_EQ(saved.toHex(' '), golden.toHex(' '));

    CDataQNSensorDoc back;
    ASSERT_TRUE(Open(back));
    const CAcqSettings& s = Acquisition(back);
    EXPECT_EQ(s.m_nDevice, 3);
    EXPECT_EQ(s.GetChannelCount(), 1);
    EXPECT_EQ(s.m_nConnector, 2);
    EXPECT_EQ(s.m_mode[0], 1);
    EXPECT_EQ(s.m_upper[1], 5.0);
    EXPECT_EQ(back.GetDeviceId(), CDeviceId(2, 1, 0));
}

TEST_F(SensorDefaultsTest, AMissingOrDamagedFileFailsTheOpenWithTheFailedOpenMessage) {
    const QString path = CDataQNSensorDoc::DefaultsPath(CDeviceId(2, 1, 0));
    CFile file;
    CFileException missing;
    ASSERT_FALSE(file.Open(path, CFile::modeRead, &missing));
    CDataQNSensorDoc doc;
    QStringList messages;
    EXPECT_FALSE(Open(doc, &messages));
    EXPECT_EQ(
        messages,
        QStringList{
            QStringLiteral("Failed to open document %1.\n%2").arg(path, missing.ErrorMessage())});

    const QByteArray saved = SavedDefaults();
    QByteArray otherSchema = saved;
    otherSchema[0] = 2;
    QByteArray otherDevice = saved;
    otherDevice[7] = '9';  // "#2#1#9#"
    for (const QByteArray& damaged :
         {otherSchema, otherDevice, saved.left(saved.size() - 1), saved.left(4), QByteArray()}) {
        SCOPED_TRACE(damaged.toHex(' ').toStdString());
        WriteDefaults(damaged);
        CDataQNSensorDoc again;
        EXPECT_FALSE(Open(again, &messages));
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(
            messages[0].startsWith(QStringLiteral("Failed to open document %1.").arg(path)));
    }
}

// Every shorter file fails; thousands of mutations of a good one never crash.
TEST_F(SensorDefaultsTest, TruncationsFailAndMutationsNeverCrash) {
    const QByteArray saved = SavedDefaults();
    for (qsizetype n = 0; n < saved.size(); ++n) {
        WriteDefaults(saved.left(n));
        CDataQNSensorDoc doc;
        EXPECT_FALSE(Open(doc)) << n << " bytes";
    }
    std::mt19937 random(47);
    for (int i = 0; i < 3000; ++i) {
        QByteArray mutated = saved;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < changes; ++k)
            mutated[static_cast<qsizetype>(random() % mutated.size())] =
                static_cast<char>(random());
        WriteDefaults(mutated);
        CDataQNSensorDoc doc;
        Open(doc);
    }
}

}  // namespace
