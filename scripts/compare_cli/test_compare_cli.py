"""Checks of the comparison rules: python3 -m unittest discover -s scripts/compare_cli"""

import tempfile
import unittest
from pathlib import Path

from cases import USAGE, Case
from differences import compare_runs
from report import Outcome, matching_allowance, read_allow_list, summarize
from runner import RunResult


def result(stdout=b"", stderr=b"", status="0", folder=Path("/nonexistent"), files=()):
    return RunResult(status, stdout, stderr, folder, list(files))


def aspects(base, new, json_output=False, lenient=False):
    return [d.aspect for d in compare_runs(base, new, json_output, lenient)]


class JsonOutputTest(unittest.TestCase):
    def test_spelling_of_the_same_values_does_not_count(self):
        base = result(b'{"a": 30, "b": [1, {"c": null}], "d": "x"}\n')
        new = result(b'{\n  "d": "x",\n  "b": [1.0, {"c": null}],\n  "a": 30.0\n}')
        self.assertEqual(aspects(base, new, json_output=True), [])

    def test_changed_values_are_reported_with_their_path(self):
        base = result(b'{"g": {"north": true, "x": 0.1}, "list": [1, 2]}')
        new = result(b'{"g": {"north": 1, "x": 0.10000000000000002}, "list": [1]}')
        found = compare_runs(base, new, True, False)
        self.assertEqual([d.aspect for d in found], ["stdout (JSON values)"])
        self.assertEqual(found[0].detail, ["$.g.north: true != 1",
                                           "$.g.x: 0.1 != 0.10000000000000002",
                                           "$.list: 2 items != 1 items"])

    def test_missing_and_extra_keys_are_reported(self):
        found = compare_runs(result(b'{"a": 1}'), result(b'{"b": 1}'), True, False)
        self.assertEqual(found[0].detail, ["$.a: only in base", "$.b: only in new"])

    def test_output_that_is_not_strict_json_falls_back_to_text(self):
        for new in (b'{"a": 1, "a": 1}', b'{"a": NaN}', b'{"a": 1} {"a": 1}'):
            with self.subTest(new=new):
                self.assertEqual(aspects(result(b'{"a": 1}'), result(new), json_output=True),
                                 ["stdout"])

    def test_text_output_is_compared_exactly(self):
        self.assertEqual(aspects(result(b"zone: 18\n"), result(b"zone: 18.0\n")), ["stdout"])
        self.assertEqual(aspects(result(b"a\n"), result(b"a")), ["stdout"])


class UsageLeniencyTest(unittest.TestCase):
    base = result(stderr=b"unknown option: --x\nusage: quorvane-cli info FILE [--json]\n",
                  status="2")

    def test_only_status_first_line_and_a_usage_text_count(self):
        new = result(stderr=b"unknown option: --x\nUsage: info [OPTIONS] FILE\n", status="2")
        self.assertEqual(aspects(self.base, new, lenient=True), [])
        self.assertEqual(aspects(self.base, new), ["stderr"])

    def test_a_missing_usage_text_or_another_status_counts(self):
        new = result(stderr=b"unknown option: --x\n", status="1")
        self.assertEqual(aspects(self.base, new, lenient=True), ["exit status", "usage text"])


class OutputFilesTest(unittest.TestCase):
    def test_files_compare_byte_for_byte_and_by_presence(self):
        with tempfile.TemporaryDirectory() as root:
            base_dir, new_dir = Path(root, "b"), Path(root, "n")
            base_dir.mkdir()
            new_dir.mkdir()
            (base_dir / "out.tif").write_bytes(b"II*\0abc")
            (new_dir / "out.tif").write_bytes(b"II*\0abd")
            (new_dir / "out.tif.tmp").write_bytes(b"")
            found = compare_runs(result(folder=base_dir, files=["out.tif"]),
                                 result(folder=new_dir, files=["out.tif", "out.tif.tmp"]),
                                 False, False)
            self.assertEqual([d.aspect for d in found], ["file out.tif", "file out.tif.tmp"])
            self.assertIn("first difference at byte 6", found[0].detail[0])
            self.assertEqual(found[1].detail, ["written by new only"])


class AllowListTest(unittest.TestCase):
    def test_patterns_match_case_ids_and_unexpected_differences_fail(self):
        with tempfile.TemporaryDirectory() as root:
            path = Path(root, "allow.txt")
            path.write_text("# comment\n\ninfo/*/corpus/tiff/malformed/*  headers only now\n"
                            "usage/*\tnew parser wording\nutm/*  unused\n")
            entries = read_allow_list(path)
        self.assertEqual([e.reason for e in entries],
                         ["headers only now", "new parser wording", "unused"])
        self.assertIsNotNone(matching_allowance("info/json/corpus/tiff/malformed/a.tif", entries))
        self.assertIsNone(matching_allowance("info/json/corpus/tiff/a.tif", entries))
        differing = compare_runs(result(status="0"), result(status="1"), False, False)
        allowed = Outcome(Case("usage/info/no-file", "info", USAGE, []), differing,
                          matching_allowance("usage/info/no-file", entries), None)
        text, passed = summarize([allowed], entries, [], False)
        self.assertTrue(passed)
        self.assertIn("expected differences (1)", text)
        self.assertIn("matched no difference: utm/*", text)
        other = Outcome(Case("info/text/x", "info", "corpus", ["info", "x"]), differing, None, None)
        self.assertFalse(summarize([allowed, other], entries, [], False)[1])

    def test_a_pattern_without_reason_is_refused(self):
        with tempfile.TemporaryDirectory() as root:
            path = Path(root, "allow.txt")
            path.write_text("info/*\n")
            with self.assertRaises(ValueError):
                read_allow_list(path)


if __name__ == "__main__":
    unittest.main()
