/* The benchmark graphs written by hand: what a careful C programmer would write
   for each graph, compiled with the project's flags. */
#include "graphs_hand.h"

#include <math.h>
#include <time.h>

double HandArithK(int m) {
    return 1.0 + 0.001 * m;
}

double HandCellsK(int m) {
    return 0.01 + 0.0001 * m;
}

void HandArithCycle(double x, double out[kHandModules]) {
    double in = x;
    for (int m = 0; m < kHandModules; ++m) {
        const double k = HandArithK(m);
        double v = in;
        for (int i = 0; i < kHandArithChain; i += 3) {
            v = v + k;
            v = v * k;
            v = v - in;
        }
        out[m] = v;
        in = v;
    }
}

void HandCellsCycle(CHandCells* s, double x, double out[kHandModules]) {
    double in = x;
    for (int m = 0; m < kHandModules; ++m) {
        const double k = HandCellsK(m);
        double v = in;
        uint32_t* count = s->count[m];
        for (int i = 0; i < kHandCells; ++i) {
            count[i] += v > kHandCompareValue ? 1u : 0u;
            v = (double)count[i] * k;
        }
        out[m] = v;
        in = v;
    }
}

uint32_t HandTickMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)((int64_t)t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

void HandTimingCycle(CHandTiming* s, uint32_t now, double x, double out[kHandModules]) {
    double in = x;
    for (int m = 0; m < kHandModules; ++m) {
        /* A timer with delay 0 fires in every cycle it is enabled. */
        if (s->lastFire[m] <= 1.0) s->lastFire[m] = (double)now;
        const uint32_t last = (uint32_t)s->lastFire[m];
        const double elapsed = (double)(uint32_t)(now - last);
        double fired = 0.0;
        if (elapsed >= 0.0) {
            s->lastFire[m] = (double)now;
            fired = 1.0;
        }
        double v = in + fired;
        double* delayOut = s->delayOut[m];
        double* fed = s->fed[m];
        for (int i = 0; i < kHandDelayCells; ++i) {
            const double f = delayOut[i] * 0.75;
            const double d = v + (f < 0.01 ? 0.0 : f);
            delayOut[i] = d;
            v = d - fed[i];
            fed[i] = d;
        }
        out[m] = v;
        in = v;
    }
}

static const double kTwoPi = 6.283185307179586476925286766559;

static void HandSignalPrepare(CHandSignal* s) {
    const float step = (float)(kTwoPi / (kHandSignalFrame - 1));
    for (int k = 0; k < kHandSignalFrame; ++k)
        s->weights[k] = 0.5 * (1 - (double)(float)cos((float)k * step));
    for (int k = 0; k < kHandSignalFrame / 2; ++k) {
        s->cosines[k] = cos(kTwoPi * k / kHandSignalFrame);
        s->sines[k] = -sin(kTwoPi * k / kHandSignalFrame);
    }
    for (int m = 0; m < kHandModules; ++m)
        for (int c = 0; c < kHandSignalChains; ++c) s->frequency[m][c] = -1.0;
    s->ready = 1;
}

/* 0.5 x sin over the single-precision 512-entry table, remade when the frequency changes. */
static void HandGenerate(double* y, double frequency) {
    const double step = 512 * frequency / 44100;
    double p = 0.0;
    for (int j = 0; j < kHandSignalFrame; ++j) {
        y[j] = 0.5 * (double)(float)sin((int)p * kTwoPi / 512);
        p += step;
        if (p >= 512.0) p = fmod(p, 512.0);
    }
}

/* In-place radix-2 transform of re/im. */
static void HandTransform(CHandSignal* s) {
    const int n = kHandSignalFrame;
    for (int i = 1, j = 0; i < n; ++i) {
        int bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) {
            double t = s->re[i];
            s->re[i] = s->re[j];
            s->re[j] = t;
            t = s->im[i];
            s->im[i] = s->im[j];
            s->im[j] = t;
        }
    }
    for (int len = 2; len <= n; len <<= 1) {
        const int stride = n / len;
        for (int i = 0; i < n; i += len) {
            for (int k = 0; k < len / 2; ++k) {
                const double wr = s->cosines[k * stride], wi = s->sines[k * stride];
                const int a = i + k, b = i + k + len / 2;
                const double xr = s->re[b] * wr - s->im[b] * wi;
                const double xi = s->re[b] * wi + s->im[b] * wr;
                s->re[b] = s->re[a] - xr;
                s->im[b] = s->im[a] - xi;
                s->re[a] += xr;
                s->im[a] += xi;
            }
        }
    }
}

void HandSignalCycle(CHandSignal* s, double x, double out[kHandModules]) {
    if (!s->ready) HandSignalPrepare(s);
    double in = x;
    for (int m = 0; m < kHandModules; ++m) {
        double lowest = 0.0;
        for (int c = 0; c < kHandSignalChains; ++c) {
            const double frequency = in != 0.0 ? 100.0 : 0.0;
            double* frame = s->frame[m][c];
            if (frequency != s->frequency[m][c]) {
                HandGenerate(frame, frequency);
                s->frequency[m][c] = frequency;
            }
            for (int i = 0; i < kHandSignalFrame; ++i) {
                s->re[i] = frame[i] * s->weights[i];
                s->im[i] = 0.0;
            }
            HandTransform(s);
            double lo = 1e12;
            for (int k = 0; k < kHandSignalFrame / 2; ++k) {
                const double v = sqrt(s->re[k] * s->re[k] + s->im[k] * s->im[k]);
                if (v < lo) lo = v;
            }
            lowest = lo;
        }
        out[m] = lowest;
        in = lowest;
    }
}
