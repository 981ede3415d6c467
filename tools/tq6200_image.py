#!/usr/bin/env python3
"""Build TQ-6200 flash images (512 KB, erased bytes 0xFF) from a JSON description.

Usage:
    python3 tq6200_image.py DESCRIPTION.json OUTPUT.bin [--layout]

--layout prints, as JSON on stdout, where each log landed (see `build`).

As a module:
    image = build_image(description)           # bytes
    image, layout = build(description)         # bytes and where each log landed
    write_image(description, path)             # returns the layout

Description format
==================
A JSON object; every key is optional, so {} is an erased image.

Top level
---------
  "size"      file length in bytes (default 524288). Smaller cuts the image
              short, larger pads it with 0xFF.
  "interval"  the interval-trend ring (0x40000-0x4FFFF, 256 pages of 256 bytes).
  "alarm"     the alarm-trend ring (0x10000-0x2DFFF, ten sectors of 0x3000 bytes).
  "patches"   raw writes applied last, in order: [{"offset": 262160 or "0x40010",
              "bytes": "EE EE 00", "repeat": 1}, ...], for any damage the
              fields below cannot express.
  "power_events", "snapshots", "alarm_events", "trouble_events", "histories"
              the block areas (256 blocks of 256 bytes each), see below.

Value notations used below
--------------------------
  text    a JSON string, encoded as cp1252 and padded with blanks to the field
          size; "\\u0000" and "\\u0003" give the bytes 0 and 3. Too long is an error.
  pair    two bytes: a number is scaled by 10^decimals of the gas slot, rounded
          and written big-endian (it must fit 0..65535); a string of four hex
          digits (blanks allowed) is written as is: "DD DD" (-121), "FE FE"
          (-118), "FF FF" (-101); null is "FF FF"; {"raw": 300} writes 300
          unscaled.
  date    "YYYY-MM-DD hh:mm:ss" (year 2000-2099), written as the six bytes
          YY MM DD hh mm ss (year - 2000, plain binary); or a list of six byte
          values ([255, 255, 255, 255, 255, 255] or [21, 13, 1, 0, 0, 0] for an
          impossible date); or a string of twelve hex digits ("DD DD 00 00 00 00").
  hex     a string of hex byte values, blanks allowed: "00 1E 0F 01".

Log header (every family but the power events)
----------------------------------------------
  "log_no"      header bytes 2-3 (default 1; in an alarm log the block number,
                default the log's own sector index)
  "kind"        header byte 4, 0x00 (default) or 0x40
  "user"        text, 16 bytes (default blank)
  "station"     text, 16 bytes (default blank)
  "serial"      text, 20 bytes (default blank)
  "byte37"      the unread byte between station and serial (default 0)
  "interval"    seconds between samples, 0..65535 (default 60)
  "gases"       list of gas blocks (default one block with the defaults below;
                [] for none)
  "end_code"    the byte after the gas blocks (default 8 with a range block,
                9 without)
  "range"       six pairs LEL_lo, LEL_hi, ppm_lo, ppm_hi, vol_lo, vol_hi,
                written unscaled (numbers are raw counts); presence forces the
                default end code 8. The byte after it is 0.
  "date"        the start date (interval) or alarm-point date (alarm); default
                "2024-01-01 00:00:00"
  "lunch_break" the byte after the date (default 0)

Gas block (26 bytes), one object per entry of "gases":
  "slot"      gas slot 0..5 (default 0); 2 or more is the "slot above 1" fault
  "mode"      "normal" (code 2 + slot, sampling flag 0; default), "keep"
              (code 34 + slot, flag unchanged), "sampling" (code 66 + slot,
              flag 1 = bar-hole trend)
  "code"      raw gas code, overrides slot and mode
  "name"      text, 10 bytes (default "CO")
  "decimals"  0..15 (default 0): the scale of every pair of this slot
  "unit"      "vol%", "%LEL", "ppm", "ppb" or a unit code 0..15 (default "ppm")
  "format"    raw format byte, overrides decimals/unit for the byte only
  "full"      pair, full scale (default 500)
  "resolution" pair (default 1)
  "warning", "alarm", "stel", "twa"  pairs (defaults 25, 50, 200, 25)
  "ratio"     pair (default 1); a number whose count exceeds 53248 is written
              in the extended form (53248 + (count - 50000) / 100)

Interval ring: "interval"
-------------------------
  "start_page"   page index 0..255 where the oldest written byte goes (default
                 0). Logs are written one after the other from there, page after
                 page, wrapping from page 255 to page 0; pages not reached stay
                 erased, so start_page > 0 with a short stream leaves the erased
                 pages in front of it (a wrapped ring). More than 256 pages of
                 content is an error.
  "erase_pages"  page indexes blanked to 0xFF after writing
  "logs"         list of interval logs, in writing order

Interval log = header fields above, plus:
  "header"     false writes no header (the tail of a log whose head the ring
               has overwritten); default true
  "new_page"   start on a fresh page (default true); false continues right after
               the previous log in the same page (two headers in one page)
  "at"         page offset where the header starts (after the new_page step),
               even when the header does not fit before the page end; an offset
               below the current one moves to the next page first
  "fit"        false puts the header right where the stream stands even when it
               runs past the page end (default true: such a header starts on
               the next page). With "new_page": false this is the header past a
               page end that a reader meets right after the previous trailer.
  "body"       list of items, in order:
      {"samples": [v, ...], "slot": 0}   values (pairs of the slot's decimals);
               equal neighbours merge into runs of up to 255. Instead of a list:
               {"values": [v, ...], "run": 10, "count": 54001} repeats each
               value run times, cycling, until count samples.
      {"event": {"status": 1, "seconds": 30, "slot": 15}}   an event record;
               slot is the raw low nibble of byte 2 (default 15, the detector's
               slot-0 form); "flags" gives byte 2 whole
      {"record": "00 64 81 03"}   one raw 4-byte record, no checks
      {"bytes": "..."}            raw bytes at the current position, no checks
      {"block": true}             the next record starts a new data block
      {"page": true}              pad to the next page
  "copies"     write the log N times (default 1); copy i has log_no + i and its
               dates moved by i * "copy_step" seconds (default 86400)
  "trailer"    false for none; otherwise an object:
      "stats"  list of statistics entries {"slot", "code", "avr", "max",
               "max_date", "min", "min_date"}; default one per gas block of the
               header, or one for slot 0 when it has none (the reader tells a
               trailer by its first entry code). Missing values come from the
               log's numeric samples of that slot: the mean, the first maximum
               and minimum and their sample times (FF FF values and DD DD dates
               when there is none).
      "end"    date of the end entry (default the start + samples * interval)
      "end_code"  default 0x26, or 0x66 when the first gas is in sampling mode
               (the statistics codes are then 0x60 + slot instead of 0x20 + slot)

Layout rules of the interval stream: a block is never split except a data block,
whose 4-byte records continue at offset 0 of the next page; the 1-3 bytes left
at a page end are 0xFF. A header or trailer that does not fit before the page end
starts on the next page (unless "at" or "fit" say otherwise). A data block begins with EE EE
right after the header; a new one is started before a record whose first byte is
0xFF (the reader ends a page's records at such a byte). A generated record whose
first byte pair is EE EE, or that opens a block with a byte 2 that reads as a
header or trailer kind, is refused (use "record" to force it).

Alarm ring: "alarm"
-------------------
  "first_sector"  sector index 0..9 of the first log (default 0); logs without
                  "sector" take the following indexes in turn, wrapping from 9
                  to 0. Sectors without a log stay erased.
  "logs"          list of alarm logs

Alarm log = header fields above (at byte 0 of its sector), plus:
  "sector"     sector index 0..9
  "block_no"   the header's block number (alias of log_no; default the sector
               index). The samples go to the sector it names; one outside 0..9
               writes no samples (the fault of a block number past the area).
  "samples"    up to 720 entries, sample k at the alarm point + (k - 360) *
               interval: a pair (mask 0x01), null for "no value" (mask 0x00),
               or {"mask": 1, "pair": "01 2C"} for a raw record; the generator
               form of the interval samples works too. Records not given stay
               erased. Each 16-byte record: byte 0 = 0, byte 1 mask, bytes 2-3
               slot 0, bytes 4-15 0xFF.
  "bytes"      instead of a header: raw bytes at the start of the sector
               (a written sector that holds no log)
  "copies", "copy_step"  as for interval logs; each copy takes the next sector
               (and block_no + i when block_no is given)

Block areas: "power_events" (0x00000), "snapshots" (0x30000), "alarm_events"
(0x50000), "trouble_events" (0x60000), "histories" (0x70000)
-------------------------------------------------------------------------------
Each is a list of blocks; a block goes to "block" (index 0..255 in its area) or
else to the block after the previous one (the first to 0). Unwritten blocks stay
erased. Any block may instead give "bytes": raw content from its first byte.
More than 256 bytes in a block is an error; the rest of a block is 0xFF.
"copies" and "copy_step" write a block N times into the following blocks, as for
trend logs (the log_no, or a power event's counter, counts up).

  power event   {"counter": 1, "date": ..., "on": true}: bytes 0-1 the counter,
                2-7 the date, 8 the kind (1 on, 0 off; "kind" gives it raw).
  snapshot      header fields (no trailer, no body), then "skip" (hex, default
                "00 00": the two bytes the reader steps over), then the 17-byte
                record: "value" (pair of slot 0, default null), "status" (byte,
                default 0), fourteen 0xFF bytes.
  alarm / trouble event block
                header fields, "skip" as above, then "events": list of
                {"gas": 0, "status": 1} (byte 0x70 + gas, or "code" raw; gas 15
                is the detector body) or {"record": hex}. The erased rest of the
                block ends the records; a list that fills the block to its last
                byte leaves no end mark.
  history block header fields, "skip" as above, then "records", a list of
                {"calibration": {"slot": 0, "before": v, "after": v}} (0x60 + slot),
                {"bump": {"slot": 0, "first": v, "second": v, "passed": true}}
                (0x70 + slot), {"sensor_change": {"slot": 0, "model": "M", "serial": "S"}}
                (0x80 + slot, two 10-byte texts), {"mark": true} (an EE EE pair
                between records) or {"record": hex}. Readings are pairs of the
                slot's decimals.
"""

