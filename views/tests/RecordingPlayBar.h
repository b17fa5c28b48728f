#pragma once

#include "views/IPlayBar.h"

#include <QString>
#include <QStringList>

// A play bar for tests: it shows what it was last told, answers its getters from that, and keeps
// a journal of every setter call ("SetPosition 7") so tests can tell what the play control
// wrote and what it left alone.
class RecordingPlayBar : public IPlayBar {
public:
    int position = 0;
    int minimum = 0;
    int maximum = 0;
    int in = 0;
    int out = 0;
    int frameField = 0;
    double timeField = 0.0;
    int scaleRate = -1;
    int scaleOffset = 0;
    int scaleUpdates = 0;
    double speedText = 0.0;
    int synchronize = 0;
    int baseSync = 0;
    int continuous = 0;
    int spin = 1;
    double speed = 20.0;
    int jumpFrame = 0;
    QStringList journal;

    // The journal's entries that start with the operation's name.
    QStringList Calls(const QString& name) const { return journal.filter(name + " "); }

    void GetPosition(int* p) override { *p = position; }
    void SetPosition(int p) override {
        position = p;
        Log("SetPosition", p);
    }
    void GetRange(int* lo, int* hi) override {
        *lo = minimum;
        *hi = maximum;
    }
    void SetRange(int lo, int hi) override {
        minimum = lo;
        maximum = hi;
        Log("SetRange", lo, hi);
    }
    void GetInOutPoints(int* i, int* o) override {
        *i = in;
        *o = out;
    }
    void SetInPoint(int i) override {
        in = i;
        Log("SetInPoint", i);
    }
    void SetOutPoint(int o) override {
        out = o;
        Log("SetOutPoint", o);
    }
    void SetInOutPoints(int i, int o) override {
        in = i;
        out = o;
        Log("SetInOutPoints", i, o);
    }
    // Counted, not journalled: the readout tests compare their journals whole.
    void UpdateScaleLabels(int rate, int offset) override {
        scaleRate = rate;
        scaleOffset = offset;
        ++scaleUpdates;
    }
    void SetFrameField(int n) override {
        frameField = n;
        Log("SetFrameField", n);
    }
    void SetTimeField(double s) override {
        timeField = s;
        journal << QString("SetTimeField %1").arg(s);
    }
    void SetSpeedText(double fps) override {
        speedText = fps;
        journal << QString("SetSpeedText %1").arg(fps);
    }
    void SetCheck2007(int c) override {
        synchronize = c;
        Log("SetCheck2007", c);
    }
    void SetCheck2011(int c) override {
        baseSync = c;
        Log("SetCheck2011", c);
    }
    void SetCheck2006(int c) override {
        continuous = c;
        Log("SetCheck2006", c);
    }
    int GetSpeedField() override { return spin; }
    void SetSpeedField(int v) override {
        spin = v;
        Log("SetSpeedField", v);
    }
    double GetSpeed() override { return speed; }
    int GetJumpFrame() override { return jumpFrame; }

private:
    void Log(const char* name, int a) { journal << QString("%1 %2").arg(name).arg(a); }
    void Log(const char* name, int a, int b) {
        journal << QString("%1 %2 %3").arg(name).arg(a).arg(b);
    }
};
