#include "frames/AviFrameSaver.h"
#include "frames/AviSaveAssistantDlg.h"
#include "frames/CfgFileInfo.h"
#include "frames/FrameSource.h"
#include "frames/SampleRecording.h"
#include "frames/SaveAviFrameSource.h"
#include "frames/SaveDocCallback.h"
#include "frames/SaveVideoOptionsDlg.h"
#include "frames/SaveVideoPanelDlg.h"
#include "platform/com/ComVariant.h"
#include "platform/com/MemorySettingsStore.h"
#include "platform/framework/WinApp.h"
#include "platform/framework/Wnd.h"
#include "platform/media/AviSaveGraph.h"
#include "platform/media/VideoCompressors.h"
#include "resources/ProgramResources.h"
#include "shell/ImageSequenceSaver.h"
#include "shell/SaveController.h"
#include "testsupport/IsolatedTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>

namespace {

class CSettingsMainWnd : public CWnd, public CMemorySettingsStore {};

class CountingCallback : public ISaveDoneCallback {
public:
    HRESULT OnFileSaved(const QString& path, int tag) override {
        saved.append(path);
        tags.append(tag);
        return S_OK;
    }
    QStringList saved;
    QList<int> tags;
};

// Runs action on the first top-level window titled title once it shows: at the first pass of
// the event loop that has it, whichever loop that is (a modal dialog's, a progress window's).
void WhenWindowShows(const QString& title, std::function<void(QWidget*)> action) {
    auto* timer = new QTimer(qApp);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, title, action] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->isVisible() && w->windowTitle() == title) {
                timer->stop();
                timer->deleteLater();
                action(w);
                return;
            }
        }
    });
    timer->start();
}

void ClickButton(QWidget* window, const QString& text) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text() == text) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString();
}

// The grey level of pixel (x, y) of an image file (blue of its RGB form).
int FileLevel(const QString& path, int x, int y) {
    std::unique_ptr<imaging::Bitmap> bitmap = imaging::Bitmap::FromFile(path);
    if (!bitmap)
        return -1;
    imaging::BitmapData data;
    if (bitmap->LockBits(nullptr, imaging::ImageLockModeRead, imaging::PixelFormat24bppRGB,
                         &data) != imaging::Ok)
        return -1;
    const int level = static_cast<const BYTE*>(data.Scan0)[y * data.Stride + 3 * x];
    bitmap->UnlockBits(&data);
    return level;
}

// A recording whose reads from frame 5 on wait until the gate opens.
class GatedSource : public CFrameSource {
public:
    int ReadFrame(int n) override {
        if (n >= 5)
            gate.wait(false);
        return CFrameSource::ReadFrame(n);
    }
    void OpenGate() {
        gate.store(true);
        gate.notify_all();
    }
    std::atomic<bool> gate{false};
};

// A recording whose frames from one on cannot be read.
class FailingSource : public CFrameSource {
public:
    explicit FailingSource(int from) : m_from(from) {}
    int ReadFrame(int n) override { return n >= m_from ? 0 : CFrameSource::ReadFrame(n); }

private:
    int m_from;
};

class SaveControllerTest : public IsolatedTest {
protected:
    void SetUp() override {
        IsolatedTest::SetUp();
        CProgramResources::Register();
        ASSERT_TRUE(CSampleRecording::Write(WorkPath("sample.raw")));
        ASSERT_EQ(m_source.Open(WorkPath("sample.raw")), 1);
    }
    void TearDown() override {
        CFrameSource::SetSaveControllerFactory(nullptr);
        if (m_app) {
            m_app->m_pMainWnd = nullptr;
            m_main.DestroyWindow();
            m_app.reset();
        }
        IsolatedTest::TearDown();
    }

    void UseMainWindow() {
        m_app = std::make_unique<CWinApp>("save");
        ASSERT_TRUE(m_main.Create(nullptr, "main", 0, CRect(0, 0, 400, 300), nullptr, 0));
        m_app->m_pMainWnd = &m_main;
    }

    CSaveVideoParams Sequence(const QString& stem, int imageType, int first, int last,
                              int skip = 0) {
        CSaveVideoParams params;
        params.m_sourcePath = m_source.GetFilePath();
        params.m_outputKind = CSaveVideoParams::kSequence;
        params.m_imageType = imageType;
        params.m_outputStem = WorkPath(stem + "_");
        params.m_outputPath = WorkPath(stem) + CSaveVideoParams::ImageExtension(imageType);
        params.m_firstFrame = first;
        params.m_lastFrame = last;
        params.m_skip = skip;
        params.m_quiet = 1;
        return params;
    }

    QStringList Files(const QString& pattern) const {
        return QDir(WorkDir()).entryList({pattern}, QDir::Files, QDir::Name);
    }

    CFrameSource m_source;
    std::unique_ptr<CWinApp> m_app;
    CSettingsMainWnd m_main;
};

TEST_F(SaveControllerTest, SequenceNamesCountFromZeroWithSkipAndRangeAndKeepThePixels) {
    struct Case {
        const char* stem;
        int imageType;
        int first, last, skip, digits;
        QStringList names;  // first and last written
        int count;
        int tolerance;
    };
    const Case cases[] = {
        {"b", CSaveVideoParams::kBmp, 0, 9, 0, -1, {"b_00.bmp", "b_09.bmp"}, 10, 0},
        {"t", CSaveVideoParams::kTiff, 5, 14, 1, -1, {"t_00.tif", "t_04.tif"}, 5, 0},
        {"j", CSaveVideoParams::kJpeg, 0, 199, 0, 0, {"j_000.jpg", "j_199.jpg"}, 200, 8},
        {"w", CSaveVideoParams::kBmp, 10, 12, 0, 5, {"w_00000.bmp", "w_00002.bmp"}, 3, 0},
    };
    CSaveController controller(&m_source);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stem);
        CSaveVideoParams params = Sequence(c.stem, c.imageType, c.first, c.last, c.skip);
        params.m_digits = c.digits;
        ASSERT_EQ(controller.Save(&params), S_OK);
        const QString extension = CSaveVideoParams::ImageExtension(c.imageType);
        const QStringList written = Files(QString::fromLatin1(c.stem) + "_*" + extension);
        ASSERT_EQ(written.size(), c.count);
        EXPECT_EQ(written.front(), c.names.front());
        EXPECT_EQ(written.back(), c.names.back());
        EXPECT_EQ(params.m_firstWrittenFile, WorkPath(c.names.front()));
        // File n holds frame first + n × step.
        for (int n : {0, c.count - 1}) {
            const int frame = c.first + n * (c.skip + 1);
            for (const auto& [x, y] : {std::pair{3, 4}, std::pair{128, 96}, std::pair{250, 190}}) {
                const int level = FileLevel(WorkPath(written[n]), x, y);
                EXPECT_LE(std::abs(level - CSampleRecording::Level(frame, x, y)), c.tolerance)
                    << written[n].toStdString() << " at " << x << "," << y;
            }
        }
        EXPECT_TRUE(Files(".*").isEmpty()) << "a temporary file stayed";
    }
}

