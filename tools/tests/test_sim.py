"""Tests of the detector simulator, talking to it through its pseudo-terminal
the way the program does."""

import json
import os
import random
import select
import signal
import subprocess
import sys
import tempfile
import time
import unittest

SIM = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "tq6200_sim.py")
DEFAULT_SETTINGS = os.path.join(os.path.dirname(SIM), "sim_settings.json")

STX, ETX, EOT, ACK, NAK, ETB, SUB = 2, 3, 4, 6, 0x15, 0x17, 0x1A
IMAGE_SIZE = 524288
QUIET = 0.3  # how long "no answer" is watched for


def frame(text, terminator=EOT):
    body = bytes([STX]) + b"0001" + text + bytes([ETX])
    return body + b"%02X" % ((256 - sum(body) % 256) % 256) + bytes([terminator])


def ack(code, positive=True):
    return frame(code + b"," + bytes([ACK if positive else NAK]), ETB)


def reply_text(reply):
    """The text between "0001" and ETX, after checking the frame's checksum."""
    assert reply[:5] == bytes([STX]) + b"0001" and reply[-4] == ETX, reply
    assert reply[-3:-1] == b"%02X" % ((256 - sum(reply[:-3]) % 256) % 256), reply
    return reply[5:-4]


class Sim:
    """One simulator process and the program's end of its terminal."""

    def __init__(self, *args, image=None, settings=None):
        self.dir = tempfile.TemporaryDirectory(prefix="L2sim")
        self.log = os.path.join(self.dir.name, "sim.log")
        self.state_path = os.path.join(self.dir.name, "state.json")
        cmd = [sys.executable, SIM, "--log", self.log, "--state-out", self.state_path]
        if image is not None:
            path = os.path.join(self.dir.name, "image.dat")
            with open(path, "wb") as f:
                f.write(image)
            cmd += ["--image", path]
        if settings is not None:
            path = os.path.join(self.dir.name, "settings.json")
            with open(path, "w", encoding="utf-8") as f:
                json.dump(settings, f)
            cmd += ["--settings", path]
        self.proc = subprocess.Popen(cmd + list(args), stdout=subprocess.PIPE, text=True)
        self.device = self.proc.stdout.readline().strip()
        self.fd = os.open(self.device, os.O_RDWR | os.O_NOCTTY)

    def send(self, text, terminator=EOT):
        os.write(self.fd, frame(text, terminator))

    def read(self, count=None, timeout=2.0, until=None):
        """Reads until count bytes, a byte in until, or the time-out."""
        data = b""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if count is not None and len(data) >= count:
                break
            if until is not None and any(b in until for b in data):
                break
            ready, _, _ = select.select([self.fd], [], [], max(0.0, end - time.monotonic()))
            if ready:
                try:
                    part = os.read(self.fd, 65536)
                except OSError:
                    break
                if not part:
                    break
                data += part
        return data

    def reply(self, timeout=2.0):
        return self.read(until=(EOT, ETB), timeout=timeout)

    def ask(self, text):
        self.send(text)
        return reply_text(self.reply())

    def state(self):
        with open(self.state_path, encoding="utf-8") as f:
            return json.load(f)

    def log_text(self):
        with open(self.log, encoding="utf-8") as f:
            return f.read()

    def close(self):
        if self.fd is not None:
            os.close(self.fd)
            self.fd = None
        try:
            return self.proc.wait(timeout=3)
        finally:
            if self.proc.poll() is None:
                self.proc.kill()
                self.proc.wait()
            self.proc.stdout.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        self.dir.cleanup()


def random_image(seed=1):
    return random.Random(seed).randbytes(IMAGE_SIZE)


