#include "tracking/LaneDft.h"

#include <opencv2/core/hal/hal.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <random>
#include <set>
#include <utility>
#include <vector>

// Every value below must come out of the same float operations in the same order as OpenCV's
// transforms; the file is built with -ffp-contract=off so that no multiply and add is fused.

namespace {

constexpr int kMaxFactors = 34;

// One transform length: its factors, digit-reversal table and twiddles as OpenCV derives them.
struct Tables {
    int n = 0;
    int nf = 0;
    int factors[kMaxFactors] = {};
    std::vector<int> itab;
    std::vector<float> waveRe;
    std::vector<float> waveIm;
};

// The power-of-two part first, then the odd factors from the largest down.
int Factorize(int n, int* factors) {
    if (n <= 5) {
        factors[0] = n;
        return 1;
    }
    int count = 0;
    const int twos = n & -n;
    if (twos > 1) {
        factors[count++] = twos;
        n = twos == n ? 1 : n / twos;
    }
    for (int f = 3; n > 1;) {
        const int d = n / f;
        if (d * f == n) {
            factors[count++] = f;
            n = d;
        } else {
            f += 2;
            if (f * f > n)
                break;
        }
    }
    if (n > 1)
        factors[count++] = n;
    std::reverse(factors + ((factors[0] & 1) == 0 ? 1 : 0), factors + count);
    return count;
}

unsigned Reverse8(unsigned v) {
    unsigned r = 0;
    for (int b = 0; b < 8; ++b)
        r |= ((v >> b) & 1u) << (7 - b);
    return r;
}

unsigned Reverse32(unsigned v) {
    return (Reverse8(v & 255u) << 24) + (Reverse8((v >> 8) & 255u) << 16) +
           (Reverse8((v >> 16) & 255u) << 8) + Reverse8(v >> 24);
}

// The order in which a transform of n0 takes its input (its inverse when inverseIndex and the
// first and last factors differ, as a real inverse transform wants it) and its twiddles.
void BuildTables(Tables& t, int n0, bool inverseIndex) {
    t.n = n0;
    t.nf = Factorize(n0, t.factors);
    const int nf = t.nf;
    const int* factors = t.factors;
    t.itab.assign(static_cast<size_t>(n0), 0);
    t.waveRe.assign(static_cast<size_t>(n0), 0.0f);
    t.waveIm.assign(static_cast<size_t>(n0), 0.0f);
    std::vector<int> forward;
    int* itab = t.itab.data();
    int m = 0;
    if (n0 <= 5) {
        itab[0] = 0;
        itab[n0 - 1] = n0 - 1;
        if (n0 != 4) {
            for (int i = 1; i < n0 - 1; ++i)
                itab[i] = i;
        } else {
            itab[1] = 2;
            itab[2] = 1;
        }
        if (n0 == 5)
            t.waveRe[0] = 1.0f;
        if (n0 != 4)
            return;
        m = 2;
    } else {
        int digits[kMaxFactors + 2] = {};
        int radix[kMaxFactors + 2] = {};
        radix[nf] = 1;
        for (int i = 0; i < nf; ++i)
            radix[nf - i - 1] = radix[nf - i] * factors[nf - i - 1];
        if (inverseIndex && factors[0] != factors[nf - 1]) {
            forward.assign(static_cast<size_t>(n0), 0);
            itab = forward.data();
        }
        const int n = factors[0];
        if ((n & 1) == 0) {
            const int a = radix[1];
            const int na2 = n * a >> 1;
            const int na4 = na2 >> 1;
            for (m = 0; (1u << m) < static_cast<unsigned>(n); ++m) {
            }
            if (n <= 2) {
                itab[0] = 0;
                itab[1] = na2;
            } else {
                for (int i = 0; i <= n - 4; i += 4) {
                    const unsigned reversed =
                        n <= 256 ? Reverse8(static_cast<unsigned>(i >> 2)) >> (10 - m)
                                 : Reverse32(static_cast<unsigned>(i >> 2)) >> (34 - m);
                    const int j = static_cast<int>(reversed) * a;
                    itab[i] = j;
                    itab[i + 1] = j + na2;
                    itab[i + 2] = j + na4;
                    itab[i + 3] = j + na2 + na4;
                }
            }
            digits[1]++;
            if (nf >= 2) {
                for (int i = n, j = radix[2]; i < n0;) {
                    for (int k = 0; k < n; ++k)
                        itab[i + k] = itab[k] + j;
                    if ((i += n) >= n0)
                        break;
                    j += radix[2];
                    for (int k = 1; ++digits[k] >= factors[k]; ++k) {
                        digits[k] = 0;
                        j += radix[k + 2] - radix[k];
                    }
                }
            }
        } else {
            for (int i = 0, j = 0;;) {
                itab[i] = j;
                if (++i >= n0)
                    break;
                j += radix[1];
                for (int k = 0; ++digits[k] >= factors[k]; ++k) {
                    digits[k] = 0;
                    j += radix[k + 2] - radix[k];
                }
            }
        }
        if (itab != t.itab.data()) {
            t.itab[0] = 0;
            for (int i = n0 & 1; i < n0; i += 2) {
                t.itab[static_cast<size_t>(itab[i])] = i;
                t.itab[static_cast<size_t>(itab[i + 1])] = i + 1;
            }
        }
    }

    // The first twiddle, then the others by repeated complex multiplication in double.
    double wRe = 0.0;
    double wIm = 0.0;
    if ((n0 & (n0 - 1)) == 0) {
        // Exact for the quarter and half turns, as a table of them is.
        const double turn = 2.0 * CV_PI / std::ldexp(1.0, m);
        wRe = m == 0 ? 1.0 : m == 1 ? -1.0 : m == 2 ? 0.0 : std::cos(turn);
        wIm = m <= 1 ? -0.0 : m == 2 ? -1.0 : -std::sin(turn);
    } else {
        wIm = std::sin(-CV_PI * 2 / n0);
        wRe = std::sqrt(1.0 - wIm * wIm);
    }
    const double stepRe = wRe;
    const double stepIm = wIm;
    const int half = (n0 + 1) / 2;
    t.waveRe[0] = 1.0f;
    t.waveIm[0] = 0.0f;
    if ((n0 & 1) == 0) {
        t.waveRe[static_cast<size_t>(half)] = -1.0f;
        t.waveIm[static_cast<size_t>(half)] = 0.0f;
    }
    for (int i = 1; i < half; ++i) {
        t.waveRe[static_cast<size_t>(i)] = static_cast<float>(wRe);
        t.waveIm[static_cast<size_t>(i)] = static_cast<float>(wIm);
        t.waveRe[static_cast<size_t>(n0 - i)] = static_cast<float>(wRe);
        t.waveIm[static_cast<size_t>(n0 - i)] = static_cast<float>(-wIm);
        const double next = wRe * stepRe - wIm * stepIm;
        wIm = wRe * stepIm + wIm * stepRe;
        wRe = next;
    }
}

// The constants of the radix-3 and radix-5 passes, rounded to float.
const float kSin120 = static_cast<float>(std::sqrt(3.0) / 2.0);
const float kFive2 = static_cast<float>(std::sqrt(5.0) / 4.0);
const float kFive3 = static_cast<float>(-std::sin(2.0 * CV_PI / 5.0));
const float kFive4 = static_cast<float>(-std::sin(2.0 * CV_PI / 5.0) - std::sin(CV_PI / 5.0));
const float kFive5 = static_cast<float>(std::sin(2.0 * CV_PI / 5.0) - std::sin(CV_PI / 5.0));

// One complex value per lane.
template <class V>
struct Cx {
    V re;
    V im;
};

// The complex transform of n points (n divides the tables' length) of every lane, in place
// after an optional reordering from src (src == dst: the input is in order already). A forward
// transform's passes with the inverse's conjugation around them, scaled by scale.
template <class V>
void Transform(const Tables& t, int n, const int* factors, int nf, bool inverse, const Cx<V>* src,
               Cx<V>* dst, float scale) {
    const float* wr = t.waveRe.data();
    const float* wi = t.waveIm.data();
    const int tabStep = t.n == n ? 1 : t.n == n * 2 ? 2 : t.n / n;
    if (src != dst) {
        const int* itab = t.itab.data();
        int i = 0;
        for (; i <= n - 2; i += 2, itab += 2 * tabStep) {
            dst[i] = src[itab[0]];
            dst[i + 1] = src[itab[tabStep]];
        }
        if (i < n)
            dst[n - 1] = src[n - 1];
        if (inverse) {
            for (int k = 0; k < n; ++k)
                dst[k].im = -dst[k].im;
        }
    } else if (inverse) {
        for (int k = 0; k < n; ++k)
            dst[k].im = -dst[k].im;
    }

    int m = 1;
    int dw0 = t.n;
    if ((factors[0] & 1) == 0) {
        for (; m * 4 <= factors[0];) {
            const int nx = m;
            m *= 4;
            dw0 /= 4;
            for (int i = 0; i < n; i += m) {
                Cx<V>* v0 = dst + i;
                Cx<V>* v1 = v0 + nx * 2;
                V r0 = v1[0].re;
                V i0 = v1[0].im;
                V r4 = v1[nx].re;
                V i4 = v1[nx].im;
                V r1 = r0 + r4;
                V i1 = i0 + i4;
                V r3 = i0 - i4;
                V i3 = r4 - r0;
                V r2 = v0[0].re;
                V i2 = v0[0].im;
                r4 = v0[nx].re;
                i4 = v0[nx].im;
                r0 = r2 + r4;
                i0 = i2 + i4;
                r2 -= r4;
                i2 -= i4;
                v0[0] = {r0 + r1, i0 + i1};
                v1[0] = {r0 - r1, i0 - i1};
                v0[nx] = {r2 + r3, i2 + i3};
                v1[nx] = {r2 - r3, i2 - i3};
                for (int j = 1, dw = dw0; j < nx; ++j, dw += dw0) {
                    v0 = dst + i + j;
                    v1 = v0 + nx * 2;
                    const float w1r = wr[dw], w1i = wi[dw];
                    const float w2r = wr[dw * 2], w2i = wi[dw * 2];
                    const float w3r = wr[dw * 3], w3i = wi[dw * 3];
                    r2 = v0[nx].re * w2r - v0[nx].im * w2i;
                    i2 = v0[nx].re * w2i + v0[nx].im * w2r;
                    r0 = v1[0].re * w1i + v1[0].im * w1r;
                    i0 = v1[0].re * w1r - v1[0].im * w1i;
                    r3 = v1[nx].re * w3i + v1[nx].im * w3r;
                    i3 = v1[nx].re * w3r - v1[nx].im * w3i;
                    r1 = i0 + i3;
                    i1 = r0 + r3;
                    r3 = r0 - r3;
                    i3 = i3 - i0;
                    r4 = v0[0].re;
                    i4 = v0[0].im;
                    r0 = r4 + r2;
                    i0 = i4 + i2;
                    r2 = r4 - r2;
                    i2 = i4 - i2;
                    v0[0] = {r0 + r1, i0 + i1};
                    v1[0] = {r0 - r1, i0 - i1};
                    v0[nx] = {r2 + r3, i2 + i3};
                    v1[nx] = {r2 - r3, i2 - i3};
                }
            }
        }
        for (; m < factors[0];) {
            m *= 2;
            dw0 /= 2;
            const int nx = m / 2;
            for (int i = 0; i < n; i += m) {
                Cx<V>* v = dst + i;
                V r0 = v[0].re + v[nx].re;
                V i0 = v[0].im + v[nx].im;
                V r1 = v[0].re - v[nx].re;
                V i1 = v[0].im - v[nx].im;
                v[0] = {r0, i0};
                v[nx] = {r1, i1};
                for (int j = 1, dw = dw0; j < nx; ++j, dw += dw0) {
                    v = dst + i + j;
                    r1 = v[nx].re * wr[dw] - v[nx].im * wi[dw];
                    i1 = v[nx].im * wr[dw] + v[nx].re * wi[dw];
                    r0 = v[0].re;
                    i0 = v[0].im;
                    v[0] = {r0 + r1, i0 + i1};
                    v[nx] = {r0 - r1, i0 - i1};
                }
            }
        }
    }

    for (int f = (factors[0] & 1) ? 0 : 1; f < nf; ++f) {
        const int factor = factors[f];
        const int nx = m;
        m *= factor;
        dw0 /= factor;
        if (factor == 3) {
            for (int i = 0; i < n; i += m) {
                Cx<V>* v = dst + i;
                V r1 = v[nx].re + v[nx * 2].re;
                V i1 = v[nx].im + v[nx * 2].im;
                V r0 = v[0].re;
                V i0 = v[0].im;
                V r2 = kSin120 * (v[nx].im - v[nx * 2].im);
                V i2 = kSin120 * (v[nx * 2].re - v[nx].re);
                v[0] = {r0 + r1, i0 + i1};
                r0 -= 0.5f * r1;
                i0 -= 0.5f * i1;
                v[nx] = {r0 + r2, i0 + i2};
                v[nx * 2] = {r0 - r2, i0 - i2};
                for (int j = 1, dw = dw0; j < nx; ++j, dw += dw0) {
                    v = dst + i + j;
                    const float w1r = wr[dw], w1i = wi[dw];
                    const float w2r = wr[dw * 2], w2i = wi[dw * 2];
                    r0 = v[nx].re * w1r - v[nx].im * w1i;
                    i0 = v[nx].re * w1i + v[nx].im * w1r;
                    i2 = v[nx * 2].re * w2r - v[nx * 2].im * w2i;
                    r2 = v[nx * 2].re * w2i + v[nx * 2].im * w2r;
                    r1 = r0 + i2;
                    i1 = i0 + r2;
                    r2 = kSin120 * (i0 - r2);
                    i2 = kSin120 * (i2 - r0);
                    r0 = v[0].re;
                    i0 = v[0].im;
                    v[0] = {r0 + r1, i0 + i1};
                    r0 -= 0.5f * r1;
                    i0 -= 0.5f * i1;
                    v[nx] = {r0 + r2, i0 + i2};
                    v[nx * 2] = {r0 - r2, i0 - i2};
                }
            }
        } else {
            // factor 5; Plan takes no other odd factor.
            for (int i = 0; i < n; i += m) {
                for (int j = 0, dw = 0; j < nx; ++j, dw += dw0) {
                    Cx<V>* v0 = dst + i + j;
                    Cx<V>* v1 = v0 + nx * 2;
                    Cx<V>* v2 = v1 + nx * 2;
                    V r3 = v0[nx].re * wr[dw] - v0[nx].im * wi[dw];
                    V i3 = v0[nx].re * wi[dw] + v0[nx].im * wr[dw];
                    V r2 = v2[0].re * wr[dw * 4] - v2[0].im * wi[dw * 4];
                    V i2 = v2[0].re * wi[dw * 4] + v2[0].im * wr[dw * 4];
                    V r1 = r3 + r2;
                    V i1 = i3 + i2;
                    r3 -= r2;
                    i3 -= i2;
                    V r4 = v1[nx].re * wr[dw * 3] - v1[nx].im * wi[dw * 3];
                    V i4 = v1[nx].re * wi[dw * 3] + v1[nx].im * wr[dw * 3];
                    V r0 = v1[0].re * wr[dw * 2] - v1[0].im * wi[dw * 2];
                    V i0 = v1[0].re * wi[dw * 2] + v1[0].im * wr[dw * 2];
                    r2 = r4 + r0;
                    i2 = i4 + i0;
                    r4 -= r0;
                    i4 -= i0;
                    r0 = v0[0].re;
                    i0 = v0[0].im;
                    V r5 = r1 + r2;
                    V i5 = i1 + i2;
                    v0[0] = {r0 + r5, i0 + i5};
                    r0 -= 0.25f * r5;
                    i0 -= 0.25f * i5;
                    r1 = kFive2 * (r1 - r2);
                    i1 = kFive2 * (i1 - i2);
                    r2 = -kFive3 * (i3 + i4);
                    i2 = kFive3 * (r3 + r4);
                    i3 *= -kFive5;
                    r3 *= kFive5;
                    i4 *= -kFive4;
                    r4 *= kFive4;
                    r5 = r2 + i3;
                    i5 = i2 + r3;
                    r2 -= i4;
                    i2 -= r4;
                    r3 = r0 + r1;
                    i3 = i0 + i1;
                    r0 -= r1;
                    i0 -= i1;
                    v0[nx] = {r3 + r2, i3 + i2};
                    v2[0] = {r3 - r2, i3 - i2};
                    v1[0] = {r0 + r5, i0 + i5};
                    v1[nx] = {r0 - r5, i0 - i5};
                }
            }
        }
    }

    if (scale != 1.0f) {
        const float imScale = inverse ? -scale : scale;
        for (int i = 0; i < n; ++i) {
            dst[i].re = dst[i].re * scale;
            dst[i].im = dst[i].im * imScale;
        }
    } else if (inverse) {
        for (int i = 0; i < n; ++i)
            dst[i].im = -dst[i].im;
    }
}

// The factors of the half-length transform inside a real transform of even length.
int HalfFactors(const Tables& t, int* factors) {
    std::copy(t.factors, t.factors + t.nf, factors);
    factors[0] >>= 1;
    if (factors[0] != 1)
        return t.nf;
    std::copy(t.factors + 1, t.factors + t.nf, factors);
    return t.nf - 1;
}

// Each lane's real sequence in (t.n values) to its packed spectrum out (t.n values): the
// transform of a row. work holds t.n complex values.
template <class V>
void RealForward(const Tables& t, V* in, V* out, Cx<V>* work) {
    const int n = t.n;
    if (n == 1) {
        out[0] = in[0];
        return;
    }
    if (n == 2) {
        const V sum = in[0] + in[1];
        out[1] = in[0] - in[1];
        out[0] = sum;
        return;
    }
    if (n & 1) {
        work[0] = {in[0], V{}};
        for (int j = 1; j < n; ++j)
            work[j] = {in[t.itab[static_cast<size_t>(j)]], V{}};
        Transform(t, n, t.factors, t.nf, false, work, work, 1.0f);
        out[0] = work[0].re;
        for (int k = 1; 2 * k <= n - 1; ++k) {
            out[2 * k - 1] = work[k].re;
            out[2 * k] = work[k].im;
        }
        return;
    }
    int factors[kMaxFactors];
    const int nf = HalfFactors(t, factors);
    const int n2 = n >> 1;
    Transform(t, n2, factors, nf, false, reinterpret_cast<const Cx<V>*>(in), work, 1.0f);
    V* d = reinterpret_cast<V*>(work);
    V s = d[0] - d[1];
    d[0] = d[0] + d[1];
    d[1] = s;
    const V middle = d[n2];
    s = d[n - 1];
    d[n - 1] = d[1];
    int j = 2;
    for (int w = 1; j < n2; j += 2, ++w) {
        const float wr = t.waveRe[static_cast<size_t>(w)];
        const float wi = t.waveIm[static_cast<size_t>(w)];
        V h2Re = 0.5f * (d[j + 1] + s);
        V h2Im = 0.5f * (d[n - j] - d[j]);
        const V h1Re = 0.5f * (d[j] + d[n - j]);
        const V h1Im = 0.5f * (d[j + 1] - s);
        s = h2Re * wr - h2Im * wi;
        h2Im = h2Re * wi + h2Im * wr;
        h2Re = s;
        s = d[n - j - 1];
        d[j - 1] = h1Re + h2Re;
        d[n - j - 1] = h1Re - h2Re;
        d[j] = h1Im + h2Im;
        d[n - j] = h2Im - h1Im;
    }
    if (j <= n2) {
        d[n2 - 1] = middle;
        d[n2] = -s;
    }
    std::copy(d, d + n, out);
}

// Each lane's packed spectrum in (t.n values) to its real sequence out, times scale: the
// inverse transform of a row. t's input order is the inverse one. work holds t.n complex values.
template <class V>
void RealInverse(const Tables& t, const V* in, V* out, Cx<V>* work, float scale) {
    const int n = t.n;
    if (n == 1) {
        out[0] = in[0] * scale;
        return;
    }
    if (n == 2) {
        const V sum = (in[0] + in[1]) * scale;
        out[1] = (in[0] - in[1]) * scale;
        out[0] = sum;
        return;
    }
    const int n2 = (n + 1) >> 1;
    if (n & 1) {
        work[0] = {in[0], V{}};
        for (int j = 1; j < n2; ++j) {
            const int k0 = t.itab[static_cast<size_t>(j)];
            const int k1 = t.itab[static_cast<size_t>(n - j)];
            const V re = in[2 * j - 1];
            const V im = in[2 * j];
            work[k0] = {re, -im};
            work[k1] = {re, im};
        }
        Transform(t, n, t.factors, t.nf, false, work, work, 1.0f);
        for (int j = 0; j < n; ++j)
            out[j] = work[j].re * scale;
        return;
    }
    V* d = reinterpret_cast<V*>(work);
    V s = in[1];
    d[0] = in[0] + in[n - 1];
    d[1] = in[n - 1] - in[0];
    int j = 2;
    for (int w = 1; j < n2; j += 2, ++w) {
        const float wr = t.waveRe[static_cast<size_t>(w)];
        const float wi = t.waveIm[static_cast<size_t>(w)];
        const V h1Re = s + in[n - j - 1];
        const V h1Im = in[j] - in[n - j];
        V h2Re = s - in[n - j - 1];
        V h2Im = in[j] + in[n - j];
        s = h2Re * wr + h2Im * wi;
        h2Im = h2Im * wr - h2Re * wi;
        h2Re = s;
        s = in[j + 1];
        const int j2 = j >> 1;
        int k = t.itab[static_cast<size_t>(j2)];
        d[k] = h1Re - h2Im;
        d[k + 1] = -h1Im - h2Re;
        k = t.itab[static_cast<size_t>(n2 - j2)];
        d[k] = h1Re + h2Im;
        d[k + 1] = h1Im - h2Re;
    }
    if (j <= n2) {
        const int k = t.itab[static_cast<size_t>(n2)];
        d[k * 2] = s * 2.0f;
        d[k * 2 + 1] = in[n2] * 2.0f;
    }
    int factors[kMaxFactors];
    const int nf = HalfFactors(t, factors);
    Transform(t, n2, factors, nf, false, work, work, 1.0f);
    for (int i = 0; i < n; i += 2) {
        out[i] = d[i] * scale;
        out[i + 1] = d[i + 1] * -scale;
    }
}

}  // namespace

