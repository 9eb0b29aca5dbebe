/* The benchmark graphs written by hand: what a careful C programmer would write
   for each graph, compiled with the project's flags. */
#include "graphs_hand.h"

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