class FramesTest(unittest.TestCase):
    def test_worked_example_checksum(self):
        self.assertEqual(frame(b"RC,R,"), b"\x020001RC,R,\x03FB\x04")

    def test_connect_poll_answers_model_name(self):
        with Sim() as sim:
            sim.send(b"RC,R,")
            self.assertEqual(sim.reply(), frame(b"RC,R,TQ-6200"))

    def test_bad_checksum_from_pc_gets_nak(self):
        with Sim() as sim:
            os.write(sim.fd, b"\x020001RC,R,\x03FC\x04")
            self.assertEqual(sim.reply(), frame(b"RC,R," + bytes([NAK])))
            state = sim.state()
            self.assertEqual((state["bad_frames"], state["commands"]), (1, []))

    def test_noise_before_a_frame_is_skipped(self):
        with Sim() as sim:
            os.write(sim.fd, b"\r\n\x05junk" + frame(b"VP,R,"))
            self.assertEqual(sim.reply(), frame(b"VP,R,10207"))

    def test_frame_split_over_writes(self):
        with Sim() as sim:
            whole = frame(b"IN,R,")
            os.write(sim.fd, whole[:6])
            time.sleep(0.05)
            os.write(sim.fd, whole[6:])
            self.assertEqual(reply_text(sim.reply()), b"IN,R,6200A1234567        ")

    def test_log_shows_both_directions_with_visible_control_characters(self):
        with Sim() as sim:
            sim.ask(b"RC,R,")
            sim.close()
            log = sim.log_text()
        self.assertIn("RX [STX]0001RC,R,[ETX]FB[EOT]", log)
        self.assertIn("TX [STX]0001RC,R,TQ-6200[ETX]61[EOT]", log)


class ReadsTest(unittest.TestCase):
    READ_LIST = (["VP,R,", "XZ,R,", "XS,R,****", "IN,R,", "HC,R,", "BS,R,", "AP,R,",
                  "XP,R,", "SD,R,", "SM,R,", "SC,R,", "XB,R,", "XW,R,", "XT,R,", "HF,R,",
                  "GJ,R,", "A1,R,", "A2,R,", "AS,R,", "AW,R,", "HA,R,", "VS,R,", "SA,R,",
                  "AT,R,", "SJ,R,", "SG,R,", "CP,R,", "AM,R,", "UQ,R,", "BU,R,", "AF,R,"]
                 + ["XS,R,%04X" % n for n in range(256)])

    def test_every_read_of_the_read_list_is_served(self):
        self.assertEqual(len(self.READ_LIST), 287)
        with Sim() as sim:
            for command in self.READ_LIST:
                text = sim.ask(command.encode())
                self.assertEqual(text[:5], command[:5].encode(), command)
                self.assertNotIn(NAK, text, command)
                self.assertGreater(len(text), 5, command)

    def test_reply_fields(self):
        cases = [
            (b"XS,R,****", b"XS,R,****,BOILER ROOM     "),
            (b"XS,R,000A", b"XS,R,000A,                "),
            (b"GJ,R,", b"GJ,R,CH4        100.0  0.5%LEL"),
            (b"BU,R,", b"BU,R,2,1,0,1"),
            (b"HA,R,", b"HA,R,0312,07D0,0000,0A41,0C80,0100,0000,0FFF,3F800000"),
            (b"SO,R,", b"SO,R,260915093012  0.4 50.1"),
            (b"DN,R,", b"DN,R,0.0,20.9,0.0,0.0,0.0"),
        ]
        with Sim() as sim:
            for command, expected in cases:
                self.assertEqual(sim.ask(command), expected, command)

    def test_settings_file_replaces_the_defaults(self):
        settings = {"RC,R": ["XX-1000"], "VP,R": "42", "HC,R": ["240305140709"]}
        with Sim(settings=settings) as sim:
            self.assertEqual(sim.ask(b"RC,R,"), b"RC,R,XX-1000")
            self.assertEqual(sim.ask(b"VP,R,"), b"VP,R,42")
            self.assertTrue(sim.ask(b"HC,R,").startswith(b"HC,R,2403051407"))
            self.assertEqual(sim.ask(b"IN,R,"), b"IN,R," + bytes([NAK]))  # not in the file

    def test_texts_in_the_detector_code_page(self):
        settings = {"XS,R,0001": ["0001", "\u6771\u4eac"]}
        with Sim("--codepage", "shift_jis", settings=settings) as sim:
            tokyo = "\u6771\u4eac".encode("shift_jis")
            self.assertEqual(sim.ask(b"XS,R,0001"), b"XS,R,0001," + tokyo)
            name = "\u5927\u962a".encode("shift_jis")
            self.assertEqual(sim.ask(b"XZ,W," + name), b"XZ,W," + name)
            self.assertEqual(sim.state()["settings"]["XZ,R"], ["\u5927\u962a"])

    def test_unknown_command_gets_nak(self):
        with Sim() as sim:
            self.assertEqual(sim.ask(b"QQ,R,"), b"QQ,R," + bytes([NAK]))


