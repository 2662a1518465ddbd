"""Many statements and conversions leave reference counts and memory flat."""

import sys

import zelvo


def resident_kib():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * 4


def exercise(db, conn):
    """One round of every kind of call, failing ones included."""
    result = conn.execute("CALL show_functions")
    result.to_list(), list(result), result[0], result[-1], repr(result), result.columns, result.message
    conn.execute_multi("CALL show_procedures; CALL db_schema; PROFILE MATCH (a:A) RETURN a.id")
    conn.execute("CREATE NODE TABLE T(id INT64, PRIMARY KEY(id))").message
    conn.execute("DROP TABLE T")
    for failing in [
        lambda: conn.execute("CALL nope"),
        lambda: conn.execute_multi("CALL show_tables; CALL nope"),
        lambda: conn.execute(1),
        lambda: conn.execute(query="a", x=1),
        lambda: result[10**6],
        lambda: conn.commit(),
        lambda: zelvo.Database.open("x", -1),
    ]:
        try:
            failing()
        except (RuntimeError, TypeError, ValueError, OverflowError):
            pass
    with conn:
        conn.in_transaction
    try:
        with conn:
            raise KeyError("rolled back")
    except KeyError:
        pass
    db.path, db.is_in_memory, repr(db)


def test_calls_leave_references_and_memory_flat(db, conn):
    conn.execute("CREATE NODE TABLE A(id INT64, PRIMARY KEY(id))")
    watched = [db, conn, zelvo.QueryResult, zelvo.QueryResultIterator, zelvo.Connection, zelvo.Database]
    for _ in range(50):  # warms caches and free lists
        exercise(db, conn)
    counts = [sys.getrefcount(obj) for obj in watched]
    blocks, resident = sys.getallocatedblocks(), resident_kib()
    for _ in range(2000):
        exercise(db, conn)
    assert [sys.getrefcount(obj) for obj in watched] == counts
    assert sys.getallocatedblocks() - blocks < 100
    assert resident_kib() - resident < 4 * 1024


def test_dropped_connections_are_released(db):
    connect = db.connect
    for _ in range(10_000):  # warms the allocator's caches
        connect()
    resident = resident_kib()
    for _ in range(300_000):
        connect()
    assert resident_kib() - resident < 4 * 1024
