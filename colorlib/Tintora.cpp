// The exported entry points of the colour library over its one process-wide converter.

#include "colorlib/Tintora.h"

#include "colorlib/BayerConverter.h"
#include "colorlib/ColorMatrix.h"

#include <cstring>

namespace {

// Built when the library is loaded (sizes 0, matrices zero, no input table, mode 0); the
// destructor frees the planes when it is unloaded.
struct ModuleState {
    CBayerConverter converter;
    CColorMatrix matrix;
};

ModuleState& State() {
    static ModuleState state;
    return state;
}

constexpr char kVersion[] = "2.20";

}  // namespace

extern "C" {

void TintoraBalance(float kR, float kG, float kB) {
    State().matrix.Balance(kR, kG, kB);
}

void TintoraDeallocate(void) {
    State().converter.Deallocate();
}

int TintoraInialize(void) {
    return 0;
}

int TintoraVersion(char* out) {
    if (out)
        std::memcpy(out, kVersion, sizeof kVersion);
    return static_cast<int>(sizeof kVersion);
}

void OrvexGetColorCoeff(float r[3], float g[3], float b[3]) {
    const CColorMatrix::Rows& rows = State().matrix.Current();
    float* out[3] = {r, g, b};
    for (int i = 0; i < 3; ++i) {
        if (out[i])
            std::memcpy(out[i], rows[i].data(), 3 * sizeof(float));
    }
}

int OrvexGetSingleColor(int mode) {
    return State().converter.SetOutputMode(mode);
}

void OrvexGetWhiteBalance(int* r, int* g, int* b) {
    State().matrix.GetWhiteBalance(r, g, b);
}

int OrvexMonoToRgb(int width, int height, int type, int variant, int skipFilter,
                   const unsigned char* src, unsigned char* dst) {
    ModuleState& state = State();
    return state.converter.Convert(width, height, type, variant, skipFilter != 0, src, dst,
                                   state.matrix.Current());
}

int OrvexRgbSetup(int width, int height) {
    return State().converter.Setup(width, height);
}

void OrvexSetColorCoeff(const float r[3], const float g[3], const float b[3]) {
    if (r && g && b)
        State().matrix.Set(r, g, b);
}

void OrvexWhiteBalance(int r, int g, int b) {
    State().matrix.WhiteBalance(r, g, b);
}

int OrvexWhiteBalanceRegion(int x, int y, int w, int h, const unsigned char* rgb24) {
    ModuleState& state = State();
    return state.matrix.WhiteBalanceRegion(x, y, w, h, state.converter.Width(),
                                           state.converter.Height(), rgb24);
}

}  // extern "C"