class WritesTest(unittest.TestCase):
    # (command sent, reply expected, read command, read reply expected)
    WRITES = [
        (b"XZ,W,NEW USER        ", b"XZ,W,NEW USER        ", b"XZ,R,", b"XZ,R,NEW USER        "),
        (b"AP,W,-1", b"AP,W,-1", b"AP,R,", b"AP,R,-1"),
        (b"XT,W,00FF", b"XT,W,00FF", b"XT,R,", b"XT,R,00FF"),
        (b"XB,W,16", b"XB,W,0016", b"XB,R,", b"XB,R,0016"),  # the detector reads hex
        (b"CP,W,1F4", b"CP,W,000001F4", b"CP,R,", b"CP,R,000001F4"),
        (b"SD,W,0", b"SD,W,0", b"SD,R,", b"SD,R,0"),
        (b"A1,W, 12.5", b"A1,W, 12.5", b"A1,R,", b"A1,R, 12.5"),
        (b"AS,W,*****", b"AS,W,*****", b"AS,R,", b"AS,R,*****"),
        (b"BU,W,1,2,1,0", b"BU,W,1,2,1,0", b"BU,R,", b"BU,R,1,2,1,0"),
        (b"GJ,W," + b"*" * 25, b"GJ,W," + b"*" * 25, b"GJ,R,", b"GJ,R," + b"*" * 25),
        (b"XS,W,000A,NEW STATION     ", b"XS,W,000A,NEW STATION     ",
         b"XS,R,000A", b"XS,R,000A,NEW STATION     "),
        (b"XS,W,****,HERE            ", b"XS,W,****,HERE            ",
         b"XS,R,****", b"XS,R,****,HERE            "),
    ]

    def test_writes_echo_and_read_back(self):
        with Sim() as sim:
            for command, echo, read, read_back in self.WRITES:
                self.assertEqual(sim.ask(command), echo, command)
                self.assertEqual(sim.ask(read), read_back, read)

    def test_commit_keeps_the_written_settings(self):
        with Sim() as sim:
            sim.ask(b"AP,W,1")
            state = sim.state()
            self.assertEqual(state["settings"]["AP,R"], ["1"])
            self.assertEqual(state["committed"]["AP,R"], ["0"])
            sim.send(b"DW,W,")
            reply = sim.reply()
            self.assertEqual(len(reply), 15)
            self.assertEqual(reply_text(reply), b"DW,W," + bytes([ACK]))
            state = sim.state()
            self.assertEqual((state["committed"]["AP,R"], state["commits"]), (["1"], 1))
            self.assertEqual(state["commands"], ["AP,W,1", "DW,W,"])

    def test_refused_writes_get_nak(self):
        with Sim() as sim:
            for command in (b"AP,W,abc", b"XT,W,12345", b"BU,W,1,2", b"XS,W,0100,X",
                            b"HC,W,241305140709", b"HC,W,2403051407"):
                self.assertEqual(sim.ask(command), command[:5] + bytes([NAK]), command)

    def test_clock_set_repeats_the_frame(self):
        with Sim() as sim:
            sim.send(b"HC,W,240305140709")
            self.assertEqual(sim.reply(), frame(b"HC,W,240305140709"))
            self.assertTrue(sim.ask(b"HC,R,").startswith(b"HC,R,2403051407"))
            self.assertIn("clock 240305140709", sim.state()["events"])


