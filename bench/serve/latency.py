"""GET each URL N times, in turns, each request on a new connection; prints
the median and the 99th percentile per server and the ratio of the 99th
percentiles of the first to the second.

    latency.py N NAME=URL NAME=URL
"""
import http.client
import statistics
import sys
import time
import urllib.parse


def fetch(url):
    parts = urllib.parse.urlsplit(url)
    started = time.perf_counter()
    connection = http.client.HTTPConnection(parts.hostname, parts.port)
    connection.request("GET", parts.path or "/")
    answer = connection.getresponse()
    body = answer.read()
    connection.close()
    elapsed = time.perf_counter() - started
    if answer.status != 200 or not body:
        raise SystemExit(f"{url}: status {answer.status}")
    return elapsed * 1000


def main():
    count = int(sys.argv[1])
    servers = [argument.split("=", 1) for argument in sys.argv[2:]]
    times = {name: [] for name, _ in servers}
    for name, url in servers:  # warm up
        for _ in range(20):
            fetch(url)
    for _ in range(count):
        for name, url in servers:
            times[name].append(fetch(url))
    p99 = {}
    for name, _ in servers:
        ordered = sorted(times[name])
        p99[name] = ordered[min(len(ordered) - 1, int(len(ordered) * 0.99))]
        print(f"{name}: median {statistics.median(ordered):.3f} ms, "
              f"p99 {p99[name]:.3f} ms over {count} requests")
    first, second = servers[0][0], servers[1][0]
    print(f"p99 ratio {first} / {second}: {p99[first] / p99[second]:.2f}")


main()
