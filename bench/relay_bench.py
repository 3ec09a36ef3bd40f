#!/usr/bin/env python3
"""The relay under load (run by bench/relay-bench.sh, which starts and stops the relay).

Opens SUBSCRIBERS WebSockets on the loopback address, half to /sub/picture and half to /sub/now,
then publishes ROUNDS pictures (real audience pictures of 100-170 KB) each followed by a state,
and reports per channel the time from the publication to the last subscriber holding the whole
message (median and maximum over the rounds), the median delivery to one subscriber, and the
resident memory of nginx. With --publish-command the command publishes instead (once a round,
its start is the time of the publication); it gets RELAY_PUBLISH_URL, RELAY_SECRET,
RELAY_PICTURE (a PNG file) and RELAY_ROUND.

Memory stays bounded: the payloads are counted and dropped as they arrive, never kept, and each
socket's receive buffer is small.
"""
import argparse
import asyncio
import base64
import os
import socket
import statistics
import struct
import sys
import time
import urllib.request

CONNECT_BATCH = 250


class Subscriber(asyncio.Protocol):
    def __init__(self, bench, channel, path):
        self.bench = bench
        self.channel = channel
        self.path = path
        self.head = bytearray()
        self.open = False
        self.header = bytearray()  # an incomplete frame header
        self.left = 0  # payload bytes of the current frame still to come
        self.opcode = 0
        self.fin = True
        self.messages = 0
        self.transport = None

    def connection_made(self, transport):
        self.transport = transport
        key = base64.b64encode(os.urandom(16)).decode()
        transport.write((f"GET {self.path} HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\n"
                         f"Connection: Upgrade\r\nSec-WebSocket-Key: {key}\r\n"
                         "Sec-WebSocket-Version: 13\r\n\r\n").encode())

    def connection_lost(self, exc):
        self.bench.lost += 1

    def data_received(self, data):
        if not self.open:
            self.head += data
            end = self.head.find(b"\r\n\r\n")
            if end < 0:
                return
            if not self.head.startswith(b"HTTP/1.1 101"):
                self.bench.refused += 1
                self.transport.close()
                return
            self.open = True
            data = bytes(self.head[end + 4:])
            self.head = bytearray()
        i, n = 0, len(data)
        while i < n:
            if self.left:
                take = min(self.left, n - i)
                self.left -= take
                i += take
                if self.left == 0:
                    self.frame_done()
                continue
            had = len(self.header)
            chunk = data[i:i + 14 - had]
            self.header += chunk
            used = self.parse_header()
            if used < 0:
                i += len(chunk)  # all of it header, and more to come
                continue
            i += used - had  # the rest of the chunk is payload
            self.header = bytearray()
            if self.left == 0:
                self.frame_done()

    def parse_header(self):
        h = self.header
        if len(h) < 2:
            return -1
        size = h[1] & 0x7F
        need = 2 + (2 if size == 126 else 8 if size == 127 else 0)
        if len(h) < need:
            return -1
        if size == 126:
            size = struct.unpack(">H", h[2:4])[0]
        elif size == 127:
            size = struct.unpack(">Q", h[2:10])[0]
        opcode = h[0] & 0x0F
        if opcode != 0:
            self.opcode = opcode
        self.fin = bool(h[0] & 0x80)
        self.left = size
        return need

    def frame_done(self):
        if self.fin and self.opcode in (1, 2):
            self.messages += 1
            self.bench.arrived(self.channel, self.messages)


