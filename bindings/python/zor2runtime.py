"""Python binding of the ZOR2 runtime library over ctypes: open an exported
runtime file (.z2r), set inputs by id or name, step, read outputs.

    with zor2runtime.System("plant.z2r", seed=1) as s:
        s.set("x", 2.0)
        s.step()
        print(s.outputs())

The library is looked up in $ZOR2RUNTIME_LIBRARY, beside an installed copy of
this file, then by the system's loader. Each System owns its own handle, so
different Systems may run on different threads.
"""

import ctypes
import ctypes.util
import os

__all__ = ["System", "Error", "load_library"]

_INPUT, _OUTPUT = 0, 1


class Error(Exception):
    """A call into the runtime library failed; `status` is its status code."""

    def __init__(self, status, text):
        super().__init__(text)
        self.status = status



class _Port(ctypes.Structure):
    _fields_ = [
        ("id", ctypes.c_int32),
        ("kind", ctypes.c_int32),
        ("array", ctypes.c_int32),
        ("count", ctypes.c_int32),
        ("name", ctypes.c_char * 400),
    ]


def _candidates():
    named = os.environ.get("ZOR2RUNTIME_LIBRARY")
    if named:
        yield named
    here = os.path.dirname(os.path.abspath(__file__))
    # Installed as <prefix>/share/zor2runtime/python/zor2runtime.py.
    prefix = os.path.normpath(os.path.join(here, "..", "..", ".."))
    for libdir in ("lib", "lib64"):
        yield os.path.join(prefix, libdir, "libzor2runtime.so.2")
    found = ctypes.util.find_library("zor2runtime")
    if found:
        yield found
    yield "libzor2runtime.so.2"


_lib = None


def load_library():
    """Loads the runtime library once and declares the functions used here."""
    global _lib
    if _lib is not None:
        return _lib
    errors = []
    for path in _candidates():
        if os.sep in path and not os.path.exists(path):
            continue
        try:
            lib = ctypes.CDLL(path)
            break
        except OSError as e:
            errors.append(str(e))
    else:
        raise OSError("zor2runtime library not found: " + "; ".join(errors))
    handle = ctypes.c_void_p
    status = ctypes.c_int
    dbl_p = ctypes.POINTER(ctypes.c_double)
    signatures = {
        "zor2rt_open": (handle, [ctypes.c_char_p, ctypes.POINTER(status)]),
        "zor2rt_close": (None, [handle]),
        "zor2rt_step": (status, [handle]),
        "zor2rt_set_seed": (status, [handle, ctypes.c_uint32]),
        "zor2rt_set_input": (status, [handle, ctypes.c_int32, ctypes.c_double]),
        "zor2rt_set_input_array": (status, [handle, ctypes.c_int32, dbl_p, ctypes.c_int32]),
        "zor2rt_get_output": (status, [handle, ctypes.c_int32, dbl_p]),
        "zor2rt_get_output_array": (
            status,
            [handle, ctypes.c_int32, dbl_p, ctypes.c_int32, ctypes.POINTER(ctypes.c_int32)],
        ),
        "zor2rt_get_outputs": (status, [handle, dbl_p, ctypes.c_int32]),
        "zor2rt_input_count": (ctypes.c_int32, [handle]),
        "zor2rt_output_count": (ctypes.c_int32, [handle]),
        "zor2rt_port_info": (status, [handle, ctypes.c_int32, ctypes.c_int32, ctypes.POINTER(_Port)]),
        "zor2rt_status_text": (ctypes.c_char_p, [status]),
    }
    for name, (restype, argtypes) in signatures.items():
        fn = getattr(lib, name)
        fn.restype = restype
        fn.argtypes = argtypes
    _lib = lib
    return lib


def _check(lib, status):
    if status != 0:
        raise Error(status, lib.zor2rt_status_text(status).decode())


