"""Self-tests of the flash-image builder: bytes land where the readers look for them."""

import io
import json
import os
import subprocess
import sys
import tempfile
import unittest
from contextlib import redirect_stderr

TOOLS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, TOOLS)

import tq6200_image as img  # noqa: E402

FIXTURES = os.path.join(TOOLS, "fixtures")
INTERVAL = img.INTERVAL_AREA
PAGE = img.PAGE_SIZE


def fixture(name):
    return img.load_description(os.path.join(FIXTURES, name))


def interval_image(*logs, **ring):
    return img.build({"interval": {"logs": list(logs), **ring}})


def page(data, index):
    return data[INTERVAL + index * PAGE:INTERVAL + (index + 1) * PAGE]


def written(unit):
    return unit[:4] != b"\xff" * 4


GAS = {"name": "CH4", "decimals": 1, "unit": "ppm", "full": 100, "resolution": 0.1,
       "warning": 10, "alarm": "DD DD", "stel": "FE FE", "twa": None, "ratio": 1.5}


class ImageSize(unittest.TestCase):
    def test_sizes(self):
        cases = [({}, img.IMAGE_SIZE), ({"size": 300000}, 300000), ({"size": 0}, 0),
                 ({"size": img.IMAGE_SIZE + 10}, img.IMAGE_SIZE + 10)]
        for description, size in cases:
            with self.subTest(size=size):
                data = img.build_image(description)
                self.assertEqual(len(data), size)
                self.assertEqual(data, b"\xff" * size)

    def test_every_fixture_is_a_whole_image_unless_short(self):
        for name in sorted(n for n in os.listdir(FIXTURES) if n.endswith(".json")):
            with self.subTest(fixture=name):
                data = img.build_image(fixture(name))
                self.assertEqual(len(data), 300000 if name == "short_file.json" else 524288)

    def test_short_file_keeps_its_leading_bytes(self):
        whole = img.build_image({**fixture("short_file.json"), "size": img.IMAGE_SIZE})
        self.assertEqual(img.build_image(fixture("short_file.json")), whole[:300000])


