/* zor2rt: the handle-based C interface of the ZOR2 runtime library, for hosts that
 * run several systems at once or on several threads. Each handle owns one loaded
 * system with its own random source and clock; nothing is shared between handles. */
#ifndef ZOR2RT_H
#define ZOR2RT_H

#include <stdint.h>

#include "zor2runtime.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Thread rule for every function below unless it says otherwise: a handle is used
 * by one thread at a time; different handles may be used on different threads at
 * the same time without any locking by the host. */

/** One system loaded from a runtime file; opaque to the host. */
typedef struct zor2rt_system zor2rt_system;

/** Result of every call that can fail. */
typedef enum zor2rt_status {
    ZOR2RT_OK = 0,
    ZOR2RT_NULL_ARGUMENT = 1,     /**< a required pointer (or the handle) is null */
    ZOR2RT_BAD_ID = 2,            /**< the id or index names no port */
    ZOR2RT_BAD_ARGUMENT = 3,      /**< a count or capacity is negative or too small */
    ZOR2RT_NO_SUCH_FILE = 4,      /**< the runtime file does not exist */
    ZOR2RT_PERMISSION_DENIED = 5, /**< the runtime file may not be read */
    ZOR2RT_NOT_A_FILE = 6,        /**< the path names a folder, device or pipe */
    ZOR2RT_OPEN_FAILED = 7,       /**< any other reason the file could not be read */
    ZOR2RT_CORRUPT_FILE = 8,      /**< the file is damaged or not a runtime file */
    ZOR2RT_UNSUPPORTED_TYPE = 9,  /**< the file holds a component that runs only in the designer */
    ZOR2RT_OUT_OF_MEMORY = 10     /**< memory ran out; nothing was changed */
} zor2rt_status;

/** Port directions for zor2rt_port_info. */
enum { ZOR2RT_INPUT = 0, ZOR2RT_OUTPUT = 1 };

/** One system input or output as zor2rt_port_info fills it. */
typedef struct zor2rt_port {
    int32_t id;     /**< the port's id, used by the other functions */
    int32_t kind;   /**< input: 1 plain, 2 array; output: its kind */
    int32_t array;  /**< 1 when the port carries array data (an output: after the last step) */
    int32_t count;  /**< array element count (array input: as last set), else 1 */
    char name[400]; /**< zero-terminated UTF-8 name */
} zor2rt_port;

/// Loads the runtime file at `path` (narrow, file-system encoding) into a new handle.
/// Returns the handle, or null with the reason in `*status`; `status` may be null.
/// The handle's random source starts from seed 1, as the designer's does.
/// Thread rule: any thread, at any time.
ZOR2RUNTIME_API zor2rt_system* zor2rt_open(const char* path, zor2rt_status* status);

/// Frees the handle and everything it holds; null is ignored. The handle is invalid afterwards.
ZOR2RUNTIME_API void zor2rt_close(zor2rt_system* system);

/// Runs one cycle of the system. Returns ZOR2RT_OK, or ZOR2RT_NULL_ARGUMENT for a null handle.
ZOR2RUNTIME_API zor2rt_status zor2rt_step(zor2rt_system* system);

/// Restarts the handle's random source from `seed`, so that a run repeats exactly.
ZOR2RUNTIME_API zor2rt_status zor2rt_set_seed(zor2rt_system* system, uint32_t seed);

/// Sets the value of system input `id`. Returns ZOR2RT_OK; NULL_ARGUMENT; BAD_ID.
ZOR2RUNTIME_API zor2rt_status zor2rt_set_input(zor2rt_system* system, int32_t id, double value);

/// Sets the array data of system input `id` to a copy of the `count` doubles at `data`; the host
/// may reuse its block at once. `data` may be null only with `count` 0 (clears the array).
/// Returns ZOR2RT_OK; NULL_ARGUMENT; BAD_ID; BAD_ARGUMENT for a negative count; OUT_OF_MEMORY.
ZOR2RUNTIME_API zor2rt_status zor2rt_set_input_array(zor2rt_system* system, int32_t id, const double* data,
                                                     int32_t count);

/// Stores the value of system output `id` in `*value` (an array output's value is its
/// module output's value; zor2rt_get_output_array reads the elements).
/// Returns ZOR2RT_OK; NULL_ARGUMENT; BAD_ID.
ZOR2RUNTIME_API zor2rt_status zor2rt_get_output(const zor2rt_system* system, int32_t id, double* value);

/// Copies at most `capacity` elements of system output `id` (its single value when it carries
/// no array) into `values` and stores in `*count` how many it holds, which may exceed `capacity`.
/// `values` may be null only with `capacity` 0, to ask for the size.
/// Returns ZOR2RT_OK; NULL_ARGUMENT (also for a null `count`); BAD_ID; BAD_ARGUMENT.
ZOR2RUNTIME_API zor2rt_status zor2rt_get_output_array(const zor2rt_system* system, int32_t id, double* values,
                                                      int32_t capacity, int32_t* count);

/// Stores the value of every system output, in list order, in `values`, which holds `capacity`
/// doubles. Returns ZOR2RT_OK; NULL_ARGUMENT; BAD_ARGUMENT when `capacity` is below
/// zor2rt_output_count (nothing is written then).
ZOR2RUNTIME_API zor2rt_status zor2rt_get_outputs(const zor2rt_system* system, double* values,
                                                 int32_t capacity);

/// Returns the number of system inputs, or -1 for a null handle.
ZOR2RUNTIME_API int32_t zor2rt_input_count(const zor2rt_system* system);

/// Returns the number of system outputs, or -1 for a null handle.
ZOR2RUNTIME_API int32_t zor2rt_output_count(const zor2rt_system* system);

/// Fills `info` for the system input (`direction` ZOR2RT_INPUT) or output (ZOR2RT_OUTPUT) at
/// list position `index` (0-based). Returns ZOR2RT_OK; NULL_ARGUMENT; BAD_ID for an index or
/// direction out of range (nothing is written then).
ZOR2RUNTIME_API zor2rt_status zor2rt_port_info(const zor2rt_system* system, int32_t direction, int32_t index,
                                               zor2rt_port* info);

/// Returns a constant English text for `status` ("unknown status" for other values).
/// Thread rule: any thread, at any time.
ZOR2RUNTIME_API const char* zor2rt_status_text(zor2rt_status status);

#ifdef __cplusplus
}
#endif

#endif /* ZOR2RT_H */
