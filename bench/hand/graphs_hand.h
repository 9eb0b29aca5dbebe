/* The benchmark graphs written by hand in C: the same values in the same order
   as the runtime computes them, with the state each graph keeps between cycles. */
#ifndef ZOR2_BENCH_GRAPHS_HAND_H
#define ZOR2_BENCH_GRAPHS_HAND_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { kHandModules = 10, kHandArithChain = 99, kHandCells = 33, kHandDelayCells = 32 };

/* Arithmetic chains: per module a constant k and Add k, Multiply by k, Subtract
   the module input in turn; each module feeds the next. */
void HandArithCycle(double x, double out[kHandModules]);

/* Compare to Constant (>) -> Counter Reset on Event -> Multiply by k cells. */
typedef struct {
    uint32_t count[kHandModules][kHandCells];
} CHandCells;
void HandCellsCycle(CHandCells* s, double x, double out[kHandModules]);

/* Timer (delay 0) added to the module input, then Delay -> Feedback Flow ->
   Subtract cells. `now` is the millisecond tick of this cycle. */
typedef struct {
    double lastFire[kHandModules];
    double delayOut[kHandModules][kHandDelayCells];
    double fed[kHandModules][kHandDelayCells];
} CHandTiming;
void HandTimingCycle(CHandTiming* s, uint32_t now, double x, double out[kHandModules]);
/* The millisecond tick the runtime's clock reads. */
uint32_t HandTickMs(void);

/* The constants of module m. */
double HandArithK(int m);
double HandCellsK(int m);
#define kHandCompareValue 0.5

#ifdef __cplusplus
}
#endif

#endif