class OneShotTest(unittest.TestCase):
    def confirm_sequence(self, sim, two, flags=b""):
        self.assertEqual(sim.ask(two + b",W," + flags), two + b",W," + bytes([ACK]))
        self.assertEqual(sim.ask(two + b",C,"), two + b",C," + bytes([SUB]))  # busy once
        return sim.ask(two + b",C,")

    def test_data_clears_erase_their_areas(self):
        image = bytearray(b"\xff" * IMAGE_SIZE)
        image[0:4] = b"PWR1"  # power events, block 0
        image[200 * 512:200 * 512 + 4] = b"LOG1"  # alarm trend, block 200
        with Sim(image=bytes(image)) as sim:
            self.assertEqual(self.confirm_sequence(sim, b"XC"), b"XC,C," + bytes([ACK]))
            sim.send(b"EP,R,00C8")
            self.assertEqual(sim.read(512), b"\xff" * 512)
            sim.send(b"EP,R,0000")
            self.assertEqual(sim.read(512)[:4], b"PWR1")
            self.assertEqual(self.confirm_sequence(sim, b"XY"), b"XY,C," + bytes([ACK]))
            sim.send(b"EP,R,0000")
            self.assertEqual(sim.read(512), b"\xff" * 512)
            self.assertEqual(sim.state()["events"], ["data clear", "power data clear"])

    def test_zero_calibration_reports_its_status(self):
        with open(DEFAULT_SETTINGS, encoding="utf-8") as f:
            settings = json.load(f)
        settings["SZ,C"] = ["01000"]
        with Sim(settings=settings) as sim:
            self.assertEqual(self.confirm_sequence(sim, b"SZ", b"1111"), b"SZ,C,01000")
            self.assertEqual(sim.state()["events"], ["zero calibration 1111"])

    def test_span_calibration_answers_its_status(self):
        with Sim() as sim:
            self.assertEqual(sim.ask(b"S1,W,1111"), b"S1,W,0")

    def test_factory_default_restores_the_settings(self):
        with Sim() as sim:
            sim.ask(b"AP,W,1")
            self.assertEqual(self.confirm_sequence(sim, b"UX"), b"UX,C," + bytes([ACK]))
            self.assertEqual(sim.ask(b"AP,R,"), b"AP,R,0")

    def test_busy_count_option(self):
        with Sim("--busy", "3") as sim:
            sim.ask(b"XC,W,")
            answers = [sim.ask(b"XC,C,")[-1] for _ in range(4)]
            self.assertEqual(answers, [SUB, SUB, SUB, ACK])

    def test_busy_forever(self):
        with Sim("--busy-forever") as sim:
            sim.ask(b"SZ,W,1111")
            for _ in range(5):
                self.assertEqual(sim.ask(b"SZ,C,"), b"SZ,C," + bytes([SUB]))
            self.assertEqual(sim.state()["events"], [])

    def test_power_off_acknowledges_then_stays_silent(self):
        with Sim() as sim:
            self.assertEqual(sim.ask(b"RO,W,"), b"RO,W," + bytes([ACK]))
            sim.send(b"RC,R,")
            self.assertEqual(sim.read(timeout=QUIET), b"")
            self.assertTrue(sim.state()["powered_off"])


class FlashTest(unittest.TestCase):
    def test_blocks_come_from_the_image(self):
        image = random_image()
        with Sim(image=image) as sim:
            for block in (0, 0x1FF, 0x3FF):
                sim.send(b"EP,R,%04X" % block)
                self.assertEqual(sim.read(512), image[block * 512:(block + 1) * 512], block)
            self.assertEqual(sim.read(timeout=0.1), b"")  # nothing beyond the block

    def test_default_image_is_erased(self):
        with Sim() as sim:
            sim.send(b"EP,R,0123")
            self.assertEqual(sim.read(512), b"\xff" * 512)

    def test_block_out_of_range_gets_nak(self):
        with Sim() as sim:
            self.assertEqual(sim.ask(b"EP,R,0400"), b"EP,R," + bytes([NAK]))

    def test_image_of_wrong_size_is_refused(self):
        with tempfile.NamedTemporaryFile(suffix=".dat") as f:
            f.write(b"\xff" * 100)
            f.flush()
            run = subprocess.run([sys.executable, SIM, "--image", f.name],
                                 capture_output=True, text=True, timeout=10)
        self.assertEqual(run.returncode, 2)
        self.assertIn("not 524288", run.stderr)

    def test_dump_list_frames_with_acknowledges(self):
        image = random_image(2)
        with Sim("--dump-bytes", "300", image=image) as sim:
            sim.send(b"EF,R,")
            frames = []
            for expected_end in (ETB, ETB, EOT):
                reply = sim.reply()
                self.assertEqual(reply[-1], expected_end)
                frames.append(reply_text(reply))
                if expected_end == ETB:
                    sim.send(b"EF,R," + bytes([ACK]), ETB)
            fields = [f.split(b",") for f in frames]
            self.assertEqual([f[2:5] for f in fields],
                             [[b"3", b"1", b"128"], [b"3", b"2", b"128"], [b"3", b"3", b"44"]])
            self.assertEqual(b"".join(f[5] for f in fields), image[:300].hex().upper().encode())
            self.assertEqual(sim.read(timeout=0.1), b"")
            sim.close()  # acknowledges reach the state file at the latest on exit
            self.assertEqual(sim.state()["acknowledges"], 2)

    def test_dump_list_covers_the_whole_image_by_default(self):
        image = random_image(3)
        with Sim(image=image) as sim:
            sim.send(b"EF,R,")
            data = []
            while True:
                reply = sim.reply()
                fields = reply_text(reply).split(b",")
                self.assertEqual(fields[2:4], [b"4096", b"%d" % (len(data) + 1)])
                data.append(fields[5])
                if reply[-1] == EOT:
                    break
                sim.send(b"EF,R," + bytes([ACK]), ETB)
            self.assertEqual(b"".join(data), image.hex().upper().encode())

    def test_dump_list_negative_acknowledge_repeats_the_frame(self):
        with Sim("--dump-bytes", "256") as sim:
            sim.send(b"EF,R,")
            first = sim.reply()
            sim.send(b"EF,R," + bytes([NAK]), ETB)
            self.assertEqual(sim.reply(), first)
            sim.send(b"EF,R," + bytes([ACK]), ETB)
            self.assertEqual(reply_text(sim.reply()).split(b",")[3], b"2")

    def test_dump_list_restarts_when_the_command_is_sent_again(self):
        with Sim("--dump-bytes", "256") as sim:
            sim.send(b"EF,R,")
            first = sim.reply()
            sim.send(b"EF,R,")
            self.assertEqual(sim.reply(), first)


