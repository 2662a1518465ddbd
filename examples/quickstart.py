"""Zelvo quickstart: open a database, define a graph schema, look at it and query it.

Run it with the built package on the path:
    PYTHONPATH=build/release/python python3 examples/quickstart.py
or, after `pip install .`, simply:
    python3 examples/quickstart.py
"""

import os
import tempfile

import zelvo


def heading(text):
    print(f"\n=== {text}")


def print_table(result):
    """Prints a QueryResult as an aligned table."""
    rows = [[str(value) for value in row.values()] for row in result]
    widths = [max([len(column)] + [len(row[i]) for row in rows]) for i, column in enumerate(result.columns)]
    print(("  " + " | ".join(column.ljust(width) for column, width in zip(result.columns, widths))).rstrip())
    print("  " + "-+-".join("-" * width for width in widths))
    for row in rows:
        print(("  " + " | ".join(value.ljust(width) for value, width in zip(row, widths))).rstrip())
    print(f"  ({len(result)} row{'' if len(result) == 1 else 's'})")


def main():
    print(f"Zelvo {zelvo.__version__}")

    heading("Open a database in memory and connect")
    db = zelvo.Database.in_memory()
    conn = db.connect()
    print(f"  {db!r}, in memory: {db.is_in_memory}")

    heading("Create node and relationship tables")
    for statement in [
        "CREATE NODE TABLE Person(name STRING, age INT64, PRIMARY KEY(name))",
        "CREATE NODE TABLE City(name STRING, population INT64, PRIMARY KEY(name))",
        "CREATE REL TABLE LivesIn(FROM Person TO City, since INT64)",
    ]:
        print(f"  {statement}\n    -> {conn.execute(statement).message}")

    heading("CALL show_tables: the tables of the catalog")
    print_table(conn.execute("CALL show_tables"))

    heading("CALL table_info('Person'): the columns of one table")
    print_table(conn.execute("CALL table_info('Person')"))

    heading("CALL db_schema: the schema as CREATE statements")
    for row in conn.execute("CALL db_schema"):
        print(f"  {row['definition']}")

    heading("A query")
    result = conn.execute("MATCH (p:Person) WHERE p.age > 30 RETURN p.name AS name, p.age AS age")
    print(f"  {result!r}")
    print("  The storage layer keeps no rows, so queries find none; the schema above is all there is.")

    heading("EXPLAIN: the plan the optimizer chose")
    plan = conn.execute("EXPLAIN MATCH (p:Person) WHERE p.age > 30 RETURN p.name")[0]["Plan"]
    print("\n".join("  " + line for line in plan.splitlines()))

    heading("PROFILE: rows produced and time taken")
    profile = conn.execute("PROFILE MATCH (p:Person) RETURN p.name")[0]
    print(f"  rows: {profile['rows']}, time: {profile['time_ms']:.3f} ms")

    heading("A transaction as a context manager")
    with conn:
        print(f"  inside the with-block, in_transaction = {conn.in_transaction}")
    print(f"  after it (committed),   in_transaction = {conn.in_transaction}")
    try:
        with conn:
            raise ValueError("something went wrong")
    except ValueError as error:
        print(f"  an exception left the block: rolled back, then raised on: {error!r}")

    heading("Several statements at once, and errors")
    for result in conn.execute_multi("CALL db_version; CALL show_connection"):
        print_table(result)
    try:
        conn.execute("MATCH (x:Planet) RETURN x")
    except RuntimeError as error:
        print(f"  RuntimeError: {error}")

    heading("A procedure's rows as a pandas DataFrame")
    try:
        frame = conn.execute("CALL show_procedures").to_df()
    except ImportError:
        print("  pandas is not installed; to_list() gives the same rows as dicts.")
    else:
        print("\n".join("  " + line for line in frame.to_string().splitlines()))

    heading("A database on a path")
    with tempfile.TemporaryDirectory() as directory:
        path = os.path.join(directory, "graphs", "people")
        on_disk = zelvo.Database.open(path)
        on_disk.connect().execute("CREATE NODE TABLE Person(name STRING, PRIMARY KEY(name))")
        on_disk.checkpoint()
        print(f"  {on_disk!r}")
        print(f"  directory created: {os.path.isdir(path)}, files in it: {len(os.listdir(path))}")
        print("  The catalog lives in memory: nothing is written to the directory.")


if __name__ == "__main__":
    main()
