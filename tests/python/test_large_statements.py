"""Long and deeply nested statements on the main thread and on threads with
small stacks: they answer, or fail with the engine's error; nothing crashes.

Every statement runs in a child interpreter, so that a crash fails its test
instead of ending the run."""

import json
import os
import subprocess
import sys
import textwrap

import pytest

KIB = 1024

# Runs one statement in a fresh database, on the main thread or on a thread
# with the given stack, and prints the outcome as JSON.
CHILD = textwrap.dedent(
    """
    import json, sys, threading
    import zelvo

    job = json.load(sys.stdin)
    outcome = {}

    def run():
        conn = zelvo.Database.in_memory().connect()
        conn.execute("CREATE NODE TABLE T(a INT64, b INT64, PRIMARY KEY(a))")
        try:
            result = conn.execute(job["query"])
            outcome["rows"] = len(result)
        except RuntimeError as error:
            outcome["error"] = str(error)

    if job["stack"]:
        threading.stack_size(job["stack"])
        thread = threading.Thread(target=run)
        thread.start()
        thread.join()
    else:
        run()
    print(json.dumps(outcome))
    """
)


def run_in_child(query, stack=0):
    child = subprocess.run(
        [sys.executable, "-c", CHILD],
        input=json.dumps({"query": query, "stack": stack}),
        capture_output=True,
        text=True,
        env=os.environ.copy(),
        timeout=300,
        check=False,
    )
    assert child.returncode == 0, f"the child ended with {child.returncode}: {child.stderr[-2000:]}"
    return json.loads(child.stdout)


def answered_or_refused(outcome):
    return "rows" in outcome or outcome["error"].startswith("Query failed: ")


def chain(op, terms):
    return "MATCH (n:T) RETURN n.a" + f" {op} n.a" * (terms - 1)


def match_clauses(count):
    return "".join(f"MATCH (a{i}:T) " for i in range(count)) + "RETURN a0.a"


def set_clauses(count):
    return "MATCH (a:T)" + "".join(f" SET a.b = {i}" for i in range(count)) + " RETURN a"


OPERATORS = ["OR", "XOR", "AND", "=", "<>", "<", "+", "-", "*", "/", "%"]

# Flat statements that nest nothing answer on the main thread, and so do
# their plans.
LONG = (
    [chain(op, 1000) for op in OPERATORS]
    + ["EXPLAIN " + chain(op, 1000) for op in OPERATORS]
    + [
        "MATCH (n:T) WHERE " + " OR ".join(f"n.a = {i}" for i in range(1000)) + " RETURN n",
        "MATCH (n:T) RETURN 1" + " + 1" * 1000,
        "MATCH (n:T) RETURN n" + "".join(f".p{i}" for i in range(1000)),
        match_clauses(190),
        "EXPLAIN " + match_clauses(190),
        "PROFILE " + match_clauses(190),
        set_clauses(199),
        "EXPLAIN " + set_clauses(199),
        "PROFILE " + set_clauses(199),
    ]
)


@pytest.mark.parametrize("query", LONG, ids=lambda query: query[:40])
def test_long_statements_answer(query):
    outcome = run_in_child(query)
    assert "rows" in outcome, outcome


# Far longer statements, and the deepest ones the parser admits, on the main
# thread and on 256 KiB and 128 KiB threads (128 KiB is the default thread
# stack of musl systems).
HUGE = [
    chain("+", 100_000),
    chain("OR", 100_000),
    "EXPLAIN " + chain("AND", 100_000),
    "MATCH (n:T) RETURN n" + ".p" * 100_000,
    match_clauses(20_000),
    set_clauses(20_000),
    "PROFILE " + set_clauses(20_000),
    "MATCH (n:T) RETURN " + "NOT " * 99 + "n.a",
    "MATCH (n:T) RETURN " + "abs(" * 98 + "n.a" + ")" * 98,
    "MATCH (n:T) RETURN " + "(" * 100 + "n.a" + ")" * 100,
    "MATCH (n:T) WHERE " + "NOT (" * 50 + "n.a = 1" + ")" * 50 + " RETURN n",
]


@pytest.mark.parametrize("stack", [0, 256 * KIB, 128 * KIB], ids=["main", "256KiB", "128KiB"])
@pytest.mark.parametrize("query", HUGE, ids=lambda query: query[:30])
def test_huge_statements_answer_or_fail_cleanly(query, stack):
    outcome = run_in_child(query, stack)
    assert answered_or_refused(outcome), outcome