import datetime
import itertools
import json
import re
import sys

IMAGE_SIZE = 0x80000
ERASED = 0xFF

INTERVAL_AREA = 0x40000
PAGE_SIZE = 256
PAGE_COUNT = 256

ALARM_AREA = 0x10000
SECTOR_SIZE = 0x3000
SECTOR_COUNT = 10
ALARM_SAMPLES_START = 384
ALARM_SAMPLE_COUNT = 720
ALARM_RECORD_SIZE = 16

UNIT_CODES = {"vol%": 0, "%LEL": 1, "ppm": 2, "ppb": 3}
GAS_MODES = {"normal": 2, "keep": 34, "sampling": 66}
RANGE_END_CODES = (8, 40, 72)
HEADER_KINDS = (0x00, 0x40)
TRAILER_KINDS = tuple(range(0x20, 0x26)) + tuple(range(0x60, 0x66))
BLOCK_SIZE = 256
BLOCK_COUNT = 256
BLOCK_AREAS = {"power_events": 0x00000, "snapshots": 0x30000, "alarm_events": 0x50000,
               "trouble_events": 0x60000, "histories": 0x70000}
RAW_COUNT_LIMIT = 53248  # counts above it are stored in the extended ratio form

DEFAULT_DATE = "2024-01-01 00:00:00"
DEFAULT_GAS = {
    "name": "CO", "decimals": 0, "unit": "ppm", "full": 500, "resolution": 1,
    "warning": 25, "alarm": 50, "stel": 200, "twa": 25, "ratio": 1,
}
DATE_TEXT = re.compile(r"^(\d{4})-(\d{1,2})-(\d{1,2})[ T](\d{1,2}):(\d{1,2}):(\d{1,2})$")