class Header(unittest.TestCase):
    LOG = {"log_no": 0x1234, "kind": 0x40, "user": "ALICE", "station": "TANK-7",
           "serial": "X1", "interval": 600, "gases": [GAS], "date": "2021-12-31 23:59:59",
           "lunch_break": 7, "trailer": False}

    def header(self, **changes):
        data, layout = interval_image({**self.LOG, **changes})
        at = layout["interval"]["logs"][0]["header"]
        return data[at:at + PAGE]

    def test_fixed_fields(self):
        h = self.header()
        self.assertEqual(h[0:2], b"\xee\xee")
        self.assertEqual(h[2:4], b"\x12\x34")
        self.assertEqual(h[4], 0x40)
        self.assertEqual(h[5:21], b"ALICE".ljust(16))
        self.assertEqual(h[21:37], b"TANK-7".ljust(16))
        self.assertEqual(h[37], 0)
        self.assertEqual(h[38:58], b"X1".ljust(20))
        self.assertEqual(h[58:60], b"\x02\x58")

    def test_gas_block(self):
        g = self.header()[60:86]
        self.assertEqual(g[0], 2)
        self.assertEqual(g[1:11], b"CH4".ljust(10))
        self.assertEqual(g[11:13], b"\x03\xe8")   # 100.0 with one decimal
        self.assertEqual(g[13:15], b"\x00\x01")   # 0.1
        self.assertEqual(g[15], 0x21)             # ppm, one decimal
        self.assertEqual(g[16:24], b"\x00\x64\xdd\xdd\xfe\xfe\xff\xff")
        self.assertEqual(g[24:26], b"\x00\x0f")

    def test_without_range_block(self):
        h = self.header()
        self.assertEqual(h[86], 9)
        self.assertEqual(h[87:93], bytes([21, 12, 31, 23, 59, 59]))
        self.assertEqual(h[93], 7)
        self.assertEqual(h[94], 0xFF)  # the 94-byte header is followed by erased flash

    def test_with_range_block(self):
        h = self.header(range=[0, 100, "DD DD", 2000, "FF FF", {"raw": 5}], end_code=72)
        self.assertEqual(h[86], 72)
        self.assertEqual(h[87:99], bytes.fromhex("0000 0064 dddd 07d0 ffff 0005"))
        self.assertEqual(h[99], 0)
        self.assertEqual(h[100:106], bytes([21, 12, 31, 23, 59, 59]))
        self.assertEqual(h[106], 7)
        self.assertEqual(h[107], 0xFF)

    def test_no_gas_block(self):
        h = self.header(gases=[])
        self.assertEqual(h[60], 9)
        self.assertEqual(h[61:67], bytes([21, 12, 31, 23, 59, 59]))
        self.assertEqual(h[67], 7)

    def test_gas_codes(self):
        cases = [({}, 2), ({"mode": "keep"}, 34), ({"mode": "sampling"}, 66),
                 ({"slot": 1}, 3), ({"slot": 1, "mode": "sampling"}, 67),
                 ({"slot": 2}, 4), ({"code": 9}, 9)]
        for gas, code in cases:
            with self.subTest(gas=gas):
                self.assertEqual(self.header(gases=[{**GAS, **gas}])[60], code)

    def test_format_byte(self):
        cases = [({"unit": "vol%", "decimals": 2}, 0x02), ({"unit": "%LEL"}, 0x11),
                 ({"unit": "ppb", "decimals": 0}, 0x30), ({"unit": 5, "decimals": 0}, 0x50),
                 ({"format": 0xAB}, 0xAB)]
        for gas, fmt in cases:
            with self.subTest(gas=gas):
                self.assertEqual(self.header(gases=[{**GAS, **gas}])[75], fmt)

    def test_ratio(self):
        cases = [(1.5, 1, b"\x00\x0f"), ("DD DD", 0, b"\xdd\xdd"),
                 (53248, 0, b"\xd0\x00"), (60000, 0, b"\xd0\x64")]
        for ratio, decimals, raw in cases:
            with self.subTest(ratio=ratio):
                gas = {**GAS, "ratio": ratio, "decimals": decimals, "full": 1, "resolution": 1}
                self.assertEqual(self.header(gases=[gas])[84:86], raw)

    def test_identifier_texts(self):
        cases = [("serial", "ABCDEFGHIJKL\u0003", 38, b"ABCDEFGHIJKL\x03" + b" " * 7),
                 ("serial", "SN'01/A", 38, b"SN'01/A".ljust(20)),
                 ("user", "", 5, b" " * 16),
                 ("station", "A\u0000B", 21, b"A\x00B".ljust(16))]
        for field, value, offset, raw in cases:
            with self.subTest(field=field, value=value):
                self.assertEqual(self.header(**{field: value})[offset:offset + len(raw)], raw)

    def test_dates(self):
        cases = [("2000-01-01 00:00:00", bytes([0, 1, 1, 0, 0, 0])),
                 ([255] * 6, b"\xff" * 6), ([21, 13, 1, 0, 0, 0], bytes([21, 13, 1, 0, 0, 0])),
                 ("DD DD 00 00 00 00", b"\xdd\xdd" + bytes(4)),
                 ("2099-06-07 08:09:10", bytes([99, 6, 7, 8, 9, 10])),
                 ([255, 6, 7, 8, 9, 10], bytes([255, 6, 7, 8, 9, 10]))]
        for date, raw in cases:
            with self.subTest(date=date):
                self.assertEqual(self.header(date=date)[87:93], raw)

    def test_refused_values(self):
        cases = [{"user": "X" * 17}, {"serial": "Y" * 21}, {"date": "1999-12-31 00:00:00"},
                 {"date": "2100-01-01 00:00:00"}, {"date": [1, 2, 3]}, {"date": "DD DD"},
                 {"interval": 70000}, {"gases": [{**GAS, "full": 6553.6}]},
                 {"gases": [{**GAS, "warning": "DD"}]}, {"range": [1, 2, 3]},
                 {"gases": [{**GAS, "mode": "odd"}]}, {"gases": [{**GAS, "ratio": 6005.0}]}]
        for changes in cases:
            with self.subTest(changes=changes):
                with self.assertRaises(img.DescriptionError):
                    self.header(**changes)


