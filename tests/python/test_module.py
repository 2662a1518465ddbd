import ast
import importlib
import inspect
import sys
from pathlib import Path

import pytest

import zelvo
from zelvo import _zelvo

CLASSES = [zelvo.Database, zelvo.Connection, zelvo.QueryResult, zelvo.QueryResultIterator]
D, C, R = zelvo.Database, zelvo.Connection, zelvo.QueryResult

# member: (text signature or None for plain docs, first line of the doc)
DOCS = {
    D: (None, "Zelvo embedded graph database."),
    C: (None, "A connection to the Zelvo database."),
    R: (None, "Query result from executing a Cypher query."),
    zelvo.QueryResultIterator: (None, "Iterator over query result rows."),
    D.open: ("(path, buffer_pool_size=268435456)", "Open a database at the specified path."),
    D.in_memory: ("()", "Create an in-memory database."),
    D.connect: ("($self)", "Create a connection to the database."),
    D.checkpoint: ("($self)", "Checkpoint the database (flush all data to disk)."),
    D.path: (None, "Get the database path, or None for in-memory databases."),
    D.is_in_memory: (None, "Check if this is an in-memory database."),
    C.execute: ("(query)", "Execute a Cypher query."),
    C.execute_multi: ("(queries)", "Execute multiple Cypher statements separated by semicolons."),
    C.begin: ("($self)", "Begin a new transaction."),
    C.commit: ("($self)", "Commit the current transaction."),
    C.rollback: ("($self)", "Rollback the current transaction."),
    C.in_transaction: (None, "Check if a transaction is in progress."),
    C.__enter__: ("($self)", "Use connection as a context manager for transactions."),
    C.__exit__: (
        "($self, exc_type=None, _exc_val=None, _exc_tb=None)",
        "Exit context manager - commit on success, rollback on exception.",
    ),
    R.columns: (None, "Get the column names."),
    R.message: (None, "Get the result message (for DDL/DML operations)."),
    R.is_empty: ("($self)", "Check if the result is empty."),
    R.to_list: ("($self)", "Convert to a list of dictionaries."),
    R.to_df: ("($self)", "Convert to a Pandas DataFrame (if pandas is installed)."),
}


def test_exports_names_in_order():
    expected = ["Database", "Connection", "QueryResult", "QueryResultIterator", "__version__"]
    assert _zelvo.__all__ == expected == zelvo.__all__
    assert [name for name in vars(_zelvo) if not name.startswith("_") or name == "__version__"] == expected
    assert all(getattr(zelvo, name) is getattr(_zelvo, name) for name in expected)
    assert (_zelvo.__version__, _zelvo.__doc__) == ("0.1.0", "Python module for Zelvo.")
    assert "PanicException" not in vars(_zelvo)


@pytest.mark.parametrize("member", DOCS, ids=lambda member: member.__qualname__)
def test_signatures_and_docs(member):
    signature, first_line = DOCS[member]
    assert getattr(member, "__text_signature__", None) == signature
    assert member.__doc__.split("\n")[0] == first_line


def test_multi_line_docs():
    assert D.open.__doc__.endswith(
        "\n\nArgs:\n    path: Path to the database directory.\n"
        "    buffer_pool_size: Size of the buffer pool in bytes (default: 256MB).\n\n"
        "Returns:\n    A Database instance."
    )
    assert C.execute.__doc__.endswith(
        'Examples:\n    >>> conn.execute("CREATE NODE TABLE Person(name STRING, PRIMARY KEY(name))")\n'
        '    >>> result = conn.execute("MATCH (p:Person) RETURN p.name")\n'
        '    >>> for row in result:\n    ...     print(row["name"])'
    )
    assert "\n\nZelvo is a high-performance embedded graph database with full Cypher support.\n\n" in D.__doc__
    assert D.__doc__.endswith('    >>> print(result[0]["name"])\n    \'Alice\'')


@pytest.mark.parametrize("cls", CLASSES)
def test_classes_cannot_be_made_or_extended_from_python(cls):
    for attempt in [cls, lambda: object.__new__(cls), lambda: type("Sub", (cls,), {})]:
        with pytest.raises(TypeError):
            attempt()


def test_methods_reject_self_of_another_class(db, conn):
    result = conn.execute("CALL show_tables")
    for call in [
        lambda: D.connect(conn),
        lambda: C.execute(db, "CALL show_tables"),
        lambda: C.in_transaction.__get__(result),
        lambda: R.__getitem__(conn, 0),
        lambda: zelvo.QueryResultIterator.__next__(result),
    ]:
        with pytest.raises(TypeError):
            call()


def test_second_initialisation_returns_the_same_module():
    name = _zelvo.__name__
    del sys.modules[name]
    try:
        assert importlib.import_module(name) is _zelvo
    finally:
        sys.modules[name] = _zelvo


def test_import_from_a_subinterpreter_fails():
    code = "import zelvo._zelvo"
    try:
        import _interpreters  # 3.13; a legacy interpreter lets the module's own check run
    except ImportError:
        import _xxsubinterpreters  # 3.11

        interpreter = _xxsubinterpreters.create()
        with pytest.raises(_xxsubinterpreters.RunFailedError) as error:
            _xxsubinterpreters.run_string(interpreter, code)
        _xxsubinterpreters.destroy(interpreter)
        text = str(error.value)
    else:
        interpreter = _interpreters.create("legacy")
        info = _interpreters.exec(interpreter, code)
        _interpreters.destroy(interpreter)
        text = f"{info.type.__name__}: {info.msg}"
    assert "ImportError" in text and "sub-interpreters" in text


def test_type_stubs_match_the_module():
    tree = ast.parse((Path(_zelvo.__file__).parent / "_zelvo.pyi").read_text())
    for stub in (node for node in tree.body if isinstance(node, ast.ClassDef)):
        cls = getattr(_zelvo, stub.name)
        functions = [node for node in stub.body if isinstance(node, ast.FunctionDef)]
        public = {name for name in vars(cls) if not name.startswith("__") or name in ("__enter__", "__exit__")}
        assert public <= {function.name for function in functions}
        for function in functions:
            if any(ast.unparse(d) == "property" for d in function.decorator_list):
                assert inspect.isgetsetdescriptor(inspect.getattr_static(cls, function.name))
            elif function.name in public:
                names = [a.arg for a in function.args.args if a.arg != "self"]
                given = [ast.literal_eval(d) for d in function.args.defaults]
                defaults = [inspect.Parameter.empty] * (len(names) - len(given)) + given
                real = inspect.signature(getattr(cls, function.name)).parameters.values()
                assert [(p.name, p.default) for p in real if p.name != "self"] == list(zip(names, defaults))
