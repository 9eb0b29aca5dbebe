/* A host of the ZOR2 runtime library's handle interface, in C: opens the same
 * runtime file twice, feeds the two systems different inputs and prints 3 cycles. */
#include <stdio.h>
#include <zor2rt.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s FILE.z2r\n", argv[0]);
        return 2;
    }
    zor2rt_status status = ZOR2RT_OK;
    zor2rt_system* systems[2];
    for (int s = 0; s < 2; ++s) {
        systems[s] = zor2rt_open(argv[1], &status);
        if (!systems[s]) {
            fprintf(stderr, "could not open %s: %s\n", argv[1], zor2rt_status_text(status));
            return 1;
        }
        for (int32_t i = 0; i < zor2rt_input_count(systems[s]); ++i) {
            zor2rt_port port;
            zor2rt_port_info(systems[s], ZOR2RT_INPUT, i, &port);
            zor2rt_set_input(systems[s], port.id, s + 1.0);
        }
    }
    for (int cycle = 1; cycle <= 3; ++cycle) {
        for (int s = 0; s < 2; ++s) {
            zor2rt_step(systems[s]);
            for (int32_t i = 0; i < zor2rt_output_count(systems[s]); ++i) {
                zor2rt_port port;
                double value = 0.0;
                zor2rt_port_info(systems[s], ZOR2RT_OUTPUT, i, &port);
                zor2rt_get_output(systems[s], port.id, &value);
                printf("system %d cycle %d output %d %s = %g\n", s + 1, cycle, port.id, port.name, value);
            }
        }
    }
    zor2rt_close(systems[0]);
    zor2rt_close(systems[1]);
    return 0;
}
