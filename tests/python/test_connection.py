import pytest

CREATE_A = "CREATE NODE TABLE A(id INT64, PRIMARY KEY(id))"
CREATE_B = "CREATE NODE TABLE B(id INT64, PRIMARY KEY(id))"
NO_TRANSACTION = "Transaction error: No transaction in progress"
ALREADY_OPEN = "Transaction error: Transaction already in progress"


def table_names(conn):
    return [row["table_name"] for row in conn.execute("CALL show_tables")]


def test_schema_statement_answers_with_a_message(conn):
    result = conn.execute(CREATE_A)
    assert (result.message, result.columns, len(result), result.is_empty(), bool(result)) == (
        "Created node table 'A'", [], 0, True, False
    )
    assert repr(result) == "QueryResult(message=\"Created node table 'A'\")"
    query = conn.execute("MATCH (a:A) RETURN a.id AS id")
    assert (query.message, query.columns, query.to_list()) == (None, ["id"], [])


@pytest.mark.parametrize(
    "query, message",
    [
        ("CALL nope", "Query failed: Execution error: Unknown procedure: nope"),
        ("MATCH (p:Person) RETURN p", "Query failed: Table not found: Person"),
        (CREATE_A, "Query failed: Catalog error: Node table 'A' already exists"),
    ],
)
def test_execute_failures_raise_runtime_error(conn, query, message):
    conn.execute(CREATE_A)
    with pytest.raises(RuntimeError) as error:
        conn.execute(query)
    assert str(error.value) == message


@pytest.mark.parametrize(
    "method, args, kwargs, message",
    [
        ("execute", (), {}, "Connection.execute() missing 1 required positional argument: 'query'"),
        ("execute", ("a", "b"), {}, "Connection.execute() takes 1 positional argument but 2 were given"),
        ("execute", ("a",), {"query": "b"}, "Connection.execute() got multiple values for argument 'query'"),
        ("execute", (), {"x": "a"}, "Connection.execute() got an unexpected keyword argument 'x'"),
        ("execute", (None,), {}, "argument 'query': 'NoneType' object cannot be converted to 'PyString'"),
        ("execute_multi", (), {}, "Connection.execute_multi() missing 1 required positional argument: 'queries'"),
        ("execute_multi", ([],), {}, "argument 'queries': 'list' object cannot be converted to 'PyString'"),
        ("__exit__", (1, 2, 3, 4), {}, "Connection.__exit__() takes from 0 to 3 positional arguments but 4 were given"),
        ("__exit__", (), {"exc_val": 1}, "Connection.__exit__() got an unexpected keyword argument 'exc_val'"),
    ],
)
def test_argument_errors(conn, method, args, kwargs, message):
    with pytest.raises(TypeError) as error:
        getattr(conn, method)(*args, **kwargs)
    assert str(error.value) == message


def test_execute_multi_runs_statements_in_order(conn):
    results = conn.execute_multi(queries=f" {CREATE_A} ;\n ; CALL show_tables;")
    assert [r.message for r in results] == ["Created node table 'A'", None]
    assert results[1].to_list() == [{"table_name": "A", "table_type": "NODE"}]
    for script in ["", "  ", " ; ;\n\t;"]:
        assert conn.execute_multi(script) == []


def test_execute_multi_stops_at_the_first_failure(conn):
    with pytest.raises(RuntimeError, match="^Query failed: Execution error: Unknown procedure: nope$"):
        conn.execute_multi(f"{CREATE_A}; CALL nope; {CREATE_B}")
    assert table_names(conn) == ["A"]


def test_transaction_methods(db, conn):
    assert conn.begin() is None
    assert conn.in_transaction is True
    db.connect().begin()  # other connections are independent
    with pytest.raises(RuntimeError, match=f"^Failed to begin transaction: {ALREADY_OPEN}$"):
        conn.begin()
    assert conn.commit() is None
    assert conn.in_transaction is False
    conn.begin()
    assert conn.rollback() is None
    assert conn.in_transaction is False
    for method in ["commit", "rollback"]:
        with pytest.raises(RuntimeError, match=f"^Failed to {method} transaction: {NO_TRANSACTION}$"):
            getattr(conn, method)()
    assert conn.execute("BEGIN TRANSACTION").message == "Transaction started"
    assert conn.in_transaction is False  # the statement only answers


def test_context_manager(conn):
    with conn as entered:
        assert entered is conn and conn.in_transaction
        conn.execute(CREATE_A)
    assert not conn.in_transaction
    assert table_names(conn) == ["A"]
    with pytest.raises(ValueError, match="inside"):
        with conn:
            raise ValueError("inside")
    assert not conn.in_transaction
    conn.begin()
    assert conn.__exit__(exc_type=KeyError) is False
    assert not conn.in_transaction


def test_context_manager_exit_without_transaction_raises(conn):
    with pytest.raises(RuntimeError, match=f"^Failed to commit: {NO_TRANSACTION}$"):
        with conn:
            conn.commit()
    with pytest.raises(RuntimeError, match=f"^Failed to rollback: {NO_TRANSACTION}$") as error:
        with conn:
            conn.rollback()
            raise ValueError("replaced")
    assert isinstance(error.value.__context__, ValueError)
    conn.begin()
    with pytest.raises(RuntimeError, match=f"^Failed to begin transaction: {ALREADY_OPEN}$"):
        with conn:
            pass
    assert conn.in_transaction
