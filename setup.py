"""Builds the extension module zelvo._zelvo with the project's CMake.

The package metadata is in pyproject.toml. Install with
    pip install --no-build-isolation .
(CMake, a C++20 compiler and the interpreter's development files are needed;
Ninja is used when present.)
"""

import os
import shutil
import subprocess
import sys
from pathlib import Path

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = Path(__file__).resolve().parent


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        build_dir = Path(self.build_temp).resolve() / "cmake"
        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        subprocess.run(
            [
                "cmake", "-S", str(ROOT), "-B", str(build_dir), *generator,
                f"-DPython3_EXECUTABLE={sys.executable}",
                "-DCMAKE_BUILD_TYPE=Release",
                "-DZELVO_BUILD_TESTS=OFF",
                "-DZELVO_BUILD_PYTHON=ON",
            ],
            check=True,
        )  # fmt: skip
        jobs = str(os.cpu_count() or 2)
        subprocess.run(["cmake", "--build", str(build_dir), "--target", "_zelvo", "--parallel", jobs], check=True)
        built = build_dir / "python" / "zelvo" / Path(self.get_ext_filename(ext.name)).name
        target = Path(self.get_ext_fullpath(ext.name))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)


setup(ext_modules=[CMakeExtension("zelvo._zelvo")], cmdclass={"build_ext": CMakeBuild})