class IntervalBody(unittest.TestCase):
    def body(self, items, gas=GAS, **log):
        """Bytes from the first data block on, and the layout entry."""
        data, layout = interval_image({"gases": [gas], "body": items, **log})
        entry = layout["interval"]["logs"][0]
        return data[entry["header"] + 94:], entry, data

    def test_sample_runs_and_codes(self):
        raw, entry, _ = self.body([{"samples": [10, 10, 10, "DD DD", "DD DD", "FE FE", 0]}])
        self.assertEqual(raw[:18], bytes.fromhex("eeee 0064 8003 dddd 8002 fefe 8001 0000 8001"))
        self.assertEqual(entry["samples"], {0: 7})

    def test_run_length_is_at_most_255(self):
        raw, _, _ = self.body([{"samples": [5] * 300}])
        self.assertEqual(raw[2:10], bytes.fromhex("0032 80ff 0032 802d"))

    def test_erased_pair_opens_a_new_block(self):
        raw, _, _ = self.body([{"samples": [None, None, 1, None]}])
        self.assertEqual(raw[:16], bytes.fromhex("eeee ffff 8002 000a 8001 eeee ffff 8001"))

    def test_events_and_raw_records(self):
        raw, entry, _ = self.body([{"samples": [1]}, {"event": {"status": 1, "seconds": 30}},
                                   {"event": {"status": 2, "seconds": 1000, "slot": 0}},
                                   {"record": "00 64 81 03"}, {"samples": [2], "slot": 1}])
        self.assertEqual(raw[:22], bytes.fromhex("eeee 000a 8001 001e 0f01 03e8 0002 0064 8103 0002 8101"))
        self.assertEqual(entry["events"], 2)
        self.assertEqual(entry["samples"], {0: 1, 1: 1})

    def test_block_and_page_items(self):
        raw, _, data = self.body([{"samples": [1]}, {"block": True}, {"samples": [2]},
                                  {"page": True}, {"samples": [3]}], trailer=False)
        self.assertEqual(raw[:12], bytes.fromhex("eeee 000a 8001 eeee 0014 8001"))
        self.assertEqual(set(raw[12:PAGE - 94]), {0xFF})
        self.assertEqual(page(data, 1)[:6], bytes.fromhex("eeee 001e 8001"))

    def test_refused_records(self):
        cases = [[{"event": {"status": 1, "slot": 0}}],          # reads as a header kind
                 [{"event": {"status": 1, "flags": 0x21}}],      # reads as a trailer kind
                 [{"samples": [1]}, {"samples": [6116.6]}],      # EE EE reads as a block mark
                 [{"event": {"flags": 0x80}}],
                 [{"record": "00 01 02"}], [{"bogus": 1}]]
        for items in cases:
            with self.subTest(items=items):
                with self.assertRaises(img.DescriptionError):
                    self.body(items)

    def test_sample_generator(self):
        self.assertEqual(img.expand_samples({"values": [1, 2], "run": 2, "count": 5}), [1, 1, 2, 2, 1])
        self.assertEqual(img.expand_samples({"values": [7]}), [7])
        with self.assertRaises(img.DescriptionError):
            img.expand_samples({"values": [], "count": 3})


class Trailer(unittest.TestCase):
    def trailer(self, log):
        data, layout = interval_image(log)
        at = layout["interval"]["logs"][0]["trailer"]
        return data[at:at + 60]

    def test_statistics_from_the_samples(self):
        t = self.trailer({"log_no": 5, "gases": [GAS], "interval": 60, "date": "2024-01-01 10:00:00",
                          "body": [{"samples": [10, 30, "DD DD", 20]}]})
        self.assertEqual(t[:4], b"\xee\xee\x00\x05")
        self.assertEqual(t[4], 0x20)
        self.assertEqual(t[5:7], b"\x00\xc8")                                     # avr 20.0
        self.assertEqual(t[7:9] + t[9:15], b"\x01\x2c" + bytes([24, 1, 1, 10, 2, 0]))  # max, 2nd sample
        self.assertEqual(t[15:17] + t[17:23], b"\x00\x64" + bytes([24, 1, 1, 10, 1, 0]))
        self.assertEqual(t[23], 0x26)
        self.assertEqual(t[24:30], bytes([24, 1, 1, 10, 4, 0]))                 # start + 4 intervals

    def test_no_numeric_sample(self):
        t = self.trailer({"gases": [GAS], "body": [{"samples": ["FE FE"]}]})
        self.assertEqual(t[5:23], b"\xff\xff" * 2 + b"\xdd" * 6 + b"\xff\xff" + b"\xdd" * 6)

    def test_explicit_entries(self):
        t = self.trailer({"gases": [GAS], "trailer": {
            "stats": [{"slot": 0, "avr": "FE FE", "max": 1, "max_date": "DD DD 00 00 00 00",
                       "min": 0, "min_date": [1, 2, 3, 4, 5, 6]},
                      {"code": 0x22, "avr": None, "max": None, "min": None}],
            "end": [255] * 6}})
        self.assertEqual(t[4:23], bytes.fromhex("20 fefe 000a dddd00000000 0000 010203040506"))
        self.assertEqual(t[23], 0x22)
        self.assertEqual(t[42:49], b"\x26" + b"\xff" * 6)

    def test_sampling_mode_codes(self):
        t = self.trailer({"gases": [{**GAS, "mode": "sampling"}]})
        self.assertEqual((t[4], t[23]), (0x60, 0x66))

    def test_one_entry_per_gas_block(self):
        t = self.trailer({"gases": [GAS, {**GAS, "slot": 1}], "body": []})
        self.assertEqual((t[4], t[23], t[42]), (0x20, 0x21, 0x26))

    def test_a_log_without_gas_still_gets_an_entry(self):
        t = self.trailer({"gases": [], "body": []})
        self.assertEqual((t[4], t[23]), (0x20, 0x26))