class System:
    """One runtime system loaded from a runtime file; use it in a `with` block
    or call close(). Inputs and outputs are named by id (int) or by name (str)."""

    def __init__(self, path, seed=None):
        self._lib = load_library()
        status = ctypes.c_int(0)
        handle = self._lib.zor2rt_open(os.fsencode(path), ctypes.byref(status))
        if not handle:
            _check(self._lib, status.value or 7)
        self._handle = handle
        self.inputs = self._ports(_INPUT, self._lib.zor2rt_input_count(handle))
        self.outputs_info = self._ports(_OUTPUT, self._lib.zor2rt_output_count(handle))
        self._input_ids = {p["name"]: p["id"] for p in self.inputs}
        self._output_ids = {p["name"]: p["id"] for p in self.outputs_info}
        self._values = (ctypes.c_double * max(1, len(self.outputs_info)))()
        if seed is not None:
            self.seed(seed)

    def _ports(self, direction, count):
        ports = []
        info = _Port()
        for i in range(count):
            _check(self._lib, self._lib.zor2rt_port_info(self._handle, direction, i, ctypes.byref(info)))
            ports.append({"id": info.id, "name": info.name.decode("utf-8", "replace"),
                          "kind": info.kind, "array": bool(info.array)})
        return ports

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def __del__(self):
        self.close()

    def close(self):
        """Frees the system; further calls raise."""
        handle, self._handle = getattr(self, "_handle", None), None
        if handle:
            self._lib.zor2rt_close(handle)

    def _live(self):
        if not self._handle:
            raise ValueError("the system is closed")
        return self._handle

    def _id(self, port, ids):
        if isinstance(port, str):
            if port not in ids:
                raise KeyError(port)
            return ids[port]
        return int(port)

    def seed(self, seed):
        """Restarts the system's random source from `seed`."""
        _check(self._lib, self._lib.zor2rt_set_seed(self._live(), seed))

    def set(self, port, value):
        """Sets system input `port` (id or name) to `value`."""
        _check(self._lib, self._lib.zor2rt_set_input(self._live(), self._id(port, self._input_ids), value))

    def set_inputs(self, values):
        """Sets several inputs from a dict {id or name: value}."""
        for port, value in values.items():
            self.set(port, value)

    def set_array(self, port, data):
        """Sets the array data of input `port` from any buffer (bytes of doubles are
        taken as they are, other formats element by element) or sequence of numbers;
        the library keeps a copy."""
        try:
            view = memoryview(data)
        except TypeError:
            view = None
        if view is not None and view.format in ("d", "<d", "=d", "@d") and view.c_contiguous:
            block = (ctypes.c_double * (view.nbytes // 8)).from_buffer_copy(view.cast("B"))
        else:
            values = [float(v) for v in (view.tolist() if view is not None else data)]
            block = (ctypes.c_double * len(values))(*values)
        ptr = ctypes.cast(block, ctypes.POINTER(ctypes.c_double)) if len(block) else None
        _check(self._lib, self._lib.zor2rt_set_input_array(
            self._live(), self._id(port, self._input_ids), ptr, len(block)))

    def step(self, cycles=1):
        """Runs `cycles` cycles."""
        handle = self._live()
        for _ in range(cycles):
            _check(self._lib, self._lib.zor2rt_step(handle))

    def get(self, port):
        """The value of system output `port` (id or name)."""
        value = ctypes.c_double()
        _check(self._lib, self._lib.zor2rt_get_output(
            self._live(), self._id(port, self._output_ids), ctypes.byref(value)))
        return value.value

    def get_array(self, port):
        """The elements of output `port` as a list (one value for a plain output)."""
        handle, pid = self._live(), self._id(port, self._output_ids)
        count = ctypes.c_int32()
        _check(self._lib, self._lib.zor2rt_get_output_array(handle, pid, None, 0, ctypes.byref(count)))
        block = (ctypes.c_double * max(1, count.value))()
        _check(self._lib, self._lib.zor2rt_get_output_array(handle, pid, block, count.value, ctypes.byref(count)))
        return list(block[: count.value])

    def output_list(self):
        """Every system output's value, in list order."""
        n = len(self.outputs_info)
        _check(self._lib, self._lib.zor2rt_get_outputs(self._live(), self._values, n))
        return list(self._values[:n])

    def outputs(self):
        """Every system output's value by name (by id where a name repeats)."""
        values = self.output_list()
        seen = {}
        for p in self.outputs_info:
            seen[p["name"]] = seen.get(p["name"], 0) + 1
        return {(p["name"] if seen[p["name"]] == 1 else p["id"]): v
                for p, v in zip(self.outputs_info, values)}
