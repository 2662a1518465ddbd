"""Fixtures shared by the tests of the Python module.

Run with the built package on the path, e.g.
    PYTHONPATH=build/release/python python3 -m pytest tests/python
"""

import pytest

import zelvo


@pytest.fixture
def db():
    return zelvo.Database.in_memory()


@pytest.fixture
def conn(db):
    return db.connect()