TEST_F(SaveControllerTest, ConfigFileBesideTheOutputNumbersTheSavedFrames) {
    CSaveController controller(&m_source);
    // The recording starts at frame number -20 at 100 frames per second.
    struct Case {
        int first, last, skip;
        int firstNumber, rate;
    };
    const Case cases[] = {
        {0, 9, 0, -20, 100}, {20, 29, 0, 0, 100}, {20, 39, 1, 0, 50}, {30, 59, 2, 3, 33}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        CSaveVideoParams params = Sequence("c", CSaveVideoParams::kBmp, c.first, c.last, c.skip);
        ASSERT_EQ(controller.Save(&params), S_OK);
        CCfgFileInfo info;
        ASSERT_EQ(info.Load(WorkPath("c.cfg"), nullptr, false), 1);
        EXPECT_EQ(info.m_firstFrame, c.firstNumber);
        EXPECT_EQ(info.m_rate, c.rate);
        EXPECT_EQ(info.m_rateHz, c.rate);
        // The saved set opens with the numbers of the frames it holds.
        EXPECT_EQ(info.m_exposureNs, m_source.GetExposure());
    }
}

TEST_F(SaveControllerTest, RebasingKeepsAnUnknownRateAndFollowsTheStepWithTheTimeReference) {
    CCfgFileInfo info;
    info.m_firstFrame = -100;
    info.m_rate = -1;
    info.m_rateHz = -1;
    info.m_hasTimeStamp = 1;
    info.m_refFrame = 40;
    CPromptingSaveController::RebaseRecordingInfo(&info, 100, 2);
    EXPECT_EQ(info.m_firstFrame, 0);
    EXPECT_EQ(info.m_rate, -1);
    EXPECT_EQ(info.m_rateHz, -1);
    EXPECT_EQ(info.m_refFrame, 20);
    EXPECT_EQ(CPromptingSaveController::ConfigPathOf("/d/shot.bmp"), "/d/shot.cfg");
    EXPECT_EQ(CPromptingSaveController::ConfigPathOf("/d/take.avi"), "/d/take.cfg");
}