class IntervalLayout(unittest.TestCase):
    def test_records_continue_on_the_next_page(self):
        data, layout = interval_image({"gases": [GAS], "body": [{"samples": list(range(1, 60))}]})
        first = page(data, 0)
        # 94-byte header, EE EE at 94, records from 96: forty fill the page exactly
        self.assertEqual(first[94:98], bytes.fromhex("eeee 000a"))
        self.assertEqual(first[252:256], bytes.fromhex("0190 8001"))
        self.assertEqual(page(data, 1)[:4], bytes.fromhex("019a 8001"))
        self.assertEqual(layout["interval"]["logs"][0]["trailer"], INTERVAL + PAGE + 19 * 4)

    def test_leftover_bytes_at_a_page_end_are_erased(self):
        # a 107-byte header puts records at 109, 113, ..., 249: three bytes stay at the end
        data, _ = interval_image({"gases": [GAS], "range": [0] * 6,
                                  "body": [{"samples": list(range(1, 50))}]})
        first = page(data, 0)
        self.assertEqual(first[107:111], bytes.fromhex("eeee 000a"))
        self.assertEqual(first[253:], b"\xff" * 3)
        self.assertEqual(page(data, 1)[:2], bytes.fromhex("0172"))

    def test_blocks_that_do_not_fit_move_to_the_next_page(self):
        # the first log ends at 236, so the second header (94 bytes) and a trailer cannot follow
        small = {"gases": [GAS], "trailer": False}
        data, layout = interval_image(
            {**small, "body": [{"samples": list(range(1, 36))}]},
            {**small, "new_page": False, "trailer": {}, "body": []})
        logs = layout["interval"]["logs"]
        self.assertEqual(logs[1]["header"], INTERVAL + PAGE)
        self.assertEqual(set(page(data, 0)[236:]), {0xFF})

    def test_each_log_starts_a_page(self):
        _, layout = interval_image({"body": [{"samples": [1]}]}, {"body": [{"samples": [2]}]})
        self.assertEqual([log["header"] for log in layout["interval"]["logs"]],
                         [INTERVAL, INTERVAL + PAGE])

    def test_two_headers_in_one_page(self):
        data, layout = img.build(fixture("two_headers_one_page.json"))
        first, second, third = layout["interval"]["logs"]
        self.assertEqual(first["page"], second["page"])
        self.assertNotEqual(first["header"], second["header"])
        self.assertEqual(data[second["header"]:second["header"] + 5], bytes.fromhex("eeee 0002 00"))
        self.assertEqual(second["header"], first["trailer"] + 30)
        self.assertEqual(third["header"] % PAGE, 0)

    def test_header_past_a_page_end(self):
        data, layout = img.build(fixture("header_past_page.json"))
        first, second, _ = layout["interval"]["logs"]
        at = second["header"]
        self.assertEqual(at, first["trailer"] + 30)  # right after the trailer, as a reader meets it
        self.assertEqual(at, INTERVAL + 166)
        self.assertEqual(data[at:at + 4], bytes.fromhex("eeee 0002"))
        self.assertTrue(written(page(data, 1)))       # the header's last bytes open page 1
        self.assertEqual(page(data, 1)[:6], bytes.fromhex("0a0000 00 eeee"))  # hh mm ss, lunch break

    def test_explicit_header_offset(self):
        _, layout = interval_image({"body": []}, {"at": 200, "body": []})
        self.assertEqual(layout["interval"]["logs"][1]["header"], INTERVAL + PAGE + 200)
        with self.assertRaises(img.DescriptionError):
            interval_image({"at": 256})

    def test_mark_at_the_last_byte_of_a_page(self):
        data, layout = img.build(fixture("page_end_mark.json"))
        first = page(data, 0)
        self.assertEqual(first[81:83], b"\xee\xee")
        self.assertEqual(first[251:256], bytes.fromhex("002b 8001 00"))  # last record, then 00
        self.assertEqual(layout["interval"]["logs"][0]["trailer"], INTERVAL + PAGE)

    def test_log_without_header(self):
        data, layout = interval_image({"header": False, "log_no": 3, "body": [{"samples": [1]}]})
        entry = layout["interval"]["logs"][0]
        self.assertIsNone(entry["header"])
        self.assertEqual(page(data, 0)[:10], bytes.fromhex("eeee 0001 8001 eeee 0003"))

    def test_copies(self):
        data, layout = interval_image({"log_no": 4, "copies": 3, "copy_step": 3600,
                                       "date": "2024-01-01 23:00:00", "body": [{"samples": [1]}]})
        headers = [log["header"] for log in layout["interval"]["logs"]]
        self.assertEqual([data[h + 2:h + 4] for h in headers], [b"\x00\x04", b"\x00\x05", b"\x00\x06"])
        self.assertEqual([data[h + 87:h + 93] for h in headers],
                         [bytes([24, 1, 1, 23, 0, 0]), bytes([24, 1, 2, 0, 0, 0]),
                          bytes([24, 1, 2, 1, 0, 0])])


