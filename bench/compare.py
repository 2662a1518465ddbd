"""Per-call latency of Zelvo's Connection.execute next to Python's sqlite3 (in memory).

Five pairs of analogous statements run in one process, the contenders of a
pair alternating in small batches (the order rotating every round) so that
both see the same machine state. A batch is timed as a whole with
time.perf_counter_ns and divided by its size; each figure is the median over
the batches after a warm-up. Zelvo's storage holds no rows, so sqlite3's
tables stay empty too: both sides answer the queries with no rows. sqlite3
runs in autocommit mode (isolation_level=None).

Run: PYTHONPATH=build-bench/python /usr/bin/python3 bench/compare.py
"""

import gc
import sqlite3
import statistics
import sys
import time

import zelvo

MATCH = "MATCH (p:Person) WHERE p.age > {} RETURN p.name LIMIT 10"
SELECT = "SELECT name FROM person WHERE age > {} LIMIT 10"
PERSON_CYPHER = "CREATE NODE TABLE Person(name STRING, age INT64, PRIMARY KEY(name))"
PERSON_SQL = "CREATE TABLE person(name TEXT, age INTEGER)"


class Contender:
    """One side of a pair: `call(i)` makes the i-th call; `prepare(i)`, when
    given, runs untimed before it (for work that must start afresh)."""

    def __init__(self, label, call, prepare=None):
        self.label = label
        self.call = call
        self.prepare = prepare
        self.next_index = 0
        self.samples = []


def measure(contenders, rounds, batch, warmup_rounds):
    """Median nanoseconds per call of each contender, interleaved by batch."""
    clock = time.perf_counter_ns
    gc.collect()
    gc.disable()
    try:
        for round_number in range(warmup_rounds + rounds):
            shift = round_number % len(contenders)
            for contender in contenders[shift:] + contenders[:shift]:
                start = contender.next_index
                contender.next_index += batch
                if contender.prepare is not None:
                    contender.prepare(start)
                call = contender.call
                began = clock()
                for i in range(start, start + batch):
                    call(i)
                elapsed = clock() - began
                if round_number >= warmup_rounds:
                    contender.samples.append(elapsed / batch)
    finally:
        gc.enable()
    return [statistics.median(c.samples) for c in contenders]


def zelvo_connection(*statements):
    conn = zelvo.Database.in_memory().connect()
    for statement in statements:
        conn.execute(statement)
    return conn


def sqlite_connection(*statements):
    conn = sqlite3.connect(":memory:", isolation_level=None)
    for statement in statements:
        conn.execute(statement)
    return conn


# Each pair returns rows of (pair, zelvo label, zelvo ns, sqlite3 label, sqlite3 ns, target ratio or None).


def pair_match():
    rounds, batch, warmup = 3000, 10, 200
    count = (rounds + warmup) * batch
    zc = zelvo_connection(PERSON_CYPHER)
    sc = sqlite_connection(PERSON_SQL)
    # Varying literals: a text never seen before on every call.
    match_texts = [MATCH.format(30 + i) for i in range(count)]
    select_texts = [SELECT.format(30 + i) for i in range(count)]
    cached_text = SELECT.format(30)
    parameter_text = SELECT.format("?")
    contenders = [
        Contender("execute, varying literal", lambda i: zc.execute(match_texts[i])),
        Contender("same text (statement cache)", lambda i: sc.execute(cached_text).fetchall()),
        Contender("bound parameter (statement cache)", lambda i: sc.execute(parameter_text, (30 + i,)).fetchall()),
        Contender("varying literal (fresh prepare)", lambda i: sc.execute(select_texts[i]).fetchall()),
    ]
    z, cached, parameter, fresh = measure(contenders, rounds, batch, warmup)
    label = contenders[0].label
    return [
        ("1 MATCH / SELECT", label, z, contenders[3].label, fresh, 0.5),
        ("", label, z, contenders[1].label, cached, 1.5),
        ("", label, z, contenders[2].label, parameter, None),
    ]


def pair_create():
    rounds, batch, warmup = 190, 10, 10  # 2,000 creates on each side
    zc = zelvo_connection()
    sc = sqlite_connection()
    count = (rounds + warmup) * batch
    cypher = [f"CREATE NODE TABLE T{i}(id INT64, name STRING, PRIMARY KEY(id))" for i in range(count)]
    sql = [f"CREATE TABLE t{i}(id INTEGER PRIMARY KEY, name TEXT)" for i in range(count)]
    contenders = [
        Contender("CREATE NODE TABLE, fresh name", lambda i: zc.execute(cypher[i])),
        Contender("CREATE TABLE, fresh name", lambda i: sc.execute(sql[i])),
    ]
    z, s = measure(contenders, rounds, batch, warmup)
    return [("2 CREATE", contenders[0].label, z, contenders[1].label, s, 0.01)]


