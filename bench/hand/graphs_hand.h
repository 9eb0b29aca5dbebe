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

/* Signal chains: per module 25 of generator (100 Hz at 44,100 per second, 256
   samples, switched by the module input) -> Hanning window -> transform ->
   statistics; the module's output is the last chain's smallest magnitude. */
enum { kHandSignalChains = 25, kHandSignalFrame = 256 };
typedef struct {
    double frequency[kHandModules][kHandSignalChains]; /* of the frame held, -1 before the first */
    double frame[kHandModules][kHandSignalChains][kHandSignalFrame];
    double re[kHandSignalFrame], im[kHandSignalFrame], magnitude[kHandSignalFrame / 2];
    double weights[kHandSignalFrame];
    double cosines[kHandSignalFrame / 2], sines[kHandSignalFrame / 2];
    int ready;
} CHandSignal;
void HandSignalCycle(CHandSignal* s, double x, double out[kHandModules]);

/* The constants of module m. */
double HandArithK(int m);
double HandCellsK(int m);
#define kHandCompareValue 0.5

#ifdef __cplusplus
}
#endif

#endif
