#!/usr/bin/env python3
"""Soak: batches of songs sent through tav-emulator's seeded fault storm, every promise of the
sender checked after each batch. Runs on the JACK server that scripts/soak.sh starts for it.

The promises:
  - a song reported sent with handshakes is stored byte for byte as `convert` writes it; a blind
    one is stored so, or the device cancelled it and the sender said so, or the device's word
    never reached the sender (counted apart: the only way a blind send can be wrong);
  - a song not sent makes the send exit 1 and is named on stderr, with the reason or in the
    "not sent:" list;
  - no send outlives its bound (the steps its songs take, the time-outs, WAITs and resends the
    storm gave it, plus a margin);
  - no x10, .part or work file is left in the song folders or the work folder.

Ends with one summary line; the status is 1 when a promise was broken.
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

EMULATOR_PORTS = ["--out", "TAV Emulator", "--in", "TAV Emulator"]
PACKETS_PER_BYTE = 1 / 112
FORMAT_1_SONGS = Path("/usr/share/games/openttd/baseset/openmsx")


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--minutes", type=float, default=30)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--rate", type=float, default=0.05)
    parser.add_argument("--build", required=True, help="the build folder with the programs")
    parser.add_argument("--load-share", type=float, default=0.3,
                        help="the share of batches sent while two busy processes load the cores")
    return parser.parse_args()


class Soak:
    def __init__(self, args):
        self.args = args
        self.random = random.Random(args.seed)
        build = Path(args.build)
        self.cli = build / "src/cli/songloader-cli"
        self.emulator = build / "src/emulator/tav-emulator"
        self.make_songs = build / "examples/make-example-songs"
        self.work = Path(tempfile.mkdtemp(prefix="songloader-soak."))
        self.songs_folder = self.work / "songs"
        self.cache = self.work / "cache"  # the send's work folder lies in here
        self.env = dict(os.environ, XDG_CACHE_HOME=str(self.cache))
        self.songs = []  # (path, device name, expected x10 bytes, needs merging)
        self.counts = {"batches": 0, "sent": 0, "not sent": 0, "sent blind": 0,
                       "blind unheard": 0, "loaded batches": 0, "lost in transit": 0}
        self.faults = {}
        self.broken = []
        self.slowest = (0.0, 0.0)  # seconds taken, its bound
        self.loaded = False  # whether the batch under way runs beside the busy processes

    # ---- songs

    def make_song_files(self):
        self.songs_folder.mkdir()
        subprocess.run([self.make_songs, self.songs_folder], check=True, stdout=subprocess.DEVNULL)
        for notes in (1, 40, 400, 2500, 17500):  # from the smallest song to over 100 KB of x10
            write_format_0_song(self.songs_folder / f"gen{notes}.mid", notes)
        if FORMAT_1_SONGS.is_dir():
            for number, song in enumerate(sorted(FORMAT_1_SONGS.glob("*.mid"))[:3]):
                shutil.copy(song, self.songs_folder / f"multi{number}.mid")
        for song in sorted(self.songs_folder.glob("*.mid")):
            merge = read_format(song) == 1
            self.songs.append((song, song.name.split(".")[0][:12], self.expected_x10(song, merge),
                               merge))

    def expected_x10(self, song, merge):
        folder = self.work / "expected"
        folder.mkdir(exist_ok=True)
        copy = folder / song.name
        shutil.copy(song, copy)
        subprocess.run([self.cli, "convert"] + (["--merge-tracks"] if merge else []) + [copy],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       env=self.env)
        return Path(str(copy) + "x10").read_bytes()

    def pick_batch(self):
        small = [s for s in self.songs if len(s[2]) < 40000]
        large = [s for s in self.songs if len(s[2]) >= 40000]
        batch = self.random.sample(small, min(len(small), self.random.randint(2, 4)))
        if large and self.random.random() < 0.15:
            batch.insert(self.random.randrange(len(batch) + 1), self.random.choice(large))
        return batch

    # ---- one batch

    def run_batch(self, number):
        blind = number % 2 == 1
        loaded = self.random.random() < self.args.load_share
        self.loaded = loaded
        batch = self.pick_batch()
        store = self.work / f"store{number}"
        store.mkdir()
        emulator_log = self.work / f"emulator{number}.log"
        emulator = self.start_emulator(store, emulator_log, self.args.seed * 100000 + number)
        busy = start_busy_processes() if loaded else []
        options = (["--blind", "--packet-ms", "25"] if blind
                   else ["--handshake", "--packet-ms", "5", "--timeout", "40"])
        options += ["--song-ms", "50"]
        if any(song[3] for song in batch):
            options.append("--merge-tracks")
        started = time.monotonic()
        bound = self.nominal_seconds(batch, blind)
        send = subprocess.Popen([self.cli, "send"] + EMULATOR_PORTS + options +
                                [str(song[0]) for song in batch], stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True, env=self.env)
        try:
            out, err = send.communicate(timeout=3 * bound + 60)
        except subprocess.TimeoutExpired:
            send.kill()
            out, err = send.communicate()
            self.broken.append(f"batch {number}: the send hung ({3 * bound + 60:.0f} s)")
        taken = time.monotonic() - started
        stop_processes(busy)
        emulator.send_signal(signal.SIGINT)
        emulator.wait(timeout=30)
        lines = emulator_log.read_text(errors="replace").splitlines()
        self.counts["batches"] += 1
        self.counts["loaded batches"] += 1 if loaded else 0
        self.check_batch(number, batch, blind, send.returncode, out, err, store, lines)
        self.check_time(number, taken, bound, lines, blind)
        self.check_leftovers(number)

    def start_emulator(self, store, log, seed):
        handle = open(log, "w")
        emulator = subprocess.Popen([self.emulator, "--store", store, "--chaos", str(seed),
                                     "--chaos-rate", str(self.args.rate)], stdout=handle,
                                    stderr=subprocess.STDOUT)
        for _ in range(100):
            if " ready: " in log.read_text(errors="replace"):
                return emulator
            if emulator.poll() is not None:
                break
            time.sleep(0.1)
        raise SystemExit(f"soak: tav-emulator did not start:\n{log.read_text(errors='replace')}")

    # The time the songs take at their pacing: three steps a data packet and a few a song.
    def nominal_seconds(self, batch, blind):
        step = 0.025 if blind else 0.005
        steps = sum(3 * (len(song[2]) * PACKETS_PER_BYTE + 1) + 8 for song in batch)
        return steps * step + 0.05 * len(batch)

    # ---- the promises

    def check_batch(self, number, batch, blind, status, out, err, store, lines):
        sent = set(re.findall(r"^sent (.*) \(\d+ packets", out, re.M))
        named = set(re.findall(r"^songloader-cli send: (.*?): ", err, re.M))
        for listed in re.findall(r"^  not sent: (.*)$", err, re.M):
            named.update(listed.split(", "))
        reports = file_reports(lines)
        self.tally_faults(lines)
        for path, name, expected, _ in batch:
            stored = store / f"{name}.x10"
            stored_bytes = stored.read_bytes() if stored.exists() else None
            if str(path) in sent:
                self.counts["sent"] += 1
                if stored_bytes == expected:
                    continue
                if blind:
                    self.counts["blind unheard"] += 1  # cancelled or lost without a word heard
                    continue
                self.broken.append(f"batch {number}{' (under load)' if self.loaded else ''}: "
                                   f"{path.name} reported sent, stored "
                                   f"{'differently' if stored_bytes else 'not at all'}; the "
                                   f"device: {reports.get(name, 'no file of that name')}")
            else:
                self.counts["not sent"] += 1
                if str(path) not in named:
                    self.broken.append(f"batch {number}: {path.name} not sent, and not named")
                reason = reports.get(name, "")
                if reason and "faults:" not in reason and not reason.endswith(": ok"):
                    self.counts["lost in transit"] += 1
        self.counts["sent blind"] += len(sent) if blind else 0
        if (status == 0) != (len(sent) == len(batch)):
            self.broken.append(f"batch {number}: exit status {status} with {len(sent)} of "
                               f"{len(batch)} songs sent")
        if status not in (0, 1):
            self.broken.append(f"batch {number}: exit status {status}\n{err}")

    def check_time(self, number, taken, nominal, lines, blind):
        totals = [line for line in lines if line.startswith("faults acted out:")]
        faults = sum(fault_counts(totals[-1]).values()) if totals else 0
        timeout_seconds = 42 * 0.005 * 10  # the time-out's steps, ten times after a WAIT
        bound = 2 * nominal + 0.5 * faults + timeout_seconds + (4 if blind else 3) + 5
        if taken / bound > self.slowest[0] / max(self.slowest[1], 1e-9):
            self.slowest = (taken, bound)
        if taken > bound:
            self.broken.append(f"batch {number}: the send took {taken:.1f} s, its bound "
                               f"{bound:.1f} s")

    def check_leftovers(self, number):
        left = [p for p in self.songs_folder.iterdir() if not p.name.endswith(".mid")]
        if self.cache.exists():
            left += [p for p in self.cache.rglob("*") if p.is_file()]
        if left:
            self.broken.append(f"batch {number}: files left behind: {[str(p) for p in left]}")
            for path in left:
                path.unlink()

    def tally_faults(self, lines):
        for line in lines:
            if line.startswith("faults acted out:"):
                for kind, count in fault_counts(line).items():
                    self.faults[kind] = self.faults.get(kind, 0) + count

    # ---- the whole soak

    def run(self):
        self.make_song_files()
        deadline = time.monotonic() + 60 * self.args.minutes
        number = 0
        while time.monotonic() < deadline:
            self.run_batch(number)
            number += 1
        for line in self.broken:
            print(f"BROKEN: {line}", file=sys.stderr)
        print(self.summary())
        shutil.rmtree(self.work, ignore_errors=True)
        return 1 if self.broken else 0

    def summary(self):
        faults = ", ".join(f"{count} {kind}" for kind, count in sorted(self.faults.items()))
        taken, bound = self.slowest
        c = self.counts
        return (f"soak: {c['batches']} batches ({c['loaded batches']} under load), "
                f"{c['sent']} songs sent ({c['sent blind']} blind), {c['not sent']} not sent; "
                f"faults acted out: {faults or 'none'}; blind songs the device lost unheard: "
                f"{c['blind unheard']}; failures not from the storm: {c['lost in transit']}; "
                f"promises broken: {len(self.broken)}; slowest send {taken:.1f} s of a "
                f"{bound:.1f} s bound")


def fault_counts(text):
    counts = {}
    for match in re.finditer(r"faults(?: acted out)?: ([^;]*)", text):
        for count, kind in re.findall(r"(\d+) ([a-zA-Z][a-zA-Z ]*?)(?:,|$)", match.group(1)):
            counts[kind.strip()] = counts.get(kind.strip(), 0) + int(count)
    return counts


def file_reports(lines):
    reports = {}
    for line in lines:
        match = re.match(r'file "(.*?)": (.*)$', line)
        if match:
            reports[match.group(1)] = match.group(2)
    return reports


def read_format(song):
    header = song.read_bytes()[:10]
    return int.from_bytes(header[8:10], "big") if header[:4] == b"MThd" else -1


def write_format_0_song(path, notes):
    """A format-0 song of N notes, one tick apart: its x10 file grows with N (6 bytes a note)."""
    track = b"\x01\x90\x3c\x40" * notes + b"\x00\xff\x2f\x00"
    path.write_bytes(b"MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60MTrk" +
                     len(track).to_bytes(4, "big") + track)


def start_busy_processes():
    return [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(2)]


def stop_processes(processes):
    for process in processes:
        process.kill()
        process.wait()


if __name__ == "__main__":
    sys.exit(Soak(parse_arguments()).run())
