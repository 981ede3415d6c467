#!/usr/bin/env python3
"""TQ-6200 detector simulator.

Plays the detector on a pseudo-terminal so the program's link can be tested
without hardware. The first line on stdout is the device path of the terminal
the program opens (--link also makes a symbolic link to it). It runs until
SIGTERM/SIGINT, or until the program closes the terminal (unless --persist).

Frames: STX "0001" text ETX, two upper-case hex checksum digits (the two's
complement of the byte sum from STX through ETX), then EOT, or ETB for
acknowledge frames and for every frame of a multi-frame reply but the last.
A reply repeats the four-character code of its command ("VP,R"), a comma,
then its fields joined by commas. A frame from the program with a bad
checksum, an unknown command or a value the detector refuses is answered
with the code, a comma and NAK.

Commands:
  reads ("XX,R," or "XS,R,<station>")  the fields of the settings file
  "HC,R,"                              the simulated clock, YYMMDDhhnnss
  "HC,W," + YYMMDDhhnnss               sets the clock; the frame is echoed
  settings writes                      stored, echoed as the detector keeps
                                       them (hex settings as hex digits)
  "DW,W,"                              ACK; commits the writes
  "XC,W,", "XY,W,", "UX,W,", "SZ,W,"   ACK; then each "..,C," confirm is busy
                                       (SUB) --busy times, then completes:
                                       ACK (data clear erases blocks 128-1023,
                                       power data clear blocks 0-127, factory
                                       default restores the settings file) or
                                       the status of "SZ,C" in the settings
  "S1,W," + flags                      the status of "S1,W" in the settings
  "RO,W,"                              ACK, then no further answers
  "EP,R," + four hex digits            the 512 raw bytes of that flash block
  "EF,R,"                              the dump list: frames "EF,R,<total>,
                                       <n>,<bytes>,<hex>" of 128 bytes each,
                                       ETB-terminated but the last; the next
                                       frame follows the program's ACK frame,
                                       the same frame its NAK frame
Settings file (--settings): a JSON object mapping the command code, with the
station argument for station names ("XS,R,000A"), to the list of reply fields;
keys starting with "_" are comments. "HC,R" (optional) starts the clock.
State file (--state-out): JSON with "settings" (what reads return now),
"committed" (as of the last "DW,W,"), "clock", "commands" (the text of every
command received, in order), "events" (one-shot commands carried out),
"powered_off" and the counters "commits", "acknowledges",
"negative_acknowledges", "bad_frames", "blocks_sent". It is written before the
answer to each command leaves (flash block requests and acknowledges excepted,
to keep dumps fast) and on exit.
Log (--log): one line per frame, "RX" from the program, "TX" to it, control
characters shown as [STX], [ETX], [EOT], [ACK], [NAK], [ETB], [SUB], [CR] ...;
flash blocks as "TX block 0040 (512 bytes)"; "--" lines for everything else.

Standard library only.
"""

import argparse
import copy
import datetime
import json
import os
import select
import signal
import sys
import time
import tty

STX, ETX, EOT, ENQ, ACK, NAK, ETB, SUB, ESC = 2, 3, 4, 5, 6, 0x15, 0x17, 0x1A, 0x1B
IMAGE_SIZE = 524288
BLOCK_SIZE = 512
BLOCK_COUNT = IMAGE_SIZE // BLOCK_SIZE
DUMP_FRAME_BYTES = 128
CHUNK_GAP = 0.010  # pause between chunks so each arrives as its own read
PART_SPIN = 0.0003  # paced parts: the last moments before a part leaves are spun
LAST_PART_SPIN = 0.002  # the part that ends an answer
LONG_BLOCK_EXTRA = bytes(16)

VISIBLE = {STX: "[STX]", ETX: "[ETX]", EOT: "[EOT]", ENQ: "[ENQ]", ACK: "[ACK]",
           NAK: "[NAK]", ETB: "[ETB]", SUB: "[SUB]", ESC: "[ESC]", 13: "[CR]", 10: "[LF]"}

