"""The operator sweep as a CTest test: every implemented operator, every awkward input."""

import os
import subprocess
import time
import unittest

import operator_sweep

RUNNER = os.environ["QUORVEX_RUN"]
# An instrumented build runs several times slower; the bound per call grows with it.
SECONDS_PER_CALL = float(os.environ.get("QUORVEX_SWEEP_SECONDS_PER_CALL", "0.5"))


class OperatorSweepTest(unittest.TestCase):
    def test_every_call_ends_normally_or_with_an_error_record(self):
        listing = subprocess.run([RUNNER, "--operators"], capture_output=True, text=True,
                                 check=True).stdout
        operators = operator_sweep.parse_listing(listing)
        self.assertGreater(len(operators), 200, "the listing was not read")
        sweep = operator_sweep.Sweep(RUNNER, SECONDS_PER_CALL)
        start = time.monotonic()
        total = sweep.run(operators)
        print(f"{len(operators)} operators, {total} calls, {sweep.ran} ended cleanly, "
              f"{time.monotonic() - start:.1f} s")
        self.assertEqual(sweep.findings, [], "\n" + "\n".join(sweep.findings))

    def test_a_crashing_call_is_named(self):
        # The runner's own exit on a bad command line stands in for a crash: the sweep must
        # name the call, not only the batch.
        sweep = operator_sweep.Sweep(RUNNER, SECONDS_PER_CALL)
        sweep.outcome = lambda calls: ("killed by signal 11" if any(
            "tuple_neg" in call for _, call in calls) else "ok")
        calls = [([], "tuple_length (C0 : OutC0)")] * 5 + [([], "tuple_neg (C0 : OutC0)")]
        sweep.check(calls)
        self.assertEqual(sweep.findings,
                         ["tuple_neg (C0 : OutC0)  (after []): killed by signal 11"])


if __name__ == "__main__":
    unittest.main()