class IntervalRing(unittest.TestCase):
    def test_start_page_wraps_to_the_ring_start(self):
        data, layout = interval_image({"body": [{"samples": list(range(1, 200))}]}, start_page=254)
        self.assertEqual(layout["interval"]["pages_used"], 4)
        self.assertEqual([written(page(data, p)) for p in (253, 254, 255, 0, 1, 2)],
                         [False, True, True, True, True, False])
        self.assertEqual(layout["interval"]["logs"][0]["header"], INTERVAL + 254 * PAGE)

    def test_erase_pages(self):
        data, _ = interval_image({"body": [{"samples": list(range(1, 200))}]}, erase_pages=[1])
        self.assertEqual([written(page(data, p)) for p in range(4)], [True, False, True, True])
        self.assertEqual(page(data, 1), b"\xff" * PAGE)
        with self.assertRaises(img.DescriptionError):
            interval_image(erase_pages=[256])

    def test_ring_overflow_is_refused(self):
        with self.assertRaises(img.DescriptionError):
            interval_image({"body": [{"samples": list(range(1, 17000))}]})
        with self.assertRaises(img.DescriptionError):
            interval_image(start_page=256)

    def test_wrapped_fixture(self):
        data, layout = img.build(fixture("wrapped_rings.json"))
        used = [p for p in range(256) if written(page(data, p))]
        self.assertEqual(used, list(range(19)) + list(range(250, 256)))
        orphan, first, _ = layout["interval"]["logs"]
        self.assertIsNone(orphan["header"])
        self.assertNotEqual(first["header"] % PAGE, 0)  # the oldest header begins mid-page
        self.assertLess(first["trailer"], first["header"])  # and its log wraps to the ring start

    def test_first_page_erased_fixture(self):
        data, layout = img.build(fixture("first_unit_erased.json"))
        self.assertFalse(written(page(data, 0)))
        self.assertEqual(layout["interval"]["logs"][0]["header"], INTERVAL + PAGE)
        self.assertEqual(data[0x50000:0x50005], bytes.fromhex("eeee 0001 00"))

    def test_full_fixture_uses_every_page(self):
        data, layout = img.build(fixture("full_rings.json"))
        self.assertTrue(all(written(page(data, p)) for p in range(256)))
        self.assertEqual(max(log["samples"][0] for log in layout["interval"]["logs"]), 54001)
        self.assertEqual(data[0x50000:0x50004], b"\xff" * 4)  # nothing beyond the area


