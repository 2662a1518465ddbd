#!/usr/bin/env python3
"""Generate src/common/unicode_case_tables_generated.cpp from the Unicode
Character Database.

Usage: /usr/bin/python3 scripts/gen_unicode_case.py [unicode-dir] [-o OUTPUT]

unicode-dir defaults to /usr/share/unicode (Debian package unicode-data) and
must hold UnicodeData.txt, SpecialCasing.txt, DerivedCoreProperties.txt and
PropList.txt. The output is deterministic: the same input files always give
byte-identical source.

Tables written (all sorted by code point, searched by binary search):
  * lowercase / uppercase runs: single-code-point mappings grouped into runs
    of code points spaced 1 or 2 apart that share the same delta;
  * lowercase / uppercase expansions: mappings to 2 or 3 code points;
  * Cased, Case_Ignorable and White_Space as inclusive code point ranges.

A full mapping is the UnicodeData.txt simple mapping, overridden by the
unconditional SpecialCasing.txt entries. Conditional (context or language
dependent) entries are skipped; Final_Sigma is implemented in code.
"""

import argparse
import os
import re
import sys

MAX_CODE_POINT = 0x10FFFF
MAX_EXPANSION = 3


def data_lines(path):
    """Yields the ';'-separated fields of each non-comment line."""
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                yield [field.strip() for field in line.split(";")]


def file_version(path):
    """Returns the Unicode version named on the first line, e.g. 15.0.0."""
    with open(path, encoding="utf-8") as f:
        first = f.readline()
    match = re.search(r"-(\d+\.\d+\.\d+)\.txt", first)
    return match.group(1) if match else None


def parse_code_points(field):
    return tuple(int(cp, 16) for cp in field.split())


def read_simple_mappings(path):
    lower, upper = {}, {}
    for fields in data_lines(path):
        cp = int(fields[0], 16)
        if fields[12]:
            upper[cp] = (int(fields[12], 16),)
        if fields[13]:
            lower[cp] = (int(fields[13], 16),)
    return lower, upper


def read_special_mappings(path):
    lower, upper = {}, {}
    for fields in data_lines(path):
        # code; lower; title; upper; [condition;]
        conditions = fields[4] if len(fields) > 4 else ""
        if conditions:
            continue
        cp = int(fields[0], 16)
        lower[cp] = parse_code_points(fields[1])
        upper[cp] = parse_code_points(fields[3])
    return lower, upper


def read_property(path, name):
    code_points = set()
    for fields in data_lines(path):
        if fields[1] != name:
            continue
        first, _, last = fields[0].partition("..")
        code_points.update(range(int(first, 16), int(last or first, 16) + 1))
    if not code_points:
        sys.exit(f"error: property {name} not found in {path}")
    return code_points


def full_mapping(simple, special):
    """Returns {code point: mapping} for code points that do not map to
    themselves."""
    result = {}
    for cp in sorted(set(simple) | set(special)):
        mapping = special.get(cp, simple.get(cp))
        if mapping != (cp,):
            if not 1 <= len(mapping) <= MAX_EXPANSION or 0 in mapping:
                sys.exit(f"error: unsupported mapping for U+{cp:04X}")
            result[cp] = mapping
    return result


def make_runs(mapping):
    """Groups single-code-point mappings into (first, count, stride, delta)
    runs. Runs are built in code point order, so their spans never overlap."""
    runs = []
    for cp in sorted(mapping):
        if len(mapping[cp]) != 1:
            continue
        delta = mapping[cp][0] - cp
        if runs:
            first, count, stride, run_delta = runs[-1]
            gap = cp - (first + (count - 1) * stride)
            if run_delta == delta and count < 0xFFFF:
                if count == 1 and gap in (1, 2):
                    runs[-1] = (first, 2, gap, delta)
                    continue
                if count > 1 and gap == stride:
                    runs[-1] = (first, count + 1, stride, delta)
                    continue
        runs.append((cp, 1, 1, delta))
    return runs


def make_ranges(code_points):
    ranges = []
    for cp in sorted(code_points):
        if ranges and ranges[-1][1] + 1 == cp:
            ranges[-1][1] = cp
        else:
            ranges.append([cp, cp])
    return ranges


def hex_cp(cp):
    return f"0x{cp:04X}"


