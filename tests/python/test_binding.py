"""The Python binding on the sample runtime files: ports by id and by name, outputs
as a dict and a list, array inputs from buffers, errors, and threads."""
import array
import os
import sys
import threading
import unittest

import zor2runtime

SAMPLES = sys.argv.pop(1) if len(sys.argv) > 1 else "."
TWO = os.path.join(SAMPLES, "two_modules.z2r")  # Product (41) = (x + y) * z


class Binding(unittest.TestCase):
    def test_inputs_by_id_and_name_give_the_product(self):
        cases = [  # (inputs, product)
            ({"x": 1.0, "y": 2.0, 3: 3.0}, 9.0),
            ({1: -1.5, 2: 0.5, "z": 4.0}, -4.0),
            ({}, 0.0),
        ]
        for inputs, product in cases:
            with self.subTest(inputs=inputs), zor2runtime.System(TWO) as s:
                s.set_inputs(inputs)
                s.step()
                self.assertEqual(s.outputs(), {"Product": product, "Unconnected": 0.0})
                self.assertEqual(s.output_list(), [product, 0.0])
                self.assertEqual((s.get("Product"), s.get(41), s.get_array(41)), (product, product, [product]))

    def test_ports_are_listed(self):
        with zor2runtime.System(TWO) as s:
            self.assertEqual([(p["id"], p["name"]) for p in s.inputs], [(1, "x"), (2, "y"), (3, "z")])
            self.assertEqual([(p["id"], p["name"]) for p in s.outputs_info], [(41, "Product"), (42, "Unconnected")])

    def test_array_inputs_from_any_buffer(self):
        with zor2runtime.System(TWO) as s:
            for data in (array.array("d", [1, 2, 3]), array.array("i", [4, 5]), [1.5, 2.5], b"", bytearray(16)):
                with self.subTest(data=data):
                    s.set_array("x", data)

    def test_errors(self):
        cases = [  # (call, exception, status)
            (lambda: zor2runtime.System(os.path.join(SAMPLES, "missing.z2r")), zor2runtime.Error, 4),
            (lambda: zor2runtime.System(SAMPLES), zor2runtime.Error, 6),
            (lambda s: s.set(99, 1.0), zor2runtime.Error, 2),
            (lambda s: s.get("nothing"), KeyError, None),
            (lambda s: s.set_array("x", ["a"]), ValueError, None),
        ]
        for call, exc, status in cases:
            with self.subTest(status=status, exc=exc), zor2runtime.System(TWO) as s:
                with self.assertRaises(exc) as raised:
                    call(s) if call.__code__.co_argcount else call()
                if status is not None:
                    self.assertEqual(raised.exception.status, status)
        s = zor2runtime.System(TWO)
        s.close()
        with self.assertRaises(ValueError):
            s.step()

    def test_systems_on_threads_match_one_after_another(self):
        def run(k, into):
            with zor2runtime.System(TWO) as s:
                s.set_inputs({"x": k, "y": 1.0, "z": 2.0})
                s.step(5)
                into[k] = s.output_list()

        alone, threaded = {}, {}
        for k in range(4):
            run(k, alone)
        threads = [threading.Thread(target=run, args=(k, threaded)) for k in range(4)]
        for t in threads:
            t.start()
        for t in threads:
            t.join()
        self.assertEqual(alone, threaded)
        self.assertEqual(alone[3], [8.0, 0.0])


if __name__ == "__main__":
    unittest.main()