class DescriptionError(ValueError):
    """The description asks for something the image cannot hold."""


# ---------------------------------------------------------------- encoders

def hex_bytes(text):
    cleaned = re.sub(r"\s+", "", str(text))
    if len(cleaned) % 2 or not re.fullmatch(r"[0-9A-Fa-f]*", cleaned):
        raise DescriptionError(f"not a hex byte string: {text!r}")
    return bytes.fromhex(cleaned)


def parse_int(value, what):
    if isinstance(value, str):
        try:
            return int(value, 0)
        except ValueError:
            raise DescriptionError(f"{what}: integer expected, got {value!r}") from None
    if isinstance(value, bool) or not isinstance(value, int):
        raise DescriptionError(f"{what}: integer expected, got {value!r}")
    return value


def be16(value, what="value"):
    if not 0 <= value <= 0xFFFF:
        raise DescriptionError(f"{what}: {value} does not fit in two bytes")
    return bytes((value >> 8, value & 0xFF))


def byte(value, what):
    value = parse_int(value, what)
    if not 0 <= value <= 0xFF:
        raise DescriptionError(f"{what}: {value} does not fit in a byte")
    return value


def pair(value, decimals, what):
    """Two bytes for a value, a reading code or raw hex."""
    if value is None:
        return b"\xff\xff"
    if isinstance(value, str):
        raw = hex_bytes(value)
        if len(raw) != 2:
            raise DescriptionError(f"{what}: a pair is two bytes, got {value!r}")
        return raw
    if isinstance(value, dict) and "raw" in value:
        return be16(parse_int(value["raw"], what), what)
    if isinstance(value, (int, float)) and not isinstance(value, bool):
        return be16(round(value * 10 ** decimals), what)
    raise DescriptionError(f"{what}: unknown value {value!r}")


