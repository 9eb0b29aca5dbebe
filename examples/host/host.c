/* A minimal host of the ZOR2 runtime library, in C: loads a runtime file, lists
 * its system ports, sets every input to 1.0 and prints the outputs of 3 cycles. */
#include <stdio.h>
#include <stdlib.h>
#include <zor2runtime.h>

static void PrintName(const uint16_t* name) {
    /* Names are UTF-16; this example prints the ASCII part only. */
    for (int i = 0; i < 100 && name[i] != 0; ++i) putchar(name[i] < 128 ? (int)name[i] : '?');
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s FILE.z2r\n", argv[0]);
        return 2;
    }
    printf("zor2runtime version %.2f\n", qxAISystem_GetVersion());
    qxAISystemLoadResult result = {0};
    if (qxAISystem_Load(argv[1], 0, &result) != 1) {
        fprintf(stderr, "could not load %s\n", argv[1]);
        return 1;
    }
    int32_t inputs = qxAISystem_GetCountSystemInputs();
    int32_t outputs = qxAISystem_GetCountSystemOutputs();
    qxAISystemPortInfo* in = calloc((size_t)inputs + 1, sizeof *in);
    qxAISystemPortInfo* out = calloc((size_t)outputs + 1, sizeof *out);
    if (!in || !out) return 1;
    qxAISystem_GetAllSystemInputs(0, in);
    qxAISystem_GetAllSystemOutputs(0, out);
    for (int32_t i = 0; i < inputs; ++i) {
        printf("input %d ", in[i].id);
        PrintName(in[i].name);
        putchar('\n');
        qxAISystem_SetValue(in[i].id, 1.0);
    }
    for (int cycle = 1; cycle <= 3; ++cycle) {
        if (qxAISystem_Execute() != 0) return 1;
        for (int32_t i = 0; i < outputs; ++i) {
            double value = 0.0;
            qxAISystem_GetSystemOutputValues(out[i].id, &value, 1);
            printf("cycle %d output %d ", cycle, out[i].id);
            PrintName(out[i].name);
            printf(" = %g\n", value);
        }
    }
    free(in);
    free(out);
    qxAISystem_Unload();
    return 0;
}
