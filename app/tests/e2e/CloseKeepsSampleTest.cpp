#include "app/tests/e2e/E2eSupport.h"
#include "groups/MeasurementFormDoc.h"
#include "groups/MeasurementView.h"
#include "shell/MainFrame.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>

// Opens the sample recording, adds a second recording to its play group, and closes the main
// window the way the user does, answering Yes to the save question: the recordings stay byte for
// byte as they were and the group is saved as a play-group file under the name given.

namespace {

QByteArray HashOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

using CloseKeepsSampleTest = ProgramTest;

TEST_F(CloseKeepsSampleTest, ClosingTheMainWindowWithYesLeavesTheSampleUnchanged) {
    // Copies, so a fault here cannot harm the build's own sample.
    const QString sample = WorkPath("sample.raw");
    const QString second = WorkPath("second.raw");
    ASSERT_TRUE(QFile::copy(QStringLiteral(SAMPLE_RECORDING_PATH), sample));
    ASSERT_TRUE(QFile::copy(QStringLiteral(SAMPLE_RECORDING_PATH), second));
    const QString config = QStringLiteral(SAMPLE_RECORDING_PATH).chopped(4) + ".cfg";
    if (QFileInfo::exists(config)) {
        ASSERT_TRUE(QFile::copy(config, WorkPath("sample.cfg")));
    }
    const QByteArray hash = HashOf(sample);
    const QDateTime modified = QFileInfo(sample).lastModified();
    ASSERT_FALSE(hash.isEmpty());

    CMainFrame* frame = StartProgram({sample});
    ASSERT_NE(frame, nullptr);
    CMeasurementView* groupView = FindWindowOf<CMeasurementView>();
    ASSERT_NE(groupView, nullptr) << "no play group";
    auto* group = dynamic_cast<CMeasurementFormDoc*>(groupView->GetDocument());
    ASSERT_NE(group, nullptr);
    EXPECT_FALSE(group->IsModified()) << "opening is no change";
    EXPECT_TRUE(group->GetPathName().isEmpty()) << "the recording became the group's path";

    // The user drops a second recording on the program: it joins the open group.
    frame->OnDropFiles({second});
    ASSERT_TRUE(WaitFor([&] { return group->GetVideoCount() == 2; }, 5000));
    ASSERT_TRUE(group->IsModified());

    Prompter().ExpectMessageBox(QStringLiteral("Save changes to sample?"), IDYES);
    const QString saved = WorkPath("kept.playgrp");
    Prompter().AnswerFileDialog({saved});
    frame->GetQWidget()->close();
    EXPECT_TRUE(WaitFor([&] { return m_app.m_pMainWnd == nullptr; }, 5000));

    EXPECT_EQ(HashOf(sample), hash) << "the sample recording changed";
    EXPECT_EQ(QFileInfo(sample).lastModified(), modified);
    QFile written(saved);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("sample.raw\nsecond.raw\n"));
}

}  // namespace
