#!/usr/bin/python3
"""The gateway address in kyv.ini, as scripts/run.sh needs it for the demo gateway.

  kyv_gateway.py configured INI   exit 0 when [gateway] Url names a gateway of the operator's
                                  (set, and not put there for the demo gateway)
  kyv_gateway.py point INI URL    [gateway] Url := URL, marked DemoGateway=1
  kyv_gateway.py unpoint INI      removes Url and the mark again when the mark is there

The file is cp1251 text; every other line keeps its bytes. Names compare without regard to case.
"""
import os
import sys


def read_lines(path):
    try:
        with open(path, 'rb') as f:
            data = f.read()
    except FileNotFoundError:
        return [], b'\r\n'
    eol = b'\r\n' if b'\r\n' in data or b'\n' not in data else b'\n'
    lines = data.split(eol)
    if lines and lines[-1] == b'':
        lines.pop()
    return lines, eol


def write_lines(path, lines, eol):
    tmp = path + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(b''.join(line + eol for line in lines))
    os.replace(tmp, path)


def section_of(line):
    s = line.strip()
    if s.startswith(b'[') and s.endswith(b']'):
        return s[1:-1].strip().lower()
    return None


def key_of(line):
    if b'=' not in line:
        return None
    return line.split(b'=', 1)[0].strip().lower()


def gateway_range(lines):
    """(start, end) of the [gateway] section's key lines; start is None when it is missing."""
    start = None
    for i, line in enumerate(lines):
        name = section_of(line)
        if name is not None:
            if start is not None:
                return start, i
            if name == b'gateway':
                start = i + 1
    return start, len(lines)


def values(lines):
    start, end = gateway_range(lines)
    found = {}
    if start is not None:
        for line in lines[start:end]:
            key = key_of(line)
            if key is not None and key not in found:
                found[key] = line.split(b'=', 1)[1].strip()
    return found


def configured(path):
    found = values(read_lines(path)[0])
    return bool(found.get(b'url')) and found.get(b'demogateway') != b'1'


def unpoint(path):
    lines, eol = read_lines(path)
    if values(lines).get(b'demogateway') != b'1':
        return
    start, end = gateway_range(lines)
    kept = [line for i, line in enumerate(lines)
            if not (start <= i < end and key_of(line) in (b'url', b'demogateway'))]
    # A section left without a line of its own was made for the demo: it goes too.
    start, end = gateway_range(kept)
    if not any(line.strip() for line in kept[start:end]):
        del kept[start - 1:end]
    write_lines(path, kept, eol)


def point(path, url):
    unpoint(path)
    lines, eol = read_lines(path)
    start, end = gateway_range(lines)
    added = [b'Url=' + url.encode('cp1251'), b'DemoGateway=1']
    if start is None:
        lines += [b'[gateway]'] + added
    else:
        lines[start:start] = added
    write_lines(path, lines, eol)


def main(argv):
    if len(argv) == 3 and argv[1] == 'configured':
        return 0 if configured(argv[2]) else 1
    if len(argv) == 4 and argv[1] == 'point':
        point(argv[2], argv[3])
        return 0
    if len(argv) == 3 and argv[1] == 'unpoint':
        unpoint(argv[2])
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == '__main__':
    sys.exit(main(sys.argv))