def pair_show_tables():
    rounds, batch, warmup = 2000, 10, 100
    zc = zelvo_connection(*(f"CREATE NODE TABLE T{i}(id INT64, name STRING, PRIMARY KEY(id))" for i in range(100)))
    sc = sqlite_connection(*(f"CREATE TABLE t{i}(id INTEGER PRIMARY KEY, name TEXT)" for i in range(100)))
    contenders = [
        Contender("CALL show_tables .to_list()", lambda i: zc.execute("CALL show_tables").to_list()),
        Contender("sqlite_master .fetchall()", lambda i: sc.execute("SELECT name, type FROM sqlite_master").fetchall()),
    ]
    z, s = measure(contenders, rounds, batch, warmup)
    return [("3 list 100 tables", contenders[0].label, z, contenders[1].label, s, 1.0)]


def script_statements(cypher):
    """1,000 statements: every fifth creates a table, the four after it query it."""
    statements = []
    for k in range(200):
        if cypher:
            statements.append(f"CREATE NODE TABLE S{k}(id INT64, name STRING, PRIMARY KEY(id))")
            statements += [f"MATCH (n:S{k}) WHERE n.id > {j} RETURN n.name LIMIT 10" for j in range(4)]
        else:
            statements.append(f"CREATE TABLE s{k}(id INTEGER PRIMARY KEY, name TEXT)")
            statements += [f"SELECT name FROM s{k} WHERE id > {j} LIMIT 10" for j in range(4)]
    return ";\n".join(statements) + ";"


def pair_script():
    rounds, batch, warmup = 60, 1, 5
    cypher = script_statements(cypher=True)
    sql = script_statements(cypher=False)
    state = {}

    def fresh_zelvo(_):
        state["z"] = zelvo.Database.in_memory().connect()

    def fresh_sqlite(_):
        old = state.pop("s", None)
        if old is not None:
            old.close()
        state["s"] = sqlite3.connect(":memory:", isolation_level=None)

    contenders = [
        Contender("execute_multi, fresh database", lambda i: state["z"].execute_multi(cypher), fresh_zelvo),
        Contender("executescript, fresh database", lambda i: state["s"].executescript(sql), fresh_sqlite),
    ]
    z, s = measure(contenders, rounds, batch, warmup)
    return [("4 script of 1,000", contenders[0].label, z, contenders[1].label, s, 1.0)]


def pair_explain():
    rounds, batch, warmup = 3000, 10, 200
    zc = zelvo_connection(PERSON_CYPHER)
    sc = sqlite_connection(PERSON_SQL)
    explain = "EXPLAIN " + MATCH.format(30)
    query_plan = "EXPLAIN QUERY PLAN " + SELECT.format(30)
    contenders = [
        Contender("EXPLAIN .to_list()", lambda i: zc.execute(explain).to_list()),
        Contender("EXPLAIN QUERY PLAN .fetchall()", lambda i: sc.execute(query_plan).fetchall()),
    ]
    z, s = measure(contenders, rounds, batch, warmup)
    return [("5 EXPLAIN", contenders[0].label, z, contenders[1].label, s, 1.0)]


def format_ns(ns):
    return f"{ns:,.0f}"


def main():
    print(f"Python {sys.version.split()[0]}, SQLite {sqlite3.sqlite_version}, Zelvo {zelvo.__version__}")
    print("Medians of per-call latency in ns; ratio = Zelvo / sqlite3; target: ratio at most that.\n")
    header = ("pair", "Zelvo", "Zelvo ns", "sqlite3", "sqlite3 ns", "ratio", "target", "")
    rows = []
    for pair in (pair_match, pair_create, pair_show_tables, pair_script, pair_explain):
        for name, z_label, z, s_label, s, target in pair():
            ratio = z / s
            verdict = "" if target is None else ("pass" if ratio <= target else "miss")
            rows.append(
                (
                    name,
                    z_label,
                    format_ns(z),
                    s_label,
                    format_ns(s),
                    f"{ratio:.3f}",
                    "" if target is None else f"<= {target:g}",
                    verdict,
                )
            )
    widths = [max(len(str(row[c])) for row in [header, *rows]) for c in range(len(header))]
    numeric = {2, 4, 5}

    def line(row):
        cells = [str(v).rjust(w) if c in numeric else str(v).ljust(w) for c, (v, w) in enumerate(zip(row, widths))]
        return "  ".join(cells).rstrip()

    print(line(header))
    print("  ".join("-" * w for w in widths))
    for row in rows:
        print(line(row))


if __name__ == "__main__":
    main()