class Bench:
    def __init__(self, subscribers_per_channel):
        self.per_channel = subscribers_per_channel
        self.count = {}  # (channel, n) -> subscribers holding their n-th message
        self.first = {}  # (channel, n) -> time of the first of them
        self.last = {}  # (channel, n) -> time of the last of them
        self.all_times = {"picture": [], "now": []}
        self.started = {}
        self.lost = 0
        self.refused = 0

    def arrived(self, channel, n):
        now = time.monotonic()
        key = (channel, n)
        self.count[key] = self.count.get(key, 0) + 1
        self.first.setdefault(key, now)
        self.last[key] = now
        if key in self.started:
            self.all_times[channel].append(now - self.started[key])

    def complete(self, channel, n):
        return self.count.get((channel, n), 0) >= self.per_channel[channel]

    async def wait_any(self, channel, n, seconds):
        deadline = time.monotonic() + seconds
        while self.count.get((channel, n), 0) == 0:
            if time.monotonic() > deadline:
                return False
            await asyncio.sleep(0.002)
        return True

    async def wait(self, channel, n, seconds):
        deadline = time.monotonic() + seconds
        while not self.complete(channel, n):
            if time.monotonic() > deadline:
                return False
            await asyncio.sleep(0.002)
        return True


def publish(url, secret, channel, body, content_type):
    request = urllib.request.Request(url + channel, data=body, method="POST",
                                     headers={"X-Trq-Secret": secret,
                                              "Content-Type": content_type})
    with urllib.request.urlopen(request, timeout=10) as reply:
        if reply.status // 100 != 2:
            raise RuntimeError(f"publishing {channel}: {reply.status}")


def now_body(n):
    return (f'{{"view":3,"hold":false,"item":"No.{n}","heat":{n},"heats":[],"now":[[{n}]],'
            f'"next":[],"floors":[],"couples":{{}}}}').encode()


def program_cpu(pid):
    """User and system CPU seconds of a process so far."""
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def nginx_memory(pid_file):
    master = int(open(pid_file).read().strip())
    pids = [master]
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                fields = open(f"/proc/{entry}/stat").read().rsplit(")", 1)[1].split()
                if int(fields[1]) == master:
                    pids.append(int(entry))
            except OSError:
                pass
    rows = []
    for pid in pids:
        values = {}
        for line in open(f"/proc/{pid}/status"):
            if line.startswith(("VmRSS:", "VmHWM:", "RssShmem:")):
                name, kb = line.split()[:2]
                values[name.rstrip(":")] = int(kb) / 1024
        rows.append((pid, values))
    return rows


async def open_subscribers(loop, bench, port, channel, count):
    subscribers = []
    for start in range(0, count, CONNECT_BATCH):
        batch = []
        for _ in range(min(CONNECT_BATCH, count - start)):
            sock = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 32 * 1024)
            sock.setblocking(False)
            await loop.sock_connect(sock, ("127.0.0.1", port))
            batch.append(loop.create_connection(
                lambda: Subscriber(bench, channel, "/sub/" + channel), sock=sock))
        for _, protocol in await asyncio.gather(*batch):
            subscribers.append(protocol)
    return subscribers