def emit_rows(out, items, per_line):
    for i in range(0, len(items), per_line):
        out.append("    " + " ".join(item + "," for item in items[i:i + per_line]))


def emit_table(out, type_name, name, items, per_line):
    out.append(f"constexpr {type_name} {name}Data[] = {{")
    emit_rows(out, items, per_line)
    out.append("};")
    out.append("")


def generate(unicode_dir):
    paths = {name: os.path.join(unicode_dir, name) for name in (
        "UnicodeData.txt", "SpecialCasing.txt",
        "DerivedCoreProperties.txt", "PropList.txt")}
    for path in paths.values():
        if not os.path.isfile(path):
            sys.exit(f"error: {path} not found")

    versions = {file_version(paths[name]) for name in (
        "SpecialCasing.txt", "DerivedCoreProperties.txt", "PropList.txt")}
    if len(versions) != 1 or None in versions:
        sys.exit(f"error: inconsistent Unicode versions: {sorted(map(str, versions))}")
    version = versions.pop()

    simple_lower, simple_upper = read_simple_mappings(paths["UnicodeData.txt"])
    special_lower, special_upper = read_special_mappings(paths["SpecialCasing.txt"])
    lower = full_mapping(simple_lower, special_lower)
    upper = full_mapping(simple_upper, special_upper)
    cased = read_property(paths["DerivedCoreProperties.txt"], "Cased")
    ignorable = read_property(paths["DerivedCoreProperties.txt"], "Case_Ignorable")
    white_space = read_property(paths["PropList.txt"], "White_Space")

    out = [
        "// GENERATED FILE - DO NOT EDIT.",
        "//",
        f"// Generated by scripts/gen_unicode_case.py from the Unicode {version} files",
        "// UnicodeData.txt, SpecialCasing.txt, DerivedCoreProperties.txt and",
        "// PropList.txt. To regenerate, from the repository root:",
        "//   /usr/bin/python3 scripts/gen_unicode_case.py [unicode-dir]",
        "// (unicode-dir defaults to /usr/share/unicode, Debian package unicode-data).",
        "",
        '#include "common/unicode_case_tables.h"',
        "",
        "// clang-format off",
        "namespace zelvo::unicode::detail {",
        "namespace {",
        "",
    ]
    spans = []
    for label, mapping in (("Lower", lower), ("Upper", upper)):
        runs = [f"{{{hex_cp(f)}, {c}, {s}, {d}}}" for f, c, s, d in make_runs(mapping)]
        emit_table(out, "CaseRun", f"k{label}Runs", runs, 4)
        expansions = []
        for cp in sorted(mapping):
            if len(mapping[cp]) > 1:
                targets = list(mapping[cp]) + [0] * (MAX_EXPANSION - len(mapping[cp]))
                expansions.append(f"{{{hex_cp(cp)}, {{{', '.join(map(hex_cp, targets))}}}}}")
        emit_table(out, "CaseExpansion", f"k{label}Expansions", expansions, 2)
        spans += [("CaseRun", f"k{label}Runs"), ("CaseExpansion", f"k{label}Expansions")]
    for name, code_points in (("kCased", cased), ("kCaseIgnorable", ignorable),
                              ("kWhiteSpace", white_space)):
        ranges = [f"{{{hex_cp(a)}, {hex_cp(b)}}}" for a, b in make_ranges(code_points)]
        emit_table(out, "CodePointRange", name, ranges, 4)
        spans.append(("CodePointRange", name))

    out.append("}  // namespace")
    out.append("")
    for type_name, name in spans:
        out.append(f"const std::span<const {type_name}> {name}({name}Data);")
    out.append("")
    out.append(f'const char kUnicodeVersion[] = "{version}";')
    out.append("")
    out.append("}  // namespace zelvo::unicode::detail")
    out.append("// clang-format on")
    return "\n".join(out) + "\n"


def main():
    repo_root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("unicode_dir", nargs="?", default="/usr/share/unicode")
    parser.add_argument("-o", "--output", default=os.path.join(
        repo_root, "src", "common", "unicode_case_tables_generated.cpp"))
    args = parser.parse_args()
    source = generate(args.unicode_dir)
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(source)


if __name__ == "__main__":
    main()
