#!/usr/bin/env python3
"""What a Python user writes for the same search: every spectrum file of a folder on a 1.25 1/cm
grid (zero outside its range, unit norm), cosine of a query against all by one matrix product.
Prints the time to load and grid, and per query. Usage: cosine_numpy.py FOLDER [QUERIES]"""
import glob
import os
import sys
import time

import numpy as np

STEP = 1.25


def read(path):
    xs, ys = [], []
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            parts = line.replace(",", " ").split()
            try:
                xs.append(float(parts[0]))
                ys.append(float(parts[1]))
            except (ValueError, IndexError):
                continue
    return np.array(xs), np.array(ys)


def main():
    folder = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 200
    start = time.perf_counter()
    spectra = [read(p) for p in sorted(glob.glob(os.path.join(folder, "*.txt")))]
    spectra = [(x, y) for x, y in spectra if len(x) > 1]
    low = np.floor(min(x[0] for x, _ in spectra) / STEP) * STEP
    grid = np.arange(low, max(x[-1] for x, _ in spectra) + STEP, STEP)
    matrix = np.zeros((len(spectra), len(grid)), dtype=np.float32)
    for row, (x, y) in enumerate(spectra):
        inside = (grid >= x[0]) & (grid <= x[-1])
        matrix[row, inside] = np.interp(grid[inside], x, y)
    matrix /= np.maximum(np.linalg.norm(matrix, axis=1, keepdims=True), 1e-30)
    loaded = time.perf_counter() - start
    queries = matrix[np.linspace(0, len(spectra) - 1, min(count, len(spectra))).astype(int)]
    start = time.perf_counter()
    scores = queries @ matrix.T
    best = np.argsort(-scores, axis=1)[:, :5]
    batch = (time.perf_counter() - start) / len(queries)
    start = time.perf_counter()
    for q in queries[:20]:
        np.argsort(-(matrix @ q))[:5]
    single = (time.perf_counter() - start) / min(20, len(queries))
    print(f"  load and grid ({len(spectra)} x {len(grid)} float32, "
          f"{matrix.nbytes / 2**20:.0f} MiB): {loaded:.1f} s")
    print(f"  per query, one matrix product for {len(queries)} queries: {batch * 1e3:.2f} ms")
    print(f"  per query, one query at a time: {single * 1e3:.2f} ms")
    assert best.shape[0] == len(queries)


if __name__ == "__main__":
    main()
