/* zor2runtime: the public C interface of the ZOR2 runtime library. A host loads
 * one exported runtime file (.z2r), sets system inputs, runs cycles and reads
 * system outputs. Names are UTF-16 code units; records use natural alignment. */
#ifndef ZOR2RUNTIME_H
#define ZOR2RUNTIME_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(ZOR2RUNTIME_BUILDING)
#define ZOR2RUNTIME_API __declspec(dllexport)
#else
#define ZOR2RUNTIME_API __declspec(dllimport)
#endif
#else
#define ZOR2RUNTIME_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Thread rule for every function below: the library has no threads and no
 * locks and holds one loaded system per process; call it from one thread at a
 * time. Status codes shared by most functions: -1 nothing is loaded, -2 the id
 * is below 1 or names no port, -3 a required pointer argument is null (nothing
 * is changed then). */

/** Filled by qxAISystem_Load when the caller passes one. */
typedef struct qxAISystemLoadResult {
    int32_t status;        /**< set to 0 on success; left as the caller put it on failure */
    uint8_t loaded;        /**< set to 1 on success; left as the caller put it on failure */
    uint16_t message[256]; /**< zero-terminated UTF-16 text, written on success and failure */
} qxAISystemLoadResult;

/** One system input or output, as the information functions fill it. */
typedef struct qxAISystemPortInfo {
    int32_t id;         /**< the port's id */
    int32_t kind;       /**< input: 1 plain, 2 array; output: 2 when it reads array data, else its kind */
    double value;       /**< current value */
    uint16_t name[100]; /**< zero-terminated UTF-16 name, at most 99 units */
    double* data;       /**< input: address of its live value; output: see the functions */
    int32_t count;      /**< output: number of doubles at data (1 for a plain output); input: not written */
} qxAISystemPortInfo;

/// Loads the runtime file at `path` (narrow, file-system encoding), replacing any loaded system.
/// `systemId` is only traced. `result` may be null; when given, its message is always written
/// (256 units including the terminator) and, on success only, status := 0 and loaded := 1.
/// Returns 1 loaded; 32 the file could not be read (the objects read before the fault stay
/// loaded; an unknown component type names the type and its byte offset); 8 no such file,
/// 2 not enough memory, 4 permission denied, 64 other open error (an empty system is then
/// loaded); 0 when no empty system could be created; -3 when `path` is null (nothing changes).
ZOR2RUNTIME_API int32_t qxAISystem_Load(const char* path, int32_t systemId, qxAISystemLoadResult* result);

/// Deletes the loaded system, if any. Returns 0.
ZOR2RUNTIME_API int32_t qxAISystem_Unload(void);

/// Returns the library's interface version, exactly 2.13.
ZOR2RUNTIME_API double qxAISystem_GetVersion(void);

/// Runs one cycle: modules by level, components by stage, Feedback Flow components last in
/// their module, then the system outputs. Returns 0; -1 when nothing is loaded.
ZOR2RUNTIME_API int32_t qxAISystem_Execute(void);

/// Sets the value of system input `id`. Returns 0; -1; -2.
ZOR2RUNTIME_API int32_t qxAISystem_SetValue(int32_t id, double value);

/// Sets the array data of system input `id` to `count` doubles at `data`. The library keeps the
/// pointer: the host owns the block and keeps it alive until it sets another or unloads.
/// `data` may be null only with `count` 0 (clears the array). Returns 0; -1; -2; -3 for a
/// null block with a positive count or a negative count.
ZOR2RUNTIME_API int32_t qxAISystem_SetArrayValues(int32_t id, double* data, int32_t count);

/// Returns the number of system inputs; -1.
ZOR2RUNTIME_API int32_t qxAISystem_GetCountSystemInputs(void);

/// Returns the number of system outputs; -1.
ZOR2RUNTIME_API int32_t qxAISystem_GetCountSystemOutputs(void);

/// Fills `info` (one record) for system input `id`: id, kind, value, name, and data := the
/// address of the input's live value (writing through it sets the input); count is not
/// written. `reserved` is ignored. Returns 0; -1; -3 for a null `info`; -2.
ZOR2RUNTIME_API int32_t qxAISystem_GetSystemInputInfo(int32_t reserved, int32_t id, qxAISystemPortInfo* info);

/// Stores the value of system input `id` into `*value` (one double). `reserved` is ignored.
/// Returns 0; -1; -3 for a null `value`; -2.
ZOR2RUNTIME_API int32_t qxAISystem_GetSystemInputValue(int32_t reserved, int32_t id, double* value);

/// Fills `info` (one record) for system output `id`: id, value, name; when the output reads
/// array data: kind 2, count := the array count, data := the array's address (owned by the
/// library, valid until the next Execute or Unload); otherwise kind := the output's kind,
/// count := 1, and the value is also stored into the double at the address the caller put in
/// data (skipped when that is null). `reserved` is ignored. Returns 0; -1; -3 for a null
/// `info`; -2.
ZOR2RUNTIME_API int32_t qxAISystem_GetSystemOutputInfo(int32_t reserved, int32_t id,
                                                       qxAISystemPortInfo* info);

/// Writes the value of system output `id` to `values`: all array-count doubles when the output
/// reads array data (the buffer must hold them; see qxAISystem_GetSystemOutputValues for a
/// bounded copy), otherwise one double. `reserved` is ignored. Returns 0; -1; -3 for a null
/// `values`; -2.
ZOR2RUNTIME_API int32_t qxAISystem_GetSystemOutputValue(int32_t reserved, int32_t id, double* values);

/// Fills one record per system input, in list order, into `infos` (the caller provides
/// qxAISystem_GetCountSystemInputs() records), each as qxAISystem_GetSystemInputInfo does.
/// `reserved` is ignored. Returns 0; -1; -3 for a null `infos`.
ZOR2RUNTIME_API int32_t qxAISystem_GetAllSystemInputs(int32_t reserved, qxAISystemPortInfo* infos);

/// Fills one record per system output, in list order, into `infos` (the caller provides
/// qxAISystem_GetCountSystemOutputs() records), as qxAISystem_GetSystemOutputInfo does except
/// that for a plain output data := the address of the output's live value and count := 1.
/// `reserved` is ignored. Returns 0; -1; -3 for a null `infos`.
ZOR2RUNTIME_API int32_t qxAISystem_GetAllSystemOutputs(int32_t reserved, qxAISystemPortInfo* infos);

/* safe addition: copies at most capacity doubles, returns how many the output holds; -1 nothing loaded; -2
 * bad id */
/// Copies at most `capacity` doubles of system output `id` into `values` (the array elements
/// when it reads array data, else its single value) and returns how many doubles the output
/// holds (array count, or 1), which may exceed `capacity`. `values` may be null only with
/// `capacity` 0, to ask for the size. Returns -1; -2; -3 for a null `values` with a positive
/// capacity or a negative capacity.
ZOR2RUNTIME_API int32_t qxAISystem_GetSystemOutputValues(int32_t id, double* values, int32_t capacity);

#ifdef __cplusplus
}
#endif

#endif /* ZOR2RUNTIME_H */
