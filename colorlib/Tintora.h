#pragma once

/*
 * Tintora: turns 8-bit Bayer-mosaic frames from colour cameras into 24-bit colour images.
 *
 * The library holds one converter per process (frame size, work planes, colour matrix, white
 * balance, input table, output mode). Nothing is locked: call it from one thread at a time.
 *
 * Bayer phases and planes:
 *   variant 0      the top-left sample is red:   R G R G ... / G B G B ...
 *   variant != 0   the top-left sample is green: G R G R ... / B G B G ...
 *   plane 1 carries red, plane 2 green, plane 3 blue; each matrix row takes plane 1 first.
 *
 * Sample scale: input samples are expanded to at most 10 bits by the input type; the colour
 * planes hold four times that scale (0..4096), so a mode-0 value is
 * (X1 * p1 + X2 * p2 + X3 * p3) / 16 for matrix row X.
 */

#ifdef __cplusplus
extern "C" {
#endif

#define TINTORA_API __attribute__((visibility("default")))

/* Colour balance: current[X][j] = base[X][j] + base[X][j] * kX for rows R, G, B. The base
 * matrix is kept, so calls do not accumulate; (0, 0, 0) restores the base matrix. */
TINTORA_API void TintoraBalance(float kR, float kG, float kB);

/* Frees the work planes; the next conversion sets them up again. */
TINTORA_API void TintoraDeallocate(void);

/* Returns 0 and changes nothing: the state is reset when the library is loaded. */
TINTORA_API int TintoraInialize(void);

/* Copies "2.20" with its terminating zero into out (at least 5 bytes) and returns 5. */
TINTORA_API int TintoraVersion(char* out);

/* Copies the current matrix rows out. A null row pointer is skipped. */
TINTORA_API void OrvexGetColorCoeff(float r[3], float g[3], float b[3]);

/* Sets the output mode of OrvexMonoToRgb and returns it:
 *   0      3 bytes per pixel: blue, green, red (matrix rows B, G, R)
 *   1..3   1 byte per pixel: demosaic plane 1..3 through the 8-bit map of the input type
 *   4..6   1 byte per pixel: smoothed plane 1..3 through the 8-bit map
 *   7..9   1 byte per pixel: grey value from matrix row R, G or B
 *   other  the conversion writes nothing. */
TINTORA_API int OrvexGetSingleColor(int mode);

/* Returns the reference means of the last white balance, truncated toward zero. A null
 * pointer is skipped. */
TINTORA_API void OrvexGetWhiteBalance(int* r, int* g, int* b);

/* Converts one width x height frame of 8-bit Bayer samples (rows without padding) by the
 * current output mode.
 *   type        input type: 0 four-segment knee, 1 and 7 as is, 2 times 2, 3 times 4,
 *               6 three-segment knee; any other type maps every sample to 0
 *   variant     Bayer phase (see above)
 *   skipFilter  nonzero skips the 3x3 smoothing; the output then comes from the demosaic planes
 *   dst         the output, also used as scratch for the 16-bit expanded mosaic: it must hold
 *               at least 3 * width * height bytes in mode 0 and 2 * width * height bytes in
 *               every other mode
 * Sets the converter up again when the frame size changes. Returns 0, or -1 when that set-up
 * fails (the size is negative or above 65535, or memory runs out) or src or dst is null. */
TINTORA_API int OrvexMonoToRgb(int width, int height, int type, int variant, int skipFilter,
                               const unsigned char* src, unsigned char* dst);

/* Sets the converter up for width x height frames (each 0..65535). Returns 0, or -1 when the
 * size is out of range or the work planes cannot be allocated; the converter then has no
 * frame size. */
TINTORA_API int OrvexRgbSetup(int width, int height);

/* Sets the colour matrix rows (and the base matrix used by TintoraBalance). Nine zeros select
 * the built-in default matrix. Ignored when a row pointer is null. */
TINTORA_API void OrvexSetColorCoeff(const float r[3], const float g[3], const float b[3]);

/* White balance from the mean red, green and blue levels of a grey object: scales each matrix
 * row by luma / mean (a mean of 0 leaves its row alone) and keeps the means. */
TINTORA_API void OrvexWhiteBalance(int r, int g, int b);

/* White balance from the mean levels of a region of a 24-bit blue-green-red image of the
 * set-up width (rows of width * 3 bytes, no padding). The region is clipped to the set-up
 * frame; an empty region changes nothing and returns 0. Returns saturation flags, or-ed:
 * 0x7fff0000 blue, 0x7f00ff00 green, 0x7f0000ff red, each when more than a fifth of the
 * samples of that colour are 255. */
TINTORA_API int OrvexWhiteBalanceRegion(int x, int y, int w, int h, const unsigned char* rgb24);

#ifdef __cplusplus
}
#endif