namespace {

// Eight lanes, AVX2's.
typedef float V8 __attribute__((vector_size(32)));
typedef double D8 __attribute__((vector_size(64)));
constexpr int kLanes = 8;

// A column of the packed spectrum as the column passes take it: a real one (the first, and the
// last of an even width) or a complex one made of two float columns.
struct Job {
    int x;  // Its (first) float column.
    bool real;
};

}  // namespace

// The tables of one size, the template's spectrum and the buffers of the transforms. Between
// the column passes the spectrum stays in lane form: batch b of eight jobs, row y, at
// b * height + y.
struct LaneDftPlan {
    int width = 0;
    int height = 0;
    Tables rows;
    Tables rowsInverse;  // The same but perhaps their input order.
    Tables columns;
    std::vector<Job> jobs;
    int batches = 0;
    cv::Mat window;  // The window's pixels as floats.
    std::vector<float> storage;
    Cx<V8>* spectrum = nullptr;  // batches x height
    Cx<V8>* pattern = nullptr;   // The template's spectrum, batches x height.
    Cx<V8>* column = nullptr;    // height
    // Where each lane of a batch takes its values from a row transform's output and puts
    // them into an inverse one's input: its float columns; a real column's imaginary part and
    // the lanes past the last column use the spare vector at width, which holds zeros.
    std::vector<int> reIndex;
    std::vector<int> imIndex;
    V8* in = nullptr;        // width + 8
    V8* out = nullptr;       // width + 8
    Cx<V8>* work = nullptr;  // width
};

