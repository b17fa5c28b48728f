#pragma once

// CSyncResavePass: one synchronized re-save of a play group's recordings. Playbacks are saved in
// the order they are handed in; the first one saved sets the output name the others share (each
// with its "{v1}"/"{d1}" tag in front of its extension) and the stretch of time every later one
// is cut to at its own rate. A name the user did not give never replaces a file: an untagged
// name that is taken gets its tag, and a name still taken is asked for.
//
// User-interface thread only; the pass asks through the members' save dialogs. It runs as an
// operation of its group: a close of the group cancels the save under way and the pass saves
// nothing more.

#include "frames/SaveVideoParams.h"
#include "platform/framework/RunningOperation.h"
#include "platform/wintypes/WinMessages.h"

#include <QString>
#include <QStringList>

class CMeasurementFormDoc;
class CPlaybackView;

class CSyncResavePass {
public:
    // The entry point that runs the pass: it decides the proposed names, when a name is tagged
    // and when the reference is taken.
    enum class Entry { kResave, kToFolder, kFromDeviceMemory };

    struct Options {
        Entry entry = Entry::kResave;
        int sourceKind = 0;  // 1: playbacks of a device's memory; 0: of files
        bool openInNewGroup = false;
        int addToGroup = 0;
        bool askEach = false;
        bool askFirst = false;
        bool tags = false;  // the synchronized naming convention (dialog entry points)
        QString folder;     // kToFolder: outputs are folder/name
        QString name;
    };

    CSyncResavePass(CMeasurementFormDoc* group, Options options);

    // Saves the recording shown in the playback frame. Frames that show no video or data
    // playback of the group and of the pass's source kind are passed over, and so is a
    // playback whose question the user cancels; after a close cancelled the pass, every one.
    void SaveFrame(HWND frame);

    int GetSavedCount() const { return m_saved; }
    int GetFailedCount() const { return m_failed; }
    // The outputs written, in order.
    const QStringList& GetOutputs() const { return m_outputs; }
    // The first output the others are named after; empty until there is one.
    const QString& GetFirstOutput() const { return m_firstOutput; }
    // The group whose save callback the saved files were handed to: the group itself, or the
    // new group the first save opened.
    CMeasurementFormDoc* GetTargetGroup() const { return m_target; }

    // The frame a member's times count from: its synchronisation mark when that is on, else its
    // zero frame; 0 for a member with neither.
    static int OriginOf(const CPlaybackView* playback);
    // A device memory's window is titled "Hardware Memory : " + " " + name: the name; without
    // a ':' the title less its first three characters.
    static QString DeviceNameOfTitle(const QString& title);

private:
    // The name proposed for the first output before anybody is asked.
    QString ProposedOutput(const CPlaybackView* playback, const QString& title) const;
    // Whether a name the user did not give may not be written: an output of this pass or any
    // existing file.
    bool IsTaken(const QString& path) const;
    void TakeReference(const CSaveVideoParams& request, int origin, double rate);

    CMeasurementFormDoc* m_group;
    bool m_cancelled = false;
    CRunningOperation m_running;
    CMeasurementFormDoc* m_target;
    Options m_options;
    int m_videoNumber = 0;
    int m_dataNumber = 0;
    int m_saved = 0;
    int m_failed = 0;
    QStringList m_outputs;
    bool m_haveReference = false;
    QString m_firstOutput;
    int m_referenceFirst = 0;
    int m_referenceLast = 0;
    double m_referenceRate = 1.0;
};