# How each settings write is checked, stored and echoed.
TEXT, DECIMAL, HEX4, HEX8, DIGIT, LEVEL, FIELDS3, FIELDS4, FLAGS4 = range(9)
WRITE_KINDS = {
    "XZ": TEXT, "IN": TEXT, "HN": TEXT, "BS": TEXT, "UJ": TEXT, "GJ": TEXT,
    "UG": TEXT, "BP": TEXT,
    "AP": DECIMAL, "SM": DECIMAL, "XW": DECIMAL, "UQ": DECIMAL, "AF": DECIMAL,
    "AM": DECIMAL, "AT": DECIMAL, "LP": DECIMAL,
    "XP": HEX4, "SC": HEX4, "XB": HEX4, "XT": HEX4, "HF": HEX4, "CP": HEX8,
    "SD": DIGIT, "SJ": DIGIT, "SG": DIGIT,
    "A1": LEVEL, "A2": LEVEL, "AS": LEVEL, "AW": LEVEL, "SA": LEVEL,
    "WB": FIELDS3, "BU": FIELDS4, "UZ": FLAGS4,
}
# Writes of no known effect that the detector acknowledges.
ACK_WRITES = {"UD", "UP"}
# Started by a write, finished after the busy answers to its confirm command.
CONFIRMED = {"SZ": "zero calibration", "XC": "data clear",
             "XY": "power data clear", "UX": "factory default",
             "S2": "span calibration"}
# Flash blocks erased by the data clears: every log but the power events, and
# the power events.
CLEAR_BLOCKS = {"XC": range(128, BLOCK_COUNT), "XY": range(0, 128)}


class Stop(Exception):
    """Ends the simulator: signal, hang-up or the other side closing."""


class LineGone(Exception):
    """The other side closed the terminal while we wrote to it."""


def checksum(data):
    return (256 - sum(data) % 256) % 256


def make_frame(text, terminator=EOT):
    body = bytes([STX]) + b"0001" + text + bytes([ETX])
    return body + b"%02X" % checksum(body) + bytes([terminator])


def visible(data):
    out = []
    for b in data:
        if b in VISIBLE:
            out.append(VISIBLE[b])
        elif b < 32 or b > 126:
            out.append("[%02X]" % b)
        else:
            out.append(chr(b))
    return "".join(out)


def fault_hits(setting, number):
    """setting None: off; 0: every time; N: only the Nth time (from 1)."""
    return setting is not None and (setting == 0 or setting == number)


def is_hex(text, digits):
    return 1 <= len(text) <= digits and all(c in "0123456789abcdefABCDEF" for c in text)


def is_number(text):
    try:
        float(text.strip())
        return True
    except ValueError:
        return False


def load_settings(path):
    with open(path, encoding="utf-8") as f:
        raw = json.load(f)
    if not isinstance(raw, dict):
        raise ValueError("settings file must hold a JSON object")
    settings = {}
    for key, value in raw.items():
        if key.startswith("_"):
            continue
        if isinstance(value, str):
            value = [value]
        if not (isinstance(value, list) and all(isinstance(v, str) for v in value)):
            raise ValueError("settings entry %r must be a list of texts" % key)
        settings[key] = value
    return settings


def load_image(path):
    if path is None:
        return bytearray(b"\xff" * IMAGE_SIZE)
    with open(path, "rb") as f:
        data = f.read()
    if len(data) != IMAGE_SIZE:
        raise ValueError("image %s has %d bytes, not %d" % (path, len(data), IMAGE_SIZE))
    return bytearray(data)