namespace {

// r[i] lane j becomes r[j] lane i.
void Transpose8(V8* r) {
    V8 t[8];
    for (int i = 0; i < 8; i += 2) {
        t[i] = __builtin_shufflevector(r[i], r[i + 1], 0, 8, 1, 9, 4, 12, 5, 13);
        t[i + 1] = __builtin_shufflevector(r[i], r[i + 1], 2, 10, 3, 11, 6, 14, 7, 15);
    }
    V8 u[8];
    for (int i = 0; i < 8; i += 4) {
        u[i] = __builtin_shufflevector(t[i], t[i + 2], 0, 1, 8, 9, 4, 5, 12, 13);
        u[i + 1] = __builtin_shufflevector(t[i], t[i + 2], 2, 3, 10, 11, 6, 7, 14, 15);
        u[i + 2] = __builtin_shufflevector(t[i + 1], t[i + 3], 0, 1, 8, 9, 4, 5, 12, 13);
        u[i + 3] = __builtin_shufflevector(t[i + 1], t[i + 3], 2, 3, 10, 11, 6, 7, 14, 15);
    }
    for (int i = 0; i < 4; ++i) {
        r[i] = __builtin_shufflevector(u[i], u[i + 4], 0, 1, 2, 3, 8, 9, 10, 11);
        r[i + 4] = __builtin_shufflevector(u[i], u[i + 4], 4, 5, 6, 7, 12, 13, 14, 15);
    }
}

// Eight floats of a row (count of them, the rest 0).
void LoadFloats(const float* row, int count, V8* out) {
    *out = V8{};
    if (count == kLanes)
        std::memcpy(out, row, sizeof(V8));
    else
        std::memcpy(out, row, sizeof(float) * static_cast<size_t>(count));
}

// The row transforms of the window's rows, into the lane form of the spectrum; the other rows
// transform to zeros.
void RowsForward(LaneDftPlan& p, const cv::Mat& window, int left, int top) {
    window.convertTo(p.window, CV_32F);
    const int height = p.height;
    const int rows = window.rows;
    const int cols = window.cols;
    for (int b = 0; b < p.batches; ++b)
        for (int y = 0; y < height; ++y)
            if (y < top || y >= top + rows)
                p.spectrum[b * height + y].re = p.spectrum[b * height + y].im = V8{};
    for (int x = 0; x <= p.width; ++x)
        p.in[x] = p.out[x] = V8{};
    for (int y0 = 0; y0 < rows; y0 += kLanes) {
        const int lanes = std::min(kLanes, rows - y0);
        for (int x0 = 0; x0 < cols; x0 += kLanes) {
            const int count = std::min(kLanes, cols - x0);
            V8 block[kLanes];
            for (int l = 0; l < kLanes; ++l) {
                if (l < lanes)
                    LoadFloats(p.window.ptr<float>(y0 + l) + x0, count, &block[l]);
                else
                    block[l] = V8{};
            }
            Transpose8(block);
            for (int i = 0; i < count; ++i)
                p.in[left + x0 + i] = block[i];
        }
        RealForward(p.rows, p.in, p.out, p.work);
        for (int b = 0; b < p.batches; ++b) {
            V8 re[kLanes];
            V8 im[kLanes];
            const int* reIndex = &p.reIndex[static_cast<size_t>(b * kLanes)];
            const int* imIndex = &p.imIndex[static_cast<size_t>(b * kLanes)];
            for (int j = 0; j < kLanes; ++j) {
                re[j] = p.out[reIndex[j]];
                im[j] = p.out[imIndex[j]];
            }
            Transpose8(re);
            Transpose8(im);
            Cx<V8>* to = p.spectrum + b * height + top + y0;
            for (int l = 0; l < lanes; ++l) {
                to[l].re = re[l];
                to[l].im = im[l];
            }
        }
    }
}

// The column transforms, the product with the template's conjugate spectrum (each product
// rounded once from double, as cv::mulSpectrums does) and the inverse column transforms.
void Columns(LaneDftPlan& p) {
    const int height = p.height;
    const int half = (height + 1) / 2;
    for (int b = 0; b < p.batches; ++b) {
        Cx<V8>* spectrum = p.spectrum + b * height;
        const Cx<V8>* pattern = p.pattern + b * height;
        Cx<V8>* c = p.column;
        Transform(p.columns, height, p.columns.factors, p.columns.nf, false, spectrum, c, 1.0f);
        // A real column keeps only the real part of its first value (and of its middle one).
        for (int l = 0; l < kLanes; ++l) {
            const size_t job = static_cast<size_t>(b * kLanes + l);
            if (job < p.jobs.size() && p.jobs[job].real) {
                c[0].im[l] = 0.0f;
                if ((height & 1) == 0)
                    c[height / 2].im[l] = 0.0f;
            }
        }
        for (int y = 0; y < height; ++y) {
            const D8 ar = __builtin_convertvector(c[y].re, D8);
            const D8 ai = __builtin_convertvector(c[y].im, D8);
            const D8 br = __builtin_convertvector(pattern[y].re, D8);
            const D8 bi = __builtin_convertvector(pattern[y].im, D8);
            const D8 re = ar * br + ai * bi;
            const D8 im = ai * br - ar * bi;
            c[y] = {__builtin_convertvector(re, V8), __builtin_convertvector(im, V8)};
        }
        // A real column's product holds half of its values; the rest are their conjugates.
        for (int l = 0; l < kLanes; ++l) {
            const size_t job = static_cast<size_t>(b * kLanes + l);
            if (job >= p.jobs.size() || !p.jobs[job].real)
                continue;
            c[0].im[l] = 0.0f;
            for (int k = 1; k < half; ++k) {
                c[height - k].re[l] = c[k].re[l];
                c[height - k].im[l] = -c[k].im[l];
            }
            if ((height & 1) == 0)
                c[height / 2].im[l] = 0.0f;
        }
        Transform(p.columns, height, p.columns.factors, p.columns.nf, true, c, spectrum, 1.0f);
    }
}

// The row transforms back, for the rows of sums, into sums.
void RowsInverse(LaneDftPlan& p, cv::Mat& sums) {
    const int height = p.height;
    const int width = p.width;
    const int rows = sums.rows;
    const int cols = sums.cols;
    const float scale = static_cast<float>(1.0 / (static_cast<double>(width) * height));
    for (int y0 = 0; y0 < rows; y0 += kLanes) {
        const int lanes = std::min(kLanes, rows - y0);
        for (int b = 0; b < p.batches; ++b) {
            V8 re[kLanes];
            V8 im[kLanes];
            const Cx<V8>* from = p.spectrum + b * height + y0;
            for (int l = 0; l < kLanes; ++l) {
                if (y0 + l < height) {
                    re[l] = from[l].re;
                    im[l] = from[l].im;
                } else {
                    re[l] = im[l] = V8{};
                }
            }
            Transpose8(re);
            Transpose8(im);
            const int* reIndex = &p.reIndex[static_cast<size_t>(b * kLanes)];
            const int* imIndex = &p.imIndex[static_cast<size_t>(b * kLanes)];
            for (int j = 0; j < kLanes; ++j) {
                p.in[reIndex[j]] = re[j];
                p.in[imIndex[j]] = im[j];
            }
        }
        RealInverse(p.rowsInverse, p.in, p.out, p.work, scale);
        for (int x0 = 0; x0 < cols; x0 += kLanes) {
            const int count = std::min(kLanes, cols - x0);
            V8 block[kLanes];
            for (int i = 0; i < kLanes; ++i)
                block[i] = p.out[x0 + i];
            Transpose8(block);
            for (int l = 0; l < lanes; ++l) {
                float* row = sums.ptr<float>(y0 + l) + x0;
                if (count == kLanes)
                    std::memcpy(row, &block[l], sizeof(V8));
                else
                    std::memcpy(row, &block[l], sizeof(float) * static_cast<size_t>(count));
            }
        }
    }
}

void Correlate(LaneDftPlan& p, const cv::Mat& window, int left, int top, cv::Mat& sums) {
    RowsForward(p, window, left, top);
    Columns(p);
    RowsInverse(p, sums);
}

#if defined(__x86_64__)
// AVX2 alone: fused multiply-add stays off, as every product must be rounded on its own.
__attribute__((target("avx2"), flatten)) void CorrelateAvx2(LaneDftPlan& p, const cv::Mat& window,
                                                            int left, int top, cv::Mat& sums) {
    Correlate(p, window, left, top, sums);
}
#endif

bool OnlySmallFactors(int n) {
    for (const int f : {2, 3, 5})
        while (n % f == 0)
            n /= f;
    return n == 1;
}

// The same sums by OpenCV's transforms and product.
void ReferenceSums(const cv::Mat& window, int left, int top, const cv::Mat& pattern, int width,
                   int height, cv::Mat& sums) {
    cv::Mat image(height, width, CV_32F, cv::Scalar::all(0));
    window.convertTo(image(cv::Rect(left, top, window.cols, window.rows)), CV_32F);
    cv::hal::DFT2D::create(width, height, CV_32F, 1, 1, CV_HAL_DFT_IS_INPLACE, top + window.rows)
        ->apply(image.data, image.step, image.data, image.step);
    cv::mulSpectrums(image, pattern, image, 0, true);
    cv::hal::DFT2D::create(width, height, CV_32F, 1, 1,
                           CV_HAL_DFT_IS_INPLACE | CV_HAL_DFT_INVERSE | CV_HAL_DFT_SCALE,
                           window.rows)
        ->apply(image.data, image.step, image.data, image.step);
    image(cv::Rect(0, 0, window.cols, window.rows)).copyTo(sums);
}

}  // namespace