class FaultsTest(unittest.TestCase):
    def test_silent(self):
        with Sim("--silent") as sim:
            sim.send(b"RC,R,")
            self.assertEqual(sim.read(timeout=QUIET), b"")
            self.assertEqual(sim.state()["commands"], ["RC,R,"])

    def test_nak_every_reply_or_only_the_nth(self):
        cases = [((), [True, True, True]), (("2",), [False, True, False])]
        for option, naks in cases:
            with self.subTest(option=option), Sim("--nak", *option) as sim:
                got = [sim.ask(b"VP,R,") == b"VP,R," + bytes([NAK]) for _ in naks]
                self.assertEqual(got, naks)

    def test_nak_counts_flash_blocks_as_answers(self):
        with Sim("--nak", "2") as sim:
            sim.ask(b"RC,R,")
            self.assertEqual(sim.ask(b"EP,R,0000"), b"EP,R," + bytes([NAK]))
            sim.send(b"EP,R,0001")
            self.assertEqual(len(sim.read(512)), 512)

    def test_bad_checksum_every_reply_or_only_the_nth(self):
        cases = [((), [True, True, True]), (("2",), [False, True, False])]
        for option, bad in cases:
            with self.subTest(option=option), Sim("--bad-checksum", *option) as sim:
                got = []
                for _ in bad:
                    sim.send(b"VP,R,")
                    reply = sim.reply()
                    got.append(reply != frame(b"VP,R,10207"))
                    self.assertEqual(reply[:-3], frame(b"VP,R,10207")[:-3])
                self.assertEqual(got, bad)

    def test_block_faults(self):
        cases = [("--drop-block", 0), ("--short-block", 256), ("--long-block", 528)]
        for option, size in cases:
            with self.subTest(option=option), Sim(option, "0x40") as sim:
                sim.send(b"EP,R,0040")
                self.assertEqual(len(sim.read(timeout=QUIET)), size)
                sim.send(b"EP,R,0041")
                self.assertEqual(len(sim.read(512)), 512)

    def test_chunk_splits_replies(self):
        with Sim("--chunk", "100") as sim:
            sim.send(b"EP,R,0000")
            parts = []
            while sum(parts) < 512:
                part = sim.read(timeout=1.0, count=1)
                self.assertTrue(part)
                parts.append(len(part))
            self.assertEqual(sum(parts), 512)
            # Six writes 10 ms apart; a busy machine may merge a few.
            self.assertGreater(len(parts), 1)
            self.assertEqual(sim.read(timeout=0.1), b"")

    def test_delay_slows_replies(self):
        with Sim("--delay", "300") as sim:
            start = time.monotonic()
            sim.ask(b"RC,R,")
            self.assertGreaterEqual(time.monotonic() - start, 0.29)

    def test_baud_paces_bytes(self):
        with Sim("--baud", "19200") as sim:  # 1920 bytes a second
            start = time.monotonic()
            sim.send(b"EP,R,0000")
            self.assertEqual(len(sim.read(512)), 512)
            elapsed = time.monotonic() - start
        self.assertGreaterEqual(elapsed, 512 / 1920.0 - 0.005)
        self.assertLess(elapsed, 0.6)

    def test_reference_client_reads_every_block_and_times_the_dump(self):
        image = random_image()
        client = os.path.join(os.path.dirname(SIM), "tq6200_dump_client.py")
        with Sim(image=image) as sim:  # its own end stays open, unread
            out = os.path.join(sim.dir.name, "read.bin")
            result = subprocess.run([sys.executable, client, sim.device, "--out", out],
                                    capture_output=True, text=True, timeout=120)
            self.assertEqual(result.returncode, 0, result.stderr)
            self.assertGreater(float(result.stdout), 0)
            with open(out, "rb") as f:
                self.assertEqual(f.read(), image)

    def test_pull_cable_hangs_up_and_ends(self):
        with Sim("--pull-cable-after", "1") as sim:
            sim.ask(b"RC,R,")
            sim.send(b"VP,R,")
            poller = select.poll()
            poller.register(sim.fd, select.POLLIN)
            events = poller.poll(2000)
            self.assertTrue(events and events[0][1] & select.POLLHUP)
            self.assertEqual(sim.proc.wait(timeout=3), 0)
            self.assertEqual(sim.state()["commands"], ["RC,R,"])