class Log:
    def __init__(self, path):
        self.file = open(path, "a", encoding="utf-8") if path else None

    def line(self, text):
        if self.file:
            now = datetime.datetime.now()
            self.file.write("%s.%03d %s\n" % (now.strftime("%H:%M:%S"),
                                               now.microsecond // 1000, text))
            self.file.flush()

    def close(self):
        if self.file:
            self.file.close()


class Line:
    """The detector's transmitter: delay, chunking and baud-rate pacing."""

    def __init__(self, fd, baud, chunk, delay_ms):
        self.fd = fd
        self.rate = baud / 10.0 if baud else 0.0  # 8N1: ten bits a byte
        self.chunk = chunk
        self.delay = delay_ms / 1000.0
        self.free_at = 0.0

    def send(self, data, request_read_at):
        # Timed from the moment the request was read, so the simulator's own
        # processing time does not count as wire time.
        start = max(request_read_at + self.delay, self.free_at)
        sleep_until(start)
        if self.rate:
            part = self.chunk or max(1, int(self.rate / 1000))
            for pos in range(0, len(data), part):
                end = min(pos + part, len(data))
                # A byte arrives after its wire time. The last part ends the answer, and
                # a late wake-up there would add to every answer: it is waited for
                # closely.
                last = end == len(data)
                sleep_until(start + end / self.rate, LAST_PART_SPIN if last else PART_SPIN)
                self.write(data[pos:end])
            self.free_at = start + len(data) / self.rate
        elif self.chunk:
            for pos in range(0, len(data), self.chunk):
                if pos:
                    time.sleep(CHUNK_GAP)
                self.write(data[pos:pos + self.chunk])
        else:
            self.write(data)

    def write(self, data):
        while data:
            try:
                n = os.write(self.fd, data)
            except OSError as e:
                raise LineGone() from e
            data = data[n:]


def sleep_until(target, spin=PART_SPIN):
    # Sleep most of the way, then spin for the last `spin` seconds: pacing must
    # not drift by the scheduler's wake-up latency.
    while True:
        left = target - time.monotonic()
        if left <= 0:
            return
        if left > spin:
            time.sleep(left - spin)


class Detector:
    def __init__(self, args, settings, image, line, log, save):
        self.args = args
        self.save = save  # writes the observable state
        self.dirty = False
        self.settings = settings
        self.clock_offset = self.initial_clock_offset()
        self.factory = copy.deepcopy(settings)
        self.committed = copy.deepcopy(settings)
        self.image = image
        self.line = line
        self.log = log
        self.codepage = args.codepage
        self.commands = []
        self.events = []
        self.counts = {"commits": 0, "acknowledges": 0, "negative_acknowledges": 0,
                       "bad_frames": 0, "blocks_sent": 0}
        self.frames_received = 0
        self.answers = 0  # frames and flash blocks sent, for --nak N
        self.replies = 0  # frames sent, for --bad-checksum N
        self.busy = {}  # confirm commands still to answer busy, by two-letter code
        self.zero_flags = ""
        self.powered_off = False
        self.dump = None  # (frames, next frame index) of a running "EF,R," reply
        self.last_reply = None

    # ----- clock -----
    def initial_clock_offset(self):
        fields = self.settings.pop("HC,R", None)
        if fields:
            start = parse_clock(fields[0])
            if start is None:
                raise ValueError("settings HC,R must be YYMMDDhhnnss")
            return start - datetime.datetime.now()
        return datetime.timedelta(0)

    def clock_text(self):
        return (datetime.datetime.now() + self.clock_offset).strftime("%y%m%d%H%M%S")

    # ----- sending -----
    def encode(self, text):
        return text.encode(self.codepage, errors="replace")

    def send_frame(self, text, read_at, terminator=EOT):
        """Sends one reply frame; text is bytes after "0001"."""
        self.answers += 1
        self.replies += 1
        if fault_hits(self.args.nak, self.answers):
            text, terminator = text[:4] + b"," + bytes([NAK]), EOT
        frame = make_frame(text, terminator)
        if fault_hits(self.args.bad_checksum, self.replies):
            bad = (int(frame[-3:-1], 16) + 1) % 256
            frame = frame[:-3] + b"%02X" % bad + frame[-1:]
        self.last_reply = frame
        self.transmit("TX " + visible(frame), frame, read_at)
        return terminator == EOT

    def transmit(self, note, data, read_at):
        # The state is saved before the answer leaves, so whoever reads the
        # answer finds the state that goes with it.
        if self.dirty:
            self.save()
            self.dirty = False
        self.log.line(note)
        self.line.send(data, read_at)

    def reply(self, code, data, read_at):
        self.send_frame(self.encode(code) + b"," + data, read_at)

    def reply_fields(self, code, fields, read_at):
        self.reply(code, self.encode(",".join(fields)), read_at)

    def reply_control(self, code, control, read_at):
        self.reply(code, bytes([control]), read_at)

    def send_nak(self, code, read_at):
        self.send_frame(code + b"," + bytes([NAK]), read_at)

    # ----- receiving -----
    def handle(self, frame, read_at):
        """One frame from the PC (STX through its terminator). The state is
        saved for every frame but flash block requests and acknowledges, which
        would slow dumps down; those are in the state saved next."""
        self.frames_received += 1
        self.log.line("RX " + visible(frame))
        if (self.args.pull_cable_after is not None
                and self.frames_received > self.args.pull_cable_after):
            self.log.line("-- cable pulled")
            raise Stop("cable pulled")
        text = frame[5:-4]
        valid = (len(frame) >= 9 and frame[1:5] == b"0001" and frame[-4] == ETX
                 and frame[-3:-1] == b"%02X" % checksum(frame[:-3]))
        if self.powered_off:
            self.log.line("-- powered off, no answer")
            return
        if not valid:
            self.counts["bad_frames"] += 1
            self.dirty = True
            self.log.line("-- bad frame or checksum")
            if self.dump is not None:
                # An acknowledge we cannot read counts as a negative one.
                self.resend_dump_frame(read_at)
            elif not self.args.silent:
                self.send_nak(text[:4], read_at)
            return
        if text[-1:] in (bytes([ACK]), bytes([NAK])) and frame[-1] == ETB:
            self.acknowledge(text[-1] == ACK, read_at)
            return
        command = text.decode(self.codepage, errors="replace")
        self.commands.append(command)
        self.dirty = not command.startswith("EP,R")
        if not self.args.silent:
            self.dump = None
            self.command(command, read_at, frame)

    def acknowledge(self, positive, read_at):
        self.counts["acknowledges" if positive else "negative_acknowledges"] += 1
        if self.args.silent:
            return
        if self.dump is None:
            if not positive and self.last_reply is not None:
                self.transmit("TX " + visible(self.last_reply), self.last_reply, read_at)
            return
        if positive:
            frames, index = self.dump
            self.dump = (frames, index + 1)
        self.resend_dump_frame(read_at)

    def resend_dump_frame(self, read_at):
        frames, index = self.dump
        last = index == len(frames) - 1
        if self.send_frame(frames[index], read_at, EOT if last else ETB):
            self.dump = None

    # ----- commands -----
    def command(self, command, read_at, frame):
        code = command[:4]
        data = command[5:] if command[4:5] == "," else None
        two, access = code[:2], code[3:4]
        if data is None or code[2:3] != ",":
            self.send_nak(self.encode(code), read_at)
        elif code == "EP,R":
            self.flash_block(data, read_at)
        elif code == "EF,R":
            self.start_dump(read_at)
        elif access == "R":
            self.read(code, data, read_at)
        elif code == "HC,W":
            self.set_clock(data, read_at, frame)
        elif access == "W" and two in CONFIRMED:
            self.start_confirmed(two, data, read_at)
        elif access == "C" and two in CONFIRMED:
            self.confirm(two, read_at)
        elif code == "S1,W":
            self.event("span calibration " + data)
            self.reply_fields(code, self.settings.get("S1,W", ["0"])[:1], read_at)
        elif code == "DW,W":
            self.committed = copy.deepcopy(self.settings)
            self.counts["commits"] += 1
            self.reply_control(code, ACK, read_at)
        elif code == "RO,W":
            self.event("power off")
            self.powered_off = True
            self.reply_control(code, ACK, read_at)
        elif access == "W" and two in ACK_WRITES:
            self.event(code + " " + data)
            self.reply_control(code, ACK, read_at)
        elif access == "W" and (two in WRITE_KINDS or two == "XS"):
            self.write(code, data, read_at)
        else:
            self.send_nak(self.encode(code), read_at)

    def event(self, text):
        self.events.append(text)
        self.log.line("-- " + text)

    def read(self, code, data, read_at):
        key = code + ("," + data if data else "")
        if code == "HC,R":
            fields = [self.clock_text()]
        else:
            fields = self.settings.get(key, self.settings.get(code))
        if fields is None:
            self.send_nak(self.encode(code), read_at)
        else:
            self.reply_fields(code, fields, read_at)

    def write(self, code, data, read_at):
        two = code[:2]
        if two == "XS":
            index, _, name = data.partition(",")
            ok = index == "****" or (is_hex(index, 4) and int(index, 16) < 256)
            key, fields = "XS,R," + index.upper(), [index.upper(), name]
        else:
            fields = canonical(WRITE_KINDS[two], data)
            ok = fields is not None
            key = two + ",R"
        if not ok:
            self.send_nak(self.encode(code), read_at)
            return
        self.settings[key] = fields
        self.reply_fields(code, fields, read_at)

    def set_clock(self, data, read_at, frame):
        when = parse_clock(data) if len(data) == 12 and data.isdigit() else None
        if when is None:
            self.send_nak(b"HC,W", read_at)
            return
        self.clock_offset = when - datetime.datetime.now()
        self.event("clock " + data)
        # The detector answers by repeating the whole frame.
        self.send_frame(frame[5:-4], read_at)

    def start_confirmed(self, two, data, read_at):
        self.busy[two] = self.args.busy
        self.log.line(("-- %s started %s" % (CONFIRMED[two], data)).rstrip())
        if two == "SZ":
            self.zero_flags = data
        self.reply_control(two + ",W", ACK, read_at)

    def confirm(self, two, read_at):
        code = two + ",C"
        left = self.busy.get(two, 0)
        if self.args.busy_forever or left > 0:
            self.busy[two] = left - 1
            self.reply_control(code, SUB, read_at)
            return
        if two in self.busy:
            del self.busy[two]
            self.finish(two)
        if two in ("SZ", "S2"):
            self.reply_fields(code, self.settings.get(code, ["00000"])[:1], read_at)
        else:
            self.reply_control(code, ACK, read_at)

    def finish(self, two):
        if two in CLEAR_BLOCKS:
            for block in CLEAR_BLOCKS[two]:
                self.image[block * BLOCK_SIZE:(block + 1) * BLOCK_SIZE] = b"\xff" * BLOCK_SIZE
        if two == "UX":
            self.settings = copy.deepcopy(self.factory)
            self.committed = copy.deepcopy(self.factory)
        self.event(CONFIRMED[two] + (" " + self.zero_flags if two == "SZ" else ""))

    def flash_block(self, data, read_at):
        if not (len(data) == 4 and is_hex(data, 4) and int(data, 16) < BLOCK_COUNT):
            self.send_nak(b"EP,R", read_at)
            return
        block = int(data, 16)
        if block in self.args.drop_block:
            self.log.line("-- block %04X dropped" % block)
            return
        if fault_hits(self.args.nak, self.answers + 1):
            self.send_nak(b"EP,R", read_at)
            return
        self.answers += 1
        payload = bytes(self.image[block * BLOCK_SIZE:(block + 1) * BLOCK_SIZE])
        if block in self.args.short_block:
            payload = payload[:BLOCK_SIZE // 2]
        if block in self.args.long_block:
            payload += LONG_BLOCK_EXTRA
        self.counts["blocks_sent"] += 1
        self.transmit("TX block %04X (%d bytes)" % (block, len(payload)), payload, read_at)

    def start_dump(self, read_at):
        size = self.args.dump_bytes
        total = (size + DUMP_FRAME_BYTES - 1) // DUMP_FRAME_BYTES
        frames = []
        for n in range(total):
            chunk = self.image[n * DUMP_FRAME_BYTES:min(size, (n + 1) * DUMP_FRAME_BYTES)]
            frames.append(b"EF,R,%d,%d,%d,%s" % (total, n + 1, len(chunk),
                                                  chunk.hex().upper().encode()))
        if not frames:
            self.send_nak(b"EF,R", read_at)
            return
        self.dump = (frames, 0)
        self.resend_dump_frame(read_at)

    # ----- observable state -----
    def state(self):
        return {
            "settings": self.settings,
            "committed": self.committed,
            "clock": self.clock_text(),
            "commands": self.commands,
            "events": self.events,
            "powered_off": self.powered_off,
            **self.counts,
        }


def parse_clock(text):
    try:
        return datetime.datetime.strptime("20" + text, "%Y%m%d%H%M%S")
    except ValueError:
        return None


def canonical(kind, data):
    """The fields the detector keeps for a write, or None when it refuses it."""
    if kind == TEXT:
        return [data]
    if kind == DECIMAL:
        try:
            return [str(int(data.strip()))]
        except ValueError:
            return None
    if kind in (HEX4, HEX8):
        digits = 4 if kind == HEX4 else 8
        text = data.strip()
        return ["%0*X" % (digits, int(text, 16))] if is_hex(text, digits) else None
    if kind == DIGIT:
        return [("1" if float(data) else "0")] if is_number(data) else None
    if kind == LEVEL:
        return [data] if data.strip() == "*****" or is_number(data) else None
    if kind in (FIELDS3, FIELDS4):
        values = data.split(",")
        wanted = 3 if kind == FIELDS3 else 4
        if len(values) != wanted:
            return None
        try:
            return [str(int(v.strip())) for v in values]
        except ValueError:
            return None
    if kind == FLAGS4:
        return [data] if len(data) == 4 else None
    return None


class Simulator:
    def __init__(self, args):
        self.args = args
        self.log = Log(args.log)
        settings = load_settings(args.settings)
        image = load_image(args.image)
        self.master, slave = os.openpty()
        self.device = os.ttyname(slave)
        tty.setraw(self.master)  # applies to the terminal the program opens
        os.close(slave)
        self.linked = False
        if args.link:
            replace_link(self.device, args.link)
            self.linked = True
        self.detector = Detector(args, settings, image,
                                 Line(self.master, args.baud, args.chunk, args.delay), self.log,
                                 self.write_state)

    def run(self):
        print(self.device, flush=True)
        self.log.line("-- simulator on " + self.device)
        poller = select.poll()
        poller.register(self.master, select.POLLIN)
        opened = False
        buffer = b""
        self.write_state()
        while True:
            events = poller.poll(100)
            mask = events[0][1] if events else 0
            if mask & select.POLLIN:
                try:
                    data = os.read(self.master, 65536)
                except OSError:  # EIO: nobody has the terminal open
                    data = b""
                if data:
                    opened = True
                    buffer = self.take_frames(buffer + data, time.monotonic())
                    continue
            if not mask & select.POLLHUP:
                opened = True
                continue
            if opened:
                self.log.line("-- other side closed")
                if not self.args.persist:
                    return
                opened = False
                buffer = b""
            time.sleep(0.02)  # hang-up is reported at once; wait for an open

    def take_frames(self, buffer, read_at):
        """Handles every complete frame in buffer; returns what is left."""
        while True:
            ends = [i for i in (buffer.find(bytes([EOT])), buffer.find(bytes([ETB]))) if i >= 0]
            if not ends:
                return buffer
            end = min(ends)
            segment, buffer = buffer[:end + 1], buffer[end + 1:]
            start = segment.rfind(bytes([STX]))
            if start != 0:
                self.log.line("-- discarded " + visible(segment[:start] if start > 0 else segment))
            if start < 0:
                continue
            try:
                self.detector.handle(segment[start:], read_at)
            except LineGone:
                if not self.args.persist:
                    raise Stop("other side closed")
                self.log.line("-- other side closed while we answered")
                return b""
            if self.detector.dirty:
                self.write_state()
                self.detector.dirty = False

    def write_state(self):
        if not self.args.state_out:
            return
        temp = self.args.state_out + ".tmp"
        text = json.dumps(self.detector.state(), ensure_ascii=False)
        with open(temp, "w", encoding="utf-8") as f:
            f.write(text)
        os.replace(temp, self.args.state_out)

    def close(self):
        for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            signal.signal(signum, signal.SIG_IGN)
        try:
            os.close(self.master)
        except OSError:
            pass
        # A simulator started meanwhile on the same link (a replug) keeps it.
        if self.linked and os.path.realpath(self.args.link) == os.path.realpath(self.device):
            try:
                os.unlink(self.args.link)
            except OSError:
                pass
        self.write_state()
        self.log.line("-- simulator stopped")
        self.log.close()


def replace_link(target, link):
    """Points link at target in one step: whoever opens link meanwhile finds the old
    terminal or the new one, never no link. Anything but a symbolic link stays."""
    if os.path.lexists(link) and not os.path.islink(link):
        raise OSError("%s exists and is not a symbolic link" % link)
    temporary = "%s.%d.tmp" % (link, os.getpid())
    os.symlink(target, temporary)
    try:
        os.replace(temporary, link)
    except OSError:
        os.unlink(temporary)
        raise


def block_number(text):
    value = int(text, 0)
    if not 0 <= value < BLOCK_COUNT:
        raise argparse.ArgumentTypeError("block number must be 0 to %d" % (BLOCK_COUNT - 1))
    return value


def parse_args(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    p = argparse.ArgumentParser(description="TQ-6200 detector simulator on a pseudo-terminal.")
    p.add_argument("--link", help="also make a symbolic link to the terminal at this path, "
                   "replacing one that is there (a restarted simulator: a replug)")
    p.add_argument("--settings", default=os.path.join(here, "sim_settings.json"),
                   help="JSON file: command code -> reply fields (default: sim_settings.json)")
    p.add_argument("--image", help="flash image of %d bytes (default: erased)" % IMAGE_SIZE)
    p.add_argument("--log", help="append every frame in both directions to this file")
    p.add_argument("--state-out", help="write the detector's state as JSON to this file")
    p.add_argument("--codepage", default="cp1252",
                   help="code page of the detector's texts (cp1252 or shift_jis)")
    p.add_argument("--busy", type=int, default=1,
                   help="busy answers to a confirm command before it completes (default 1)")
    p.add_argument("--busy-forever", action="store_true",
                   help="confirm commands answer busy for ever")
    p.add_argument("--dump-bytes", type=int, default=IMAGE_SIZE,
                   help="bytes of flash in the \"EF,R,\" dump list (default: all)")
    p.add_argument("--persist", action="store_true",
                   help="keep serving after the other side closes the terminal")
    faults = p.add_argument_group("faults")
    faults.add_argument("--silent", action="store_true", help="never answer")
    faults.add_argument("--nak", type=int, nargs="?", const=0, metavar="N",
                        help="answer NAK instead (only the Nth answer, frame or flash block, "
                        "when N is given)")
    faults.add_argument("--bad-checksum", type=int, nargs="?", const=0, metavar="N",
                        help="corrupt the checksum of reply frames (only the Nth frame when N "
                        "is given)")
    faults.add_argument("--drop-block", type=block_number, action="append", default=[],
                        metavar="N", help="never answer the request for flash block N")
    faults.add_argument("--short-block", type=block_number, action="append", default=[],
                        metavar="N", help="send only the first half of flash block N")
    faults.add_argument("--long-block", type=block_number, action="append", default=[],
                        metavar="N", help="send 16 zero bytes after flash block N")
    faults.add_argument("--chunk", type=int, default=0, metavar="N",
                        help="write replies in parts of N bytes")
    faults.add_argument("--delay", type=int, default=0, metavar="MS",
                        help="wait MS milliseconds before each reply")
    faults.add_argument("--baud", type=int, default=0, metavar="N",
                        help="pace bytes at N baud, 8N1 (N/10 bytes per second)")
    faults.add_argument("--pull-cable-after", type=int, metavar="N",
                        help="hang up when frame N+1 arrives from the program")
    args = p.parse_args(argv)
    for name in ("nak", "bad_checksum"):
        if getattr(args, name) is not None and getattr(args, name) < 0:
            p.error("--%s N must not be negative" % name.replace("_", "-"))
    if args.chunk < 0 or args.delay < 0 or args.baud < 0 or args.busy < 0:
        p.error("--chunk, --delay, --baud and --busy must not be negative")
    if not 0 <= args.dump_bytes <= IMAGE_SIZE:
        p.error("--dump-bytes must be 0 to %d" % IMAGE_SIZE)
    try:
        "".encode(args.codepage)
    except LookupError:
        p.error("unknown code page " + args.codepage)
    return args


def main(argv=None):
    args = parse_args(sys.argv[1:] if argv is None else argv)

    def stop(signum, _frame):
        raise Stop(signal.Signals(signum).name)

    for signum in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(signum, stop)
    try:
        sim = Simulator(args)
    except Stop:
        return 0
    except (OSError, ValueError) as e:
        print("tq6200_sim: %s" % e, file=sys.stderr)
        return 2
    try:
        sim.run()
    except Stop as why:
        sim.log.line("-- stop: %s" % why)
    finally:
        sim.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
