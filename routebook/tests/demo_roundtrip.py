#!/usr/bin/env python3
"""x4sim's demo alignments through stationlink-cli and routebook.

Downloads every demo .hal and .val, converts each .hal to its own kind (byte
for byte), to LandXML (read here by Python's XML reader: one element per line
of the .hal, same kinds and lengths) and back (byte for byte), exports
stations, and checks that every refusal leaves the files untouched.
"""
import csv
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

NS = {"l": "http://www.landxml.org/schema/LandXML-1.2"}
TAGS = {"STRAIGHT": "Line", "ARC": "Curve", "SPIRAL": "Spiral"}


def run(args, expect=0, **kw):
    result = subprocess.run(args, capture_output=True, text=True, **kw)
    if result.returncode != expect:
        raise SystemExit(f"{args}: exit {result.returncode}, wanted {expect}\n{result.stderr}")
    return result


def read(path):
    with open(path, "rb") as f:
        return f.read()


def main():
    x4sim, cli, routebook = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as work:
        link = os.path.join(work, "tty")
        sim = subprocess.Popen([x4sim, "--link", link], stdout=subprocess.PIPE, text=True)
        try:
            sim.stdout.readline()
            env = dict(os.environ, STATIONLINK_PORTS=f"COM1={link}")
            for category in ("HAL", "VAL"):
                for name in ("MAINST", "RAMPA"):
                    run([cli, "download", "COM1", category, name, "--to", work, "--quiet"], env=env)
        finally:
            sim.terminate()
            sim.wait()

        for name in ("MAINST", "RAMPA"):
            hal = os.path.join(work, name + ".hal")
            val = os.path.join(work, name + ".val")
            same = hal + ".same.hal"
            run([routebook, "--convert", hal, same])
            assert read(same) == read(hal), f"{hal} not byte for byte"
            # The demo profiles' curves overlap: every use of them is
            # refused, naming the point, and nothing is written.
            same = val + ".same.val"
            result = run([routebook, "--convert", val, same], expect=1)
            assert "point 2 (PVI, line 2)" in result.stderr, result.stderr
            assert not os.path.exists(same)

            xml = os.path.join(work, name + ".xml")
            run([routebook, "--convert", hal, xml])
            lines = read(hal).decode().split("\r\n")[:-1]
            elements = ET.parse(xml).getroot().findall(".//l:CoordGeom/*", NS)
            assert len(elements) == len(lines) - 1, (lines, elements)
            for line, element in zip(lines[1:], elements):
                kind, length = line.split(",")[:2]
                assert element.tag == "{%s}%s" % (NS["l"], TAGS[kind]), (line, element.tag)
                assert abs(float(element.get("length")) - float(length)) < 1e-6, line
            back = os.path.join(work, name + ".back.hal")
            run([routebook, "--convert", xml, back])
            assert read(back) == read(hal), f"{name}: LandXML did not come back to the .hal"

            out = os.path.join(work, name + ".csv")
            run([routebook, "--stations", hal, "--interval", "25", "--offsets", "5,5", "-o", out])
            with open(out, newline="") as f:
                rows = list(csv.reader(f))
            assert rows[0] == ["chainage", "offset", "easting", "northing", "bearing", "height"]
            assert len(rows) > 1 and len(rows[1:]) % 3 == 0
            run([routebook, "--stations", hal, "--interval", "25", "-o",
                 os.path.join(work, name + ".gsi")])

            refused = os.path.join(work, name + ".withval.csv")
            result = run([routebook, "--stations", hal, val, "--interval", "25", "-o", refused],
                         expect=1)
            assert "point 2 (PVI, line 2)" in result.stderr, result.stderr
            assert not os.path.exists(refused)

        # A broken file and an existing OUT: both left as they were.
        broken = os.path.join(work, "broken.hal")
        with open(broken, "wb") as f:
            f.write(read(os.path.join(work, "MAINST.hal")).replace(b"ARC,85.500,350.000",
                                                                    b"ARC,85.500,300.000"))
        before = read(broken)
        target = os.path.join(work, "MAINST.xml")
        kept = read(target)
        result = run([routebook, "--convert", broken, target, "--overwrite"], expect=1)
        assert "element 3 (SPIRAL, line 3)" in result.stderr, result.stderr
        run([routebook, "--convert", os.path.join(work, "MAINST.hal"), target], expect=1)
        assert read(broken) == before and read(target) == kept
    print("demo alignments: downloaded, converted, exported and refused as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
