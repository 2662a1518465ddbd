import math
import sys

import pytest

import zelvo

PROCEDURES = [
    "table_info", "show_tables", "show_node_tables", "show_rel_tables", "show_indexes", "show_functions",
    "show_procedures", "show_connection", "db_version", "db_schema", "storage_info", "current_setting",
    "node_properties", "rel_properties",
]  # fmt: skip


class Index:
    def __index__(self):
        return -2


@pytest.fixture
def procedures(conn):
    return conn.execute("CALL show_procedures")


@pytest.fixture
def empty(conn):
    return conn.execute("CALL show_indexes")


def test_rows_by_index(procedures):
    assert (len(procedures), bool(procedures), procedures.is_empty()) == (14, True, False)
    assert procedures.columns == ["name", "description"]
    assert procedures[0] == {"name": "table_info", "description": "Show table schema information"}
    assert [procedures[i]["name"] for i in range(14)] == PROCEDURES
    assert [procedures[i]["name"] for i in range(-14, 0)] == PROCEDURES
    assert procedures[True]["name"] == "show_tables"
    assert procedures[Index()]["name"] == "node_properties"


@pytest.mark.parametrize(
    "index, error, message",
    [
        (14, ValueError, "Index out of range"),
        (-15, ValueError, "Index out of range"),
        (-(2**63), ValueError, "Index out of range"),
        (2**63, OverflowError, None),
        ("name", TypeError, "argument 'idx': 'str' object cannot be interpreted as an integer"),
        (slice(0, 2), TypeError, "argument 'idx': 'slice' object cannot be interpreted as an integer"),
    ],
)
def test_bad_indices(procedures, index, error, message):
    with pytest.raises(error) as raised:
        procedures[index]
    assert message is None or str(raised.value) == message


def test_empty_result(empty):
    assert empty.columns == ["name", "table", "columns", "unique"]
    assert (len(empty), bool(empty), empty.is_empty(), empty.to_list(), list(empty)) == (0, False, True, [], [])
    for index in [0, -1]:
        with pytest.raises(ValueError, match="^Index out of range$"):
            empty[index]
    assert repr(empty) == 'QueryResult(columns=["name", "table", "columns", "unique"], rows=0)'


def test_iteration(procedures):
    iterator = iter(procedures)
    assert isinstance(iterator, zelvo.QueryResultIterator) and iter(iterator) is iterator
    assert [row["name"] for row in iterator] == PROCEDURES
    for _ in range(3):
        with pytest.raises(StopIteration):
            next(iterator)
    assert list(procedures) == procedures.to_list()  # a new iterator starts over


def test_every_access_builds_fresh_objects(procedures):
    first, second = procedures.to_list(), procedures.to_list()
    assert first == second and first[0] is not second[0]
    first[0]["name"] = "changed"
    procedures.columns.append("extra")
    assert procedures.to_list() == second and procedures.columns == ["name", "description"]
    assert procedures[0] is not procedures[0]


@pytest.mark.parametrize(
    "name, shown",
    [
        ('quote " and backslash \\', '"quote \\" and backslash \\\\"'),
        ("tab\tcr\rlf\n", '"tab\\tcr\\rlf\\n"'),
        ("nul\x00 and \x01 and \x7f", '"nul\\0 and \\u{1} and \\u{7f}"'),
        ("single ' stays", "\"single ' stays\""),
        ("é \u0085 \u200b", '"é \\u{85} \\u{200b}"'),
    ],
)
def test_repr_escapes(conn, name, shown):
    # current_setting names its one column after its argument.
    quoted = name.replace("\\", "\\\\").replace("'", "\\'")
    columns = conn.execute(f"CALL current_setting('{quoted}')")
    assert columns.columns == [name]
    assert repr(columns) == f"QueryResult(columns=[{shown}], rows=1)"
    message = conn.execute(f"CREATE NODE TABLE `{name}`(id INT64, PRIMARY KEY(id))")
    assert repr(message) == f"QueryResult(message=\"Created node table '{shown[1:-1]}'\")"


def test_profile_and_explain_rows(conn):
    conn.execute("CREATE NODE TABLE A(id INT64, PRIMARY KEY(id))")
    (row,) = conn.execute("PROFILE MATCH (a:A) RETURN a.id").to_list()
    assert list(row) == ["rows", "time_ms"]
    assert row["rows"] == 0 and isinstance(row["rows"], int)
    assert isinstance(row["time_ms"], float) and math.isfinite(row["time_ms"])
    plan = conn.execute("EXPLAIN MATCH (a:A) RETURN a.id")
    assert plan.columns == ["Plan"]
    assert plan[0]["Plan"].startswith("Physical Plan:\nProject {\n")


def test_to_df(procedures, empty):
    pandas = pytest.importorskip("pandas")
    frame = procedures.to_df()
    assert isinstance(frame, pandas.DataFrame)
    assert list(frame.columns) == ["name", "description"]
    assert frame["name"].tolist() == PROCEDURES
    assert empty.to_df().empty


def test_to_df_without_pandas_raises_the_import_error(procedures, monkeypatch):
    monkeypatch.setitem(sys.modules, "pandas", None)
    with pytest.raises(ImportError):
        procedures.to_df()
