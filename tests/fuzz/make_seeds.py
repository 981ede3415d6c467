#!/usr/bin/env python3
"""Writes the seed corpus of every fuzz target into OUT/<target>/.

Flash-image seeds are the log areas of the fixture images (tools/fixtures), built with the
image builder; the others are small examples of each reader's input."""
import json
import pathlib
import re
import struct
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parents[2]

# The order of the flash-image target's families, with each area's first and last byte.
FLASH_AREAS = [
    (0x40000, 0x4FFFF),  # interval trend
    (0x30000, 0x3FFFF),  # snapshots
    (0x10000, 0x2DFFF),  # alarm trend
    (0x50000, 0x5FFFF),  # alarm events
    (0x60000, 0x6FFFF),  # trouble events
    (0x70000, 0x7FFFF),  # histories
    (0x00000, 0x0FFFF),  # power events
]

REPLIES = [
    "RC,R,TQ-6200,V1.00", "UJ,R,2", "VP,R,70000", "VS,R,00aF", "CP,R,FFFFFFFF",
    "XS,R,000A,  Tank 3", "XS,R,****,  Main gate  ", "HC,R,261209120000", "BU,R,6,1,0,1",
    "WB,R,1,2,1", "GJ,R,CO         500.0  0.1ppm ", "A1,R,****", "A2,R,OVER",
    "SO,R,261130093045 0.00 50.5", "UZ,R,2100", "AO,R,1x00",
    "HA,R,FFFF,1,1,3,4,5,6,7F,3F800000", "DN,R,1.5,2,3,-, 5", "EF,R,0,2,0,",
    "EP,R,0,3,0,", "ES,R,0,1,16,00112233445566778899AABBCCDDEEFF", "DW,W,\x1a", "RO,W,1",
    "HC,W,261210120001", "XP,R,012C", "SC,R,00B4",
]

# (family index of the text-lines target, lines)
TEXT_LINES = [
    (0, ["/01ABSN-1        1", "/01AD2405011230000010", "/01A1 0001 0002 0003",
         "/01AE  12.3  45.6 240501123010"]),
    (1, ["/01BD2405011230000010", "/01B0 0001 0002", "/01BE  12.3  45.6 240501123010"]),
    (2, ["03CD200331235958        ", "03C0200331235958 1 12.5  ", "03CBSERIAL000001 0003    ",
         "03CA  USER1   STATION1  "]),
    (3, ["02DD200331235958        ", "02DBSERIAL000001 0003    ", "02DA  USER1   STATION1  "]),
    (4, ["05FD2003312359581111    ", "05FD2003312359590000    "]),
    (5, ["01HD2003312359580000 12.5 50.0   ", "01HA  USER1   STATION1  "]),
]

STATIONS = [
    b"1,TANK-A\r\n2,GATE 3\r\n3\tPUMP,ROOM\r\n",
    b"1,\xe3\x82\xbf\xe3\x83\xb3\xe3\x82\xaf\n2,B\n",
    b"\xef\xbb\xbf1,A\r2,B\r",
]


def build_images(out_dir):
    """Builds every fixture image; yields the image bytes."""
    builder = ROOT / "tools" / "tq6200_image.py"
    for description in sorted((ROOT / "tools" / "fixtures").glob("*.json")):
        image = out_dir / (description.stem + ".bin")
        done = subprocess.run([sys.executable, str(builder), str(description), str(image)],
                              capture_output=True)
        if done.returncode == 0 and image.exists():
            yield description.stem, image.read_bytes()


def flash_seeds(target):
    with tempfile.TemporaryDirectory() as work:
        for name, image in build_images(pathlib.Path(work)):
            for index, (first, last) in enumerate(FLASH_AREAS):
                area = image[first:last + 1].rstrip(b"\xff")
                if area:
                    (target / f"{name}_{index}").write_bytes(bytes([index]) + area)


def trend_seeds(target):
    def record(days, value):
        return struct.pack("<df", days, value)
    day = 46000.5
    (target / "sound").write_bytes(b"".join(record(day + n / 8640, n * 0.5) for n in range(40)))
    (target / "damaged").write_bytes(record(day, 1.0) + record(float("nan"), 2.0))
    (target / "cut").write_bytes(record(day, 1.0) + b"\x00\x01\x02")


def settings_seed(target):
    keys = re.findall(r'w\.key\("([^"]+)"', (ROOT / "src/core/settings_file.cpp").read_text())
    values = ["ON", "1", "TRUE", "'text'", "300", "-1"]
    lines = [f"{key}\t{values[n % len(values)]}" for n, key in enumerate(keys)]
    (target / "keys").write_text("; settings\r\n" + "\r\n".join(lines) + "\r\n")


def stored_rows_seeds(target):
    # Log_head is the first table: one row per log type, each column a small number.
    for log_type in (1, 2, 3, 5, 6, 7, 9, 10, 11, 12):
        row = bytes([0]) + bytes([1, log_type]) * 2 + bytes([1, 1, 4, 3]) + b"abc"
        (target / f"type{log_type}").write_bytes(row * 2 + bytes([15]))


def main():
    out = pathlib.Path(sys.argv[1])
    targets = {name: out / name for name in
               ("flash_image_fuzz", "reply_parser_fuzz", "text_lines_fuzz", "trend_file_fuzz",
                "station_file_fuzz", "settings_file_fuzz", "stored_rows_fuzz")}
    for path in targets.values():
        path.mkdir(parents=True, exist_ok=True)
    flash_seeds(targets["flash_image_fuzz"])
    for n, reply in enumerate(REPLIES):
        (targets["reply_parser_fuzz"] / f"reply{n}").write_bytes(b"\x00" + reply.encode("latin-1"))
    for family, lines in TEXT_LINES:
        for test_mode in (0, 1):
            (targets["text_lines_fuzz"] / f"family{family}_{test_mode}").write_bytes(
                bytes([family << 1 | test_mode]) + "\n".join(lines).encode("latin-1"))
    trend_seeds(targets["trend_file_fuzz"])
    for n, text in enumerate(STATIONS):
        (targets["station_file_fuzz"] / f"stations{n}").write_bytes(text)
    settings_seed(targets["settings_file_fuzz"])
    stored_rows_seeds(targets["stored_rows_fuzz"])


if __name__ == "__main__":
    main()