class AlarmRing(unittest.TestCase):
    LOG = {"serial": "X1", "interval": 10, "date": "2024-05-06 12:00:00", "gases": [GAS]}

    def sector(self, data, index):
        start = img.ALARM_AREA + index * img.SECTOR_SIZE
        return data[start:start + img.SECTOR_SIZE]

    def test_header_and_samples_of_one_sector(self):
        samples = [None, 0, "DD DD", "FE FE", "FF FF", 30, {"mask": 0, "pair": "01 2C"}]
        data, layout = img.build({"alarm": {"logs": [{**self.LOG, "samples": samples}]}})
        s = self.sector(data, 0)
        self.assertEqual(s[:5], bytes.fromhex("eeee 0000 00"))
        self.assertEqual(s[38:40], b"X1")
        self.assertEqual(s[87:93], bytes([24, 5, 6, 12, 0, 0]))
        self.assertEqual(set(s[94:384]), {0xFF})
        records = [s[384 + 16 * k:400 + 16 * k] for k in range(8)]
        self.assertEqual([r[:4].hex() for r in records],
                         ["0000ffff", "00010000", "0001dddd", "0001fefe", "0001ffff",
                          "0001012c", "0000012c", "ffffffff"])
        self.assertTrue(all(r[4:] == b"\xff" * 12 for r in records))
        self.assertEqual(layout["alarm"]["logs"][0]["samples_at"], img.ALARM_AREA + 384)

    def test_a_full_log_ends_at_byte_11903(self):
        data, _ = img.build({"alarm": {"logs": [{**self.LOG, "samples": {"values": [1], "count": 720}}]}})
        s = self.sector(data, 0)
        self.assertEqual(s[11888:11892], bytes.fromhex("0001 000a"))
        self.assertEqual(set(s[11904:]), {0xFF})
        with self.assertRaises(img.DescriptionError):
            img.build({"alarm": {"logs": [{**self.LOG, "samples": [1] * 721}]}})

    def test_sectors_follow_the_first_one_and_wrap(self):
        data, layout = img.build({"alarm": {"first_sector": 8, "logs": [self.LOG] * 3}})
        self.assertEqual([log["sector"] for log in layout["alarm"]["logs"]], [8, 9, 0])
        self.assertEqual([self.sector(data, i)[:2] == b"\xee\xee" for i in range(10)],
                         [True] + [False] * 7 + [True, True])
        self.assertEqual([self.sector(data, i)[3] for i in (8, 9, 0)], [8, 9, 0])

    def test_block_number_names_the_sample_sector(self):
        data, layout = img.build({"alarm": {"logs": [
            {**self.LOG, "sector": 6, "block_no": 2, "samples": [1]}]}})
        self.assertEqual(self.sector(data, 6)[2:4], b"\x00\x02")
        self.assertEqual(self.sector(data, 2)[384:388], bytes.fromhex("0001 000a"))
        self.assertEqual(self.sector(data, 6)[384:388], b"\xff" * 4)
        self.assertEqual(layout["alarm"]["logs"][0]["samples_at"], img.ALARM_AREA + 2 * img.SECTOR_SIZE + 384)

    def test_block_number_beyond_the_area_writes_no_samples(self):
        data, layout = img.build(fixture("alarm_block_beyond.json"))
        entry = layout["alarm"]["logs"][1]
        self.assertEqual((entry["block_no"], entry["samples_at"]), (12, None))
        self.assertEqual(self.sector(data, 1)[2:4], b"\x00\x0c")
        self.assertEqual(set(self.sector(data, 1)[384:]), {0xFF})
        self.assertEqual(set(data[0x2E000:0x40000]), {0xFF})

    def test_raw_sector_and_refused_sectors(self):
        data, _ = img.build({"alarm": {"logs": [{"sector": 4, "bytes": "12 34"}]}})
        self.assertEqual(self.sector(data, 4)[:3], bytes.fromhex("1234ff"))
        for logs in ([{"sector": 10}], [{"sector": 1}, {"sector": 1}], [self.LOG] * 11):
            with self.subTest(logs=logs):
                with self.assertRaises(img.DescriptionError):
                    img.build({"alarm": {"logs": logs}})

    def test_full_fixture_has_one_erased_sector(self):
        data = img.build_image(fixture("full_rings.json"))
        heads = [self.sector(data, i)[:2] for i in range(10)]
        self.assertEqual([h == b"\xee\xee" for h in heads], [True] * 3 + [False] + [True] * 6)
        self.assertEqual(self.sector(data, 3), b"\xff" * img.SECTOR_SIZE)

    def test_wrapped_fixture_leaves_a_gap(self):
        data = img.build_image(fixture("wrapped_rings.json"))
        self.assertEqual([written(self.sector(data, i)) for i in range(10)],
                         [True, True] + [False] * 5 + [True] * 3)


