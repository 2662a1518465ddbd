"""Expressions over the count row of DELETE and SET, over parameters and large literals."""

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
def test_answers(person_conn, query, rows):
    assert person_conn.execute(query).to_list() == rows