class LifecycleTest(unittest.TestCase):
    def test_link_and_sigterm(self):
        with tempfile.TemporaryDirectory(prefix="L2sim") as d:
            link = os.path.join(d, "ttyTQ")
            with Sim("--link", link) as sim:
                self.assertEqual(os.path.realpath(link), os.path.realpath(sim.device))
                sim.ask(b"RC,R,")
                sim.proc.send_signal(signal.SIGTERM)
                self.assertEqual(sim.proc.wait(timeout=3), 0)
                self.assertFalse(os.path.lexists(link))
                self.assertEqual(sim.state()["commands"], ["RC,R,"])

    def test_a_restarted_simulator_takes_the_link_over(self):
        with tempfile.TemporaryDirectory(prefix="L2sim") as d:
            link = os.path.join(d, "ttyTQ")
            with Sim("--link", link) as first, Sim("--link", link) as second:
                self.assertEqual(os.path.realpath(link), os.path.realpath(second.device))
                first.proc.send_signal(signal.SIGTERM)
                self.assertEqual(first.proc.wait(timeout=3), 0)
                # The first one stopping leaves the link of the one that replaced it.
                self.assertEqual(os.path.realpath(link), os.path.realpath(second.device))
                self.assertEqual(second.ask(b"RC,R,"), b"RC,R,TQ-6200")

    def test_link_never_replaces_another_file(self):
        with tempfile.TemporaryDirectory(prefix="L2sim") as d:
            link = os.path.join(d, "ttyTQ")
            with open(link, "w") as f:
                f.write("keep")
            result = subprocess.run([sys.executable, SIM, "--link", link],
                                    capture_output=True, text=True, timeout=10)
            self.assertEqual(result.returncode, 2)
            with open(link) as f:
                self.assertEqual(f.read(), "keep")

    def test_ends_when_the_other_side_closes(self):
        with Sim() as sim:
            sim.ask(b"RC,R,")
            self.assertEqual(sim.close(), 0)

    def test_persist_serves_a_second_opening(self):
        with Sim("--persist") as sim:
            sim.ask(b"RC,R,")
            os.close(sim.fd)
            time.sleep(0.2)
            sim.fd = os.open(sim.device, os.O_RDWR | os.O_NOCTTY)
            self.assertEqual(sim.ask(b"RC,R,"), b"RC,R,TQ-6200")
            self.assertIsNone(sim.proc.poll())
            sim.proc.send_signal(signal.SIGTERM)


if __name__ == "__main__":
    unittest.main()
