#pragma once

// The dialog templates of the play group's two control-panel pages: the "Playback" page (181:
// playback tree, Add Video, Add Data and the play buttons) and the play-control page (1625: the
// same tree with the position slide, scale labels, readouts, rate slider and mode boxes), and
// the play group's own control panel (140) that holds them when the group stands alone.

#include "platform/framework/ResourceChain.h"

#include <vector>

std::vector<DialogTemplate> PlaybackTabTemplates();
