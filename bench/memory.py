"""Memory held by Zelvo over long runs, and the cost of CREATE in a large catalog.

Six measurements: the first four in one process, in this order (the peak RSS
only grows), the last two each in a fresh child interpreter, where no memory
freed by the others is there to be reused and hide their growth:
1. 1,000,000 statements on one connection (the MATCH of compare.py with a
   varying literal, results dropped): RSS after a warm-up and at the end.
2. 10,000 connections on one database, all kept alive: RSS growth per
   connection.
3. 300,000 connections on one database, each dropped at once: RSS growth
   after a warm-up.
4. A catalog of 100,000 node tables: RSS growth, and the time per CREATE
   around 1,000 tables vs from 100,000 tables on (medians of small batches,
   the two sizes alternating).
5. 200,000 connections each dropped with a transaction open (begin, then
   drop): RSS growth after a warm-up.
6. 300,000 connections on one database held, then all dropped: the growth of
   the heap in use and of RSS while held, what of each comes back at once
   when they are dropped, and the share of the heap that does.

Current RSS comes from /proc/self/statm, the peak from resource.getrusage,
the heap in use (blocks of the heap plus blocks mapped apart) from glibc's
mallinfo2. Freed blocks between blocks still in use stay resident for reuse,
so RSS shows little of what a drop gives back to the allocator.
Run: PYTHONPATH=build-bench/python /usr/bin/python3 bench/memory.py
"""

import ctypes
import gc
import os
import resource
import statistics
import subprocess
import sys
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
BEGIN_AND_DROP = 200_000
BEGIN_AND_DROP_WARMUP = 10_000
HELD_THEN_DROPPED = 300_000
TABLES = 100_000
CREATE_BATCH = 20
CREATE_ROUNDS = 20


def rss_bytes():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * PAGE_SIZE


class MallInfo2(ctypes.Structure):
    _fields_ = [(name, ctypes.c_size_t)
                for name in "arena ordblks smblks hblks hblkhd usmblks fsmblks uordblks fordblks keepcost".split()]


LIBC = ctypes.CDLL(None)
LIBC.mallinfo2.restype = MallInfo2


def heap_bytes():
    info = LIBC.mallinfo2()
    return info.uordblks + info.hblkhd


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


def begin_and_drop():
    connect = zelvo.Database.in_memory().connect
    after_warmup, at_end, seconds = growth_after_warmup(lambda i: connect().begin(), BEGIN_AND_DROP_WARMUP,
                                                        BEGIN_AND_DROP)
    print(f"5. {BEGIN_AND_DROP:,} connections dropped in a transaction in {seconds:.1f} s: RSS {mib(after_warmup)} "
          f"after a warm-up of {BEGIN_AND_DROP_WARMUP:,}, {mib(at_end)} at the end")
    return at_end - after_warmup


def held_then_dropped():
    db = zelvo.Database.in_memory()
    warm = [db.connect() for _ in range(1_000)]
    held = [None] * HELD_THEN_DROPPED  # the list itself is allocated before the baseline
    del warm
    gc.collect()
    heap_before, rss_before = heap_bytes(), rss_bytes()
    for i in range(HELD_THEN_DROPPED):
        held[i] = db.connect()
    heap_held, rss_held = heap_bytes(), rss_bytes()
    for i in range(HELD_THEN_DROPPED):
        held[i] = None
    heap_dropped, rss_dropped = heap_bytes(), rss_bytes()
    returned = (heap_held - heap_dropped) / (heap_held - heap_before)
    print(f"6. {HELD_THEN_DROPPED:,} connections held, then dropped: heap in use grew by "
          f"{mib(heap_held - heap_before)}, {mib(heap_held - heap_dropped)} back at once ({returned:.1%}); RSS grew by "
          f"{mib(rss_held - rss_before)}, {mib(rss_held - rss_dropped)} back at once")
    return returned


# The measurements run in a child interpreter of their own: the script is
# run again with the name, prints the measurement's lines and, last, its
# value. (They print no peak RSS: a child's starts at its parent's.)
IN_CHILD = {"begin_and_drop": begin_and_drop, "held_then_dropped": held_then_dropped}


def in_child(name):
    child = subprocess.run([sys.executable, __file__, name], capture_output=True, text=True, check=True)
    *lines, value = child.stdout.splitlines()
    print("\n".join(lines))
    return float(value)


def main():
    results = [
        (f"RSS growth over {STATEMENTS:,} statements", statements_on_one_connection(), "<", 1 << 20, mib),
        ("memory per connection", connections_on_one_database(), "<", 2048, lambda b: f"{b:,.0f} B"),
        (f"RSS growth over {DROPPED_CONNECTIONS:,} dropped connections", dropped_connections(), "<", 4 << 20, mib),
        (f"CREATE at {TABLES:,} tables / at 1,000", large_catalog(), "<=", 1.5, lambda r: f"{r:.2f}x"),
        (f"RSS growth over {BEGIN_AND_DROP:,} dropped in a transaction", in_child("begin_and_drop"), "<", 4 << 20,
         mib),
        (f"heap of {HELD_THEN_DROPPED:,} held connections back when dropped", in_child("held_then_dropped"), ">=",
         0.75, lambda r: f"{r:.1%}"),
    ]
    print()
    rows = [("measurement", "measured", "target", "")]
    for name, measured, relation, target, show in results:
        met = {"<": measured < target, "<=": measured <= target, ">=": measured >= target}[relation]
        rows.append((name, show(measured), f"{relation} {show(target)}", "pass" if met else "miss"))
    widths = [max(len(row[c]) for row in rows) for c in range(4)]
    for n, row in enumerate(rows):
        print("  ".join(v.ljust(w) if c == 0 else v.rjust(w) for c, (v, w) in enumerate(zip(row, widths))).rstrip())
        if n == 0:
            print("  ".join("-" * w for w in widths))


if __name__ == "__main__":
    if len(sys.argv) > 1:
        print(IN_CHILD[sys.argv[1]]())
    else:
        main()