CLaneDft::CLaneDft() = default;

CLaneDft::~CLaneDft() = default;

bool CLaneDft::Available() {
#if defined(__x86_64__)
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
#else
    return false;
#endif
}

bool CLaneDft::HasPlan() const {
    return m_plan != nullptr;
}

bool CLaneDft::Plan(int width, int height) {
    if (m_plan && m_plan->width == width && m_plan->height == height)
        return true;
    m_plan.reset();
    if (!Available() || width < 2 || height < 2 || !OnlySmallFactors(width) ||
        !OnlySmallFactors(height))
        return false;
    auto plan = std::make_unique<LaneDftPlan>();
    plan->width = width;
    plan->height = height;
    BuildTables(plan->rows, width, false);
    BuildTables(plan->rowsInverse, width, true);
    BuildTables(plan->columns, height, false);
    plan->jobs.push_back({0, true});
    for (int c = 1; c < (width + 1) / 2; ++c)
        plan->jobs.push_back({2 * c - 1, false});
    if ((width & 1) == 0)
        plan->jobs.push_back({width - 1, true});
    plan->batches = static_cast<int>((plan->jobs.size() + kLanes - 1) / kLanes);
    plan->reIndex.assign(static_cast<size_t>(plan->batches * kLanes), width);
    plan->imIndex.assign(static_cast<size_t>(plan->batches * kLanes), width);
    for (size_t job = 0; job < plan->jobs.size(); ++job) {
        plan->reIndex[job] = plan->jobs[job].x;
        if (!plan->jobs[job].real)
            plan->imIndex[job] = plan->jobs[job].x + 1;
    }
    // Vectors of eight lanes: batches x height complex twice, height complex, width + 8 real
    // twice and width complex; aligned to 32 bytes.
    const size_t vectors = static_cast<size_t>(plan->batches * height * 4 + height * 2 +
                                               (width + kLanes) * 2 + width * 2);
    plan->storage.assign(vectors * kLanes + kLanes, 0.0f);
    auto* base =
        reinterpret_cast<V8*>((reinterpret_cast<uintptr_t>(plan->storage.data()) + sizeof(V8) - 1) &
                              ~(uintptr_t{sizeof(V8)} - 1));
    plan->spectrum = reinterpret_cast<Cx<V8>*>(base);
    plan->pattern = plan->spectrum + plan->batches * height;
    plan->column = plan->pattern + plan->batches * height;
    plan->in = reinterpret_cast<V8*>(plan->column + height);
    plan->out = plan->in + width + kLanes;
    plan->work = reinterpret_cast<Cx<V8>*>(plan->out + width + kLanes);
    m_plan = std::move(plan);

    // Each size is compared with OpenCV's transforms once a process, on a probe window and
    // template.
    static std::mutex lock;
    static std::set<std::pair<int, int>> checked;
    static std::set<std::pair<int, int>> refused;
    std::lock_guard guard(lock);
    const std::pair<int, int> size(width, height);
    if (checked.count(size))
        return true;
    bool same = false;
    if (!refused.count(size)) {
        std::mt19937 random(static_cast<unsigned>(width * 1000 + height));
        const auto noise = [&random](int rows, int cols) {
            cv::Mat m(rows, cols, CV_8UC1);
            for (int y = 0; y < rows; ++y)
                for (int x = 0; x < cols; ++x)
                    m.at<uint8_t>(y, x) = static_cast<uint8_t>(random());
            return m;
        };
        const cv::Mat pattern = noise(std::max(1, height / 3), std::max(1, width / 3));
        cv::Mat spectrum(height, width, CV_32F, cv::Scalar::all(0));
        pattern.convertTo(spectrum(cv::Rect(0, 0, pattern.cols, pattern.rows)), CV_32F);
        cv::hal::DFT2D::create(width, height, CV_32F, 1, 1, CV_HAL_DFT_IS_INPLACE, pattern.rows)
            ->apply(spectrum.data, spectrum.step, spectrum.data, spectrum.step);
        const cv::Mat window = noise(height - pattern.rows + 1, width - pattern.cols + 1);
        const int left = pattern.cols / 2;
        const int top = pattern.rows / 2;
        cv::Mat expected;
        ReferenceSums(window, left, top, spectrum, width, height, expected);
        SetTemplateSpectrum(spectrum);
        cv::Mat sums;
        Correlate(window, left, top, sums);
        same = cv::countNonZero(expected != sums) == 0;
    }
    (same ? checked : refused).insert(size);
    if (!same)
        m_plan.reset();
    return same;
}

