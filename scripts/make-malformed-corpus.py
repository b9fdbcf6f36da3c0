#!/usr/bin/env python3
"""Writes tests/corpus/malformed: small MIDI files, each named for what is wrong with it.

The files are committed; run this again only to change the corpus.
"""
import pathlib
import struct

OUT = pathlib.Path(__file__).resolve().parent.parent / "tests" / "corpus" / "malformed"


def header(fmt=0, tracks=1, division=480, length=6):
    return b"MThd" + struct.pack(">IHHH", length, fmt, tracks, division)


def chunk(tag, data, length=None):
    return tag + struct.pack(">I", len(data) if length is None else length) + data


GOOD = bytes([0x00, 0x90, 0x3C, 0x64, 0x83, 0x60, 0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00])


def song(track, **kw):
    return header(**kw) + chunk(b"MTrk", track)


FILES = {
    "header-cut-off.mid": b"MThd\x00\x00\x00\x06\x00",
    "header-length-5.mid": header(length=5) + chunk(b"MTrk", GOOD),
    "header-length-beyond-file.mid": header(length=4000) + chunk(b"MTrk", GOOD),
    "division-0.mid": song(GOOD, division=0),
    "time-code-0-ticks-per-frame.mid": song(GOOD, division=0xE700),
    "no-track-chunk.mid": header(),
    "foreign-chunk-runs-past-end.mid": header() + chunk(b"XFIH", b"\x01\x02", length=0x7F000000),
    "track-length-beyond-file.mid": header() + chunk(b"MTrk", GOOD, length=len(GOOD) + 9),
    "track-length-4gb.mid": header() + chunk(b"MTrk", GOOD, length=0xFFFFFFF0),
    "empty-track.mid": song(b""),
    "end-of-track-first.mid": song(bytes([0x00, 0xFF, 0x2F, 0x00]) + GOOD),
    "meta-event-256-bytes.mid": song(bytes([0x00, 0xFF, 0x01, 0x82, 0x00]) + b"A" * 256 + GOOD),
    "note-cut-off.mid": song(bytes([0x00, 0x90, 0x3C])),
    "delta-quantity-5-bytes.mid": song(bytes([0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 0x3C, 0x64])),
    "running-status-without-status.mid": song(bytes([0x00, 0x3C, 0x64]) + GOOD),
    "timing-clock-event.mid": song(bytes([0x00, 0x90, 0x3C, 0x64, 0x00, 0xF8, 0x00, 0xFF, 0x2F, 0x00])),
    "sysex-length-beyond-track.mid": song(bytes([0x00, 0xF0, 0xFF, 0xFF, 0xFF, 0x7F, 0xF7])),
    "delta-2-to-the-28-units.mid": song(
        bytes([0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x08, 0x00, 0x90, 0x3C, 0x64,
               0xC0, 0x80, 0x80, 0x00, 0x80, 0x3C, 0x40]), division=1),
    "not-a-midi-file.mid": b"RIFF\x24\x00\x00\x00WAVEfmt ",
    "format-1.mid": header(fmt=1, tracks=2) + chunk(b"MTrk", GOOD) + chunk(b"MTrk", GOOD),
}

OUT.mkdir(parents=True, exist_ok=True)
for name, data in FILES.items():
    (OUT / name).write_bytes(data)
    print(OUT / name)