async def main():
    p = argparse.ArgumentParser()
    p.add_argument("--port", type=int, required=True)
    p.add_argument("--dir", required=True)
    p.add_argument("--subscribers", type=int, default=5000)
    p.add_argument("--rounds", type=int, default=10)
    p.add_argument("--pictures", nargs="+", required=True)
    p.add_argument("--publish-command")
    p.add_argument("--deadline", type=float, default=110.0)
    p.add_argument("--program-pid", type=int,
                   help="the publishing program: its CPU time over the rounds is reported")
    a = p.parse_args()
    t_start = time.monotonic()
    url = f"http://127.0.0.1:{a.port}/pub/"
    secret = open(os.path.join(a.dir, "secret")).read().strip()
    pictures = [open(f, "rb").read() for f in a.pictures]
    half = a.subscribers // 2
    bench = Bench({"picture": half, "now": a.subscribers - half})
    loop = asyncio.get_running_loop()

    # Something to get on connect: every subscriber's first message proves it is there.
    await loop.run_in_executor(None, publish, url, secret, "picture", pictures[0], "image/png")
    await loop.run_in_executor(None, publish, url, secret, "now", now_body(0), "application/json")
    t0 = time.monotonic()
    subs = await open_subscribers(loop, bench, a.port, "picture", half)
    subs += await open_subscribers(loop, bench, a.port, "now", a.subscribers - half)
    ok = await bench.wait("picture", 1, 60) and await bench.wait("now", 1, 60)
    print(f"subscribers: {a.subscribers} ({half} picture, {a.subscribers - half} now), "
          f"all holding the newest message after {time.monotonic() - t0:.2f} s"
          + ("" if ok else f" -- INCOMPLETE (refused {bench.refused}, lost {bench.lost})"))
    if not ok:
        return 1

    results = {"picture": [], "now": []}
    cpu_before = program_cpu(a.program_pid) if a.program_pid else 0.0
    rounds_run = 0
    for r in range(1, a.rounds + 1):
        if time.monotonic() - t_start > a.deadline - 15:
            print(f"stopping after {r - 1} rounds: the run's time is up")
            break
        round_start = time.monotonic()
        picture_file = a.pictures[r % len(a.pictures)]
        n = r + 1
        for channel in ("picture", "now"):
            bench.started[(channel, n)] = time.monotonic()
        if a.publish_command:
            env = dict(os.environ, RELAY_PUBLISH_URL=url, RELAY_SECRET=secret,
                       RELAY_PICTURE=picture_file, RELAY_ROUND=str(r))
            process = await asyncio.create_subprocess_shell(a.publish_command, env=env)
            await process.wait()
        else:
            await loop.run_in_executor(None, publish, url, secret, "picture",
                                       pictures[r % len(pictures)], "image/png")
            bench.started[("now", n)] = time.monotonic()
            await loop.run_in_executor(None, publish, url, secret, "now", now_body(r),
                                       "application/json")
        for channel in ("picture", "now"):
            if a.subscribers == 0:
                break
            # A command may publish one channel only: one that nobody got within 2 s is left.
            if a.publish_command and not await bench.wait_any(channel, n, 2):
                continue
            if await bench.wait(channel, n, 10):
                results[channel].append(bench.last[(channel, n)] - bench.started[(channel, n)])
            else:
                got = bench.count.get((channel, n), 0)
                print(f"round {r}: {channel} reached {got} of {bench.per_channel[channel]} "
                      "subscribers within 10 s")
        rounds_run += 1
        if a.program_pid:
            # Rounds of one length, with or without subscribers: the program's idle time in a
            # round is the same in both runs.
            await asyncio.sleep(max(0.0, 1.5 - (time.monotonic() - round_start)))
        else:
            await asyncio.sleep(0.3)
    if a.program_pid and rounds_run:
        spent = program_cpu(a.program_pid) - cpu_before
        print(f"program CPU: {spent * 1000 / rounds_run:.2f} ms per round "
              f"({rounds_run} rounds, {a.subscribers} subscribers)")

    size = sum(len(x) for x in pictures) / len(pictures) / 1024
    print(f"pictures: {len(pictures)} real PNGs, {size:.0f} KB on average, "
          f"{len(results['picture'])} rounds")
    for channel, times in results.items():
        if not times:
            print(f"{channel:8s} no complete round")
            continue
        each = sorted(bench.all_times[channel])
        print(f"{channel:8s} publication to the last subscriber: median "
              f"{statistics.median(times) * 1000:.1f} ms, max {max(times) * 1000:.1f} ms; "
              f"to one subscriber: median {statistics.median(each) * 1000:.1f} ms")
    total_rss = 0
    for pid, values in nginx_memory(os.path.join(a.dir, "nginx.pid")):
        total_rss += values.get("VmRSS", 0)
        print(f"nginx {pid}: RSS {values.get('VmRSS', 0):.1f} MB (peak {values.get('VmHWM', 0):.1f}"
              f" MB, of it shared memory {values.get('RssShmem', 0):.1f} MB)")
    print(f"nginx RSS in all: {total_rss:.1f} MB (the shared memory counted in each process)")
    print(f"lost connections: {bench.lost}, refused: {bench.refused}, "
          f"run {time.monotonic() - t_start:.1f} s")
    for s in subs:
        if s.transport:
            s.transport.close()
    return 0


if __name__ == "__main__":
    sys.exit(asyncio.run(main()))