def ratio_pair(value, decimals):
    if isinstance(value, (int, float)) and not isinstance(value, bool):
        count = round(value * 10 ** decimals)
        if count > RAW_COUNT_LIMIT:
            extended, rest = divmod(count - 50000, 100)
            if rest:
                raise DescriptionError(f"ratio {value}: not representable above {RAW_COUNT_LIMIT}")
            count = RAW_COUNT_LIMIT + extended
        return be16(count, "ratio")
    return pair(value, decimals, "ratio")


def text_field(value, size, what):
    raw = value.encode("cp1252")
    if len(raw) > size:
        raise DescriptionError(f"{what}: {value!r} is longer than {size} bytes")
    return raw.ljust(size, b" ")


def date_bytes(value, what="date"):
    if isinstance(value, list):
        if len(value) != 6:
            raise DescriptionError(f"{what}: six byte values expected")
        return bytes(byte(v, what) for v in value)
    match = DATE_TEXT.match(str(value))
    if match:
        year, *rest = (int(g) for g in match.groups())
        # the reader keeps only the last two digits of the year byte
        if not 2000 <= year <= 2099:
            raise DescriptionError(f"{what}: year {year} outside 2000-2099")
        return bytes([year - 2000, *rest])
    raw = hex_bytes(value)
    if len(raw) != 6:
        raise DescriptionError(f"{what}: six bytes expected, got {value!r}")
    return raw


def shifted_date(value, seconds):
    """The date `seconds` later, for plain "YYYY-MM-DD hh:mm:ss" dates only."""
    if seconds == 0 or not isinstance(value, str) or not DATE_TEXT.match(value):
        return value
    moment = datetime.datetime.strptime(value.replace("T", " "), "%Y-%m-%d %H:%M:%S")
    return (moment + datetime.timedelta(seconds=seconds)).strftime("%Y-%m-%d %H:%M:%S")


# ---------------------------------------------------------------- header

def gas_code(gas):
    if "code" in gas:
        return byte(gas["code"], "gas code")
    mode = gas.get("mode", "normal")
    if mode not in GAS_MODES:
        raise DescriptionError(f"gas mode {mode!r}: use one of {sorted(GAS_MODES)}")
    return byte(GAS_MODES[mode] + parse_int(gas.get("slot", 0), "gas slot"), "gas code")


def gas_slot(gas):
    code = gas_code(gas)
    for base in GAS_MODES.values():
        if base <= code < base + 6:
            return code - base
    return parse_int(gas.get("slot", 0), "gas slot")


def gas_block(gas):
    gas = {**DEFAULT_GAS, **gas}
    decimals = parse_int(gas["decimals"], "decimals")
    if not 0 <= decimals <= 15:
        raise DescriptionError(f"decimals {decimals} outside 0-15")
    unit = gas["unit"]
    unit_code = UNIT_CODES[unit] if unit in UNIT_CODES else parse_int(unit, "unit")
    if not 0 <= unit_code <= 15:
        raise DescriptionError(f"unit code {unit_code} outside 0-15")
    fmt = byte(gas["format"], "format") if "format" in gas else (unit_code << 4) | decimals
    return b"".join([
        bytes([gas_code(gas)]),
        text_field(gas["name"], 10, "gas name"),
        pair(gas["full"], decimals, "full scale"),
        pair(gas["resolution"], decimals, "resolution"),
        bytes([fmt]),
        *(pair(gas[level], decimals, level) for level in ("warning", "alarm", "stel", "twa")),
        ratio_pair(gas["ratio"], decimals),
    ])


def header_gases(log):
    return log.get("gases", [DEFAULT_GAS])


def slot_decimals(log):
    """Decimals of each gas slot the header describes (the last block wins)."""
    return {gas_slot(g): parse_int({**DEFAULT_GAS, **g}["decimals"], "decimals")
            for g in header_gases(log)}


def header_bytes(log, log_no):
    parts = [
        b"\xee\xee",
        be16(parse_int(log_no, "log_no"), "log_no"),
        bytes([byte(log.get("kind", 0), "kind")]),
        text_field(log.get("user", ""), 16, "user"),
        text_field(log.get("station", ""), 16, "station"),
        bytes([byte(log.get("byte37", 0), "byte37")]),
        text_field(log.get("serial", ""), 20, "serial"),
        be16(parse_int(log.get("interval", 60), "interval"), "interval"),
    ]
    parts += [gas_block(g) for g in header_gases(log)]
    ranges = log.get("range")
    default_end = RANGE_END_CODES[0] if ranges is not None else 9
    end_code = byte(log.get("end_code", default_end), "end_code")
    parts.append(bytes([end_code]))
    if end_code in RANGE_END_CODES:
        values = ranges if ranges is not None else [0] * 6
        if len(values) != 6:
            raise DescriptionError("range: six values expected")
        parts += [pair(v, 0, "range") for v in values]
        parts.append(b"\x00")
    parts.append(date_bytes(log.get("date", DEFAULT_DATE)))
    parts.append(bytes([byte(log.get("lunch_break", 0), "lunch_break")]))
    return b"".join(parts)


