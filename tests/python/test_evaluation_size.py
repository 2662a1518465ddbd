"""Expressions over the count row of DELETE and SET, over parameters and large literals."""

import subprocess
import sys

import pytest

ADDITIONS = " + ".join(["n"] * 91)


@pytest.fixture
def person_conn(conn):
    conn.execute("CREATE NODE TABLE Person(name STRING, age INT64, PRIMARY KEY(name))")
    return conn


@pytest.mark.parametrize(
    "query, rows",
    [
        (
            "MATCH (n:Person) DELETE n RETURN " + ", ".join(f"{ADDITIONS} AS c{i}" for i in range(150)),
            [{f"c{i}": 0.0 for i in range(150)}],
        ),
        ("MATCH (n:Person) RETURN " + ", ".join(f"{ADDITIONS} AS c{i}" for i in range(150)), []),
        (
            "MATCH (n:Person) SET n.age = $p RETURN coalesce($p, 'x') AS c, $p IS NULL AS p, [n] AS l, {a: n} AS m",
            [{"c": "x", "p": True, "l": None, "m": None}],
        ),
        ("MATCH (n:Person) RETURN coalesce($p, '" + "x" * 200_000 + "') AS c", []),
        ("MATCH (n:Person) DELETE n RETURN coalesce($p, '" + "x" * 200_000 + "') AS c", [{"c": "x" * 200_000}]),
    ],
)
def test_answers_over_count_rows_parameters_and_literals(person_conn, query, rows):
    assert person_conn.execute(query).to_list() == rows


# Runs in a child process, so that the peak resident memory of earlier tests
# does not count: prints by how much the peak rose above the resident memory
# (KiB) while the coalesce of a 200 KB literal ran. The bound holds for the
# AddressSanitizer module too, with or without its quarantine of freed
# memory: the statement's copies of the literal come to about 1 MiB there.
PEAK_GROWTH = r"""
import resource, zelvo

def status_kib(field):
    with open("/proc/self/status") as status:
        for line in status:
            if line.startswith(field + ":"):
                return int(line.split()[1])

conn = zelvo.Database.in_memory().connect()
conn.execute("CREATE NODE TABLE Person(name STRING, age INT64, PRIMARY KEY(name))")
text = "x" * 200_000
query = "MATCH (n:Person) RETURN coalesce($p, '" + text + "') AS c"
conn.execute(query.replace(text, "x"))  # warms caches and free lists
try:  # resets the peak to the resident memory now
    with open("/proc/self/clear_refs", "w") as clear_refs:
        clear_refs.write("5")
    before = status_kib("VmRSS")
except OSError:  # the peak so far stands
    before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
assert conn.execute(query).to_list() == []
print(status_kib("VmHWM") - before)
"""


def test_coalesce_of_a_large_literal_copies_it_once_per_row():
    child = subprocess.run([sys.executable, "-c", PEAK_GROWTH], capture_output=True, text=True)
    assert child.returncode == 0, child.stderr
    growth_mib = int(child.stdout) / 1024
    assert growth_mib < 32
