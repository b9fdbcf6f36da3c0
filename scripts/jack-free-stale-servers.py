#!/usr/bin/env python3
"""Frees the places of JACK servers that are gone from the JACK registry in shared memory.

A JACK server killed outright (as the tests that take the server away do) keeps its place in the
registry, and the registry holds only a few servers: once they are all taken, no new server
starts ("Too many servers already active"). A place is free again when its process no longer
runs, or runs as something other than jackd (its number was given to another process).
"""
import os
import struct

REGISTRY = "/dev/shm/jack-shm-registry"
MAGIC = b"KCAJ"
FIRST_SERVER = 24  # the first place's process number; its name follows it
PLACE_BYTES = 264
PLACES = 8


def is_jackd(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as cmdline:
            program = cmdline.read().split(b"\0")[0]
    except OSError:
        return False
    return os.path.basename(program).startswith(b"jackd")


def main():
    if not os.path.isdir("/proc"):
        return
    try:
        registry = open(REGISTRY, "r+b")
    except OSError:
        return
    with registry:
        data = bytearray(registry.read(FIRST_SERVER + PLACE_BYTES * PLACES))
        if data[:4] != MAGIC or len(data) < FIRST_SERVER + PLACE_BYTES * PLACES:
            return
        for place in range(PLACES):
            start = FIRST_SERVER + PLACE_BYTES * place
            (pid,) = struct.unpack_from("<i", data, start)
            if pid != 0 and not is_jackd(pid):
                registry.seek(start)
                registry.write(bytes(PLACE_BYTES))


if __name__ == "__main__":
    main()
