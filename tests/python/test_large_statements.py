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
    import json, resource, sys, threading
    import zelvo

    job = json.load(sys.stdin)
    outcome = {}

    def peak_rss_kib():
        return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss

    def run():
        conn = zelvo.Database.in_memory().connect()
        conn.execute("CREATE NODE TABLE T(a INT64, b INT64, PRIMARY KEY(a))")
        conn.execute("CREATE REL TABLE R(FROM T TO T)")
        peak_before = peak_rss_kib()
        try:
            result = conn.execute(job["query"])
            outcome["rows"] = len(result)
        except RuntimeError as error:
            outcome["error"] = str(error)
        outcome["peak_growth_kib"] = peak_rss_kib() - peak_before

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
    + ["EXPLAIN " + chain(op, 500) for op in OPERATORS]
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


def pattern_elements(count):
    return "MATCH (a0:T)" + "".join(f"-[:R]->(a{i}:T)" for i in range(1, count)) + " RETURN a0"


# The text of a plan grows with the square of its depth: past 16 MiB it is
# refused, at a cost in proportion to the bound and not to the text it would
# have been (gigabytes for the largest of these).
PLAN_TOO_LARGE = "Query failed: Execution error: Plan text is too large: more than 16 MiB"
DEEP_PLANS = [
    set_clauses(2000),
    set_clauses(3000),
    match_clauses(2000),
    match_clauses(3000),
    pattern_elements(2000),
    pattern_elements(3000),
    "MATCH (n:T) WHERE " + " OR ".join(f"n.a = {i}" for i in range(3000)) + " RETURN n",
    chain("+", 3000),
    chain("OR", 20_000),
]


@pytest.mark.parametrize("form", ["EXPLAIN", "EXPLAIN LOGICAL", "EXPLAIN ANALYZE"])
@pytest.mark.parametrize("query", DEEP_PLANS, ids=lambda query: query[:30])
def test_plan_texts_past_the_bound_are_refused_in_bounded_memory(query, form):
    outcome = run_in_child(f"{form} {query}")
    assert outcome.get("error") == PLAN_TOO_LARGE, outcome
    assert outcome["peak_growth_kib"] < 256 * KIB, outcome


def test_plan_texts_within_the_bound_answer():
    outcome = run_in_child("EXPLAIN " + set_clauses(500))
    assert outcome["rows"] == 1, outcome
