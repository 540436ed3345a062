#!/usr/bin/env python3
"""Where Versilo.exe's time goes before its first paint, from a Wine trace of one start.

Reads a trace made with WINEDEBUG=+timestamp,+pid,+loaddll,+file,+debugstr of a
StartupBench run (which says "StartupBench: painted" through OutputDebugString when the
chapter shows) and prints, as milliseconds after Versilo.exe was loaded, every library
loaded, every file opened that is not a library, the program's own marks of its steps
("Versilo start: ..."), and the paint, with the gap before each; then the time of each
kind of work between the marks.

Usage: startup-trace.py TRACE
"""
import re
import sys

LINE = re.compile(r'^(\d+\.\d+):([0-9a-f]+):([0-9a-f]+):(\w+):(\w+):(\S+) (.*)$')
LOADED = re.compile(r'Loaded L"([^"]*)" at \S+: (\w+)')
OPENED = re.compile(r'name=L"([^"]*)"')


def events(path):
    """(seconds, pid, kind, text) of the lines that matter."""
    with open(path, errors='replace') as trace:
        for raw in trace:
            m = LINE.match(raw.rstrip('\n'))
            if not m:
                continue
            when, pid, _tid, _cls, channel, func, rest = m.groups()
            when = float(when)
            if channel == 'loaddll':
                lm = LOADED.search(rest)
                if lm:
                    yield when, pid, 'dll', lm.group(1).replace('\\\\', '\\') + ' (' + lm.group(2) + ')'
            elif channel == 'file' and func == 'NtCreateFile' and 'handle=' in rest:
                om = OPENED.search(rest)
                if om:
                    yield when, pid, 'file', om.group(1).replace('\\\\', '\\')
            elif channel == 'debugstr' and 'Versilo start: ' in rest:
                yield when, pid, 'step', rest.split('Versilo start: ', 1)[1].split('\\n')[0]
            elif channel == 'debugstr' and 'StartupBench: painted' in rest:
                yield when, pid, 'painted', 'the chapter painted (seen by StartupBench)'


def interesting_file(name):
    low = name.lower()
    if low.endswith(('.dll', '.manifest', '.drv', '.exe', '.nls', '.ttf', '.ttc', '.fon')):
        return False
    if '\\windows\\' in low or low.startswith('\\??\\unix') or low.endswith('\\'):
        return False
    return True


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    all_events = list(events(sys.argv[1]))
    start = next(((t, pid) for t, pid, kind, text in all_events
                  if kind == 'dll' and text.lower().split(' ')[0].endswith('\\versilo.exe')), None)
    if not start:
        sys.exit('startup-trace: no "Versilo.exe" loaded in the trace')
    t0, versilo = start
    painted = next((t for t, pid, kind, _ in all_events if kind == 'painted' and t >= t0), None)
    shown = []
    seen_files = set()
    for t, pid, kind, text in all_events:
        if t < t0 or (painted is not None and t > painted):
            continue
        if kind == 'painted':
            shown.append((t, 'paint', text))
        elif pid != versilo:
            continue
        elif kind == 'step':
            shown.append((t, 'step', text))
        elif kind == 'dll':
            shown.append((t, 'dll', text.split('\\')[-1]))
        elif kind == 'file' and interesting_file(text) and text not in seen_files:
            seen_files.add(text)
            shown.append((t, 'file', text.replace('\\??\\', '')))
    print('Versilo.exe start, after the executable was loaded (ms, gap before it):')
    last = t0
    for t, kind, text in shown:
        print(f'  +{(t - t0) * 1000:7.0f}  ({(t - last) * 1000:+5.0f})  {kind:5} {text}')
        last = t
    if painted is None:
        print('  (no paint seen in the trace)')
        return
    print(f'  loaded to painted: {(painted - t0) * 1000:.0f} ms')
    print('Steps (ms, up to each mark from the one before):')
    before = t0
    for t, kind, text in shown:
        if kind in ('step', 'paint'):
            print(f'  {(t - before) * 1000:7.0f}  {text}')
            before = t


if __name__ == '__main__':
    main()
