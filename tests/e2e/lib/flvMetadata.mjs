// Reads the `onMetaData` tag of an FLV file: the values flvmdi injected (duration, keyframe
// index), for tests that must know where the keyframes of a real video lie.
import {readFileSync} from 'node:fs';

// An AMF0 value at `at` of `bytes`: [value, position after it]. Only the types a metadata tag
// holds; anything else ends the reading with an error, as a test should.
function amf0(bytes, at) {
    const type = bytes[at++];
    const string = (long) => {
        const length = long ? bytes.readUInt32BE(at) : bytes.readUInt16BE(at);
        at += long ? 4 : 2;
        const text = bytes.toString('latin1', at, at + length);
        at += length;
        return text;
    };
    const properties = () => {
        const object = {};
        for (;;) {
            const key = string(false);
            if (bytes[at] === 9) {
                return [object, at + 1];
            }
            let value;
            [value, at] = amf0(bytes, at);
            object[key] = value;
        }
    };
    switch (type) {
    case 0: return [bytes.readDoubleBE(at), at + 8];
    case 1: return [bytes[at] !== 0, at + 1];
    case 2: return [string(false), at];
    case 12: return [string(true), at];
    case 3: return properties();
    case 8: at += 4; return properties();  // the count is a hint only
    case 5: case 6: return [null, at];
    case 10: {
        const count = bytes.readUInt32BE(at);
        at += 4;
        const list = [];
        for (let n = 0; n < count; ++n) {
            let value;
            [value, at] = amf0(bytes, at);
            list.push(value);
        }
        return [list, at];
    }
    case 11: return [new Date(bytes.readDoubleBE(at)), at + 10];
    default: throw new Error(`AMF0 type ${type} at byte ${at - 1}`);
    }
}

// The metadata of the first tag, which flvmdi always writes as `onMetaData`.
export function readMetadata(path) {
    const bytes = readFileSync(path);
    if (bytes.toString('latin1', 0, 3) !== 'FLV')
        throw new Error(`${path} is not an FLV file`);
    const first = bytes.readUInt32BE(5) + 4;
    if (bytes[first] !== 18)
        throw new Error(`${path} does not start with a script tag`);
    const size = bytes.readUIntBE(first + 1, 3);
    const body = bytes.subarray(first + 11, first + 11 + size);
    const [name, at] = amf0(body, 0);
    if (name !== 'onMetaData')
        throw new Error(`${path} starts with ${name}, not onMetaData`);
    return amf0(body, at)[0];
}
