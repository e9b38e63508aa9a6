#!/usr/bin/env python3
"""brennix-export on a known data file, its files read back as a spreadsheet would read them.

Usage: exportReadBack.py BRENNIX_EXPORT DATA_FILE
Every CSV is read with the csv module (UTF-8 with a byte-order mark, ";" between fields, the decimal
separator chosen); the summary's classification of every crane must equal its protocol's; the
program must work without a display for CSV and HTML, refuse PDF without one, and leave nothing
behind when it refuses.
"""
import csv
import datetime
import glob
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

PROGRAM, DATA = sys.argv[1], sys.argv[2]
NO_DISPLAY = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
NO_DISPLAY["TZ"] = "UTC"


def run(*args):
    return subprocess.run([PROGRAM, DATA, *args], env=NO_DISPLAY, capture_output=True, text=True)


def rows(path):
    with open(path, "rb") as f:
        assert f.read(3) == b"\xef\xbb\xbf", path + " has no byte-order mark"
    with open(path, encoding="utf-8-sig", newline="") as f:
        return list(csv.reader(f, delimiter=";"))


def number(text, decimal=","):
    return float(text.replace(decimal, "."))


class Export(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.folder)

    def files(self):
        return sorted(os.listdir(self.folder))

    def test_csv_per_graph_reads_back(self):
        result = run(self.folder, "--csv", "--html")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("2741_2024-03-14_график_05.csv", self.files())
        self.assertEqual(len(glob.glob(os.path.join(self.folder, "*_график_*.csv"))), 7)

        header, *samples = rows(os.path.join(self.folder, "2741_2024-03-14_график_05.csv"))
        self.assertEqual(header, ["Время", "Секунды от начала", "Нагрузка, %", "Нагрузка, т", "Мех 1",
                                  "Мех 2", "Мех 3", "Мех 4", "Мех 5", "Мех 6", "ОГП"])
        # The 16-bit offsets wrap after 65535 s: the seconds go on counting, and so does the clock.
        self.assertEqual([int(r[1]) for r in samples], [0, 65530, 65534, 65538, 65548, 65556])
        start = datetime.datetime.strptime(samples[0][0], "%d.%m.%Y %H:%M:%S")
        for r in samples:
            clock = datetime.datetime.strptime(r[0], "%d.%m.%Y %H:%M:%S")
            self.assertEqual((clock - start).total_seconds(), int(r[1]))
        self.assertEqual(samples[0][2:4], ["", ""])   # no load sampled yet
        for r in samples[1:]:
            self.assertAlmostEqual(number(r[3]), int(r[2]) * 16 / 100)   # a 16 t crane
            self.assertTrue(set(r[4:]) <= {"0", "1"})
        self.assertEqual(samples[3][2:5], ["90", "14,400", "1"])

        for path in glob.glob(os.path.join(self.folder, "*.csv")):
            table = rows(path)
            self.assertTrue(all(len(r) == len(table[0]) for r in table), path)

    def test_summary_classification_equals_the_protocols(self):
        result = run(self.folder, "--csv", "--html")
        self.assertEqual(result.returncode, 0, result.stderr)
        header, *cranes = rows(os.path.join(self.folder, "сводка.csv"))
        self.assertEqual(len(cranes), 3)
        column = {name: i for i, name in enumerate(header)}
        for crane in cranes:
            stem = crane[column["Рег. №"]] + "_2024-03-14"
            with open(os.path.join(self.folder, stem + ".html"), encoding="cp1251") as f:
                html = f.read()
            q, kp = re.search(r"<B>Q(\d) \(К<sub>р</sub> = ([\d.]+)\)", html).groups()
            u, n = re.search(r"<B>U(\d) \(N = ([^)]+)\)", html).groups()
            a = re.search(r"Группа классификации</TD><TD><B>A(\d)", html).group(1)
            ts = re.findall(r"механизма №\d</TD><TD><B>T(\d)", html)
            resource = re.search(r"Использованный ресурс крана</TD><TD><B>(\d+)%", html).group(1)
            self.assertEqual(crane[column["Режим нагружения"]], "Q" + q)
            self.assertEqual(crane[column["Kp"]].replace(",", "."), kp)
            self.assertEqual(crane[column["Класс использования"]], "U" + u)
            self.assertEqual("%g" % number(crane[column["N"]]), n)
            self.assertEqual(crane[column["Группа классификации"]], "A" + a)
            self.assertEqual([crane[column["Группа мех. %d" % m]] for m in range(1, 7)], ["T" + t for t in ts])
            self.assertEqual(crane[column["Использованный ресурс, %"]], resource)

    def test_csv_per_crane_with_decimal_point(self):
        result = run(self.folder, "--csv", "--per-crane", "--point")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.files(), ["2741_2024-03-14.csv", "512_2024-03-14.csv", "77_2024-03-14.csv",
                                        "сводка.csv"])
        header, *samples = rows(os.path.join(self.folder, "512_2024-03-14.csv"))
        self.assertEqual(header[0], "График")
        self.assertEqual(sorted({r[0] for r in samples}), ["1", "2"])
        loaded = [r for r in samples if r[3]]
        self.assertTrue(all("," not in r[4] and number(r[4], ".") == int(r[3]) * 5 / 100 for r in loaded))
        self.assertEqual(rows(os.path.join(self.folder, "77_2024-03-14.csv")), [header])   # no graphs

    def test_pdf_without_a_display_writes_nothing(self):
        result = run(self.folder, "--csv", "--pdf")
        self.assertEqual(result.returncode, 1)
        self.assertIn("графический дисплей", result.stderr)
        self.assertEqual(self.files(), [])

    def test_name_clash_is_refused_unless_overwriting(self):
        self.assertEqual(run(self.folder, "--html").returncode, 0)
        protocol = os.path.join(self.folder, "2741_2024-03-14.html")
        with open(protocol, "w") as f:
            f.write("mine")
        result = run(self.folder, "--html", "--csv")
        self.assertEqual(result.returncode, 1)
        self.assertIn("уже есть файл", result.stderr)
        self.assertEqual(len(self.files()), 3)   # nothing new written, the own file kept
        with open(protocol) as f:
            self.assertEqual(f.read(), "mine")
        self.assertEqual(run(self.folder, "--html", "--overwrite").returncode, 0)
        with open(protocol, encoding="cp1251") as f:
            self.assertTrue(f.read().startswith("<HTML>"))

    def test_folder_that_cannot_be_made(self):
        result = run("/proc/brennix-export", "--csv")
        self.assertEqual(result.returncode, 1)
        self.assertIn("не удалось создать папку «/proc/brennix-export»", result.stderr)

    def test_usage(self):
        result = run(self.folder)
        self.assertEqual(result.returncode, 2)
        self.assertIn("Использование: brennix-export", result.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
