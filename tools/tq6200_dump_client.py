#!/usr/bin/env python3
"""Reference client of the flash dump.

Reads every flash block of a TQ-6200 (the simulator, on its pseudo-terminal)
the plainest way: "EP,R," and the block number, the 512 raw bytes, and the
next request the moment the last byte of a block has arrived. It prints the
seconds the whole dump took, so the program's own dump can be compared with
what the line and the detector allow.

Usage: tq6200_dump_client.py DEVICE [--blocks N] [--out FILE]

Standard library only.
"""

import argparse
import os
import select
import sys
import time
import tty

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from tq6200_sim import BLOCK_COUNT, BLOCK_SIZE, make_frame  # noqa: E402

TIMEOUT = 5.0  # seconds a block may take before the dump is given up


def read_block(fd):
    data = b""
    while len(data) < BLOCK_SIZE:
        ready, _, _ = select.select([fd], [], [], TIMEOUT)
        if not ready:
            raise TimeoutError("no answer within %g s" % TIMEOUT)
        part = os.read(fd, BLOCK_SIZE - len(data))
        if not part:
            raise EOFError("the terminal closed")
        data += part
    return data


def dump(device, blocks):
    """The blocks 0 to blocks - 1 and the seconds they took."""
    requests = [make_frame(b"EP,R,%04X" % block) for block in range(blocks)]
    fd = os.open(device, os.O_RDWR | os.O_NOCTTY)
    try:
        tty.setraw(fd)
        image = []
        start = time.monotonic()
        for request in requests:
            os.write(fd, request)
            image.append(read_block(fd))
        return b"".join(image), time.monotonic() - start
    finally:
        os.close(fd)


def main(argv=None):
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("device", help="the detector's terminal")
    p.add_argument("--blocks", type=int, default=BLOCK_COUNT,
                   help="read blocks 0 to N - 1 (default: all %d)" % BLOCK_COUNT)
    p.add_argument("--out", help="write the blocks read to this file")
    args = p.parse_args(argv)
    if not 1 <= args.blocks <= BLOCK_COUNT:
        p.error("--blocks must be 1 to %d" % BLOCK_COUNT)
    try:
        image, seconds = dump(args.device, args.blocks)
    except (OSError, TimeoutError, EOFError) as e:
        print("tq6200_dump_client: %s" % e, file=sys.stderr)
        return 1
    if args.out:
        with open(args.out, "wb") as f:
            f.write(image)
    print("%.6f" % seconds)
    return 0


if __name__ == "__main__":
    sys.exit(main())