void CLaneDft::SetTemplateSpectrum(const cv::Mat& spectrum) {
    LaneDftPlan& p = *m_plan;
    const int height = p.height;
    for (int i = 0; i < p.batches * height; ++i)
        p.pattern[i] = Cx<V8>{};
    for (size_t job = 0; job < p.jobs.size(); ++job) {
        Cx<V8>* column = p.pattern + static_cast<int>(job / kLanes) * height;
        const int l = static_cast<int>(job % kLanes);
        const int x = p.jobs[job].x;
        if (p.jobs[job].real) {
            // The packed column: its first value, then real and imaginary parts in turn, and
            // for an even height a last real one.
            column[0].re[l] = spectrum.at<float>(0, x);
            for (int k = 1; k < (height + 1) / 2; ++k) {
                column[k].re[l] = spectrum.at<float>(2 * k - 1, x);
                column[k].im[l] = spectrum.at<float>(2 * k, x);
            }
            if ((height & 1) == 0)
                column[height / 2].re[l] = spectrum.at<float>(height - 1, x);
        } else {
            for (int y = 0; y < height; ++y) {
                column[y].re[l] = spectrum.at<float>(y, x);
                column[y].im[l] = spectrum.at<float>(y, x + 1);
            }
        }
    }
}

void CLaneDft::Correlate(const cv::Mat& window, int left, int top, cv::Mat& sums) {
    sums.create(window.rows, window.cols, CV_32F);
#if defined(__x86_64__)
    CorrelateAvx2(*m_plan, window, left, top, sums);
#endif
}
