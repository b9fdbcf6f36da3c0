#!/usr/bin/env python3
"""Writes tests/corpus/malformed: small MIDI files, each named for what is wrong with it, which
no setting may convert; and tests/corpus/seeds: good songs that only seed the fuzzer.

The files are committed; run this again only to change the corpus.
"""
import pathlib
import struct

CORPUS = pathlib.Path(__file__).resolve().parent.parent / "tests" / "corpus"


def header(fmt=0, tracks=1, division=480, length=6):
    return b"MThd" + struct.pack(">IHHH", length, fmt, tracks, division)


def chunk(tag, data, length=None):
    return tag + struct.pack(">I", len(data) if length is None else length) + data


GOOD = bytes([0x00, 0x90, 0x3C, 0x64, 0x83, 0x60, 0x80, 0x3C, 0x40, 0x00, 0xFF, 0x2F, 0x00])


def song(track, **kw):
    return header(**kw) + chunk(b"MTrk", track)


def tracks(*datas, fmt=1, count=None):
    return header(fmt=fmt, tracks=len(datas) if count is None else count) + b"".join(
        chunk(b"MTrk", data) for data in datas)


NOTE_ON = bytes([0x00, 0x90, 0x3C, 0x64])


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
    "set-tempo-0.mid": song(bytes([0x00, 0xFF, 0x51, 0x03, 0x00, 0x00, 0x00]) + GOOD),
    "set-tempo-without-data.mid": song(NOTE_ON + bytes([0x60, 0xFF, 0x51, 0x00]) + GOOD),
    "format-2.mid": tracks(GOOD, GOOD, fmt=2),
    "format-7.mid": tracks(GOOD, fmt=7),
    "format-1-fewer-tracks-than-header.mid": tracks(GOOD, GOOD, count=3),
    "format-1-track-length-beyond-file.mid": tracks(GOOD, count=2) + chunk(b"MTrk", GOOD, length=200),
    "format-1-running-status-from-another-track.mid": tracks(NOTE_ON, bytes([0x00, 0x3C, 0x40])),
    "format-1-note-cut-off-in-second-track.mid": tracks(GOOD, bytes([0x00, 0x90, 0x3C])),
    "format-1-meta-event-256-bytes.mid": tracks(
        GOOD, bytes([0x00, 0xFF, 0x01, 0x82, 0x00]) + b"A" * 256),
}

SEEDS = {
    "format-1.mid": tracks(bytes([0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00]),
                           GOOD, bytes([0x30, 0x91, 0x40, 0x64, 0x60, 0x40, 0x00]) + GOOD[-4:]),
}

for folder, files in (("malformed", FILES), ("seeds", SEEDS)):
    (CORPUS / folder).mkdir(parents=True, exist_ok=True)
    for name, data in files.items():
        (CORPUS / folder / name).write_bytes(data)
        print(CORPUS / folder / name)
