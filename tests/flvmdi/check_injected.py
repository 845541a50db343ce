#!/usr/bin/env python3
"""Checks an FLV file injected by flvmdi against its original, with its own FLV and AMF0 reader.

  check_injected.py ORIGINAL INJECTED [WIDTH,HEIGHT]
  check_injected.py --add-cue-points IN OUT     (writes IN with two onCuePoint tags added)
"""
import struct
import sys


def tags(data):
    if data[:3] != b'FLV':
        raise SystemExit('not an FLV file')
    offset = struct.unpack('>I', data[5:9])[0] + 4
    while offset < len(data):
        kind = data[offset] & 0x1F
        size = int.from_bytes(data[offset + 1:offset + 4], 'big')
        time = int.from_bytes(data[offset + 4:offset + 7], 'big') | data[offset + 7] << 24
        payload = data[offset + 11:offset + 11 + size]
        trailer = struct.unpack('>I', data[offset + 11 + size:offset + 15 + size])[0]
        yield {'offset': offset, 'type': kind, 'time': time, 'payload': payload,
               'trailer_ok': trailer == 11 + size}
        offset += 15 + size
    if offset != len(data):
        raise SystemExit('the last tag runs past the end of the file')


def amf(data, pos=0):
    """One AMF0 value at pos: (value, next position)."""
    marker = data[pos]
    pos += 1
    if marker == 0:
        return struct.unpack('>d', data[pos:pos + 8])[0], pos + 8
    if marker == 1:
        return data[pos] != 0, pos + 1
    if marker == 2:
        n = struct.unpack('>H', data[pos:pos + 2])[0]
        return data[pos + 2:pos + 2 + n].decode('utf-8'), pos + 2 + n
    if marker in (3, 8):
        if marker == 8:
            pos += 4
        out = {}
        while True:
            n = struct.unpack('>H', data[pos:pos + 2])[0]
            key = data[pos + 2:pos + 2 + n].decode('utf-8')
            pos += 2 + n
            if n == 0 and data[pos] == 9:
                return out, pos + 1
            out[key], pos = amf(data, pos)
    if marker == 10:
        n = struct.unpack('>I', data[pos:pos + 4])[0]
        pos += 4
        items = []
        for _ in range(n):
            item, pos = amf(data, pos)
            items.append(item)
        return items, pos
    if marker == 5:
        return None, pos
    if marker == 11:
        return struct.unpack('>d', data[pos:pos + 8])[0], pos + 10
    if marker == 12:
        n = struct.unpack('>I', data[pos:pos + 4])[0]
        return data[pos + 4:pos + 4 + n].decode('utf-8'), pos + 4 + n
    raise ValueError('unexpected AMF0 marker %d' % marker)


def script_name(tag):
    if tag['type'] != 18:
        return None
    try:
        return amf(tag['payload'])[0]
    except (ValueError, IndexError, struct.error, UnicodeDecodeError):
        return None


def is_keyframe(tag):
    p = tag['payload']
    if tag['type'] != 9 or not p or p[0] >> 4 != 1:
        return False
    return (p[0] & 0x0F) != 7 or (len(p) > 1 and p[1] == 1)


def content(all_tags):
    """What injection must keep: audio, video and foreign script tags, in order."""
    return [(t['type'], t['time'], t['payload']) for t in all_tags
            if not (t['type'] == 18 and script_name(t) in ('onMetaData', 'onLastSecond'))]


def check(original_path, injected_path, size):
    original = list(tags(open(original_path, 'rb').read()))
    data = open(injected_path, 'rb').read()
    injected = list(tags(data))
    problems = []
    if not all(t['trailer_ok'] for t in injected):
        problems.append('a PreviousTagSize is wrong')
    first = injected[0]
    if first['offset'] != 13 or script_name(first) != 'onMetaData' or first['time'] != 0:
        problems.append('onMetaData is not the first tag')
    meta = amf(first['payload'], amf(first['payload'])[1])[0]
    if content(original) != content(injected):
        problems.append('audio, video or cue point tags differ from the original')
    if meta.get('filesize') != len(data):
        problems.append('filesize %s, file has %d bytes' % (meta.get('filesize'), len(data)))
    by_offset = {t['offset']: t for t in injected}
    keyframes = meta.get('keyframes')
    expected = sorted({t['time'] for t in injected if is_keyframe(t)})
    if expected:
        if not keyframes:
            problems.append('no keyframe index')
        else:
            positions, times = keyframes['filepositions'], keyframes['times']
            if [round(t * 1000) for t in times] != expected:
                problems.append('index times %s, keyframes at %s' % (times[:5], expected[:5]))
            for position, time in zip(positions, times):
                tag = by_offset.get(int(position))
                if tag is None or not is_keyframe(tag) or tag['time'] != round(time * 1000):
                    problems.append('filepositions entry %d is no keyframe tag' % position)
                    break
    last_time = max(t['time'] for t in injected if t['type'] in (8, 9))
    if not meta['duration'] * 1000 >= last_time:
        problems.append('duration %s ends before the last tag' % meta['duration'])
    names = [script_name(t) for t in injected if t['type'] == 18]
    if names.count('onLastSecond') != 1:
        problems.append('%d onLastSecond tags' % names.count('onLastSecond'))
    else:
        i = next(i for i, t in enumerate(injected) if script_name(t) == 'onLastSecond')
        follower = injected[i + 1]
        earlier = [t['time'] for t in injected[:i] if t['type'] in (8, 9)]
        if follower['time'] < last_time - 1000 or any(t >= last_time - 1000 for t in earlier):
            problems.append('onLastSecond is not before the first tag of the last second')
    if size:
        width, height = (float(v) for v in size.split(',')[:2])
        if (meta.get('width'), meta.get('height')) != (width, height):
            problems.append('size %sx%s, ffprobe decodes %dx%d' %
                            (meta.get('width'), meta.get('height'), width, height))
    for p in problems:
        print('%s: %s' % (injected_path, p))
    return not problems


def add_cue_points(source, target):
    data = open(source, 'rb').read()
    out = bytearray(data[:13])
    pending = [2000, 4000]
    for t in tags(data):
        if pending and t['type'] in (8, 9) and t['time'] >= pending[0]:
            name = b'onCuePoint'
            body = (b'\x02' + struct.pack('>H', len(name)) + name + b'\x03' +
                    b'\x00\x04name\x02' + struct.pack('>H', 5) + b'chap%d' % len(pending) +
                    b'\x00\x04time\x00' + struct.pack('>d', pending[0] / 1000) + b'\x00\x00\x09')
            out += bytes([18]) + len(body).to_bytes(3, 'big') + \
                (pending[0] & 0xFFFFFF).to_bytes(3, 'big') + b'\x00\x00\x00\x00'
            out += body + struct.pack('>I', 11 + len(body))
            pending.pop(0)
        size = len(t['payload'])
        out += data[t['offset']:t['offset'] + 15 + size]
    open(target, 'wb').write(out)


if __name__ == '__main__':
    if sys.argv[1] == '--add-cue-points':
        add_cue_points(sys.argv[2], sys.argv[3])
    else:
        sys.exit(0 if check(sys.argv[1], sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else '') else 1)
