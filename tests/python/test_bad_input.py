"""Bad, huge and random input: every call answers a result or raises a clean
Python exception, and memory stays bounded."""

import json
import os
import random
import re

import pytest

import zelvo

SCHEMA = [
    "CREATE NODE TABLE Person(id INT64, name STRING, age INT64, PRIMARY KEY(id))",
    "CREATE NODE TABLE City(name STRING, population INT64, PRIMARY KEY(name))",
    "CREATE REL TABLE LivesIn(FROM Person TO City, since DATE)",
]
CORPUS = os.path.join(os.path.dirname(__file__), "..", "data", "tck", "queries.json")


def resident_kib():
    with open("/proc/self/statm") as statm:
        return int(statm.read().split()[1]) * 4


def tck_queries():
    with open(CORPUS, encoding="utf-8") as corpus:
        return [entry["query"] for entry in json.load(corpus)]


@pytest.fixture
def schema_conn():
    conn = zelvo.Database.in_memory().connect()
    conn.execute_multi(";".join(SCHEMA))
    return conn


def answer(call, *args):
    """Runs one call: it answers a result, or fails with the engine's prefix."""
    try:
        result = call(*args)
    except RuntimeError as error:
        assert str(error).startswith("Query failed: "), str(error)
        return error
    for one in result if isinstance(result, list) else [result]:
        assert isinstance(one, zelvo.QueryResult)
        one.to_list(), one.columns, one.message, repr(one)
    return result


@pytest.mark.parametrize(
    "query",
    [
        "RETURN 'a\0b' AS s",
        "\0",
        "MATCH (p:Person) WHERE p.name = 'x\0' RETURN p.name",
        "MATCH (p:Pers\0on) RETURN p",
        "MATCH (p:Persön) RETURN p.名前",
        "CREATE NODE TABLE Ünïcode(名前 STRING, PRIMARY KEY(名前))",
        "RETURN '\U0001f600' + 'é' AS s",
        "`unterminated",
        "'unterminated",
        "/* unterminated",
        "RETURN 1.5e AS x",
        "RETURN 99999999999999999999999 AS x",
        "MATCH (a)-[*1..99999999999]->(b) RETURN a",
    ],
)
def test_odd_texts_answer_cleanly(schema_conn, query):
    answer(schema_conn.execute, query)
    answer(schema_conn.execute_multi, query + ";" + query)


def test_unencodable_texts_raise_unicode_errors(schema_conn, tmp_path):
    for text in ["RETURN '\udc80' AS s", "\ud800", "MATCH (p:Person) RETURN p.\udfff"]:
        for call in [schema_conn.execute, schema_conn.execute_multi]:
            with pytest.raises(UnicodeEncodeError):
                call(text)
    with pytest.raises(UnicodeEncodeError):
        zelvo.Database.open(str(tmp_path / "db\udc80"))
    assert os.listdir(tmp_path) == []


def test_engine_errors_keep_non_ascii_names(schema_conn):
    with pytest.raises(RuntimeError) as error:
        schema_conn.execute("MATCH (p:`Persön`) RETURN p")
    assert str(error.value) == "Query failed: Table not found: Persön"


def test_huge_texts_answer_cleanly(schema_conn):
    size = 50 * 1024 * 1024
    answer(schema_conn.execute, "RETURN '" + "a" * size + "' AS s")
    answer(schema_conn.execute, " " * size + "RETURN 1 AS one")
    answer(schema_conn.execute, "/*" + "*" * size + "*/ RETURN 1 AS one")
    # A chain of operators is parsed and bound whole: a megabyte of it.
    answer(schema_conn.execute, "RETURN " + "1 + " * (1024 * 1024 // 4) + "1 AS x")
    assert schema_conn.execute_multi(";" * 1_000_000) == []
    results = schema_conn.execute_multi("CALL db_version;" * 10_000)
    assert len(results) == 10_000


@pytest.mark.parametrize("open_, close", [("(", ")"), ("[", "]"), ("{a: ", "}"), ("- ", ""), ("NOT ", "")])
def test_deep_nesting_is_refused(schema_conn, open_, close):
    depth = 100_000
    with pytest.raises(RuntimeError) as error:
        schema_conn.execute("RETURN " + open_ * depth + "1" + close * depth + " AS x")
    assert str(error.value) == "Query failed: Parser error: Statement is nested too deeply"
    with pytest.raises(RuntimeError):
        schema_conn.execute_multi("RETURN 1 AS x;" + "RETURN " + open_ * depth)


def test_every_tck_query_answers_on_a_fresh_database():
    answered = failed = 0
    for query in tck_queries():
        conn = zelvo.Database.in_memory().connect()
        conn.execute_multi(";".join(SCHEMA))
        if isinstance(answer(conn.execute, query), RuntimeError):
            failed += 1
        else:
            answered += 1
    assert answered > 0 and failed > 0


def test_random_token_texts_answer_cleanly_and_memory_stays_flat(schema_conn):
    tokens = sorted(
        {
            token
            for query in tck_queries()
            for token in re.findall(r"\w+|'[^']*'|`[^`]*`|\.\.|<-|->|<>|<=|>=|\S", query)
        }
    )
    rng = random.Random(20261206)

    def texts(count):
        for _ in range(count):
            yield " ".join(rng.choice(tokens) for _ in range(rng.randint(1, 40)))

    for text in texts(500):  # warms caches and free lists
        answer(schema_conn.execute, text)
    resident = resident_kib()
    for text in texts(3000):
        answer(schema_conn.execute, text)
        answer(schema_conn.execute_multi, text + ";" + text)
    assert resident_kib() - resident < 16 * 1024