class BlockAreas(unittest.TestCase):
    def block(self, family, *blocks):
        data, layout = img.build({family: list(blocks)})
        return [data[at:at + img.BLOCK_SIZE] for at in layout[family]], layout[family]

    def test_areas_and_placement(self):
        for family, area in img.BLOCK_AREAS.items():
            with self.subTest(family=family):
                blocks, offsets = self.block(family, {"bytes": "EE EE"}, {"block": 7, "bytes": "01"},
                                             {"bytes": "02"})
                self.assertEqual(offsets, [area, area + 7 * 256, area + 8 * 256])
                self.assertEqual(blocks[0][:3], bytes.fromhex("eeeeff"))

    def test_power_event(self):
        blocks, _ = self.block("power_events",
                               {"counter": 0x0102, "date": "2024-05-01 17:30:00", "on": False},
                               {"kind": 7})
        self.assertEqual(blocks[0][:10], bytes.fromhex("0102 180501111e00 00 ff"))
        self.assertEqual(blocks[1][8], 7)

    def test_snapshot(self):
        blocks, _ = self.block("snapshots", {"gases": [GAS], "value": 12.5, "status": 2})
        self.assertEqual(blocks[0][:2], b"\xee\xee")
        self.assertEqual(blocks[0][94:99], bytes.fromhex("0000 007d 02"))
        self.assertEqual(blocks[0][99:113], b"\xff" * 14)

    def test_event_records(self):
        blocks, _ = self.block("alarm_events", {"gases": [], "skip": "12 34",
                                                "events": [{"gas": 0, "status": 1}, {"gas": 15, "status": 6},
                                                           {"code": 0x99, "status": 0}, {"record": "7101"}]})
        self.assertEqual(blocks[0][68:80], bytes.fromhex("1234 7001 7f06 9900 7101 ffff"))

    def test_history_records(self):
        blocks, _ = self.block("histories", {"gases": [GAS], "records": [
            {"calibration": {"before": 50.0, "after": 52.2}},
            {"bump": {"slot": 1, "first": 1, "second": "DD DD", "passed": False}},
            {"mark": True},
            {"sensor_change": {"slot": 1, "model": "M1", "serial": "S2"}}]})
        self.assertEqual(blocks[0][96:101], bytes.fromhex("60 01f4 020a"))
        # slot 1 has no gas block, so its readings take no decimals
        self.assertEqual(blocks[0][101:107], bytes.fromhex("71 0001 dddd 00"))
        self.assertEqual(blocks[0][107:109], b"\xee\xee")
        self.assertEqual(blocks[0][109:130], b"\x81" + b"M1".ljust(10) + b"S2".ljust(10))
        self.assertEqual(blocks[0][130], 0xFF)

    def test_block_copies(self):
        blocks, offsets = self.block("power_events", {"block": 3, "counter": 9, "copies": 3,
                                                      "copy_step": 3600, "date": "2024-05-01 23:00:00"})
        self.assertEqual(offsets, [3 * 256, 4 * 256, 5 * 256])
        self.assertEqual([b[:8] for b in blocks], [bytes.fromhex("0009 180501170000"),
                                                   bytes.fromhex("000a 180502000000"),
                                                   bytes.fromhex("000b 180502010000")])
        blocks, _ = self.block("histories", {"log_no": 5, "copies": 2})
        self.assertEqual([b[2:4] for b in blocks], [b"\x00\x05", b"\x00\x06"])

    def test_refused_blocks(self):
        cases = [("alarm_events", {"events": [{"status": 1}] * 90}), ("histories", {"records": [{"x": 1}]}),
                 ("snapshots", {"block": 256}), ("power_events", {"bytes": "00" * 257})]
        for family, block in cases:
            with self.subTest(family=family):
                with self.assertRaises(img.DescriptionError):
                    img.build({family: [block]})

    def test_events_fixture(self):
        data, layout = img.build(fixture("events_basic.json"))
        self.assertEqual(layout["power_events"], [0, 256, 5 * 256])
        self.assertEqual(layout["alarm_events"], [0x50000, 0x50100])
        self.assertEqual(data[0x60000 + 96:0x60000 + 100], bytes.fromhex("7f06 7010"))


