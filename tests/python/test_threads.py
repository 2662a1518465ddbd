"""Many Python threads on one database: no crash, no deadlock, and the
catalog agrees with what the threads did."""

import threading

import zelvo

THREADS = 16
TABLES_PER_THREAD = 40
SHARED_THREADS = 4


def run_all(workers):
    barrier = threading.Barrier(len(workers))
    failures = []

    def run(work):
        try:
            barrier.wait()
            work()
        except BaseException as error:  # reported by the main thread
            failures.append(error)

    threads = [threading.Thread(target=run, args=(work,)) for work in workers]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join(timeout=120)
    assert not any(thread.is_alive() for thread in threads), "a thread hung"
    assert failures == []


def test_threads_create_drop_and_query_consistently():
    db = zelvo.Database.in_memory()
    shared = db.connect()

    def own_connection(number):
        def work():
            conn = db.connect()
            for k in range(TABLES_PER_THREAD):
                name = f"T{number}_{k}"
                assert conn.execute(f"CREATE NODE TABLE {name}(id INT64, PRIMARY KEY(id))").message == (
                    f"Created node table '{name}'"
                )
                assert conn.execute(f"MATCH (n:{name}) WHERE n.id > {k} RETURN n.id").to_list() == []
                conn.execute("CALL show_tables").to_list()
                if k % 2:
                    assert conn.execute(f"DROP TABLE {name}").message == f"Dropped node table '{name}'"

        return work

    def sharing_connection():
        for _ in range(TABLES_PER_THREAD):
            shared.execute_multi("CALL show_tables; CALL db_schema; EXPLAIN MATCH (a) RETURN a")
            try:
                with shared:
                    shared.execute("CALL show_connection")
            except RuntimeError as error:  # another thread's transaction is open
                assert str(error).startswith(("Failed to begin transaction: ", "Failed to commit: ")), str(error)

    run_all([own_connection(n) for n in range(THREADS)] + [sharing_connection] * SHARED_THREADS)

    expected = sorted(f"T{n}_{k}" for n in range(THREADS) for k in range(0, TABLES_PER_THREAD, 2))
    listed = sorted(row["table_name"] for row in shared.execute("CALL show_tables"))
    assert listed == expected
    assert not shared.in_transaction
