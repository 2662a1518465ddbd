import gc
import os

import pytest

import zelvo


class Index:
    def __index__(self):
        return 1024


def test_in_memory_database(db):
    assert (db.path, db.is_in_memory, repr(db)) == (None, True, "Database(in_memory=True)")
    assert db.checkpoint() is None


def test_open_creates_missing_directories_and_writes_nothing(tmp_path):
    path = str(tmp_path / "a" / "b" / "db")
    db = zelvo.Database.open(path)
    assert (db.path, db.is_in_memory, repr(db)) == (path, False, f"Database(path={path})")
    assert db.checkpoint() is None
    assert os.listdir(path) == []


@pytest.mark.parametrize("size", [(), (0,), (2**64 - 1,), (Index(),)])
def test_open_accepts_buffer_pool_sizes(tmp_path, size):
    path = type("PathText", (str,), {})(tmp_path)  # str subclasses are accepted
    assert zelvo.Database.open(path, *size).path == str(tmp_path)
    assert zelvo.Database.open(buffer_pool_size=1, path=str(tmp_path)).path == str(tmp_path)


def test_same_path_opens_independent_databases(tmp_path):
    first = zelvo.Database.open(str(tmp_path)).connect()
    second = zelvo.Database.open(str(tmp_path)).connect()
    first.execute("CREATE NODE TABLE A(id INT64, PRIMARY KEY(id))")
    assert (len(first.execute("CALL show_tables")), len(second.execute("CALL show_tables"))) == (1, 0)


def test_open_reports_failures(tmp_path):
    blocker = tmp_path / "file"
    blocker.write_text("")
    assert zelvo.Database.open(str(blocker)).path == str(blocker)  # an existing path is used as it is
    with pytest.raises(RuntimeError) as error:
        zelvo.Database.open(str(blocker / "db"))
    assert str(error.value) == (
        "Failed to open database: Storage error: Failed to create database directory: Not a directory (os error 20)"
    )


def test_impossible_paths_fail_cleanly_and_create_nothing(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    with pytest.raises(RuntimeError) as error:
        zelvo.Database.open("db\0tail")  # never opened as "db"
    assert str(error.value) == (
        "Failed to open database: Storage error: Failed to create database directory: Invalid argument (os error 22)"
    )
    for path in ["/proc/zelvo-db", "/proc/self/zelvo-db/inner"]:
        with pytest.raises(RuntimeError) as error:
            zelvo.Database.open(path)
        assert str(error.value).startswith("Failed to open database: Storage error: ")
    assert os.listdir(tmp_path) == []
    zelvo.Database.open(str(tmp_path / "x" / "y"))
    assert [(os.path.relpath(d, tmp_path), sorted(ds), fs) for d, ds, fs in os.walk(tmp_path)] == [
        (".", ["x"], []),
        ("x", ["y"], []),
        (os.path.join("x", "y"), [], []),
    ]


@pytest.mark.parametrize(
    "args, kwargs, error, message",
    [
        ((), {}, TypeError, "Database.open() missing 1 required positional argument: 'path'"),
        ((5,), {}, TypeError, "argument 'path': 'int' object cannot be converted to 'PyString'"),
        ((b"db",), {}, TypeError, "argument 'path': 'bytes' object cannot be converted to 'PyString'"),
        (("\udcff",), {}, UnicodeEncodeError, None),
        (("db", -1), {}, OverflowError, "can't convert negative int to unsigned"),
        (("db", 2**64), {}, OverflowError, "int too big to convert"),
        (("db", "big"), {}, TypeError, "argument 'buffer_pool_size': 'str' object cannot be interpreted as an integer"),
        (("db", 1.5), {}, TypeError, "argument 'buffer_pool_size': 'float' object cannot be interpreted as an integer"),
        (("db", 1, 2), {}, TypeError, "Database.open() takes from 1 to 2 positional arguments but 3 were given"),
        (("db",), {"path": "db"}, TypeError, "Database.open() got multiple values for argument 'path'"),
        (("db",), {"size": 1}, TypeError, "Database.open() got an unexpected keyword argument 'size'"),
    ],
)
def test_open_argument_errors(tmp_path, monkeypatch, args, kwargs, error, message):
    monkeypatch.chdir(tmp_path)
    with pytest.raises(error) as raised:
        zelvo.Database.open(*args, **kwargs)
    assert message is None or str(raised.value) == message
    assert os.listdir(tmp_path) == []


def test_methods_without_arguments_reject_arguments(db):
    for call in [lambda: zelvo.Database.in_memory(1), lambda: db.connect(1), lambda: db.checkpoint(x=1)]:
        with pytest.raises(TypeError):
            call()
    with pytest.raises(AttributeError):
        db.path = "elsewhere"


def test_connections_outlive_their_database_and_share_its_catalog():
    db = zelvo.Database.in_memory()
    first, second = db.connect(), db.connect()
    del db
    gc.collect()
    first.execute("CREATE NODE TABLE A(id INT64, PRIMARY KEY(id))")
    assert second.execute("CALL show_tables").to_list() == [{"table_name": "A", "table_type": "NODE"}]
