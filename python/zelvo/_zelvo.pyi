"""Python module for Zelvo."""

from types import TracebackType
from typing import Any, Final, Iterator, Literal, final

__all__ = ["Database", "Connection", "QueryResult", "QueryResultIterator", "__version__"]

__version__: Final[str]

@final
class Database:
    """Zelvo embedded graph database."""

    @staticmethod
    def open(path: str, buffer_pool_size: int = 268435456) -> Database:
        """Open a database at the specified path."""

    @staticmethod
    def in_memory() -> Database:
        """Create an in-memory database."""

    def connect(self) -> Connection:
        """Create a connection to the database."""

    def checkpoint(self) -> None:
        """Checkpoint the database (flush all data to disk)."""

    @property
    def path(self) -> str | None:
        """Get the database path, or None for in-memory databases."""

    @property
    def is_in_memory(self) -> bool:
        """Check if this is an in-memory database."""

@final
class Connection:
    """A connection to the Zelvo database."""

    def execute(self, query: str) -> QueryResult:
        """Execute a Cypher query."""

    def execute_multi(self, queries: str) -> list[QueryResult]:
        """Execute multiple Cypher statements separated by semicolons."""

    def begin(self) -> None:
        """Begin a new transaction."""

    def commit(self) -> None:
        """Commit the current transaction."""

    def rollback(self) -> None:
        """Rollback the current transaction."""

    @property
    def in_transaction(self) -> bool:
        """Check if a transaction is in progress."""

    def __enter__(self) -> Connection:
        """Use connection as a context manager for transactions."""

    def __exit__(
        self,
        exc_type: type[BaseException] | None = None,
        _exc_val: BaseException | None = None,
        _exc_tb: TracebackType | None = None,
    ) -> Literal[False]:
        """Exit context manager - commit on success, rollback on exception."""

@final
class QueryResult:
    """Query result from executing a Cypher query."""

    @property
    def columns(self) -> list[str]:
        """Get the column names."""

    @property
    def message(self) -> str | None:
        """Get the result message (for DDL/DML operations)."""

    def is_empty(self) -> bool:
        """Check if the result is empty."""

    def to_list(self) -> list[dict[Any, Any]]:
        """Convert to a list of dictionaries."""

    def to_df(self) -> Any:
        """Convert to a Pandas DataFrame (if pandas is installed)."""

    def __len__(self) -> int: ...
    def __getitem__(self, idx: int, /) -> dict[Any, Any]: ...
    def __iter__(self) -> QueryResultIterator: ...

@final
class QueryResultIterator:
    """Iterator over query result rows."""

    def __iter__(self) -> QueryResultIterator: ...
    def __next__(self) -> dict[Any, Any]: ...