# ---------------------------------------------------------------- interval trend

def expand_samples(samples):
    if isinstance(samples, list):
        return samples
    values = samples.get("values") or []
    run = parse_int(samples.get("run", 1), "run")
    count = parse_int(samples.get("count", len(values) * run), "count")
    if not values or run < 1:
        raise DescriptionError("sample generator needs values and a run of 1 or more")
    return [values[(n // run) % len(values)] for n in range(count)]


class _SampleTally:
    """Counts per slot and the numeric samples, for the trailer defaults."""

    def __init__(self):
        self.count = {}
        self.numbers = {}

    def add(self, slot, encoded, is_number, n):
        self.count[slot] = self.count.get(slot, 0) + n
        if is_number:
            first = self.count[slot] - n + 1
            self.numbers.setdefault(slot, []).extend(
                (int.from_bytes(encoded, "big"), first + k) for k in range(n))


def sample_runs(values, decimals):
    """[(pair, is_number), count] for each stretch of neighbours that encode alike; each
    stretch of equal values is encoded once, which keeps long generated logs fast."""
    runs = []
    for (_, value), group in itertools.groupby(values, key=lambda v: (type(v).__name__, v)):
        encoded = (pair(value, decimals, "sample"),
                   isinstance(value, (int, float)) and not isinstance(value, bool))
        count = sum(1 for _ in group)
        if runs and runs[-1][0] == encoded:
            runs[-1][1] += count
        else:
            runs.append([encoded, count])
    return runs


def body_records(log, tally):
    """The body as (kind, bytes) steps: "record" (generated, checked), "raw" (a
    record written as given), "bytes" (free bytes), "block" or "page"."""
    decimals = slot_decimals(log)
    records = []
    for item in log.get("body", []):
        if "samples" in item:
            slot = parse_int(item.get("slot", 0), "sample slot")
            flag = 0x80 | (slot & 0x0F)
            for (value, is_number), count in sample_runs(expand_samples(item["samples"]),
                                                         decimals.get(slot, 0)):
                while count:
                    run = min(count, 255)
                    records.append(("record", value + bytes([flag, run])))
                    tally.add(slot, value, is_number, run)
                    count -= run
        elif "event" in item:
            event = item["event"]
            flags = event.get("flags")
            flags = byte(flags, "event flags") if flags is not None else \
                byte(event.get("slot", 15), "event slot") & 0x0F
            if flags & 0x80:
                raise DescriptionError("event flags: bit 7 marks a sample run")
            records.append(("record", be16(parse_int(event.get("seconds", 0), "event seconds"))
                            + bytes([flags, byte(event.get("status", 0), "status")])))
        elif "record" in item:
            raw = hex_bytes(item["record"])
            if len(raw) != 4:
                raise DescriptionError(f"record {item['record']!r}: four bytes expected")
            records.append(("raw", raw))
        elif "bytes" in item:
            records.append(("bytes", hex_bytes(item["bytes"])))
        elif item.get("block"):
            records.append(("block", b""))
        elif item.get("page"):
            records.append(("page", b""))
        else:
            raise DescriptionError(f"unknown body item {item!r}")
    return records


def trailer_bytes(log, log_no, tally):
    trailer = log.get("trailer") or {}
    decimals = slot_decimals(log)
    gases = header_gases(log)
    sampling = bool(gases) and 0 <= gas_code(gases[0]) - GAS_MODES["sampling"] < 6
    base = 0x60 if sampling else 0x20
    interval = parse_int(log.get("interval", 60), "interval")
    start = log.get("date", DEFAULT_DATE)
    # a trailer is only recognised by the code of its first entry, so it always has one
    entries = trailer.get("stats", [{"slot": gas_slot(g)} for g in gases] or [{"slot": 0}])
    parts = [b"\xee\xee", be16(log_no, "log_no")]
    for entry in entries:
        slot = parse_int(entry.get("slot", 0), "stats slot")
        points = tally.numbers.get(slot, [])
        p = decimals.get(slot, 0)
        if points:
            top = max(points, key=lambda c: c[0])
            low = min(points, key=lambda c: c[0])
            defaults = {
                "avr": {"raw": round(sum(c for c, _ in points) / len(points))},
                "max": {"raw": top[0]}, "min": {"raw": low[0]},
                "max_date": shifted_date(start, top[1] * interval),
                "min_date": shifted_date(start, low[1] * interval),
            }
        else:
            defaults = {"avr": None, "max": None, "min": None,
                        "max_date": "DD DD DD DD DD DD", "min_date": "DD DD DD DD DD DD"}
        entry = {**defaults, **entry}
        code = byte(entry.get("code", base + slot), "stats code")
        parts += [bytes([code]), pair(entry["avr"], p, "avr"), pair(entry["max"], p, "max"),
                  date_bytes(entry["max_date"], "max_date"), pair(entry["min"], p, "min"),
                  date_bytes(entry["min_date"], "min_date")]
    end_code = byte(trailer.get("end_code", base + 6), "trailer end_code")
    longest = max(tally.count.values(), default=0)
    end = trailer.get("end", shifted_date(start, longest * interval))
    parts += [bytes([end_code]), date_bytes(end, "end")]
    return b"".join(parts)


class _IntervalStream:
    """The interval ring as one linear byte stream, page after page."""

    def __init__(self):
        self.data = bytearray()

    @property
    def page_offset(self):
        return len(self.data) % PAGE_SIZE

    def room(self):
        return PAGE_SIZE - self.page_offset

    def next_page(self):
        if self.page_offset:
            self.data.extend(b"\xff" * self.room())

    def pad_to(self, offset):
        if offset < self.page_offset:
            self.next_page()
        self.data.extend(b"\xff" * (offset - self.page_offset))

    def fit(self, size):
        if size > self.room():
            self.next_page()

    def put(self, raw):
        start = len(self.data)
        self.data.extend(raw)
        return start


def _check_record(raw, first_in_block):
    if raw[:2] == b"\xee\xee":
        raise DescriptionError(f"record {raw.hex(' ')} would read as a block mark")
    if first_in_block and raw[2] in HEADER_KINDS + TRAILER_KINDS:
        raise DescriptionError(
            f"record {raw.hex(' ')} cannot open a data block: byte 2 reads as a block kind")


def write_interval_log(stream, log, log_no):
    tally = _SampleTally()
    records = body_records(log, tally)
    entry = {"log_no": log_no, "header": None, "samples": tally.count,
             "events": sum(1 for item in log.get("body", []) if "event" in item)}
    if log.get("header", True):
        header = header_bytes(log, log_no)
        if log.get("new_page", True):
            stream.next_page()
        if "at" in log:
            at = parse_int(log["at"], "at")
            if not 0 <= at < PAGE_SIZE:
                raise DescriptionError(f"at {at} outside 0-{PAGE_SIZE - 1}")
            stream.pad_to(at)
        elif log.get("fit", True):
            stream.fit(len(header))
        entry["header"] = stream.put(header)
    elif log.get("new_page", True):
        stream.next_page()
    in_block, records_in_block = False, 0
    for kind, raw in records:
        if kind == "page":
            stream.next_page()
            in_block = False
        elif kind == "block":
            in_block = False
        elif kind == "bytes":
            stream.put(raw)
        else:
            # the reader ends a page's records at a leading 0xFF, so such a record opens a block
            if kind == "record" and raw[0] == ERASED and records_in_block:
                in_block = False
            if not in_block:
                stream.fit(2 + len(raw))
                stream.put(b"\xee\xee")
                in_block, records_in_block = True, 0
            if kind == "record":
                _check_record(raw, records_in_block == 0)
            stream.fit(len(raw))
            stream.put(raw)
            records_in_block += 1
    if log.get("trailer", {}) is not False:
        trailer = trailer_bytes(log, log_no, tally)
        stream.fit(len(trailer))
        entry["trailer"] = stream.put(trailer)
    return entry


def expand_copies(logs, log_no_key, default_log_no=None):
    """Each log once per copy; copies count their log number up when it is known."""
    for log in logs:
        copies = parse_int(log.get("copies", 1), "copies")
        step = parse_int(log.get("copy_step", 86400), "copy_step")
        for i in range(copies):
            copy = dict(log)
            base = log.get(log_no_key, default_log_no)
            if base is not None:
                copy[log_no_key] = parse_int(base, log_no_key) + i
            copy["date"] = shifted_date(log.get("date", DEFAULT_DATE), i * step)
            if i:
                copy.pop("block", None)  # a block's copies fill the blocks after it
            if isinstance(log.get("trailer"), dict) and "end" in log["trailer"]:
                copy["trailer"] = {**log["trailer"],
                                   "end": shifted_date(log["trailer"]["end"], i * step)}
            yield copy


def build_interval(image, ring):
    start_page = parse_int(ring.get("start_page", 0), "start_page")
    if not 0 <= start_page < PAGE_COUNT:
        raise DescriptionError(f"start_page {start_page} outside 0-{PAGE_COUNT - 1}")
    stream = _IntervalStream()
    logs = [write_interval_log(stream, log, log["log_no"])
            for log in expand_copies(ring.get("logs", []), "log_no", 1)]
    pages_used = -(-len(stream.data) // PAGE_SIZE)
    if pages_used > PAGE_COUNT:
        raise DescriptionError(f"interval logs need {pages_used} pages, the ring has {PAGE_COUNT}")

    def image_offset(linear):
        page, rest = divmod(linear, PAGE_SIZE)
        return INTERVAL_AREA + ((start_page + page) % PAGE_COUNT) * PAGE_SIZE + rest

    for page in range(pages_used):
        chunk = stream.data[page * PAGE_SIZE:(page + 1) * PAGE_SIZE]
        at = image_offset(page * PAGE_SIZE)
        image[at:at + len(chunk)] = chunk
    for page in ring.get("erase_pages", []):
        page = parse_int(page, "erase_pages")
        if not 0 <= page < PAGE_COUNT:
            raise DescriptionError(f"erase_pages: {page} outside 0-{PAGE_COUNT - 1}")
        at = INTERVAL_AREA + page * PAGE_SIZE
        image[at:at + PAGE_SIZE] = b"\xff" * PAGE_SIZE
    for log in logs:
        for key in ("header", "trailer"):
            if log.get(key) is not None:
                log[key] = image_offset(log[key])
        if log["header"] is not None:
            log["page"] = log["header"] - log["header"] % PAGE_SIZE
    return {"pages_used": pages_used, "logs": logs}


# ---------------------------------------------------------------- alarm trend

def alarm_record(sample, decimals):
    if isinstance(sample, dict):
        mask = byte(sample.get("mask", 1), "mask")
        value = pair(sample.get("pair"), decimals, "alarm sample")
    elif sample is None:
        mask, value = 0, b"\xff\xff"
    else:
        mask, value = 1, pair(sample, decimals, "alarm sample")
    return bytes([0, mask]) + value + b"\xff" * (ALARM_RECORD_SIZE - 4)


def sector_offset(index):
    return ALARM_AREA + index * SECTOR_SIZE


def build_alarm(image, ring):
    next_sector = parse_int(ring.get("first_sector", 0), "first_sector")
    used, logs = set(), []
    aliased = [{"block_no": log["log_no"], **log} if "log_no" in log else log
               for log in ring.get("logs", [])]
    for log in expand_copies(aliased, "block_no"):
        sector = parse_int(log.get("sector", next_sector % SECTOR_COUNT), "sector")
        if not 0 <= sector < SECTOR_COUNT or sector in used:
            raise DescriptionError(f"alarm sector {sector} is outside 0-9 or used twice")
        used.add(sector)
        next_sector = sector + 1
        at = sector_offset(sector)
        if "bytes" in log:
            raw = hex_bytes(log["bytes"])
            image[at:at + len(raw)] = raw
            logs.append({"sector": sector, "header": None})
            continue
        block_no = parse_int(log.get("block_no", sector), "block_no")
        header = header_bytes(log, block_no)
        if len(header) > ALARM_SAMPLES_START:
            raise DescriptionError("alarm header runs into the sample records")
        image[at:at + len(header)] = header
        samples = expand_samples(log.get("samples", []))
        if len(samples) > ALARM_SAMPLE_COUNT:
            raise DescriptionError(f"alarm log holds {ALARM_SAMPLE_COUNT} samples, got {len(samples)}")
        entry = {"sector": sector, "header": at, "block_no": block_no, "samples_at": None}
        if 0 <= block_no < SECTOR_COUNT:
            decimals = slot_decimals(log).get(0, 0)
            first = sector_offset(block_no) + ALARM_SAMPLES_START
            records = b"".join(alarm_record(s, decimals) for s in samples)
            image[first:first + len(records)] = records
            entry["samples_at"] = first
        logs.append(entry)
    return {"logs": logs}


# ---------------------------------------------------------------- block areas

def power_block(block):
    kind = byte(block["kind"], "kind") if "kind" in block else int(bool(block.get("on", True)))
    return (be16(parse_int(block.get("counter", 1), "counter"), "counter")
            + date_bytes(block.get("date", DEFAULT_DATE)) + bytes([kind]))


def header_and_skip(block):
    return header_bytes(block, block.get("log_no", 1)) + hex_bytes(block.get("skip", "00 00"))


def snapshot_block(block):
    decimals = slot_decimals(block).get(0, 0)
    return (header_and_skip(block) + pair(block.get("value"), decimals, "snapshot value")
            + bytes([byte(block.get("status", 0), "status")]) + b"\xff" * 14)


def event_block(block):
    parts = [header_and_skip(block)]
    for event in block.get("events", []):
        if "record" in event:
            parts.append(hex_bytes(event["record"]))
            continue
        code = event["code"] if "code" in event else 0x70 + parse_int(event.get("gas", 0), "gas")
        parts.append(bytes([byte(code, "event code"), byte(event.get("status", 0), "status")]))
    return b"".join(parts)


def history_record(record, decimals):
    def reading(given, slot, what):
        return pair(given, decimals.get(slot, 0), what)

    if "calibration" in record:
        r = record["calibration"]
        slot = parse_int(r.get("slot", 0), "slot")
        return (bytes([byte(0x60 + slot, "calibration code")]) + reading(r.get("before"), slot, "before")
                + reading(r.get("after"), slot, "after"))
    if "bump" in record:
        r = record["bump"]
        slot = parse_int(r.get("slot", 0), "slot")
        return (bytes([byte(0x70 + slot, "bump code")]) + reading(r.get("first"), slot, "first")
                + reading(r.get("second"), slot, "second") + bytes([int(bool(r.get("passed", True)))]))
    if "sensor_change" in record:
        r = record["sensor_change"]
        return (bytes([byte(0x80 + parse_int(r.get("slot", 0), "slot"), "sensor code")])
                + text_field(r.get("model", ""), 10, "model") + text_field(r.get("serial", ""), 10, "serial"))
    if record.get("mark"):
        return b"\xee\xee"
    if "record" in record:
        return hex_bytes(record["record"])
    raise DescriptionError(f"unknown history record {record!r}")


def history_block(block):
    decimals = slot_decimals(block)
    return header_and_skip(block) + b"".join(history_record(r, decimals)
                                             for r in block.get("records", []))


BLOCK_WRITERS = {"power_events": power_block, "snapshots": snapshot_block,
                 "alarm_events": event_block, "trouble_events": event_block,
                 "histories": history_block}


def build_blocks(image, family, blocks):
    area, writer = BLOCK_AREAS[family], BLOCK_WRITERS[family]
    index, offsets = 0, []
    number_key = "counter" if family == "power_events" else "log_no"
    for block in expand_copies(blocks, number_key, 1):
        index = parse_int(block.get("block", index), "block")
        if not 0 <= index < BLOCK_COUNT:
            raise DescriptionError(f"{family}: block {index} outside 0-{BLOCK_COUNT - 1}")
        raw = hex_bytes(block["bytes"]) if "bytes" in block else writer(block)
        if len(raw) > BLOCK_SIZE:
            raise DescriptionError(f"{family}: block {index} needs {len(raw)} bytes")
        at = area + index * BLOCK_SIZE
        image[at:at + BLOCK_SIZE] = raw.ljust(BLOCK_SIZE, b"\xff")
        offsets.append(at)
        index += 1
    return offsets


# ---------------------------------------------------------------- image

def build(description):
    """Return (image bytes, layout). The layout gives image offsets:
    layout["interval"]["logs"][i] = {"log_no", "header", "page", "trailer",
    "samples": {slot: count}, "events"} and layout["interval"]["pages_used"];
    layout["alarm"]["logs"][i] = {"sector", "header", "block_no", "samples_at"};
    layout[block family] = the image offset of each block, in description order."""
    image = bytearray(b"\xff" * IMAGE_SIZE)
    layout = {"interval": build_interval(image, description.get("interval", {})),
              "alarm": build_alarm(image, description.get("alarm", {}))}
    for family in BLOCK_AREAS:
        layout[family] = build_blocks(image, family, description.get(family, []))
    for patch in description.get("patches", []):
        raw = hex_bytes(patch["bytes"]) * parse_int(patch.get("repeat", 1), "repeat")
        at = parse_int(patch["offset"], "patch offset")
        if not 0 <= at <= IMAGE_SIZE - len(raw):
            raise DescriptionError(f"patch at {at:#x} leaves the image")
        image[at:at + len(raw)] = raw
    size = parse_int(description.get("size", IMAGE_SIZE), "size")
    if size < 0:
        raise DescriptionError("size must not be negative")
    data = bytes(image[:size]) + b"\xff" * max(0, size - IMAGE_SIZE)
    return data, layout


def build_image(description):
    return build(description)[0]


def write_image(description, path):
    data, layout = build(description)
    with open(path, "wb") as out:
        out.write(data)
    return layout


def load_description(path):
    with open(path, encoding="utf-8") as source:
        return json.load(source)


def main(argv):
    args = [a for a in argv if a != "--layout"]
    if len(args) != 2:
        print(__doc__.split("Description format")[0].strip(), file=sys.stderr)
        return 2
    try:
        layout = write_image(load_description(args[0]), args[1])
    except (OSError, ValueError, KeyError, TypeError) as error:
        print(f"tq6200_image: {error}", file=sys.stderr)
        return 1
    if "--layout" in argv:
        print(json.dumps(layout, indent=1))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
