"""Zelvo: an embedded graph database queried in Cypher.

    >>> import zelvo
    >>> db = zelvo.Database.in_memory()
    >>> conn = db.connect()
    >>> conn.execute("CREATE NODE TABLE Person(name STRING, PRIMARY KEY(name))")
    QueryResult(message="Created node table 'Person'")
"""

from ._zelvo import Connection, Database, QueryResult, QueryResultIterator, __version__

__all__ = ["Database", "Connection", "QueryResult", "QueryResultIterator", "__version__"]