class Corruptions(unittest.TestCase):
    def test_gas_slot_above_one(self):
        data, layout = img.build(fixture("corrupt_gas_slot.json"))
        header = layout["interval"]["logs"][1]["header"]
        self.assertEqual((data[header + 60], data[header + 86]), (2, 4))
        self.assertEqual(data[0x13000 + 60], 4)

    def test_trailer_entry_for_slot_two(self):
        data, layout = img.build(fixture("trailer_gas_slot.json"))
        at = layout["interval"]["logs"][1]["trailer"]
        self.assertEqual((data[at + 4], data[at + 23], data[at + 42]), (0x20, 0x22, 0x26))

    def test_trailer_without_its_header(self):
        data, layout = img.build(fixture("orphan_tail.json"))
        orphan = layout["interval"]["logs"][0]
        self.assertIsNone(orphan["header"])
        self.assertEqual(orphan["trailer"], INTERVAL + 2 * PAGE)
        self.assertEqual(page(data, 0)[:6], bytes.fromhex("eeee 0001 8001"))
        self.assertEqual(layout["interval"]["logs"][1]["header"], INTERVAL + 3 * PAGE)

    def test_serial_with_quote_and_slash(self):
        data, layout = img.build(fixture("ids_quote_slash.json"))
        header = layout["interval"]["logs"][0]["header"]
        self.assertEqual(data[header + 5:header + 58],
                         b"O'Brien".ljust(16) + b"Tank 'A'/2".ljust(16) + b"\x00" + b"SN'01/A".ljust(20))
        self.assertEqual(data[0x10000 + 38:0x10000 + 45], b"SN'01/A")

    def test_header_without_slot0_gas(self):
        data, layout = img.build(fixture("no_slot0_gas.json"))
        self.assertEqual(data[layout["interval"]["logs"][0]["header"] + 60], 3)
        self.assertEqual(data[0x10000 + 60], 9)
        self.assertEqual(data[0x10000 + 384 + 16 + 2:0x10000 + 384 + 16 + 4], b"\x00\x07")

    def test_patches(self):
        data = img.build_image({"patches": [{"offset": "0x40000", "bytes": "EE EE"},
                                            {"offset": 10, "bytes": "00", "repeat": 3}]})
        self.assertEqual(data[0x40000:0x40003], bytes.fromhex("eeeeff"))
        self.assertEqual(data[9:14], bytes.fromhex("ff000000ff"))
        with self.assertRaises(img.DescriptionError):
            img.build_image({"patches": [{"offset": img.IMAGE_SIZE - 1, "bytes": "00 00"}]})


class CommandLine(unittest.TestCase):
    def run_tool(self, description, *extra):
        with tempfile.TemporaryDirectory(prefix="T2-") as folder:
            source = os.path.join(folder, "d.json")
            target = os.path.join(folder, "out.bin")
            with open(source, "w", encoding="utf-8") as out:
                out.write(description)
            result = subprocess.run([sys.executable, os.path.join(TOOLS, "tq6200_image.py"),
                                     source, target, *extra], capture_output=True, text=True)
            data = None
            if os.path.exists(target):
                with open(target, "rb") as image:
                    data = image.read()
        return result, data

    def test_writes_the_image(self):
        result, data = self.run_tool(json.dumps(fixture("interval_basic.json")), "--layout")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(data, img.build_image(fixture("interval_basic.json")))
        self.assertEqual(json.loads(result.stdout)["interval"]["pages_used"], 6)

    def test_bad_description(self):
        for text in ('{"interval": {"logs": [{"user": "' + "x" * 17 + '"}]}}', "{not json"):
            with self.subTest(text=text):
                result, data = self.run_tool(text)
                self.assertEqual(result.returncode, 1)
                self.assertIn("tq6200_image:", result.stderr)
                self.assertIsNone(data)

    def test_usage(self):
        with redirect_stderr(io.StringIO()) as err:
            self.assertEqual(img.main([]), 2)
        self.assertIn("Usage", err.getvalue())


if __name__ == "__main__":
    unittest.main()
