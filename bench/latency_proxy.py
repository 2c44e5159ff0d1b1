#!/usr/bin/env python3
"""A link with a round-trip delay and a bandwidth cap, in front of a local server.

    bench/latency_proxy.py <listen port> <upstream port> [--delay-ms 30] [--rate 20e6]
                           [--stats file]

Listens on 127.0.0.1:<listen port> and forwards every connection to
127.0.0.1:<upstream port>. A new connection waits --delay-ms before it reaches the
upstream (the connection set-up of a distant server), and so does every piece of
data a client sends (each request waits one round trip before the server sees it).
The server's answers to all connections together pass at most --rate bytes per
second. On SIGTERM it writes "connections=<n> requests=<n> bytes=<n>" into --stats
and ends.
"""
import argparse
import asyncio
import signal

CHUNK = 65536  # bytes paced at a time (3.3 ms at 20 MB/s): connections share the rate finely
# A chunk late by less than this keeps its place in the schedule: timers wake up late
# on a busy machine, and restarting the schedule from "now" after each late wake-up
# would lose that time and push the rate below the cap.
SLACK = 0.02
AHEAD = 0.001  # shorter waits are not worth a timer


class Pace:
    """One shared schedule of the link: each chunk takes its turn at the rate."""

    def __init__(self, rate):
        self.rate, self.free_at = rate, 0.0

    async def take(self, size):
        now = asyncio.get_running_loop().time()
        start = max(now - SLACK, self.free_at)
        self.free_at = start + size / self.rate
        if self.free_at - now > AHEAD:
            await asyncio.sleep(self.free_at - now)


class Proxy:
    def __init__(self, upstream, delay, rate):
        self.upstream, self.delay, self.pace = upstream, delay, Pace(rate)
        self.connections = self.requests = self.bytes = 0

    async def serve(self, client_reader, client_writer):
        self.connections += 1
        await asyncio.sleep(self.delay)
        try:
            up_reader, up_writer = await asyncio.open_connection("127.0.0.1", self.upstream)
        except OSError:
            client_writer.close()
            return
        requests = asyncio.ensure_future(self.requests_to_server(client_reader, up_writer))
        answers = asyncio.ensure_future(self.answers_to_client(up_reader, client_writer))
        await asyncio.wait([requests, answers], return_when=asyncio.FIRST_COMPLETED)
        for task in (requests, answers):
            task.cancel()
        for writer in (up_writer, client_writer):
            writer.close()

    async def requests_to_server(self, reader, writer):
        try:
            while True:
                data = await reader.read(65536)
                if not data:
                    return
                self.requests += 1
                await asyncio.sleep(self.delay)
                writer.write(data)
                await writer.drain()
        except (ConnectionError, OSError):
            return

    async def answers_to_client(self, reader, writer):
        try:
            while True:
                data = await reader.read(CHUNK)
                if not data:
                    return
                await self.pace.take(len(data))
                self.bytes += len(data)
                writer.write(data)
                await writer.drain()
        except (ConnectionError, OSError):
            return


async def main(args):
    proxy = Proxy(args.upstream, args.delay_ms / 1000.0, args.rate)
    server = await asyncio.start_server(proxy.serve, "127.0.0.1", args.listen)
    stop = asyncio.get_running_loop().create_future()
    asyncio.get_running_loop().add_signal_handler(signal.SIGTERM, lambda: stop.done() or stop.set_result(None))
    async with server:
        await stop
    if args.stats:
        with open(args.stats, "w") as f:
            f.write("connections=%d requests=%d bytes=%d\n" % (proxy.connections, proxy.requests, proxy.bytes))


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("listen", type=int)
    parser.add_argument("upstream", type=int)
    parser.add_argument("--delay-ms", type=float, default=30.0)
    parser.add_argument("--rate", type=float, default=20e6)
    parser.add_argument("--stats")
    asyncio.run(main(parser.parse_args()))
