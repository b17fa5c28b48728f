#pragma once

// CPlayState: the play control's requested rate and the enable states of the transport
// buttons, which play bars read to enable their buttons.

class CPlayState {
public:
    // Play (either direction), Rew, Back, Fwd and FFwd, plus Stop.
    enum Button { kPlay, kRew, kBack, kFwd, kFFwd, kStop, kButtonCount };

    virtual ~CPlayState() = default;

    // While playing only Stop is enabled; stopped, everything is.
    void SetPlaying(bool playing) {
        for (int i = 0; i < kButtonCount; ++i)
            m_buttons[i] = (i == kStop || !playing) ? 1 : 0;
    }
    int IsEnabled(Button button) const { return m_buttons[button]; }

    // Frames per second; the play control stores only positive finite rates.
    double GetRate() const { return m_rate; }
    void SetRate(double rate) { m_rate = rate; }

private:
    int m_buttons[kButtonCount] = {1, 1, 1, 1, 1, 1};
    double m_rate = 20.0;
};
