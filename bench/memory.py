"""Memory held by Zelvo over long runs, and the cost of CREATE in a large catalog.

Four measurements in one process, in this order (the peak RSS only grows):
1. 1,000,000 statements on one connection (the MATCH of compare.py with a
   varying literal, results dropped): RSS after a warm-up and at the end.
2. 10,000 connections on one database, all kept alive: RSS growth per
   connection.
3. 300,000 connections on one database, each dropped at once: RSS growth
   after a warm-up.
4. A catalog of 100,000 node tables: RSS growth, and the time per CREATE
   around 1,000 tables vs from 100,000 tables on (medians of small batches,
   the two sizes alternating).

Current RSS comes from /proc/self/statm, the peak from resource.getrusage.
Run: PYTHONPATH=build-bench/python /usr/bin/python3 bench/memory.py
"""

import gc
import os
import resource
import statistics
import time

import zelvo

PAGE_SIZE = os.sysconf("SC_PAGE_SIZE")
MATCH = "MATCH (p:Person) WHERE p.age > {} RETURN p.name LIMIT 10"
CREATE = "CREATE NODE TABLE T{}(id INT64, name STRING, PRIMARY KEY(id))"

STATEMENTS = 1_000_000
STATEMENT_WARMUP = 50_000
CONNECTIONS = 10_000
DROPPED_CONNECTIONS = 300_000
DROPPED_WARMUP = 10_000
TABLES = 100_000
CREATE_BATCH = 20
CREATE_ROUNDS = 20


def rss_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * PAGE_SIZE


def peak_rss_bytes():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss * 1024  # kilobytes on Linux


def mib(n):
    return f"{n / 2**20:,.2f} MiB"


def growth_after_warmup(step, warmup, count):
    """Runs step(i) for `warmup` rounds, then for `count` more; returns the RSS
    after the warm-up, the RSS at the end and the seconds of the second part."""
    for i in range(warmup):
        step(i)
    gc.collect()
    after_warmup = rss_bytes()
    began = time.perf_counter()
    for i in range(warmup, warmup + count):
        step(i)
    seconds = time.perf_counter() - began
    gc.collect()
    return after_warmup, rss_bytes(), seconds


def statements_on_one_connection():
    conn = zelvo.Database.in_memory().connect()
    conn.execute("CREATE NODE TABLE Person(name STRING, age INT64, PRIMARY KEY(name))")
    execute = conn.execute
    after_warmup, at_end, seconds = growth_after_warmup(lambda i: execute(MATCH.format(i)), STATEMENT_WARMUP,
                                                        STATEMENTS)
    print(f"1. {STATEMENTS:,} statements in {seconds:.1f} s: RSS {mib(after_warmup)} after a warm-up of "
          f"{STATEMENT_WARMUP:,}, {mib(at_end)} at the end; peak {mib(peak_rss_bytes())}")
    return at_end - after_warmup


def connections_on_one_database():
    db = zelvo.Database.in_memory()
    warm = [db.connect() for _ in range(100)]
    connections = [None] * CONNECTIONS  # the list itself is allocated before the baseline
    gc.collect()
    before = rss_bytes()
    for i in range(CONNECTIONS):
        connections[i] = db.connect()
    gc.collect()
    after = rss_bytes()
    print(f"2. {CONNECTIONS:,} connections: RSS {mib(before)} before, {mib(after)} after; "
          f"peak {mib(peak_rss_bytes())}")
    del connections, warm
    return (after - before) / CONNECTIONS


def dropped_connections():
    connect = zelvo.Database.in_memory().connect
    after_warmup, at_end, seconds = growth_after_warmup(lambda i: connect(), DROPPED_WARMUP, DROPPED_CONNECTIONS)
    print(f"3. {DROPPED_CONNECTIONS:,} connections dropped at once in {seconds:.1f} s: RSS {mib(after_warmup)} after "
          f"a warm-up of {DROPPED_WARMUP:,}, {mib(at_end)} at the end; peak {mib(peak_rss_bytes())}")
    return at_end - after_warmup


def timed_creates(execute, first, count, samples):
    """Runs CREATEs of T<first>... in batches; appends ns per CREATE of each batch."""
    clock = time.perf_counter_ns
    for start in range(first, first + count, CREATE_BATCH):
        texts = [CREATE.format(i) for i in range(start, start + CREATE_BATCH)]
        began = clock()
        for text in texts:
            execute(text)
        samples.append((clock() - began) / CREATE_BATCH)


def large_catalog():
    big = zelvo.Database.in_memory().connect()
    texts = [CREATE.format(i) for i in range(TABLES)]  # made before the baseline
    gc.collect()
    before = rss_bytes()
    for text in texts:
        big.execute(text)
    gc.collect()
    with_tables = rss_bytes()
    del texts
    print(f"4. {TABLES:,} node tables: RSS {mib(before)} before, {mib(with_tables)} with them "
          f"({(with_tables - before) / TABLES:,.0f} B per table); peak {mib(peak_rss_bytes())}")
    # Rounds alternate between a fresh catalog grown to 500 tables, timed
    # from 500 to 1,500, and the large one, timed over the next 1,000, so
    # that both see the same machine state.
    small_samples, large_samples = [], []
    gc.disable()
    try:
        for round_number in range(CREATE_ROUNDS):
            small = zelvo.Database.in_memory().connect()
            for i in range(500):
                small.execute(CREATE.format(i))
            timed_creates(small.execute, 500, 1_000, small_samples)
            timed_creates(big.execute, TABLES + round_number * 1_000, 1_000, large_samples)
    finally:
        gc.enable()
    small, large = statistics.median(small_samples), statistics.median(large_samples)
    print(f"   CREATE: {small:,.0f} ns around 1,000 tables, {large:,.0f} ns from {TABLES:,} to "
          f"{TABLES + CREATE_ROUNDS * 1_000:,} (medians of batches of {CREATE_BATCH})")
    return large / small


def main():
    results = [
        (f"RSS growth over {STATEMENTS:,} statements", statements_on_one_connection(), "<", 1 << 20, mib),
        ("memory per connection", connections_on_one_database(), "<", 2048, lambda b: f"{b:,.0f} B"),
        (f"RSS growth over {DROPPED_CONNECTIONS:,} dropped connections", dropped_connections(), "<", 4 << 20, mib),
        (f"CREATE at {TABLES:,} tables / at 1,000", large_catalog(), "<=", 1.5, lambda r: f"{r:.2f}x"),
    ]
    print()
    rows = [("measurement", "measured", "target", "")]
    for name, measured, relation, target, show in results:
        met = measured < target if relation == "<" else measured <= target
        rows.append((name, show(measured), f"{relation} {show(target)}", "pass" if met else "miss"))
    widths = [max(len(row[c]) for row in rows) for c in range(4)]
    for n, row in enumerate(rows):
        print("  ".join(v.ljust(w) if c == 0 else v.rjust(w) for c, (v, w) in enumerate(zip(row, widths))).rstrip())
        if n == 0:
            print("  ".join("-" * w for w in widths))


if __name__ == "__main__":
    main()
