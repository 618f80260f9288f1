#!/usr/bin/env python3
"""Times fravlin against its plain-stdio build on generated spectra.

Both programs run on the same inputs, interleaved, with the names piped in
and no controlling terminal (so the key wait ends at once). Prints the
median wall time of each, their ratio, and the peak resident memory.

Usage: bench/run_benchmark.py BUILD_DIR [RUNS]
"""
import hashlib
import os
import statistics
import subprocess
import sys
import tempfile

# The last size is past the capacity: only the first 1,000,000 records are
# read, so time and memory must stay those of 1,000,000.
SIZES = (10_000, 100_000, 1_000_000, 2_000_000)


def run_once(measure, program, folder):
    """Runs the program once; returns wall seconds and peak resident MiB."""
    names = os.path.join(folder, "names")
    with open(names, "w") as file:
        file.write("response.txt excitation.txt\n")
    line = subprocess.run([measure, names, program], cwd=folder, check=True,
                          capture_output=True, text=True).stdout.split()
    elapsed, peak_kib, status = float(line[0]), int(line[1]), int(line[2])
    if status != 0:
        sys.exit(f"{program} exited with {status}")
    return elapsed, peak_kib / 1024.0


def results_of(folder):
    digests = []
    for name in ("complex.out", "magnitude_phase.out"):
        digest = hashlib.sha256()
        with open(os.path.join(folder, name), "rb") as file:
            for block in iter(lambda: file.read(1 << 20), b""):
                digest.update(block)
        digests.append(digest.digest())
    return digests


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) == 3 else 7
    fast = os.path.join(build, "fravlin")
    plain = os.path.join(build, "fravlin-stdio")
    make_spectra = os.path.join(build, "make_spectra")
    measure = os.path.join(build, "measure")

    print(f"{'records':>9} {'fravlin s':>10} {'stdio s':>9} {'ratio':>6} "
          f"{'fravlin MiB':>12} {'stdio MiB':>10}")
    for records in SIZES:
        with tempfile.TemporaryDirectory() as fast_dir, tempfile.TemporaryDirectory() as plain_dir:
            for folder in (fast_dir, plain_dir):
                subprocess.run([make_spectra, str(records), os.path.join(folder, "response.txt"),
                                os.path.join(folder, "excitation.txt")], check=True)
            times = {fast: [], plain: []}
            memory = {fast: 0.0, plain: 0.0}
            for _ in range(runs):
                for program, folder in ((fast, fast_dir), (plain, plain_dir)):
                    elapsed, resident = run_once(measure, program, folder)
                    times[program].append(elapsed)
                    memory[program] = max(memory[program], resident)
            if results_of(fast_dir) != results_of(plain_dir):
                sys.exit(f"the result files differ at {records} records")
            fast_median = statistics.median(times[fast])
            plain_median = statistics.median(times[plain])
            print(f"{records:>9} {fast_median:>10.4f} {plain_median:>9.4f} "
                  f"{plain_median / fast_median:>6.1f} {memory[fast]:>12.1f} {memory[plain]:>10.1f}",
                  flush=True)


if __name__ == "__main__":
    main()