TEST_F(SaveControllerTest, RangesOutsideTheRecordingAndOtherKindsWriteNothing) {
    CSaveController controller(&m_source);
    struct Case {
        const char* name;
        int kind, first, last;
        const char* message;
    };
    const Case cases[] = {
        {"last equals the count", CSaveVideoParams::kSequence, 0, CSampleRecording::kFrames,
         "Start and end frame numbers out of range."},
        {"first after last", CSaveVideoParams::kSequence, 9, 3,
         "Start and end frame numbers out of range."},
        {"first after last, AVI", CSaveVideoParams::kAvi, 9, 3,
         "Start and end frame numbers out of range."},
        {"batch set", CSaveVideoParams::kBatch, 0, 9, nullptr},
        {"data file", CSaveVideoParams::kDataFile, 0, 9, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSaveVideoParams params = Sequence("r", CSaveVideoParams::kBmp, c.first, c.last);
        params.m_outputKind = c.kind;
        if (c.message)
            Prompter().ExpectMessageBox(QString::fromLatin1(c.message), IDOK);
        EXPECT_EQ(controller.Save(&params), E_FAIL);
        EXPECT_EQ(QDir(WorkDir()).entryList(QDir::Files).size(), 2) << "only the recording";
        EXPECT_FALSE(m_source.IsSaving());
    }
}

TEST_F(SaveControllerTest, SecondSaveWhileOneRunsIsRefused) {
    CSaveController controller(&m_source);
    HRESULT inner = S_OK;
    CSaveVideoParams second = Sequence("second", CSaveVideoParams::kBmp, 0, 1);
    // Runs inside the first save, when its progress window lets messages through.
    QTimer::singleShot(0, [&] { inner = controller.Save(&second); });
    Prompter().ExpectMessageBox("Please wait until previous task is finished.", IDOK);
    CSaveVideoParams first = Sequence("first", CSaveVideoParams::kBmp, 0, 49);
    EXPECT_EQ(controller.Save(&first), S_OK);
    EXPECT_EQ(inner, E_FAIL);
    EXPECT_TRUE(Files("second_*").isEmpty());
    EXPECT_EQ(Files("first_*.bmp").size(), 50);
}

TEST_F(SaveControllerTest, CancelInTheProgressWindowKeepsTheFilesWritten) {
    CSaveController controller(&m_source);
    WhenWindowShows("Saving in Progress", [](QWidget* w) { ClickButton(w, "Cancel"); });
    CSaveVideoParams params = Sequence("k", CSaveVideoParams::kBmp, 0, 199);
    EXPECT_EQ(controller.Save(&params), E_FAIL);
    const int written = static_cast<int>(Files("k_*.bmp").size());
    EXPECT_GE(written, 1);
    EXPECT_LT(written, 200);
    EXPECT_FALSE(QFile::exists(WorkPath("k.cfg"))) << "a cancelled save has no side file";
}

TEST_F(SaveControllerTest, DoneCallbackHearsOfTheSaveItCameWithOnly) {
    CSaveController controller(&m_source);
    CountingCallback callback;
    CSaveVideoParams first = Sequence("d", CSaveVideoParams::kBmp, 0, 1);
    first.m_doneCallback = &callback;
    first.m_notifyTag = 7;
    ASSERT_EQ(controller.Save(&first), S_OK);
    CSaveVideoParams second = Sequence("e", CSaveVideoParams::kBmp, 0, 1);
    ASSERT_EQ(controller.Save(&second), S_OK);
    CSaveVideoParams silent = Sequence("f", CSaveVideoParams::kBmp, 0, 1);
    silent.m_doneCallback = &callback;
    silent.m_notify = 0;
    ASSERT_EQ(controller.Save(&silent), S_OK);
    EXPECT_EQ(callback.saved, QStringList{WorkPath("d_0.bmp")});
    EXPECT_EQ(callback.tags, QList<int>{7});
}

// A play-group document hears of the first file of the sequence saved for it, with the save's
// tag; a callback without a document tells nobody.
TEST_F(SaveControllerTest, PlayGroupDocumentHearsOfTheSavedFile) {
    struct Document : ISavedFileDoc {
        int OnSavedFile(const QString& path, int tag, int a, int b, int c) override {
            heard.append(QStringLiteral("%1 %2 %3 %4 %5").arg(path).arg(tag).arg(a).arg(b).arg(c));
            return 0;
        }
        QStringList heard;
    } document;
    CSaveController controller(&m_source);
    CSaveDocCallback callback(&document);
    CSaveVideoParams params = Sequence("g", CSaveVideoParams::kBmp, 3, 5);
    params.m_doneCallback = &callback;
    params.m_notifyTag = 4;
    ASSERT_EQ(controller.Save(&params), S_OK);
    EXPECT_EQ(document.heard, QStringList{WorkPath("g_0.bmp") + " 4 0 0 0"});
    EXPECT_EQ(CSaveDocCallback().OnFileSaved(WorkPath("g_0.bmp"), 4), E_POINTER);
}

TEST_F(SaveControllerTest, JpegQualityIsAskedUnlessQuiet) {
    UseMainWindow();
    CSaveController controller(&m_source);
    // Quality 1 gives far smaller files than the quiet default of 100.
    WhenWindowShows("JPEG Quality", [](QWidget* w) {
        w->findChild<QLineEdit*>()->setText("1");
        ClickButton(w, "OK");
    });
    CSaveVideoParams asked = Sequence("low", CSaveVideoParams::kJpeg, 0, 0);
    asked.m_quiet = 0;
    ASSERT_EQ(controller.Save(&asked), S_OK);
    CSaveVideoParams quiet = Sequence("high", CSaveVideoParams::kJpeg, 0, 0);
    ASSERT_EQ(controller.Save(&quiet), S_OK);
    EXPECT_LT(QFileInfo(WorkPath("low_0.jpg")).size() * 2,
              QFileInfo(WorkPath("high_0.jpg")).size());

    // A quality setting outside 1 to 100 is taken at the nearer end.
    const auto bytesWithSetting = [&](LONG setting, const QString& stem) {
        m_main.SetSetting("AppBehave:lJPEGLossyQuality", CComVariant(setting), -1);
        CSaveVideoParams params = Sequence(stem, CSaveVideoParams::kJpeg, 0, 0);
        EXPECT_EQ(controller.Save(&params), S_OK);
        QFile file(WorkPath(stem + "_0.jpg"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    EXPECT_EQ(bytesWithSetting(0, "q0"), bytesWithSetting(1, "q1"));
    EXPECT_EQ(bytesWithSetting(500, "q500"), bytesWithSetting(100, "q100"));
    EXPECT_NE(bytesWithSetting(1, "q1"), bytesWithSetting(100, "q100"));

    // Cancel ends the save without a file or a message.
    WhenWindowShows("JPEG Quality", [](QWidget* w) { ClickButton(w, "Cancel"); });
    CSaveVideoParams cancelled = Sequence("none", CSaveVideoParams::kJpeg, 0, 3);
    cancelled.m_quiet = 0;
    EXPECT_EQ(controller.Save(&cancelled), E_FAIL);
    EXPECT_TRUE(Files("none_*").isEmpty());
}

TEST_F(SaveControllerTest, SaveAsAsksForTheNameAndWritesTheWholeSequence) {
    CSaveController::Install();
    Prompter().AnswerFileDialog({WorkPath("clip.bmp")}, 2);
    Prompter().ExpectMessageBox("Save as sequence " + WorkPath("clip_*.bmp") + "?", IDOK);
    EXPECT_EQ(m_source.SaveAs(0), 1);
    const QStringList written = Files("clip_*.bmp");
    ASSERT_EQ(written.size(), CSampleRecording::kFrames);
    EXPECT_EQ(written.front(), "clip_000.bmp");
    EXPECT_TRUE(QFile::exists(WorkPath("clip.cfg")));
    ASSERT_EQ(Prompter().FilePrompts().size(), 1u);
    const FileDialogPrompt& asked = Prompter().FilePrompts().front();
    EXPECT_EQ(asked.title, "Save Video: sample.raw");
    EXPECT_EQ(asked.fileName, WorkPath("sample"));
    EXPECT_EQ(asked.filter,
              "AVI File (*.avi)|*.avi|Bitmap Sequence (*.bmp)|*.bmp|JPEG Sequence "
              "(*.jpg)|*.jpg|TIFF Sequence (*.tif)|*.tif||");
}

// The options panel below the file dialog: numbers typed in stay inside the recording, the
// frames-per-file slider follows range and skip, the estimate counts the frames saved and
// follows the type, and the accepted choices reach the request.
TEST_F(SaveControllerTest, OptionsPanelKeepsRangeAndSkipConsistentAndHandsThemOn) {
    using Panel = CSaveVideoOptionsDlg;
    CSaveController controller(&m_source);
    CSaveVideoParams params;
    params.m_sourcePath = m_source.GetFilePath();
    params.m_zeroOffset = -CSampleRecording::kFirstFrame;
    const QString lowest = QString::number(CSampleRecording::kFirstFrame);
    const QString highest =
        QString::number(CSampleRecording::kFrames + CSampleRecording::kFirstFrame - 1);
    Prompter().AnswerFileDialog({WorkPath("part.bmp")}, 2, [&](const FileDialogPrompt& prompt) {
        ASSERT_NE(prompt.extension, nullptr);
        auto* outer = dynamic_cast<CSaveVideoPanelDlg*>(CWnd::FromWidget(prompt.extension));
        ASSERT_NE(outer, nullptr);
        // What is being saved, above the options, which the file dialog shows whole.
        EXPECT_EQ(outer->GetDlgItemText(CSaveVideoPanelDlg::kFramesText),
                  QStringLiteral("%1 (numbered %2 to %3)")
                      .arg(CSampleRecording::kFrames)
                      .arg(lowest, highest));
        EXPECT_EQ(outer->GetDlgItemText(CSaveVideoPanelDlg::kSizeText),
                  QStringLiteral("%1 x %2 pixels, 48.0 KB a frame")
                      .arg(CSampleRecording::kWidth)
                      .arg(CSampleRecording::kHeight));
        Panel* panel = outer->GetOptions();
        ASSERT_NE(panel, nullptr);
        const QRect placed = panel->GetQWidget()->geometry();
        EXPECT_EQ(panel->GetQWidget()->parentWidget(), prompt.extension);
        EXPECT_GE(prompt.extension->minimumHeight(), placed.bottom());
        EXPECT_GE(prompt.extension->minimumWidth(), placed.right());
        EXPECT_GT(placed.top(), 0) << "below the texts";
        const auto widget = [panel](int id) { return panel->GetDlgItem(id)->GetQWidget(); };
        const auto type = [&](int id, const QString& text) {
            auto* edit = qobject_cast<QLineEdit*>(widget(id));
            edit->setText(text);
            QFocusEvent out(QEvent::FocusOut);
            QApplication::sendEvent(edit, &out);
        };
        const auto click = [&](int id) { qobject_cast<QAbstractButton*>(widget(id))->click(); };
        EXPECT_FALSE(widget(Panel::kFrom)->isEnabled()) << "whole recording at first";
        EXPECT_EQ(panel->Slider().GetRangeMax(), CSampleRecording::kFrames);

        click(Panel::kFrames);
        EXPECT_TRUE(widget(Panel::kFrom)->isEnabled());
        type(Panel::kFrom, "-500");
        EXPECT_EQ(panel->GetDlgItemText(Panel::kFrom), lowest);
        type(Panel::kTo, "5000");
        EXPECT_EQ(panel->GetDlgItemText(Panel::kTo), highest);
        type(Panel::kTo, "10");
        type(Panel::kFrom, "19");
        EXPECT_EQ(panel->GetDlgItemText(Panel::kTo), "19") << "to follows a from above it";
        type(Panel::kFrom, "10");
        EXPECT_FALSE(widget(Panel::kSkipCount)->isEnabled());
        click(Panel::kSkipEnabled);
        type(Panel::kSkipCount, "1");
        // Frames 10 to 19 with skip 1: five frames of 256 × 192 bytes as BMP files.
        EXPECT_EQ(panel->Slider().GetRangeMax(), 5);
        EXPECT_EQ(panel->GetDlgItemText(Panel::kFramesPerFile), "5");
        const int64_t bytes = int64_t{5} * 256 * 192 + (256 + 10) * 5 * 4;
        EXPECT_EQ(panel->GetDlgItemText(Panel::kEstimate),
                  QString::number(std::floor(bytes / 1048576.0 * 100) / 100, 'f', 2));

        EXPECT_EQ(prompt.typeChanged(3, WorkPath("part.bmp")), WorkPath("part.jpg"));
        EXPECT_TRUE(widget(Panel::kEstimate)->isHidden()) << "no size for JPEG";
        EXPECT_EQ(prompt.typeChanged(1, QString()), QString());
        EXPECT_FALSE(widget(Panel::kEstimate)->isHidden());
        EXPECT_FALSE(widget(Panel::kScaleUnits)->isEnabled());
        click(Panel::kSaveAnalysis);
        EXPECT_TRUE(widget(Panel::kScaleUnits)->isEnabled());
    });
    Prompter().ExpectMessageBox(
        "When the skip frame feature is used in saving,\nthe associated data, analysis, and "
        "notes will not be saved.\nContinue with save?",
        IDYES);
    Prompter().ExpectMessageBox("Save as sequence " + WorkPath("part_*.bmp") + "?", IDOK);
    ASSERT_EQ(controller.Prompt(&params), S_OK);
    EXPECT_EQ(params.m_outputKind, CSaveVideoParams::kSequence);
    EXPECT_EQ(params.m_firstFrame, 10 + params.m_zeroOffset);
    EXPECT_EQ(params.m_lastFrame, 19 + params.m_zeroOffset);
    EXPECT_EQ(params.m_skip, 1);
}

TEST_F(SaveControllerTest, AnOldNumberedSetGoesOnlyOnceTheNewOneIsComplete) {
    CSaveController::Install();
    for (int i = 0; i < 10; ++i) {
        QFile f(WorkPath(QStringLiteral("name_%1.bmp").arg(i, 4, 10, QLatin1Char('0'))));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QFile stray(WorkPath("name_x.bmp"));
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.close();
    const QString question = "The files " + WorkPath("name_*.bmp") +
                             " already exist.\nDo you want to overwrite these files?";

    // A cancelled save leaves the old set as it was.
    Prompter().AnswerFileDialog({WorkPath("name_0003.bmp")}, 2);
    Prompter().ExpectMessageBox(question, IDYES);
    WhenWindowShows("Saving in Progress", [](QWidget* w) { ClickButton(w, "Cancel"); });
    EXPECT_EQ(m_source.SaveAs(0), 0);
    EXPECT_TRUE(QFile::exists(WorkPath("name_0009.bmp")));

    // No: nothing is written, the dialog asks again and Cancel ends it.
    Prompter().AnswerFileDialog({WorkPath("name.bmp")}, 2);
    Prompter().ExpectMessageBox(question, IDNO);
    Prompter().AnswerFileDialog({});
    EXPECT_EQ(m_source.SaveAs(0), 0);

    Prompter().AnswerFileDialog({WorkPath("name.bmp")}, 2);
    Prompter().ExpectMessageBox(question, IDYES);
    EXPECT_EQ(m_source.SaveAs(0), 1);
    EXPECT_FALSE(QFile::exists(WorkPath("name_0009.bmp")));
    EXPECT_TRUE(QFile::exists(WorkPath("name_x.bmp"))) << "not a member of the set";
    EXPECT_EQ(Files("name_???.bmp").size(), CSampleRecording::kFrames);
}

// A recording of the first frames of the sample whose reads can be made to fail, or to press
// the progress window's Cancel, at one frame.
class ScriptedSource : public CFrameSource {
public:
    int GetFrameCount() const override {
        return frames < 0 ? CFrameSource::GetFrameCount() : frames;
    }
    int ReadFrame(int n) override {
        if (n == cancelAt) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && w->windowTitle() == "Saving in Progress")
                    ClickButton(w, "Cancel");
        }
        if (n == failAt)
            return 0;
        if (n == replaceAt) {
            // The old frame becomes a folder with a file inside, which cannot be deleted.
            QFile::remove(replaced);
            QDir().mkpath(replaced + "/inside");
        }
        return CFrameSource::ReadFrame(n);
    }
    int frames = -1;
    int cancelAt = -1;
    int failAt = -1;
    int replaceAt = -1;
    QString replaced;
};

// A save over a numbered set of 200 frames either completes and leaves exactly the new set, or
// ends early and leaves every old frame as it was.
TEST_F(SaveControllerTest, ASaveOverANumberedSetReplacesItWholeOrNotAtAll) {
    CSaveController::Install();
    const auto oldName = [this](int n) {
        return WorkPath(QStringLiteral("frames_%1.bmp").arg(n, 3, 10, QLatin1Char('0')));
    };
    const QString question = "The files " + WorkPath("frames_*.bmp") +
                             " already exist.\nDo you want to overwrite these files?";
    struct Case {
        const char* name;
        int frames, cancelAt, failAt;
        const char* message;
        int result;
    };
    const Case cases[] = {
        {"completed with 40", 40, -1, -1, nullptr, 1},
        {"cancelled at 40", -1, 40, -1, nullptr, 0},
        {"failed at 40", -1, -1, 40, "Error reading from stream while saving.", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int n = 0; n < 200; ++n) {
            QFile old(oldName(n));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write(QByteArray::number(n) + " old");
        }
        ScriptedSource source;
        ASSERT_EQ(source.Open(WorkPath("sample.raw")), 1);
        source.frames = c.frames;
        source.cancelAt = c.cancelAt;
        source.failAt = c.failAt;
        Prompter().AnswerFileDialog({oldName(0)}, 2);
        Prompter().ExpectMessageBox(question, IDYES);
        if (c.message)
            Prompter().ExpectMessageBox(QString::fromLatin1(c.message), IDOK);
        EXPECT_EQ(source.SaveAs(0), c.result);
        const QStringList files = Files("frames_*");
        if (c.result) {
            ASSERT_EQ(files.size(), 40);
            EXPECT_EQ(files.front(), "frames_00.bmp");
            EXPECT_EQ(files.back(), "frames_39.bmp");
            EXPECT_EQ(FileLevel(WorkPath("frames_39.bmp"), 3, 4),
                      CSampleRecording::Level(39, 3, 4));
        } else {
            ASSERT_EQ(files.size(), 200);
            for (int n = 0; n < 200; ++n) {
                QFile old(oldName(n));
                ASSERT_TRUE(old.open(QIODevice::ReadOnly));
                EXPECT_EQ(old.readAll(), QByteArray::number(n) + " old") << n;
            }
        }
        for (const QString& file : files)
            QFile::remove(WorkPath(file));
    }
}

// An old frame that cannot be removed after the new set is complete is named to the user.
TEST_F(SaveControllerTest, AnOldFrameThatCannotBeRemovedIsReported) {
    CSaveController::Install();
    for (int n = 0; n < 200; ++n) {
        QFile old(WorkPath(QStringLiteral("frames_%1.bmp").arg(n, 3, 10, QLatin1Char('0'))));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    }
    ScriptedSource source;
    ASSERT_EQ(source.Open(WorkPath("sample.raw")), 1);
    source.frames = 40;
    source.replaceAt = 10;
    source.replaced = WorkPath("frames_150.bmp");
    Prompter().AnswerFileDialog({WorkPath("frames_000.bmp")}, 2);
    Prompter().ExpectMessageBox("The files " + WorkPath("frames_*.bmp") +
                                    " already exist.\nDo you want to overwrite these files?",
                                IDYES);
    Prompter().ExpectMessageBox(
        "Could not delete file " + WorkPath("frames_150.bmp") + " of the old sequence.", IDOK);
    source.SaveAs(0);
    EXPECT_EQ(Prompter().Prompts().back().text,
              "Could not delete file " + WorkPath("frames_150.bmp") + " of the old sequence.");
    EXPECT_EQ(Files("frames_???.bmp"), QStringList{}) << "every other old frame went";
    EXPECT_EQ(Files("frames_??.bmp").size(), 40);
}

TEST_F(SaveControllerTest, PrefixSettingNamesSavesByCounterAndMakesThemQuiet) {
    UseMainWindow();
    m_main.SetSetting("AppBehave:szSaveFilePrefix", CComVariant(QStringLiteral("shot")), -1);
    m_main.SetSetting("AppBehave:bSaveAfterZero", CComVariant(LONG(1)), -1);
    CSaveController::Install();
    const int counter = CPromptingSaveController::SaveCounter();
    // JPEG without the quality question; no "Save as sequence" question either.
    Prompter().AnswerFileDialog({WorkPath("shot.jpg")}, 3);
    EXPECT_EQ(m_source.SaveAs(0), 1);
    Prompter().AnswerFileDialog({});
    EXPECT_EQ(m_source.SaveAs(0), 0);
    ASSERT_EQ(Prompter().FilePrompts().size(), 2u);
    EXPECT_EQ(Prompter().FilePrompts()[0].fileName,
              QStringLiteral("shot_cnt%1").arg(counter, 4, 10, QLatin1Char('0')));
    EXPECT_EQ(Prompter().FilePrompts()[1].fileName,
              QStringLiteral("shot_cnt%1").arg(counter + 1, 4, 10, QLatin1Char('0')));
    EXPECT_EQ(Files("shot_*.jpg").size(), CSampleRecording::kFrames);
}

TEST_F(SaveControllerTest, AviSaveReadsBackFrameForFrame) {
    CSaveController controller(&m_source);
    CSaveVideoParams params;
    params.m_outputKind = CSaveVideoParams::kAvi;
    params.m_outputPath = WorkPath("take.avi");
    params.m_outputStem = WorkPath("take");
    params.m_firstFrame = 20;
    params.m_lastFrame = 59;
    params.m_skip = 1;
    ASSERT_EQ(controller.Save(&params), S_OK);
    CFrameSource saved;
    ASSERT_EQ(saved.Open(WorkPath("take.avi")), 1);
    ASSERT_EQ(saved.GetFrameCount(), 20);
    EXPECT_EQ(saved.GetBitCount(), 8);
    EXPECT_EQ(saved.GetFirstFrameNumber(), 0) << "from the side file: frame 20 was the trigger";
    EXPECT_EQ(saved.GetRecordedRate(), 50);
    CFrameImage image;
    for (int n : {0, 7, 19}) {
        ASSERT_EQ(saved.GetFrame(n, &image, 0), 1);
        for (const auto& [x, y] : {std::pair{3, 4}, std::pair{128, 96}, std::pair{250, 190}}) {
            imaging::BitmapData data;
            ASSERT_TRUE(image.LockBits(nullptr, imaging::ImageLockModeRead,
                                       imaging::PixelFormat24bppRGB, &data));
            const int level = static_cast<const BYTE*>(data.Scan0)[y * data.Stride + 3 * x];
            image.UnlockBits(&data);
            EXPECT_EQ(level, CSampleRecording::Level(20 + 2 * n, x, y)) << n;
        }
    }
}

TEST_F(SaveControllerTest, CancelledAviKeepsAValidPartAndSaysSoUnlessQuiet) {
    for (const int quiet : {0, 1}) {
        SCOPED_TRACE(quiet);
        // The save cannot pass frame 5 before the user has pressed Cancel.
        GatedSource source;
        ASSERT_EQ(source.Open(WorkPath("sample.raw")), 1);
        CSaveController controller(&source);
        CSaveVideoParams params;
        params.m_outputKind = CSaveVideoParams::kAvi;
        params.m_outputPath = WorkPath(QStringLiteral("part%1.avi").arg(quiet));
        params.m_quiet = quiet;
        WhenWindowShows("Saving in Progress", [&source](QWidget* w) {
            ClickButton(w, "Cancel");
            source.OpenGate();
        });
        if (!quiet)
            Prompter().ExpectMessageBox("File save operation cancelled.", IDOK);
        EXPECT_EQ(controller.Save(&params), E_FAIL);
        CFrameSource part;
        ASSERT_EQ(part.Open(params.m_outputPath), 1);
        EXPECT_GE(part.GetFrameCount(), 5);
        EXPECT_LT(part.GetFrameCount(), CSampleRecording::kFrames);
    }
}

// A save that cannot be written is told in the assistant's box, writes nothing under the
// target's name, no side file, and tells the done-callback nothing.
TEST_F(SaveControllerTest, FailedAviSaveIsReportedAndLeavesNothing) {
    CSaveController controller(&m_source);
    struct Case {
        const char* name;
        const char* codec;
        int64_t writeLimit;  // bytes a save may write before the disk is full; -1 no limit
        const char* failedStep;
    };
    const Case cases[] = {
        {"no such compressor", "No Such Codec", -1, "FindCodecFilter(szCodec, &pNullCodec)"},
        {"disk full at once", kNoCompression, 0, "pFileSink2->SetFileName(Filepath, NULL)"},
        {"disk full a third of the way", kNoCompression, 3000000,
         "pFileSink2->SetFileName(Filepath, NULL)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAviSaveGraph::SetWriteLimitForTests(c.writeLimit);
        CountingCallback callback;
        CSaveVideoParams params;
        params.m_outputKind = CSaveVideoParams::kAvi;
        params.m_outputPath = WorkPath("fail.avi");
        params.m_codecName = QString::fromLatin1(c.codec);
        params.m_doneCallback = &callback;
        const size_t before = Prompter().Prompts().size();
        Prompter().ExpectMessageBox(CAviSaveGraph::FailureText(E_FAIL, c.failedStep), IDOK);
        EXPECT_EQ(controller.Save(&params), E_FAIL);
        CAviSaveGraph::SetWriteLimitForTests(-1);
        ASSERT_EQ(Prompter().Prompts().size(), before + 1);
        EXPECT_EQ(Prompter().Prompts().back().caption, "AVI Save Assistant");
        EXPECT_TRUE(callback.saved.isEmpty());
        EXPECT_EQ(QDir(WorkDir()).entryList(QDir::Files | QDir::Hidden).size(), 2)
            << "only the recording and its side file";
    }
}

// An AVI save that ends before the last frame replaces no file: a cancel over an existing file
// keeps it, and a frame that cannot be read fails the save, naming the read, wherever it goes.
TEST_F(SaveControllerTest, AnAviSaveThatEndsEarlyReplacesNothing) {
    struct Case {
        const char* name;
        const char* target;
        bool cancel;  // else frame 40 cannot be read
        bool quiet;
    };
    const Case cases[] = {
        {"cancelled over an old file", "old.avi", true, false},
        {"cancelled quietly over an old file", "old.avi", true, true},
        {"unreadable frame over an old file", "old.avi", false, false},
        {"unreadable frame, new name", "new.avi", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        {
            QFile old(WorkPath("old.avi"));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old recording");
        }
        GatedSource gated;
        ScriptedSource failing;
        CFrameSource& source = c.cancel ? static_cast<CFrameSource&>(gated) : failing;
        ASSERT_EQ(source.Open(WorkPath("sample.raw")), 1);
        failing.failAt = 40;
        CSaveController controller(&source);
        CSaveVideoParams params;
        params.m_outputKind = CSaveVideoParams::kAvi;
        params.m_outputPath = WorkPath(QString::fromLatin1(c.target));
        params.m_quiet = c.quiet ? 1 : 0;
        if (c.cancel) {
            WhenWindowShows("Saving in Progress", [&gated](QWidget* w) {
                ClickButton(w, "Cancel");
                gated.OpenGate();
            });
        }
        const size_t before = Prompter().Prompts().size();
        const QString message =
            c.cancel ? QStringLiteral("File save operation cancelled.")
                     : CAviSaveGraph::FailureText(E_FAIL, "m_pFS->GetFrame(40, pBuffer, iSize)");
        if (!c.quiet)
            Prompter().ExpectMessageBox(message, IDOK);
        EXPECT_EQ(controller.Save(&params), E_FAIL);
        EXPECT_EQ(Prompter().Prompts().size(), before + (c.quiet ? 0 : 1));
        QFile old(WorkPath("old.avi"));
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), QByteArray("old recording"));
        EXPECT_FALSE(QFile::exists(WorkPath("new.avi")));
        EXPECT_EQ(QDir(WorkDir()).entryList(QDir::Files | QDir::Hidden).size(), 3)
            << "the recording, its side file and the old file";
    }
}

// A frame that cannot be read ends the save with its message, quiet or not: the file of the
// target's name stays as it was, and no file with frames missing is left anywhere.
TEST_F(SaveControllerTest, AviSaveOfAFrameThatCannotBeReadFailsAndKeepsTheOldFile) {
    {
        QFile old(WorkPath("take.avi"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older file");
    }
    for (const int from : {0, 7, 59}) {
        for (const int quiet : {0, 1}) {
            SCOPED_TRACE(testing::Message() << "from " << from << " quiet " << quiet);
            FailingSource source(from);
            ASSERT_EQ(source.Open(WorkPath("sample.raw")), 1);
            CSaveController controller(&source);
            CountingCallback callback;
            CSaveVideoParams params;
            params.m_outputKind = CSaveVideoParams::kAvi;
            params.m_outputPath = WorkPath("take.avi");
            params.m_outputStem = WorkPath("take");
            params.m_firstFrame = 0;
            params.m_lastFrame = 59;
            params.m_quiet = quiet;
            params.m_doneCallback = &callback;
            const size_t before = Prompter().Prompts().size();
            Prompter().ExpectMessageBox(
                CAviSaveGraph::FailureText(
                    E_FAIL,
                    QByteArray("m_pFS->GetFrame(" + QByteArray::number(from) + ", pBuffer, iSize)")
                        .constData()),
                IDOK);
            EXPECT_EQ(controller.Save(&params), E_FAIL);
            EXPECT_EQ(Prompter().Prompts().size(), before + 1);
            EXPECT_TRUE(callback.saved.isEmpty());
            QFile old(WorkPath("take.avi"));
            ASSERT_TRUE(old.open(QIODevice::ReadOnly));
            EXPECT_EQ(old.readAll(), QByteArray("older file"));
            EXPECT_EQ(QDir(WorkDir()).entryList(QDir::Files | QDir::Hidden).size(), 3)
                << QDir(WorkDir()).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();
        }
    }
}

TEST_F(SaveControllerTest, AviTargetHeldByAReaderIsNotOverwritten) {
    CSaveController controller(&m_source);
    CSaveVideoParams first;
    first.m_outputKind = CSaveVideoParams::kAvi;
    first.m_outputPath = WorkPath("held.avi");
    first.m_lastFrame = 4;
    first.m_firstFrame = 0;
    ASSERT_EQ(controller.Save(&first), S_OK);
    CFrameSource reader;
    ASSERT_EQ(reader.Open(WorkPath("held.avi")), 1);
    const qint64 size = QFileInfo(WorkPath("held.avi")).size();
    CSaveVideoParams again = first;
    again.m_lastFrame = 9;
    Prompter().ExpectMessageBox("Cannot overwrite a currently open file.", IDOK);
    EXPECT_EQ(controller.Save(&again), E_FAIL);
    EXPECT_EQ(QFileInfo(WorkPath("held.avi")).size(), size);
}

TEST(CompressionAssistantTest, WarningsFollowTheCompressorName) {
    const QString preview = "This video compressor may not be preview-able.";
    const QString step = "This video compressor may not generate a file that is single step-able.";
    struct Case {
        const char* name;
        QStringList notes;
    };
    const Case cases[] = {
        {kNoCompression, {}},
        {"FFV1 Lossless", {}},
        {"Motion JPEG (MJPEG)", {"WARNING:", step}},
        {"x264 MPEG", {"WARNING:", preview, "WARNING:", step}},
        {"Some DMO codec", {"WARNING:", preview}},
        {"Intel IYUV codec", {"WARNING:", preview}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AVISaveAssistantDlg::CompressorNotes(QString::fromLatin1(c.name)), c.notes)
            << c.name;
}

TEST(CompressionAssistantTest, EstimateCountsInSixtyFourBits) {
    // 3000 frames of 1024 × 1024 8-bit pass 2 GiB.
    EXPECT_EQ(AVISaveAssistantDlg::EstimateMaxMegabytes(3000, 1024, 1024, true), 3002);
    EXPECT_EQ(AVISaveAssistantDlg::EstimateMaxMegabytes(3000, 1024, 1024, false), 9007);
    // Rows are rounded up to 4 bytes: 5 pixels of 24 bits take 16 bytes.
    EXPECT_EQ(AVISaveAssistantDlg::EstimateMaxMegabytes(65536, 5, 1024, false), 1024);
}

TEST_F(SaveControllerTest, AssistantListsTheCompressorsAndPutsTheChoiceIntoTheRequest) {
    CSaveVideoParams params;
    params.m_codecName = "leftover";
    params.m_firstFrame = 0;
    params.m_lastFrame = 99;
    QString estimate;
    WhenWindowShows("Video Compression Assistant", [&](QWidget* w) {
        estimate = w->findChild<QLineEdit*>()->text();
        ClickButton(w, "OK");
    });
    AVISaveAssistantDlg assistant(&m_source, &params);
    EXPECT_EQ(assistant.DoModal(), IDOK);
    EXPECT_EQ(params.m_codecName, kNoCompression);
    EXPECT_EQ(params.m_pixelFormat, imaging::PixelFormat8bppIndexed);
    // 100 frames of 256 × 192 bytes.
    EXPECT_EQ(estimate, "4");
}

// On a system without compressors only "- No Compression -" is offered, chosen, and cannot be
// previewed; OK saves uncompressed.
TEST_F(SaveControllerTest, AssistantWithoutCompressorsOffersNoCompressionOnly) {
    SetNoVideoCompressorsForTests(true);
    CSaveVideoParams params;
    params.m_codecName = "leftover";
    params.m_firstFrame = 0;
    params.m_lastFrame = 9;
    QStringList offered;
    bool previewEnabled = true;
    WhenWindowShows("Video Compression Assistant", [&](QWidget* w) {
        auto* list = qobject_cast<QListWidget*>(
            CWnd::FromWidget(w)->GetDlgItem(AVISaveAssistantDlg::kCompressorList)->GetQWidget());
        for (int i = 0; i < list->count(); ++i)
            offered.append(list->item(i)->text());
        if (list->currentRow() != 0)
            offered.append("not chosen");
        previewEnabled = CWnd::FromWidget(w)
                             ->GetDlgItem(AVISaveAssistantDlg::kStartPreview)
                             ->GetQWidget()
                             ->isEnabled();
        ClickButton(w, "OK");
    });
    AVISaveAssistantDlg assistant(&m_source, &params);
    const INT_PTR result = assistant.DoModal();
    SetNoVideoCompressorsForTests(false);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(offered, QStringList{kNoCompression});
    EXPECT_FALSE(previewEnabled);
    EXPECT_EQ(params.m_codecName, kNoCompression);
}

}  // namespace

namespace {

// The preview plays the range without and with the chosen compressor, a frame a step, and
// ends after the last frame; it starts hidden, and only a compressor entry can be previewed.
TEST_F(SaveControllerTest, AssistantPreviewsTheRangeWithAndWithoutTheCompressor) {
    const QStringList names = VideoCompressorNames();
    if (!names.contains("Motion JPEG (MJPEG)"))
        GTEST_SKIP() << "this build has no MJPEG encoder";
    CSaveVideoParams params;
    params.m_firstFrame = 10;
    params.m_lastFrame = 12;
    AVISaveAssistantDlg assistant(&m_source, &params);
    ASSERT_TRUE(assistant.Create(IDD_AVI_SAVE_ASSISTANT, nullptr));
    const auto widget = [&](int id) { return assistant.GetDlgItem(id)->GetQWidget(); };
    const auto pixmapOf = [&](int id) {
        return qobject_cast<QLabel*>(widget(id))->pixmap().toImage();
    };
    EXPECT_FALSE(assistant.IsPreviewShown());
    EXPECT_FALSE(widget(AVISaveAssistantDlg::kStartPreview)->isEnabled()) << "no compressor";
    const int narrow = assistant.GetQWidget()->width();
    ClickButton(assistant.GetQWidget(), "Preview>>");
    EXPECT_TRUE(assistant.IsPreviewShown());
    EXPECT_GT(assistant.GetQWidget()->width(), narrow);
    EXPECT_EQ(assistant.GetDlgItemText(AVISaveAssistantDlg::kPreviewToggle), "Hide Preview");

    auto* list = qobject_cast<QListWidget*>(widget(AVISaveAssistantDlg::kCompressorList));
    list->setCurrentRow(static_cast<int>(names.indexOf("Motion JPEG (MJPEG)")));
    ASSERT_TRUE(widget(AVISaveAssistantDlg::kStartPreview)->isEnabled());
    ClickButton(assistant.GetQWidget(), "Start Preview");
    EXPECT_TRUE(assistant.IsPreviewRunning());
    EXPECT_FALSE(widget(AVISaveAssistantDlg::kStartPreview)->isEnabled());
    EXPECT_TRUE(widget(AVISaveAssistantDlg::kStopPreview)->isEnabled());
    assistant.StepPreview();
    const QImage plain = pixmapOf(AVISaveAssistantDlg::kPlainArea);
    const QImage coded = pixmapOf(AVISaveAssistantDlg::kCodecArea);
    ASSERT_FALSE(plain.isNull());
    ASSERT_FALSE(coded.isNull());
    // The areas show frame 10 scaled to fit: its mean grey level, and nearly so after the
    // round trip through the compressor.
    const auto mean = [](const QImage& image) {
        double sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += qGray(image.pixel(x, y));
        return sum / (image.width() * image.height());
    };
    double frameSum = 0;
    for (int y = 0; y < CSampleRecording::kHeight; ++y)
        for (int x = 0; x < CSampleRecording::kWidth; ++x)
            frameSum += CSampleRecording::Level(10, x, y);
    const double frameMean = frameSum / (CSampleRecording::kWidth * CSampleRecording::kHeight);
    EXPECT_NEAR(mean(plain), frameMean, 2);
    EXPECT_NEAR(mean(coded), mean(plain), 2);
    assistant.StepPreview();
    assistant.StepPreview();
    EXPECT_TRUE(assistant.IsPreviewRunning());
    assistant.StepPreview();
    EXPECT_FALSE(assistant.IsPreviewRunning()) << "the range has three frames";
    EXPECT_TRUE(widget(AVISaveAssistantDlg::kStartPreview)->isEnabled());

    ClickButton(assistant.GetQWidget(), "Start Preview");
    ClickButton(assistant.GetQWidget(), "Stop Preview");
    EXPECT_FALSE(assistant.IsPreviewRunning());
    assistant.DestroyWindow();
}

}  // namespace

namespace {

// The save's frame provider, held back at every 40th frame until the screen has been
// repainted once more, so that the save's reads and the repaints overlap. It waits outside
// the source's lock, which the repaint takes too.
class PacedProvider : public QNAVIFrameSource {
public:
    PacedProvider(CFrameSource* source, const CSaveVideoParams* params) : m_inner(source, params) {}

    int GetFrame(int position, BYTE* buffer, int size) override {
        const int sample = position + 1;
        if (sample % 40 == 0) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_repainted.wait(lock, [&] { return m_repaints > sample / 40; });
        }
        const int result = m_inner.GetFrame(position, buffer, size);
        m_currentFrame.store(m_inner.CurrentFrame());
        m_endReached.store(m_inner.EndReached());
        return result;
    }
    // What a view's repaint does with the source: reads the frame it shows and builds its
    // display form. true when both reads gave a frame.
    bool Repaint(CFrameSource& source) {
        int repaints = 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            repaints = ++m_repaints;
        }
        m_repainted.notify_all();
        const int n = (repaints * 7) % CSampleRecording::kFrames;
        CFrameImage image;
        CFrameImage display;
        return source.GetFrame(n, &image, 1) == 1 && source.GetDisplayFrame(n, &display, 1, 0) == 1;
    }

private:
    CSaveAviFrameSource m_inner;
    std::mutex m_mutex;
    std::condition_variable m_repainted;
    int m_repaints = 0;
};

// The streaming thread reads the source for the file while the user-interface thread keeps
// repainting from the same source, as during a save from the menu; tools/tsan.sh runs this
// under ThreadSanitizer.
TEST_F(SaveControllerTest, AviSaveWhileTheScreenRepaintsTheSameSource) {
    CSaveVideoParams params;
    params.m_firstFrame = 0;
    params.m_lastFrame = CSampleRecording::kFrames - 1;
    params.m_pixelFormat = imaging::PixelFormat8bppIndexed;
    CFrameImage first;
    ASSERT_EQ(m_source.GetFrame(0, &first, 0), 1);
    PacedProvider provider(&m_source, &params);
    CAviSaveGraph graph(&provider);
    ASSERT_TRUE(graph.SetImageFormat(CAviFrameSaver::ImageFormatOf(first, params.m_pixelFormat)));
    ASSERT_TRUE(graph.BuildSaveGraph(WorkPath("busy.avi"), kNoCompression));
    ASSERT_TRUE(graph.Run());
    int repaints = 0;
    int shown = 0;
    while (!graph.IsDone()) {
        ++repaints;
        shown += provider.Repaint(m_source);
    }
    graph.Stop();
    ASSERT_TRUE(graph.Succeeded());
    EXPECT_TRUE(provider.EndReached());
    EXPECT_GE(repaints, CSampleRecording::kFrames / 40);
    EXPECT_EQ(shown, repaints) << "every repaint got its frame";
    CFrameSource saved;
    ASSERT_EQ(saved.Open(WorkPath("busy.avi")), 1);
    ASSERT_EQ(saved.GetFrameCount(), CSampleRecording::kFrames);
    CFrameImage image;
    for (int n : {0, 99, CSampleRecording::kFrames - 1}) {
        ASSERT_EQ(saved.GetFrame(n, &image, 0), 1);
        imaging::BitmapData data;
        ASSERT_TRUE(image.LockBits(nullptr, imaging::ImageLockModeRead,
                                   imaging::PixelFormat24bppRGB, &data));
        const int level = static_cast<const BYTE*>(data.Scan0)[96 * data.Stride + 3 * 128];
        image.UnlockBits(&data);
        EXPECT_EQ(level, CSampleRecording::Level(n, 128, 96)) << n;
    }
}

}  // namespace
